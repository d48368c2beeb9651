// The one settings record, in the order of the preferences file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vantorel {

inline constexpr std::size_t kPathBufferSize = 260;  // paths: at most 259 characters
inline constexpr std::size_t kFaceBufferSize = 32;   // font face: at most 31 characters
// The value of a sound path that means "play the built-in sound".
inline constexpr const char* kNoFileSelected = "No file selected";

// Field order is file order. All numbers start at 0 and all texts empty; the
// load at start-up fills them (prefs/preferences_file.h).
struct Preferences {
    std::int32_t showStartupScreen = 0;  // switches: on only at exactly 1 (core/switches.h)
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

}  // namespace vantorel
