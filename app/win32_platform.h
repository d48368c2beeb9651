// The Windows side of the portable code's interfaces, all in one place:
// error boxes (ErrorReporter), the local time (LocalClock), the monotonic
// clock (TimeSource), and the file operations of prefs/file_operations.h.
#pragma once

#include <cstdint>

#include "core/countdown_clock.h"
#include "core/error_reporter.h"
#include "log/program_log.h"

namespace vantorel {

// File failures as a system-modal error box with no owner window
// (deliberate: the main window stays usable); the program carries on.
class MessageBoxReporter final : public ErrorReporter {
public:
    void report(const char* text) override;
};

// GetLocalTime.
class SystemLocalClock final : public LocalClock {
public:
    LocalTime now() override;
};

// Milliseconds from the performance counter; never goes backwards.
class PerformanceCounterTime final : public TimeSource {
public:
    std::uint64_t nowMs() override;
};

}  // namespace vantorel
