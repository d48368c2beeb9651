// The countdown as the user sees and hears it: it keeps real time even when
// the program's thread stands still, ends once at zero with the alarm and
// brings the window back at once, and the log switch counts as on only at 1.
#include "tests/e2e/program_test.h"

#include <mmsystem.h>

namespace e2e {

using Countdown = ProgramTest;

// The built-in sounds play into a sound device (ALSA's null device under
// the test script) that takes real time, so a sound that held up the
// window's thread would delay the window's return.
TEST_F(Countdown, KeepsRealTimeThroughAFreezeAndEndsOnceAtZero) {
    ASSERT_TRUE(startWith(
        "0|2|1|1|510|10|100|0|0|8|0|16777215|320|700|0|Arial|No file selected|No file selected"));
    const auto started = SteadyClock::now();
    ASSERT_TRUE(press(IDC_START, "Stop"));
    PostMessageA(program.mainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return program.displayText() == "00:00:07"; }, 2s));
    // Nothing runs on the program's thread for 3.5 s: no timer messages, no painting.
    ASSERT_TRUE(program.freezeUi(3500));
    ASSERT_TRUE(waitUntil([&] { return program.displayText() == "00:00:00"; }, 8s));
    const auto zero = SteadyClock::now();
    EXPECT_GE(elapsedMs(started), 7600);
    EXPECT_LE(elapsedMs(started), 8400);
    EXPECT_TRUE(waitUntil([&] { return !IsIconic(program.mainWindow()); }, 2s));
    EXPECT_LE(elapsedMs(zero), 400) << "the window came back late: did the alarm hold it up?";
    EXPECT_EQ(program.enabledButtons(), "Reset");
    // Only the completion is logged with the switch at 2; no tick comes after it.
    Sleep(1200);
    EXPECT_EQ(logMessages(), Lines{" - Countdown completed."});
    EXPECT_EQ(program.displayText(), "00:00:00");
    ASSERT_TRUE(press(IDC_RESET, "Start"));
    EXPECT_EQ(program.displayText(), "00:00:08");
}

// A wave file of `count` 8-bit samples at 8,000 Hz, counting up in steps of
// `step` from 0x80, so that each file begins with samples of its own.
std::string waveFile(int step, std::uint32_t count) {
    const auto le = [](std::uint32_t value, int bytes = 4) {
        std::string text;
        for (int i = 0; i < bytes; ++i) text += static_cast<char>(value >> 8 * i);
        return text;
    };
    std::string wave = "RIFF" + le(36 + count) + "WAVEfmt " + le(16) + le(1, 2) + le(1, 2) +
                       le(8000) + le(8000) + le(1, 2) + le(8, 2) + "data" + le(count);
    for (std::uint32_t i = 0; i < count; ++i) wave += static_cast<char>(0x80 + step * i);
    return wave;
}

// The sounds played since the case began, each named by the samples it
// begins with (a sound cut short by the next one still begins with them).
std::string heard(const std::vector<std::pair<std::string, std::string>>& known) {
    std::string names;
    for (const std::string& sound : playedSounds()) {
        std::string name = "?";
        for (const auto& [knownName, samples] : known) {
            const std::size_t n = std::min<std::size_t>(samples.size(), 2048);
            if (sound.compare(0, n, samples, 0, n) == 0) name = knownName;
        }
        names += (names.empty() ? "" : " ") + name;
    }
    return names;
}

// A countdown from 3 seconds with the sounds of a preferences file: each
// case names them in the order they reach the sound device. The test's own
// tick lasts 1.5 s, so each tick cuts the one before it short.
using Case = std::pair<std::string, std::string>;  // a preferences file, the sounds heard
class Sound : public ProgramTest, public testing::WithParamInterface<Case> {};

TEST_P(Sound, PlaysOncePerSecondShownAndTheAlarmAtZero) {
    // The built-in alarm as the device gets it, its MP3 frames decoded.
    static const std::string alarm = [] {
        PlaySoundA((pathFrom("VANTOREL_RES") + "\\alarm.wav").c_str(), nullptr,
                   SND_FILENAME | SND_SYNC);
        const Lines sounds = playedSounds();
        clearSounds();
        return sounds.empty() ? "<not played>" : sounds[0];
    }();
    const std::string myTick = waveFile(3, 12000), myAlarm = waveFile(5, 4000);
    writeFileBytes("C:\\my-tick.wav", myTick);
    writeFileBytes("C:\\my-alarm.wav", myAlarm);
    ASSERT_TRUE(startWith(GetParam().first));
    ASSERT_TRUE(press(IDC_START, "Stop"));
    ASSERT_TRUE(waitUntil([&] { return program.displayText() == "00:00:00"; }, 5s));
    Sleep(1200);  // and no tick after zero
    EXPECT_EQ(heard({{"tick", readFileBytes(pathFrom("VANTOREL_RES") + "\\tick.wav").substr(44)},
                     {"alarm", alarm},
                     {"my-tick", myTick.substr(44)},
                     {"my-alarm", myAlarm.substr(44)}}),
              GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Sounds, Sound,
    testing::Values(Case{"0|0|1|1|510|10|100|0|0|3|0|16777215|320|700|0|Arial|C:\\my-alarm.wav|"
                         "No file selected",
                         "tick tick my-alarm"},
                    Case{"0|0|1|1|510|10|100|0|0|3|0|16777215|320|700|0|Arial|No file selected|"
                         "C:\\my-tick.wav",
                         "my-tick my-tick alarm"},
                    // Switches count as on only at 1.
                    Case{"0|0|0|2|510|10|100|0|0|3|0|16777215|320|700|0|Arial|C:\\my-alarm.wav|"
                         "C:\\my-tick.wav",
                         ""}));

}  // namespace e2e
