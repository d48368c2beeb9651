#include "app/layout.h"

namespace vantorel {
namespace {

constexpr std::uint32_t kButtonPitch = 90;
constexpr std::uint32_t kButtonRowWidth = 2 * kButtonPitch + kButtonWidth;  // 260
constexpr std::uint32_t kButtonsAboveDisplay = 45;
constexpr std::uint32_t kDisplayMinHeight = 350;
constexpr std::uint32_t kFontHeightOffset = 200;

// a + b with 32-bit wrap-around, which int arithmetic does not promise.
std::int32_t wrappingAdd(std::int32_t a, std::uint32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + b);
}

}  // namespace

ButtonRow buttonRow(std::int32_t left) {
    return {left, wrappingAdd(left, kButtonPitch), wrappingAdd(left, 2 * kButtonPitch)};
}

PositionLimits positionLimits(std::int32_t workRight, std::int32_t workBottom,
                              std::int32_t displayTopBefore) {
    return {static_cast<std::uint32_t>(workRight) - kButtonRowWidth,
            static_cast<std::uint32_t>(displayTopBefore) - kButtonsAboveDisplay,
            static_cast<std::uint32_t>(workBottom) - kDisplayMinHeight};
}

std::int32_t displayFontHeight(std::int32_t lfHeight) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(lfHeight) - kFontHeightOffset);
}

}  // namespace vantorel
