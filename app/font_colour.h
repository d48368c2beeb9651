#pragma once

#include <windows.h>

namespace vantorel {

// The Font, Text Color and Background Color commands: the platform's dialogs,
// the chosen value stored at once and applied.
void chooseDisplayFont();
void chooseTextColour();
void chooseBackgroundColour(HWND window);

}  // namespace vantorel
