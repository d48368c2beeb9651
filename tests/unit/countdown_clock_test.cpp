#include "core/countdown_clock.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vantorel {
namespace {

using Calls = std::vector<std::string>;

const std::string kStarted3Min = "log - Countdown started. |Vantorel: Timer Set - 00h:03m:00s";
const std::string kStopped = "log - Countdown stopped.|";
const std::string kReset = "log - Countdown reset.|";
const std::string kCompleted = "log - Countdown completed.|";
const Calls kFinish = {"show 00:00:00", "stopTicker",    "buttons 001",
                       "playAlarm",     "restoreWindow", kCompleted};

// The calls of a tick that shows `text` and arms the ticker for `delayMs`.
Calls shows(const std::string& text, std::uint32_t delayMs = 1000) {
    return {"show " + text, "playTick", "startTicker " + std::to_string(delayMs)};
}

// The fixture is the clock's host and time source itself: it records every
// host call as one string, in order.
class CountdownClockTest : public ::testing::Test, protected ClockHost, protected TimeSource {
protected:
    std::uint64_t nowMs() override { return now; }
    void startTicker(std::uint32_t delayMs) override {
        calls.push_back("startTicker " + std::to_string(armedMs = delayMs));
    }
    void stopTicker() override { calls.push_back("stopTicker"); }
    void setButtons(bool start, bool stop, bool reset) override {
        calls.push_back(std::string("buttons ") + "01"[start] + "01"[stop] + "01"[reset]);
    }
    void showText(const std::string& text) override { calls.push_back("show " + text); }
    void playTick() override { calls.push_back("playTick"); }
    void playAlarm() override { calls.push_back("playAlarm"); }
    void restoreWindow() override { calls.push_back("restoreWindow"); }
    void appendLog(const char* message, const std::string& suffix) override {
        calls.push_back("log" + std::string(message) + "|" + suffix);
        if (onLog) onLog();
    }
    std::int32_t logEnabled() override { return log; }
    std::int32_t tickingEnabled() override { return ticking; }
    std::int32_t alarmEnabled() override { return alarm; }

    Calls take() { return std::exchange(calls, {}); }
    // Sets the limit as the window does at creation and forgets those calls.
    void limit(std::int32_t h, std::int32_t m, std::int32_t s) {
        clock.setLimit(h, m, s);
        clock.restart();
        take();
    }
    // Sets the limit and starts; forgets those calls.
    void startWith(std::int32_t h, std::int32_t m, std::int32_t s) {
        limit(h, m, s);
        clock.start();
        take();
    }
    // Delivers a tick `ms` after the previous event.
    Calls tickAfter(std::int64_t ms) {
        now += static_cast<std::uint64_t>(ms);
        clock.tick();
        return take();
    }

    Calls calls;
    std::uint64_t now = 5'000'000;
    std::uint32_t armedMs = 0;
    std::int32_t log = 1, ticking = 1, alarm = 1;
    std::function<void()> onLog;
    CountdownClock clock{*this, *this};
};

TEST(CountdownClockFormat, RemainingTimeAndTitle) {
    EXPECT_EQ(CountdownClock::formatRemaining(0), "00:00:00");
    EXPECT_EQ(CountdownClock::formatRemaining(59), "00:00:59");
    EXPECT_EQ(CountdownClock::formatRemaining(3599), "00:59:59");
    EXPECT_EQ(CountdownClock::formatRemaining(3600), "01:00:00");
    EXPECT_EQ(CountdownClock::formatRemaining(359999), "99:59:59");
    EXPECT_EQ(CountdownClock::formatRemaining(360000), "100:00:00");
    EXPECT_EQ(CountdownClock::formatRemaining(UINT32_MAX), "1193046:28:15");

    EXPECT_EQ(CountdownClock::formatTitle(0, 3, 0), "Vantorel: Timer Set - 00h:03m:00s");
    EXPECT_EQ(CountdownClock::formatTitle(-1, 5, 123), "Vantorel: Timer Set - -01h:05m:123s");
    EXPECT_EQ(CountdownClock::formatTitle(INT_MIN, INT_MIN, INT_MIN),
              "Vantorel: Timer Set - -2147483648h:-2147483648m:-2147483648s");
    EXPECT_EQ(CountdownClock::formatTitle(INT_MAX, 0, 0),
              "Vantorel: Timer Set - 2147483647h:00m:00s");
}

TEST_F(CountdownClockTest, LimitUpTo99_59_59AndBeyondUsesWrappingUnsignedArithmetic) {
    clock.setLimit(0, 3, 0);
    EXPECT_EQ(clock.totalSeconds(), 180u);
    EXPECT_EQ(clock.remainingSeconds(), 0u) << "setLimit alone leaves the remaining time";
    clock.setLimit(-1, 0, 0);
    EXPECT_EQ(clock.totalSeconds(), 4294963696u);
    EXPECT_TRUE(calls.empty());

    clock.setLimit(99, 59, 59);
    clock.restart();
    EXPECT_EQ(take(), Calls{"show 99:59:59"});
    clock.start();
    take();
    EXPECT_EQ(tickAfter(1000), shows("99:59:58"));

    // 4294967295 seconds: the end lies beyond 32-bit milliseconds.
    startWith(0, 0, -1);
    EXPECT_EQ(tickAfter(1000), shows("1193046:28:14"));
}

TEST_F(CountdownClockTest, StartStopResumeAndResetInOrderWithTheLogLast) {
    clock.setLimit(0, 3, 0);
    clock.restart();
    EXPECT_EQ(take(), Calls{"show 00:03:00"});
    clock.start();
    EXPECT_EQ(take(), (Calls{"startTicker 1000", "buttons 010", kStarted3Min}));
    EXPECT_EQ(tickAfter(1000), shows("00:02:59"));
    EXPECT_EQ(tickAfter(1000), shows("00:02:58"));
    EXPECT_EQ(tickAfter(1000), shows("00:02:57"));

    now += 600;  // part of a second passes before Stop
    clock.stop();
    EXPECT_EQ(take(), (Calls{"stopTicker", "buttons 101", kStopped}));
    EXPECT_EQ(clock.remainingSeconds(), 177u);
    EXPECT_TRUE(tickAfter(1000).empty()) << "a stray tick after Stop is ignored";

    now += 60'000;
    clock.start();
    EXPECT_EQ(take(), (Calls{"startTicker 1000", "buttons 010", kStarted3Min}));
    EXPECT_EQ(tickAfter(1000), shows("00:02:56"));

    clock.stop();
    take();
    clock.reset();
    EXPECT_EQ(take(), (Calls{"stopTicker", "buttons 100", "show 00:03:00", kReset}));
    EXPECT_EQ(clock.remainingSeconds(), 180u);
}

TEST_F(CountdownClockTest, FinalTickFinishesThenOnlyResetOrANewLimitShow) {
    startWith(0, 0, 2);
    EXPECT_EQ(tickAfter(1000), shows("00:00:01"));
    EXPECT_EQ(tickAfter(1000), kFinish);
    EXPECT_FALSE(clock.running());
    EXPECT_TRUE(tickAfter(1000).empty());

    clock.setLimit(0, 2, 0);
    clock.restart();
    EXPECT_EQ(take(), Calls{"show 00:02:00"});
    EXPECT_TRUE(tickAfter(1000).empty());
    clock.reset();
    EXPECT_EQ(take(), (Calls{"stopTicker", "buttons 100", "show 00:02:00", kReset}));
}

TEST_F(CountdownClockTest, LimitChangeWhileRunningCountsFromNewLimitAtOnce) {
    startWith(0, 3, 0);
    tickAfter(1000);
    now += 300;  // the dialog is confirmed 300 ms after that tick
    clock.setLimit(0, 1, 0);
    clock.restart();
    EXPECT_EQ(take(), Calls{"show 00:01:00"}) << "restart leaves the ticker alone";
    EXPECT_TRUE(clock.running());
    // The ticker still fires on the old phase; that tick only re-arms.
    EXPECT_EQ(tickAfter(700), Calls{"startTicker 300"});
    EXPECT_EQ(tickAfter(300), shows("00:00:59"));

    // Set to zero, it finishes at the next tick.
    clock.setLimit(0, 0, 0);
    clock.restart();
    EXPECT_EQ(take(), Calls{"show 00:00:00"});
    EXPECT_EQ(tickAfter(400), kFinish);
}

TEST_F(CountdownClockTest, ZeroRemainingFinishesOnNextTickWithoutWrapping) {
    limit(0, 0, 0);
    clock.start();
    EXPECT_EQ(take(), (Calls{"startTicker 1000", "buttons 010",
                             "log - Countdown started. |Vantorel: Timer Set - 00h:00m:00s"}));
    EXPECT_EQ(tickAfter(1000), kFinish);
    EXPECT_EQ(clock.remainingSeconds(), 0u);
}

TEST_F(CountdownClockTest, LateTickCatchesUpInOneStepEarlyTickShowsNothingNew) {
    startWith(0, 3, 0);
    EXPECT_EQ(tickAfter(4500), shows("00:02:56", 500));
    EXPECT_EQ(tickAfter(500), shows("00:02:55"));

    startWith(0, 0, 5);
    EXPECT_EQ(tickAfter(60'000), kFinish) << "a freeze past the end plays no tick";

    startWith(0, 3, 0);
    EXPECT_EQ(tickAfter(300), Calls{"startTicker 700"}) << "spurious tick only re-arms";
    EXPECT_EQ(tickAfter(660), shows("00:02:59", 1040)) << "40 ms early counts as on time";
    EXPECT_EQ(tickAfter(1040), shows("00:02:58"));
}

TEST_F(CountdownClockTest, JitteredTickerNeitherSkipsNorRepeatsASecond) {
    startWith(0, 1, 0);
    const std::uint64_t started = now;
    const std::int64_t jitter[] = {-45, 30, -10, 120, 0, -30, 90, 15, -50, 200};
    std::uint32_t expected = 59;
    for (int i = 0; clock.running() && i < 200; ++i) {
        const std::uint32_t armed = armedMs;
        ASSERT_GE(armed, 1u);
        ASSERT_LE(armed, 1050u);
        const Calls calls = tickAfter(armed + jitter[i % 10]);
        if (expected == 0) {
            ASSERT_EQ(calls, kFinish) << "tick " << i;
            break;
        }
        ASSERT_EQ(calls, shows(CountdownClock::formatRemaining(expected--), armedMs))
            << "tick " << i;
    }
    EXPECT_FALSE(clock.running());
    const std::uint64_t elapsed = now - started;
    EXPECT_GE(elapsed, 60'000u - 50u);
    EXPECT_LE(elapsed, 60'000u + 200u) << "no drift accumulates over the countdown";
}

class CountdownClockSwitchTest : public CountdownClockTest,
                                 public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(CountdownClockSwitchTest, OnlyExactlyOneCountsAsOn) {
    log = ticking = alarm = GetParam();
    limit(0, 0, 2);
    clock.start();
    EXPECT_EQ(take(), (Calls{"startTicker 1000", "buttons 010"}));
    EXPECT_EQ(tickAfter(1000), (Calls{"show 00:00:01", "startTicker 1000"}));
    clock.stop();
    EXPECT_EQ(take(), (Calls{"stopTicker", "buttons 101"}));
    clock.start();
    take();
    EXPECT_EQ(tickAfter(1000),
              (Calls{"show 00:00:00", "stopTicker", "buttons 001", "restoreWindow", kCompleted}))
        << "the completed entry is written with logging off";
    clock.reset();
    EXPECT_EQ(take(), (Calls{"stopTicker", "buttons 100", "show 00:00:02"}));
}

INSTANTIATE_TEST_SUITE_P(OffValues, CountdownClockSwitchTest, ::testing::Values(0, 2, -1));

TEST_F(CountdownClockTest, StateIsCompleteBeforeTheLogEntry) {
    // A message box during a log write dispatches ticks; they must see the new state.
    limit(0, 3, 0);
    onLog = [this] {
        onLog = nullptr;
        now += 1000;
        clock.tick();
    };
    clock.start();
    Calls expected = {"startTicker 1000", "buttons 010", kStarted3Min};
    for (const std::string& call : shows("00:02:59")) expected.push_back(call);
    EXPECT_EQ(take(), expected);

    onLog = [this] { EXPECT_FALSE(clock.running()); };
    clock.stop();
    EXPECT_EQ(clock.remainingSeconds(), 179u);
}

}  // namespace
}  // namespace vantorel
