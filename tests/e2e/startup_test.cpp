// Start-up and shutdown: the first run in a data folder named outside the
// ANSI code page, the screen saver, the single-instance notice with the
// first copy restored and brought to the front, and Exit by its key.
#include "tests/e2e/program_test.h"

#include <sddl.h>

namespace e2e {

using Startup = ProgramTest;

TEST_F(Startup, FirstRunWritesTheDefaultsThenOneCopyRunsUntilExit) {
    // The test prefix's roaming folder (scripts/wine-env.sh) has no exact ANSI name.
    char ansi[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, ansi, CSIDL_APPDATA, 0) && strchr(ansi, '?'));
    saverBefore = screenSaver(1);
    ASSERT_TRUE(saverBefore);
    ASSERT_TRUE(program.launch()) << program.problem();
    // The startup screen, a dialog without a caption, comes first.
    const HWND screen = program.waitForDialog("", 10s);
    EXPECT_EQ(staticTexts(screen), (Lines{VANTOREL_VERSION_LINE, VANTOREL_MAKER}));
    EXPECT_EQ(readFileBytes(preferencesPath()), fileLines(kDefaults));
    ASSERT_TRUE(program.waitForMainWindow()) << program.problem();
    EXPECT_FALSE(IsWindowVisible(screen)) << "the main window shows beside the startup screen";
    EXPECT_EQ(
        textOf(program.mainWindow()) + " " + program.displayText() + " " + program.enabledButtons(),
        "Vantorel: Timer Set - 00h:03m:00s 00:03:00 Start");
    EXPECT_EQ(program.placeOf(program.button(IDC_RESET)), "690,10 80x40");
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

    program.typeKeys({'X'}, VK_MENU);
    EXPECT_EQ(program.waitForExit(), 0u) << "Alt+X did not end the program";
    EXPECT_EQ(logMessages(), (Lines{" - Session Start", " - Session End"}));

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

// The log of a session: Start, Stop, Reset, a countdown of 2 s run to its
// end, Preferences confirmed unchanged, then Exit; under a combination of
// the conditions at start (screen saver on or off, the startup screen and
// log switches), and, in one case, with the user's data in a folder named
// with letters that code page 1252 lacks but has look-alikes for. The
// switches count as on only at 1; a check box shows a 2 ticked, and OK then
// takes it as 1.
using Conditions = std::tuple<bool, std::string, const wchar_t*, Lines>;
class Session : public ProgramTest, public testing::WithParamInterface<Conditions> {};

const Lines kLogged = {" - Session Start",
                       " - Countdown started. Vantorel: Timer Set - 00h:00m:02s",
                       " - Countdown stopped.",
                       " - Countdown reset.",
                       " - Countdown started. Vantorel: Timer Set - 00h:00m:02s",
                       " - Countdown completed.",
                       " - Logging is enabled",
                       " - Session End"};

TEST_P(Session, LogsEachEntryByTheLogSwitchAlone) {
    const auto& [saverOn, switches, roaming, expected] = GetParam();
    if (*roaming) {
        std::filesystem::create_directories(roaming);
        setRoaming(roaming);
    }
    saverBefore = screenSaver(saverOn);
    ASSERT_TRUE(startWith(
        switches +
        "|0|0|510|10|100|0|0|2|0|16777215|320|700|0|Arial|No file selected|No file selected"));
    ASSERT_TRUE(press(IDC_START, "Stop") && press(IDC_STOP, "Start Reset") &&
                press(IDC_RESET, "Start") && press(IDC_START, "Stop"));
    ASSERT_TRUE(waitUntil([&] { return program.enabledButtons() == "Reset"; }, 4s));
    confirm(openByKeys({VK_F2}, "Preferences"));
    program.typeKeys({'X'}, VK_MENU);
    EXPECT_EQ(program.waitForExit(), 0u) << "Alt+X did not end the program";
    EXPECT_EQ(logMessages(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, Session,
    testing::Values(Conditions{true, "0|1", L"", kLogged}, Conditions{false, "1|1", L"", kLogged},
                    Conditions{true,
                               "1|0",
                               L"C:\\users\\Łucja İřena\\AppData\\Roaming",
                               {" - Countdown completed.", " - Logging is disabled"}},
                    Conditions{
                        false,
                        "0|2",
                        L"",
                        {" - Countdown completed.", " - Logging is enabled", " - Session End"}}));

}  // namespace e2e
