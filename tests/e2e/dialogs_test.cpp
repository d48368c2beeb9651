// The smaller surfaces: the platform's font and colour dialogs behind the
// Font, Text Color and Background Color commands, the About dialog, and the
// help file opened by F1 and Help > Contents.
#include <algorithm>
#include <string>

#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

// Controls of the platform's font and colour dialogs (dlgs.h).
constexpr int kFontFaceCombo = 0x0470;  // cmb1
constexpr int kFontSizeCombo = 0x0472;  // cmb3
constexpr int kColourRedEdit = 706;

BOOL CALLBACK noteFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM families) {
    if ((type & TRUETYPE_FONTTYPE) != 0 && font->lfFaceName[0] != '@') {
        reinterpret_cast<Lines*>(families)->push_back(font->lfFaceName);
    }
    return TRUE;
}

using Dialogs = ProgramTest;

TEST_F(Dialogs, FontAndColourDialogsCancelledStillSaveAndOkStoresTheChoice) {
    // A scalable face the font dialog lists, and not the one it would select
    // anyway: the last TrueType family by name.
    Lines families;
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, noteFamily, reinterpret_cast<LPARAM>(&families), 0);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_FALSE(families.empty()) << "no TrueType font to choose";
    PreferencesFile expected = PreferencesFile::quiet();
    expected.fontFace = *std::max_element(families.begin(), families.end());
    ASSERT_TRUE(startWith(expected));
    POINT background = {20, 60};  // neither the buttons nor the display cover it
    ClientToScreen(program.mainWindow(), &background);
    ASSERT_TRUE(waitUntil([&] { return screenPixel(background) == RGB(255, 255, 255); }, 2s))
        << std::hex << screenPixel(background);

    // Waits until the preferences file holds `expected`. The save follows a
    // rebuild of the 216-pixel display font, which can take seconds on a busy
    // machine; the wait ends as soon as the file is right.
    const auto saved = [&] {
        return waitUntil([&] { return preferencesText() == expected.text(); }, 5s);
    };
    // Opens one of the platform's dialogs, which has no owner, so the main
    // window stays usable.
    const auto open = [&](int command, const char* caption) {
        const HWND dialog = program.open(command, caption);
        EXPECT_TRUE(dialog != nullptr && GetWindow(dialog, GW_OWNER) == nullptr) << caption;
        EXPECT_TRUE(IsWindowEnabled(program.mainWindow())) << "the main window is disabled";
        return dialog;
    };
    // 12 points come back as a character height of -16 pixels at 96 dots per
    // inch, and the display is made 200 pixels taller.
    const HWND font = open(IDM_FONT, "Font");
    ASSERT_NE(font, nullptr);
    setText(GetDlgItem(font, kFontSizeCombo), "12");
    ASSERT_TRUE(dismiss(font, IDOK));
    expected.fontHeight = -MulDiv(12, dotsPerInch, 72) - 200;
    expected.fontWeight = FW_NORMAL;
    EXPECT_TRUE(saved()) << preferencesText();

    // Each opens on the current setting; cancelled, each still saves the
    // settings, which shows when the file has CR LF line ends before.
    const struct {
        int command;
        const char* caption;
        int field;
        std::string shows;
    } dialogs[] = {{IDM_FONT, "Font", kFontFaceCombo, expected.fontFace},
                   {IDM_TEXT_COLOR, "Color", kColourRedEdit, "0"},
                   {IDM_BACKGROUND_COLOR, "Color", kColourRedEdit, "255"}};
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.caption);
        writePreferences(expected.text("\r\n"));
        const HWND dialog = open(d.command, d.caption);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(textOf(GetDlgItem(dialog, d.field)), d.shows);
        ASSERT_TRUE(dismiss(dialog, IDCANCEL));
        EXPECT_TRUE(saved()) << preferencesText();
    }

    // A colour chosen by typing its red, green and blue values.
    for (const auto& [command, colour] : {std::pair{IDM_TEXT_COLOR, RGB(12, 34, 56)},
                                          std::pair{IDM_BACKGROUND_COLOR, RGB(10, 120, 200)}}) {
        const HWND dialog = open(command, "Color");
        ASSERT_NE(dialog, nullptr);
        const int values[] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
        for (int i = 0; i < 3; ++i) {  // the red, green and blue fields follow each other
            setText(GetDlgItem(dialog, kColourRedEdit + i), std::to_string(values[i]));
        }
        ASSERT_TRUE(dismiss(dialog, IDOK));
        (command == IDM_TEXT_COLOR ? expected.textColor : expected.backgroundColor) =
            static_cast<int>(colour);
        EXPECT_TRUE(saved()) << preferencesText();
    }
    EXPECT_TRUE(waitUntil([&] { return screenPixel(background) == RGB(10, 120, 200); }, 2s))
        << "the background shows " << std::hex << screenPixel(background);
}

TEST_F(Dialogs, AboutShowsTheVersionAndEscapeLeavesItOpen) {
    ASSERT_TRUE(startWith());
    const std::string page = VANTOREL_WEB_PAGE;
    for (const int close : {0, IDOK}) {
        SCOPED_TRACE(close ? "closed with OK" : "closed with the close box");
        const HWND dialog = program.open(IDM_ABOUT, "About this program");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow());
        EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the dialog is not modal";
        EXPECT_EQ(staticTexts(dialog), (Lines{VANTOREL_VERSION_LINE, VANTOREL_MAKER}));
        EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_ABOUT_DOWNLOAD_TEXT)),
                  "To download the latest version of this program, please visit " + page + ".");
        const HWND visit = GetDlgItem(dialog, IDC_ABOUT_VISIT_WEB_PAGE);
        EXPECT_EQ(textOf(visit), "Visit " + page);
        EXPECT_EQ(focusedWindowOf(dialog), visit);

        EXPECT_TRUE(staysOpenOnEscape(dialog)) << "Escape closed the dialog";
        ASSERT_TRUE(dismiss(dialog, close));
        EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow()) != FALSE; }, 1s));
    }
}

// Ends every help viewer the program started, when the case ends.
struct HelpViewerReaper {
    DWORD programId;
    ~HelpViewerReaper() {
        for (const DWORD viewer : childProcessesOf(programId, "hh.exe")) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, viewer);
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
};

TEST_F(Dialogs, F1OpensTheHelpFileBesideTheProgram) {
    ASSERT_TRUE(startWith());
    const HelpViewerReaper reaper{program.processId()};
    program.pressKey(VK_F1);
    EXPECT_TRUE(waitUntil(
        [&] {
            for (const DWORD id : childProcessesOf(program.processId(), "hh.exe")) {
                if (!windowsOf(id, "HH Parent").empty()) return true;
            }
            return false;
        },
        10s))
        << "no help window";
    EXPECT_TRUE(program.dialogs().empty()) << "an error box: the help file was not found";
    EXPECT_TRUE(program.running());
}

TEST_F(Dialogs, WithoutTheHelpFileF1AndTheMenuShowAnErrorAndCarryOn) {
    // A copy of the program in a folder of its own, with no help file.
    const std::string folder = scratchFolder("vantorel-e2e-nohelp");
    const std::string copy = folder + "\\vantorel.exe";
    DeleteFileA((folder + "\\vantorelhelp.chm").c_str());
    ASSERT_TRUE(CopyFileA(programPath().c_str(), copy.c_str(), FALSE)) << copy;
    writePreferences(PreferencesFile::quiet().text());
    ASSERT_TRUE(program.launch(copy));
    ASSERT_TRUE(program.waitForMainWindow());
    const HelpViewerReaper reaper{program.processId()};
    for (const bool key : {true, false}) {
        SCOPED_TRACE(key ? "F1" : "Help > Contents");
        if (key) {
            program.pressKey(VK_F1);
        } else {
            program.command(IDM_HELP_CONTENTS);
        }
        const HWND box = program.waitForDialog("Error!");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(staticTexts(box), Lines{"Unable to open the program's help file"});
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        ASSERT_TRUE(dismiss(box, IDOK));
        EXPECT_TRUE(program.running());
        EXPECT_EQ(program.displayText(), "00:03:00");
    }
    EXPECT_TRUE(childProcessesOf(program.processId(), "hh.exe").empty());
    program.close();
    DeleteFileA(copy.c_str());
}

}  // namespace
}  // namespace e2e
