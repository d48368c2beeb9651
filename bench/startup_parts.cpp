// What vantorel.exe does at start beyond the start-up floor, each part timed
// on its own with the performance counter, in a fresh process as at a real
// start and in vantorel.exe's order, with vantorel.exe's own code for the
// settings file and the log: the instance mutex, the data folder, the
// settings file, the startup-screen check, the data folder once more, the
// log's folder and its " - Session Start" entry (as with the log on), the
// screen saver (switched off when it is on, as vantorel.exe does; put back
// afterwards) and power state, and in a window that is not yet shown, the
// controls' second placing and the class background brush; then the
// background brush made again, as vantorel.exe does when its window is
// activated by being shown. Writes one line "name microseconds" per part to
// the file named by its argument.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>

#include "app/ansi_path.h"
#include "app/win32_platform.h"
#include "core/switches.h"
#include "log/program_log.h"
#include "prefs/preferences_file.h"

namespace {

using namespace vantorel;

std::FILE* gOut;
LARGE_INTEGER gFrequency;

template <class Part>
void timed(const char* name, Part part) {
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    part();
    QueryPerformanceCounter(&after);
    std::fprintf(gOut, "%s %lld\n", name,
                 (after.QuadPart - before.QuadPart) * 1000000 / gFrequency.QuadPart);
}

// As vantorel.exe finds it: by the folder's ANSI name, or its short name
// where the ANSI name is not exact.
std::string locateDataFolder() {
    char buffer[MAX_PATH] = {};
    wchar_t roaming[MAX_PATH] = {};
    if (SHGetSpecialFolderPathW(nullptr, roaming, CSIDL_APPDATA, FALSE))
        lstrcpynA(buffer, ansiPath(roaming).c_str(), MAX_PATH);
    if (buffer[0] == '\0' || !PathAppendA(buffer, "vantorel")) return {};
    CreateDirectoryA(buffer, nullptr);
    return buffer;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// The main window as vantorel.exe has it while WM_CREATE runs: not yet shown.
void windowParts(HINSTANCE module) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = module;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = "StartupParts";
    RegisterClassA(&windowClass);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND window = CreateWindowExA(0, "StartupParts", "", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  0, 0, work.right, work.bottom, nullptr, nullptr, module, nullptr);
    HWND controls[4];
    for (HWND& control : controls) {
        control = CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                                  nullptr, module, nullptr);
    }
    timed("controls_moved_into_place", [&] {
        for (int i = 0; i < 3; ++i) MoveWindow(controls[i], 510 + 90 * i, 10, 80, 40, TRUE);
        MoveWindow(controls[3], 0, 100, work.right, work.bottom, TRUE);
    });
    const auto background = [&] {
        HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
        SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
        RedrawWindow(window, nullptr, nullptr, 0);
        InvalidateRect(window, nullptr, TRUE);
    };
    timed("class_background_brush", background);
    timed("background_on_activation", background);
    DestroyWindow(window);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !(gOut = std::fopen(argv[1], "ab"))) return 1;
    QueryPerformanceFrequency(&gFrequency);
    MessageBoxReporter reporter;
    SystemLocalClock localClock;
    Preferences preferences;
    PreferencesStore store(preferences, reporter);
    ProgramLog log(reporter, localClock);
    std::string folder;

    timed("instance_mutex", [] { CreateMutexA(nullptr, TRUE, "VantorelStartupParts"); });
    timed("data_folder", [&] { folder = locateDataFolder(); });
    timed("settings_file", [&] {
        store.setPath(folder + "/vantorl.cfg");
        store.load();
    });
    volatile bool startupScreen = false;
    timed("startup_screen_check", [&] { startupScreen = switchOn(preferences.showStartupScreen); });
    timed("data_folder_again", [&] { folder = locateDataFolder(); });
    timed("log_session_start", [&] {
        log.setFolder(folder);
        log.appendLog(kLogSessionStart);
    });
    BOOL screenSaverWasActive = FALSE;
    timed("screen_saver_and_power", [&] {
        SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &screenSaverWasActive, 0);
        if (screenSaverWasActive == TRUE)
            SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
        SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);
    });
    windowParts(GetModuleHandleA(nullptr));
    if (screenSaverWasActive == TRUE) {
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
        BOOL active = FALSE;  // asked once more so that the change reaches the display
        SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    }
    std::fclose(gOut);
    return 0;
}
