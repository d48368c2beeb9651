// Fuzzes reading the program log back: any bytes in the file must come out as
// clean lines, the same lines a simple byte-by-byte reading gives.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "log/program_log.h"

namespace {

using vantorel::LocalClock;
using vantorel::LocalTime;
using vantorel::LogSink;

class FailingReporter : public vantorel::ErrorReporter {
public:
    // The file was just written, so reading it must never fail.
    void report(const char*) override { abort(); }
};

class FixedClock : public LocalClock {
public:
    LocalTime now() override { return {2026, 1, 5, 7, 8, 9}; }
};

class CheckingSink : public LogSink {
public:
    void line(std::string_view text) override {
        for (char c : text) {
            if (c == '\n' || c == '\0') abort();
        }
        lines.emplace_back(text);
    }
    std::vector<std::string> lines;
};

// The expected lines, one byte at a time: split at line feeds, cut each line
// at its first NUL, drop one carriage return before the line feed; a final
// line without a line feed counts, whole, when it has any bytes.
std::vector<std::string> expectedLines(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines;
    std::string text;
    bool pending = false;
    bool cut = false;
    auto finish = [&](bool byLineFeed) {
        if (byLineFeed && !cut && !text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back(text);
        text.clear();
        pending = cut = false;
    };
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            finish(true);
            continue;
        }
        pending = true;
        if (c == '\0') cut = true;
        if (!cut) text += c;
    }
    if (pending) finish(false);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FailingReporter errors;
    FixedClock clock;
    vantorel::ProgramLog log(errors, clock);
    // A fresh folder for each input, removed again at the end, so that a long
    // run leaves nothing behind.
    static const std::string pattern = [] {
        const char* tmp = getenv("TMPDIR");
        return std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz_log_read_XXXXXX";
    }();
    std::string folder = pattern;
    if (!mkdtemp(folder.data())) abort();
    log.setFolder(folder);

    std::FILE* file = std::fopen(log.path().c_str(), "wb");
    if (!file) abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) abort();
    std::fclose(file);

    CheckingSink sink;
    log.readLog(sink);

    if (sink.lines != expectedLines(data, size)) abort();

    log.deleteLog();
    rmdir(folder.c_str());
    return 0;
}
