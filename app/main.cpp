// Start-up: one copy at a time, the main window over the work area, and the
// message loop with the keyboard accelerators.
#include <windows.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "resource.h"

namespace {

constexpr const char* kInstanceMutex = "VantorelInstanceIsRunning";
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

[[noreturn]] void startupFailed() {
    MessageBoxA(nullptr, "Vantorel startup failed!", nullptr, MB_ICONERROR);
    ExitProcess(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace vantorel;
    AppState& state = app();
    state.module = GetModuleHandleA(nullptr);

    // Never closed: the process's end releases it.
    CreateMutexA(nullptr, TRUE, kInstanceMutex);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        MessageBoxA(nullptr, "An instance of this program is already running.", "Attention",
                    MB_ICONINFORMATION | MB_SYSTEMMODAL);
        SetForegroundWindow(FindWindowA(kWindowClass, nullptr));
        ExitProcess(0);
    }

    state.icon = LoadIconA(state.module, MAKEINTRESOURCEA(IDI_VANTOREL));
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = state.module;
    windowClass.hIcon = state.icon;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassA(&windowClass)) startupFailed();

    HACCEL accelerators = LoadAcceleratorsA(state.module, MAKEINTRESOURCEA(IDA_MAIN));
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &state.workArea, 0);

    HWND main =
        CreateWindowExA(0, kWindowClass, "Vantorel", kMainWindowStyle, 0, 0, state.workArea.right,
                        state.workArea.bottom, nullptr, nullptr, state.module, nullptr);
    if (!main) startupFailed();
    state.mainWindow = main;
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);

    MSG msg = {};
    // GetMessageA's -1 (an error) is treated like any other message.
    while (GetMessageA(&msg, nullptr, 0, 0) != 0) {
        if (TranslateAcceleratorA(main, accelerators, &msg)) continue;
        // Key-down messages go out untranslated, so they make no characters.
        if (msg.message != WM_KEYDOWN) TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ExitProcess(static_cast<UINT>(msg.wParam));
}
