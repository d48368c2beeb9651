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

int main(int argc, char** argv) {
    // A helper run for the screen-saver cases (see harness.h).
    const std::string screenSaver = "--screen-saver=";
    if (argc == 2 && std::string(argv[1]).rfind(screenSaver, 0) == 0) {
        return e2e::screenSaverCommand(std::string(argv[1]).substr(screenSaver.size()));
    }
    testing::InitGoogleTest(&argc, argv);
    if (!e2e::takeProgramPath(argc, argv)) {
        std::fprintf(stderr, "usage: e2e_tests --vantorel-exe=<path of vantorel.exe>\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
