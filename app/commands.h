#pragma once

#include <windows.h>

namespace vantorel {

// The main window's command table: menu items, keys and the three buttons.
void runCommand(HWND window, int id, UINT code);

}  // namespace vantorel
