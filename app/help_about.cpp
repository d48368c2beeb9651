#include "app/help_about.h"

#include <shellapi.h>

#include "app/app_state.h"
#include "app/help_path.h"
#include "resource.h"

namespace vantorel {
namespace {

// ShellExecuteA reports success with a value above 32.
bool shellOpened(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

// Escape (IDCANCEL) is not handled, so it leaves the dialog open (deliberate,
// as in every dialog of the program).
INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dialog, IDC_PROGRAM_ICON, STM_SETICON,
                                reinterpret_cast<WPARAM>(app().icon), 0);
            return TRUE;
        case WM_COMMAND:
            if (wParam == IDC_ABOUT_VISIT_WEB_PAGE) {
                if (!shellOpened(ShellExecuteA(dialog, "open", VANTOREL_WEB_PAGE, "", "",
                                               SW_SHOWMAXIMIZED))) {
                    MessageBoxA(nullptr, "Are you online now?", "Unable to connect to website!",
                                MB_ICONERROR);
                }
                return TRUE;
            }
            if (wParam == IDOK) {
                EndDialog(dialog, 0);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void openHelp(HWND window) {
    char program[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string path = n > 0 && n < MAX_PATH ? helpFilePath(program) : std::string();
    if (path.empty() ||
        !shellOpened(ShellExecuteA(window, "open", path.c_str(), "", "", SW_SHOWMAXIMIZED))) {
        // No owner window (deliberate, as for every message box of the program).
        MessageBoxA(nullptr, "Unable to open the program's help file", "Error!", MB_ICONERROR);
    }
}

void showAbout(HWND owner) {
    DialogBoxParamA(app().module, MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutProc, 0);
}

}  // namespace vantorel
