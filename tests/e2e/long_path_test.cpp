// The preferences store on Windows itself, where a path holds at most 259
// characters: the longest such path still saves, its temporary file included.
#include <gtest/gtest.h>

#include "prefs/preferences_file.h"
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

struct Reports : vantorel::ErrorReporter {
    void report(const char* text) override { texts += text; }
    std::string texts;
};

TEST(LongPath, TheLongestPreferencesPathStillSaves) {
    const std::string folder = scratchFolder("vantorel-e2e-long-path");
    const std::string path = folder + "\\" + std::string(254 - folder.size(), 'n') + ".cfg";
    ASSERT_EQ(path.size(), 259u);
    vantorel::Preferences record;
    Reports reports;
    vantorel::PreferencesStore store(record, reports);
    store.setPath(path);
    store.load();  // no file yet: the defaults, saved
    EXPECT_EQ(reports.texts, "");
    EXPECT_EQ(readFileBytes(path), Settings().text());
    DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace e2e
