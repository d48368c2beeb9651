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

// The fixture is the log's reporter, clock and reading sink itself.
class ProgramLogTest : public ::testing::Test, ErrorReporter, LocalClock, LogSink {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantorel_log_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        log_.setFolder(dir_.string());
    }
    void TearDown() override { fs::remove_all(dir_); }
    void report(const char* text) override { reports_.emplace_back(text); }
    LocalTime now() override { return time_; }
    void line(std::string_view text) override { lines_.emplace_back(text); }

    fs::path logFile() const { return dir_ / "vantorellog.txt"; }
    std::string fileBytes() const {
        std::ifstream in(logFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    Lines readBack() {
        lines_.clear();
        log_.readLog(*this);
        return lines_;
    }
    Lines readFile(const std::string& bytes) {
        std::ofstream(logFile(), std::ios::binary) << bytes;
        return readBack();
    }

    fs::path dir_;
    Lines reports_, lines_;
    LocalTime time_{2026, 12, 6, 9, 15, 2};
    ProgramLog log_{*this, *this};
};

TEST(FormatTimestamp, PadsEveryFieldAndKeepsTheWholeYear) {
    EXPECT_EQ(formatTimestamp({2026, 1, 5, 7, 8, 9}), "2026-01-05 07:08:09");
    EXPECT_EQ(formatTimestamp({2026, 12, 31, 23, 59, 59}), "2026-12-31 23:59:59");
    EXPECT_EQ(formatTimestamp({12026, 1, 5, 0, 0, 0}), "12026-01-05 00:00:00");
}

TEST_F(ProgramLogTest, EveryCatalogueEntryIsWrittenByteForByteCappedAndReadBack) {
    EXPECT_EQ(log_.path(), dir_.string() + "/vantorellog.txt");
    for (const char* message : {kLogSessionStart, kLogCountdownStarted, kLogCountdownStopped,
                                kLogCountdownReset, kLogCountdownCompleted, kLogLoggingEnabled,
                                kLogLoggingDisabled, kLogNewLogStarted, kLogSessionEnd}) {
        log_.appendLog(message, message == kLogCountdownStarted
                                    ? "Vantorel: Timer Set - 00h:03m:00s"
                                    : std::string());
        ++time_.second;
    }
    log_.appendLog(kLogCountdownStarted, std::string(1000, 'x'));  // cut to 259 characters
    const Lines expected = {
        "2026-12-06 09:15:02 - Session Start",
        "2026-12-06 09:15:03 - Countdown started. Vantorel: Timer Set - 00h:03m:00s",
        "2026-12-06 09:15:04 - Countdown stopped.",
        "2026-12-06 09:15:05 - Countdown reset.",
        "2026-12-06 09:15:06 - Countdown completed.",
        "2026-12-06 09:15:07 - Logging is enabled",
        "2026-12-06 09:15:08 - Logging is disabled",
        "2026-12-06 09:15:09 - New log started.",
        "2026-12-06 09:15:10 - Session End",
        "2026-12-06 09:15:11 - Countdown started. " + std::string(kLogEntryMax - 41, 'x'),
    };
    std::string bytes;
    for (const auto& line : expected) bytes += line + "\n";
    EXPECT_EQ(fileBytes(), bytes);
    EXPECT_EQ(readBack(), expected);
    EXPECT_STREQ(kLogWriteError, "Cannot write to program log!");
    EXPECT_STREQ(kLogReadError, "Cannot read program log!");
    EXPECT_TRUE(reports_.empty());
}

TEST_F(ProgramLogTest, LinesComeBackWholeAndClean) {
    const std::string medium(400, 'm'), huge(100000, 'h'), exact(259, 'e'), edge(65535, 'c');
    const struct {
        const char* what;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"long lines", medium + "\n" + huge + "\nend\n", {medium, huge, "end"}},
        {"the old 259-character piece exactly", exact + "\n" + exact + "\n", {exact, exact}},
        {"CRLF across a block edge", edge + "\r\nnext\n", {edge, "next"}},
        {"a NUL whose skipped rest runs into the next block",
         "ab" + std::string(1, '\0') + std::string(200000, 'z') + "\nnext",
         {"ab", "next"}},
        {"CRLF loses only the CR before the LF",
         "one\r\ntwo\r\n\r\na\r\r\nb\r",
         {"one", "two", "", "a\r", "b\r"}},
        {"no final line feed", "first\nlast", {"first", "last"}},
        {"empty lines count, a final LF starts none", "\n\na\n", {"", "", "a"}},
        {"a NUL ends the line's text",
         std::string("ab\0cd\nef\n\0zz\nab\0\r\n\0", 19),
         {"ab", "ef", "", "ab", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(readFile(c.bytes), c.lines) << c.what;
    std::string many;  // short lines over many blocks, some cut at a block edge
    Lines manyLines;
    for (int i = 0; i < 100000; ++i) many += manyLines.emplace_back(std::to_string(i)) + "\n";
    EXPECT_EQ(readFile(many), manyLines);
    EXPECT_TRUE(reports_.empty());
}

TEST_F(ProgramLogTest, MissingFileReportsOnceEmptyFileIsQuietDeleteIsSilent) {
    EXPECT_TRUE(readBack().empty());
    EXPECT_EQ(reports_, Lines{kLogReadError});

    reports_.clear();
    EXPECT_TRUE(readFile("").empty());
    log_.appendLog(kLogSessionStart);
    log_.deleteLog();
    EXPECT_FALSE(fs::exists(logFile()));
    log_.deleteLog();  // nothing left to delete
    log_.appendLog(kLogNewLogStarted);
    EXPECT_EQ(readBack(), Lines{"2026-12-06 09:15:02 - New log started."});
    EXPECT_TRUE(reports_.empty());
}

TEST_F(ProgramLogTest, UnwritableOverlongOrEmptyFolderReportsEveryEntry) {
    // Longest folder that fits: 243 characters + "/vantorellog.txt" = 259.
    log_.setFolder(std::string(243, 'f'));
    EXPECT_EQ(log_.path().size(), 259u);

    std::ofstream(dir_ / "plain") << "a regular file";
    fs::path deep = dir_;  // a real folder whose name is too long for the log path
    while (deep.string().size() <= 260) deep /= std::string(60, 'd');
    fs::create_directories(deep);
    const bool rootFileExisted = fs::exists("/vantorellog.txt");
    for (const std::string& folder : {(dir_ / "missing").string(), (dir_ / "plain/sub").string(),
                                      deep.string(), std::string()}) {
        reports_.clear();
        log_.setFolder(folder);
        log_.appendLog(kLogSessionStart);
        log_.appendLog(kLogCountdownCompleted);
        EXPECT_EQ(reports_, (Lines{kLogWriteError, kLogWriteError})) << folder;
        EXPECT_TRUE(readBack().empty());
        EXPECT_EQ(reports_.back(), kLogReadError);
        log_.deleteLog();
    }
    EXPECT_TRUE(fs::is_empty(deep));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
    EXPECT_FALSE(fs::exists(logFile()));
    EXPECT_TRUE(rootFileExisted || !fs::exists("/vantorellog.txt"));
}

}  // namespace
}  // namespace vantorel
