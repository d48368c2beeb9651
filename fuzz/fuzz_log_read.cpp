// Arbitrary bytes as the program log, read back: reading never fails and
// gives the lines that reading the bytes one by one gives.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "log/program_log.h"

using namespace vantorel;
using Lines = std::vector<std::string>;

struct Checks : ErrorReporter, LocalClock, LogSink {
    void report(const char*) override { __builtin_trap(); }
    LocalTime now() override { return {}; }
    void line(std::string_view text) override { lines.emplace_back(text); }
    Lines lines;
};

// The lines split at line feeds, each cut at its first NUL; a line that was
// not cut loses one CR before its line feed. A last line without a line
// feed counts when it has any bytes.
Lines byteByByte(const std::uint8_t* data, std::size_t size) {
    Lines lines;
    std::string text;
    bool cut = false;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            if (!cut && !text.empty() && text.back() == '\r') text.pop_back();
            lines.push_back(std::exchange(text, {}));
            cut = false;
            continue;
        }
        cut = cut || c == '\0';
        if (!cut) text += c;
    }
    if (size > 0 && data[size - 1] != '\n') lines.push_back(text);
    return lines;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    char folder[] = "/tmp/fuzz_log_read_XXXXXX";
    if (!mkdtemp(folder)) __builtin_trap();
    Checks checks;
    ProgramLog log(checks, checks);
    log.setFolder(folder);
    std::ofstream(log.path(), std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    log.readLog(checks);  // reports, and so stops, when the file was not written
    if (checks.lines != byteByByte(data, size)) __builtin_trap();
    log.deleteLog();
    rmdir(folder);
    return 0;
}
