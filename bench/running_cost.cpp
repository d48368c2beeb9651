// What a running countdown costs. By default: the CPU time vantorel.exe's
// process uses in a running countdown against the plain countdown program
// (bench_reference_countdown.exe), both ticking (the plain countdown plays
// vantorel.exe's built-in tick each second with the same PlaySound call)
// and both silent (vantorel.exe with ticking off). The two programs run side
// by side through the same windows of time, so whatever else the machine
// does in a window touches both alike: each at half the screen's height,
// one above the other, so that neither covers the other and each shows its
// whole display (a covered window repaints less). The first seconds after
// the Start clicks, which hold what happens once (winmm loaded, the sound
// device opened at the first tick), are shown and not counted. Four
// phases, ticking and silent in turn, vantorel.exe above in the first two
// and below in the last two. With --long: vantorel.exe's private memory
// over a 15-minute countdown with ticking on, from the end of its first
// minute to the end. CPU time and private memory are those of the Linux
// process that runs the program under Wine (bench/measure.h).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

// The seconds after the Start clicks that are not counted, and the windows
// of time that are. A window is long enough that the 10 ms steps in which
// Linux reports CPU time stay small against what a silent program uses in
// it (about 50 ms).
constexpr DWORD kFirstMs = 5000;
DWORD gWindowMs = 30000;  // --window-seconds=N
// More windows silent, where a program uses a fifth of what it does ticking.
constexpr int kWindowsPerPhase[2] = {5, 3};  // silent, ticking

// One of the two programs compared, and the CPU ms it used in each window,
// silent ([0]) and ticking ([1]).
struct Side {
    std::string exe;
    const char* windowClass;
    std::vector<long long> ms[2];
    std::vector<long long> firstMs[2];
    std::string exeName() const { return exe.substr(exe.find_last_of("\\/") + 1); }
    long long cpuMs() const { return bench::linuxCpuMs(exeName()); }
};

// The wineserver's CPU ms through the counted windows, and their number,
// silent ([0]) and ticking ([1]).
long long gServerMs[2], gServerWindows[2];

// Starts the program and gives its window the screen's width and `height`
// at `top`.
void startAt(Program& program, const Side& side, int top, int height) {
    if (!program.launch(side.exe) || !program.waitForMainWindow(side.windowClass)) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    SetWindowPos(program.mainWindow(), nullptr, 0, top, GetSystemMetrics(SM_CXSCREEN), height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// One phase: both programs started, both ticking or both silent, clicked,
// and measured through the same windows of time.
void phase(int number, Side& ours, Side& plain, bool ticking, bool oursAbove) {
    writePreferences(ticking ? kTicking : kSilent);
    SetEnvironmentVariableA("VANTOREL_BENCH_SECONDS", "1200");
    SetEnvironmentVariableA("VANTOREL_BENCH_TICK", ticking ? "1" : nullptr);
    const int half = GetSystemMetrics(SM_CYSCREEN) / 2;
    {
        Program a, b;
        startAt(a, ours, oursAbove ? 0 : half, half);
        startAt(b, plain, oursAbove ? half : 0, half);
        Sleep(500);  // start-up's last work, and the repaint at the new places
        a.click(IDC_START);
        b.click(IDC_START);
        long long at[2] = {ours.cpuMs(), plain.cpuMs()};
        Sleep(kFirstMs);
        long long now[2] = {ours.cpuMs(), plain.cpuMs()};
        ours.firstMs[ticking].push_back(now[0] - at[0]);
        plain.firstMs[ticking].push_back(now[1] - at[1]);
        const long long serverAt = bench::wineserverCpuMs();
        std::vector<long long> windows[2];
        for (int window = 0; window < kWindowsPerPhase[ticking]; ++window) {
            std::copy(std::begin(now), std::end(now), std::begin(at));
            Sleep(gWindowMs);
            now[0] = ours.cpuMs();
            now[1] = plain.cpuMs();
            if (at[0] < 0 || at[1] < 0 || now[0] < 0 || now[1] < 0) {
                std::printf("  a program has ended: %s %s\n", a.problem().c_str(),
                            b.problem().c_str());
                std::exit(1);
            }
            windows[0].push_back(now[0] - at[0]);
            windows[1].push_back(now[1] - at[1]);
        }
        const long long serverMs = bench::wineserverCpuMs() - serverAt;
        gServerMs[ticking] += serverMs;
        gServerWindows[ticking] += kWindowsPerPhase[ticking];
        ours.ms[ticking].insert(ours.ms[ticking].end(), windows[0].begin(), windows[0].end());
        plain.ms[ticking].insert(plain.ms[ticking].end(), windows[1].begin(), windows[1].end());
        std::printf(
            "  phase %d, both %s, vantorel.exe %s: vantorel.exe %s ms (first %lu s %lld), "
            "plain countdown %s (first %lu s %lld), the wineserver %lld in all; displays then %s "
            "and %s\n",
            number, ticking ? "ticking" : "silent", oursAbove ? "above" : "below",
            bench::list(windows[0]).c_str(), kFirstMs / 1000, ours.firstMs[ticking].back(),
            bench::list(windows[1]).c_str(), kFirstMs / 1000, plain.firstMs[ticking].back(),
            serverMs, a.displayText().c_str(), b.displayText().c_str());
        std::fflush(stdout);
    }
    bench::waitUntilQuiet(ours.exeName());
    bench::waitUntilQuiet(plain.exeName());
}

long long sum(const std::vector<long long>& values) {
    long long total = 0;
    for (const long long value : values) total += value;
    return total;
}
long long perMinute(const std::vector<long long>& windows) {
    return windows.empty() ? 0 : sum(windows) * 60000 / (gWindowMs * windows.size());
}
std::string twoPlaces(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// Prints one pair's figures: CPU ms a minute of each, and their ratio over
// all the windows together (a silent window's own ratio moves by a fifth
// with one 10 ms step), with the windows' own ratios' median and quartiles.
void pairFigures(const Side& ours, const Side& plain, bool ticking, const char* msFigure,
                 const char* ratioFigure) {
    const std::vector<long long>& a = ours.ms[ticking];
    const std::vector<long long>& b = plain.ms[ticking];
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        ratios.push_back(b[i] > 0 ? static_cast<double>(a[i]) / b[i] : 0.0);
    std::sort(ratios.begin(), ratios.end());
    const std::size_t n = ratios.size();
    const double ratio = sum(b) > 0 ? static_cast<double>(sum(a)) / sum(b) : 0.0;
    std::printf(
        "  both %s, %zu windows of %lu s: vantorel.exe %lld ms CPU a minute, the plain countdown "
        "%lld; ratio %s (the windows' own ratios: median %s, quartiles %s to %s, range %s to "
        "%s)\n",
        ticking ? "ticking" : "silent", n, gWindowMs / 1000, perMinute(a), perMinute(b),
        twoPlaces(ratio).c_str(), twoPlaces((ratios[(n - 1) / 2] + ratios[n / 2]) / 2).c_str(),
        twoPlaces(ratios[n / 4]).c_str(), twoPlaces(ratios[(3 * n) / 4]).c_str(),
        twoPlaces(ratios.front()).c_str(), twoPlaces(ratios.back()).c_str());
    bench::figure(msFigure, std::to_string(perMinute(a)), std::to_string(perMinute(b)));
    bench::figure(ratioFigure, twoPlaces(ratio));
}

void cpuUse() {
    std::printf(
        "CPU time of a running countdown, user plus system, of each program's process under "
        "Wine (%d-bit build), vantorel.exe and the plain countdown side by side, each at half "
        "the screen's height; ms in each %lu s window, counted from %lu s after the Start "
        "clicks:\n",
        static_cast<int>(sizeof(void*) * 8), gWindowMs / 1000, kFirstMs / 1000);
    Side ours{programPath(), "Vantorel", {}, {}};
    Side plain{
        bench::besideThisProgram("bench_reference_countdown.exe"), "ReferenceCountdown", {}, {}};
    phase(1, ours, plain, true, true);
    phase(2, ours, plain, false, true);
    phase(3, ours, plain, true, false);
    phase(4, ours, plain, false, false);
    SetEnvironmentVariableA("VANTOREL_BENCH_TICK", nullptr);
    pairFigures(ours, plain, true, "cpu_ms_per_minute_ticking_steady", "cpu_ratio_ticking_steady");
    pairFigures(ours, plain, false, "cpu_ms_per_minute_silent_steady", "cpu_ratio_silent_steady");
    // Where the difference goes: the tick sounds are what ticking adds to
    // the silent countdown; what happens once, what the first seconds hold
    // beyond the steady rate.
    const auto sounds = [](const Side& side) {
        return perMinute(side.ms[1]) - perMinute(side.ms[0]);
    };
    const auto once = [](const Side& side, bool ticking) {
        return sum(side.firstMs[ticking]) / static_cast<long long>(side.firstMs[ticking].size()) -
               perMinute(side.ms[ticking]) * kFirstMs / 60000;
    };
    std::printf(
        "  part by part, ms a minute, vantorel.exe (the plain countdown): the display and timer "
        "%lld (%lld), the tick sounds %lld (%lld); in the first %lu s beyond the steady rate, "
        "ticking %lld (%lld), silent %lld (%lld)\n",
        perMinute(ours.ms[0]), perMinute(plain.ms[0]), sounds(ours), sounds(plain), kFirstMs / 1000,
        once(ours, true), once(plain, true), once(ours, false), once(plain, false));
    // The wineserver works for both programs at once (and for this one, and
    // for Wine's own processes of the prefix), so its time is not either's.
    const auto server = [](bool ticking) {
        return gServerWindows[ticking] > 0
                   ? gServerMs[ticking] * 60000 / (gServerWindows[ticking] * gWindowMs)
                   : 0;
    };
    std::printf(
        "  the prefix's wineserver, serving both programs at once: %lld ms CPU a minute while "
        "both tick, %lld while both are silent\n",
        server(true), server(false));
}

void memoryOverLongCount() {
    constexpr int kMinutes = 15;
    std::printf(
        "private memory of vantorel.exe counting %d minutes with ticking on, KiB, each "
        "minute after the Start click (%d-bit build):\n ",
        kMinutes, static_cast<int>(sizeof(void*) * 8));
    writePreferences(kTicking);
    Program program;
    if (!program.launch(programPath()) || !program.waitForMainWindow("Vantorel")) {
        std::printf("%s\n", program.problem().c_str());
        std::exit(1);
    }
    Sleep(500);  // start-up's last work
    program.click(IDC_START);
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
    bool longCount = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--long") longCount = true;
        if (arg.rfind("--window-seconds=", 0) == 0)
            gWindowMs = 1000 * static_cast<DWORD>(std::max(1, std::stoi(arg.substr(17))));
    }
    if (longCount) {
        memoryOverLongCount();
    } else {
        cpuUse();
    }
    removeDataFolder();
    return 0;
}
