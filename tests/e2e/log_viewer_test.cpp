// The View Program Log dialog: the list matches the log file line for line,
// long lines stay whole, the log can be deleted after a confirmation, a
// missing log is reported before the dialog shows, and the ways it closes.
#include <string>

#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class LogViewer : public ProgramTest {
protected:
    static HWND listOf(HWND dialog) { return GetDlgItem(dialog, IDC_LOG_LIST); }

    // Presses Delete Log, checks the confirmation box and answers it with
    // `answer`; false when no such box shows or it stays open.
    bool deleteLog(HWND dialog, int answer) {
        pressDialogButton(dialog, IDC_LOG_DELETE);
        const HWND box = program.waitForDialog("Confirm deletion of Program Log");
        EXPECT_EQ(box ? staticTexts(box) : Lines{}, Lines{"Are you sure?"});
        return dismiss(box, answer);
    }

    // Waits until the list shows only the new-log line, which is also the
    // whole log file.
    void expectOnlyTheNewLogLine(HWND dialog) {
        Lines items;
        ASSERT_TRUE(
            waitUntil([&] { return (items = listBoxItems(listOf(dialog))).size() == 1; }, 2s))
            << items.size() << " items";
        EXPECT_EQ(logMessages(), Lines{" - New log started."});
        EXPECT_EQ(readFileBytes(logPath()).value_or("<missing>"), items[0] + "\n");
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(program.dialogs().size(), 1u) << "a box is left open";
    }
};

TEST_F(LogViewer, F4ListsEveryLineWholeAndDeleteLogAsksFirst) {
    ASSERT_TRUE(startWith());
    // A line ended by CR LF and one of 400 characters.
    std::string longLine = "2026-01-02 03:04:07 - ";
    while (longLine.size() < 400) longLine += static_cast<char>('0' + longLine.size() % 10);
    const Lines lines = {
        "2026-01-02 03:04:05 - Session Start",
        "2026-01-02 03:04:06 - Countdown started. Vantorel: Timer Set - 00h:03m:00s", longLine,
        "2026-01-02 03:04:08 - Countdown stopped."};
    const std::string log = lines[0] + "\n" + lines[1] + "\r\n" + lines[2] + "\n" + lines[3] + "\n";
    writeFileBytes(logPath(), log);

    program.pressKey(VK_F4);
    HWND dialog = program.waitForDialog("View Program Log");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow());
    EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the dialog is not modal";
    EXPECT_EQ(focusedWindowOf(dialog), GetDlgItem(dialog, IDOK));
    const HWND list = listOf(dialog);
    EXPECT_EQ(askWindow(list, LB_GETCOUNT), 4);
    EXPECT_EQ(listBoxItems(list), lines);
    EXPECT_EQ(askWindow(list, LB_GETTEXTLEN, 2), 400);
    EXPECT_EQ(askWindow(list, LB_GETHORIZONTALEXTENT), 2048);

    EXPECT_TRUE(staysOpenOnEscape(dialog)) << "Escape closed the dialog";

    ASSERT_TRUE(deleteLog(dialog, IDCANCEL));
    EXPECT_EQ(listBoxItems(list), lines);
    EXPECT_EQ(readFileBytes(logPath()).value_or("<missing>"), log);
    EXPECT_TRUE(IsWindowVisible(dialog));

    ASSERT_TRUE(deleteLog(dialog, IDOK));
    expectOnlyTheNewLogLine(dialog);
    ASSERT_TRUE(dismiss(dialog, IDOK));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow()) != FALSE; }, 1s));

    // The menu opens it too; the close box closes it.
    dialog = program.open(IDM_VIEW_LOG, "View Program Log");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(listBoxItems(listOf(dialog)).size(), 1u);
    EXPECT_TRUE(dismiss(dialog));
}

TEST_F(LogViewer, AMissingLogIsReportedFirstThenListedEmptyAndCanBeStartedAnew) {
    // With logging off nothing writes a log, and Delete Log still starts one.
    ASSERT_TRUE(startWith(PreferencesFile::quiet(0)));
    ASSERT_FALSE(readFileBytes(logPath()).has_value());
    program.command(IDM_VIEW_LOG);
    const HWND failure = program.waitForDialog("An unexpected error has occurred!");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(staticTexts(failure), Lines{"Cannot read program log!"});
    EXPECT_EQ(program.waitForDialog("View Program Log", 0ms), nullptr)
        << "the viewer shows before the failure box";
    pressDialogButton(failure, IDOK);

    const HWND dialog = program.waitForDialog("View Program Log");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(askWindow(listOf(dialog), LB_GETCOUNT), 0);
    ASSERT_TRUE(deleteLog(dialog, IDOK));
    expectOnlyTheNewLogLine(dialog);
}

}  // namespace
}  // namespace e2e
