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

// Milliseconds until `exe` shows a visible window of `windowClass`; -1 if it does not.
long long startTime(const std::string& exe, const char* windowClass) {
    Program program;
    const auto started = SteadyClock::now();
    if (!program.launch(exe) || !program.waitForMainWindow(windowClass)) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    return elapsedMs(started);
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
    std::printf("  vantorel.exe          %5lld ms (min %lld, max %lld)\n", oursMedian,
                *std::min_element(ours.begin(), ours.end()),
                *std::max_element(ours.begin(), ours.end()));
    std::printf("  bare window program   %5lld ms (min %lld, max %lld)\n", floorMedian,
                *std::min_element(floor.begin(), floor.end()),
                *std::max_element(floor.begin(), floor.end()));
    char ratio[16];
    std::snprintf(ratio, sizeof ratio, "%.2f",
                  floorMedian > 0 ? static_cast<double>(oursMedian) / floorMedian : 0.0);
    std::printf("  ratio                 %5s\n", ratio);
    bench::figure("startup_ratio", ratio);
    removeDataFolder();
    return 0;
}
