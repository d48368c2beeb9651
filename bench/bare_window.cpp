// The floor for the start-up benchmark: a window class, one visible window
// and a message loop, nothing else. Started the same way as vantorel.exe, it
// shows what Wine's own process start costs.
#include <windows.h>

#include "bench/plain_window.h"

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
    return runPlainWindow(module, "BareWindow", windowProc, 640, 480);
}
