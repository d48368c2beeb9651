// Replacing one file by another in one step, the platform's way.
#pragma once

namespace vantorel {

// Moves `from` over `to`, replacing `to` if it exists. False on failure, in
// which case `to` is left as it was.
bool replaceFile(const char* from, const char* to);

// True when `path` names an existing file that may not be overwritten (for
// example one marked read-only).
bool isReadOnlyFile(const char* path);

}  // namespace vantorel
