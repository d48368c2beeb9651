// The Preferences dialog: how it opens and what it shows, what OK takes and
// logs, the clamping of the positions, the ways it closes without taking
// anything, and the sound files picked with its "..." buttons.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resource.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

RECT workArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// A FILETIME long before any test runs (2001-01-01).
constexpr std::uint64_t kLongAgo = 126227808000000000ull;

// A short, valid 8-bit mono PCM WAV file of silence.
std::string silentWav() {
    const auto little = [](std::uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
        return out;
    };
    constexpr std::uint32_t kRate = 8000;
    constexpr std::uint32_t kSamples = 800;
    std::string wav = "RIFF" + little(36 + kSamples, 4) + "WAVE";
    wav += "fmt " + little(16, 4) + little(1, 2) + little(1, 2) + little(kRate, 4) +
           little(kRate, 4) + little(1, 2) + little(8, 2);
    wav += "data" + little(kSamples, 4) + std::string(kSamples, '\x80');
    return wav;
}

BOOL CALLBACK findEdit(HWND child, LPARAM found) {
    if (lstrcmpiA(className(child).c_str(), "Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The file-name field of an open-file dialog: the edit inside its combo box
// (cmb13) in the Explorer-style dialog, or its plain edit (edt1).
HWND fileNameField(HWND openDialog) {
    for (const int id : {0x047C, 0x0480}) {
        const HWND control = GetDlgItem(openDialog, id);
        if (control == nullptr) continue;
        if (lstrcmpiA(className(control).c_str(), "Edit") == 0) return control;
        HWND edit = nullptr;
        EnumChildWindows(control, findEdit, reinterpret_cast<LPARAM>(&edit));
        if (edit != nullptr) return edit;
    }
    return nullptr;
}

class Preferences : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    }

    HWND open() {
        program.command(IDM_PREFERENCES);
        return program.waitForDialog("Preferences");
    }

    static std::string fieldText(HWND dialog, int id) {
        return controlText(GetDlgItem(dialog, id));
    }

    static void type(HWND dialog, int id, const std::string& text) {
        setControlText(GetDlgItem(dialog, id), text);
    }

    static LRESULT checkState(HWND dialog, int id) {
        return askWindow(GetDlgItem(dialog, id), BM_GETCHECK);
    }

    // Presses OK and expects the dialog to close with no message box.
    testing::AssertionResult confirmQuietly(HWND dialog) {
        pressDialogButton(dialog, IDOK);
        if (!waitUntilClosed(dialog)) {
            std::string shown;
            for (HWND open : program.dialogs()) shown += " \"" + windowTitle(open) + "\"";
            return testing::AssertionFailure() << "still open; showing" << shown;
        }
        if (!program.dialogs().empty()) {
            return testing::AssertionFailure() << "a box is left open";
        }
        return testing::AssertionSuccess();
    }

    // Presses OK, expects exactly one clamp message box with this caption
    // and text, dismisses it and waits for the dialog to close.
    testing::AssertionResult confirmThroughClampBox(HWND dialog, const std::string& caption,
                                                    const std::string& text) {
        pressDialogButton(dialog, IDOK);
        const HWND box = program.waitForDialog(caption);
        if (box == nullptr) return testing::AssertionFailure() << "no box \"" << caption << "\"";
        const std::vector<std::string> texts = staticTexts(box);
        if (texts != std::vector<std::string>{text}) {
            return testing::AssertionFailure()
                   << "the box says \"" << (texts.empty() ? "" : texts.front()) << "\"";
        }
        pressDialogButton(box, IDOK);
        if (!waitUntilClosed(dialog)) {
            return testing::AssertionFailure() << "the dialog stays open after the box";
        }
        if (!program.dialogs().empty()) return testing::AssertionFailure() << "another box follows";
        return testing::AssertionSuccess();
    }

    RECT buttonRect(Button which) const {
        return rectIn(program.mainWindow(), program.button(which));
    }

    // Picks `path` in the open-file dialog of the "..." button `browseId`.
    testing::AssertionResult pickSoundFile(HWND dialog, int browseId, const std::string& path) {
        pressDialogButton(dialog, browseId);
        const HWND chooser = program.waitForDialog("Open");
        if (chooser == nullptr) return testing::AssertionFailure() << "no \"Open\" dialog";
        const HWND field = fileNameField(chooser);
        if (field == nullptr) return testing::AssertionFailure() << "no file-name field";
        setControlText(field, path);
        pressDialogButton(chooser, IDOK);
        if (!waitUntilClosed(chooser)) {
            return testing::AssertionFailure() << "the \"Open\" dialog stays open";
        }
        return testing::AssertionSuccess();
    }

    // A .wav file of that name in a scratch folder, for the chooser to pick.
    static std::string soundFile(const std::string& name) {
        const std::string path = scratchFolder("vantorel-e2e-sounds") + "\\" + name;
        writeFileBytes(path, silentWav());
        return path;
    }
};

TEST_F(Preferences, F2AndTheMenuOpenItFilledFromTheSettings) {
    const struct {
        const char* how;
        bool key;
    } ways[] = {{"F2", true}, {"Settings > Preferences...", false}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        if (way.key) {
            program.pressKey(VK_F2);
        } else {
            program.command(IDM_PREFERENCES);
        }
        const HWND dialog = program.waitForDialog("Preferences");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow());
        EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the dialog is not modal";
        EXPECT_EQ(focusedWindowOf(dialog), GetDlgItem(dialog, IDOK));

        EXPECT_EQ(checkState(dialog, IDC_PREF_SHOW_STARTUP), BST_UNCHECKED);
        EXPECT_EQ(checkState(dialog, IDC_PREF_LOG_ENABLED), BST_CHECKED);
        EXPECT_EQ(checkState(dialog, IDC_PREF_TICKING_ENABLED), BST_UNCHECKED);
        EXPECT_EQ(checkState(dialog, IDC_PREF_ALARM_ENABLED), BST_UNCHECKED);
        EXPECT_EQ(fieldText(dialog, IDC_PREF_BUTTONS_LEFT), "510");
        EXPECT_EQ(fieldText(dialog, IDC_PREF_BUTTONS_TOP), "10");
        EXPECT_EQ(fieldText(dialog, IDC_PREF_DISPLAY_TOP), "100");
        EXPECT_EQ(fieldText(dialog, IDC_PREF_ALARM_PATH), "No file selected");
        EXPECT_EQ(fieldText(dialog, IDC_PREF_TICK_PATH), "No file selected");

        postClose(dialog);
        ASSERT_TRUE(waitUntilClosed(dialog));
        EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow()) != FALSE; }, 1s));
    }
}

TEST_F(Preferences, UnchangedOkLogsOneEntryAndRewritesTheSameBytes) {
    const std::string before = readPreferencesText().value_or("<missing>");
    ASSERT_TRUE(setLastWriteTime(preferencesPath(), kLongAgo));

    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(confirmQuietly(dialog));

    EXPECT_EQ(readPreferencesText().value_or("<missing>"), before);
    EXPECT_NE(lastWriteTime(preferencesPath()), kLongAgo) << "the file was not written";
    const std::vector<LogLine> log = readLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].message, " - Session Start");
    EXPECT_EQ(log[1].message, " - Logging is enabled");
    EXPECT_TRUE(isTimestamp(log[1].timestamp)) << log[1].timestamp;

    const RECT start = buttonRect(Button::Start);
    EXPECT_EQ(start.left, 510);
    EXPECT_EQ(start.top, 10);
    EXPECT_EQ(rectIn(program.mainWindow(), program.display()).top, 100);
}

TEST_F(Preferences, ButtonsLeftIsClampedSoTheButtonRowStaysOnTheScreen) {
    const LONG limit = workArea().right - 260;
    ASSERT_GT(limit, 0);

    // The limit itself is taken as it is.
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    type(dialog, IDC_PREF_BUTTONS_LEFT, std::to_string(limit));
    ASSERT_TRUE(confirmQuietly(dialog));
    EXPECT_EQ(buttonRect(Button::Start).left, limit);

    // Anything above it is set to it, with a message.
    dialog = open();
    ASSERT_NE(dialog, nullptr);
    type(dialog, IDC_PREF_BUTTONS_LEFT, std::to_string(limit + 1000));
    ASSERT_TRUE(confirmThroughClampBox(dialog, "Buttons position from left",
                                       "Maximum exceeded! Value set to " + std::to_string(limit)));

    const struct {
        Button button;
        LONG x;
    } row[] = {{Button::Start, limit}, {Button::Stop, limit + 90}, {Button::Reset, limit + 180}};
    for (const auto& expected : row) {
        const RECT r = buttonRect(expected.button);
        EXPECT_EQ(r.left, expected.x);
        EXPECT_EQ(r.top, 10);
        EXPECT_EQ(r.right - r.left, 80);
    }
    EXPECT_EQ(lineOf(readPreferencesText().value_or(""), 5), std::to_string(limit));
}

TEST_F(Preferences, ButtonsTopIsMeasuredAgainstTheDisplayTopBeforeThisOk) {
    // The new display top of 300 fits the screen, so only the buttons'
    // top is clamped: to the old display top 100 less 45.
    ASSERT_GE(workArea().bottom - 350, 300);
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    type(dialog, IDC_PREF_BUTTONS_TOP, "200");
    type(dialog, IDC_PREF_DISPLAY_TOP, "300");
    ASSERT_TRUE(confirmThroughClampBox(dialog, "Buttons position from top",
                                       "Maximum exceeded! Value set to 55"));

    const std::string file = readPreferencesText().value_or("");
    EXPECT_EQ(lineOf(file, 6), "55");
    EXPECT_EQ(lineOf(file, 7), "300");
    EXPECT_EQ(buttonRect(Button::Start).top, 55);
    EXPECT_EQ(rectIn(program.mainWindow(), program.display()).top, 300);
}

TEST_F(Preferences, AnEmptiedPositionBecomesZeroWithoutAMessage) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    type(dialog, IDC_PREF_BUTTONS_LEFT, "");
    ASSERT_TRUE(confirmQuietly(dialog));

    EXPECT_EQ(buttonRect(Button::Start).left, 0);
    EXPECT_EQ(buttonRect(Button::Stop).left, 90);
    EXPECT_EQ(buttonRect(Button::Reset).left, 180);
    EXPECT_EQ(lineOf(readPreferencesText().value_or(""), 5), "0");
}

TEST_F(Preferences, TheCloseBoxTakesNothingSavesNothingAndLogsNothing) {
    const std::string before = readPreferencesText().value_or("<missing>");
    ASSERT_TRUE(setLastWriteTime(preferencesPath(), kLongAgo));

    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    type(dialog, IDC_PREF_BUTTONS_LEFT, "20");
    type(dialog, IDC_PREF_DISPLAY_TOP, "200");
    askWindow(GetDlgItem(dialog, IDC_PREF_LOG_ENABLED), BM_SETCHECK, BST_UNCHECKED);
    askWindow(GetDlgItem(dialog, IDC_PREF_SHOW_STARTUP), BM_SETCHECK, BST_CHECKED);
    postClose(dialog);
    ASSERT_TRUE(waitUntilClosed(dialog));
    EXPECT_TRUE(program.dialogs().empty());

    EXPECT_EQ(readPreferencesText().value_or("<missing>"), before);
    EXPECT_EQ(lastWriteTime(preferencesPath()), kLongAgo) << "the file was written";
    EXPECT_EQ(logMessages(), std::vector<std::string>{" - Session Start"});
    EXPECT_EQ(buttonRect(Button::Start).left, 510);
    EXPECT_EQ(rectIn(program.mainWindow(), program.display()).top, 100);
}

TEST_F(Preferences, UntickingTheLogLogsThatItIsOffAndThenNothingMore) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    askWindow(GetDlgItem(dialog, IDC_PREF_LOG_ENABLED), BM_SETCHECK, BST_UNCHECKED);
    ASSERT_TRUE(confirmQuietly(dialog));

    const std::vector<std::string> expected = {" - Session Start", " - Logging is disabled"};
    EXPECT_EQ(logMessages(), expected);
    EXPECT_EQ(lineOf(readPreferencesText().value_or(""), 2), "0");

    // Start and Stop would each be logged with the switch on.
    ASSERT_TRUE(program.click(Button::Start));
    ASSERT_TRUE(waitUntil([&] { return program.enabledButtons() == "Stop"; }, 2s));
    ASSERT_TRUE(program.click(Button::Stop));
    ASSERT_TRUE(waitUntil([&] { return program.enabledButtons() == "Start Reset"; }, 2s));
    ASSERT_TRUE(waitForPostedMessages(program.display()));
    EXPECT_EQ(logMessages(), expected);
}

TEST_F(Preferences, EscapeLeavesItOpen) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    pressDialogButton(dialog, IDCANCEL);
    ASSERT_TRUE(waitForPostedMessages(GetDlgItem(dialog, IDC_PREF_BUTTONS_LEFT)));
    EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "Escape closed the dialog";
    EXPECT_EQ(logMessages(), std::vector<std::string>{" - Session Start"});
    postClose(dialog);
    EXPECT_TRUE(waitUntilClosed(dialog));
}

TEST_F(Preferences, APickedSoundFileIsKeptAfterTheCloseBoxAndSavedNextTime) {
    const std::string alarm = soundFile("picked alarm.wav");
    const std::string before = readPreferencesText().value_or("<missing>");

    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(pickSoundFile(dialog, IDC_PREF_ALARM_BROWSE, alarm));
    EXPECT_TRUE(waitUntil([&] { return fieldText(dialog, IDC_PREF_ALARM_PATH) == alarm; }, 2s))
        << fieldText(dialog, IDC_PREF_ALARM_PATH);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the main window is usable again";
    postClose(dialog);
    ASSERT_TRUE(waitUntilClosed(dialog));
    // Picking saves nothing by itself.
    EXPECT_EQ(readPreferencesText().value_or("<missing>"), before);

    // The next save, here Set Timer confirmed unchanged, stores the path.
    program.command(IDM_TIME_LIMIT);
    const HWND setTimer = program.waitForDialog("Set Timer");
    ASSERT_NE(setTimer, nullptr);
    pressDialogButton(setTimer, IDOK);
    ASSERT_TRUE(waitUntilClosed(setTimer));
    const std::string file = readPreferencesText().value_or("");
    EXPECT_EQ(lineOf(file, 17), alarm);
    EXPECT_EQ(lineOf(file, 18), "No file selected");
}

TEST_F(Preferences, AChooserCancelledBeforeOkClearsTheSoundFile) {
    const std::string tick = soundFile("picked tick.wav");
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(pickSoundFile(dialog, IDC_PREF_TICK_BROWSE, tick));
    ASSERT_TRUE(waitUntil([&] { return fieldText(dialog, IDC_PREF_TICK_PATH) == tick; }, 2s));
    ASSERT_TRUE(confirmQuietly(dialog));
    EXPECT_EQ(lineOf(readPreferencesText().value_or(""), 18), tick);

    // Opened again the dialog shows the file; a cancelled chooser shows
    // "No file selected", which OK then stores.
    dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(fieldText(dialog, IDC_PREF_TICK_PATH), tick);
    pressDialogButton(dialog, IDC_PREF_TICK_BROWSE);
    const HWND chooser = program.waitForDialog("Open");
    ASSERT_NE(chooser, nullptr);
    pressDialogButton(chooser, IDCANCEL);
    ASSERT_TRUE(waitUntilClosed(chooser));
    EXPECT_TRUE(
        waitUntil([&] { return fieldText(dialog, IDC_PREF_TICK_PATH) == "No file selected"; }, 2s));
    EXPECT_EQ(lineOf(readPreferencesText().value_or(""), 18), tick) << "saved before OK";
    ASSERT_TRUE(confirmQuietly(dialog));
    EXPECT_EQ(lineOf(readPreferencesText().value_or(""), 18), "No file selected");
}

}  // namespace
}  // namespace e2e
