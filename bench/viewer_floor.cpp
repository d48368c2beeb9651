// The floor for the log viewer benchmark: the viewer's own dialog template,
// opened by the same command, whose list is filled with the log's lines one
// LB_ADDSTRING each, read in the plainest way: the whole file at once, split
// at line feeds (one CR before each dropped). Nothing else.
#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/plain_window.h"
#include "resource.h"

namespace {

void fill(HWND list) {
    wchar_t folder[MAX_PATH] = {};  // its wide name: it may be outside the ANSI code page
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_APPDATA, FALSE);
    std::ifstream file(std::filesystem::path(folder) / "vantorel" / "vantorellog.txt",
                       std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::string text = bytes.str();
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        text[end > start && text[end - 1] == '\r' ? end - 1 : end] = '\0';
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str() + start));
    }
}

INT_PTR CALLBACK viewerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        fill(GetDlgItem(dialog, IDC_LOG_LIST));
        return TRUE;
    }
    if ((message == WM_COMMAND && LOWORD(wParam) == IDOK) || message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDM_VIEW_LOG) {
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOG_VIEWER), window,
                        viewerProc, 0);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
    return runPlainWindow(module, "ViewerFloor", windowProc, 640, 480);
}
