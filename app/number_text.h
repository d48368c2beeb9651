// The number in a digits-only edit field of a dialog, held at its limit.
#pragma once

#include <cstdint>
#include <string_view>

namespace vantorel {

struct FieldNumber {
    std::uint32_t value;
    bool clamped;  // the field held more than the limit; the caller says so
};

// Reads `text` as GetDlgItemInt does for an unsigned field (leading blanks
// skipped, digits up to the first other character; none read as 0) and
// holds the value at `limit`, compared unsigned. A number too large for 32
// bits, however many digits it has, counts as above the limit.
FieldNumber numberInField(std::string_view text, std::uint32_t limit);

}  // namespace vantorel
