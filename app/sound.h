#pragma once

namespace vantorel {

// Plays the built-in WAVE resource `resourceId` when `path` is exactly
// "No file selected", else the named sound; asynchronous, never reports.
void playSound(int resourceId, const char* path);

}  // namespace vantorel
