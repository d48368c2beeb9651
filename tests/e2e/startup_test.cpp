// Start-up and shutdown: the first run, the screen saver, the single-instance
// notice with the first copy brought to the front, and Exit by its key.
#include "tests/e2e/program_test.h"

namespace e2e {

using Startup = ProgramTest;

TEST_F(Startup, FirstRunWritesTheDefaultsThenOneCopyRunsUntilExit) {
    saverBefore = screenSaver(1);
    ASSERT_TRUE(saverBefore);
    ASSERT_TRUE(program.launch()) << program.problem();
    // The startup screen, a dialog without a caption, comes first.
    const HWND screen = program.waitForDialog("", 10s);
    EXPECT_EQ(staticTexts(screen), (Lines{VANTOREL_VERSION_LINE, VANTOREL_MAKER}));
    EXPECT_EQ(readFileBytes(preferencesPath()), fileLines(kDefaults));
    ASSERT_TRUE(program.waitForMainWindow()) << program.problem();
    EXPECT_FALSE(IsWindowVisible(screen)) << "the main window shows beside the startup screen";
    EXPECT_EQ(textOf(program.mainWindow()), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(program.enabledButtons(), "Start");
    EXPECT_EQ(program.placeOf(program.button(IDC_RESET)), "690,10 80x40");
    EXPECT_FALSE(screenSaver()) << "the screen saver stays on while the timer runs";

    // With another program in front, a second copy says so and leaves; the
    // first one runs on and comes to the front.
    Program other;
    ASSERT_TRUE(other.launch("C:\\windows\\notepad.exe") && other.waitForMainWindow("Notepad"))
        << other.problem();
    SetForegroundWindow(other.mainWindow());
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == other.mainWindow(); }, 2s));
    Program second;
    ASSERT_TRUE(second.launch()) << second.problem();
    const HWND notice = second.waitForDialog("Attention", 10s);
    EXPECT_EQ(staticTexts(notice), Lines{"An instance of this program is already running."});
    pressButton(notice, IDOK);
    EXPECT_EQ(second.waitForExit(), 0u);
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == program.mainWindow(); }, 2s))
        << "the first copy is not in front: " << program.problem();

    program.typeKeys({'X'}, VK_MENU);
    EXPECT_EQ(program.waitForExit(), 0u) << "Alt+X did not end the program";
    EXPECT_EQ(logMessages(), (Lines{" - Session Start", " - Session End"}));
}

}  // namespace e2e
