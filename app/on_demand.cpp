#include "app/on_demand.h"

#include <mmsystem.h>

#include <cstring>

namespace vantorel::on_demand {
namespace {

// The function `name` of the DLL `dll` in the system folder (never one found
// elsewhere on the search path), loading the DLL; null when either cannot
// be had. The DLL then stays loaded for the run.
template <class Function>
Function* systemFunction(const char* dll, const char* name) {
    char path[MAX_PATH];
    const UINT folder = GetSystemDirectoryA(path, MAX_PATH);
    if (folder == 0 || folder + 1 + std::strlen(dll) >= MAX_PATH) return nullptr;
    path[folder] = '\\';
    std::strcpy(path + folder + 1, dll);
    const HMODULE module = LoadLibraryA(path);
    const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    // Through void (*)(void), the function pointer type that converts to any other.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)(void)>(found));
}

}  // namespace

// Each looks its function up once, at its first call.
BOOL ChooseColorA(CHOOSECOLORA* record) {
    static const auto function =
        systemFunction<decltype(::ChooseColorA)>("comdlg32.dll", "ChooseColorA");
    return function != nullptr && function(record);
}

BOOL ChooseFontA(CHOOSEFONTA* record) {
    static const auto function =
        systemFunction<decltype(::ChooseFontA)>("comdlg32.dll", "ChooseFontA");
    return function != nullptr && function(record);
}

BOOL GetOpenFileNameW(OPENFILENAMEW* record) {
    static const auto function =
        systemFunction<decltype(::GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
    return function != nullptr && function(record);
}

BOOL PlaySoundA(const char* sound, HMODULE module, DWORD flags) {
    static const auto function = systemFunction<decltype(::PlaySoundA)>("winmm.dll", "PlaySoundA");
    return function != nullptr && function(sound, module, flags);
}

}  // namespace vantorel::on_demand
