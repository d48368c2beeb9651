#include "app/set_timer_dialog.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/number_field.h"
#include "resource.h"

namespace vantorel {
namespace {

// Reads one field, clamped to `limit` after a warning box.
std::int32_t readLimitField(HWND dialog, int id, std::uint32_t limit, const char* text,
                            const char* caption) {
    const FieldNumber number = readNumberField(dialog, id, limit);
    if (number.clamped) MessageBoxA(nullptr, text, caption, MB_ICONEXCLAMATION);
    return static_cast<std::int32_t>(number.value);
}

void onOk(HWND dialog) {
    Preferences& p = prefsToChange();
    p.timerHours = readLimitField(dialog, IDC_SET_HOURS, 99, "Maximum value is 99 hours",
                                  "Maximum Hours Value");
    p.timerMinutes = readLimitField(dialog, IDC_SET_MINUTES, 59, "Maximum value is 59 minutes!",
                                    "Maximum Minutes Value");
    p.timerSeconds = readLimitField(dialog, IDC_SET_SECONDS, 59, "Maximum value is 59 seconds!",
                                    "Maximum Seconds Value");
    const std::int32_t h = p.timerHours, m = p.timerMinutes, s = p.timerSeconds;
    CountdownClock& clock = mainWindow().clock();
    clock.setLimit(h, m, s);
    SetWindowTextA(mainWindow().handle(), CountdownClock::formatTitle(h, m, s).c_str());
    prefsStore().saveAndReload();
    clock.restart();
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK setTimerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            // Unsigned, so a negative value from a hand-edited file shows as
            // its 32-bit unsigned value (deliberate; OK then clamps it).
            SetDlgItemInt(dialog, IDC_SET_HOURS, static_cast<UINT>(prefs().timerHours), FALSE);
            SetDlgItemInt(dialog, IDC_SET_MINUTES, static_cast<UINT>(prefs().timerMinutes), FALSE);
            SetDlgItemInt(dialog, IDC_SET_SECONDS, static_cast<UINT>(prefs().timerSeconds), FALSE);
            return TRUE;
        case WM_COMMAND:
            // Only the OK button's click (or Enter). Deliberate: Escape
            // (IDCANCEL) is not handled, so it leaves the dialog open.
            if (wParam == IDOK) {
                onOk(dialog);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void showSetTimerDialog(HWND owner) {
    DialogBoxParamA(app().module, MAKEINTRESOURCEA(IDD_SET_TIMER), owner, setTimerProc, 0);
}

}  // namespace vantorel
