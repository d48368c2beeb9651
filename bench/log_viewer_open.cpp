// Time from the View Program Log command to the viewer being up with every
// line of the log in its list, for logs of growing size.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "resource.h"
#include "tests/e2e/harness.h"

namespace {

using namespace e2e;

// Milliseconds until the viewer shows `lines` items; -1 when it does not.
long long openViewer(int lines) {
    // Logging off, so the program adds no line of its own to the list.
    writePreferences(
        "0|0|0|0|510|10|100|0|3|0|0|16777215|320|700|0|Arial|No file selected|No file selected");
    std::string log;
    for (int i = 0; i < lines; ++i) {
        log += "2026-12-06 09:15:40 - Countdown started. Vantorel: Timer Set - 00h:03m:00s\n";
    }
    writeFileBytes(logPath(), log);
    Program program;
    if (!program.start()) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    const auto started = SteadyClock::now();
    program.command(IDM_VIEW_LOG);
    HWND viewer = program.waitForDialog("View Program Log", 60s);
    if (viewer == nullptr) return -1;
    HWND list = GetDlgItem(viewer, IDC_LOG_LIST);
    const bool filled = waitUntil([&] { return askWindow(list, LB_GETCOUNT) == lines; }, 60s);
    const long long ms = elapsedMs(started);
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    return filled ? ms : -1;
}

}  // namespace

int main() {
    std::printf("log viewer: command to dialog up with every line listed\n");
    for (const int lines : {1000, 10000, 100000}) {
        std::printf("%8d lines: %6lld ms\n", lines, openViewer(lines));
    }
    removeDataFolder();
    return 0;
}
