// The end-to-end test program. It takes the path of vantorel.exe as the
// build sees it (a Unix path when the tests run under Wine) and runs the
// GoogleTest cases against it.
//
//   e2e_tests --vantorel-exe=/path/to/vantorel.exe [GoogleTest options]
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/harness.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!e2e::takeProgramPath(argc, argv)) {
        std::fprintf(stderr, "usage: e2e_tests --vantorel-exe=<path of vantorel.exe>\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
