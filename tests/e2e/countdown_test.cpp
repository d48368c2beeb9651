// The countdown as the user sees it: the buttons, the display, the log
// entries of each action, the end of a countdown, and its timing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class Countdown : public ProgramTest {
protected:
    // Settings for a short countdown of `seconds` with logging off.
    static PreferencesFile shortCountdown(int seconds) {
        PreferencesFile preferences = PreferencesFile::quiet();
        preferences.logEnabled = 0;
        preferences.timerMinutes = 0;
        preferences.timerSeconds = seconds;
        return preferences;
    }

    // The display's text, also noted in `seen` when it differs from the
    // text noted last.
    std::string noteDisplay() {
        const std::string shown = program.displayText();
        if (!shown.empty() && (seen.empty() || seen.back() != shown)) seen.push_back(shown);
        return shown;
    }

    // Waits until the display reads `text`, noting every text it showed on
    // the way.
    bool waitForDisplay(const std::string& text, Milliseconds timeout) {
        return waitUntil([&] { return noteDisplay() == text; }, timeout);
    }

    // Every display text seen, in order, each change once.
    std::vector<std::string> seen;

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
};

const std::string kStarted = " - Countdown started. Vantorel: Timer Set - 00h:03m:00s";

TEST_F(Countdown, StartStopResumeAndResetSetTheButtonsAndAreLogged) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    ASSERT_EQ(program.enabledButtons(), "Start");

    ASSERT_TRUE(program.click(Button::Start));
    ASSERT_TRUE(logReaches(2));
    EXPECT_EQ(program.enabledButtons(), "Stop");
    EXPECT_EQ(logMessages(), (std::vector<std::string>{" - Session Start", kStarted}));
    ASSERT_TRUE(waitForDisplay("00:02:59", 2500ms)) << program.displayText();

    ASSERT_TRUE(program.click(Button::Stop));
    ASSERT_TRUE(logReaches(3));
    EXPECT_EQ(program.enabledButtons(), "Start Reset");
    EXPECT_EQ(readLog().back().message, " - Countdown stopped.");
    const std::string paused = program.displayText();
    const long long pausedSeconds = secondsOf(paused);
    ASSERT_GT(pausedSeconds, 170) << paused;
    EXPECT_FALSE(waitUntil([&] { return program.displayText() != paused; }, 1500ms))
        << "the display moved while paused: " << program.displayText();

    // Start again resumes from where it stopped.
    ASSERT_TRUE(program.click(Button::Start));
    ASSERT_TRUE(logReaches(4));
    EXPECT_EQ(program.enabledButtons(), "Stop");
    EXPECT_EQ(readLog().back().message, kStarted);
    ASSERT_TRUE(waitUntil([&] { return program.displayText() != paused; }, 2s));
    EXPECT_EQ(secondsOf(program.displayText()), pausedSeconds - 1) << program.displayText();

    ASSERT_TRUE(program.click(Button::Stop));
    ASSERT_TRUE(logReaches(5));
    ASSERT_TRUE(program.click(Button::Reset));
    ASSERT_TRUE(logReaches(6));
    EXPECT_EQ(program.enabledButtons(), "Start");
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:03m:00s");

    const std::vector<LogLine> log = readLog();
    std::vector<std::string> messages;
    for (const LogLine& line : log) {
        EXPECT_TRUE(isTimestamp(line.timestamp)) << line.timestamp;
        messages.push_back(line.message);
    }
    EXPECT_EQ(messages, (std::vector<std::string>{" - Session Start", kStarted,
                                                  " - Countdown stopped.", kStarted,
                                                  " - Countdown stopped.", " - Countdown reset."}));

    // Reset goes back to the full limit, from which Start counts again.
    ASSERT_TRUE(program.click(Button::Start));
    EXPECT_TRUE(waitForDisplay("00:02:59", 2500ms)) << program.displayText();
}

// A short countdown run to its end, with the sounds off and on.
class CountdownToTheEnd : public Countdown, public testing::WithParamInterface<bool> {};

TEST_P(CountdownToTheEnd, StopsAtZeroWithOnlyResetEnabledAndLogsTheCompletion) {
    PreferencesFile preferences = shortCountdown(3);
    preferences.tickingEnabled = GetParam() ? 1 : 0;
    preferences.alarmEnabled = GetParam() ? 1 : 0;
    ASSERT_TRUE(startWith(preferences));
    ASSERT_EQ(program.displayText(), "00:00:03");

    const auto startedAt = SteadyClock::now();
    ASSERT_TRUE(program.click(Button::Start));
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
    ASSERT_TRUE(logReaches(1));
    EXPECT_EQ(logMessages(), std::vector<std::string>{" - Countdown completed."});

    // Finished means finished: no more ticks.
    EXPECT_FALSE(waitUntil(
        [&] { return program.displayText() != "00:00:00" || readLog().size() != 1; }, 1500ms));
    EXPECT_EQ(program.enabledButtons(), "Reset");

    ASSERT_TRUE(program.click(Button::Reset));
    ASSERT_TRUE(waitUntil([&] { return program.enabledButtons() == "Start"; }, 1s));
    EXPECT_EQ(program.displayText(), "00:00:03");
}

INSTANTIATE_TEST_SUITE_P(Countdown, CountdownToTheEnd, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "SoundsOn" : "SoundsOff");
                         });

TEST_F(Countdown, AZeroLimitFinishesAtTheNextTickWithoutWrapping) {
    ASSERT_TRUE(startWith(shortCountdown(0)));
    ASSERT_EQ(program.displayText(), "00:00:00");

    const auto startedAt = SteadyClock::now();
    ASSERT_TRUE(program.click(Button::Start));
    ASSERT_TRUE(waitUntil(
        [&] {
            noteDisplay();
            return program.enabledButtons() == "Reset";
        },
        3s))
        << program.enabledButtons();
    EXPECT_LE(elapsedMs(startedAt), 1800);
    EXPECT_EQ(seen, std::vector<std::string>{"00:00:00"});
    ASSERT_TRUE(logReaches(1));
    EXPECT_EQ(logMessages(), std::vector<std::string>{" - Countdown completed."});

    EXPECT_FALSE(waitUntil([&] { return program.displayText() != "00:00:00"; }, 1500ms))
        << program.displayText();
    EXPECT_EQ(program.enabledButtons(), "Reset");
    EXPECT_EQ(readLog().size(), 1u);
}

TEST_F(Countdown, KeepsRealTimeWhileItsThreadIsFrozen) {
    ASSERT_TRUE(startWith(shortCountdown(8)));

    const auto startedAt = SteadyClock::now();
    ASSERT_TRUE(program.click(Button::Start));
    ASSERT_TRUE(waitForDisplay("00:00:07", 2s)) << program.displayText();

    // Nothing runs on the program's thread for 3.5 s: no timer messages, no
    // painting.
    ASSERT_TRUE(program.suspendUiThread());
    Sleep(3500);
    ASSERT_TRUE(program.resumeUiThread());

    ASSERT_TRUE(waitForDisplay("00:00:00", 8s)) << program.displayText();
    const long long finishedMs = elapsedMs(startedAt);
    EXPECT_GE(finishedMs, 7600);
    EXPECT_LE(finishedMs, 8400);

    expectCountedDownFrom(8);
    EXPECT_TRUE(waitUntil([&] { return program.enabledButtons() == "Reset"; }, 1s));
}

TEST_F(Countdown, ClickingTheDisplayGivesTheFocusBackToTheMainWindow) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    const HWND display = program.display();
    ASSERT_NE(display, nullptr);
    // Only a window in front takes the focus.
    ASSERT_TRUE(program.bringToFront());
    const DWORD thread = program.uiThreadId();
    const auto focusAndCaret = [&](HWND& focus, HWND& caret) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(thread, &info)) return false;
        focus = info.hwndFocus;
        caret = info.hwndCaret;
        return true;
    };

    const LPARAM point = MAKELPARAM(20, 20);
    PostMessageA(display, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(display, WM_LBUTTONUP, 0, point);
    ASSERT_TRUE(waitForPostedMessages(display));

    HWND focus = nullptr;
    HWND caret = nullptr;
    ASSERT_TRUE(focusAndCaret(focus, caret));
    EXPECT_EQ(focus, program.mainWindow()) << "the display " << display << " keeps the focus";
    EXPECT_NE(caret, display) << "a caret shows in the display";
}

}  // namespace
}  // namespace e2e
