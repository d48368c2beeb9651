// The process: one copy at a time, the main window over the work area, the
// message loop with the keyboard accelerators, and what the program does as
// a whole when its window is created and destroyed (settings, startup
// screen, session entries, screen saver and power state). The window's
// contents are in main_window.cpp.
#include <windows.h>
#include <windowsx.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/startup_screen.h"
#include "core/switches.h"
#include "resource.h"

namespace vantorel {
namespace {

constexpr const char* kInstanceMutex = "VantorelInstanceIsRunning";
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Owned by this file: 1 when the screen saver was active at start-up and
// this program switched it off; written in WM_CREATE, read in WM_DESTROY.
int gScreenSaverWasActive = 0;

// The running copy's window where the user sees it: restored when
// minimised (waiting no more than 2 s for a copy that does not answer),
// then in front.
void bringBack(HWND window) {
    if (IsIconic(window))
        SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    SetForegroundWindow(window);
}

[[noreturn]] void startupFailed() {
    MessageBoxA(nullptr, "Vantorel startup failed!", nullptr, MB_ICONERROR);
    ExitProcess(0);  // deliberate: exit code 0, as after every other way out
}

BOOL onCreate(HWND window, LPCREATESTRUCT) {
    locateDataFolder();
    prefsStore().load();
    if (switchOn(prefs().showStartupScreen)) showStartupScreen();
    // Deliberate: the folder is resolved and created once more, so a folder
    // removed while the startup screen showed is there again for the log.
    locateDataFolder();
    programLog().setFolder(app().dataFolder);
    logIfEnabled(kLogSessionStart);

    BOOL active = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    if (active == TRUE) {
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
        gScreenSaverWasActive = 1;
    } else {
        gScreenSaverWasActive = 0;
    }
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);

    mainWindow().create(window);
    return TRUE;
}

void onDestroy(HWND) {
    logIfEnabled(kLogSessionEnd);
    if (gScreenSaverWasActive == 1)
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
    // Asking once more makes the change reach the display before the process
    // ends: Wine's X11 driver only queues it, and an exit right after loses it.
    BOOL active = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    mainWindow().destroy();
    PostQuitMessage(0);
}

void onTimer(HWND, UINT) { mainWindow().clock().tick(); }

HBRUSH onCtlColorStatic(HWND, HDC dc, HWND, int) { return mainWindow().displayColours(dc); }

void onActivate(HWND window, UINT, HWND, BOOL) {
    mainWindow().applyBackground(prefs().backgroundColor);
    InvalidateRect(window, nullptr, TRUE);
}

void onCommand(HWND window, int id, HWND, UINT code) { runCommand(window, id, code); }

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        HANDLE_MSG(window, WM_CREATE, onCreate);
        HANDLE_MSG(window, WM_TIMER, onTimer);
        HANDLE_MSG(window, WM_COMMAND, onCommand);
        HANDLE_MSG(window, WM_CTLCOLORSTATIC, onCtlColorStatic);
        HANDLE_MSG(window, WM_ACTIVATE, onActivate);
        HANDLE_MSG(window, WM_DESTROY, onDestroy);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace
}  // namespace vantorel

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace vantorel;
    AppState& state = app();
    state.module = GetModuleHandleA(nullptr);

    // Never closed: the process's end releases it. A copy running elevated
    // (or at another integrity level) holds one that this copy may not
    // open: access denied means running too.
    CreateMutexA(nullptr, TRUE, kInstanceMutex);
    if (const DWORD error = GetLastError();
        error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) {
        MessageBoxA(nullptr, "An instance of this program is already running.", "Attention",
                    MB_ICONINFORMATION | MB_SYSTEMMODAL);
        bringBack(FindWindowA(kWindowClass, nullptr));
        ExitProcess(0);
    }

    state.icon = LoadIconA(state.module, MAKEINTRESOURCEA(IDI_VANTOREL));
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = state.module;
    windowClass.hIcon = state.icon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
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
    // Deliberate: ExitProcess, not a return, so the process ends here with
    // the loop's code whatever the runtime's exit handlers would do.
    ExitProcess(static_cast<UINT>(msg.wParam));
}
