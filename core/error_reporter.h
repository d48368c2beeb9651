// Where file failures go: the Windows build shows a message box, tests record.
// Both the preferences file and the program log report through it.
#pragma once

namespace vantorel {

inline constexpr const char* kErrorCaption = "An unexpected error has occurred!";

class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    // One line naming the file that failed, e.g. "Cannot write to program log!".
    virtual void report(const char* text) = 0;
};

}  // namespace vantorel
