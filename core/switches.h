// The four switches of the settings (startup screen, log, tick, alarm).
#pragma once

#include <cstdint>

namespace vantorel {

// A switch is on only when it holds exactly 1: 0, 2 and -1 are all off, so a
// hand-edited file cannot turn one on by accident. Every use goes through here.
inline constexpr bool switchOn(std::int32_t value) { return value == 1; }

}  // namespace vantorel
