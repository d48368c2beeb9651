#include "app/win32_platform.h"

#include <windows.h>

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

// The new contents reach the disk before the name points at them: the disk
// may get the rename first, and a power cut would then leave an empty or
// zero-filled file under the old name. MOVEFILE_WRITE_THROUGH does not see
// to that; for a rename on one volume it adds nothing. MoveFileExA then
// swaps the name over in one step.
bool replaceFile(const char* from, const char* to) {
    const HANDLE file =
        CreateFileA(from, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed && MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
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
