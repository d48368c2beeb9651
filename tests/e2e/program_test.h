// The fixture every end-to-end case builds on: a clean data folder before
// the case, the program closed and the folder removed after it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/harness.h"

namespace e2e {

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FindWindowA("Vantorel", nullptr), nullptr)
            << "a copy of vantorel.exe is already running; the case would only see its notice";
        removeDataFolder();
        ASSERT_FALSE(dataFolderExists()) << "cannot remove " << dataFolder();
    }

    void TearDown() override {
        program.close();
        removeDataFolder();
    }

    // Writes the preferences file, starts the program and waits for its
    // main window. Use as ASSERT_TRUE(startWith(...)).
    testing::AssertionResult startWith(const PreferencesFile& preferences) {
        writePreferences(preferences);
        return startProgram();
    }

    testing::AssertionResult startProgram() {
        if (!program.launch()) {
            return testing::AssertionFailure() << "cannot start " << programPath();
        }
        if (!program.waitForMainWindow()) {
            return testing::AssertionFailure() << "no main window within 10 s";
        }
        return testing::AssertionSuccess();
    }

    // Waits until the log holds `count` lines (the program writes each entry
    // as the last step of an action).
    static testing::AssertionResult logReaches(std::size_t count, Milliseconds timeout = 2s) {
        if (waitUntil([&] { return readLog().size() >= count; }, timeout)) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "the log has " << readLog().size()
                                           << " lines, expected " << count;
    }

    Program program;
};

// "HH:MM:SS" as a number of seconds; -1 when the text is not of that form.
inline long long secondsOf(const std::string& text) {
    if (text.size() < 8) return -1;
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || text.size() - colon != 6 || text[colon + 3] != ':') return -1;
    long long hours = 0;
    for (std::size_t i = 0; i < colon; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        hours = hours * 10 + (text[i] - '0');
    }
    const auto twoDigits = [&](std::size_t at) -> long long {
        if (text[at] < '0' || text[at] > '9' || text[at + 1] < '0' || text[at + 1] > '9') return -1;
        return (text[at] - '0') * 10 + (text[at + 1] - '0');
    };
    const long long minutes = twoDigits(colon + 1);
    const long long seconds = twoDigits(colon + 4);
    if (minutes < 0 || seconds < 0) return -1;
    return hours * 3600 + minutes * 60 + seconds;
}

}  // namespace e2e
