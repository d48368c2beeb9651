#pragma once

#include <windows.h>

namespace vantorel {

// The modal Set Timer dialog; OK stores and applies the new time limit.
void showSetTimerDialog(HWND owner);

}  // namespace vantorel
