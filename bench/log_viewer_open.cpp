// Time from the View Program Log command to the viewer being up with all of
// a 100,000-line log in its list: vantorel.exe against its floor,
// bench_viewer_floor.exe (the same dialog template and command, the lines
// added one LB_ADDSTRING each and nothing else), five runs each in turns.
// Also vantorel.exe alone for smaller logs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "resource.h"
#include "tests/e2e/harness.h"

namespace {

using namespace e2e;

constexpr int kRuns = 5;

void writeLog(int lines) {
    // Logging off, so the program adds no line of its own to the list.
    writePreferences(
        "0|0|0|0|510|10|100|0|3|0|0|16777215|320|700|0|Arial|No file selected|No file selected");
    std::string log;
    for (int i = 0; i < lines; ++i) {
        log += "2026-12-06 09:15:40 - Countdown started. Vantorel: Timer Set - 00h:03m:00s\n";
    }
    writeFileBytes(logPath(), log);
}

// Milliseconds from the command until the viewer shows `lines` items.
long long openViewer(const std::string& exe, const char* windowClass, int lines) {
    Program program;
    if (!program.launch(exe) || !program.waitForMainWindow(windowClass)) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    Sleep(200);  // the window settles before the command
    const auto started = SteadyClock::now();
    program.command(IDM_VIEW_LOG);
    HWND viewer = nullptr;
    for (; !viewer && elapsedMs(started) < 60000; Sleep(1)) {
        viewer = program.waitForDialog("View Program Log", 0ms);
    }
    const HWND list = GetDlgItem(viewer, IDC_LOG_LIST);
    while (askWindow(list, LB_GETCOUNT) != lines && elapsedMs(started) < 60000) Sleep(1);
    const long long ms = elapsedMs(started);
    if (askWindow(list, LB_GETCOUNT) != lines) {
        std::printf("%s did not list %d lines\n", exe.c_str(), lines);
        std::exit(1);
    }
    return ms;
}

}  // namespace

int main() {
    const std::string floor = bench::besideThisProgram("bench_viewer_floor.exe");
    std::printf("log viewer: command to dialog up with every line listed (ms)\n");
    for (const int lines : {1000, 10000}) {
        writeLog(lines);
        std::printf("  vantorel.exe, %6d lines: %lld\n", lines,
                    openViewer(programPath(), "Vantorel", lines));
    }
    writeLog(100000);
    std::vector<long long> ours, floors;
    for (int run = 0; run < kRuns; ++run) {
        ours.push_back(openViewer(programPath(), "Vantorel", 100000));
        floors.push_back(openViewer(floor, "ViewerFloor", 100000));
    }
    removeDataFolder();
    std::printf("  100000 lines, %d runs: vantorel.exe median %lld (%s), floor median %lld (%s)\n",
                kRuns, bench::median(ours), bench::list(ours).c_str(), bench::median(floors),
                bench::list(floors).c_str());
    char ratio[16];
    std::snprintf(ratio, sizeof ratio, "%.2f",
                  static_cast<double>(bench::median(ours)) / std::max(1LL, bench::median(floors)));
    bench::figure("log_viewer_100k_ratio", ratio);
    return 0;
}
