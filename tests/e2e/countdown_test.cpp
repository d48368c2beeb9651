// The countdown as the user sees and hears it: it keeps real time even when
// the program's thread stands still, ends once at zero with the alarm and
// brings the window back at once; and whole sessions under the conditions a
// user starts in, with their tick and alarm, built in or chosen, as the sound
// device gets them, and their log.
#include "tests/e2e/program_test.h"

#include <mmsystem.h>

namespace e2e {

using Countdown = ProgramTest;

// The built-in sounds play into a sound device (ALSA's null device under
// the test script) that takes real time, so a sound that held up the
// window's thread would delay the window's return.
TEST_F(Countdown, KeepsRealTimeThroughAFreezeAndEndsOnceAtZero) {
    ASSERT_TRUE(startWith("2|2|1|1|510|10|100|0|0|8" + kQuiet.substr(24)));
    const auto started = SteadyClock::now();
    ASSERT_TRUE(press(IDC_START, "Stop"));
    PostMessageA(program.mainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return program.displayText() == "00:00:07"; }, 2s));
    // Nothing runs on the program's thread for 3.5 s: no timer messages, no painting.
    ASSERT_TRUE(program.freezeUi(3500));
    ASSERT_TRUE(waitUntil([&] { return program.displayText() == "00:00:00"; }, 8s));
    const auto zero = SteadyClock::now();
    EXPECT_NEAR(elapsedMs(started), 8000, 400);
    EXPECT_TRUE(waitUntil([&] { return !IsIconic(program.mainWindow()); }, 2s));
    EXPECT_LE(elapsedMs(zero), 400) << "the window came back late: did the alarm hold it up?";
    EXPECT_EQ(program.enabledButtons(), "Reset");
    ASSERT_TRUE(press(IDC_RESET, "Start"));
    EXPECT_EQ(program.displayText(), "00:00:08");
}

// A session as the user hears it and finds it in the log: Start, Stop,
// Reset, then a countdown from 3 s to zero, Preferences confirmed unchanged
// and Exit; under the conditions of each case at start: the screen saver on
// or off, the four switches (on only at 1; a check box shows a 2 ticked, and
// OK takes it as 1), the alarm and tick files. The sounds are named in the
// order they reach the device.
using Case = std::tuple<bool, std::string, std::string, std::string, Lines>;
class Session : public ProgramTest, public testing::WithParamInterface<Case> {};

TEST_P(Session, SoundsAndLogEntriesFollowTheirSwitchesAlone) {
    // The built-in alarm as the device gets it, its MP3 frames decoded,
    // recorded by the first case; the recording is then cleared away.
    static const std::string alarm = [] {
        PlaySoundA((pathFrom("VANTOREL_RES") + "\\alarm.wav").c_str(), nullptr,
                   SND_FILENAME | SND_SYNC);
        return readFileBytes(soundFile(0));
    }();
    clearSounds();
    const auto& [saverOn, switches, files, sounds, log] = GetParam();
    const std::string tests = pathFrom("VANTOREL_TEST_SOUNDS") + "\\";
    for (const std::string name : {"my-tick.wav", "my-alarm.wav"})
        ASSERT_TRUE(CopyFileA((tests + name).c_str(), ("C:\\" + name).c_str(), FALSE)) << name;
    saverBefore = screenSaver(saverOn);
    ASSERT_TRUE(startWith(switches + "|510|10|100|0|0|3|0|16777215|320|700|0|Arial|" + files));
    ASSERT_TRUE(press(IDC_START, "Stop") && press(IDC_STOP, "Start Reset") &&
                press(IDC_RESET, "Start") && press(IDC_START, "Stop"));
    ASSERT_TRUE(waitUntil([&] { return program.displayText() == "00:00:00"; }, 5s));
    Sleep(1200);  // and no tick after zero
    EXPECT_EQ(heard({{"tick", samples(readFileBytes(pathFrom("VANTOREL_RES") + "\\tick.wav"))},
                     {"alarm", alarm},
                     {"my-tick", samples(readFileBytes(tests + "my-tick.wav"))},
                     {"my-alarm", samples(readFileBytes(tests + "my-alarm.wav"))}}),
              sounds);
    confirm(openByKeys({VK_F2}, "Preferences"));
    program.typeKeys({'X'}, VK_MENU);
    EXPECT_EQ(program.waitForExit(), 0u) << "Alt+X did not end the program";
    EXPECT_EQ(logMessages(), log);
}

// The test's own tick lasts 1.5 s: each tick cuts the one before it short.
const std::string kStarted = " - Countdown started. Vantorel: Timer Set - 00h:00m:03s";
const Lines kLogged = {" - Session Start",      kStarted,        " - Countdown stopped.",
                       " - Countdown reset.",   kStarted,        " - Countdown completed.",
                       " - Logging is enabled", " - Session End"},
            kOff = {" - Countdown completed.", " - Logging is disabled"},
            kTwo = {" - Countdown completed.", " - Logging is enabled", " - Session End"};
INSTANTIATE_TEST_SUITE_P(
    Sessions, Session,
    testing::Values(
        Case{true, "0|1|1|1", "C:\\my-alarm.wav|No file selected", "tick tick my-alarm", kLogged},
        Case{false, "1|1|1|2", "No file selected|C:\\my-tick.wav", "my-tick my-tick", kLogged},
        Case{true, "1|0|2|1", "No file selected|C:\\my-tick.wav", "alarm", kOff},
        Case{false, "0|2|0|0", "C:\\my-alarm.wav|C:\\my-tick.wav", "", kTwo}));

}  // namespace e2e
