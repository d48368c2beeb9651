// Arbitrary bytes through both preferences readers: from memory, and from a
// file through the store. They agree, every text ends within its field, and
// what a save writes reads back to the same numbers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "prefs/preferences_file.h"

using namespace vantorel;

// The file was just written, so loading it never reports a failure.
struct NoReports : ErrorReporter {
    void report(const char*) override { __builtin_trap(); }
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Preferences fromMemory, fromFile, reread;
    parsePreferences(reinterpret_cast<const char*>(data), size, fromMemory);
    char path[] = "/tmp/fuzz_preferences_XXXXXX";
    std::FILE* out = fdopen(mkstemp(path), "wb");
    if (!out || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0) __builtin_trap();
    NoReports errors;
    PreferencesStore store(fromFile, errors);
    store.setPath(path);
    store.load();
    std::remove(path);
    const std::string saved = formatPreferences(fromMemory);
    const bool ended = std::memchr(fromFile.fontFace, 0, kFaceBufferSize) &&
                       std::memchr(fromFile.alarmSoundPath, 0, kPathBufferSize) &&
                       std::memchr(fromFile.tickSoundPath, 0, kPathBufferSize);
    if (!ended || formatPreferences(fromFile) != saved) __builtin_trap();
    parsePreferences(saved.data(), saved.size(), reread);
    std::size_t numbers = 0;  // the numbers are the first fifteen lines
    for (int i = 0; i < 15; ++i) numbers = saved.find('\n', numbers) + 1;
    if (formatPreferences(reread).compare(0, numbers, saved, 0, numbers) != 0) __builtin_trap();
    return 0;
}
