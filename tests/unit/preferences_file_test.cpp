// The preferences file: its exact text, how load reads good and damaged
// files, and how save behaves when the file cannot be written.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "prefs/preferences.h"

namespace vantorel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kDefaultFile =
    "1\n1\n1\n1\n510\n10\n100\n0\n3\n0\n0\n16777215\n320\n700\n0\n"
    "Arial\nNo file selected\nNo file selected\n";
const std::string kNumbers = kDefaultFile.substr(0, 46);  // the 15 default numbers

std::string readFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The fixture is the store's error reporter itself.
class PreferencesFileTest : public ::testing::Test, protected ErrorReporter {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "vantorel_prefs_XXXXXX").string();
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        dir_ = name;
        path_ = dir_ + "/vantorl.cfg";
        temporary_ = dir_ + "/vantorl.tmp";
        store_.setPath(path_);
    }
    void report(const char* text) override { reports_.emplace_back(text); }
    void TearDown() override {
        if (fs::exists(path_)) chmod(path_.c_str(), 0644);
        fs::remove_all(dir_);
    }

    std::string dir_;
    std::string path_;
    std::string temporary_;  // where a save writes first
    Preferences record_;
    std::vector<std::string> reports_;
    PreferencesStore store_{record_, *this};
};

TEST_F(PreferencesFileTest, MissingFileGivesTheDefaultsAndWritesThe86Bytes) {
    writeFile(temporary_, "left over from an interrupted save");
    store_.load();
    EXPECT_EQ(formatPreferences(record_), kDefaultFile);
    EXPECT_EQ(readFile(path_), kDefaultFile);
    EXPECT_EQ(kDefaultFile.size(), 86u);
    EXPECT_FALSE(fs::exists(temporary_));

    // A save replaces a longer file whole.
    writeFile(path_, kNumbers + "Arial\n" + std::string(259, 'x') + "\nNo file selected\n");
    store_.save();
    EXPECT_EQ(readFile(path_), kDefaultFile);
    EXPECT_TRUE(reports_.empty());
}

// Each text is read from memory and through a file, starting from a zeroed
// record or from `old`; both readers must give `expected` as file text,
// which is what a save then writes.
TEST_F(PreferencesFileTest, DamagedAndUnusualFilesLoadAsExpected) {
    Preferences old;
    PreferencesStore(old, *this).setDefaults();
    old.timerSeconds = 9;
    setText(old.fontFace, "Old Face");
    setText(old.alarmSoundPath, "old alarm");
    setText(old.tickSoundPath, "old tick");
    const std::string oldNumbers = "1\n1\n1\n1\n510\n10\n100\n0\n3\n9\n0\n16777215\n320\n700\n0\n";
    std::string crlf, extremes;
    for (char c : kDefaultFile) crlf += (c == '\n') ? "\r\n"s : std::string(1, c);
    // Every number alternately at its smallest and largest, the colours as
    // signed decimals, the texts at their longest.
    for (int i = 0; i < 15; ++i) {
        extremes += i == 10 ? "-1\n" : (i % 2 == 0 || i == 11) ? "-2147483648\n" : "2147483647\n";
    }
    extremes += std::string(31, 'F') + "\n" + std::string(259, 'p') + "\nC:\\" +
                std::string(256, 't') + "\n";
    const struct {
        const char* what;
        std::string text;
        bool fromOld;
        std::string expected;
    } cases[] = {
        {"a malformed line 5 stops the numbers and starts the texts",
         "1\n1\n1\n1\nabc\nC:\\alarm.wav\nC:\\tick.wav\n7\n8\n9\n10\n11\n12\n13\n14\n15\nArial\n",
         false, "1\n1\n1\n1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\nabc\nC:\\alarm.wav\nC:\\tick.wav\n"},
        {"later numbers keep their values", "1\n1\n1\n1\nabc\nC:\\alarm.wav\nC:\\tick.wav\n", true,
         oldNumbers + "abc\nC:\\alarm.wav\nC:\\tick.wav\n"},
        {"numbers share lines, blank lines between",
         "1 1\t1\n\n\n 1\n510\n\n10\n100 0 3\n0\n0\n16777215\n320\n700\n+0\n\n\n   \n"
         "Arial\nNo file selected\nNo file selected\n",
         false, kDefaultFile},
        {"out-of-range numbers clamp",
         "99999999999999999999999\n-99999999999999999999999\n2147483648\n-2147483649\n"
         "2147483647\n-2147483648\n0000000000000000000000042\n-0\n1\n2\n"
         "4294967295\n-4294967296\n3\n4\n5\nArial\na\nb\n",
         false,
         "2147483647\n-2147483648\n2147483647\n-2147483648\n2147483647\n-2147483648\n42\n0\n1\n"
         "2\n2147483647\n-2147483648\n3\n4\n5\nArial\na\nb\n"},
        {"every field at its extremes", extremes, false, extremes},
        {"CRLF lines", crlf, false, kDefaultFile},
        {"no final line feed", kNumbers + "Arial\nC:\\a.wav\nC:\\tick.wav", false,
         kNumbers + "Arial\nC:\\a.wav\nC:\\tick.wav\n"},
        {"empty file", "", true, formatPreferences(old)},
        {"cut inside the numbers", "0\n0\n5", true,
         "0\n0\n5\n" + oldNumbers.substr(6) + "Old Face\nold alarm\nold tick\n"},
        {"cut inside the texts", "0\n0\n0\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\nCourier\nC:\\so",
         true, "0\n0\n0\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\nCourier\nC:\\so\nold tick\n"},
        {"overlong texts are cut and never spill over",
         kNumbers + std::string(40, 'f') + "\n" + std::string(300, 'a') + "\r\nC:\\t.wav\n", false,
         kNumbers + std::string(31, 'f') + "\n" + std::string(259, 'a') + "\nC:\\t.wav\n"},
        {"a NUL ends a line's text", kNumbers + "Ari\0al\n\0\nC:\\t\0.wav\n"s, false,
         kNumbers + "Ari\n\nC:\\t\n"},
        // As scanf does, a sign with no digit after it is taken: that one
        // number fails and the next is read after the sign.
        {"a lone sign fails one number",
         "1\n1\n1\n1\n-\n10\n100\n0\n3\n0\n0\n5\n320\n700\n0\nA\nB\nC\n", true,
         "1\n1\n1\n1\n510\n10\n100\n0\n3\n0\n0\n5\n320\n700\n0\nA\nB\nC\n"},
        {"a sign then a blank, two signs", "1 1 1 1 - 5 --7 +\n", true,
         "1\n1\n1\n1\n510\n5\n100\n-7\n3\n9\n0\n16777215\n320\n700\n0\n"
         "Old Face\nold alarm\nold tick\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Preferences start = c.fromOld ? old : Preferences{};
        Preferences fromMemory = start;
        parsePreferences(c.text.data(), c.text.size(), fromMemory);
        EXPECT_EQ(formatPreferences(fromMemory), c.expected);
        writeFile(path_, c.text);
        record_ = start;
        store_.load();
        EXPECT_EQ(formatPreferences(record_), c.expected);
        EXPECT_EQ(readFile(path_), c.text) << "loading rewrote the file";
    }
    EXPECT_TRUE(reports_.empty());
}

TEST_F(PreferencesFileTest, UnusablePathsOpenNothing) {
    const std::string longest = dir_ + "/" + std::string(258 - dir_.size(), 'n');
    ASSERT_EQ(longest.size(), 259u);
    for (const std::string& path :
         {std::string(), longest + "x", dir_ + "/missing/vantorl.cfg", path_ + "/vantorl.cfg"}) {
        SCOPED_TRACE(path);
        writeFile(path_, "plain file, also the parent of the last path");
        reports_.clear();
        record_ = Preferences{};
        store_.setPath(path);
        store_.load();  // cannot open: defaults, then a save that fails
        EXPECT_EQ(formatPreferences(record_), kDefaultFile);
        ASSERT_EQ(reports_, std::vector<std::string>{kPreferencesWriteError});

        // Neither written nor read: two identical reports, and the defaults.
        record_.timerMinutes = 42;
        store_.saveAndReload();
        EXPECT_EQ(reports_.size(), 3u);
        EXPECT_EQ(record_.timerMinutes, 3);
    }
    reports_.clear();
    store_.setPath(longest);  // 259 characters is still a usable path
    store_.load();
    EXPECT_EQ(readFile(longest), kDefaultFile);
    EXPECT_TRUE(reports_.empty());
}

TEST_F(PreferencesFileTest, ReadOnlyFileIsReportedOnceAndReloaded) {
    writeFile(path_, kDefaultFile);
    ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
    store_.load();
    record_.textColor = 255;
    store_.saveAndReload();
    EXPECT_EQ(reports_, std::vector<std::string>{kPreferencesWriteError});
    EXPECT_EQ(readFile(path_), kDefaultFile);
    EXPECT_EQ(record_.textColor, 0u);  // the change is lost, the stored value back
    EXPECT_FALSE(fs::exists(temporary_));
}

// A file that is there but cannot be opened (here a link to itself) is never
// written over; once it can be read, its values come back and saving resumes.
TEST_F(PreferencesFileTest, AnUnreadableFileIsNeverReplacedBeforeItIsRead) {
    ASSERT_EQ(symlink(path_.c_str(), path_.c_str()), 0);
    store_.load();  // start-up: the defaults for this run, one box
    EXPECT_EQ(formatPreferences(record_), kDefaultFile);
    EXPECT_EQ(reports_, std::vector<std::string>{kPreferencesReadError});
    record_.timerMinutes = 7;
    store_.saveAndReload();  // refused; the record keeps its values
    EXPECT_EQ(reports_, (std::vector<std::string>{kPreferencesReadError, kPreferencesWriteError,
                                                  kPreferencesReadError}));
    EXPECT_EQ(record_.timerMinutes, 7);
    EXPECT_TRUE(fs::is_symlink(path_));

    fs::remove(path_);  // the other program lets go of the file
    const std::string stored = "0\n0\n0\n0\n1\n2\n3\n4\n42\n6\n7\n8\n9\n10\n11\nF\nA\nT\n";
    writeFile(path_, stored);
    reports_.clear();
    store_.saveAndReload();  // still refused, as the file has not been read yet
    EXPECT_EQ(reports_, std::vector<std::string>{kPreferencesWriteError});
    EXPECT_EQ(formatPreferences(record_), stored);
    record_.timerSeconds = 5;
    store_.saveAndReload();
    EXPECT_EQ(readFile(path_), "0\n0\n0\n0\n1\n2\n3\n4\n42\n5\n7\n8\n9\n10\n11\nF\nA\nT\n");
    EXPECT_EQ(reports_.size(), 1u);
}

TEST_F(PreferencesFileTest, FullDiskLeavesTheOldFileWhole) {
    writeFile(path_, kDefaultFile);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{20, 20};
        setrlimit(RLIMIT_FSIZE, &limit);
        setText(record_.alarmSoundPath, "C:\\a much longer path than twenty bytes.wav");
        store_.save();
        _exit((reports_ == std::vector<std::string>{kPreferencesWriteError} ? 0 : 1) |
              (readFile(path_) == kDefaultFile ? 0 : 2) | (fs::exists(temporary_) ? 4 : 0));
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0)
        << "bits: 1 wrong reports, 2 old file changed, 4 .tmp left";
}

}  // namespace
}  // namespace vantorel
