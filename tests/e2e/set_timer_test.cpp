// The Set Timer dialog: how it opens, what it shows, the clamping of values
// above the limits, the ways it closes, and a new limit while counting.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class SetTimer : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    }

    // Opens the dialog from the menu and waits for it.
    HWND open() {
        program.command(IDM_TIME_LIMIT);
        return program.waitForDialog("Set Timer");
    }

    static std::vector<std::string> fields(HWND dialog) {
        return {controlText(GetDlgItem(dialog, IDC_SET_HOURS)),
                controlText(GetDlgItem(dialog, IDC_SET_MINUTES)),
                controlText(GetDlgItem(dialog, IDC_SET_SECONDS))};
    }

    static void type(HWND dialog, const std::string& hours, const std::string& minutes,
                     const std::string& seconds) {
        setControlText(GetDlgItem(dialog, IDC_SET_HOURS), hours);
        setControlText(GetDlgItem(dialog, IDC_SET_MINUTES), minutes);
        setControlText(GetDlgItem(dialog, IDC_SET_SECONDS), seconds);
    }

    static testing::AssertionResult closes(HWND dialog, Milliseconds timeout = 3s) {
        if (waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeout)) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "the dialog is still open";
    }
};

TEST_F(SetTimer, F3AndTheMenuOpenItWithTheCurrentLimit) {
    const struct {
        const char* how;
        bool key;
    } ways[] = {{"F3", true}, {"Settings > Time Limit...", false}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        if (way.key) {
            program.pressKey(VK_F3);
        } else {
            program.command(IDM_TIME_LIMIT);
        }
        const HWND dialog = program.waitForDialog("Set Timer");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(fields(dialog), (std::vector<std::string>{"0", "3", "0"}));
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow());
        EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the dialog is not modal";
        postClose(dialog);
        ASSERT_TRUE(closes(dialog));
        EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow()) != FALSE; }, 1s));
    }
}

TEST_F(SetTimer, ValuesAboveTheLimitsAreClampedOneWarningAtATime) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    type(dialog, "120", "75", "90");
    pressDialogButton(dialog, IDOK);

    const struct {
        const char* caption;
        const char* text;
    } warnings[] = {{"Maximum Hours Value", "Maximum value is 99 hours"},
                    {"Maximum Minutes Value", "Maximum value is 59 minutes!"},
                    {"Maximum Seconds Value", "Maximum value is 59 seconds!"}};
    for (const auto& warning : warnings) {
        SCOPED_TRACE(warning.caption);
        const HWND box = program.waitForDialog(warning.caption);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(staticTexts(box), std::vector<std::string>{warning.text});
        // Only this box and the dialog behind it.
        EXPECT_EQ(program.dialogs().size(), 2u);
        pressDialogButton(box, IDOK);
        ASSERT_TRUE(closes(box));
    }
    ASSERT_TRUE(closes(dialog));

    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 99h:59m:59s");
    EXPECT_EQ(program.displayText(), "99:59:59");
    EXPECT_EQ(program.enabledButtons(), "Start");
    const std::string file = readPreferencesText().value_or("");
    EXPECT_EQ(lineOf(file, 8), "99");
    EXPECT_EQ(lineOf(file, 9), "59");
    EXPECT_EQ(lineOf(file, 10), "59");
    PreferencesFile expected = PreferencesFile::quiet();
    expected.timerHours = 99;
    expected.timerMinutes = 59;
    expected.timerSeconds = 59;
    EXPECT_EQ(file, expected.text());
}

TEST_F(SetTimer, EmptyFieldsSetAZeroLimitWithoutAWarning) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    type(dialog, "", "", "");
    pressDialogButton(dialog, IDOK);
    // Any warning would come before the dialog closes.
    ASSERT_TRUE(closes(dialog));
    EXPECT_TRUE(program.dialogs().empty());

    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:00m:00s");
    EXPECT_EQ(program.displayText(), "00:00:00");
    const std::string file = readPreferencesText().value_or("");
    EXPECT_EQ(lineOf(file, 8), "0");
    EXPECT_EQ(lineOf(file, 9), "0");
    EXPECT_EQ(lineOf(file, 10), "0");
}

TEST_F(SetTimer, EscapeLeavesItOpen) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    pressDialogButton(dialog, IDCANCEL);
    waitForPostedMessages(GetDlgItem(dialog, IDC_SET_HOURS));
    EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "Escape closed the dialog";
    EXPECT_EQ(fields(dialog), (std::vector<std::string>{"0", "3", "0"}));
    postClose(dialog);
    EXPECT_TRUE(closes(dialog));
}

TEST_F(SetTimer, TheCloseBoxChangesNothing) {
    const std::string before = readPreferencesText().value_or("<missing>");
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    type(dialog, "1", "2", "3");
    postClose(dialog);
    ASSERT_TRUE(closes(dialog));
    EXPECT_TRUE(program.dialogs().empty());

    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(readPreferencesText().value_or("<missing>"), before);

    // Opened again, it shows the limit that was kept.
    const HWND again = open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(fields(again), (std::vector<std::string>{"0", "3", "0"}));
    postClose(again);
    EXPECT_TRUE(closes(again));
}

TEST_F(SetTimer, OkWhileRunningKeepsCountingFromTheNewLimit) {
    ASSERT_TRUE(program.click(Button::Start));
    ASSERT_TRUE(waitUntil([&] { return program.enabledButtons() == "Stop"; }, 1s));

    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    type(dialog, "0", "0", "30");
    pressDialogButton(dialog, IDOK);
    ASSERT_TRUE(closes(dialog));

    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:00m:30s");
    EXPECT_EQ(program.enabledButtons(), "Stop");
    const long long shown = secondsOf(program.displayText());
    EXPECT_TRUE(shown == 30 || shown == 29) << program.displayText();

    bool neverAbove = true;
    EXPECT_TRUE(waitUntil(
        [&] {
            const long long seconds = secondsOf(program.displayText());
            neverAbove &= seconds <= 30;
            return seconds == 28;
        },
        3s))
        << program.displayText();
    EXPECT_TRUE(neverAbove);
    EXPECT_EQ(program.enabledButtons(), "Stop");
}

}  // namespace
}  // namespace e2e
