// What a running countdown costs. By default: the CPU time vantorel.exe's
// process uses in the first and in the second minute of a countdown with
// ticking on, each against the same minute of the plain countdown program
// (bench_reference_countdown.exe, the same display size and font, no
// sound), each started and clicked the same way. The second minute is the
// steady cost; the first adds what happens once. Then, to show where the
// difference goes, vantorel.exe with ticking off and the plain countdown
// playing the same tick each second, which is also the like-with-like
// reference for ticking on. With --long: vantorel.exe's private memory over
// a 15-minute countdown with ticking on, from the end of its first minute
// to the end. CPU time and private memory are those of the Linux process
// that runs the program under Wine (bench/measure.h).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/measure.h"
#include "tests/e2e/harness.h"

namespace {

using namespace e2e;

// Ticking on (or off), alarm and log off, a limit of 20 minutes: no
// countdown here reaches its end.
const std::string kTicking =
    "0|0|1|0|510|10|100|0|20|0|0|16777215|320|700|0|Arial|No file selected|No file selected";
const std::string kSilent =
    "0|0|0|0|510|10|100|0|20|0|0|16777215|320|700|0|Arial|No file selected|No file selected";

void start(Program& program, const std::string& exe, const char* windowClass,
           const std::string& preferences = kTicking) {
    writePreferences(preferences);
    if (!program.launch(exe) || !program.waitForMainWindow(windowClass)) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    Sleep(500);  // start-up's last work
    program.click(IDC_START);
}

// CPU ms of `exe` in the first and the second minute after its Start click.
// The first minute holds what happens once (a DLL loaded and the sound
// device opened at the first sound, say); the second shows the steady cost.
struct Minutes {
    long long first = -1, steady = -1;
};
Minutes cpuMsPerMinute(const std::string& exe, const char* windowClass, const char* what,
                       const std::string& preferences = kTicking) {
    Program program;
    start(program, exe, windowClass, preferences);
    const std::string name = exe.substr(exe.find_last_of('\\') + 1);
    long long at[3] = {bench::linuxCpuMs(name), -1, -1};
    for (int minute = 1; minute <= 2; ++minute) {
        Sleep(60000);
        at[minute] = bench::linuxCpuMs(name);
    }
    std::printf("  %-44s %6lld ms CPU in the first minute, %6lld in the second; display then %s\n",
                what, at[1] - at[0], at[2] - at[1], program.displayText().c_str());
    if (at[0] < 0 || at[2] < 0) return {};
    return {at[1] - at[0], at[2] - at[1]};
}

void cpuUse() {
    std::printf(
        "CPU time of a running countdown, user plus system, of the process under Wine "
        "(%d-bit build):\n",
        static_cast<int>(sizeof(void*) * 8));
    const Minutes ours = cpuMsPerMinute(programPath(), "Vantorel", "vantorel.exe, ticking on");
    SetEnvironmentVariableA("VANTOREL_BENCH_SECONDS", "1200");
    const Minutes reference =
        cpuMsPerMinute(bench::besideThisProgram("bench_reference_countdown.exe"),
                       "ReferenceCountdown", "plain countdown, no sound");
    // Where the difference goes: vantorel.exe without the tick sound, and
    // the plain countdown with it.
    const Minutes silent =
        cpuMsPerMinute(programPath(), "Vantorel", "vantorel.exe, ticking off", kSilent);
    SetEnvironmentVariableA("VANTOREL_BENCH_TICK", "1");
    const Minutes ticking =
        cpuMsPerMinute(bench::besideThisProgram("bench_reference_countdown.exe"),
                       "ReferenceCountdown", "plain countdown, vantorel.exe's tick each second");
    SetEnvironmentVariableA("VANTOREL_BENCH_TICK", nullptr);
    std::printf(
        "  part by part, ms a minute, vantorel.exe (the plain countdown): "
        "the steady minute's display and timer %lld (%lld), its tick sounds %lld (%lld); "
        "the first minute's once-only costs %lld (%lld)\n",
        silent.steady, reference.steady, ours.steady - silent.steady,
        ticking.steady - reference.steady, ours.first - ours.steady,
        ticking.first - ticking.steady);
    // The steady (second) minute, against the same minute of the references.
    bench::figure("cpu_ms_per_minute", std::to_string(ours.steady),
                  std::to_string(reference.steady));
    // Like with like: both make the same tick each second.
    bench::figure("cpu_ms_per_minute_ticking", std::to_string(ours.steady),
                  std::to_string(ticking.steady));
    bench::figure("cpu_ms_first_minute_ticking", std::to_string(ours.first),
                  std::to_string(ticking.first));
}

void memoryOverLongCount() {
    constexpr int kMinutes = 15;
    std::printf(
        "private memory of vantorel.exe counting %d minutes with ticking on, KiB, each "
        "minute after the Start click (%d-bit build):\n ",
        kMinutes, static_cast<int>(sizeof(void*) * 8));
    Program program;
    start(program, programPath(), "Vantorel");
    long long afterFirst = -1, last = -1;
    for (int minute = 1; minute <= kMinutes; ++minute) {
        Sleep(60000);
        last = bench::linuxPrivateKb("vantorel.exe");
        if (minute == 1) afterFirst = last;
        std::printf(" %lld", last);
        std::fflush(stdout);
    }
    std::printf("\n  display at the end: %s\n", program.displayText().c_str());
    bench::figure("private_kb_growth_15min", std::to_string(last - afterFirst));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--long") {
        memoryOverLongCount();
    } else {
        cpuUse();
    }
    removeDataFolder();
    return 0;
}
