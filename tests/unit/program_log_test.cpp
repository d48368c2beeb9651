// The program log: entries as written, lines as read back, and folders that
// cannot hold the log.
#include "log/program_log.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {
using namespace vantorel;

namespace fs = std::filesystem;
using namespace std::string_literals;
using Lines = std::vector<std::string>;

class ProgramLogTest : public ::testing::Test, ErrorReporter, LocalClock, LogSink {
protected:
    void SetUp() override {
        std::string dir = (fs::temp_directory_path() / "vantorel_log_XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        log_.setFolder(dir_ = dir);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void report(const char* text) override { reports_.emplace_back(text); }
    LocalTime now() override { return {2026, 1, 5, 7, 8, 9}; }
    void line(std::string_view text) override { lines_.emplace_back(text); }

    Lines readBack() {
        lines_.clear();
        log_.readLog(*this);
        return lines_;
    }

    std::string dir_;
    Lines reports_, lines_;
    ProgramLog log_{*this, *this};
};

// A missing file is reported once, an empty one gives nothing. Lines come
// back without the line feed and the one CR before it, whole however long,
// cut at a NUL; a last line without a line feed counts. The file is read in
// 64 KiB blocks: the 12 bytes before `edge` put its CR on the first block's
// last byte, and the rest after the NUL runs over the next blocks.
TEST_F(ProgramLogTest, LinesComeBackWholeAndEntriesAreKeptWhereThePathFits) {
    EXPECT_EQ(readBack(), Lines{});  // no file yet
    std::ofstream log(dir_ + "/vantorellog.txt", std::ios::binary);
    EXPECT_EQ(readBack(), Lines{});  // an empty one
    const std::string edge(65535 - 12, 'e'), huge(100000, 'h');
    log << "one\r\n\r\n\na\r\r\n" + edge + "\r\n" + huge + "\nab\0cd\nef\0"s +
               std::string(200000, 'z') + "\nb\r";
    log.close();
    EXPECT_EQ(readBack(), (Lines{"one", "", "", "a\r", edge, huge, "ab", "ef", "b\r"}));
    EXPECT_EQ(reports_, Lines{kLogReadError});
    reports_.clear();

    // Entries are timestamped and cut to 259 characters. The log's path holds
    // at most 259 characters, "/vantorellog.txt" included: a longer or an
    // empty one opens nothing, and every entry reports it.
    const std::string fits = dir_ + "/" + std::string(242 - dir_.size(), 'd');  // 243 characters
    fs::create_directories(fits);
    fs::create_directories(fits + "d");
    for (const std::string& folder : {fits + "d", ""s, fits}) {
        log_.setFolder(folder);
        log_.appendLog(" - Countdown started. ", std::string(300, 'x'));
        log_.appendLog(kLogNewLogStarted);
    }
    EXPECT_EQ(reports_, Lines(4, kLogWriteError));
    EXPECT_EQ(readBack(),
              (Lines{"2026-01-05 07:08:09 - Countdown started. " + std::string(218, 'x'),
                     "2026-01-05 07:08:09 - New log started."}));
}

}  // namespace
