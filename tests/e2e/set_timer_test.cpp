// The Set Timer dialog: how it opens, what it shows, the clamping of values
// above the limits, the ways it closes, and a new limit while counting.
#include <string>

#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class SetTimer : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (!HasFatalFailure()) {
            ASSERT_TRUE(startWith());
        }
    }

    static Lines fields(HWND dialog) {
        return {textOf(GetDlgItem(dialog, IDC_SET_HOURS)),
                textOf(GetDlgItem(dialog, IDC_SET_MINUTES)),
                textOf(GetDlgItem(dialog, IDC_SET_SECONDS))};
    }

    static void type(HWND dialog, const std::string& hours, const std::string& minutes,
                     const std::string& seconds) {
        setText(GetDlgItem(dialog, IDC_SET_HOURS), hours);
        setText(GetDlgItem(dialog, IDC_SET_MINUTES), minutes);
        setText(GetDlgItem(dialog, IDC_SET_SECONDS), seconds);
    }
};

TEST_F(SetTimer, F3OpensItModalOnTheLimitAndEscapeOrTheCloseBoxChangeNothing) {
    const std::string before = preferencesText();
    program.pressKey(VK_F3);
    const HWND dialog = program.waitForDialog("Set Timer");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(fields(dialog), (Lines{"0", "3", "0"}));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow());
    EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the dialog is not modal";

    type(dialog, "1", "2", "3");
    EXPECT_TRUE(staysOpenOnEscape(dialog)) << "Escape closed the dialog";
    ASSERT_TRUE(dismiss(dialog));
    EXPECT_TRUE(program.dialogs().empty());
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow()) != FALSE; }, 1s));
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(program.displayText(), "00:03:00");
    EXPECT_EQ(preferencesText(), before);
}

TEST_F(SetTimer, ValuesAboveTheLimitsAreClampedOneWarningAtATimeAndEmptyFieldsGiveZero) {
    HWND dialog = program.open(IDM_TIME_LIMIT, "Set Timer");
    ASSERT_NE(dialog, nullptr);
    // Numbers too large for 32 bits are above the limit too.
    type(dialog, "120", "4294967296", "99999999999999999999999");
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
        EXPECT_EQ(staticTexts(box), Lines{warning.text});
        EXPECT_EQ(program.dialogs().size(), 2u) << "more than this box and the dialog";
        ASSERT_TRUE(dismiss(box, IDOK));
    }
    ASSERT_TRUE(waitUntilClosed(dialog));
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 99h:59m:59s");
    EXPECT_EQ(program.displayText(), "99:59:59");
    EXPECT_EQ(program.enabledButtons(), "Start");
    PreferencesFile expected = PreferencesFile::quiet();
    expected.timerHours = 99;
    expected.timerMinutes = expected.timerSeconds = 59;
    EXPECT_EQ(preferencesText(), expected.text());

    dialog = program.open(IDM_TIME_LIMIT, "Set Timer");
    ASSERT_NE(dialog, nullptr);
    type(dialog, "", "", "");
    ASSERT_TRUE(dismiss(dialog, IDOK));  // any warning would come before it closes
    EXPECT_TRUE(program.dialogs().empty());
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:00m:00s");
    EXPECT_EQ(program.displayText(), "00:00:00");
    expected.timerHours = expected.timerMinutes = expected.timerSeconds = 0;
    EXPECT_EQ(preferencesText(), expected.text());
}

TEST_F(SetTimer, OkWhileRunningKeepsCountingFromTheNewLimit) {
    ASSERT_TRUE(press(IDC_START, "Stop"));
    const HWND dialog = program.open(IDM_TIME_LIMIT, "Set Timer");
    ASSERT_NE(dialog, nullptr);
    type(dialog, "0", "0", "30");
    ASSERT_TRUE(dismiss(dialog, IDOK));
    EXPECT_EQ(program.title(), "Vantorel: Timer Set - 00h:00m:30s");
    const long long shown = secondsOf(program.displayText());
    EXPECT_TRUE(shown == 30 || shown == 29) << program.displayText();
    EXPECT_TRUE(waitUntil([&] { return program.displayText() == "00:00:28"; }, 3s))
        << program.displayText();
    EXPECT_EQ(program.enabledButtons(), "Stop");
}

}  // namespace
}  // namespace e2e
