#include "app/win32_platform.h"

#include <windows.h>

#include <string>

#include "prefs/file_operations.h"

namespace vantorel {

void MessageBoxReporter::report(const char* text) {
    MessageBoxA(nullptr, text, kErrorCaption, MB_ICONERROR | MB_SYSTEMMODAL);
}

LocalTime SystemLocalClock::now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::uint64_t PerformanceCounterTime::nowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    const auto f = static_cast<std::uint64_t>(frequency.QuadPart);
    const auto c = static_cast<std::uint64_t>(counter.QuadPart);
    return c / f * 1000 + c % f * 1000 / f;
}

namespace {

// Writes the whole text to the open file, flushes it to the disk through
// that handle (so the data is on the disk before a rename can point at it:
// the disk may get the rename first, and a power cut would then leave an
// empty or zero-filled file under the old name) and closes it.
bool writeAndFlush(HANDLE file, const std::string& text) {
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool whole =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
        written == text.size() && SetEndOfFile(file) != 0;
    const bool flushed = FlushFileBuffers(file) != 0;
    return CloseHandle(file) != 0 && whole && flushed;
}

}  // namespace

// Others may read the new file meanwhile (a virus scanner does).
bool writeNewFile(const char* path, const std::string& text) {
    return writeAndFlush(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr),
                         text);
}

// MoveFileExA swaps the name over in one step. Windows refuses it while
// another program has either file open without letting others delete it
// (Wine whenever another program has it open): a sharing violation, or
// access denied.
Replaced replaceFile(const char* from, const char* to) {
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return Replaced::yes;
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ? Replaced::inUse
                                                                            : Replaced::no;
}

// Shares everything, so whoever holds the file open and lets others write
// it does not stand in the way.
bool overwriteFile(const char* path, const std::string& text) {
    return writeAndFlush(
        CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
        text);
}

bool isReadOnlyFile(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool fileMissing(const char* path) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void createFolder(const char* path) { CreateDirectoryA(path, nullptr); }

}  // namespace vantorel
