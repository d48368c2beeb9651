// Presses the Cancel button of the window with the given caption as soon as
// it shows (waiting up to a minute), as a user would.
// Usage: press_cancel.exe CAPTION
#include <windows.h>

int main(int argc, char** argv) {
    for (int tries = 0; argc == 2 && tries < 600; ++tries, Sleep(100)) {
        const HWND window = FindWindowA(nullptr, argv[1]);
        if (window == nullptr || !IsWindowVisible(window)) continue;
        Sleep(500);  // the page is drawn and takes clicks
        SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
        return 0;
    }
    return 1;
}
