// Start-up and shutdown: the first run, the single-instance notice, the exit
// through the menu, and a preferences file that cannot be read.
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

using Startup = ProgramTest;

TEST_F(Startup, FirstRunWritesTheDefaultsThenOneCopyRunsUntilExit) {
    ASSERT_TRUE(program.launch()) << program.problem();
    // The startup screen, a dialog without a caption, comes first.
    const HWND screen = program.waitForDialog("", 10s);
    EXPECT_EQ(staticTexts(screen), (Lines{VANTOREL_VERSION_LINE, VANTOREL_MAKER}));
    EXPECT_EQ(readFileBytes(preferencesPath()), PreferencesFile().text());
    ASSERT_TRUE(program.waitForMainWindow()) << program.problem();
    EXPECT_FALSE(IsWindowVisible(screen)) << "the main window shows beside the startup screen";
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(program.enabledButtons(), "Start");
    EXPECT_EQ(program.placeOf(GetDlgItem(program.mainWindow(), IDC_RESET)), "690,10 80x40");

    // A second copy says so and leaves; the first one runs on.
    Program second;
    ASSERT_TRUE(second.launch()) << second.problem();
    const HWND notice = second.waitForDialog("Attention", 10s);
    EXPECT_EQ(staticTexts(notice), Lines{"An instance of this program is already running."});
    pressDialogButton(notice, IDOK);
    EXPECT_EQ(second.waitForExit(), 0u);
    EXPECT_EQ(program.waitForExit(0ms), STILL_ACTIVE);

    program.command(IDM_EXIT);
    EXPECT_EQ(program.waitForExit(), 0u);
    EXPECT_EQ(logMessages(), (Lines{" - Session Start", " - Session End"}));
}

// A preferences file that another program holds open without sharing is
// neither read nor replaced: the run starts on the defaults, every save is
// refused until the file has been read again, and then saving resumes.
TEST_F(Startup, ALockedPreferencesFileIsLeftAloneUntilItCanBeRead) {
    PreferencesFile stored = PreferencesFile::quiet();
    stored.timerMinutes = 42;
    stored.fontFace = "Courier New";
    writePreferences(stored.text());
    HANDLE lock =
        CreateFileA(preferencesPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const Lines readError = {kFileError, "Cannot read user preferences file!"};
    const Lines writeError = {kFileError, "Cannot write to user preferences file!"};
    // Set Timer with these seconds, confirmed, and then these boxes.
    const auto setSeconds = [&](const char* seconds, const std::vector<Lines>& boxes) {
        program.command(IDM_TIME_LIMIT);
        const HWND setTimer = dialog("Set Timer");
        setText(GetDlgItem(setTimer, IDC_SET_SECONDS), seconds);
        confirm(setTimer, boxes);
    };

    ASSERT_TRUE(program.launch()) << program.problem();
    EXPECT_EQ(staticTexts(dialog(kFileError)), Lines{readError[1]});
    ASSERT_TRUE(dismiss(dialog(kFileError), IDOK));
    ASSERT_TRUE(program.waitForMainWindow()) << program.problem();
    EXPECT_TRUE(program.dialogs().empty()) << "more than one box";
    EXPECT_EQ(program.displayText(), "00:03:00");
    setSeconds("7", {writeError, readError});
    CloseHandle(lock);
    EXPECT_EQ(readFileBytes(preferencesPath()), stored.text());

    setSeconds("8", {writeError});  // refused, then the file is read again
    EXPECT_EQ(readFileBytes(preferencesPath()), stored.text());
    setSeconds("9", {});  // Set Timer shows the stored minutes, and this save goes through
    stored.timerSeconds = 9;
    EXPECT_EQ(readFileBytes(preferencesPath()), stored.text());
}

}  // namespace
}  // namespace e2e
