// The reference for the countdown benchmark: a plain countdown program. A
// window with a display and a Start button (vantorel.exe's control number),
// whose every 1000 ms WM_TIMER takes one second off eight. It is started,
// clicked and watched exactly as vantorel.exe is.
#include <windows.h>

#include <cstdio>

#include "bench/plain_window.h"
#include "resource.h"

namespace {

int gRemaining = 8;
HWND gDisplay;

void show() {
    char text[16];
    std::snprintf(text, sizeof text, "00:00:%02d", gRemaining);
    SetWindowTextA(gDisplay, text);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            gDisplay = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_READONLY, 0, 100,
                                       640, 200, window, nullptr, nullptr, nullptr);
            CreateWindowExA(0, "BUTTON", "Start", WS_CHILD | WS_VISIBLE, 510, 10, 80, 40, window,
                            reinterpret_cast<HMENU>(IDC_START), nullptr, nullptr);
            show();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_START) SetTimer(window, 1, 1000, nullptr);
            return 0;
        case WM_TIMER:
            if (gRemaining > 0 && --gRemaining == 0) KillTimer(window, 1);
            show();
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
    return runPlainWindow(module, "ReferenceCountdown", windowProc, 800, 400,
                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}
