#pragma once

#include <windows.h>

#include <cstdint>

namespace vantorel {

struct FieldNumber {
    std::uint32_t value;
    bool clamped;  // the field held more than the limit; the caller says so
};

// The unsigned decimal number in a dialog's digits-only edit field, held at
// `limit` (compared unsigned). Empty or non-numeric text reads as 0. A number
// too large for 32 bits, however many digits it has, counts as above the limit.
FieldNumber readNumberField(HWND dialog, int id, std::uint32_t limit);

}  // namespace vantorel
