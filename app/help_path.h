// Where the Help command looks for the help file.
#pragma once

#include <string>
#include <string_view>

namespace vantorel {

inline constexpr const char* kHelpFile = "vantorelhelp.chm";

// The help file next to the program whose full path is `programPath`, so it
// is found whatever the current folder (deliberate: the current folder is
// where a shortcut or a file browser happens to start the program). Empty
// when the path names no folder or the result would not fit 259 characters.
inline std::string helpFilePath(std::string_view programPath) {
    const std::size_t slash = programPath.find_last_of("\\/");
    if (slash == std::string_view::npos) return {};
    std::string path(programPath.substr(0, slash + 1));
    path += kHelpFile;
    return path.size() < 260 ? path : std::string();
}

}  // namespace vantorel
