// What the benchmarks share: runs summed up as median and largest, the
// programs built beside them, memory figures of another process, and the
// "figure" lines that bench/run.sh gathers at the end.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace bench {

inline long long median(std::vector<long long> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
inline long long largest(const std::vector<long long>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}
inline std::string list(const std::vector<long long>& values) {
    std::string text;
    for (const long long value : values) text += (text.empty() ? "" : " ") + std::to_string(value);
    return text;
}

// A program built into the folder of this one.
inline std::string besideThisProgram(const char* name) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string folder = self;
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

// The /proc folder (read through Wine's drive Z:) of the first Linux process
// for which match(folder, name of its program file) holds; empty where none.
template <class Match>
std::filesystem::path linuxProcessWhere(Match match) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("Z:\\proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string program;
        std::getline(std::ifstream(entry.path() / "cmdline", std::ios::binary), program, '\0');
        if (match(entry.path(), program.substr(program.find_last_of("\\/") + 1)))
            return entry.path();
    }
    return {};
}
// The one that runs the Windows program `exeName`.
inline std::filesystem::path linuxProcess(const std::string& exeName) {
    return linuxProcessWhere([&](const std::filesystem::path&, const std::string& program) {
        return lstrcmpiA(program.c_str(), exeName.c_str()) == 0;
    });
}

// Waits until the Linux process that ran `exeName` has gone (up to 5 s),
// then `quietMs` more. A program's end keeps Wine and the X server busy for
// a while after its process handle is signalled, and a start that overlaps
// it takes from 20 to 90 ms longer, at random: start-up figures taken so
// differed by a fifth from run to run.
inline void waitUntilQuiet(const std::string& exeName, DWORD quietMs = 200) {
    for (int i = 0; i < 1000 && !linuxProcess(exeName).empty(); ++i) Sleep(5);
    Sleep(quietMs);
}

// Under Wine, GetProcessMemoryInfo leaves PrivateUsage at 0. The private
// pages of the Linux process that runs `exeName` (Private_Clean and
// Private_Dirty of /proc/PID/smaps_rollup) stand in for it; -1 where there
// is no such process or no /proc.
inline long long linuxPrivateKb(const std::string& exeName) {
    const std::filesystem::path process = linuxProcess(exeName);
    if (process.empty()) return -1;
    std::ifstream rollup(process / "smaps_rollup");
    long long kb = 0;
    for (std::string line; std::getline(rollup, line);) {
        if (line.rfind("Private_Clean:", 0) == 0 || line.rfind("Private_Dirty:", 0) == 0) {
            kb += std::stoll(line.substr(line.find(':') + 1));
        }
    }
    return kb;
}

// The CPU time the Linux process `process` (its /proc folder) has used so
// far, user plus system (fields 14 and 15 of /proc/PID/stat, in the
// kernel's 100 Hz clock ticks), in ms; linuxCpuMs, that of the one running
// the Windows program `exeName`: Wine reports no such figure for another
// process. Each field is rounded down to 10 ms, so the difference of two
// readings can be up to 20 ms off.
// Sound played by the program counts, since Wine plays it from threads of
// the process; work done for it in wineserver or Xvfb does not. -1 where
// there is no such process.
inline long long processCpuMs(const std::filesystem::path& process) {
    std::string stat;
    if (process.empty() || !std::getline(std::ifstream(process / "stat"), stat)) return -1;
    // The fields after the program's name in brackets, from field 3 on.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long long ticks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number >= 14) ticks += std::stoll(field);
    }
    return ticks * 10;
}
inline long long linuxCpuMs(const std::string& exeName) {
    return processCpuMs(linuxProcess(exeName));
}

// The CPU ms the wineserver of this program's Wine prefix has used so far
// (the one whose WINEPREFIX is this process's), as processCpuMs counts it; -1
// where there is none. It serves every program of the prefix, this one too.
inline long long wineserverCpuMs() {
    const auto prefixOf = [](const std::filesystem::path& process) {
        std::ifstream environment(process / "environ", std::ios::binary);
        for (std::string entry; std::getline(environment, entry, '\0');)
            if (entry.rfind("WINEPREFIX=", 0) == 0) return entry;
        return std::string();
    };
    const std::string ours = prefixOf("Z:\\proc\\self");
    const auto server = linuxProcessWhere([&](const std::filesystem::path& process,
                                              const std::string& program) {
        return program.rfind("wineserver", 0) == 0 && !ours.empty() && prefixOf(process) == ours;
    });
    return server.empty() ? -1 : processCpuMs(server);
}

// Private bytes and peak working set, in KiB, of the process that owns
// `window`, whose program file is `exeName`.
struct Memory {
    long long privateKb = -1, peakWorkingSetKb = -1;
    bool fromLinux = false;  // privateKb is linuxPrivateKb()'s
};
inline Memory memoryOf(HWND window, const std::string& exeName) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    Memory memory;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (process &&
        GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        memory.privateKb = static_cast<long long>(counters.PrivateUsage / 1024);
        memory.peakWorkingSetKb = static_cast<long long>(counters.PeakWorkingSetSize / 1024);
    }
    if (process) CloseHandle(process);
    if (memory.privateKb <= 0) {
        memory.privateKb = linuxPrivateKb(exeName);
        memory.fromLinux = true;
    }
    return memory;
}

// One line for bench/run.sh's summary: "figure NAME VALUE [reference VALUE]".
inline void figure(const char* name, const std::string& value, const std::string& reference = "") {
    std::printf("figure %s %s%s%s\n", name, value.c_str(), reference.empty() ? "" : " reference ",
                reference.c_str());
    std::fflush(stdout);
}

}  // namespace bench
