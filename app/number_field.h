#pragma once

#include <windows.h>

#include <cstdint>

#include "app/number_text.h"

namespace vantorel {

// The number in a dialog's digits-only edit field, held at `limit`
// (app/number_text.h says how it is read). Shared by Set Timer and Preferences.
FieldNumber readNumberField(HWND dialog, int id, std::uint32_t limit);

}  // namespace vantorel
