// The main window's geometry as numbers: where the three buttons go, the
// limits the Preferences dialog puts on the positions, and the height of the
// display's digits. Positions are 32-bit numbers whose sums wrap, so a
// hand-edited setting at the edge of the range is no undefined behaviour.
#pragma once

#include <cstdint>

namespace vantorel {

inline constexpr std::int32_t kButtonWidth = 80;
inline constexpr std::int32_t kButtonHeight = 40;

// The x of Start, Stop and Reset for a row whose left edge is `left`: a
// 90-pixel pitch, so Reset's right edge is 260 pixels from Start's left.
struct ButtonRow {
    std::int32_t start, stop, reset;
};
ButtonRow buttonRow(std::int32_t left);

// The highest values the Preferences dialog lets through, compared unsigned:
// the row stays on screen, the buttons end 5 pixels above the display as it
// stood before the OK, and the display keeps 350 pixels of height. Worked
// out in 32-bit unsigned arithmetic: a limit that falls below zero wraps
// above four thousand million and so clamps nothing (deliberate).
struct PositionLimits {
    std::uint32_t buttonsLeft, buttonsTop, displayTop;
};
PositionLimits positionLimits(std::int32_t workRight, std::int32_t workBottom,
                              std::int32_t displayTopBefore);

// The setting fontHeight for a size the font dialog reports as `lfHeight`
// (negative: a character height): the digits are drawn 200 pixels taller.
std::int32_t displayFontHeight(std::int32_t lfHeight);

}  // namespace vantorel
