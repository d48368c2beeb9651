// The dialogs: Set Timer and Preferences with their limits and the sound-file
// chooser, the log viewer, the platform's font and colour dialogs reached
// through the menu (what they return in the file and in the digits' pixels),
// About, and help with and without its file.
#include "tests/e2e/program_test.h"

#include <set>

namespace e2e {

using SetTimer = ProgramTest;
using Preferences = ProgramTest;
using LogViewer = ProgramTest;
using Dialogs = ProgramTest;

TEST_F(SetTimer, ClampsEachFieldInTurnAndTheNewLimitCounts) {
    ASSERT_TRUE(startWith());
    HWND setTimer = openByKeys({VK_F3}, "Set Timer");
    expectOwnedWithFocusOn(setTimer, IDOK);
    fill(setTimer, {{IDC_SET_MINUTES, "7"}});  // and then closed: nothing is taken
    escapeThenClose(setTimer);
    ASSERT_TRUE(press(IDC_START, "Stop"));
    // Above every limit, past 32 bits too: each field has its box in turn.
    // The running countdown goes on from the new limit.
    program.command(IDM_TIME_LIMIT);
    setTimer = dialog("Set Timer");
    EXPECT_EQ(textOf(GetDlgItem(setTimer, IDC_SET_MINUTES)), "3");  // filled from the limit
    fill(setTimer, {{IDC_SET_HOURS, "120"},
                    {IDC_SET_MINUTES, "4294967296"},
                    {IDC_SET_SECONDS, "99999999999999999999"}});
    confirm(setTimer, {{"Maximum Hours Value", "Maximum value is 99 hours"},
                       {"Maximum Minutes Value", "Maximum value is 59 minutes!"},
                       {"Maximum Seconds Value", "Maximum value is 59 seconds!"}});
    EXPECT_EQ(textOf(program.mainWindow()) + " " + program.enabledButtons(),
              "Vantorel: Timer Set - 99h:59m:59s Stop");
    EXPECT_TRUE(waitUntil([&] { return program.displayText() == "99:59:58"; }, 3s));
    EXPECT_EQ(readFileBytes(preferencesPath()),
              fileLines(kQuiet.substr(0, 19) + "99|59|59" + kQuiet.substr(24)));
}

// Another program holds the settings file open (a viewer, a backup or sync
// agent), so that its name cannot be moved over: a change is written over it
// in place where that program lets others write it, and is refused with the
// one box, leaving the file as it was, where it only lets others read it.
TEST_F(SetTimer, SavesOverAFileAnotherProgramHoldsOpenIfItLetsOthersWrite) {
    ASSERT_TRUE(startWith());
    const std::string saved = fileLines(kQuiet.substr(0, 19) + "0|7|0" + kQuiet.substr(24));
    for (const DWORD sharing :
         {DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}, DWORD{FILE_SHARE_READ}}) {
        const HANDLE held = CreateFileW(preferencesPath().c_str(), GENERIC_READ, sharing, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        program.command(IDM_TIME_LIMIT);
        const HWND setTimer = dialog("Set Timer");
        fill(setTimer, {{IDC_SET_MINUTES, sharing & FILE_SHARE_WRITE ? "7" : "9"}});
        if (sharing & FILE_SHARE_WRITE) {
            confirm(setTimer);
        } else {
            confirm(setTimer, {{kFileError, "Cannot write to user preferences file!"}});
        }
        CloseHandle(held);
        EXPECT_EQ(readFileBytes(preferencesPath()), saved);
        EXPECT_FALSE(std::filesystem::exists(dataFolder() / "vantorl.tmp"));
    }
}

// The "..." buttons' file box: Open with the chosen file's name typed in, or Cancel.
void chooseSoundFile(Program& program, HWND preferences, int button, const Path& file) {
    pressButton(preferences, button);
    const HWND box = program.waitForDialog("Open");
    SendMessageW(GetDlgItem(box, 0x047C), WM_SETTEXT, 0, LPARAM(file.c_str()));  // cmb13
    ASSERT_TRUE(dismiss(box, file.empty() ? IDCANCEL : IDOK));
}

// The sound files picked: the tick's long name with blanks, which the ANSI
// functions open as it is, is kept exactly as picked; the alarm's has letters
// that code page 1252 lacks but has look-alikes for, and is kept by a name
// that opens the same file. The tick is heard after the next start.
TEST_F(Preferences, OkTakesEveryFieldClampsInTurnAndLaysTheWindowOut) {
    ASSERT_TRUE(startWith(
        "0|1|0|1|400|20|130|0|3|0|0|16777215|320|700|0|Arial|C:\\alarm.wav|No file selected"));
    const std::string mine = pathFrom("VANTOREL_TEST_SOUNDS") + "\\my-tick.wav",
                      tick = scratchFolder("vantorel-e2e") + "\\my tick with a long name.wav";
    const Path alarmFile = Path(scratchFolder("vantorel-e2e")) / L"Łucja İřena.wav";
    ASSERT_TRUE(CopyFileA(mine.c_str(), tick.c_str(), FALSE) &&
                CopyFileW(Path(mine).c_str(), alarmFile.c_str(), FALSE));
    const int fields[] = {IDC_PREF_SHOW_STARTUP,  IDC_PREF_LOG_ENABLED,  IDC_PREF_TICKING_ENABLED,
                          IDC_PREF_ALARM_ENABLED, IDC_PREF_BUTTONS_LEFT, IDC_PREF_BUTTONS_TOP,
                          IDC_PREF_DISPLAY_TOP,   IDC_PREF_ALARM_PATH,   IDC_PREF_TICK_PATH};
    const auto shown = [&](HWND dialog) {  // the four switches, then the other fields
        std::string text;
        for (int i = 0; i < 9; ++i)
            text += i < 4 ? std::to_string(askWindow(GetDlgItem(dialog, fields[i]), BM_GETCHECK))
                          : " " + textOf(GetDlgItem(dialog, fields[i]));
        return text;
    };
    // A cancelled choice only shows "No file selected"; a picked file is
    // taken at once, even when the dialog is then closed without OK.
    HWND preferences = openByKeys({VK_F2}, "Preferences");
    expectOwnedWithFocusOn(preferences, IDOK);
    EXPECT_EQ(shown(preferences), "0101 400 20 130 C:\\alarm.wav No file selected");
    chooseSoundFile(program, preferences, IDC_PREF_ALARM_BROWSE, alarmFile);
    const std::string alarm = textOf(GetDlgItem(preferences, IDC_PREF_ALARM_PATH));
    EXPECT_EQ(readFileBytes(alarm), readFileBytes(mine)) << alarm;
    chooseSoundFile(program, preferences, IDC_PREF_TICK_BROWSE, tick);
    chooseSoundFile(program, preferences, IDC_PREF_ALARM_BROWSE, "");  // keeps the picked alarm
    fill(preferences, {{IDC_PREF_DISPLAY_TOP, "7"}});
    EXPECT_EQ(shown(preferences), "0101 400 20 7 No file selected " + tick);
    escapeThenClose(preferences);

    // Settings > Preferences...
    preferences = openByKeys(
        {VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN},
        "Preferences");
    EXPECT_EQ(shown(preferences), "0101 400 20 130 " + alarm + " " + tick);
    for (int i = 0; i < 4; ++i) askWindow(GetDlgItem(preferences, fields[i]), BM_CLICK);
    // The top is held against the display's old top, 130.
    fill(preferences, {{IDC_PREF_BUTTONS_LEFT, "99999999999"},
                       {IDC_PREF_BUTTONS_TOP, "200"},
                       {IDC_PREF_DISPLAY_TOP, "300"}});
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const std::string left = std::to_string(area.right - 260), clamped = "Maximum exceeded! ",
                      reset = std::to_string(area.right - 80) + ",85 80x40";
    confirm(preferences, {{"Buttons position from left", clamped + "Value set to " + left},
                          {"Buttons position from top", clamped + "Value set to 85"}});
    EXPECT_EQ(readFileBytes(preferencesPath()),
              fileLines("1|0|1|0|" + left + "|85|300|0|3|0|0|16777215|320|700|0|Arial|" + alarm +
                        "|" + tick));
    EXPECT_EQ(program.placeOf(program.button(IDC_RESET)), reset);
    EXPECT_EQ(program.placeOf(program.display()),
              "0,300 " + std::to_string(area.right) + "x" + std::to_string(area.bottom));
    EXPECT_EQ(logMessages(), (Lines{" - Session Start", " - Logging is disabled"}));
    // The next start finds them.
    program.close();
    ASSERT_TRUE(startWith(""));
    EXPECT_EQ(program.placeOf(program.button(IDC_RESET)), reset);
    ASSERT_TRUE(press(IDC_START, "Stop"));
    const auto myTick = [&] { return heard({{"my-tick", samples(readFileBytes(mine))}}); };
    EXPECT_TRUE(waitUntil([&] { return myTick() == "my-tick"; }, 3s)) << myTick();
}

TEST_F(LogViewer, ListsEveryLineWholeAndDeleteLogStartsANewOne) {
    ASSERT_TRUE(startWith("0|0" + kQuiet.substr(3)));  // the log switch off
    // With no log yet, the failure box comes first, then an empty viewer.
    EXPECT_EQ(staticTexts(openByKeys({VK_F4}, kFileError)), Lines{"Cannot read program log!"});
    ASSERT_TRUE(dismiss(dialog(kFileError), IDOK));
    ASSERT_TRUE(dismiss(dialog("View Program Log"), IDOK));

    // A line ended by CR LF and one of 400 characters come back whole.
    const Lines lines = {"2026-01-02 03:04:05 - Session Start", std::string(400, '7'), "last"};
    writeFileBytes(logPath(), lines[0] + "\r\n" + lines[1] + "\n" + lines[2] + "\n");
    program.command(IDM_VIEW_LOG);
    const HWND viewer = dialog("View Program Log"), list = GetDlgItem(viewer, IDC_LOG_LIST);
    expectOwnedWithFocusOn(viewer, IDOK);
    EXPECT_EQ(askWindow(list, LB_GETCOUNT), 3);
    EXPECT_EQ(askWindow(list, LB_GETHORIZONTALEXTENT), 2048);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(askWindow(list, LB_GETTEXTLEN, i), LRESULT(lines[i].size()));
    // Delete Log asks first; Cancel keeps the log.
    for (const int answer : {IDCANCEL, IDOK}) {
        pressButton(viewer, IDC_LOG_DELETE);
        const HWND box = dialog("Confirm deletion of Program Log");
        EXPECT_EQ(staticTexts(box), Lines{"Are you sure?"});
        ASSERT_TRUE(dismiss(box, answer));
        Sleep(200);
        EXPECT_EQ(logMessages().size(), answer == IDOK ? 1u : 3u);
    }
    EXPECT_TRUE(waitUntil([&] { return askWindow(list, LB_GETCOUNT) == 1; }, 2s));
    EXPECT_EQ(logMessages(), Lines{" - New log started."});
    escapeThenClose(viewer);
}

// Notes each TrueType family that has the digits of ANSI text.
BOOL CALLBACK noteFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM families) {
    if ((type & TRUETYPE_FONTTYPE) != 0 && font->lfCharSet == ANSI_CHARSET)
        reinterpret_cast<std::set<std::string>*>(families)->insert(font->lfFaceName);
    return TRUE;
}

// Picks `item` in the combo box `id` of a dialog, as a click in its list does.
void pick(HWND dialog, int id, const std::string& item) {
    askWindow(GetDlgItem(dialog, id), CB_SELECTSTRING, WPARAM(-1), LPARAM(item.c_str()));
    askWindow(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(GetDlgItem(dialog, id)));
}

// Run from a copy in a folder of its own, named outside the ANSI code page,
// where the help file comes later.
TEST_F(Dialogs, FontColourAboutAndHelpFromTheMenuAndKeys) {
    const Path folder = Path(scratchFolder("vantorel-e2e")) / L"Пётр";
    std::filesystem::create_directory(folder);
    std::filesystem::remove(folder / "vantorelhelp.chm");
    ASSERT_TRUE(CopyFileW(Path(programPath()).c_str(), (folder / "vantorel.exe").c_str(), FALSE));
    std::set<std::string> families;
    LOGFONTA any = {};  // every family with an ANSI character set
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &any, noteFamily, reinterpret_cast<LPARAM>(&families), 0);
    // The last two by name, which the font dialog lists and does not select
    // by itself: the file holds the first, the dialog picks the second.
    ASSERT_GE(families.size(), 3u);
    const std::string stored = *std::next(families.rbegin()), face = *families.rbegin();
    ASSERT_TRUE(
        startWith(kQuiet.substr(0, 46) + stored + kQuiet.substr(51), folder / "vantorel.exe"));
    // After a repaint, the digits are those of that font in those colours,
    // their ink centred in the display, which starts at the client area's left edge.
    const auto expectDigits = [&](HFONT font, COLORREF colour, COLORREF paper) {
        RECT place = {}, client = {};
        GetWindowRect(program.display(), &place);
        GetClientRect(program.mainWindow(), &client);
        const Ink drawn = ink(client.right, paper, [&](HDC dc) {
            SetBkColor(dc, paper), SetTextColor(dc, colour), SelectObject(dc, font);
            ExtTextOutA(dc, 100, 50, ETO_OPAQUE, &client, "00:03:00", 8, nullptr);
        });
        DeleteObject(font);
        const auto shown = [&] {
            return ink(client.right, paper, [&](HDC dc) {
                BitBlt(dc, 0, 0, client.right, 400, screen, place.left, place.top, SRCCOPY);
            });
        };
        InvalidateRect(program.display(), nullptr, TRUE);
        EXPECT_TRUE(waitUntil([&] { return shown().first == drawn.first; }, 3s))
            << shown().first << " on screen, drawn: " << drawn.first;
        EXPECT_NEAR(shown().second, (place.right - place.left) / 2.0, 3);
    };
    expectDigits(
        CreateFontA(320, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, stored.c_str()),
        RGB(0, 0, 0), RGB(255, 255, 255));
    // Settings > Font...: another face, Bold Italic, 12 points: 16 pixels at
    // 96 dots per inch, so the digits stand 216 pixels high.
    const int height = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72) - 200;
    const std::string font = std::to_string(height) + "|700|1|" + face;
    // Presses OK; the preferences file then holds these colours and that
    // font. It is read only once the program has replaced it: Wine refuses
    // a rename over a file that another program has open, however shared.
    const auto okSaves = [&](HWND chooser, const std::string& colours) {
        auto state = [&, data = WIN32_FILE_ATTRIBUTE_DATA{}]() mutable {
            GetFileAttributesExW(preferencesPath().c_str(), GetFileExInfoStandard, &data);
            return std::string(reinterpret_cast<const char*>(&data), sizeof data);
        };
        const std::string before = state();
        EXPECT_TRUE(dismiss(chooser, IDOK) && waitUntil([&] { return state() != before; }, 5s));
        EXPECT_EQ(readFileBytes(preferencesPath()),
                  fileLines(kQuiet.substr(0, 25) + colours + "|" + font + kQuiet.substr(51)));
    };
    HWND chooser = openByKeys({VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN}, "Font");
    EXPECT_TRUE(IsWindowEnabled(program.mainWindow())) << "the font dialog has an owner";
    EXPECT_EQ(textOf(GetDlgItem(chooser, 0x0470)), stored) << "not the stored face";
    pick(chooser, 0x0470, face);           // cmb1
    pick(chooser, 0x0471, "Bold Italic");  // cmb2
    pick(chooser, 0x0472, "12");           // cmb3
    okSaves(chooser, "0|16777215");

    // Settings > Text Color... and Background Color..., both opening on the
    // colour they change; the background shows at once.
    chooser = openByKeys({VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, "Color");
    EXPECT_EQ(textOf(GetDlgItem(chooser, 706)), "0");  // red, then green and blue
    fill(chooser, {{706, "200"}, {707, "30"}, {708, "40"}});
    okSaves(chooser, "2629320|16777215");
    chooser =
        openByKeys({VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, "Color");
    EXPECT_EQ(textOf(GetDlgItem(chooser, 706)), "255");
    fill(chooser, {{706, "10"}, {707, "120"}, {708, "200"}});
    okSaves(chooser, "2629320|13137930");
    const COLORREF paper = RGB(10, 120, 200);
    POINT background = {20, 60};  // neither the buttons nor the display cover it
    ClientToScreen(program.mainWindow(), &background);
    EXPECT_TRUE(
        waitUntil([&] { return GetPixel(screen, background.x, background.y) == paper; }, 3s));

    expectDigits(
        CreateFontA(height, 0, 0, 0, FW_BOLD, TRUE, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, face.c_str()),
        RGB(200, 30, 40), paper);
    ReleaseDC(nullptr, screen);

    // Help > About..., whose button has the shell open the web page (the test
    // prefix's handler for the address writes what it is given to a file)
    // and leaves the dialog open.
    const HWND about =
        openByKeys({VK_F10, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN}, "About this program");
    expectOwnedWithFocusOn(about, IDC_ABOUT_VISIT_WEB_PAGE);
    EXPECT_EQ(staticTexts(about), (Lines{VANTOREL_VERSION_LINE, VANTOREL_MAKER}));
    DeleteFileA("C:\\opened.txt");
    pressButton(about, IDC_ABOUT_VISIT_WEB_PAGE);
    const auto opened = [] { return readFileBytes("C:\\opened.txt"); };
    EXPECT_TRUE(waitUntil([&] { return opened() == VANTOREL_WEB_PAGE "\r\n"; }, 5s)) << opened();
    escapeThenClose(about);

    // F1 without the help file: a box of its own, with no owner; with the
    // file next to the program, the help window.
    const HWND box = openByKeys({VK_F1}, "Error!");
    EXPECT_EQ(staticTexts(box), Lines{"Unable to open the program's help file"});
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    ASSERT_TRUE(dismiss(box, IDOK));
    ASSERT_TRUE(CopyFileW((Path(programPath()).parent_path() / "vantorelhelp.chm").c_str(),
                          (folder / "vantorelhelp.chm").c_str(), FALSE));
    ASSERT_TRUE(program.typeKeys({VK_F1}));
    EXPECT_TRUE(waitUntil([&] { return FindWindowA(nullptr, "Vantorel Help"); }, 10s));
    PostMessageA(FindWindowA(nullptr, "Vantorel Help"), WM_CLOSE, 0, 0);
}

}  // namespace e2e
