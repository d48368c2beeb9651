#include "app/help_about.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "app/app_state.h"
#include "app/ansi_path.h"
#include "resource.h"

namespace vantorel {
namespace {

constexpr const char* kHelpFile = "vantorelhelp.chm";

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
    // The help file next to the program, whatever the current folder
    // (deliberate: that is where a shortcut or a file browser happens to
    // start the program). The folder is cut off at the program's own name by
    // the shell, so no character's second byte is taken for a backslash.
    wchar_t program[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, program, MAX_PATH);
    char help[MAX_PATH] = {};
    if (n > 0 && n < MAX_PATH && PathRemoveFileSpecW(program))
        lstrcpynA(help, ansiPath(program).c_str(), MAX_PATH);
    const std::string path = help[0] != '\0' && PathAppendA(help, kHelpFile) ? help : "";
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
