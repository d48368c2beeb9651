// Names that the program's ANSI file, shell and sound functions can open,
// for files and folders whose names may hold characters outside the ANSI
// code page (a user name in another script than the system's).
#pragma once

#include <windows.h>

#include <string>

namespace vantorel {

// The name by which the ANSI functions reach the existing file or folder
// `path`, at most 259 characters: its ANSI name, byte for byte, when every
// character has its exact match in the code page; else its short (8.3)
// name when that one has. Empty when neither has (short names can be
// switched off on a volume) or neither fits.
std::string ansiPath(const wchar_t* path);

}  // namespace vantorel
