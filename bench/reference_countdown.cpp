// The reference for the countdown benchmarks: a plain countdown program. A
// window with a display of vantorel.exe's size and font (the work area's
// size, 320 px bold Arial) and a Start button (vantorel.exe's control
// number), whose every 1000 ms WM_TIMER takes one second off the count: 8
// seconds, or VANTOREL_BENCH_SECONDS. It plays no sound, except with
// VANTOREL_BENCH_TICK set: then each second plays vantorel.exe's built-in
// tick as vantorel.exe does. It is linked with vantorel.exe's resources, so
// the same manifest, and started, clicked and watched exactly as
// vantorel.exe is.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

#include "bench/plain_window.h"
#include "resource.h"

namespace {

int gRemaining = 8;
bool gTicking = false;
HWND gDisplay;

void show() {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", gRemaining / 3600, gRemaining / 60 % 60,
                  gRemaining % 60);
    SetWindowTextA(gDisplay, text);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            RECT work = {};
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            gDisplay = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_READONLY, 0, 100,
                                       work.right, work.bottom, window, nullptr, nullptr, nullptr);
            SendMessageA(
                gDisplay, WM_SETFONT,
                reinterpret_cast<WPARAM>(CreateFontA(320, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                                     ANSI_CHARSET, 0, 0, 0, 0, "Arial")),
                FALSE);
            CreateWindowExA(0, "BUTTON", "Start", WS_CHILD | WS_VISIBLE, 510, 10, 80, 40, window,
                            reinterpret_cast<HMENU>(IDC_START), nullptr, nullptr);
            show();
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_START) SetTimer(window, 1, 1000, nullptr);
            return 0;
        case WM_TIMER:
            if (gRemaining > 0 && --gRemaining == 0) KillTimer(window, 1);
            show();
            if (gTicking && gRemaining > 0) {
                PlaySoundA(MAKEINTRESOURCEA(IDR_TICK_WAVE), GetModuleHandleA(nullptr),
                           SND_RESOURCE | SND_ASYNC);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
    if (const char* seconds = std::getenv("VANTOREL_BENCH_SECONDS"))
        gRemaining = std::atoi(seconds);
    gTicking = std::getenv("VANTOREL_BENCH_TICK") != nullptr;
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return runPlainWindow(module, "ReferenceCountdown", windowProc, work.right, work.bottom,
                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}
