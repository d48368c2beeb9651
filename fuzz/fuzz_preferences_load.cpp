// Feeds arbitrary bytes to the preferences reader, from memory and through a
// file, and checks that every record it produces is sound: texts end within
// their buffers, both readers agree, and the record's file text reads back.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "prefs/preferences.h"

namespace {

using vantorel::Preferences;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// The file was just written, so loading it must never report a failure.
class FailingReporter : public vantorel::ErrorReporter {
public:
    void report(const char*) override { check(false); }
};

template <std::size_t N>
std::size_t measured(const char (&field)[N]) {
    const void* end = std::memchr(field, '\0', N);
    check(end != nullptr);
    return static_cast<std::size_t>(static_cast<const char*>(end) - field);
}

void checkSound(const Preferences& record) {
    check(measured(record.fontFace) <= 31);
    check(measured(record.alarmSoundPath) <= 259);
    check(measured(record.tickSoundPath) <= 259);
}

bool isBlank(char c) { return std::strchr(" \t\n\v\f\r", c) != nullptr && c != '\0'; }

template <std::size_t N>
bool endsInCarriageReturn(const char (&field)[N]) {
    return measured(field) > 0 && field[measured(field) - 1] == '\r';
}

Preferences startingRecord() {
    Preferences record;
    record.showStartupScreen = 7;
    record.buttonsLeft = -3;
    record.textColor = 0xDEADBEEFu;
    record.fontItalic = 99;
    vantorel::setText(record.fontFace, "Start Face");
    vantorel::setText(record.alarmSoundPath, "start alarm");
    vantorel::setText(record.tickSoundPath, "start tick");
    return record;
}

// A plain array, so the exit handler can still use it after static objects
// are gone.
char scratchPath[32] = "/tmp/fuzz_preferences_XXXXXX";

void removeScratch() { std::remove(scratchPath); }

void makeScratch() {
    const int fd = mkstemp(scratchPath);
    check(fd >= 0);
    close(fd);
    std::atexit(removeScratch);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool scratchMade = (makeScratch(), true);
    (void)scratchMade;

    const char* text = reinterpret_cast<const char*>(data);
    Preferences fromMemory = startingRecord();
    vantorel::parsePreferences(text, size, fromMemory);
    checkSound(fromMemory);
    const std::string formatted = vantorel::formatPreferences(fromMemory);

    // The same bytes read through a file give the same record.
    std::FILE* file = std::fopen(scratchPath, "wb");
    check(file != nullptr);
    check(std::fwrite(text, 1, size, file) == size);
    check(std::fclose(file) == 0);
    Preferences fromFile = startingRecord();
    FailingReporter errors;
    vantorel::PreferencesStore store(fromFile, errors);
    store.setPath(scratchPath);
    store.load();
    checkSound(fromFile);
    check(vantorel::formatPreferences(fromFile) == formatted);

    // What a save writes reads back with every number, and with the texts
    // too unless the face is empty or starts blank (skipped with the space
    // after the numbers) or a text ends in a carriage return (taken as a CRLF
    // line ending).
    Preferences reread = fromMemory;
    vantorel::parsePreferences(formatted.data(), formatted.size(), reread);
    checkSound(reread);
    const bool textsSurvive = fromMemory.fontFace[0] != '\0' && !isBlank(fromMemory.fontFace[0]) &&
                              !endsInCarriageReturn(fromMemory.fontFace) &&
                              !endsInCarriageReturn(fromMemory.alarmSoundPath) &&
                              !endsInCarriageReturn(fromMemory.tickSoundPath);
    if (textsSurvive) {
        check(vantorel::formatPreferences(reread) == formatted);
    } else {
        const std::size_t numbersEnd = formatted.size() - measured(fromMemory.fontFace) -
                                       measured(fromMemory.alarmSoundPath) -
                                       measured(fromMemory.tickSoundPath) - 3;
        check(vantorel::formatPreferences(reread).compare(0, numbersEnd, formatted, 0,
                                                          numbersEnd) == 0);
    }
    return 0;
}
