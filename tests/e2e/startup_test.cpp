// Start-up and shutdown: the first run, the screen saver, the single-instance
// notice, Exit by its key, and a preferences file that cannot be read.
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

using Startup = ProgramTest;

TEST_F(Startup, FirstRunWritesTheDefaultsThenOneCopyRunsUntilExit) {
    saverBefore = screenSaver(1);
    ASSERT_TRUE(saverBefore);
    ASSERT_TRUE(program.launch()) << program.problem();
    // The startup screen, a dialog without a caption, comes first.
    const HWND screen = program.waitForDialog("", 10s);
    EXPECT_EQ(staticTexts(screen), (Lines{VANTOREL_VERSION_LINE, VANTOREL_MAKER}));
    EXPECT_EQ(readFileBytes(preferencesPath()), Settings().text());
    ASSERT_TRUE(program.waitForMainWindow()) << program.problem();
    EXPECT_FALSE(IsWindowVisible(screen)) << "the main window shows beside the startup screen";
    EXPECT_EQ(textOf(program.mainWindow()), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(program.enabledButtons(), "Start");
    EXPECT_EQ(program.placeOf(program.button(IDC_RESET)), "690,10 80x40");
    EXPECT_FALSE(screenSaver()) << "the screen saver stays on while the timer runs";

    // A second copy says so and leaves; the first one runs on.
    Program second;
    ASSERT_TRUE(second.launch()) << second.problem();
    const HWND notice = second.waitForDialog("Attention", 10s);
    EXPECT_EQ(staticTexts(notice), Lines{"An instance of this program is already running."});
    pressDialogButton(notice, IDOK);
    EXPECT_EQ(second.waitForExit(), 0u);
    EXPECT_FALSE(program.ended()) << program.problem();

    program.typeKeys({'X'}, VK_MENU);
    EXPECT_EQ(program.waitForExit(), 0u) << "Alt+X did not end the program";
    EXPECT_EQ(logMessages(), (Lines{" - Session Start", " - Session End"}));
}

// A preferences file that another program holds open without sharing is
// neither read nor replaced: the run starts on the defaults and every save
// is refused while the file is there unread. Once it has gone, the next
// save writes what the run holds, with no box.
TEST_F(Startup, ALockedPreferencesFileIsNeverWrittenOver) {
    Settings stored = Settings::quiet();
    stored[kMinutes] = "42";
    stored.write();
    HANDLE lock =
        CreateFileA(preferencesPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const Lines readError = {kFileError, "Cannot read user preferences file!"};
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
    setSeconds("7", {{kFileError, "Cannot write to user preferences file!"}, readError});
    CloseHandle(lock);
    EXPECT_EQ(readFileBytes(preferencesPath()), stored.text());

    ASSERT_TRUE(DeleteFileA(preferencesPath().c_str()));
    setSeconds("8", {});
    Settings expected;
    expected[kSeconds] = "8";
    EXPECT_EQ(readFileBytes(preferencesPath()), expected.text());
}

}  // namespace
}  // namespace e2e
