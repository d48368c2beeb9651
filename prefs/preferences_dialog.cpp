#include "prefs/preferences_dialog.h"

#include <commdlg.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "app/ansi_path.h"
#include "app/app_state.h"
#include "app/layout.h"
#include "app/main_window.h"
#include "app/number_field.h"
#include "app/on_demand.h"
#include "core/switches.h"
#include "resource.h"

namespace vantorel {
namespace {

constexpr wchar_t kWavFilter[] = L"WAV Files\0*.wav\0";  // the literal adds the final NUL
constexpr const char* kClampFormat = "Maximum exceeded! Value set to %d";

static_assert(sizeof(Preferences::alarmSoundPath) == 260);
static_assert(sizeof(Preferences::tickSoundPath) == 260);
// The record's size before the Windows 2000 additions: 76 bytes on 32-bit.
static_assert(sizeof(void*) != 4 ||
              offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR) == 76);

void setCheck(HWND dialog, int id, std::int32_t value) {
    SendDlgItemMessageA(dialog, id, BM_SETCHECK,
                        static_cast<WPARAM>(static_cast<std::uint32_t>(value)), 0);
}

std::int32_t getCheck(HWND dialog, int id) {
    return static_cast<std::int32_t>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0));
}

void setNumber(HWND dialog, int id, std::int32_t value) {
    // Unsigned, so a negative setting shows as its 32-bit unsigned value.
    SetDlgItemInt(dialog, id, static_cast<UINT>(static_cast<std::uint32_t>(value)), FALSE);
}

void fillControls(HWND dialog) {
    const Preferences& p = prefs();
    setCheck(dialog, IDC_PREF_SHOW_STARTUP, p.showStartupScreen);
    setCheck(dialog, IDC_PREF_LOG_ENABLED, p.logEnabled);
    setCheck(dialog, IDC_PREF_TICKING_ENABLED, p.tickingEnabled);
    setCheck(dialog, IDC_PREF_ALARM_ENABLED, p.alarmEnabled);
    setNumber(dialog, IDC_PREF_BUTTONS_LEFT, p.buttonsLeft);
    setNumber(dialog, IDC_PREF_BUTTONS_TOP, p.buttonsTop);
    setNumber(dialog, IDC_PREF_DISPLAY_TOP, p.displayTop);
    SetDlgItemTextA(dialog, IDC_PREF_ALARM_PATH, p.alarmSoundPath);
    SetDlgItemTextA(dialog, IDC_PREF_TICK_PATH, p.tickSoundPath);
}

// The open-file box for one .wav path. It works in UTF-16, so a file named
// outside the ANSI code page can be picked too; the field then gets the
// name the ANSI functions open it by (ansiPath). Returns 1 when a file was
// picked; otherwise, and when no such name exists, the field keeps its text.
int chooseSoundFile(const wchar_t* filter, char (&field)[kPathBufferSize]) {
    field[sizeof field - 1] = '\0';
    wchar_t file[kPathBufferSize] = {};  // the field's text, offered as the file name
    if (MultiByteToWideChar(CP_ACP, 0, field, -1, file, kPathBufferSize) == 0) file[0] = L'\0';

    OPENFILENAMEW ofn;
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = mainWindow().handle();
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kPathBufferSize;
    ofn.Flags =
        OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
    if (on_demand::GetOpenFileNameW(&ofn) == 0) return 0;
    const std::string picked = ansiPath(file);
    if (picked.empty()) return 0;
    std::memcpy(field, picked.c_str(), picked.size() + 1);
    return 1;
}

void onChooseSound(HWND dialog, int editId, char (&field)[kPathBufferSize]) {
    // The file box belongs to the main window, which this dialog keeps
    // disabled. Wine's file box enables its owner again when it closes and
    // raises it over this dialog, so the main window is put back as it was
    // and this dialog stays the active one.
    HWND mainWin = mainWindow().handle();
    const bool mainWasEnabled = mainWin != nullptr && IsWindowEnabled(mainWin) != FALSE;
    const int picked = chooseSoundFile(kWavFilter, field);
    if (mainWin != nullptr && !mainWasEnabled && IsWindowEnabled(mainWin) != FALSE) {
        EnableWindow(mainWin, FALSE);
        SetActiveWindow(dialog);
    }
    // Deliberate: a picked file is in the record from now on, before and
    // without OK; a cancelled box leaves the record but shows "No file
    // selected", which OK then takes.
    if (picked == 1) {
        SetDlgItemTextA(dialog, editId, field);
    } else {
        SetDlgItemTextA(dialog, editId, kNoFileSelected);
    }
}

// Reads a position clamped to `limit`, announcing the new value.
std::int32_t readPosition(HWND dialog, int id, std::uint32_t limit, const char* caption) {
    const FieldNumber number = readNumberField(dialog, id, limit);
    if (number.clamped) {
        // 33 characters of text, at most 11 for the number, and the NUL.
        char message[64];
        static_assert(sizeof message >= 33 + 11 + 1);
        wsprintfA(message, kClampFormat, static_cast<int>(number.value));
        MessageBoxA(nullptr, message, caption, MB_ICONINFORMATION);  // no owner, deliberately
    }
    return static_cast<std::int32_t>(number.value);
}

void readPath(HWND dialog, int id, char (&field)[kPathBufferSize]) {
    GetDlgItemTextA(dialog, id, field, static_cast<int>(sizeof field));
    field[sizeof field - 1] = '\0';
}

void onOk(HWND dialog) {
    Preferences& p = prefsToChange();
    const RECT& area = app().workArea;
    // Measured against the display's top as it stood before this OK.
    const PositionLimits limits = positionLimits(area.right, area.bottom, p.displayTop);

    // Each value goes into the record as it is read: the ticks that run while
    // a clamp box waits see the ones taken before it.
    p.showStartupScreen = getCheck(dialog, IDC_PREF_SHOW_STARTUP);
    p.logEnabled = getCheck(dialog, IDC_PREF_LOG_ENABLED);
    // Deliberate: written at every OK, whatever the switch now holds.
    programLog().appendLog(switchOn(p.logEnabled) ? kLogLoggingEnabled : kLogLoggingDisabled);
    p.tickingEnabled = getCheck(dialog, IDC_PREF_TICKING_ENABLED);
    p.alarmEnabled = getCheck(dialog, IDC_PREF_ALARM_ENABLED);
    p.buttonsLeft = readPosition(dialog, IDC_PREF_BUTTONS_LEFT, limits.buttonsLeft,
                                 "Buttons position from left");
    p.buttonsTop =
        readPosition(dialog, IDC_PREF_BUTTONS_TOP, limits.buttonsTop, "Buttons position from top");
    p.displayTop = readPosition(dialog, IDC_PREF_DISPLAY_TOP, limits.displayTop,
                                "Timer display position from top");
    readPath(dialog, IDC_PREF_ALARM_PATH, p.alarmSoundPath);
    readPath(dialog, IDC_PREF_TICK_PATH, p.tickSoundPath);

    mainWindow().applyLayout();
    prefsStore().saveAndReload();
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK preferencesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            fillControls(dialog);
            return TRUE;
        case WM_COMMAND:
            // Clicks only. Deliberate: Escape (IDCANCEL) leaves the dialog open.
            if (wParam == IDC_PREF_ALARM_BROWSE) {
                onChooseSound(dialog, IDC_PREF_ALARM_PATH, prefsToChange().alarmSoundPath);
                return TRUE;
            }
            if (wParam == IDC_PREF_TICK_BROWSE) {
                onChooseSound(dialog, IDC_PREF_TICK_PATH, prefsToChange().tickSoundPath);
                return TRUE;
            }
            if (wParam == IDOK) {
                onOk(dialog);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            // Nothing is taken from the controls.
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void showPreferencesDialog(HWND owner) {
    DialogBoxParamA(app().module, MAKEINTRESOURCEA(IDD_PREFERENCES), owner, preferencesProc, 0);
}

}  // namespace vantorel
