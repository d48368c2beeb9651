#include "app/ansi_path.h"

namespace vantorel {
namespace {

// `text` in the ANSI code page; false when a character has no exact match
// there (no best-fit look-alikes) or the result does not fit 259 bytes.
bool exactAnsi(const wchar_t* text, std::string& out) {
    // Where the code page is UTF-8 every character has its match, and the
    // conversion takes neither the flag nor the question.
    const bool utf8 = GetACP() == CP_UTF8;
    char buffer[MAX_PATH];
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text, -1, buffer,
                                      MAX_PATH, nullptr, utf8 ? nullptr : &lossy);
    if (n <= 0 || lossy) return false;
    out = buffer;
    return true;
}

}  // namespace

std::string ansiPath(const wchar_t* path) {
    std::string name;
    if (exactAnsi(path, name)) return name;
    wchar_t shortName[MAX_PATH];
    const DWORD n = GetShortPathNameW(path, shortName, MAX_PATH);
    if (n > 0 && n < MAX_PATH && exactAnsi(shortName, name)) return name;
    return {};
}

}  // namespace vantorel
