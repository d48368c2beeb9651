// How late does an 8-second countdown finish, with and without a 3.5 s freeze
// of the user-interface thread one second in? Measured for vantorel.exe and
// for a plain countdown program (bench_reference_countdown.exe, one second
// off per 1000 ms WM_TIMER), each started, clicked and watched the same way:
// the time from posting the Start click to the display reading "00:00:00".
// The display is watched by an out-of-context WinEvent hook on its text
// changes; where those events do not arrive, by reading its text every
// millisecond. Five runs of each; median and largest.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "tests/e2e/harness.h"

namespace {

using namespace e2e;

constexpr int kLimitSeconds = 8;
constexpr DWORD kFreezeAfterMs = 1000;
constexpr DWORD kFreezeMs = 3500;
constexpr int kRuns = 5;

// The display being watched, and what was seen of it.
struct Watch {
    HWND display = nullptr;
    int events = 0, otherEvents = 0;
    bool zero = false;
    SteadyClock::time_point zeroAt;
} gWatch;

void see(HWND display) {
    if (!gWatch.zero && textOf(display) == "00:00:00") {
        gWatch.zeroAt = SteadyClock::now();
        gWatch.zero = true;
    }
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD, DWORD) {
    if (window != gWatch.display ||
        (event != EVENT_OBJECT_NAMECHANGE && event != EVENT_OBJECT_VALUECHANGE)) {
        ++gWatch.otherEvents;
        return;
    }
    ++gWatch.events;
    see(window);
}

// Handles what arrives (the hook's events) for up to `ms`; with no event
// seen yet, reads the display's text each millisecond meanwhile.
void watchFor(DWORD ms) {
    const auto until = SteadyClock::now() + std::chrono::milliseconds(ms);
    while (!gWatch.zero && SteadyClock::now() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (gWatch.events == 0) see(gWatch.display);
    }
}

const char* gMethod = "";

// Milliseconds past the 8 s the countdown should take.
long long finishError(const std::string& exe, const char* windowClass, bool freeze) {
    writePreferences("0|0|0|0|510|10|100|0|0|" + std::to_string(kLimitSeconds) +
                     "|0|16777215|320|700|0|Arial|No file selected|No file selected");
    Program program;
    if (!program.launch(exe) || !program.waitForMainWindow(windowClass)) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    gWatch = Watch{};
    gWatch.display = program.display();
    DWORD processId = 0;
    GetWindowThreadProcessId(program.mainWindow(), &processId);
    // Every event of the process, so that the report can say whether any arrive at all.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, onEvent, processId, 0,
                                         WINEVENT_OUTOFCONTEXT);
    Sleep(300);  // the window settles before the click
    const auto clicked = SteadyClock::now();
    program.click(IDC_START);
    if (freeze) {
        watchFor(kFreezeAfterMs);
        program.freezeUi(kFreezeMs);
    }
    watchFor(30000);
    if (hook) UnhookWinEvent(hook);
    gMethod = gWatch.events > 0        ? "an out-of-context WinEvent hook on the display's text"
              : gWatch.otherEvents > 0 ? "reading the display's text every millisecond (the "
                                         "hook's events arrive, but none for the display's text)"
                                       : "reading the display's text every millisecond (no "
                                         "out-of-context WinEvent arrives from the program)";
    if (!gWatch.zero) {
        std::printf("%s never showed 00:00:00\n", exe.c_str());
        std::exit(1);
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(gWatch.zeroAt - clicked).count() -
           kLimitSeconds * 1000;
}

}  // namespace

int main() {
    const std::string reference = bench::besideThisProgram("bench_reference_countdown.exe");
    std::vector<long long> ours[2], theirs[2];
    for (const bool freeze : {false, true}) {
        for (int run = 0; run < kRuns; ++run) {  // in turns, so a slow spell touches both alike
            ours[freeze].push_back(finishError(programPath(), "Vantorel", freeze));
            theirs[freeze].push_back(finishError(reference, "ReferenceCountdown", freeze));
        }
    }
    removeDataFolder();
    std::printf("8 s countdown, finish error in ms (positive: late), %d runs each, watched by %s\n",
                kRuns, gMethod);
    std::printf("%-36s %-28s %s\n", "", "no freeze: median, largest", "3.5 s UI freeze");
    const auto row = [](const char* name, const std::vector<long long>* runs) {
        std::printf("%-36s %6lld %6lld  (%s)   %6lld %6lld  (%s)\n", name, bench::median(runs[0]),
                    bench::largest(runs[0]), bench::list(runs[0]).c_str(), bench::median(runs[1]),
                    bench::largest(runs[1]), bench::list(runs[1]).c_str());
    };
    row("vantorel.exe", ours);
    row("plain 1000 ms WM_TIMER countdown", theirs);
    bench::figure("finish_error_ms", std::to_string(bench::median(ours[0])),
                  std::to_string(bench::median(theirs[0])));
    bench::figure("finish_error_frozen_ms", std::to_string(bench::median(ours[1])),
                  std::to_string(bench::median(theirs[1])));
    return 0;
}
