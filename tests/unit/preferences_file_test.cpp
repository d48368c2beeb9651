// The preferences file: the defaults' exact text, good and damaged files, and
// saves that cannot be made.
#include "prefs/preferences_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
using namespace vantorel;

namespace fs = std::filesystem;
using namespace std::string_literals;
using Reports = std::vector<std::string>;

// File text of the given lines, written with '|' between them.
std::string lines(std::string text) {
    std::replace(text.begin(), text.end(), '|', '\n');
    return text + '\n';
}

// The defaults' file, with another time limit ("hours|minutes|seconds") when given.
std::string defaults(const std::string& limit = "0|3|0") {
    return lines("1|1|1|1|510|10|100|" + limit +
                 "|0|16777215|320|700|0|Arial|No file selected|No file selected");
}

class PreferencesFile : public ::testing::Test, ErrorReporter {
protected:
    void SetUp() override {
        std::string dir = (fs::temp_directory_path() / "vantorel_prefs_XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        store_.setPath(path_ = (dir_ = dir) + "/vantorl.cfg");
    }
    void TearDown() override { fs::remove_all(dir_); }
    void report(const char* text) override { reports_.emplace_back(text); }
    std::string fileText() const {
        std::ostringstream text;
        text << std::ifstream(path_, std::ios::binary).rdbuf();
        return text.str();
    }

    std::string dir_, path_;
    Preferences record_;
    Reports reports_;
    PreferencesStore store_{record_, *this};
};

// Fields that a file does not supply keep the values they had.
TEST_F(PreferencesFile, ReadsNumbersTheScanfWayAndTextsByLine) {
    const std::string old =
        lines("101|102|103|104|105|106|107|108|109|110|111|112|113|114|115|F|A|T");
    const std::pair<std::string, std::string> cases[] = {
        // White space of every kind around the numbers, a signed colour, CR LF
        // and a last line without one; a text longer than its field is cut
        // and a NUL ends one.
        {" 1\t2\r\n\n\v\f+3 4\n5 6 7 8 9 10 -11 12 13 14 15\nFace\r\n" + std::string(5000, 'a') +
             "\r\nC:\\t\0.wav"s,
         lines("1|2|3|4|5|6|7|8|9|10|-11|12|13|14|15|Face") + std::string(259, 'a') + "\nC:\\t\n"},
        // A line that holds no number ends the numbers, and the texts start
        // there; the face is cut to 31 characters.
        {"1 1 1 1 abc" + std::string(40, 'f') + "\nC:\\a.wav\nC:\\t.wav\n9\n",
         lines("1|1|1|1|105|106|107|108|109|110|111|112|113|114|115|abc" + std::string(28, 'f') +
               "|C:\\a.wav|C:\\t.wav")},
        // Out of range numbers are clamped; a sign with no digit after it
        // fails its own number only.
        {"99999999999999999999999 -99999999999999999999999 2147483648 -2147483649 - "
         "0000000000000000000000042 --7 +\n",
         lines("2147483647|-2147483648|2147483647|-2147483648|105|42|107|-7|109|110|111|112|113|"
               "114|115|F|A|T")},
    };
    for (const auto& [text, expected] : cases) {
        parsePreferences(old.data(), old.size(), record_);
        std::ofstream(path_, std::ios::binary) << text;
        store_.load();
        EXPECT_EQ(formatPreferences(record_), expected) << text.substr(0, 60);
    }
}

// The first start saves the defaults; a later save that fails (the disk
// full, the file read-only) is reported once and leaves the file whole, so
// the record reloads the defaults. A data folder removed since is made
// again; when it cannot be, the one report says so and the record keeps
// the change.
TEST_F(PreferencesFile, SavesGoThroughVantorlTmpAndReplaceTheFileWholeOrNotAtAll) {
    std::ofstream(dir_ + "/vantorl.tmp") << "left over from an interrupted save";
    store_.load();
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit full{20, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    store_.saveAndReload();
    setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
    record_.textColor = 255;
    store_.saveAndReload();
    EXPECT_EQ(formatPreferences(record_), defaults());
    EXPECT_FALSE(fs::exists(dir_ + "/vantorl.tmp"));

    // The longest path that fits saves; one character more is refused.
    for (const std::size_t size : {260, 259}) {
        store_.setPath(dir_ + "/" + std::string(size - dir_.size() - 5, 'n') + ".cfg");
        store_.saveAndReload();
        EXPECT_EQ(fs::exists(store_.path()), size == 259);
    }
    store_.setPath(path_);
    fs::remove_all(dir_);
    record_.timerHours = 5;
    store_.saveAndReload();
    EXPECT_EQ(fileText(), formatPreferences(record_));
    store_.setPath(dir_ + "/no/folder/vantorl.cfg");
    record_.timerSeconds = 9;
    store_.saveAndReload();
    EXPECT_EQ(formatPreferences(record_), defaults("5|3|9"));
    EXPECT_EQ(reports_, Reports(4, kPreferencesWriteError));
}

// A file that is there but cannot be opened (here a link to itself) is never
// written over while it is there; once it has gone, the next save writes
// the record, with nothing to report.
TEST_F(PreferencesFile, AnUnreadableFileIsNeverReplacedWhileItIsThere) {
    ASSERT_EQ(symlink(path_.c_str(), path_.c_str()), 0);
    store_.load();
    EXPECT_EQ(formatPreferences(record_), defaults());
    record_.timerMinutes = 7;
    store_.saveAndReload();  // fails, and the record keeps the 7 saved below
    EXPECT_TRUE(fs::is_symlink(path_));

    fs::remove(path_);  // the other program lets go of the file and deletes it
    store_.saveAndReload();
    EXPECT_EQ(fileText(), defaults("0|7|0"));
    EXPECT_EQ(reports_,
              (Reports{kPreferencesReadError, kPreferencesWriteError, kPreferencesReadError}));
}

}  // namespace
