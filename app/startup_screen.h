#pragma once

namespace vantorel {

// The startup screen, modal and ownerless; returns when it has closed itself
// 1500 ms after it opened.
void showStartupScreen();

}  // namespace vantorel
