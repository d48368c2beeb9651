// The program log: one timestamped line per event, appended to a text file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/error_reporter.h"

namespace vantorel {

// The complete catalogue of log messages.
inline constexpr const char* kLogSessionStart = " - Session Start";
inline constexpr const char* kLogSessionEnd = " - Session End";
// " - Countdown started. " and the other three countdown texts are in
// core/countdown_clock.h, next to the code that writes them.
inline constexpr const char* kLogLoggingEnabled = " - Logging is enabled";
inline constexpr const char* kLogLoggingDisabled = " - Logging is disabled";
inline constexpr const char* kLogNewLogStarted = " - New log started.";

inline constexpr const char* kLogFileName = "/vantorellog.txt";
inline constexpr const char* kLogWriteError = "Cannot write to program log!";
inline constexpr const char* kLogReadError = "Cannot read program log!";
inline constexpr std::size_t kLogEntryMax = 259;  // longest entry written

struct LocalTime {
    int year, month, day, hour, minute, second;
};

class LocalClock {
public:
    virtual ~LocalClock() = default;
    virtual LocalTime now() = 0;
};

class LogSink {
public:
    virtual ~LogSink() = default;
    // One line of the file, without its line feed (and a carriage return before it).
    virtual void line(std::string_view text) = 0;
};

// "YYYY-MM-DD HH:MM:SS", every field padded to two digits at least.
std::string formatTimestamp(const LocalTime& time);

class ProgramLog {
public:
    ProgramLog(ErrorReporter& errors, LocalClock& clock);

    // logPath := folder + "/vantorellog.txt". An empty folder or a result over
    // 259 characters leaves the log with a path that cannot be opened.
    void setFolder(const std::string& folder);
    const std::string& path() const { return path_; }

    void appendLog(const char* message, const std::string& suffix = std::string());
    void readLog(LogSink& sink);
    void deleteLog();

private:
    ErrorReporter& errors_;
    LocalClock& clock_;
    std::string path_;
};

}  // namespace vantorel
