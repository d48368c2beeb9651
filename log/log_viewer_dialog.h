#pragma once

#include <windows.h>

namespace vantorel {

// The modal "View Program Log" dialog: every line of the log, the folder
// button and Delete Log.
void showLogViewer(HWND owner);

}  // namespace vantorel
