// Start-up and shutdown: the first run in a data folder named outside the
// ANSI code page (Cyrillic, or with best-fit look-alikes: see
// scripts/wine-env.sh), the screen saver, the single-instance notice with
// the first copy restored and brought to the front.
#include "tests/e2e/program_test.h"

#include <sddl.h>

namespace e2e {

using Startup = ProgramTest;

TEST_F(Startup, FirstRunWritesTheDefaultsThenOneCopyRunsUntilExit) {
    // The test prefix's roaming folder (scripts/wine-env.sh) has no exact
    // ANSI name: the plain conversion names a folder that is not there.
    char ansi[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, ansi, CSIDL_APPDATA, 0) &&
                GetFileAttributesA(ansi) == INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE((saverBefore = screenSaver(1)));
    ASSERT_TRUE(program.launch()) << program.problem();
    // The startup screen, a dialog without a caption, comes first.
    const HWND screen = program.waitForDialog("", 10s);
    const auto shown = SteadyClock::now();
    EXPECT_EQ(staticTexts(screen), (Lines{VANTOREL_VERSION_LINE, VANTOREL_MAKER}));
    EXPECT_NE(askWindow(GetDlgItem(screen, IDC_PROGRAM_ICON), STM_GETICON), 0) << "no icon";
    EXPECT_EQ(readFileBytes(preferencesPath()), fileLines(kDefaults));
    ASSERT_TRUE(program.waitForMainWindow()) << program.problem();
    EXPECT_FALSE(IsWindowVisible(screen)) << "the main window shows beside the startup screen";
    // 1.5 s, and what making the main window takes on a busy machine.
    EXPECT_NEAR(elapsedMs(shown), 1650, 400) << "the startup screen's time";
    EXPECT_EQ(
        textOf(program.mainWindow()) + " " + program.displayText() + " " + program.enabledButtons(),
        "Vantorel: Timer Set - 00h:03m:00s 00:03:00 Start");
    EXPECT_EQ(program.placeOf(program.button(IDC_RESET)), "690,10 80x40");
    RECT window = {}, area = {};
    GetWindowRect(program.mainWindow(), &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(EqualRect(&window, &area)) << "the window does not cover the work area";
    // A click in the display hands the focus back to the window, so no caret shows there.
    askWindow(program.display(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    askWindow(program.display(), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    EXPECT_EQ(program.focus(), program.mainWindow()) << "the display keeps the focus";
    EXPECT_FALSE(screenSaver()) << "the screen saver stays on while the timer runs";

    // Minimised, with another program in front: a second copy says so and
    // leaves; the first one runs on, restored and in front.
    PostMessageA(program.mainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Program other;
    ASSERT_TRUE(other.launch("C:\\windows\\notepad.exe") && other.waitForMainWindow("Notepad"))
        << other.problem();
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == other.mainWindow(); }, 2s));
    Program second;
    ASSERT_TRUE(second.launch()) << second.problem();
    const HWND notice = second.waitForDialog("Attention", 10s);
    EXPECT_EQ(staticTexts(notice), Lines{"An instance of this program is already running."});
    pressButton(notice, IDOK);
    EXPECT_EQ(second.waitForExit(), 0u);
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == program.mainWindow(); }, 2s))
        << "the first copy is not in front: " << program.problem();
    EXPECT_FALSE(IsIconic(program.mainWindow())) << "the first copy stays minimised";

    program.close();

    // A copy running elevated holds the mutex where this one may not open it
    // (a descriptor granting nothing): that counts as running too.
    SECURITY_ATTRIBUTES denied = {sizeof denied, nullptr, FALSE};
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:", 1, &denied.lpSecurityDescriptor, 0);
    const HANDLE mutex = CreateMutexA(&denied, FALSE, "VantorelInstanceIsRunning");
    ASSERT_TRUE(program.launch()) << program.problem();
    ASSERT_TRUE(dismiss(dialog("Attention"), IDOK));
    EXPECT_EQ(program.waitForExit(), 0u);
    CloseHandle(mutex);
}

}  // namespace e2e
