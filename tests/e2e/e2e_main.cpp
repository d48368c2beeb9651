// The end-to-end test program. It takes the path of vantorel.exe as the
// build sees it (a Unix path when the tests run under Wine) and runs the
// GoogleTest cases against it.
//
//   e2e_tests --vantorel-exe=/path/to/vantorel.exe [GoogleTest options]
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/harness.h"

namespace {

// "/a/b/c.exe" becomes "Z:\a\b\c.exe", Wine's drive for the Unix root; a
// path that is already a Windows one is left as it is.
std::string toWindowsPath(std::string path) {
    if (!path.empty() && path.front() == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    // A helper run for the screen-saver cases (see harness.h).
    const std::string screenSaver = "--screen-saver=";
    if (argc == 2 && std::string(argv[1]).rfind(screenSaver, 0) == 0) {
        return e2e::screenSaverCommand(std::string(argv[1]).substr(screenSaver.size()));
    }

    testing::InitGoogleTest(&argc, argv);

    const std::string option = "--vantorel-exe=";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind(option, 0) == 0) {
            e2e::setProgramPath(toWindowsPath(argument.substr(option.size())));
        }
    }
    if (e2e::programPath().empty()) {
        std::fprintf(stderr, "usage: e2e_tests --vantorel-exe=<path of vantorel.exe>\n");
        return 2;
    }
    if (GetFileAttributesA(e2e::programPath().c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "e2e_tests: %s not found\n", e2e::programPath().c_str());
        return 2;
    }
    return RUN_ALL_TESTS();
}
