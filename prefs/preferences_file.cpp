// The preferences file: 15 numbers, one "%d\n" line each, then the font face
// and the two sound paths, one "%s\n" line each. Written in binary mode, so
// every line ends in a single line feed.
//
// Reading follows the scanf "%d\n" rules for the numbers (white space of any
// kind and amount around them, blank lines included; a sign is taken even
// when no digit follows it) and a line reader for the texts. The same reader
// serves a file and a block of memory.

#include "prefs/preferences_file.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>

#include "prefs/file_operations.h"

namespace vantorel {
namespace {

constexpr int kEnd = -1;

// Characters from a block of memory, with look-ahead.
class MemorySource {
public:
    MemorySource(const char* data, std::size_t size)
        : data_(data), size_(data != nullptr ? size : 0) {}
    int peek(std::size_t ahead = 0) const {
        return pos_ + ahead < size_ ? static_cast<unsigned char>(data_[pos_ + ahead]) : kEnd;
    }
    void advance() { ++pos_; }

private:
    const char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Characters from an open file, buffered, with the same look-ahead. A read
// error counts as the end of the file.
class FileSource {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    int peek(std::size_t ahead = 0) {
        if (!fill(ahead)) return kEnd;
        return static_cast<unsigned char>(buffer_[pos_ + ahead]);
    }
    void advance() { ++pos_; }

private:
    // Makes sure the character `ahead` places on is in the buffer.
    bool fill(std::size_t ahead) {
        if (pos_ + ahead < length_) return true;
        if (ahead >= sizeof buffer_) return false;
        std::memmove(buffer_, buffer_ + pos_, length_ - pos_);
        length_ -= pos_;
        pos_ = 0;
        while (length_ <= ahead) {
            const std::size_t got =
                std::fread(buffer_ + length_, 1, sizeof buffer_ - length_, file_);
            if (got == 0) return false;
            length_ += got;
        }
        return true;
    }

    std::FILE* file_;
    char buffer_[4096];
    std::size_t pos_ = 0;
    std::size_t length_ = 0;
};

// White space as scanf knows it in the "C" locale.
bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(int c) { return c >= '0' && c <= '9'; }

template <class Source>
void skipSpace(Source& in) {
    while (isSpace(in.peek())) in.advance();
}

// One "%d\n": leading white space, an optionally signed decimal number,
// trailing white space. A value beyond the signed 32-bit range is clamped to
// it. False when no number starts here; the position is then the first
// character after the leading white space, or after the sign when there is
// one: like scanf, it takes a sign that no digit follows.
template <class Source>
bool readNumber(Source& in, std::int32_t& value) {
    skipSpace(in);
    const int first = in.peek();
    if (first == '+' || first == '-') in.advance();
    if (!isDigit(in.peek())) return false;

    // Magnitudes stop growing just past the range, so nothing overflows.
    constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    while (isDigit(in.peek())) {
        if (magnitude <= kCap) magnitude = magnitude * 10 + (in.peek() - '0');
        in.advance();
    }
    if (magnitude > kCap) magnitude = kCap;
    const std::int64_t signedValue = first == '-' ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
    } else {
        value = static_cast<std::int32_t>(signedValue);
    }
    skipSpace(in);
    return true;
}

// One text line into a fixed field. The line ends after its line feed or at
// the end of the file; the line feed, and a carriage return just before it,
// are not part of the text. A NUL ends the text, and what does not fit the
// field is dropped with the rest of the line. With no line left, the field
// keeps its value.
template <class Source, std::size_t N>
void readText(Source& in, char (&field)[N]) {
    if (in.peek() == kEnd) return;
    std::size_t kept = 0;
    std::size_t lineLength = 0;
    bool cut = false;
    bool endedWithLineFeed = false;
    int last = kEnd;
    for (int c = in.peek(); c != kEnd; c = in.peek()) {
        in.advance();
        if (c == '\n') {
            endedWithLineFeed = true;
            break;
        }
        ++lineLength;
        last = c;
        if (c == '\0') cut = true;
        if (cut || kept + 1 >= N) {
            cut = true;
            continue;
        }
        field[kept++] = static_cast<char>(c);
    }
    if (endedWithLineFeed && last == '\r' && kept == lineLength) --kept;
    field[kept] = '\0';
}

// Calls visit(field) for the fifteen numbers in file order. The colours are
// unsigned in the record but stored as their signed 32-bit value.
template <class Record, class Visit>
void forEachNumber(Record& r, Visit visit) {
    visit(r.showStartupScreen);
    visit(r.logEnabled);
    visit(r.tickingEnabled);
    visit(r.alarmEnabled);
    visit(r.buttonsLeft);
    visit(r.buttonsTop);
    visit(r.displayTop);
    visit(r.timerHours);
    visit(r.timerMinutes);
    visit(r.timerSeconds);
    visit(r.textColor);
    visit(r.backgroundColor);
    visit(r.fontHeight);
    visit(r.fontWeight);
    visit(r.fontItalic);
}

template <class Source>
void parse(Source& in, Preferences& record) {
    // A number that cannot be read keeps its field's value. Unless it failed
    // after a sign, the next one starts at the same character and fails too.
    forEachNumber(record, [&](auto& field) {
        std::int32_t value = 0;
        if (readNumber(in, value)) {
            field = static_cast<std::remove_reference_t<decltype(field)>>(value);
        }
    });
    readText(in, record.fontFace);
    readText(in, record.alarmSoundPath);
    readText(in, record.tickSoundPath);
}

template <std::size_t N>
void appendText(std::string& out, const char (&field)[N]) {
    std::size_t length = 0;
    while (length + 1 < N && field[length] != '\0') ++length;
    out.append(field, length);
    out += '\n';
}

void appendNumber(std::string& out, std::int32_t value) {
    out += std::to_string(value);
    out += '\n';
}

// Empty, longer than a path may be, or holding a NUL: such a name opens no file.
bool usablePath(const std::string& path) {
    return !path.empty() && path.size() < kPathBufferSize && path.find('\0') == std::string::npos;
}

// The temporary file of a save: in the same folder, under a name no longer
// than the file's own, so that every path that fits the file fits it too.
// vantorl.cfg becomes vantorl.tmp; a name without a three-letter extension
// has its last character changed.
std::string temporaryPath(const std::string& path) {
    std::string temporary = path;
    const std::size_t name = path.find_last_of("/\\") + 1;  // 0 when there is no folder
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > name && path.size() - dot == 4 &&
        path.compare(dot, 4, ".tmp") != 0) {
        temporary.replace(dot, 4, ".tmp");
    } else {
        temporary.back() = temporary.back() == '~' ? '_' : '~';
    }
    return temporary;
}

}  // namespace

std::string formatPreferences(const Preferences& record) {
    std::string out;
    forEachNumber(record, [&](auto field) { appendNumber(out, static_cast<std::int32_t>(field)); });
    appendText(out, record.fontFace);
    appendText(out, record.alarmSoundPath);
    appendText(out, record.tickSoundPath);
    return out;
}

void parsePreferences(const char* data, std::size_t size, Preferences& record) {
    MemorySource in(data, size);
    parse(in, record);
}

PreferencesStore::PreferencesStore(Preferences& record, ErrorReporter& errors)
    : record_(record), errors_(errors) {}

void PreferencesStore::setPath(std::string path) { path_ = std::move(path); }

void PreferencesStore::setDefaults() {
    record_.showStartupScreen = 1;
    record_.logEnabled = 1;
    record_.tickingEnabled = 1;
    record_.alarmEnabled = 1;
    record_.buttonsLeft = 510;
    record_.buttonsTop = 10;
    record_.displayTop = 100;
    record_.timerHours = 0;
    record_.timerMinutes = 3;
    record_.timerSeconds = 0;
    record_.textColor = 0;
    record_.backgroundColor = 16777215;
    record_.fontHeight = 320;
    record_.fontWeight = 700;
    record_.fontItalic = 0;
    setText(record_.fontFace, "Arial");
    setText(record_.alarmSoundPath, kNoFileSelected);
    setText(record_.tickSoundPath, kNoFileSelected);
}

// The new text goes to a temporary file next to the old one, which then
// replaces the old file in one step; the old file stays whole until then.
// Only where another program keeps that step from being taken is the old
// file written over in place.
void PreferencesStore::save() {
    if (!usablePath(path_) || isReadOnlyFile(path_.c_str())) {
        errors_.report(kPreferencesWriteError);
        return;
    }
    if (unread_) {
        // Gone since it could not be read (deleted or moved away): nothing
        // of it can be lost any more.
        if (!fileMissing(path_.c_str())) {
            errors_.report(kPreferencesWriteError);
            return;
        }
        unread_ = false;
    }
    const std::string temporary = temporaryPath(path_);
    const std::size_t slash = path_.find_last_of("/\\");
    if (slash != std::string::npos && slash > 0 && fileMissing(path_.c_str())) {
        createFolder(path_.substr(0, slash).c_str());  // the data folder may have been removed
    }
    std::remove(temporary.c_str());  // a leftover from an interrupted save
    const std::string text = formatPreferences(record_);
    bool saved = false;
    if (writeNewFile(temporary.c_str(), text)) {
        // Another program holding the file open keeps its name from being
        // moved over on Windows; if it lets others write the file, the
        // text goes over it in place.
        const Replaced replaced = replaceFile(temporary.c_str(), path_.c_str());
        saved = replaced == Replaced::yes ||
                (replaced == Replaced::inUse && overwriteFile(path_.c_str(), text));
    }
    std::remove(temporary.c_str());  // unless it has become the file
    if (!saved) errors_.report(kPreferencesWriteError);
}

void PreferencesStore::load() { read(true); }

void PreferencesStore::saveAndReload() {
    save();
    read(false);
}

void PreferencesStore::read(bool atStartUp) {
    std::FILE* file = usablePath(path_) ? std::fopen(path_.c_str(), "rb") : nullptr;
    if (file == nullptr) {
        if (usablePath(path_) && !fileMissing(path_.c_str())) {
            // There, but not readable now: left alone, and not written over
            // until it has been read.
            unread_ = true;
            if (atStartUp) setDefaults();
            errors_.report(kPreferencesReadError);
            return;
        }
        unread_ = false;
        // No file at start-up: the first start. No file after a save: the
        // save has said why, and the record keeps the change it failed to store.
        if (atStartUp) {
            setDefaults();
            save();
        }
        return;
    }
    unread_ = false;
    FileSource in(file);
    parse(in, record_);
    std::fclose(file);
}

}  // namespace vantorel
