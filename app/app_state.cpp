#include "app/app_state.h"

#include <shlobj.h>
#include <shlwapi.h>

namespace vantorel {
namespace {

// File failures are shown at once, with no owner window, and the program
// carries on.
class MessageBoxReporter final : public ErrorReporter {
public:
    void report(const char* text) override {
        MessageBoxA(nullptr, text, kErrorCaption, MB_ICONERROR | MB_SYSTEMMODAL);
    }
};

class SystemLocalClock final : public LocalClock {
public:
    LocalTime now() override {
        SYSTEMTIME t;
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
};

MessageBoxReporter gReporter;
SystemLocalClock gLocalClock;
AppState gApp;
Preferences gPrefs;
PreferencesStore gStore(gPrefs, gReporter);
ProgramLog gLog(gReporter, gLocalClock);

}  // namespace

AppState& app() { return gApp; }
Preferences& prefs() { return gPrefs; }
PreferencesStore& prefsStore() { return gStore; }
ProgramLog& programLog() { return gLog; }

void locateDataFolder() {
    char buffer[MAX_PATH] = {};
    std::string folder;
    // PathAppendA fails rather than write past MAX_PATH characters.
    if (SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_APPDATA, FALSE) && buffer[0] != '\0' &&
        PathAppendA(buffer, "vantorel")) {
        folder = buffer;
        CreateDirectoryA(buffer, nullptr);
    }
    gApp.dataFolder = folder;
    // An empty folder leaves the file unopenable, so the usual error boxes show.
    gStore.setPath(folder.empty() ? std::string() : folder + "/vantorl.cfg");
}

void logIfEnabled(const char* message) {
    if (gPrefs.logEnabled == 1) gLog.appendLog(message);
}

}  // namespace vantorel
