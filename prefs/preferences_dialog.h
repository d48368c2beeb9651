#pragma once

#include <windows.h>

namespace vantorel {

// The modal Preferences dialog; OK takes every value, lays the window out
// again and stores the record.
void showPreferencesDialog(HWND owner);

}  // namespace vantorel
