// The floor for the start-up benchmark: what a user sees when vantorel.exe
// has started with the default settings, made in the plainest way, and
// nothing else. It is linked like vantorel.exe (its resources, so the same
// Common-Controls 6 manifest, icon and menu, and the same DLLs imported at
// start) and shows the same window: the class with icon, cursor and menu,
// the accelerator table, the work area's size, the timer title, Start, Stop
// and Reset, and the display in 320 px bold Arial reading 00:03:00, black on
// white. It reads and writes no file.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "resource.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
HBRUSH gWhite;

// vantorel.exe imports shell32 and shlwapi, so they load before the program
// runs; keeping the address of one function of each makes the floor import
// them too, without calling them.
using AnyFunction = void (*)();
volatile AnyFunction gSameImports[2];

void onCreate(HWND window) {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowTextA(window, "Vantorel: Timer Set - 00h:03m:00s");
    const DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    const struct {
        const char* caption;
        int id, x;
    } buttons[] = {{"Start", IDC_START, 510}, {"Stop", IDC_STOP, 600}, {"Reset", IDC_RESET, 690}};
    for (const auto& b : buttons) {
        HWND button =
            CreateWindowExA(0, "button", b.caption, buttonStyle, b.x, 10, 80, 40, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), nullptr, nullptr);
        EnableWindow(button, b.id == IDC_START);
    }
    HWND display = CreateWindowExA(
        0, "edit", "", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_CENTER, 0, 100, work.right,
        work.bottom, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), nullptr, nullptr);
    HFONT font =
        CreateFontA(320, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    SendMessageA(display, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowTextA(display, "00:03:00");
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate(window);
            return 0;
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(wParam), kWhite);
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(gWhite);
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
    gSameImports[0] = reinterpret_cast<AnyFunction>(&SHGetSpecialFolderPathA);
    gSameImports[1] = reinterpret_cast<AnyFunction>(&PathAppendA);
    gWhite = CreateSolidBrush(kWhite);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = module;
    windowClass.hIcon = LoadIconA(module, MAKEINTRESOURCEA(IDI_VANTOREL));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = gWhite;
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    windowClass.lpszClassName = "StartupFloor";
    if (!RegisterClassA(&windowClass)) return 1;
    HACCEL accelerators = LoadAcceleratorsA(module, MAKEINTRESOURCEA(IDA_MAIN));
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND window =
        CreateWindowExA(0, "StartupFloor", "Vantorel", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                        0, work.right, work.bottom, nullptr, nullptr, module, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(window, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
