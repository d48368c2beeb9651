#pragma once

#include <windows.h>

namespace vantorel {

// Opens the help file that sits next to vantorel.exe.
void openHelp(HWND window);
// The modal About dialog.
void showAbout(HWND owner);

}  // namespace vantorel
