// Helper of the installer test, run under Wine: waits up to 20 s for the
// top-level window of class "Vantorel", prints the full path of the program
// that owns it, asks the window to close and waits up to 10 s for that
// program to end. A program that does not end is terminated.
//
// Exit code: 0 the window appeared and its program ended after WM_CLOSE;
//            1 no such window within 20 s;
//            2 the program did not end and was terminated;
//            3 the program's process could not be opened.
#include <windows.h>

#include <cstdio>

namespace {

constexpr DWORD kWindowWaitMs = 20000;
constexpr DWORD kExitWaitMs = 10000;
constexpr DWORD kPollMs = 100;

HWND waitForWindow() {
    for (DWORD waited = 0; waited < kWindowWaitMs; waited += kPollMs) {
        if (HWND window = FindWindowA("Vantorel", nullptr)) return window;
        Sleep(kPollMs);
    }
    return FindWindowA("Vantorel", nullptr);
}

}  // namespace

int main() {
    HWND window = waitForWindow();
    if (window == nullptr) {
        std::fprintf(stderr, "find_window: no window of class \"Vantorel\" within %lu s\n",
                     static_cast<unsigned long>(kWindowWaitMs / 1000));
        return 1;
    }

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(
        SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        std::fprintf(stderr, "find_window: cannot open process %lu (error %lu)\n",
                     static_cast<unsigned long>(processId),
                     static_cast<unsigned long>(GetLastError()));
        return 3;
    }

    char path[MAX_PATH] = {};
    DWORD length = sizeof path;
    if (QueryFullProcessImageNameA(process, 0, path, &length) == 0) path[0] = '\0';
    std::printf("%s\n", path);
    std::fflush(stdout);

    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, kExitWaitMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr,
                     "find_window: the program did not end within %lu s of WM_CLOSE; terminated\n",
                     static_cast<unsigned long>(kExitWaitMs / 1000));
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kExitWaitMs);
        CloseHandle(process);
        return 2;
    }
    CloseHandle(process);
    return 0;
}
