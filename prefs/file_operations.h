// The few file operations that the platforms do each their own way, used by
// the preferences file. prefs/file_operations_posix.cpp implements them for
// the native build and its tests, app/win32_platform.cpp for Windows.
#pragma once

namespace vantorel {

// Moves `from` over `to`, replacing `to` if it exists. False on failure, in
// which case `to` is left as it was.
bool replaceFile(const char* from, const char* to);

// True when `path` names an existing file that may not be overwritten (for
// example one marked read-only).
bool isReadOnlyFile(const char* path);

// True only when the platform says that there is no such file (or no such
// folder on the way to it). A file that exists but cannot be looked at, for
// lack of rights, say, does not count as missing.
bool fileMissing(const char* path);

// Creates the folder `path` (its parent must exist); an existing one is fine.
void createFolder(const char* path);

}  // namespace vantorel
