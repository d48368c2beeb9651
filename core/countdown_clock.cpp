#include "core/countdown_clock.h"

#include <cstddef>
#include <cstdio>

#include "core/switches.h"

namespace vantorel {

namespace {

// A tick that arrives this many milliseconds before a whole-second boundary
// counts as having reached it, so that a ticker firing slightly early does
// not show the same second twice.
constexpr std::uint64_t kEarlySlackMs = 50;

constexpr std::uint32_t kTickMs = 1000;

// The window title holds at most this many bytes, terminator included.
constexpr std::size_t kTitleSize = 80;
constexpr char kTitleFormat[] = "Vantorel: Timer Set - %.2dh:%.2dm:%.2ds";

// The longest title: three numbers of INT_MIN's width ("-2147483648").
constexpr std::size_t kTitlePrefixLength = sizeof("Vantorel: Timer Set - ") - 1;
constexpr std::size_t kIntMaxWidth = sizeof("-2147483648") - 1;
constexpr std::size_t kTitleSeparatorsLength = sizeof("h:m:s") - 1;
static_assert(kTitlePrefixLength + 3 * kIntMaxWidth + kTitleSeparatorsLength + 1 <= kTitleSize,
              "the longest window title must fit its buffer");

}  // namespace

CountdownClock::CountdownClock(ClockHost& host, TimeSource& time) : host_(host), time_(time) {}

void CountdownClock::setLimit(std::int32_t hours, std::int32_t minutes, std::int32_t seconds) {
    hours_ = hours;
    minutes_ = minutes;
    seconds_ = seconds;
    total_ = static_cast<std::uint32_t>(hours) * 3600u + static_cast<std::uint32_t>(minutes) * 60u +
             static_cast<std::uint32_t>(seconds);
}

void CountdownClock::restart() {
    remaining_ = total_;
    if (running_) {
        endMs_ = time_.nowMs() + std::uint64_t{remaining_} * kTickMs;
    }
    host_.showText(formatRemaining(remaining_));
}

void CountdownClock::start() {
    running_ = true;
    endMs_ = time_.nowMs() + std::uint64_t{remaining_} * kTickMs;
    host_.startTicker(kTickMs);
    host_.setButtons(false, true, false);
    if (switchOn(host_.logEnabled())) {
        host_.appendLog(kLogCountdownStarted, formatTitle(hours_, minutes_, seconds_));
    }
}

void CountdownClock::stop() {
    // The whole seconds on display stay as the remaining time.
    running_ = false;
    host_.stopTicker();
    host_.setButtons(true, false, true);
    if (switchOn(host_.logEnabled())) {
        host_.appendLog(kLogCountdownStopped, "");
    }
}

void CountdownClock::reset() {
    running_ = false;
    remaining_ = total_;
    host_.stopTicker();
    host_.setButtons(true, false, false);
    host_.showText(formatRemaining(remaining_));
    if (switchOn(host_.logEnabled())) {
        host_.appendLog(kLogCountdownReset, "");
    }
}

void CountdownClock::tick() {
    if (!running_) {
        return;
    }
    const std::uint64_t now = time_.nowMs();
    const std::uint64_t leftMs = endMs_ > now ? endMs_ - now : 0;

    // Whole seconds still to go, rounded up, with an early tick counted as on time.
    std::uint64_t left =
        leftMs > kEarlySlackMs ? (leftMs - kEarlySlackMs + kTickMs - 1) / kTickMs : 0;
    if (left > remaining_) {
        left = remaining_;  // never count up, whatever the clock says
    }

    if (left == 0) {
        running_ = false;
        remaining_ = 0;
        host_.showText(formatRemaining(0));
        host_.stopTicker();
        host_.setButtons(false, false, true);
        if (switchOn(host_.alarmEnabled())) {
            host_.playAlarm();
        }
        host_.restoreWindow();
        // Deliberate: the completed entry is written whatever the log switch says.
        host_.appendLog(kLogCountdownCompleted, "");
        return;
    }

    const bool changed = left != remaining_;
    remaining_ = static_cast<std::uint32_t>(left);

    // Time until the display has to show one second less.
    const std::uint64_t nextBoundaryMs = (left - 1) * kTickMs;
    // leftMs lies beyond that boundary by more than the slack, so this is
    // between kEarlySlackMs + 1 and kTickMs + kEarlySlackMs; never 0. The cap
    // only matters if the time source ever stepped backwards.
    std::uint64_t untilNext = leftMs > nextBoundaryMs ? leftMs - nextBoundaryMs : 1;
    if (untilNext > kTickMs + kEarlySlackMs) {
        untilNext = kTickMs + kEarlySlackMs;
    }
    const auto delay = static_cast<std::uint32_t>(untilNext);

    if (changed) {
        host_.showText(formatRemaining(remaining_));
        if (switchOn(host_.tickingEnabled())) {
            host_.playTick();
        }
    }
    host_.startTicker(delay);
}

std::string CountdownClock::formatRemaining(std::uint32_t seconds) {
    const std::uint32_t s = seconds % 60u;
    const std::uint32_t q = seconds / 60u;
    std::uint32_t h = 0;
    std::uint32_t m = q;
    if (q >= 60u) {
        h = q / 60u;
        m = q % 60u;
    }
    // h is at most 4294967295 / 3600 = 1193046, so every value fits an int.
    const int hi = static_cast<int>(h);
    const int mi = static_cast<int>(m);
    const int si = static_cast<int>(s);
    const int length = std::snprintf(nullptr, 0, "%.2d:%.2d:%.2d", hi, mi, si);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, "%.2d:%.2d:%.2d", hi, mi, si);
    return text;
}

std::string CountdownClock::formatTitle(std::int32_t hours, std::int32_t minutes,
                                        std::int32_t seconds) {
    char title[kTitleSize];
    const int length = std::snprintf(title, sizeof title, kTitleFormat, static_cast<int>(hours),
                                     static_cast<int>(minutes), static_cast<int>(seconds));
    if (length < 0) {
        return {};
    }
    return title;
}

}  // namespace vantorel
