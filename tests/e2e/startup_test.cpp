// Start-up and shutdown: the first run, the main window's layout, reading
// prepared and damaged preferences files, the session entries of the log,
// the single-instance notice, the screen saver, and the ways to exit.
#include <string>

#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

using Startup = ProgramTest;

TEST_F(Startup, FirstRunWritesTheDefaultsShowsTheStartupScreenThenTheMainWindow) {
    ASSERT_TRUE(program.launch());
    // The startup screen: the one visible dialog of the process without a caption.
    HWND screen = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] {
            for (HWND dialog : program.dialogs()) screen = textOf(dialog).empty() ? dialog : screen;
            return screen != nullptr;
        },
        10s))
        << "no startup screen";
    const auto shownAt = SteadyClock::now();
    EXPECT_EQ(staticTexts(screen), (Lines{VANTOREL_VERSION_LINE, VANTOREL_MAKER}));
    // By now the preferences are loaded, so the first run has written them.
    EXPECT_EQ(preferencesText(),
              "1\n1\n1\n1\n510\n10\n100\n0\n3\n0\n0\n16777215\n320\n700\n0\n"
              "Arial\nNo file selected\nNo file selected\n");

    bool mainShownEarly = false;
    ASSERT_TRUE(waitUntil(
        [&] {
            if (!IsWindow(screen) || !IsWindowVisible(screen)) return true;
            mainShownEarly |= !windowsOf(program.processId(), "Vantorel").empty();
            return false;
        },
        5s))
        << "the startup screen does not close by itself";
    const long long shownMs = elapsedMs(shownAt);
    EXPECT_FALSE(mainShownEarly) << "the main window shows together with the startup screen";
    // It closes 1.5 s after it opens; it was first seen up to a poll late.
    EXPECT_GE(shownMs, 1200);
    EXPECT_LE(shownMs, 3000);

    // The main window covers the work area, the buttons above the display.
    ASSERT_TRUE(program.waitForMainWindow());
    const HWND main = program.mainWindow();
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(program.enabledButtons(), "Start");
    RECT window = {};
    GetWindowRect(main, &window);
    EXPECT_TRUE(window.left == 0 && window.top == 0 && window.right == workArea().right &&
                window.bottom == workArea().bottom);
    EXPECT_EQ(program.layout(), layoutAt(510, 10, 100));
    EXPECT_EQ(logMessages(), Lines{" - Session Start"});

    // Clicking the display gives the focus back to the main window.
    ASSERT_TRUE(program.bringToFront());  // only a window in front takes the focus
    PostMessageA(program.display(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    PostMessageA(program.display(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    ASSERT_TRUE(waitForPostedMessages(program.display()));
    EXPECT_EQ(focusedWindowOf(main), main);
}

TEST_F(Startup, ExitAndAltXEndWithCodeZeroAndLogTheSessionEnd) {
    const struct {
        const char* how;
        int logEnabled;
        Lines log;
    } ways[] = {{"File > Exit", 1, {" - Session Start", " - Session End"}},
                {"Alt+X", 1, {" - Session Start", " - Session End"}},
                {"File > Exit with logging off", 0, {}}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        removeDataFolder();
        ASSERT_TRUE(startWith(PreferencesFile::quiet(way.logEnabled)));
        if (way.how == std::string("Alt+X")) {
            ASSERT_TRUE(program.pressAltKey('X'));
        } else {
            program.command(IDM_EXIT);
        }
        EXPECT_EQ(program.waitForExit(), 0u);
        EXPECT_EQ(FindWindowA("Vantorel", nullptr), nullptr);
        EXPECT_EQ(logMessages(), way.log);
        program.close();
    }
}

TEST_F(Startup, AMalformedNumberLeavesTheLaterNumbersAtZero) {
    // Line 5 cannot be read as a number, so it and every later number keep
    // their start-up value 0, and the texts are read from line 5 on.
    const std::string text =
        "0\n1\n0\n0\nabc\n10\n100\n0\n3\n0\n0\n16777215\n320\n700\n0\n"
        "Arial\nNo file selected\nNo file selected\n";
    ASSERT_TRUE(startWith(text));
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:00m:00s");
    EXPECT_EQ(program.displayText(), "00:00:00");
    EXPECT_EQ(program.enabledButtons(), "Start");
    EXPECT_EQ(program.layout(), layoutAt(0, 0, 0));
    EXPECT_EQ(preferencesText(), text) << "loading rewrote the file";
    // Lines 1 and 2 were read: no startup screen, logging on.
    EXPECT_EQ(logMessages(), Lines{" - Session Start"});
}

TEST_F(Startup, AFileWithCarriageReturnsIsReadAndRewrittenWithLineFeedsOnly) {
    PreferencesFile preferences = PreferencesFile::quiet();
    preferences.timerMinutes = 0;
    preferences.timerSeconds = 7;
    ASSERT_TRUE(startWith(preferences.text("\r\n")));
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:00m:07s");
    EXPECT_EQ(program.displayText(), "00:00:07");
    // Confirming the Set Timer dialog unchanged saves the settings again:
    // the carriage returns are gone, the font face and paths kept whole.
    ASSERT_TRUE(dismiss(program.open(IDM_TIME_LIMIT, "Set Timer"), IDOK));
    EXPECT_EQ(preferencesText(), preferences.text("\n"));
}

// A preferences file that another program holds open without sharing is
// neither read nor replaced: the run starts on the defaults, every save is
// refused until the file has been read again, and then saving resumes.
TEST_F(Startup, ALockedPreferencesFileIsLeftAloneUntilItCanBeRead) {
    PreferencesFile stored = PreferencesFile::quiet();
    stored.timerMinutes = 42;
    stored.fontFace = "Courier New";
    stored.alarmSoundPath = "C:\\alarm.wav";
    writePreferences(stored.text());
    const std::string path = dataFolder() + "\\vantorl.cfg";
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const std::string readError = "Cannot read user preferences file!";
    const std::string writeError = "Cannot write to user preferences file!";
    // OK in Set Timer with `seconds`, then these file error boxes in turn.
    const auto setSeconds = [&](const char* seconds, const Lines& boxes) {
        const HWND dialog = program.open(IDM_TIME_LIMIT, "Set Timer");
        ASSERT_NE(dialog, nullptr);
        setText(GetDlgItem(dialog, IDC_SET_SECONDS), seconds);
        pressDialogButton(dialog, IDOK);
        for (const std::string& text : boxes) {
            const HWND box = program.waitForDialog("An unexpected error has occurred!");
            ASSERT_NE(box, nullptr) << "no box " << text;
            EXPECT_EQ(staticTexts(box), Lines{text});
            ASSERT_TRUE(dismiss(box, IDOK));
        }
        ASSERT_TRUE(waitUntilClosed(dialog));
        EXPECT_TRUE(program.dialogs().empty());
    };

    ASSERT_TRUE(program.launch());
    const HWND box = program.waitForDialog("An unexpected error has occurred!");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(staticTexts(box), Lines{readError});
    ASSERT_TRUE(dismiss(box, IDOK));
    ASSERT_TRUE(program.waitForMainWindow());
    EXPECT_TRUE(program.dialogs().empty()) << "more than one box";
    EXPECT_EQ(program.displayText(), "00:03:00");
    setSeconds("7", {writeError, readError});
    CloseHandle(lock);
    EXPECT_EQ(preferencesText(), stored.text());

    setSeconds("8", {writeError});  // refused, then the file is read again
    EXPECT_EQ(preferencesText(), stored.text());
    const HWND dialog = program.open(IDM_TIME_LIMIT, "Set Timer");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_SET_MINUTES)), "42");
    ASSERT_TRUE(dismiss(dialog));
    setSeconds("9", {});
    stored.timerSeconds = 9;
    EXPECT_EQ(preferencesText(), stored.text());
}

TEST_F(Startup, ASecondCopyShowsANoticeAndLeaves) {
    ASSERT_TRUE(startWith());
    Program second;
    ASSERT_TRUE(second.launch());
    const HWND notice = second.waitForDialog("Attention", 10s);
    ASSERT_NE(notice, nullptr) << "no notice from the second copy";
    EXPECT_EQ(staticTexts(notice), Lines{"An instance of this program is already running."});
    EXPECT_TRUE(windowsOf(second.processId(), "Vantorel").empty());

    pressDialogButton(notice, IDOK);
    EXPECT_EQ(second.waitForExit(), 0u);
    EXPECT_TRUE(program.running());
    EXPECT_EQ(FindWindowExA(nullptr, program.mainWindow(), "Vantorel", nullptr), nullptr)
        << "a second main window";
    EXPECT_EQ(FindWindowA("Vantorel", nullptr), program.mainWindow());
    // The first copy is still the one it was, and it still answers.
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(logMessages(), Lines{" - Session Start"});
}

// The program switches the screen saver off while it runs and back to what
// it was when it exits. The change reaches other processes a moment later.
TEST_F(Startup, ScreenSaverIsOffWhileRunningAndRestoredAfterExit) {
    struct Restorer {
        const int original = screenSaver("get");
        ~Restorer() { screenSaver(original == 1 ? "on" : "off"); }
    } restorer;
    for (const int before : {1, 0}) {
        SCOPED_TRACE(before ? "on before" : "off before");
        ASSERT_EQ(screenSaver(before ? "on" : "off"), before);
        ASSERT_TRUE(startWith());
        EXPECT_TRUE(waitUntil([] { return screenSaver("get") == 0; }, 3s)) << "still active";
        program.command(IDM_EXIT);
        EXPECT_EQ(program.waitForExit(), 0u);
        EXPECT_TRUE(waitUntil([&] { return screenSaver("get") == before; }, 3s));
        program.close();
    }
}

}  // namespace
}  // namespace e2e
