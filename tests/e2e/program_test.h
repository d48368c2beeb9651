// The fixture every end-to-end case builds on: a clean data folder and the
// screen saver off before the case; after it, the program closed as a user
// closes it, the screen saver as it was when the program started, and the
// folder removed. Including it brings GoogleTest and the harness.
#pragma once

#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

namespace e2e {

inline const char* const kFileError = "An unexpected error has occurred!";

// The screen saver's active flag (set to `set` when given), which Wine keeps
// in the X server, the same for every process once its display driver has
// loaded; asking for the work area first makes sure of that.
inline bool screenSaver(int set = -1) {
    RECT area = {};
    BOOL active = FALSE;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    if (set >= 0) SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, set, nullptr, 0);
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    return active != FALSE;
}

// The file holding what reached the sound device as the i-th sound played.
// The test script has ALSA record each playback into a file of its own:
// VANTOREL_SOUNDS names the first, the next ones end in .0001, .0002...
inline std::string soundFile(std::size_t i) {
    char suffix[8] = "";
    if (i > 0) std::snprintf(suffix, sizeof suffix, ".%04u", static_cast<unsigned>(i));
    return pathFrom("VANTOREL_SOUNDS") + suffix;
}
inline void clearSounds() {
    for (std::size_t i = 0; DeleteFileA(soundFile(i).c_str()); ++i) continue;
}

// The samples of a wave file.
inline std::string samples(const std::string& wave) { return wave.substr(wave.find("data") + 8); }

// The sounds played since the case began, each named by the samples it
// begins with (a sound cut short by the next one still begins with them).
inline std::string heard(const std::vector<std::pair<std::string, std::string>>& known) {
    std::string names, sound;
    for (std::size_t i = 0; (sound = readFileBytes(soundFile(i))) != "<missing>"; ++i) {
        std::string name = "?";
        for (const auto& [knownName, samples] : known) {
            const std::size_t n = std::min<std::size_t>(samples.size(), 2048);
            if (sound.compare(0, n, samples, 0, n) == 0) name = knownName;
        }
        names += (names.empty() ? "" : " ") + name;
    }
    return names;
}

// What `draw` paints into a new bitmap `width` x 400 pixels that is not the
// colour `paper`: its shape in words (the number of such pixels and a
// checksum of their colours and places, counted from the first one), and
// its centre (the middle of the leftmost and rightmost columns that have any).
using Ink = std::pair<std::string, double>;
template <class Draw>
Ink ink(int width, COLORREF paper, Draw draw) {
    BITMAPINFO info = {{sizeof info.bmiHeader, width, -400, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    DWORD* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap =
        CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    SelectObject(dc, bitmap);
    draw(dc);
    GdiFlush();
    // A bitmap's pixels are 0x00RRGGBB, a COLORREF 0x00BBGGRR.
    const DWORD background = RGB(GetBValue(paper), GetGValue(paper), GetRValue(paper));
    int first = -1, count = 0, left = width, right = -1;
    std::uint32_t sum = 2166136261u;
    for (int i = 0; i < width * 400; ++i) {
        if (bits[i] == background) continue;
        first = first < 0 ? i : first;
        left = std::min(left, i % width), right = std::max(right, i % width);
        sum = (((sum ^ (i - first)) * 16777619u) ^ bits[i]) * 16777619u, ++count;
    }
    DeleteDC(dc);  // and the bitmap is no longer selected
    DeleteObject(bitmap);
    return {std::to_string(count) + " pixels, checksum " + std::to_string(sum),
            (left + right) / 2.0};
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FindWindowA("Vantorel", nullptr), nullptr) << "a copy of vantorel.exe runs";
        removeDataFolder();
        clearSounds();
        saverBefore = screenSaver(0);
    }
    void TearDown() override {
        program.close();
        EXPECT_EQ(screenSaver(), saverBefore) << "the screen saver was left changed";
        removeDataFolder();
    }

    // Writes the preferences file (lines as for fileLines()), or with no
    // lines keeps the file as it is, starts the program (vantorel.exe, or the
    // copy at `exe`) and waits for its main window; the startup screen must
    // show first exactly when its switch is 1. Use as
    // ASSERT_TRUE(startWith(...)): a failure says why.
    testing::AssertionResult startWith(std::string lines = kQuiet, Path exe = programPath()) {
        if (!lines.empty()) writePreferences(lines);
        const bool screen = readFileBytes(preferencesPath()).rfind("1\n", 0) == 0;
        bool shown = false;
        if (!program.launch(exe) || !program.waitForMainWindow("Vantorel", &shown))
            return testing::AssertionFailure() << program.problem();
        if (shown == screen) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "startup screen " << (shown ? "" : "not ") << "shown";
    }

    // The program's visible dialog or box of that caption; a failure of the
    // case (and a null handle, which every call ignores) when none shows.
    HWND dialog(const std::string& caption) {
        const HWND found = program.waitForDialog(caption.c_str());
        if (!found) ADD_FAILURE() << "no dialog \"" << caption << "\" " << program.problem();
        return found;
    }

    // Types keys into the main window until the dialog of that caption
    // shows. Under Wine a key typed just as the window comes to the front is
    // now and then lost, so a try that opens nothing is made again, after two
    // Escapes for a menu left open.
    HWND openByKeys(std::initializer_list<UINT> keys, const std::string& caption) {
        for (int attempt = 0; attempt < 3 && !program.ended(); ++attempt) {
            program.typeKeys(keys);
            if (const HWND found = program.waitForDialog(caption.c_str(), 2s)) return found;
            program.typeKeys({VK_ESCAPE, VK_ESCAPE});
        }
        return dialog(caption);
    }

    // Presses OK in `dialog` and expects these message boxes in turn, each
    // {caption, text}, each answered with OK; then no dialog is left.
    void confirm(HWND dialog, const std::vector<Lines>& boxes = {}) {
        pressButton(dialog, IDOK);
        for (const Lines& box : boxes) {
            const HWND shown = this->dialog(box[0]);
            EXPECT_EQ(staticTexts(shown), Lines{box[1]});
            ASSERT_TRUE(dismiss(shown, IDOK));
        }
        EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(dialog); }, 3s));
        EXPECT_EQ(program.waitForDialog(nullptr, 0ms), nullptr) << "a box or dialog is left";
    }

    // A dialog of the main window: owned by it, keeping it disabled, with
    // the focus starting on control `id`.
    void expectOwnedWithFocusOn(HWND dialog, int id) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow()) << textOf(dialog);
        EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << textOf(dialog) << " is not modal";
        EXPECT_TRUE(waitUntil([&] { return program.focus() == GetDlgItem(dialog, id); }, 2s))
            << textOf(dialog) << ": the focus starts on \"" << textOf(program.focus()) << "\"";
    }

    // Types each text into the dialog's control of that id.
    static void fill(HWND dialog, std::initializer_list<std::pair<int, const char*>> texts) {
        for (const auto& [id, text] : texts)
            askWindow(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }

    // Clicks button `id` and waits until the enabled buttons read `buttons`.
    bool press(int id, const std::string& buttons) {
        return program.click(id) &&
               waitUntil([&] { return program.enabledButtons() == buttons; }, 2s);
    }

    // Escape leaves a dialog open; its close box (the system menu of its
    // caption, read from its style) ends it.
    static void escapeThenClose(HWND dialog) {
        askWindow(dialog, WM_COMMAND, IDCANCEL);
        EXPECT_TRUE(IsWindowVisible(dialog)) << "Escape closed " << textOf(dialog);
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU) << "no close box";
        EXPECT_TRUE(dismiss(dialog));
    }

    Program program;
    bool saverBefore = false;  // the screen saver's state when the program started
};

}  // namespace e2e
