// What the benchmarks share: runs summed up as median and largest, the
// programs built beside them, memory figures of another process, and the
// "figure" lines that bench/run.sh gathers at the end.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
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

// Private bytes and peak working set, in KiB, of the process that owns `window`.
struct Memory {
    long long privateKb = -1, peakWorkingSetKb = -1;
};
inline Memory memoryOf(HWND window) {
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
    return memory;
}

// One line for bench/run.sh's summary: "figure NAME VALUE [reference VALUE]".
inline void figure(const char* name, const std::string& value, const std::string& reference = "") {
    std::printf("figure %s %s%s%s\n", name, value.c_str(), reference.empty() ? "" : " reference ",
                reference.c_str());
    std::fflush(stdout);
}

}  // namespace bench
