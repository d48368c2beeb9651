// Arbitrary bytes as the program log, read back: reading never fails and no
// line holds a line feed or a NUL.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "log/program_log.h"

using namespace vantorel;

struct Checks : ErrorReporter, LocalClock, LogSink {
    void report(const char*) override { __builtin_trap(); }
    LocalTime now() override { return {}; }
    void line(std::string_view text) override {
        if (text.find_first_of(std::string_view("\n\0", 2)) != text.npos) __builtin_trap();
    }
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    char folder[] = "/tmp/fuzz_log_read_XXXXXX";
    if (!mkdtemp(folder)) __builtin_trap();
    Checks checks;
    ProgramLog log(checks, checks);
    log.setFolder(folder);
    std::ofstream(log.path(), std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    log.readLog(checks);  // reports, and so stops, when the file was not written
    log.deleteLog();
    rmdir(folder);
    return 0;
}
