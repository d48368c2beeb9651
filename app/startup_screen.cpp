#include "app/startup_screen.h"

#include <windows.h>

#include "app/app_state.h"
#include "resource.h"

namespace vantorel {
namespace {

constexpr UINT_PTR kStartupTimerId = 2;
constexpr UINT kStartupScreenMs = 1500;

// Owned by this file: the timer that closes the screen, while it shows.
UINT_PTR gStartupTimer = 0;

// No WM_COMMAND handling: Enter and Escape leave the screen open.
INT_PTR CALLBACK startupProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dialog, IDC_PROGRAM_ICON, STM_SETICON,
                                reinterpret_cast<WPARAM>(app().icon), 0);
            gStartupTimer = SetTimer(dialog, kStartupTimerId, kStartupScreenMs, nullptr);
            return TRUE;
        case WM_TIMER:
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            return TRUE;
        case WM_CLOSE:
            KillTimer(dialog, gStartupTimer);
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void showStartupScreen() {
    // No owner: it shows before the main window does.
    DialogBoxParamA(app().module, MAKEINTRESOURCEA(IDD_STARTUP), nullptr, startupProc, 0);
}

}  // namespace vantorel
