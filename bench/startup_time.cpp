// Time from CreateProcess to the main window being visible (startup screen
// off) of vantorel.exe against two programs beside this one, measured in
// the same run: the start-up floor (bench_startup_floor.exe: the same
// window, controls, manifest and imports, and nothing else) and a bare
// window program (bench_bare_window.exe). Wine's own process start
// dominates all three, so the ratios are the figures.
//
// Each round starts the three one after another, in each of the six orders
// in turn, so that every program comes before and after each other one
// equally often. Every start has the machine to itself: the program before
// it has ended and its Linux process has gone, and 200 ms have passed
// (bench::waitUntilQuiet). A figure is the median of the rounds' own
// ratios, so a slow spell of the machine touches both sides of a ratio.
// The first start of each program, which fills Wine's caches, is shown
// and not counted.
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

struct Starter {
    const char* name;
    std::string exe;
    const char* windowClass;
    std::vector<long long> us;
};

std::string exeName(const std::string& exe) { return exe.substr(exe.find_last_of("\\/") + 1); }

// Microseconds until `exe` shows a visible window of `windowClass`, looked
// for every millisecond; then the program is closed and the machine left
// to settle.
long long startTime(const std::string& exe, const char* windowClass) {
    long long us = 0;
    {
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
        us = std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - started)
                 .count();
        program.waitForMainWindow(windowClass);  // so that close() finds it
    }
    bench::waitUntilQuiet(exeName(exe));
    return us;
}

std::string twoPlaces(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}
// Microseconds as milliseconds with one decimal.
std::string inMs(long long us) {
    char text[24];
    std::snprintf(text, sizeof text, "%.1f", us / 1000.0);
    return text;
}
std::string inMs(const std::vector<long long>& us) {
    std::string text;
    for (const long long value : us) text += (text.empty() ? "" : " ") + inMs(value);
    return text;
}

// Each round's ratio of vantorel.exe's start to `other`'s in the same round;
// prints their median, quartiles and range, and the figure.
void ratio(const Starter& ours, const Starter& other, const char* figure) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < ours.us.size() && i < other.us.size(); ++i) {
        ratios.push_back(other.us[i] > 0 ? static_cast<double>(ours.us[i]) / other.us[i] : 0.0);
    }
    std::sort(ratios.begin(), ratios.end());
    const std::size_t n = ratios.size();
    const double median = (ratios[(n - 1) / 2] + ratios[n / 2]) / 2;
    std::printf(
        "  vantorel.exe over the %s, each round's ratio: median %s, quartiles %s to %s, "
        "range %s to %s\n",
        other.name, twoPlaces(median).c_str(), twoPlaces(ratios[n / 4]).c_str(),
        twoPlaces(ratios[(3 * n) / 4]).c_str(), twoPlaces(ratios.front()).c_str(),
        twoPlaces(ratios.back()).c_str());
    bench::figure(figure, twoPlaces(median));
}

// Runs bench_startup_parts.exe `runs` times, each a fresh process with the
// machine to itself, and prints the median of each part with its share of
// vantorel.exe's start, `startUs`.
void showParts(int runs, long long startUs) {
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
        bench::waitUntilQuiet(exeName(exe));
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
    long long total = 0;
    for (const auto& [name, times] : parts) {
        const long long us = bench::median(times);
        total += us;
        std::printf("  %-28s %7lld us  %5.2f%% of vantorel.exe's start (%s)\n", name.c_str(), us,
                    startUs > 0 ? 100.0 * us / startUs : 0.0, bench::list(times).c_str());
    }
    std::printf("  %-28s %7lld us  %5.2f%% of vantorel.exe's start\n", "all parts", total,
                startUs > 0 ? 100.0 * total / startUs : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 48, partRuns = 15;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--rounds=", 0) == 0) rounds = std::max(1, std::stoi(arg.substr(9)));
        if (arg.rfind("--part-runs=", 0) == 0) partRuns = std::max(1, std::stoi(arg.substr(12)));
    }
    writePreferences(
        "0|0|0|0|510|10|100|0|3|0|0|16777215|320|700|0|Arial|No file selected|No file selected");
    Starter programs[] = {
        {"vantorel.exe", programPath(), "Vantorel", {}},
        {"start-up floor", bench::besideThisProgram("bench_startup_floor.exe"), "StartupFloor", {}},
        {"bare window program",
         bench::besideThisProgram("bench_bare_window.exe"),
         "BareWindow",
         {}},
    };
    std::printf("start to visible main window (%d-bit build), %d rounds:\n",
                static_cast<int>(sizeof(void*) * 8), rounds);
    std::printf("  first starts, not counted (they fill Wine's caches):");
    for (const Starter& p : programs) {
        std::printf(" %s %s ms;", p.name, inMs(startTime(p.exe, p.windowClass)).c_str());
    }
    std::printf("\n");

    int order[] = {0, 1, 2};
    for (int round = 0; round < rounds; ++round) {
        for (const int i : order)
            programs[i].us.push_back(startTime(programs[i].exe, programs[i].windowClass));
        // After the last order, the first again.
        std::next_permutation(std::begin(order), std::end(order));
    }
    for (const Starter& p : programs) {
        std::printf("  %-21s median %5s ms (%s)\n", p.name, inMs(bench::median(p.us)).c_str(),
                    inMs(p.us).c_str());
    }
    ratio(programs[0], programs[1], "startup_floor_ratio");
    ratio(programs[0], programs[2], "startup_ratio");
    showParts(partRuns, bench::median(programs[0].us));
    removeDataFolder();
    return 0;
}
