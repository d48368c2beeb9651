// The program log file: appending timestamped entries, reading all lines back
// and deleting the file. Plain standard-library file work; message boxes and
// the local time come in through ErrorReporter and LocalClock.
#include "log/program_log.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace vantorel {

namespace {

// Longest path the file functions are given (260-byte buffers on Windows).
constexpr std::size_t kPathMax = 259;

// Lines are read in blocks of this size and cut in memory.
constexpr std::size_t kReadBlock = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const std::string& path, const char* mode) {
    if (path.empty()) return File();
    return File(std::fopen(path.c_str(), mode));
}

// Collects the bytes of one line as the blocks go by and hands the finished
// line to the sink: without its line feed, cut at its first NUL byte, and
// without the one carriage return before that line feed.
class LineSplitter {
public:
    explicit LineSplitter(LogSink& sink) : sink_(sink) {}

    void feed(const char* data, std::size_t size) {
        while (size > 0) {
            const void* lf = std::memchr(data, '\n', size);
            const std::size_t length =
                lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
            take(data, length);
            if (!lf) return;
            finishLine(true);
            data += length + 1;
            size -= length + 1;
        }
    }

    // End of the file: a last line without a line feed still counts.
    void finish() {
        if (pending_) finishLine(false);
    }

private:
    void take(const char* data, std::size_t size) {
        if (size == 0) return;
        pending_ = true;
        if (cut_) return;  // after a NUL byte the rest of the line is skipped
        const void* nul = std::memchr(data, '\0', size);
        if (nul) {
            size = static_cast<std::size_t>(static_cast<const char*>(nul) - data);
            cut_ = true;
        }
        text_.append(data, size);
    }

    // A line ended by a line feed loses the "\r" just before it; a last line
    // without one keeps all its characters.
    void finishLine(bool byLineFeed) {
        std::size_t length = text_.size();
        if (byLineFeed && !cut_ && length > 0 && text_[length - 1] == '\r') --length;
        sink_.line(std::string_view(text_.data(), length));
        text_.clear();  // keeps the capacity for the next line
        pending_ = false;
        cut_ = false;
    }

    LogSink& sink_;
    std::string text_;
    bool pending_ = false;  // bytes of an unfinished line have been seen
    bool cut_ = false;      // the unfinished line has met a NUL byte
};

}  // namespace

std::string formatTimestamp(const LocalTime& time) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%.2d-%.2d-%.2d %.2d:%.2d:%.2d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return std::string(buffer);
}

ProgramLog::ProgramLog(ErrorReporter& errors, LocalClock& clock) : errors_(errors), clock_(clock) {}

void ProgramLog::setFolder(const std::string& folder) {
    path_.clear();
    const std::size_t nameLength = std::strlen(kLogFileName);
    // An empty path opens nothing, so every later operation fails cleanly
    // instead of writing "/vantorellog.txt" or a cut-off path somewhere else.
    if (folder.empty() || folder.size() > kPathMax - nameLength ||
        folder.find('\0') != std::string::npos) {
        return;
    }
    path_ = folder;
    path_ += kLogFileName;
}

void ProgramLog::appendLog(const char* message, const std::string& suffix) {
    std::string entry = formatTimestamp(clock_.now());
    if (message) entry += message;
    entry.append(suffix.c_str());  // the suffix ends at its first NUL, like a C string
    if (entry.size() > kLogEntryMax) entry.resize(kLogEntryMax);
    entry += '\n';

    File file = openFile(path_, "ab+");
    if (!file) {
        errors_.report(kLogWriteError);
        return;
    }
    std::fwrite(entry.data(), 1, entry.size(), file.get());
}

void ProgramLog::readLog(LogSink& sink) {
    File file = openFile(path_, "rb");
    if (!file) {
        errors_.report(kLogReadError);
        return;
    }
    std::unique_ptr<char[]> block(new char[kReadBlock]);
    LineSplitter lines(sink);
    for (;;) {
        const std::size_t got = std::fread(block.get(), 1, kReadBlock, file.get());
        lines.feed(block.get(), got);
        if (got < kReadBlock) break;  // end of the file, or a read error ends it the same way
    }
    lines.finish();
}

void ProgramLog::deleteLog() {
    if (!path_.empty()) std::remove(path_.c_str());
}

}  // namespace vantorel
