// The View Program Log dialog: the list matches the log file line for line,
// long lines stay whole, the log can be deleted after a confirmation, a
// missing log is reported before the dialog shows, and the ways it closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class LogViewer : public ProgramTest {
protected:
    HWND open() {
        program.command(IDM_VIEW_LOG);
        return program.waitForDialog("View Program Log");
    }

    static HWND listOf(HWND dialog) { return GetDlgItem(dialog, IDC_LOG_LIST); }

    // The lines of the log file as the viewer should list them: without the
    // line feed, and without a carriage return before it.
    static std::vector<std::string> fileLines() {
        std::vector<std::string> lines;
        const std::string bytes = readFileBytes(logPath()).value_or("");
        std::size_t begin = 0;
        while (begin < bytes.size()) {
            std::size_t end = bytes.find('\n', begin);
            if (end == std::string::npos) end = bytes.size();
            std::string line = bytes.substr(begin, end - begin);
            if (end < bytes.size() && !line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(std::move(line));
            begin = end + 1;
        }
        return lines;
    }

    static bool isNewLogLine(const std::string& line) {
        return line.size() > 19 && isTimestamp(line.substr(0, 19)) &&
               line.substr(19) == " - New log started.";
    }

    // Presses Delete Log and waits for the confirmation box; null when none
    // shows or it does not ask the question.
    HWND askToDelete(HWND dialog) {
        pressDialogButton(dialog, IDC_LOG_DELETE);
        const HWND box = program.waitForDialog("Confirm deletion of Program Log");
        if (box == nullptr) return nullptr;
        EXPECT_EQ(staticTexts(box), std::vector<std::string>{"Are you sure?"});
        return box;
    }
};

// A log with a line ended by CR LF and one of 400 characters.
std::string preparedLog() {
    std::string longLine = "2026-01-02 03:04:07 - ";
    for (char c = '0'; longLine.size() < 400; c = c == '9' ? '0' : static_cast<char>(c + 1)) {
        longLine += c;
    }
    return "2026-01-02 03:04:05 - Session Start\n"
           "2026-01-02 03:04:06 - Countdown started. Vantorel: Timer Set - 00h:03m:00s\r\n" +
           longLine + "\n" + "2026-01-02 03:04:08 - Countdown stopped.\n";
}

TEST_F(LogViewer, F4AndTheMenuListEveryLineWholeInFileOrder) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    writeFileBytes(logPath(), preparedLog());
    const std::vector<std::string> lines = fileLines();
    ASSERT_EQ(lines.size(), 4u);
    ASSERT_EQ(lines[2].size(), 400u);

    const struct {
        const char* how;
        bool key;
        bool closeBox;
    } ways[] = {{"F4, then OK", true, false},
                {"Settings > View Program Log..., then close box", false, true}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        if (way.key) {
            program.pressKey(VK_F4);
        } else {
            program.command(IDM_VIEW_LOG);
        }
        const HWND dialog = program.waitForDialog("View Program Log");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow());
        EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "the dialog is not modal";
        EXPECT_EQ(focusedWindowOf(dialog), GetDlgItem(dialog, IDOK));

        const HWND list = listOf(dialog);
        EXPECT_EQ(askWindow(list, LB_GETCOUNT), 4);
        EXPECT_EQ(listBoxItems(list), lines);
        EXPECT_EQ(askWindow(list, LB_GETTEXTLEN, 2), 400);
        EXPECT_EQ(askWindow(list, LB_GETHORIZONTALEXTENT), 2048);

        if (way.closeBox) {
            postClose(dialog);
        } else {
            pressDialogButton(dialog, IDOK);
        }
        ASSERT_TRUE(waitUntilClosed(dialog));
        EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow()) != FALSE; }, 1s));
    }
}

TEST_F(LogViewer, EscapeLeavesItOpen) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    pressDialogButton(dialog, IDCANCEL);
    ASSERT_TRUE(waitForPostedMessages(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "Escape closed the dialog";
    pressDialogButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilClosed(dialog));
}

TEST_F(LogViewer, ConfirmedDeleteLeavesOnlyTheNewLogLine) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    writeFileBytes(logPath(), preparedLog());
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    const HWND list = listOf(dialog);
    ASSERT_EQ(askWindow(list, LB_GETCOUNT), 4);

    const HWND box = askToDelete(dialog);
    ASSERT_NE(box, nullptr);
    pressDialogButton(box, IDOK);
    ASSERT_TRUE(waitUntilClosed(box));

    std::vector<std::string> items;
    ASSERT_TRUE(waitUntil(
        [&] {
            items = listBoxItems(list);
            return items.size() == 1;
        },
        2s))
        << items.size() << " items";
    EXPECT_TRUE(isNewLogLine(items[0])) << items[0];
    EXPECT_EQ(readFileBytes(logPath()).value_or("<missing>"), items[0] + "\n");
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(LogViewer, CancelledDeleteChangesNothing) {
    ASSERT_TRUE(startWith(PreferencesFile::quiet()));
    writeFileBytes(logPath(), preparedLog());
    const std::vector<std::string> lines = fileLines();
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    const HWND box = askToDelete(dialog);
    ASSERT_NE(box, nullptr);
    pressDialogButton(box, IDCANCEL);
    ASSERT_TRUE(waitUntilClosed(box));

    EXPECT_EQ(listBoxItems(listOf(dialog)), lines);
    EXPECT_EQ(readFileBytes(logPath()).value_or("<missing>"), preparedLog());
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(program.dialogs().size(), 1u) << "a box is left open";
}

TEST_F(LogViewer, AMissingLogIsReportedFirstThenListedEmptyAndCanBeStartedAnew) {
    // With logging off nothing writes a log, and Delete Log still starts one.
    PreferencesFile preferences = PreferencesFile::quiet();
    preferences.logEnabled = 0;
    ASSERT_TRUE(startWith(preferences));
    ASSERT_FALSE(readFileBytes(logPath()).has_value());

    program.pressKey(VK_F4);
    const HWND failure = program.waitForDialog("An unexpected error has occurred!");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(staticTexts(failure), std::vector<std::string>{"Cannot read program log!"});
    EXPECT_EQ(program.waitForDialog("View Program Log", 0ms), nullptr)
        << "the viewer shows before the failure box";
    pressDialogButton(failure, IDOK);

    const HWND dialog = program.waitForDialog("View Program Log");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(askWindow(listOf(dialog), LB_GETCOUNT), 0);

    const HWND box = askToDelete(dialog);
    ASSERT_NE(box, nullptr);
    pressDialogButton(box, IDOK);
    ASSERT_TRUE(waitUntilClosed(box));
    std::vector<std::string> items;
    ASSERT_TRUE(waitUntil(
        [&] {
            items = listBoxItems(listOf(dialog));
            return items.size() == 1;
        },
        2s));
    EXPECT_TRUE(isNewLogLine(items[0])) << items[0];
    EXPECT_EQ(readFileBytes(logPath()).value_or("<missing>"), items[0] + "\n");
    EXPECT_EQ(program.dialogs().size(), 1u) << "another failure box";
}

}  // namespace
}  // namespace e2e
