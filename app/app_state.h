// The process-wide records: the module and the desktop, the settings and
// their file, the log. Each is written only where its comment says; every
// other part of the program only reads it.
#pragma once

#include <windows.h>

#include <string>

#include "log/program_log.h"
#include "prefs/preferences_file.h"

namespace vantorel {

struct AppState {
    HINSTANCE module = nullptr;  // set by WinMain, first
    HICON icon = nullptr;        // set by WinMain for the window class; the dialogs show it too
    RECT workArea = {};          // set by WinMain before the main window is created
    std::string dataFolder;      // set by locateDataFolder(); empty when it could not be found
};
// The main window's handle is MainWindow::handle() (app/main_window.h).

AppState& app();

// The settings, for reading.
const Preferences& prefs();
// The settings, for the parts that change them: Set Timer's OK, Preferences'
// OK and its "..." buttons, the font and colour commands. Each writes its
// new values and then calls prefsStore().saveAndReload(), except the "..."
// buttons, whose picked file enters the record at once and is saved with
// the next save (deliberate). The store itself fills it at load.
Preferences& prefsToChange();
PreferencesStore& prefsStore();

// The log; its path is set once at start-up (WM_CREATE).
ProgramLog& programLog();

// Sets dataFolder (the user's roaming application-data folder plus
// "vantorel"), creates the folder and points the preferences file into it.
void locateDataFolder();

// Appends an entry only when the log switch is on.
void logIfEnabled(const char* message);

}  // namespace vantorel
