// Time from CreateProcess to the main window being visible (startup screen
// off), median of several runs, against the same time for two programs
// beside this one, measured in the same run: the start-up floor
// (bench_startup_floor.exe: the same window, controls, manifest and imports,
// and nothing else) and a bare window program (bench_bare_window.exe).
// Wine's own process start dominates all three, so the ratios are the
// figures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
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

// Runs bench_startup_parts.exe `runs` times, each a fresh process, and
// prints the median of each part with its share of `startMs`.
void showParts(int runs, long long startMs) {
    const std::string out = scratchFolder("vantorel-bench") + "\\startup-parts.txt";
    DeleteFileA(out.c_str());
    const std::string exe = bench::besideThisProgram("bench_startup_parts.exe");
    for (int i = 0; i < runs; ++i) {
        std::string commandLine = "\"" + exe + "\" \"" + out + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info)) {
            std::printf("%s does not start\n", exe.c_str());
            return;
        }
        WaitForSingleObject(info.hProcess, 30000);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    std::vector<std::pair<std::string, std::vector<long long>>> parts;
    std::istringstream lines(readFileBytes(out));
    for (std::string name; lines >> name;) {
        long long us = 0;
        lines >> us;
        auto part = std::find_if(parts.begin(), parts.end(),
                                 [&](const auto& p) { return p.first == name; });
        if (part == parts.end()) part = parts.insert(parts.end(), {name, {}});
        part->second.push_back(us);
    }
    std::printf(
        "what vantorel.exe does at start beyond the floor, each part timed in a fresh "
        "process, median of %d:\n",
        runs);
    for (const auto& [name, times] : parts) {
        const long long us = bench::median(times);
        std::printf("  %-28s %7lld us  %5.2f%% of vantorel.exe's start (%s)\n", name.c_str(), us,
                    startMs > 0 ? us / (10.0 * startMs) : 0.0, bench::list(times).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 15;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--runs=", 0) == 0) runs = std::max(1, std::stoi(arg.substr(7)));
    }
    writePreferences(
        "0|0|0|0|510|10|100|0|3|0|0|16777215|320|700|0|Arial|No file selected|No file selected");
    const std::string floorProgram = bench::besideThisProgram("bench_startup_floor.exe");
    const std::string bare = bench::besideThisProgram("bench_bare_window.exe");

    // Taken in turns, so a slow spell of the machine touches all alike.
    std::vector<long long> ours, floor, plain;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(startTime(programPath(), "Vantorel"));
        floor.push_back(startTime(floorProgram, "StartupFloor"));
        plain.push_back(startTime(bare, "BareWindow"));
    }
    const long long oursMedian = bench::median(ours);
    std::printf("start to visible main window, median of %d runs (%d-bit build):\n", runs,
                static_cast<int>(sizeof(void*) * 8));
    std::printf("  vantorel.exe          %5lld ms (%s)\n", oursMedian, bench::list(ours).c_str());
    const auto against = [&](const char* name, const char* figure,
                             const std::vector<long long>& times) {
        const long long median = bench::median(times);
        char ratio[16];
        std::snprintf(ratio, sizeof ratio, "%.2f",
                      median > 0 ? static_cast<double>(oursMedian) / median : 0.0);
        std::printf("  %-21s %5lld ms (%s), vantorel.exe over it %s\n", name, median,
                    bench::list(times).c_str(), ratio);
        bench::figure(figure, ratio);
    };
    against("start-up floor", "startup_floor_ratio", floor);
    against("bare window program", "startup_ratio", plain);
    showParts(runs, oursMedian);
    removeDataFolder();
    return 0;
}
