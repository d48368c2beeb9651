// How late does an 8-second countdown finish, with and without a 3.5 s freeze
// of the user-interface thread? Measured for vantorel.exe and for a plain
// reference countdown that decrements once per 1000 ms WM_TIMER message.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/harness.h"

namespace {

using namespace e2e;

constexpr int kLimitSeconds = 8;
constexpr DWORD kFreezeAfterMs = 1000;
constexpr DWORD kFreezeMs = 3500;

// ---- the reference: a window whose every WM_TIMER takes one second off ----

struct Reference {
    HWND window = nullptr;
    volatile LONG remaining = kLimitSeconds;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

LRESULT CALLBACK referenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        auto* reference = reinterpret_cast<Reference*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (InterlockedDecrement(&reference->remaining) == 0) {
            KillTimer(window, 1);
            PostQuitMessage(0);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI referenceThread(LPVOID parameter) {
    auto* reference = static_cast<Reference*>(parameter);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = referenceProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PlainTimerReference";
    RegisterClassA(&windowClass);
    reference->window = CreateWindowExA(0, "PlainTimerReference", "", WS_OVERLAPPED, 0, 0, 10,
                                        10, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrA(reference->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(reference));
    SetTimer(reference->window, 1, 1000, nullptr);
    SetEvent(reference->ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

// Milliseconds from start to zero, minus the 8 s the countdown should take.
long long referenceError(bool freeze) {
    Reference reference;
    DWORD threadId = 0;
    const auto started = SteadyClock::now();
    HANDLE thread = CreateThread(nullptr, 0, referenceThread, &reference, 0, &threadId);
    WaitForSingleObject(reference.ready, INFINITE);
    if (freeze) {
        Sleep(kFreezeAfterMs);
        SuspendThread(thread);
        Sleep(kFreezeMs);
        ResumeThread(thread);
    }
    WaitForSingleObject(thread, 60000);
    const long long error = elapsedMs(started) - kLimitSeconds * 1000;
    CloseHandle(thread);
    CloseHandle(reference.ready);
    return error;
}

// ---- vantorel.exe, driven like a user with an 8 s limit ----

long long vantorelError(bool freeze) {
    PreferencesFile preferences = PreferencesFile::quiet();
    preferences.logEnabled = 0;
    preferences.timerMinutes = 0;
    preferences.timerSeconds = kLimitSeconds;
    writePreferences(preferences);
    Program program;
    if (!program.start()) return -1;
    const auto started = SteadyClock::now();
    program.click(Button::Start);
    if (freeze) {
        Sleep(kFreezeAfterMs);
        program.suspendUiThread();
        Sleep(kFreezeMs);
        program.resumeUiThread();
    }
    waitUntil([&] { return program.displayText() == "00:00:00"; }, 30s);
    return elapsedMs(started) - kLimitSeconds * 1000;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--vantorel-exe=", 0) == 0) setProgramPath(arg.substr(15));
    }
    std::printf("8 s countdown, finish error in ms (positive = late)\n");
    std::printf("%-34s %12s %18s\n", "", "no freeze", "3.5 s UI freeze");
    std::printf("%-34s %12lld %18lld\n", "vantorel.exe", vantorelError(false), vantorelError(true));
    std::printf("%-34s %12lld %18lld\n", "plain 1000 ms WM_TIMER countdown", referenceError(false),
                referenceError(true));
    removeDataFolder();
    return 0;
}
