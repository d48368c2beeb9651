#include "app/app_state.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "app/ansi_path.h"
#include "app/win32_platform.h"
#include "core/switches.h"

namespace vantorel {
namespace {

MessageBoxReporter gReporter;
SystemLocalClock gLocalClock;
AppState gApp;
Preferences gPrefs;
PreferencesStore gStore(gPrefs, gReporter);
ProgramLog gLog(gReporter, gLocalClock);

}  // namespace

AppState& app() { return gApp; }
const Preferences& prefs() { return gPrefs; }
Preferences& prefsToChange() { return gPrefs; }
PreferencesStore& prefsStore() { return gStore; }
ProgramLog& programLog() { return gLog; }

void locateDataFolder() {
    char buffer[MAX_PATH] = {};
    wchar_t roaming[MAX_PATH] = {};
    std::string folder;
    // The folder by a name the ANSI file functions open (its short name when
    // the user's name is outside the code page); failing that, the shell's
    // ANSI name, whose files cannot be opened, so the usual error boxes show.
    if (SHGetSpecialFolderPathW(nullptr, roaming, CSIDL_APPDATA, FALSE))
        lstrcpynA(buffer, ansiPath(roaming).c_str(), MAX_PATH);
    if (buffer[0] == '\0') SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_APPDATA, FALSE);
    // PathAppendA fails rather than write past MAX_PATH characters.
    if (buffer[0] != '\0' && PathAppendA(buffer, "vantorel")) {
        folder = buffer;
        CreateDirectoryA(buffer, nullptr);
    }
    gApp.dataFolder = folder;
    // An empty folder leaves the file unopenable, so the usual error boxes show.
    gStore.setPath(folder.empty() ? std::string() : folder + "/vantorl.cfg");
}

void logIfEnabled(const char* message) {
    if (switchOn(gPrefs.logEnabled)) gLog.appendLog(message);
}

}  // namespace vantorel
