// The common dialogs (comdlg32.dll) and the sounds (winmm.dll), loaded the
// first time one of them is used instead of at start-up: loading comdlg32,
// which brings comctl32 and winspool with it, and winmm made a start under
// Wine half as slow again. Each function is the Win32 one of the same name.
// When its DLL or the function cannot be loaded, a dialog counts as
// cancelled and a sound stays silent; nothing is reported.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace vantorel::on_demand {

BOOL ChooseColorA(CHOOSECOLORA* record);
BOOL ChooseFontA(CHOOSEFONTA* record);
BOOL GetOpenFileNameW(OPENFILENAMEW* record);
BOOL PlaySoundA(const char* sound, HMODULE module, DWORD flags);

}  // namespace vantorel::on_demand
