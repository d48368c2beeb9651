// Tests of the program log: timestamp, entry composition, the message
// catalogue, the bytes in the file, reading lines back and the failure paths.
#include "log/program_log.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/countdown_clock.h"

namespace vantorel {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class RecordingReporter : public ErrorReporter {
public:
    void report(const char* text) override { reports.emplace_back(text); }
    Lines reports;
};

class FakeClock : public LocalClock {
public:
    LocalTime now() override { return time; }
    LocalTime time{2026, 12, 6, 9, 15, 2};
};

class RecordingSink : public LogSink {
public:
    void line(std::string_view text) override { lines.emplace_back(text); }
    Lines lines;
};

class ProgramLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantorel_log_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        log_.setFolder(dir_.string());
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path logFile() const { return dir_ / "vantorellog.txt"; }

    std::string fileBytes() const {
        std::ifstream in(logFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void writeFile(const std::string& bytes) const {
        std::ofstream(logFile(), std::ios::binary) << bytes;
    }
    Lines readBack() {
        RecordingSink sink;
        log_.readLog(sink);
        return sink.lines;
    }
    Lines readFile(const std::string& bytes) {
        writeFile(bytes);
        return readBack();
    }

    fs::path dir_;
    RecordingReporter errors_;
    FakeClock clock_;
    ProgramLog log_{errors_, clock_};
};

// --- Timestamp, composition and catalogue -----------------------------------

TEST(FormatTimestamp, PadsEveryFieldAndKeepsTheWholeYear) {
    EXPECT_EQ(formatTimestamp({2026, 1, 5, 7, 8, 9}), "2026-01-05 07:08:09");
    EXPECT_EQ(formatTimestamp({2026, 12, 31, 23, 59, 59}), "2026-12-31 23:59:59");
    EXPECT_EQ(formatTimestamp({12026, 1, 5, 0, 0, 0}), "12026-01-05 00:00:00");
}

TEST(LogCatalogue, TextsAreExact) {
    EXPECT_STREQ(kLogSessionStart, " - Session Start");
    EXPECT_STREQ(kLogSessionEnd, " - Session End");
    EXPECT_STREQ(kLogCountdownStarted, " - Countdown started. ");
    EXPECT_STREQ(kLogCountdownStopped, " - Countdown stopped.");
    EXPECT_STREQ(kLogCountdownReset, " - Countdown reset.");
    EXPECT_STREQ(kLogCountdownCompleted, " - Countdown completed.");
    EXPECT_STREQ(kLogLoggingEnabled, " - Logging is enabled");
    EXPECT_STREQ(kLogLoggingDisabled, " - Logging is disabled");
    EXPECT_STREQ(kLogNewLogStarted, " - New log started.");
    EXPECT_STREQ(kLogWriteError, "Cannot write to program log!");
    EXPECT_STREQ(kLogReadError, "Cannot read program log!");
    EXPECT_STREQ(kErrorCaption, "An unexpected error has occurred!");
}

TEST_F(ProgramLogTest, PathIsFolderAndFileName) {
    EXPECT_EQ(log_.path(), dir_.string() + "/vantorellog.txt");
}

TEST_F(ProgramLogTest, StartedEntryCarriesTheTitle) {
    clock_.time = {2026, 12, 6, 9, 15, 40};
    log_.appendLog(kLogCountdownStarted, "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(fileBytes(),
              "2026-12-06 09:15:40 - Countdown started. Vantorel: Timer Set - 00h:03m:00s\n");
    EXPECT_TRUE(errors_.reports.empty());
}

TEST_F(ProgramLogTest, TypicalRunWritesLineFeedsOnlyAndReadsBackExactly) {
    clock_.time = {2026, 12, 6, 9, 15, 2};
    log_.appendLog(kLogSessionStart);
    clock_.time = {2026, 12, 6, 9, 15, 40};
    log_.appendLog(kLogCountdownStarted, "Vantorel: Timer Set - 00h:03m:00s");
    clock_.time = {2026, 12, 6, 9, 18, 40};
    log_.appendLog(kLogCountdownCompleted);
    clock_.time = {2026, 12, 6, 9, 20, 11};
    log_.appendLog(kLogSessionEnd);

    const Lines expected = {
        "2026-12-06 09:15:02 - Session Start",
        "2026-12-06 09:15:40 - Countdown started. Vantorel: Timer Set - 00h:03m:00s",
        "2026-12-06 09:18:40 - Countdown completed.",
        "2026-12-06 09:20:11 - Session End",
    };
    std::string bytes;
    for (const auto& line : expected) bytes += line + "\n";
    EXPECT_EQ(fileBytes(), bytes);
    EXPECT_EQ(readBack(), expected);
    EXPECT_TRUE(errors_.reports.empty());
}

TEST_F(ProgramLogTest, EntryIsCappedAtItsBufferSize) {
    log_.appendLog(kLogCountdownStarted, std::string(1000, 'x'));
    const std::string bytes = fileBytes();
    ASSERT_EQ(bytes.size(), kLogEntryMax + 1);
    EXPECT_EQ(bytes.back(), '\n');
    EXPECT_EQ(bytes.substr(0, 41), "2026-12-06 09:15:02 - Countdown started. ");
}

// --- Reading back -----------------------------------------------------------

TEST_F(ProgramLogTest, LongLinesComeBackWhole) {
    const std::string medium(400, 'm');
    const std::string huge(100000, 'h');
    EXPECT_EQ(readFile(medium + "\n" + huge + "\nend\n"), (Lines{medium, huge, "end"}));
    // A line that fills the old 259-character piece exactly is not split.
    const std::string exact(259, 'e');
    EXPECT_EQ(readFile(exact + "\n" + exact + "\n"), (Lines{exact, exact}));
    // Reading goes by blocks: a CRLF split across a block edge, and a NUL byte
    // whose skipped rest of the line runs on into the next block.
    const std::string edge(65535, 'c');
    EXPECT_EQ(readFile(edge + "\r\nnext\n"), (Lines{edge, "next"}));
    EXPECT_EQ(readFile("ab" + std::string(1, '\0') + std::string(200000, 'z') + "\nnext"),
              (Lines{"ab", "next"}));
}

TEST_F(ProgramLogTest, ManyLinesComeBackInOrder) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) bytes += std::to_string(i) + "\n";
    const Lines lines = readFile(bytes);
    ASSERT_EQ(lines.size(), 100000u);
    EXPECT_EQ(lines.front(), "0");
    EXPECT_EQ(lines[54321], "54321");
    EXPECT_EQ(lines.back(), "99999");
}

TEST_F(ProgramLogTest, LineEndingsAndDamagedBytes) {
    // CRLF endings lose the carriage return, only the one before the line feed.
    EXPECT_EQ(readFile("one\r\ntwo\r\n\r\n"), (Lines{"one", "two", ""}));
    EXPECT_EQ(readFile("a\r\r\nb\r"), (Lines{"a\r", "b\r"}));
    // A last line without a line feed keeps all its characters.
    EXPECT_EQ(readFile("first\nlast"), (Lines{"first", "last"}));
    EXPECT_EQ(readFile("x"), (Lines{"x"}));
    // Empty lines are items; a final line feed starts no extra line.
    EXPECT_EQ(readFile("\n\na\n"), (Lines{"", "", "a"}));
    // A NUL byte ends the line's text; the next line is read as usual.
    EXPECT_EQ(readFile(std::string("ab\0cd\nef\n", 9)), (Lines{"ab", "ef"}));
    EXPECT_EQ(readFile(std::string("\0zz\n\0", 5)), (Lines{"", ""}));
    EXPECT_EQ(readFile(std::string("ab\0\r\n", 5)), (Lines{"ab"}));
    EXPECT_TRUE(errors_.reports.empty());
}

TEST_F(ProgramLogTest, MissingFileReportsOnceAndEmptyFileIsQuiet) {
    EXPECT_TRUE(readBack().empty());
    EXPECT_EQ(errors_.reports, Lines{kLogReadError});

    errors_.reports.clear();
    EXPECT_TRUE(readFile("").empty());
    EXPECT_TRUE(errors_.reports.empty());
}

// --- Deletion and failures --------------------------------------------------

TEST_F(ProgramLogTest, DeleteThenAppendLeavesOneLine) {
    log_.appendLog(kLogSessionStart);
    log_.appendLog(kLogSessionEnd);
    log_.deleteLog();
    EXPECT_FALSE(fs::exists(logFile()));
    log_.appendLog(kLogNewLogStarted);
    EXPECT_EQ(readBack(), Lines{"2026-12-06 09:15:02 - New log started."});

    log_.deleteLog();
    log_.deleteLog();  // nothing left to delete: silent
    EXPECT_TRUE(errors_.reports.empty());
}

TEST_F(ProgramLogTest, UnwritableFolderReportsEveryEntry) {
    std::ofstream(dir_ / "plain") << "a regular file";
    for (const fs::path& folder : {dir_ / "missing", dir_ / "plain" / "sub"}) {
        errors_.reports.clear();
        log_.setFolder(folder.string());
        log_.appendLog(kLogSessionStart);
        log_.appendLog(kLogCountdownCompleted);
        EXPECT_EQ(errors_.reports, (Lines{kLogWriteError, kLogWriteError})) << folder;
        EXPECT_TRUE(readBack().empty());
        EXPECT_EQ(errors_.reports.back(), kLogReadError);
        log_.deleteLog();
    }
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(ProgramLogTest, OverlongOrEmptyFolderNeverOpensAFile) {
    // Longest folder that fits: 243 characters + "/vantorellog.txt" = 259.
    log_.setFolder(std::string(243, 'f'));
    EXPECT_EQ(log_.path().size(), 259u);
    log_.setFolder(std::string(244, 'f'));
    EXPECT_TRUE(log_.path().empty());

    // A real, existing folder whose name is too long for the log path.
    fs::path deep = dir_;
    while (deep.string().size() <= 260) deep /= std::string(60, 'd');
    fs::create_directories(deep);
    const bool rootFileExisted = fs::exists("/vantorellog.txt");
    for (const std::string& folder : {deep.string(), std::string()}) {
        errors_.reports.clear();
        log_.setFolder(folder);
        EXPECT_TRUE(log_.path().empty());
        log_.appendLog(kLogSessionStart);
        log_.appendLog(kLogLoggingEnabled);
        EXPECT_EQ(errors_.reports, (Lines{kLogWriteError, kLogWriteError}));
        EXPECT_TRUE(readBack().empty());
        log_.deleteLog();
    }
    EXPECT_TRUE(fs::is_empty(deep));
    EXPECT_FALSE(fs::exists(logFile()));
    if (!rootFileExisted) {
        EXPECT_FALSE(fs::exists("/vantorellog.txt"));
    }
}

}  // namespace
}  // namespace vantorel
