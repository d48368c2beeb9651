// The Preferences dialog: how it opens and what it shows, what OK takes and
// logs, the clamping of the positions, the ways it closes without taking
// anything, and the sound files picked with its "..." buttons.
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class Preferences : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (!HasFatalFailure()) {
            ASSERT_TRUE(startWith());
        }
        // The program writes line feeds only, so each save shows in the bytes.
        writePreferences(expected.text("\r\n"));
    }

    HWND open() { return program.open(IDM_PREFERENCES, "Preferences"); }
    static std::string field(HWND dialog, int id) { return textOf(GetDlgItem(dialog, id)); }

    // Presses OK and expects the dialog to close after the message box
    // `box` ({caption, text}, if any), confirmed, and no other.
    testing::AssertionResult confirm(HWND dialog, const Lines& box = {}) {
        pressDialogButton(dialog, IDOK);
        if (!box.empty()) {
            const HWND shown = program.waitForDialog(box[0]);
            if (shown == nullptr) return testing::AssertionFailure() << "no box " << box[0];
            if (staticTexts(shown) != Lines{box[1]}) {
                return testing::AssertionFailure() << "the box does not say " << box[1];
            }
            pressDialogButton(shown, IDOK);
        }
        if (!waitUntilClosed(dialog)) return testing::AssertionFailure() << "the dialog stays open";
        if (!program.dialogs().empty()) return testing::AssertionFailure() << "a box is open";
        return testing::AssertionSuccess();
    }

    // Picks `path` in the open-file dialog of the "..." button `browseId`,
    // typed into its file-name box (cmb13 of the Explorer-style dialog).
    testing::AssertionResult pickSoundFile(HWND dialog, int browseId, const std::string& path) {
        pressDialogButton(dialog, browseId);
        const HWND chooser = program.waitForDialog("Open");
        if (chooser == nullptr) return testing::AssertionFailure() << "no \"Open\" dialog";
        setText(GetDlgItem(chooser, 0x047C), path);
        if (!dismiss(chooser, IDOK)) return testing::AssertionFailure() << "\"Open\" stays open";
        return testing::AssertionSuccess();
    }

    // A .wav file (800 samples of 8-bit mono silence) in a scratch folder.
    static std::string soundFile(const std::string& name) {
        const std::string path = scratchFolder("vantorel-e2e-sounds") + "\\" + name;
        const std::string header(
            "RIFF\x44\x03\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0"
            "\x01\0\x08\0data\x20\x03\0\0",
            44);
        writeFileBytes(path, header + std::string(800, '\x80'));
        return path;
    }

    PreferencesFile expected = PreferencesFile::quiet();
};

TEST_F(Preferences, F2OpensItFilledAndEscapeOrTheCloseBoxTakeNothing) {
    program.pressKey(VK_F2);
    const HWND dialog = program.waitForDialog("Preferences");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow());
    EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the dialog is not modal";
    EXPECT_EQ(focusedWindowOf(dialog), GetDlgItem(dialog, IDOK));
    std::vector<LRESULT> checks;
    for (const int id : {IDC_PREF_SHOW_STARTUP, IDC_PREF_LOG_ENABLED, IDC_PREF_TICKING_ENABLED,
                         IDC_PREF_ALARM_ENABLED}) {
        checks.push_back(askWindow(GetDlgItem(dialog, id), BM_GETCHECK));
    }
    EXPECT_EQ(checks,
              (std::vector<LRESULT>{BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED}));
    EXPECT_EQ((Lines{field(dialog, IDC_PREF_BUTTONS_LEFT), field(dialog, IDC_PREF_BUTTONS_TOP),
                     field(dialog, IDC_PREF_DISPLAY_TOP), field(dialog, IDC_PREF_ALARM_PATH),
                     field(dialog, IDC_PREF_TICK_PATH)}),
              (Lines{"510", "10", "100", "No file selected", "No file selected"}));

    setText(GetDlgItem(dialog, IDC_PREF_BUTTONS_LEFT), "20");
    setText(GetDlgItem(dialog, IDC_PREF_DISPLAY_TOP), "200");
    askWindow(GetDlgItem(dialog, IDC_PREF_LOG_ENABLED), BM_SETCHECK, BST_UNCHECKED);
    askWindow(GetDlgItem(dialog, IDC_PREF_SHOW_STARTUP), BM_SETCHECK, BST_CHECKED);
    EXPECT_TRUE(staysOpenOnEscape(dialog)) << "Escape closed the dialog";
    ASSERT_TRUE(dismiss(dialog));
    EXPECT_TRUE(program.dialogs().empty());
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow()) != FALSE; }, 1s));
    EXPECT_EQ(preferencesText(), expected.text("\r\n")) << "the file was written";
    EXPECT_EQ(logMessages(), Lines{" - Session Start"});
    EXPECT_EQ(program.layout(), layoutAt(510, 10, 100));
}

TEST_F(Preferences, EachOkClampsTheLayoutSavesAndLogsTheLogSwitch) {
    const int maxLeft = workArea().right - 260;
    ASSERT_GT(maxLeft, 0);
    ASSERT_GE(workArea().bottom - 350, 300);
    const std::string clamped = "Maximum exceeded! Value set to ";
    const struct {
        const char* what;
        std::vector<std::pair<int, std::string>> typed;
        Lines box;  // caption and text of the message box, if one shows
        int left, top, displayTop;
    } steps[] = {
        // clang-format off
        {"unchanged: the same bytes again", {}, {}, 510, 10, 100},
        {"left at its limit", {{IDC_PREF_BUTTONS_LEFT, std::to_string(maxLeft)}}, {},
         maxLeft, 10, 100},
        {"left far above its limit, beyond 32 bits", {{IDC_PREF_BUTTONS_LEFT, "99999999999"}},
         {"Buttons position from left", clamped + std::to_string(maxLeft)}, maxLeft, 10, 100},
        // The new display top 300 fits; the buttons' top is measured against
        // the display top before this OK: 100 less 45.
        {"top against the old display top",
         {{IDC_PREF_BUTTONS_TOP, "200"}, {IDC_PREF_DISPLAY_TOP, "300"}},
         {"Buttons position from top", clamped + "55"}, maxLeft, 55, 300},
        {"an emptied field is 0 without a message", {{IDC_PREF_BUTTONS_LEFT, ""}}, {}, 0, 55, 300},
        // clang-format on
    };
    Lines log = {" - Session Start"};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        writePreferences(expected.text("\r\n"));
        const HWND dialog = open();
        ASSERT_NE(dialog, nullptr);
        for (const auto& [id, text] : step.typed) setText(GetDlgItem(dialog, id), text);
        ASSERT_TRUE(confirm(dialog, step.box));
        expected.buttonsLeft = step.left;
        expected.buttonsTop = step.top;
        expected.displayTop = step.displayTop;
        EXPECT_EQ(preferencesText(), expected.text());
        EXPECT_EQ(program.layout(), layoutAt(step.left, step.top, step.displayTop));
        log.push_back(" - Logging is enabled");
        EXPECT_EQ(logMessages(), log);
    }

    // Unticking the log logs that it is off, and then nothing more.
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    askWindow(GetDlgItem(dialog, IDC_PREF_LOG_ENABLED), BM_SETCHECK, BST_UNCHECKED);
    ASSERT_TRUE(confirm(dialog));
    log.push_back(" - Logging is disabled");
    expected.logEnabled = 0;
    EXPECT_EQ(preferencesText(), expected.text());
    ASSERT_TRUE(press(IDC_START, "Stop"));
    ASSERT_TRUE(press(IDC_STOP, "Start Reset"));
    ASSERT_TRUE(waitForPostedMessages(program.display()));
    EXPECT_EQ(logMessages(), log);
}

TEST_F(Preferences, PickedSoundFilesStayAfterTheCloseBoxAndACancelledChooserClearsOne) {
    const std::string alarm = soundFile("picked alarm.wav"), tick = soundFile("picked tick.wav");
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(pickSoundFile(dialog, IDC_PREF_ALARM_BROWSE, alarm));
    ASSERT_TRUE(pickSoundFile(dialog, IDC_PREF_TICK_BROWSE, tick));
    EXPECT_TRUE(waitUntil([&] { return field(dialog, IDC_PREF_TICK_PATH) == tick; }, 2s));
    EXPECT_EQ(field(dialog, IDC_PREF_ALARM_PATH), alarm);
    EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the main window is usable again";
    ASSERT_TRUE(dismiss(dialog));
    EXPECT_EQ(preferencesText(), expected.text("\r\n")) << "picking saved";

    // The next save, here Set Timer confirmed unchanged, stores the paths.
    ASSERT_TRUE(dismiss(program.open(IDM_TIME_LIMIT, "Set Timer"), IDOK));
    expected.alarmSoundPath = alarm;
    expected.tickSoundPath = tick;
    EXPECT_EQ(preferencesText(), expected.text());

    // Opened again it shows the file; a cancelled chooser shows "No file
    // selected", which only OK stores.
    dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(field(dialog, IDC_PREF_TICK_PATH), tick);
    pressDialogButton(dialog, IDC_PREF_TICK_BROWSE);
    ASSERT_TRUE(dismiss(program.waitForDialog("Open"), IDCANCEL));
    EXPECT_TRUE(
        waitUntil([&] { return field(dialog, IDC_PREF_TICK_PATH) == "No file selected"; }, 2s));
    EXPECT_EQ(preferencesText(), expected.text()) << "saved before OK";
    ASSERT_TRUE(confirm(dialog));
    expected.tickSoundPath = "No file selected";
    EXPECT_EQ(preferencesText(), expected.text());
}

}  // namespace
}  // namespace e2e
