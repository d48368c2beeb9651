// The few file operations that the platforms do each their own way, used by
// the preferences file. prefs/file_operations_posix.cpp implements them for
// the native build and its tests, app/win32_platform.cpp for Windows.
#pragma once

#include <string>

namespace vantorel {

// Writes `text` as the whole of the file `path`, made new (an existing one is
// emptied first), and gets it onto the disk through the handle that wrote
// it. False if any part of that fails.
bool writeNewFile(const char* path, const std::string& text);

enum class Replaced { yes, inUse, no };
// Moves `from` over `to`, replacing `to` if it exists, in one step. inUse:
// refused because another program has `to` open (on Windows, one that does
// not let others delete it); no: refused for another reason. Unless yes,
// `to` is left as it was.
Replaced replaceFile(const char* from, const char* to);

// Writes `text` over the existing file `path` in place, the whole of it,
// and gets it onto the disk. False when the file cannot be opened for
// writing (another program holds it without letting others write, say) or
// any part of the write fails.
bool overwriteFile(const char* path, const std::string& text);

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
