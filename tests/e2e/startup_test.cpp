// Start-up and shutdown: the first run, the main window's layout, reading
// prepared and damaged preferences files, the session entries of the log,
// the single-instance notice, the screen saver, and the ways to exit.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

using Startup = ProgramTest;

RECT workArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// The one visible dialog of the process without a caption: the startup
// screen.
HWND startupScreenOf(const Program& program) {
    for (HWND dialog : program.dialogs()) {
        if (windowTitle(dialog).empty()) return dialog;
    }
    return nullptr;
}

std::size_t visibleMainWindows() {
    std::size_t count = 0;
    for (HWND window = FindWindowExA(nullptr, nullptr, "Vantorel", nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, "Vantorel", nullptr)) {
        if (IsWindowVisible(window)) ++count;
    }
    return count;
}

TEST_F(Startup, FirstRunWritesTheDefaultsAndShowsTheStartupScreenBeforeTheMainWindow) {
    ASSERT_TRUE(program.launch());

    HWND screen = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (screen = startupScreenOf(program)) != nullptr; }, 10s))
        << "no startup screen";
    const auto shownAt = SteadyClock::now();
    EXPECT_TRUE(visibleWindowsOf(program.processId(), "Vantorel").empty())
        << "the main window shows together with the startup screen";
    const std::vector<std::string> texts = staticTexts(screen);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), VANTOREL_VERSION_LINE);

    // By now the preferences are loaded, so the first run has written them.
    EXPECT_TRUE(dataFolderExists());
    EXPECT_EQ(readPreferencesText().value_or("<missing>"), kDefaultPreferencesText);

    bool mainShownEarly = false;
    ASSERT_TRUE(waitUntil(
        [&] {
            if (IsWindow(screen) && IsWindowVisible(screen)) {
                mainShownEarly |= !visibleWindowsOf(program.processId(), "Vantorel").empty();
                return false;
            }
            return true;
        },
        5s))
        << "the startup screen does not close by itself";
    const long long shownMs = elapsedMs(shownAt);
    EXPECT_FALSE(mainShownEarly);
    // It closes 1.5 s after it opens; it was first seen up to a poll late.
    EXPECT_GE(shownMs, 1200);
    EXPECT_LE(shownMs, 3000);

    ASSERT_TRUE(program.waitForMainWindow());
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(program.enabledButtons(), "Start");
}

TEST_F(Startup, MainWindowCoversTheWorkAreaWithButtonsAboveTheDisplay) {
    PreferencesFile preferences;
    preferences.showStartupScreen = 0;
    ASSERT_TRUE(startWith(preferences));

    const RECT area = workArea();
    RECT window = {};
    GetWindowRect(program.mainWindow(), &window);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(window.right, area.right);
    EXPECT_EQ(window.bottom, area.bottom);

    const HWND main = program.mainWindow();
    const struct {
        Button button;
        const char* caption;
        LONG x;
    } buttons[] = {{Button::Start, "Start", 510}, {Button::Stop, "Stop", 600},
                   {Button::Reset, "Reset", 690}};
    for (const auto& expected : buttons) {
        SCOPED_TRACE(expected.caption);
        const HWND button = program.button(expected.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(controlText(button), expected.caption);
        const RECT r = rectIn(main, button);
        EXPECT_EQ(r.left, expected.x);
        EXPECT_EQ(r.top, 10);
        EXPECT_EQ(r.right - r.left, 80);
        EXPECT_EQ(r.bottom - r.top, 40);
    }

    ASSERT_NE(program.display(), nullptr);
    const RECT display = rectIn(main, program.display());
    EXPECT_EQ(display.left, 0);
    EXPECT_EQ(display.top, 100);
    EXPECT_EQ(display.right - display.left, area.right);
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(program.enabledButtons(), "Start");
}

TEST_F(Startup, SessionStartAndEndAreLogged) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    EXPECT_EQ(logMessages(), std::vector<std::string>{" - Session Start"});

    program.command(IDM_EXIT);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(program.exitCode(), 0u);

    const std::vector<LogLine> log = readLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].message, " - Session Start");
    EXPECT_EQ(log[1].message, " - Session End");
    for (const LogLine& line : log) EXPECT_TRUE(isTimestamp(line.timestamp)) << line.timestamp;
    EXPECT_LE(log[0].timestamp, log[1].timestamp);
}

TEST_F(Startup, WithLoggingOffNoSessionIsLogged) {
    PreferencesFile preferences = PreferencesFile::quiet();
    preferences.logEnabled = 0;
    ASSERT_TRUE(startWith(preferences));
    program.command(IDM_EXIT);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_FALSE(readFileBytes(logPath()).has_value()) << "a log was written";
}

TEST_F(Startup, AMalformedNumberLeavesTheLaterNumbersAtZero) {
    // Line 5 cannot be read as a number, so it and every later number keep
    // their start-up value 0, and the texts are read from line 5 on.
    const std::string text =
        "0\n1\n0\n0\nabc\n10\n100\n0\n3\n0\n0\n16777215\n320\n700\n0\n"
        "Arial\nNo file selected\nNo file selected\n";
    writePreferencesText(text);
    ASSERT_TRUE(startProgram());

    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:00m:00s");
    EXPECT_EQ(program.displayText(), "00:00:00");
    EXPECT_EQ(program.enabledButtons(), "Start");
    const RECT start = rectIn(program.mainWindow(), program.button(Button::Start));
    EXPECT_EQ(start.left, 0);
    EXPECT_EQ(start.top, 0);
    EXPECT_EQ(rectIn(program.mainWindow(), program.display()).top, 0);
    // Loading never rewrites the file.
    EXPECT_EQ(readPreferencesText().value_or("<missing>"), text);
    // Lines 1 and 2 were read: no startup screen, logging on.
    EXPECT_EQ(logMessages(), std::vector<std::string>{" - Session Start"});

    program.command(IDM_EXIT);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST_F(Startup, AFileWithCarriageReturnsIsReadAndRewrittenWithLineFeedsOnly) {
    PreferencesFile preferences = PreferencesFile::quiet();
    preferences.timerSeconds = 7;
    preferences.timerMinutes = 0;
    writePreferencesText(preferences.text("\r\n"));
    ASSERT_TRUE(startProgram());
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:00m:07s");
    EXPECT_EQ(program.displayText(), "00:00:07");

    // Confirming the Set Timer dialog unchanged saves the settings again.
    program.command(IDM_TIME_LIMIT);
    const HWND dialog = program.waitForDialog("Set Timer");
    ASSERT_NE(dialog, nullptr);
    pressDialogButton(dialog, IDOK);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 3s));

    // The carriage returns are gone, the font face and paths kept whole.
    EXPECT_EQ(readPreferencesText().value_or("<missing>"), preferences.text("\n"));
}

TEST_F(Startup, ASecondCopyShowsANoticeAndLeaves) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    Program second;
    ASSERT_TRUE(second.launch());
    const HWND notice = second.waitForDialog("Attention", 10s);
    ASSERT_NE(notice, nullptr) << "no notice from the second copy";
    const std::vector<std::string> texts = staticTexts(notice);
    EXPECT_EQ(texts, std::vector<std::string>{"An instance of this program is already running."});
    EXPECT_TRUE(visibleWindowsOf(second.processId(), "Vantorel").empty());

    pressDialogButton(notice, IDOK);
    ASSERT_TRUE(second.waitForExit());
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_TRUE(program.running());
    EXPECT_EQ(visibleMainWindows(), 1u);
    // The first copy is still the one it was, and it still answers.
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(logMessages(), std::vector<std::string>{" - Session Start"});
}

// Puts the screen-saver switch back as it was before the case.
class ScreenSaverRestorer {
public:
    ScreenSaverRestorer() : original_(screenSaverActive()) {}
    ~ScreenSaverRestorer() { setScreenSaverActive(original_); }
    ScreenSaverRestorer(const ScreenSaverRestorer&) = delete;
    ScreenSaverRestorer& operator=(const ScreenSaverRestorer&) = delete;

private:
    bool original_;
};

// The program asks the system while it starts and exits, and the change
// reaches other processes a moment later; hence the waits.
TEST_F(Startup, ScreenSaverIsOffWhileRunningAndBackOnAfterExit) {
    ScreenSaverRestorer restorer;
    ASSERT_TRUE(setScreenSaverActive(true));
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    EXPECT_TRUE(waitUntil([] { return !screenSaverActive(); }, 3s))
        << "still active while the program runs";
    program.command(IDM_EXIT);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_TRUE(waitUntil([] { return screenSaverActive(); }, 3s)) << "not switched back on";
}

TEST_F(Startup, ScreenSaverStaysOffAfterExitWhenItWasOffBefore) {
    ScreenSaverRestorer restorer;
    ASSERT_TRUE(setScreenSaverActive(false));
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    program.command(IDM_EXIT);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_FALSE(screenSaverActive()) << "switched on by the program";
}

TEST_F(Startup, ExitFromTheMenuEndsWithCodeZero) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    program.command(IDM_EXIT);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(program.exitCode(), 0u);
    EXPECT_EQ(FindWindowA("Vantorel", nullptr), nullptr);
}

TEST_F(Startup, AltXEndsWithCodeZero) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    ASSERT_TRUE(program.pressAltKey('X'));
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(program.exitCode(), 0u);
    EXPECT_EQ(logMessages(), (std::vector<std::string>{" - Session Start", " - Session End"}));
}

}  // namespace
}  // namespace e2e
