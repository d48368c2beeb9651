// The countdown as the user sees it: it keeps real time even when the
// program's thread stands still, ends once at zero and brings the window
// back, and the log switch counts as on only when it is 1.
#include <algorithm>

#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

using Countdown = ProgramTest;

TEST_F(Countdown, KeepsRealTimeThroughAFreezeAndEndsOnceAtZero) {
    PreferencesFile settings = PreferencesFile::quiet(2);
    settings.timerMinutes = 0;
    settings.timerSeconds = 8;
    settings.tickingEnabled = settings.alarmEnabled = 1;
    ASSERT_TRUE(startWith(settings));
    const auto started = SteadyClock::now();
    ASSERT_TRUE(press(IDC_START, "Stop"));
    PostMessageA(program.mainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return program.displayText() == "00:00:07"; }, 2s));
    // Nothing runs on the program's thread for 3.5 s: no timer messages, no painting.
    ASSERT_TRUE(program.freezeUi(3500));
    Lines seen;
    ASSERT_TRUE(waitUntil(
        [&] {
            seen.push_back(program.displayText());
            return seen.back() == "00:00:00";
        },
        8s));
    EXPECT_GE(elapsedMs(started), 7600);
    EXPECT_LE(elapsedMs(started), 8400);
    EXPECT_TRUE(std::is_sorted(seen.rbegin(), seen.rend())) << "counted up or wrapped";
    EXPECT_TRUE(waitUntil(
        [&] { return program.enabledButtons() == "Reset" && !IsIconic(program.mainWindow()); },
        2s));
    // Only the completion is logged with the switch off; no tick comes after it.
    Sleep(1200);
    EXPECT_EQ(logMessages(), Lines{" - Countdown completed."});
    EXPECT_EQ(program.displayText(), "00:00:00");
    ASSERT_TRUE(press(IDC_RESET, "Start"));
    EXPECT_EQ(program.displayText(), "00:00:08");
}

}  // namespace
}  // namespace e2e
