// The countdown: limit, remaining time, the four button states and the side
// effects of every action, driven through a small host interface so that it
// knows nothing about windows, timers, sound devices or files.
#pragma once

#include <cstdint>
#include <string>

namespace vantorel {

// A monotonic clock in milliseconds. Only differences between readings matter.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual std::uint64_t nowMs() = 0;
};

// What the clock needs from the window that shows it.
class ClockHost {
public:
    virtual ~ClockHost() = default;
    // Arm the one-shot-or-repeating ticker so that tick() arrives after delayMs
    // milliseconds; arming again replaces the previous arming.
    virtual void startTicker(std::uint32_t delayMs) = 0;
    // Stop the ticker; harmless when it is not running.
    virtual void stopTicker() = 0;
    virtual void setButtons(bool start, bool stop, bool reset) = 0;
    virtual void showText(const std::string& text) = 0;
    virtual void playTick() = 0;
    virtual void playAlarm() = 0;
    virtual void restoreWindow() = 0;
    virtual void appendLog(const char* message, const std::string& suffix) = 0;
    // The switches, asked for at the moment of each event; only 1 means on.
    virtual std::int32_t logEnabled() = 0;
    virtual std::int32_t tickingEnabled() = 0;
    virtual std::int32_t alarmEnabled() = 0;
};

// Log texts written by the clock.
inline constexpr const char* kLogCountdownStarted = " - Countdown started. ";
inline constexpr const char* kLogCountdownStopped = " - Countdown stopped.";
inline constexpr const char* kLogCountdownReset = " - Countdown reset.";
inline constexpr const char* kLogCountdownCompleted = " - Countdown completed.";

class CountdownClock {
public:
    CountdownClock(ClockHost& host, TimeSource& time);

    // totalSeconds := h*3600 + m*60 + s in unsigned 32-bit arithmetic.
    void setLimit(std::int32_t hours, std::int32_t minutes, std::int32_t seconds);
    // Back to the full limit and show it; state, buttons and ticker unchanged.
    // While running, the countdown goes on from the new limit from this moment.
    void restart();
    void start();
    void stop();
    void reset();
    void tick();

    std::uint32_t totalSeconds() const { return total_; }
    std::uint32_t remainingSeconds() const { return remaining_; }
    bool running() const { return running_; }

    // "%.2d:%.2d:%.2d" of hours, minutes, seconds; hours are not limited to 99.
    static std::string formatRemaining(std::uint32_t seconds);
    // "Vantorel: Timer Set - %.2dh:%.2dm:%.2ds" of the three limit fields.
    static std::string formatTitle(std::int32_t hours, std::int32_t minutes, std::int32_t seconds);

private:
    ClockHost& host_;
    TimeSource& time_;
    std::int32_t hours_ = 0, minutes_ = 0, seconds_ = 0;
    std::uint32_t total_ = 0;
    std::uint32_t remaining_ = 0;
    bool running_ = false;
    std::uint64_t endMs_ = 0;  // when running: the moment the countdown reaches zero
};

}  // namespace vantorel
