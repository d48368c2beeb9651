// The countdown as the user sees and hears it: it keeps real time even when
// the program's thread stands still, ends once at zero with the alarm and
// brings the window back at once, and the log switch counts as on only at 1.
#include "tests/e2e/program_test.h"

namespace e2e {

using Countdown = ProgramTest;

// The built-in sounds play into a sound device (ALSA's null device under
// the test script) that takes real time, so a sound that held up the
// window's thread would delay the window's return.
TEST_F(Countdown, KeepsRealTimeThroughAFreezeAndEndsOnceAtZero) {
    ASSERT_TRUE(startWith(
        "0|2|1|1|510|10|100|0|0|8|0|16777215|320|700|0|Arial|No file selected|No file selected"));
    const auto started = SteadyClock::now();
    ASSERT_TRUE(press(IDC_START, "Stop"));
    PostMessageA(program.mainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return program.displayText() == "00:00:07"; }, 2s));
    // Nothing runs on the program's thread for 3.5 s: no timer messages, no painting.
    ASSERT_TRUE(program.freezeUi(3500));
    ASSERT_TRUE(waitUntil([&] { return program.displayText() == "00:00:00"; }, 8s));
    const auto zero = SteadyClock::now();
    EXPECT_GE(elapsedMs(started), 7600);
    EXPECT_LE(elapsedMs(started), 8400);
    EXPECT_TRUE(waitUntil([&] { return !IsIconic(program.mainWindow()); }, 2s));
    EXPECT_LE(elapsedMs(zero), 400) << "the window came back late: did the alarm hold it up?";
    EXPECT_EQ(program.enabledButtons(), "Reset");
    // Only the completion is logged with the switch at 2; no tick comes after it.
    Sleep(1200);
    EXPECT_EQ(logMessages(), Lines{" - Countdown completed."});
    EXPECT_EQ(program.displayText(), "00:00:00");
    ASSERT_TRUE(press(IDC_RESET, "Start"));
    EXPECT_EQ(program.displayText(), "00:00:08");
}

}  // namespace e2e
