// The countdown clock driven by a recording host and a hand-set time source.
// Every host call is one word of a string, so whole sequences compare at
// once: "arm<ms>" arms the ticker, "halt" stops it, "b<start><stop><reset>"
// sets the buttons, a shown text stands for itself, "tick", "alarm",
// "restore" are the sounds and the window, and "log<message><suffix>" is a
// log entry, marked "(running)" when the clock already counts as running.
#include "core/countdown_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {
using namespace vantorel;

const std::string kFinish = "00:00:00 halt b001 alarm restore log - Countdown completed.";

class Clock : public ::testing::Test, ClockHost, TimeSource {
protected:
    std::uint64_t nowMs() override { return now; }
    void startTicker(std::uint32_t ms) override { add("arm" + std::to_string(ms)); }
    void stopTicker() override { add("halt"); }
    void setButtons(bool a, bool b, bool c) override { add({'b', "01"[a], "01"[b], "01"[c]}); }
    void showText(const std::string& text) override { add(text); }
    void playTick() override { add("tick"); }
    void playAlarm() override { add("alarm"); }
    void restoreWindow() override { add("restore"); }
    void appendLog(const char* message, const std::string& suffix) override {
        add("log" + (message + suffix) + (clock.running() ? " (running)" : ""));
    }
    std::int32_t logEnabled() override { return 1; }
    std::int32_t tickingEnabled() override { return 1; }
    std::int32_t alarmEnabled() override { return 1; }

    void add(const std::string& word) { calls += (calls.empty() ? "" : " ") + word; }
    std::string take() { return std::exchange(calls, ""); }
    // Sets and shows a limit, as the window does.
    std::string limit(int h, int m, int s) {
        clock.setLimit(h, m, s);
        clock.restart();
        return take();
    }
    std::string after(std::uint64_t ms) {
        now += ms;
        clock.tick();
        return take();
    }

    std::string calls;
    std::uint64_t now = 5'000'000;
    CountdownClock clock{*this, *this};
};

// A limit of -1 hours (a damaged preferences file) wraps to 4294963696
// seconds, so the end lies past 32-bit milliseconds. Stop keeps the shown
// seconds, Reset goes back to the limit.
TEST_F(Clock, StopResetAndTheTickerKeepRealTime) {
    EXPECT_EQ(limit(-1, 5, 123), "1193045:35:19");
    clock.start();
    EXPECT_EQ(take(),
              "arm1000 b010 log - Countdown started. Vantorel: Timer Set - -01h:05m:123s"
              " (running)");
    EXPECT_EQ(after(1000), "1193045:35:18 tick arm1000");
    now += 600;  // part of a second passes before Stop
    clock.stop();
    EXPECT_EQ(take() + after(1000), "halt b101 log - Countdown stopped.");  // a stray tick: nothing
    clock.start();
    take();
    EXPECT_EQ(after(1000), "1193045:35:17 tick arm1000");
    clock.reset();
    EXPECT_EQ(take(), "halt b100 1193045:35:19 log - Countdown reset.");

    // The ticker comes early or late, the limit changes on the way and the
    // program freezes: the display follows real time, and each arming aims at
    // the next whole second, so no drift builds up. A tick that finds no new
    // second only re-arms; the end comes once, with the alarm and no tick sound.
    EXPECT_EQ(limit(1, 0, 0), "01:00:00");
    clock.start();
    take();
    EXPECT_EQ(after(960), "00:59:59 tick arm1040") << "40 ms early counts as on time";
    EXPECT_EQ(after(4540), "00:59:55 tick arm500") << "late: catches up in one step";
    now += 300;  // a new limit counts from now, while the ticker keeps its phase
    EXPECT_EQ(limit(0, 1, 0), "00:01:00");
    EXPECT_EQ(after(200), "arm800");
    EXPECT_EQ(after(60'000), kFinish) << "a freeze past the end";
    EXPECT_EQ(limit(0, 0, 0), "00:00:00");  // finishes at the next tick
    clock.start();
    take();
    EXPECT_EQ(after(1000), kFinish);
}

}  // namespace
