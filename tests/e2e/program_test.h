// The fixture every end-to-end case builds on: a clean data folder before
// the case, the program closed and the folder removed after it. Including it
// brings GoogleTest, <windows.h> and the harness.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "resource.h"
#include "tests/e2e/harness.h"

namespace e2e {

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FindWindowA("Vantorel", nullptr), nullptr)
            << "a copy of vantorel.exe is already running; the case would only see its notice";
        removeDataFolder();
        ASSERT_EQ(GetFileAttributesA(dataFolder().c_str()), INVALID_FILE_ATTRIBUTES)
            << "cannot remove " << dataFolder();
    }

    void TearDown() override {
        program.close();
        removeDataFolder();
    }

    // Writes the preferences file (the settings, or this text), starts the
    // program and waits for its main window. Use as ASSERT_TRUE(startWith()).
    testing::AssertionResult startWith(const PreferencesFile& settings = PreferencesFile::quiet()) {
        return startWith(settings.text());
    }
    testing::AssertionResult startWith(const std::string& text) {
        writePreferences(text);
        if (program.launch() && program.waitForMainWindow()) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "no main window of " << programPath() << " in 10 s";
    }

    // Clicks button `id` (when enabled), then waits until the enabled buttons
    // read `buttons` and the log holds `logLines` lines.
    testing::AssertionResult press(int id, const std::string& buttons, std::size_t logLines = 0) {
        if (!program.click(id)) return testing::AssertionFailure() << "button disabled";
        if (waitUntil(
                [&] {
                    return program.enabledButtons() == buttons && logMessages().size() >= logLines;
                },
                2s)) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "buttons " << program.enabledButtons() << ", "
                                           << logMessages().size() << " log lines";
    }

    Program program;
};

inline RECT workArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// Program::layout with the buttons' row at `left`, `top` and the display at
// `displayTop`, as wide and as high as the work area.
inline std::string layoutAt(int left, int top, int displayTop) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Start@%d,%d 80x40 Stop@%d,%d 80x40 Reset@%d,%d 80x40 display@0,%d %ldx%ld", left,
                  top, left + 90, top, left + 180, top, displayTop, workArea().right,
                  workArea().bottom);
    return text;
}

// "HH:MM:SS" as a number of seconds; -1 when the text is not of that form.
inline long long secondsOf(const std::string& text) {
    unsigned h = 0, m = 0, s = 0;
    char check[40];
    if (std::sscanf(text.c_str(), "%u:%u:%u", &h, &m, &s) != 3 || m > 59 || s > 59) return -1;
    std::snprintf(check, sizeof check, "%.2u:%.2u:%.2u", h, m, s);
    return text == check ? h * 3600LL + m * 60 + s : -1;
}

}  // namespace e2e
