// The countdown as the user sees it: the buttons, the display, the log
// entries of each action, the end of a countdown, and its timing.
#include <string>

#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class Countdown : public ProgramTest {
protected:
    // Settings for a short countdown of `seconds` with logging off.
    static PreferencesFile shortCountdown(int seconds) {
        PreferencesFile preferences = PreferencesFile::quiet(0);
        preferences.timerMinutes = 0;
        preferences.timerSeconds = seconds;
        return preferences;
    }

    // The display's text, noted in `seen` when it differs from the last noted.
    std::string note() {
        const std::string shown = program.displayText();
        if (!shown.empty() && (seen.empty() || seen.back() != shown)) seen.push_back(shown);
        return shown;
    }
    // Waits until the display reads `text`, noting every text on the way.
    bool waitForDisplay(const std::string& text, Milliseconds timeout) {
        return waitUntil([&] { return note() == text; }, timeout);
    }

    // Each text seen was a well-formed time below the one before, starting
    // at most at `limit` seconds: no step up, no wrapped hours.
    void expectCountedDownFrom(long long limit) const {
        long long previous = limit + 1;
        for (const std::string& text : seen) {
            const long long seconds = secondsOf(text);
            EXPECT_TRUE(seconds >= 0 && seconds < previous) << text << " after " << previous;
            previous = seconds;
        }
    }

    Lines seen;
};

const std::string kStarted = " - Countdown started. Vantorel: Timer Set - 00h:03m:00s";

TEST_F(Countdown, StartStopResumeAndResetSetTheButtonsAndAreLogged) {
    ASSERT_TRUE(startWith());
    ASSERT_TRUE(press(IDC_START, "Stop", 2));
    ASSERT_TRUE(waitForDisplay("00:02:59", 2500ms)) << program.displayText();

    ASSERT_TRUE(press(IDC_STOP, "Start Reset", 3));
    const std::string paused = program.displayText();
    const long long pausedSeconds = secondsOf(paused);
    ASSERT_GT(pausedSeconds, 170) << paused;
    EXPECT_FALSE(waitUntil([&] { return program.displayText() != paused; }, 1500ms))
        << "the display moved while paused: " << program.displayText();

    // Start again resumes from where it stopped.
    ASSERT_TRUE(press(IDC_START, "Stop", 4));
    ASSERT_TRUE(waitUntil([&] { return program.displayText() != paused; }, 2s));
    EXPECT_EQ(secondsOf(program.displayText()), pausedSeconds - 1) << program.displayText();

    ASSERT_TRUE(press(IDC_STOP, "Start Reset", 5));
    ASSERT_TRUE(press(IDC_RESET, "Start", 6));
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(logMessages(), (Lines{" - Session Start", kStarted, " - Countdown stopped.", kStarted,
                                    " - Countdown stopped.", " - Countdown reset."}));

    // Reset goes back to the full limit, from which Start counts again.
    ASSERT_TRUE(program.click(IDC_START));
    EXPECT_TRUE(waitForDisplay("00:02:59", 2500ms)) << program.displayText();
}

TEST_F(Countdown, StopsAtZeroWithOnlyResetEnabledAndLogsTheCompletion) {
    PreferencesFile preferences = shortCountdown(3);
    preferences.tickingEnabled = preferences.alarmEnabled = 1;  // the sounds play
    ASSERT_TRUE(startWith(preferences));
    ASSERT_EQ(program.displayText(), "00:00:03");

    const auto startedAt = SteadyClock::now();
    ASSERT_TRUE(program.click(IDC_START));
    // Minimised, it comes back when the countdown ends.
    PostMessageA(program.mainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(program.mainWindow()) != FALSE; }, 1s));

    ASSERT_TRUE(waitForDisplay("00:00:00", 6s)) << program.displayText();
    EXPECT_GE(elapsedMs(startedAt), 2600);
    expectCountedDownFrom(3);
    ASSERT_TRUE(waitUntil([&] { return program.enabledButtons() == "Reset"; }, 1s))
        << program.enabledButtons();
    EXPECT_TRUE(waitUntil([&] { return !IsIconic(program.mainWindow()); }, 1s))
        << "the window stays minimised";
    // Written even with logging off, and the only entry.
    EXPECT_TRUE(waitUntil([] { return logMessages() == Lines{" - Countdown completed."}; }, 2s));

    // Finished means finished: no more ticks.
    EXPECT_FALSE(waitUntil(
        [&] { return program.displayText() != "00:00:00" || logMessages().size() != 1; }, 1500ms));
    EXPECT_EQ(program.enabledButtons(), "Reset");

    ASSERT_TRUE(press(IDC_RESET, "Start"));
    EXPECT_EQ(program.displayText(), "00:00:03");
}

TEST_F(Countdown, AZeroLimitFinishesAtTheNextTickWithoutWrapping) {
    ASSERT_TRUE(startWith(shortCountdown(0)));
    ASSERT_EQ(program.displayText(), "00:00:00");
    const auto startedAt = SteadyClock::now();
    ASSERT_TRUE(program.click(IDC_START));
    ASSERT_TRUE(
        waitUntil([&] { return note() == "00:00:00" && program.enabledButtons() == "Reset"; }, 3s))
        << program.enabledButtons();
    EXPECT_LE(elapsedMs(startedAt), 1800);
    EXPECT_FALSE(waitUntil([&] { return note() != "00:00:00"; }, 1500ms)) << program.displayText();
    EXPECT_EQ(seen, Lines{"00:00:00"});
    EXPECT_EQ(program.enabledButtons(), "Reset");
    EXPECT_EQ(logMessages(), Lines{" - Countdown completed."});
}

TEST_F(Countdown, KeepsRealTimeWhileItsThreadIsFrozen) {
    ASSERT_TRUE(startWith(shortCountdown(8)));
    const auto startedAt = SteadyClock::now();
    ASSERT_TRUE(program.click(IDC_START));
    ASSERT_TRUE(waitForDisplay("00:00:07", 2s)) << program.displayText();
    // Nothing runs on the program's thread for 3.5 s: no timer messages, no painting.
    ASSERT_TRUE(program.freezeUi(3500));
    ASSERT_TRUE(waitForDisplay("00:00:00", 8s)) << program.displayText();
    const long long finishedMs = elapsedMs(startedAt);
    EXPECT_GE(finishedMs, 7600);
    EXPECT_LE(finishedMs, 8400);
    expectCountedDownFrom(8);
    EXPECT_TRUE(waitUntil([&] { return program.enabledButtons() == "Reset"; }, 1s));
}

}  // namespace
}  // namespace e2e
