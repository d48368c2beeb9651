// Time from CreateProcess to the main window being visible (startup screen
// off), median of several runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

int main(int argc, char** argv) {
    using namespace e2e;
    int runs = 7;
    takeProgramPath(argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--runs=", 0) == 0) runs = std::max(1, std::stoi(arg.substr(7)));
    }
    writePreferences(PreferencesFile::quiet(0).text());

    std::vector<long long> times;
    for (int i = 0; i < runs; ++i) {
        Program program;
        const auto started = SteadyClock::now();
        if (!program.start(30s)) {
            std::printf("run %d: the main window did not appear\n", i + 1);
            return 1;
        }
        times.push_back(elapsedMs(started));
    }
    std::sort(times.begin(), times.end());
    std::printf("start to visible main window: median %lld ms over %d runs (min %lld, max %lld)\n",
                times[times.size() / 2], runs, times.front(), times.back());
    removeDataFolder();
    return 0;
}
