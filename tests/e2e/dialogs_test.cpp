// The smaller surfaces: the platform's font and colour dialogs behind the
// Font, Text Color and Background Color commands, the About dialog, and the
// help file opened by F1 and Help > Contents.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resource.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

// Controls of the platform's font and colour dialogs (dlgs.h).
constexpr int kFontFaceCombo = 0x0470;  // cmb1
constexpr int kFontSizeCombo = 0x0472;  // cmb3
constexpr int kColourRedEdit = 706;
constexpr int kColourGreenEdit = 707;
constexpr int kColourBlueEdit = 708;

BOOL CALLBACK noteFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM families) {
    if ((type & TRUETYPE_FONTTYPE) != 0 && font->lfFaceName[0] != '@') {
        reinterpret_cast<std::vector<std::string>*>(families)->push_back(font->lfFaceName);
    }
    return TRUE;
}

// A scalable face the font dialog lists, and not the one it would select
// anyway: the last TrueType family by name. Empty when there is none.
std::string lastTrueTypeFace() {
    std::vector<std::string> families;
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, noteFamily, reinterpret_cast<LPARAM>(&families), 0);
    ReleaseDC(nullptr, screen);
    if (families.empty()) return std::string();
    return *std::max_element(families.begin(), families.end());
}

// The settings with every line ended by CR LF: the program reads them, but
// its own saves end lines with LF alone, so a save shows in the bytes.
std::string withCarriageReturns(const PreferencesFile& preferences) {
    return preferences.text("\r\n");
}

class Dialogs : public ProgramTest {
protected:
    // Starts the program on `preferences` written with CR LF line ends.
    testing::AssertionResult startOnCarriageReturns(const PreferencesFile& preferences) {
        writePreferencesText(withCarriageReturns(preferences));
        return startProgram();
    }

    // Waits until the preferences file holds `text`.
    static testing::AssertionResult fileBecomes(const std::string& text) {
        if (waitUntil([&] { return readPreferencesText() == text; }, 2s)) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "the preferences file is\n"
                                           << readPreferencesText().value_or("<missing>");
    }

    // Opens a platform dialog with `command` and checks that it has no
    // owner, so the main window stays usable.
    HWND openOwnerless(int command, const char* caption) {
        program.command(command);
        const HWND dialog = program.waitForDialog(caption);
        if (dialog == nullptr) return nullptr;
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
        EXPECT_TRUE(IsWindowEnabled(program.mainWindow())) << "the main window is disabled";
        return dialog;
    }

    // Chooses `colour` in an open colour dialog by typing its red, green and
    // blue values, and confirms it.
    static testing::AssertionResult chooseColour(HWND dialog, COLORREF colour) {
        setControlText(GetDlgItem(dialog, kColourRedEdit), std::to_string(GetRValue(colour)));
        setControlText(GetDlgItem(dialog, kColourGreenEdit), std::to_string(GetGValue(colour)));
        setControlText(GetDlgItem(dialog, kColourBlueEdit), std::to_string(GetBValue(colour)));
        pressDialogButton(dialog, IDOK);
        if (!waitUntilClosed(dialog)) return testing::AssertionFailure() << "still open";
        return testing::AssertionSuccess();
    }

    // A screen point inside the main window's client area that neither the
    // buttons nor the display cover (with the default layout).
    POINT backgroundPoint() const {
        POINT point = {20, 60};
        ClientToScreen(program.mainWindow(), &point);
        return point;
    }
};

TEST_F(Dialogs, FontDialogOpensOnTheChosenFaceAndCancelStillSaves) {
    PreferencesFile preferences = PreferencesFile::quiet();
    const std::string face = lastTrueTypeFace();
    ASSERT_FALSE(face.empty()) << "no TrueType font to choose";
    preferences.fontFace = face;
    ASSERT_TRUE(startOnCarriageReturns(preferences));

    const HWND dialog = openOwnerless(IDM_FONT, "Font");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(controlText(GetDlgItem(dialog, kFontFaceCombo)), face);
    pressDialogButton(dialog, IDCANCEL);
    ASSERT_TRUE(waitUntilClosed(dialog));
    EXPECT_TRUE(fileBecomes(preferences.text()));
}

TEST_F(Dialogs, FontDialogOkStoresTheFaceAndTheSizeMadeTaller) {
    PreferencesFile preferences = PreferencesFile::quiet();
    preferences.fontFace = lastTrueTypeFace();
    ASSERT_FALSE(preferences.fontFace.empty()) << "no TrueType font to choose";
    ASSERT_TRUE(startWith(preferences));

    const HWND dialog = openOwnerless(IDM_FONT, "Font");
    ASSERT_NE(dialog, nullptr);
    setControlText(GetDlgItem(dialog, kFontSizeCombo), "12");
    pressDialogButton(dialog, IDOK);
    ASSERT_TRUE(waitUntilClosed(dialog));

    // The dialog reports 12 points as a character height of -16 pixels at
    // 96 dots per inch; the display is made 200 pixels taller.
    HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    PreferencesFile expected = preferences;
    expected.fontHeight = -MulDiv(12, dotsPerInch, 72) - 200;
    expected.fontWeight = FW_NORMAL;
    expected.fontItalic = 0;
    EXPECT_TRUE(fileBecomes(expected.text()));
}

TEST_F(Dialogs, TextColorCancelStillSavesAndOkStoresTheColour) {
    const PreferencesFile preferences = PreferencesFile::quiet();
    ASSERT_TRUE(startOnCarriageReturns(preferences));

    HWND dialog = openOwnerless(IDM_TEXT_COLOR, "Color");
    ASSERT_NE(dialog, nullptr);
    // It starts on the current text colour, black.
    EXPECT_EQ(controlText(GetDlgItem(dialog, kColourRedEdit)), "0");
    pressDialogButton(dialog, IDCANCEL);
    ASSERT_TRUE(waitUntilClosed(dialog));
    ASSERT_TRUE(fileBecomes(preferences.text()));

    const COLORREF chosen = RGB(12, 34, 56);
    dialog = openOwnerless(IDM_TEXT_COLOR, "Color");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(chooseColour(dialog, chosen));
    PreferencesFile expected = preferences;
    expected.textColor = chosen;
    EXPECT_TRUE(fileBecomes(expected.text()));
    EXPECT_EQ(lineOf(readPreferencesText().value_or(""), 11), std::to_string(chosen));
}

TEST_F(Dialogs, BackgroundColorCancelStillSavesAndOkRepaintsAtOnce) {
    const PreferencesFile preferences = PreferencesFile::quiet();
    ASSERT_TRUE(startOnCarriageReturns(preferences));
    const POINT point = backgroundPoint();
    ASSERT_TRUE(waitUntil([&] { return screenPixel(point) == RGB(255, 255, 255); }, 2s))
        << std::hex << screenPixel(point);

    HWND dialog = openOwnerless(IDM_BACKGROUND_COLOR, "Color");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(controlText(GetDlgItem(dialog, kColourRedEdit)), "255");
    pressDialogButton(dialog, IDCANCEL);
    ASSERT_TRUE(waitUntilClosed(dialog));
    ASSERT_TRUE(fileBecomes(preferences.text()));

    const COLORREF chosen = RGB(10, 120, 200);
    dialog = openOwnerless(IDM_BACKGROUND_COLOR, "Color");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(chooseColour(dialog, chosen));
    PreferencesFile expected = preferences;
    expected.backgroundColor = chosen;
    EXPECT_TRUE(fileBecomes(expected.text()));
    EXPECT_EQ(lineOf(readPreferencesText().value_or(""), 12), std::to_string(chosen));
    EXPECT_TRUE(waitUntil([&] { return screenPixel(point) == chosen; }, 2s))
        << "the background shows " << std::hex << screenPixel(point);
}

TEST_F(Dialogs, AboutShowsTheVersionAndEscapeLeavesItOpen) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    const std::string page = VANTOREL_WEB_PAGE;
    for (const bool closeBox : {true, false}) {
        SCOPED_TRACE(closeBox ? "closed with the close box" : "closed with OK");
        program.command(IDM_ABOUT);
        const HWND dialog = program.waitForDialog("About this program");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow());
        EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the dialog is not modal";
        EXPECT_EQ(staticTexts(dialog),
                  (std::vector<std::string>{VANTOREL_VERSION_LINE, VANTOREL_MAKER}));
        EXPECT_EQ(controlText(GetDlgItem(dialog, IDC_ABOUT_DOWNLOAD_TEXT)),
                  "To download the latest version of this program, please visit " + page + ".");
        const HWND visit = GetDlgItem(dialog, IDC_ABOUT_VISIT_WEB_PAGE);
        EXPECT_EQ(controlText(visit), "Visit " + page);
        EXPECT_EQ(focusedWindowOf(dialog), visit);

        pressDialogButton(dialog, IDCANCEL);
        ASSERT_TRUE(waitForPostedMessages(GetDlgItem(dialog, IDOK)));
        EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "Escape closed the dialog";

        if (closeBox) {
            postClose(dialog);
        } else {
            pressDialogButton(dialog, IDOK);
        }
        ASSERT_TRUE(waitUntilClosed(dialog));
        EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow()) != FALSE; }, 1s));
    }
}

// Ends every help viewer the program started, when the case ends.
class HelpViewerReaper {
public:
    explicit HelpViewerReaper(DWORD programId) : programId_(programId) {}
    ~HelpViewerReaper() {
        for (const DWORD viewer : childProcessesOf(programId_, "hh.exe")) endProcess(viewer);
    }
    HelpViewerReaper(const HelpViewerReaper&) = delete;
    HelpViewerReaper& operator=(const HelpViewerReaper&) = delete;

private:
    DWORD programId_;
};

TEST_F(Dialogs, F1OpensTheHelpFileBesideTheProgram) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    const HelpViewerReaper reaper(program.processId());
    program.pressKey(VK_F1);
    // Past this point the command has run: a failure box would be open.
    ASSERT_TRUE(waitForPostedMessages(program.display()));
    EXPECT_EQ(program.waitForDialog("Error!", 0ms), nullptr) << "the help file was not found";

    HWND viewer = nullptr;
    EXPECT_TRUE(waitUntil(
        [&] {
            for (const DWORD id : childProcessesOf(program.processId(), "hh.exe")) {
                const std::vector<HWND> windows = visibleWindowsOf(id, "HH Parent");
                if (!windows.empty()) viewer = windows.front();
            }
            return viewer != nullptr;
        },
        10s))
        << "no help window";
    EXPECT_TRUE(program.dialogs().empty());
    EXPECT_TRUE(program.running());
}

TEST_F(Dialogs, WithoutTheHelpFileF1AndTheMenuShowAnErrorAndCarryOn) {
    // A copy of the program in a folder of its own, with no help file.
    const std::string folder = scratchFolder("vantorel-e2e-nohelp");
    const std::string copy = folder + "\\vantorel.exe";
    DeleteFileA((folder + "\\vantorelhelp.chm").c_str());
    ASSERT_TRUE(CopyFileA(programPath().c_str(), copy.c_str(), FALSE)) << copy;
    writePreferences(PreferencesFile::quiet());
    ASSERT_TRUE(program.launch(copy));
    ASSERT_TRUE(program.waitForMainWindow());
    const HelpViewerReaper reaper(program.processId());

    for (const bool key : {true, false}) {
        SCOPED_TRACE(key ? "F1" : "Help > Contents");
        if (key) {
            program.pressKey(VK_F1);
        } else {
            program.command(IDM_HELP_CONTENTS);
        }
        const HWND box = program.waitForDialog("Error!");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(staticTexts(box),
                  std::vector<std::string>{"Unable to open the program's help file"});
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        pressDialogButton(box, IDOK);
        ASSERT_TRUE(waitUntilClosed(box));
        EXPECT_TRUE(program.running());
        EXPECT_EQ(program.displayText(), "00:03:00");
    }
    EXPECT_TRUE(childProcessesOf(program.processId(), "hh.exe").empty());

    program.close();
    DeleteFileA(copy.c_str());
}

}  // namespace
}  // namespace e2e
