// How late does an 8-second countdown finish, with and without a 3.5 s freeze
// of the user-interface thread? Measured for vantorel.exe and for a plain
// reference countdown that decrements once per 1000 ms WM_TIMER message.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "resource.h"
#include "tests/e2e/harness.h"

namespace {

using namespace e2e;

constexpr int kLimitSeconds = 8;
constexpr DWORD kFreezeAfterMs = 1000;
constexpr DWORD kFreezeMs = 3500;

// ---- the reference: a window whose every WM_TIMER takes one second off ----

DWORD WINAPI referenceThread(LPVOID ready) {
    // A plain window with a 1000 ms timer, as a simple countdown program has.
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SetTimer(window, 1, 1000, nullptr);
    SetEvent(static_cast<HANDLE>(ready));
    MSG msg;
    for (int remaining = kLimitSeconds; remaining > 0 && GetMessageA(&msg, nullptr, 0, 0) > 0;) {
        if (msg.message == WM_TIMER) --remaining;
        DispatchMessageA(&msg);
    }
    KillTimer(window, 1);
    DestroyWindow(window);
    return 0;
}

// Milliseconds from start to zero, minus the 8 s the countdown should take.
long long referenceError(bool freeze) {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const auto started = SteadyClock::now();
    HANDLE thread = CreateThread(nullptr, 0, referenceThread, ready, 0, nullptr);
    WaitForSingleObject(ready, INFINITE);
    if (freeze) {
        Sleep(kFreezeAfterMs);
        SuspendThread(thread);
        Sleep(kFreezeMs);
        ResumeThread(thread);
    }
    WaitForSingleObject(thread, 60000);
    const long long error = elapsedMs(started) - kLimitSeconds * 1000;
    CloseHandle(thread);
    CloseHandle(ready);
    return error;
}

// ---- vantorel.exe, driven like a user with an 8 s limit ----

long long vantorelError(bool freeze) {
    writePreferences("0|0|0|0|510|10|100|0|0|" + std::to_string(kLimitSeconds) +
                     "|0|16777215|320|700|0|Arial|No file selected|No file selected");
    Program program;
    if (!program.start()) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    const auto started = SteadyClock::now();
    program.click(IDC_START);
    if (freeze) {
        Sleep(kFreezeAfterMs);
        program.freezeUi(kFreezeMs);
    }
    waitUntil([&] { return program.displayText() == "00:00:00"; }, 30s);
    return elapsedMs(started) - kLimitSeconds * 1000;
}

}  // namespace

int main() {
    std::printf("8 s countdown, finish error in ms (positive = late)\n");
    std::printf("%-34s %12s %18s\n", "", "no freeze", "3.5 s UI freeze");
    std::printf("%-34s %12lld %18lld\n", "vantorel.exe", vantorelError(false), vantorelError(true));
    std::printf("%-34s %12lld %18lld\n", "plain 1000 ms WM_TIMER countdown", referenceError(false),
                referenceError(true));
    removeDataFolder();
    return 0;
}
