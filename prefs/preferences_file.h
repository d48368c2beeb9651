// The preferences file that stores the settings record, and the store that
// loads and saves it.
#pragma once

#include <cstddef>
#include <string>

#include "core/error_reporter.h"
#include "prefs/preferences.h"

namespace vantorel {

inline constexpr const char* kPreferencesWriteError = "Cannot write to user preferences file!";
inline constexpr const char* kPreferencesReadError = "Cannot read user preferences file!";

// The file operations on one record. Failures go to the reporter; callers
// never learn whether a save succeeded.
//
// A file that exists is never written over before it has been read: while
// it cannot be read (another program holding it open without sharing, no
// access), every save is refused, and the first load that reads it lifts
// the refusal. A file that is not there holds nothing to lose: saving it
// always goes ahead, the data folder made again if it has gone.
class PreferencesStore {
public:
    PreferencesStore(Preferences& record, ErrorReporter& errors);

    // Empty or longer than 259 characters: the file counts as one that
    // cannot be opened.
    void setPath(std::string path);
    const std::string& path() const { return path_; }

    void setDefaults();
    void save();
    // The load at start-up: a missing file is a first start (defaults, then
    // a save); a file that cannot be read gives the defaults for this run.
    void load();
    // Save, then read the file back. When there is nothing to read back
    // (the file cannot be read, or the save could not make it), the record
    // keeps the values it had.
    void saveAndReload();

private:
    void read(bool atStartUp);

    Preferences& record_;
    ErrorReporter& errors_;
    std::string path_;
    bool unread_ = false;  // the file exists but has not been read yet
};

// The file's text for a record: 15 "%d\n" lines then 3 "%s\n" lines.
std::string formatPreferences(const Preferences& record);
// Fills the record from file text, as load does; fields the text does not
// supply keep their values.
void parsePreferences(const char* data, std::size_t size, Preferences& record);

}  // namespace vantorel
