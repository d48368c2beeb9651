// Memory of vantorel.exe: private bytes and peak working set
// (GetProcessMemoryInfo) after start and with the log viewer showing
// 100,000 lines, beside those of the bare window program and of the
// start-up floor (the same window, controls, manifest and imports) after
// start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/measure.h"
#include "resource.h"
#include "tests/e2e/harness.h"

namespace {

using namespace e2e;

void start(Program& program, const std::string& exe, const char* windowClass) {
    if (!program.launch(exe) || !program.waitForMainWindow(windowClass)) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    Sleep(500);  // start-up's last allocations
}

void show(const char* what, const bench::Memory& memory) {
    std::printf("  %-44s private %6lld KiB, peak working set %6lld KiB\n", what, memory.privateKb,
                memory.peakWorkingSetKb);
}

}  // namespace

int main() {
    writePreferences(
        "0|0|0|0|510|10|100|0|3|0|0|16777215|320|700|0|Arial|No file selected|No file selected");
    std::string log;
    for (int i = 0; i < 100000; ++i) {
        log += "2026-12-06 09:15:40 - Countdown started. Vantorel: Timer Set - 00h:03m:00s\n";
    }
    writeFileBytes(logPath(), log);
    std::printf("memory (%d-bit build):\n", static_cast<int>(sizeof(void*) * 8));
    bench::Memory bare, floor, ours, viewer;
    {
        Program program;
        start(program, bench::besideThisProgram("bench_bare_window.exe"), "BareWindow");
        bare = bench::memoryOf(program.mainWindow(), "bench_bare_window.exe");
    }
    {
        Program program;
        start(program, bench::besideThisProgram("bench_startup_floor.exe"), "StartupFloor");
        floor = bench::memoryOf(program.mainWindow(), "bench_startup_floor.exe");
    }
    {
        Program program;
        start(program, programPath(), "Vantorel");
        ours = bench::memoryOf(program.mainWindow(), "vantorel.exe");
        program.command(IDM_VIEW_LOG);
        const HWND list = GetDlgItem(program.waitForDialog("View Program Log", 60s), IDC_LOG_LIST);
        waitUntil([&] { return askWindow(list, LB_GETCOUNT) == 100000; }, 60s);
        viewer = bench::memoryOf(program.mainWindow(), "vantorel.exe");
    }
    removeDataFolder();
    if (ours.fromLinux) {
        std::printf(
            "  (private: the Linux process's private pages; Wine reports no private bytes)\n");
    }
    show("bare window program, after start", bare);
    show("start-up floor, after start", floor);
    show("vantorel.exe, after start", ours);
    show("vantorel.exe, viewer showing 100,000 lines", viewer);
    bench::figure("private_kb", std::to_string(ours.privateKb), std::to_string(bare.privateKb));
    bench::figure("private_kb_floor", std::to_string(ours.privateKb),
                  std::to_string(floor.privateKb));
    bench::figure("peak_working_set_kb", std::to_string(ours.peakWorkingSetKb),
                  std::to_string(bare.peakWorkingSetKb));
    bench::figure("viewer_100k_private_kb", std::to_string(viewer.privateKb));
    return 0;
}
