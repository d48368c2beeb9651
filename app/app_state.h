// The process-wide records every part of the program reads: the module, the
// main window, the desktop work area, the settings and the log.
#pragma once

#include <windows.h>

#include <string>

#include "log/program_log.h"
#include "prefs/preferences.h"

namespace vantorel {

struct AppState {
    HINSTANCE module = nullptr;
    HWND mainWindow = nullptr;  // null until CreateWindowExA returns
    HICON icon = nullptr;
    RECT workArea = {};
    std::string dataFolder;  // empty when it could not be determined
};

AppState& app();
Preferences& prefs();
PreferencesStore& prefsStore();
ProgramLog& programLog();

// Builds dataFolder (the user's roaming application-data folder plus
// "vantorel"), creates the folder and points the preferences file into it.
void locateDataFolder();

// Appends an entry only when the log switch holds exactly 1.
void logIfEnabled(const char* message);

}  // namespace vantorel
