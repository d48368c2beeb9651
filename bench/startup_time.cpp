// Time from CreateProcess to the main window being visible (startup screen
// off), median of several runs, against the same time for a bare window
// program (bench_bare_window.exe beside this one) measured in the same run:
// Wine's own process start dominates both, so the ratio is the figure.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "tests/e2e/harness.h"

namespace {

using namespace e2e;

// Milliseconds until `exe` shows a visible window of `windowClass`, looked
// for every millisecond.
long long startTime(const std::string& exe, const char* windowClass) {
    Program program;
    const auto started = SteadyClock::now();
    if (!program.launch(exe)) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    for (HWND window = nullptr; !window || !IsWindowVisible(window); Sleep(1)) {
        window = FindWindowA(windowClass, nullptr);
        if (program.ended() || elapsedMs(started) > 30000) {
            std::printf("%s shows no window: %s\n", exe.c_str(), program.problem().c_str());
            std::exit(1);
        }
    }
    const long long ms = elapsedMs(started);
    program.waitForMainWindow(windowClass);  // so that close() finds it
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 9;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--runs=", 0) == 0) runs = std::max(1, std::stoi(arg.substr(7)));
    }
    writePreferences(
        "0|0|0|0|510|10|100|0|3|0|0|16777215|320|700|0|Arial|No file selected|No file selected");
    const std::string bare = bench::besideThisProgram("bench_bare_window.exe");

    // Taken in turns, so a slow spell of the machine touches both alike.
    std::vector<long long> ours, floor;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(startTime(programPath(), "Vantorel"));
        floor.push_back(startTime(bare, "BareWindow"));
        if (ours.back() < 0 || floor.back() < 0) {
            std::printf("run %d: a main window did not appear (vantorel %lld ms, bare %lld ms)\n",
                        i + 1, ours.back(), floor.back());
            return 1;
        }
    }
    const long long oursMedian = bench::median(ours), floorMedian = bench::median(floor);
    std::printf("start to visible main window, median of %d runs (%d-bit build):\n", runs,
                static_cast<int>(sizeof(void*) * 8));
    std::printf("  vantorel.exe          %5lld ms (%s)\n", oursMedian, bench::list(ours).c_str());
    std::printf("  bare window program   %5lld ms (%s)\n", floorMedian, bench::list(floor).c_str());
    char ratio[16];
    std::snprintf(ratio, sizeof ratio, "%.2f",
                  floorMedian > 0 ? static_cast<double>(oursMedian) / floorMedian : 0.0);
    std::printf("  ratio                 %5s\n", ratio);
    bench::figure("startup_ratio", ratio);
    removeDataFolder();
    return 0;
}
