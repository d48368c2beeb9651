#include "app/help_about.h"

#include <shellapi.h>

#include <string>

#include "app/app_state.h"
#include "resource.h"

namespace vantorel {
namespace {

constexpr const char* kHelpFile = "vantorelhelp.chm";
constexpr UINT_PTR kStartupTimerId = 2;
constexpr UINT kStartupScreenMs = 1500;

UINT_PTR gStartupTimer = 0;

// ShellExecuteA reports success with a value above 32.
bool shellOpened(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

// The folder holding vantorel.exe, with a trailing backslash; empty when the
// module path does not fit its buffer.
std::string programFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    std::string folder(path, n);
    const std::size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

void setProgramIcon(HWND dialog) {
    SendMessageA(GetDlgItem(dialog, IDC_PROGRAM_ICON), STM_SETICON,
                 reinterpret_cast<WPARAM>(app().icon), 0);
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            setProgramIcon(dialog);
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

INT_PTR CALLBACK startupProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            setProgramIcon(dialog);
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

void openHelp(HWND window) {
    // The help file is looked for next to the program, whatever the current
    // folder happens to be.
    const std::string folder = programFolder();
    const std::string path = folder + kHelpFile;
    if (folder.empty() || path.size() >= MAX_PATH ||
        !shellOpened(ShellExecuteA(window, "open", path.c_str(), "", "", SW_SHOWMAXIMIZED))) {
        MessageBoxA(nullptr, "Unable to open the program's help file", "Error!", MB_ICONERROR);
    }
}

void showAbout(HWND owner) {
    DialogBoxParamA(app().module, MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutProc, 0);
}

void showStartupScreen() {
    DialogBoxParamA(app().module, MAKEINTRESOURCEA(IDD_STARTUP), nullptr, startupProc, 0);
}

}  // namespace vantorel
