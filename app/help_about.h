#pragma once

#include <windows.h>

namespace vantorel {

// Opens the help file that sits next to vantorel.exe.
void openHelp(HWND window);
// The modal About dialog.
void showAbout(HWND owner);
// The startup screen, modal and ownerless; returns when it has closed itself.
void showStartupScreen();

}  // namespace vantorel
