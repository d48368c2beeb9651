// What the programs the benchmarks compare vantorel.exe with share: one
// window class and one visible window with the given procedure (which ends
// the loop by PostQuitMessage), then the message loop. Nothing else, so
// that each program costs what a plain Win32 window costs.
#pragma once

#include <windows.h>

inline int runPlainWindow(HINSTANCE module, const char* className, WNDPROC procedure, int width,
                          int height, HBRUSH background = nullptr) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, className, className, WS_OVERLAPPEDWINDOW, 0, 0, width, height,
                                  nullptr, nullptr, module, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return static_cast<int>(msg.wParam);
}
