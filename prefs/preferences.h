// The one settings record and the preferences file that stores it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/error_reporter.h"

namespace vantorel {

inline constexpr std::size_t kPathBufferSize = 260;  // paths: at most 259 characters
inline constexpr std::size_t kFaceBufferSize = 32;   // font face: at most 31 characters
inline constexpr const char* kNoFileSelected = "No file selected";
inline constexpr const char* kPreferencesWriteError = "Cannot write to user preferences file!";
inline constexpr const char* kPreferencesReadError = "Cannot read user preferences file!";

// Field order is file order. All numbers start at 0 and all texts empty.
struct Preferences {
    std::int32_t showStartupScreen = 0;
    std::int32_t logEnabled = 0;
    std::int32_t tickingEnabled = 0;
    std::int32_t alarmEnabled = 0;
    std::int32_t buttonsLeft = 0;
    std::int32_t buttonsTop = 0;
    std::int32_t displayTop = 0;
    std::int32_t timerHours = 0;
    std::int32_t timerMinutes = 0;
    std::int32_t timerSeconds = 0;
    std::uint32_t textColor = 0;        // COLORREF 0x00BBGGRR
    std::uint32_t backgroundColor = 0;  // COLORREF 0x00BBGGRR
    std::int32_t fontHeight = 0;
    std::int32_t fontWeight = 0;
    std::int32_t fontItalic = 0;
    char fontFace[kFaceBufferSize] = {};
    char alarmSoundPath[kPathBufferSize] = {};
    char tickSoundPath[kPathBufferSize] = {};
};

// Copies text into a fixed field, cut to fit, always NUL-terminated.
template <std::size_t N>
void setText(char (&field)[N], const char* text) {
    std::size_t i = 0;
    for (; text != nullptr && i + 1 < N && text[i] != '\0'; ++i) field[i] = text[i];
    field[i] = '\0';
}

// The file operations on one record. Failures go to the reporter; callers
// never learn whether a save succeeded.
//
// A file that exists is never written over before it has been read: while
// it cannot be read (another program holding it open without sharing, no
// access), every save is refused, and the first load that reads it lifts
// the refusal.
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
    // After a save that could not read the file back, the record keeps the
    // values it had.
    void saveAndReload();

private:
    void read(bool defaultsIfUnreadable);

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
