#include "app/commands.h"

#include "app/app_state.h"
#include "app/font_colour.h"
#include "app/help_about.h"
#include "app/main_window.h"
#include "app/set_timer_dialog.h"
#include "log/log_viewer_dialog.h"
#include "prefs/preferences_dialog.h"
#include "resource.h"

namespace vantorel {

void runCommand(HWND window, int id, UINT code) {
    CountdownClock& clock = mainWindow().clock();
    // One row per command, in table order.
    // clang-format off
    switch (id) {
        case IDM_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); break;
        case IDM_TIME_LIMIT: showSetTimerDialog(window); break;
        case IDM_FONT: chooseDisplayFont(); break;
        case IDM_TEXT_COLOR: chooseTextColour(); break;
        case IDM_BACKGROUND_COLOR: chooseBackgroundColour(window); break;
        case IDM_VIEW_LOG: showLogViewer(window); break;
        case IDM_PREFERENCES: showPreferencesDialog(window); break;
        case IDM_HELP_CONTENTS: openHelp(window); break;
        case IDM_ABOUT: showAbout(window); break;
        case IDC_START: clock.start(); break;
        case IDC_STOP: clock.stop(); break;
        case IDC_RESET: clock.reset(); break;
        default:
            // The display never keeps the focus, so no caret shows in it.
            if (code == EN_SETFOCUS) SetFocus(window);
            break;
    }
    // clang-format on
}

}  // namespace vantorel
