// The preferences file: its exact text, how load reads good and damaged
// files, and how save behaves when the file cannot be written.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "prefs/preferences.h"

namespace vantorel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

const std::string kDefaultFile =
    "1\n1\n1\n1\n510\n10\n100\n0\n3\n0\n0\n16777215\n320\n700\n0\n"
    "Arial\nNo file selected\nNo file selected\n";

class RecordingReporter : public ErrorReporter {
public:
    void report(const char* text) override { reports.emplace_back(text); }
    std::vector<std::string> reports;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

Preferences defaults() {
    Preferences record;
    RecordingReporter errors;
    PreferencesStore(record, errors).setDefaults();
    return record;
}

// Every field, as the file would hold it; equal texts mean equal records.
std::string fields(const Preferences& record) { return formatPreferences(record); }

class PreferencesFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "vantorel_prefs_XXXXXX").string();
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        dir_ = name;
        path_ = dir_ + "/vantorl.cfg";
        store_.setPath(path_);
    }
    void TearDown() override {
        if (fs::exists(path_)) chmod(path_.c_str(), 0644);
        fs::remove_all(dir_);
    }

    // Reads `text` both from memory and through a file, starting from
    // `start`; both readers must agree.
    Preferences parseBoth(const std::string& text, const Preferences& start = Preferences{}) {
        Preferences fromMemory = start;
        parsePreferences(text.data(), text.size(), fromMemory);
        writeFile(path_, text);
        record_ = start;
        store_.load();
        EXPECT_EQ(fields(record_), fields(fromMemory));
        EXPECT_TRUE(errors_.reports.empty());
        return fromMemory;
    }

    std::string dir_;
    std::string path_;
    Preferences record_;
    RecordingReporter errors_;
    PreferencesStore store_{record_, errors_};
};

// --- The file's text -------------------------------------------------------

TEST(PreferencesFormat, DefaultsAreThe86ByteFile) {
    EXPECT_EQ(formatPreferences(defaults()), kDefaultFile);
    EXPECT_EQ(kDefaultFile.size(), 86u);
}

TEST(PreferencesFormat, ColoursAndNegativesAreSignedDecimal) {
    Preferences record = defaults();
    record.textColor = 255;
    record.backgroundColor = 0xFFFFFFFFu;
    record.fontHeight = -48;
    const std::string text = formatPreferences(record);
    EXPECT_NE(text.find("\n255\n-1\n-48\n700\n"), std::string::npos) << text;
}

TEST_F(PreferencesFileTest, EveryFieldSurvivesSaveAndLoadAtItsExtremes) {
    const std::string longPath(259, 'p');
    const std::string otherPath = "C:\\" + std::string(256, 't');
    Preferences written;
    std::int32_t* numbers[] = {&written.showStartupScreen, &written.logEnabled,
                               &written.tickingEnabled,    &written.alarmEnabled,
                               &written.buttonsLeft,       &written.buttonsTop,
                               &written.displayTop,        &written.timerHours,
                               &written.timerMinutes,      &written.timerSeconds,
                               &written.fontHeight,        &written.fontWeight,
                               &written.fontItalic};
    for (std::size_t i = 0; i < std::size(numbers); ++i) *numbers[i] = (i % 2 == 0) ? kMin : kMax;
    written.textColor = 0xFFFFFFFFu;
    written.backgroundColor = 0x80000000u;
    setText(written.fontFace, std::string(31, 'F').c_str());
    setText(written.alarmSoundPath, longPath.c_str());
    setText(written.tickSoundPath, otherPath.c_str());

    record_ = written;
    store_.save();
    record_ = Preferences{};
    store_.load();
    EXPECT_EQ(fields(record_), fields(written));
    EXPECT_EQ(record_.textColor, 0xFFFFFFFFu);
    EXPECT_EQ(record_.backgroundColor, 0x80000000u);
    EXPECT_EQ(std::string(record_.alarmSoundPath), longPath);
    EXPECT_EQ(std::string(record_.tickSoundPath), otherPath);
    EXPECT_TRUE(errors_.reports.empty());
}

// --- Reading: the numbers --------------------------------------------------

TEST_F(PreferencesFileTest, MalformedFifthLineStopsTheNumbersAndStartsTheTexts) {
    const std::string text =
        "1\n1\n1\n1\nabc\nC:\\alarm.wav\nC:\\tick.wav\n7\n8\n9\n10\n11\n12\n13\n14\n15\n"
        "Arial\nx\ny\n";
    const Preferences fromZero = parseBoth(text);
    EXPECT_EQ(fromZero.alarmEnabled, 1);
    EXPECT_EQ(fromZero.buttonsLeft, 0);
    EXPECT_EQ(fromZero.fontItalic, 0);
    EXPECT_STREQ(fromZero.fontFace, "abc");
    EXPECT_STREQ(fromZero.alarmSoundPath, "C:\\alarm.wav");
    EXPECT_STREQ(fromZero.tickSoundPath, "C:\\tick.wav");

    // Later numbers keep whatever they held before the load.
    const Preferences fromDefaults = parseBoth(text, defaults());
    EXPECT_EQ(fromDefaults.buttonsLeft, 510);
    EXPECT_EQ(fromDefaults.backgroundColor, 16777215u);
    EXPECT_EQ(fromDefaults.fontWeight, 700);
}

TEST_F(PreferencesFileTest, NumbersMayShareALineOrHaveBlankLinesBetween) {
    const std::string expected = fields(defaults());
    EXPECT_EQ(fields(parseBoth("1 1 1 1 510 10 100 0 3 0 0 16777215 320 700 0\n"
                               "Arial\nNo file selected\nNo file selected\n")),
              expected);
    EXPECT_EQ(fields(parseBoth("\n\n  1\n\n1\t1\n\n\n1\n510\n\n10\n100\n0\n3\n0\n0\n"
                               "16777215\n320\n700\n+0\n\n\n   \nArial\nNo file selected\n"
                               "No file selected\n")),
              expected);
}

TEST_F(PreferencesFileTest, NumbersOutsideTheRangeAreClamped) {
    const Preferences record = parseBoth(
        "99999999999999999999999\n-99999999999999999999999\n2147483648\n-2147483649\n"
        "2147483647\n-2147483648\n0000000000000000000000042\n-0\n1\n2\n"
        "4294967295\n-4294967296\n3\n4\n5\nArial\na\nb\n");
    EXPECT_EQ(record.showStartupScreen, kMax);
    EXPECT_EQ(record.logEnabled, kMin);
    EXPECT_EQ(record.tickingEnabled, kMax);
    EXPECT_EQ(record.alarmEnabled, kMin);
    EXPECT_EQ(record.buttonsLeft, kMax);
    EXPECT_EQ(record.buttonsTop, kMin);
    EXPECT_EQ(record.displayTop, 42);
    EXPECT_EQ(record.timerHours, 0);
    EXPECT_EQ(record.textColor, 0x7FFFFFFFu);
    EXPECT_EQ(record.backgroundColor, 0x80000000u);
    EXPECT_EQ(record.fontItalic, 5);
    EXPECT_STREQ(record.tickSoundPath, "b");
}

// --- Reading: the texts ----------------------------------------------------

TEST_F(PreferencesFileTest, CrLfLinesLoadLikeLfLines) {
    std::string text;
    for (char c : kDefaultFile) text += (c == '\n') ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(fields(parseBoth(text)), kDefaultFile);
}

TEST_F(PreferencesFileTest, LastLineWithoutLineFeedKeepsAllItsCharacters) {
    const std::string text = kDefaultFile.substr(0, 52) + "C:\\a.wav\nC:\\tick.wav";
    const Preferences record = parseBoth(text);
    EXPECT_STREQ(record.alarmSoundPath, "C:\\a.wav");
    EXPECT_STREQ(record.tickSoundPath, "C:\\tick.wav");
}

TEST_F(PreferencesFileTest, EmptyOrTruncatedFileKeepsWhatItDoesNotSupply) {
    Preferences start = defaults();
    start.timerSeconds = 9;
    setText(start.fontFace, "Old Face");
    setText(start.alarmSoundPath, "old alarm");
    setText(start.tickSoundPath, "old tick");

    EXPECT_EQ(fields(parseBoth("", start)), fields(start));

    Preferences record = parseBoth("0\n0\n5", start);  // cut inside the numbers
    EXPECT_EQ(record.tickingEnabled, 5);
    EXPECT_EQ(record.alarmEnabled, 1);
    EXPECT_STREQ(record.fontFace, "Old Face");

    record = parseBoth("0\n0\n0\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\nCourier\nC:\\so", start);
    EXPECT_EQ(record.fontItalic, 11);
    EXPECT_STREQ(record.fontFace, "Courier");
    EXPECT_STREQ(record.alarmSoundPath, "C:\\so");
    EXPECT_STREQ(record.tickSoundPath, "old tick");
}

TEST_F(PreferencesFileTest, OverlongTextsAreCutAndNeverSpillIntoTheNextField) {
    const std::string face(40, 'f');
    const std::string alarm(300, 'a');
    const std::string text = kDefaultFile.substr(0, 46) + face + "\n" + alarm + "\r\nC:\\t.wav\n";
    const Preferences record = parseBoth(text);
    EXPECT_EQ(std::string(record.fontFace), face.substr(0, 31));
    EXPECT_EQ(std::string(record.alarmSoundPath), alarm.substr(0, 259));
    EXPECT_STREQ(record.tickSoundPath, "C:\\t.wav");
}

TEST_F(PreferencesFileTest, NulInsideALineEndsItsText) {
    const std::string text =
        kDefaultFile.substr(0, 46) + std::string("Ari\0al\n\0\nC:\\t\0.wav\n"s);
    const Preferences record = parseBoth(text);
    EXPECT_STREQ(record.fontFace, "Ari");
    EXPECT_STREQ(record.alarmSoundPath, "");
    EXPECT_STREQ(record.tickSoundPath, "C:\\t");
}

// --- Opening, saving and failures ------------------------------------------

TEST_F(PreferencesFileTest, MissingFileGivesDefaultsAndWritesThem) {
    store_.load();
    EXPECT_EQ(fields(record_), kDefaultFile);
    EXPECT_EQ(readFile(path_), kDefaultFile);
    EXPECT_TRUE(errors_.reports.empty());
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
}

TEST_F(PreferencesFileTest, SaveReplacesALongerFileWhole) {
    Preferences old = defaults();
    setText(old.alarmSoundPath, std::string(259, 'x').c_str());
    writeFile(path_, formatPreferences(old));
    writeFile(path_ + ".tmp", "left over from an interrupted save");
    store_.setDefaults();
    store_.save();
    EXPECT_EQ(readFile(path_), kDefaultFile);
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
    EXPECT_TRUE(errors_.reports.empty());
}

TEST_F(PreferencesFileTest, UnusablePathsOpenNothing) {
    const std::string longest = dir_ + "/" + std::string(258 - dir_.size(), 'n');
    ASSERT_EQ(longest.size(), 259u);
    for (const std::string& path :
         {std::string(), longest + "x", dir_ + "/missing/vantorl.cfg", path_ + "/vantorl.cfg"}) {
        SCOPED_TRACE(path);
        writeFile(path_, "plain file, also the parent of the last path");
        errors_.reports.clear();
        record_ = Preferences{};
        store_.setPath(path);
        store_.load();  // cannot open: defaults, then a save that fails
        EXPECT_EQ(fields(record_), kDefaultFile);
        ASSERT_EQ(errors_.reports, std::vector<std::string>{kPreferencesWriteError});

        // Neither written nor read: two identical reports, and the defaults.
        record_.timerMinutes = 42;
        store_.saveAndReload();
        EXPECT_EQ(errors_.reports.size(), 3u);
        EXPECT_EQ(record_.timerMinutes, 3);
    }
    errors_.reports.clear();
    store_.setPath(longest);  // 259 characters is still a usable path
    store_.load();
    EXPECT_EQ(readFile(longest), kDefaultFile);
    EXPECT_TRUE(errors_.reports.empty());
}

TEST_F(PreferencesFileTest, ReadOnlyFileIsReportedOnceAndReloaded) {
    writeFile(path_, kDefaultFile);
    ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
    store_.load();
    record_.textColor = 255;
    store_.saveAndReload();
    EXPECT_EQ(errors_.reports, std::vector<std::string>{kPreferencesWriteError});
    EXPECT_EQ(readFile(path_), kDefaultFile);
    EXPECT_EQ(record_.textColor, 0u);  // the change is lost, the stored value back
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
}

TEST_F(PreferencesFileTest, FullDiskLeavesTheOldFileWhole) {
    writeFile(path_, kDefaultFile);
    // Exit codes of the child: 0 all well, 1 wrong reports, 2 old file
    // changed, 3 temporary file left behind.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{20, 20};
        setrlimit(RLIMIT_FSIZE, &limit);
        Preferences record = defaults();
        setText(record.alarmSoundPath, "C:\\a much longer path than twenty bytes.wav");
        RecordingReporter errors;
        PreferencesStore store(record, errors);
        store.setPath(path_);
        store.save();
        int code = 0;
        if (errors.reports != std::vector<std::string>{kPreferencesWriteError}) code = 1;
        else if (readFile(path_) != kDefaultFile) code = 2;
        else if (fs::exists(path_ + ".tmp")) code = 3;
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace vantorel
