#include "log/log_viewer_dialog.h"

#include <shellapi.h>

#include <cstddef>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "resource.h"

namespace vantorel {
namespace {

constexpr WPARAM kHorizontalExtent = 2048;

// Gathers the lines of the log in one buffer, each ended by a NUL, so the
// list can reserve its storage once and take them without redrawing.
class LineCollector final : public LogSink {
public:
    void line(std::string_view text) override {
        if (full_) return;
        const std::size_t oldBytes = text_.size();
        const std::size_t oldCount = starts_.size();
        // Out of memory: the lines gathered so far are shown, the rest dropped.
        try {
            starts_.push_back(oldBytes);
            text_.append(text);
            text_.push_back('\0');
        } catch (...) {
            full_ = true;
            starts_.resize(oldCount);
            text_.resize(oldBytes);
        }
    }

    std::size_t count() const { return starts_.size(); }
    std::size_t bytes() const { return text_.size(); }
    const char* item(std::size_t i) const { return text_.data() + starts_[i]; }

private:
    std::string text_;
    std::vector<std::size_t> starts_;
    bool full_ = false;
};

void fillList(HWND dialog) {
    LineCollector lines;
    try {
        programLog().readLog(lines);
    } catch (const std::bad_alloc&) {
        // A line too long for memory ends the reading; what was read is shown.
    }

    HWND list = GetDlgItem(dialog, IDC_LOG_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(lines.count()),
                 static_cast<LPARAM>(lines.bytes()));
    for (std::size_t i = 0; i < lines.count(); ++i) {
        const LRESULT added =
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lines.item(i)));
        if (added == LB_ERR || added == LB_ERRSPACE) break;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void onDeleteLog(HWND dialog) {
    // No owner window, like every message box of the program (deliberate).
    if (MessageBoxA(nullptr, "Are you sure?", "Confirm deletion of Program Log",
                    MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    programLog().deleteLog();
    // The new log always begins with this line, whatever the log switch says.
    programLog().appendLog(kLogNewLogStarted);
    SendDlgItemMessageA(dialog, IDC_LOG_LIST, LB_RESETCONTENT, 0, 0);
    fillList(dialog);
}

INT_PTR CALLBACK logViewerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dialog, IDC_LOG_LIST, LB_SETHORIZONTALEXTENT, kHorizontalExtent, 0);
            fillList(dialog);
            return TRUE;
        case WM_COMMAND:
            // Clicks only: list notifications and, deliberately, Escape
            // (IDCANCEL) do nothing.
            if (wParam == IDC_LOG_BROWSE_FOLDER) {
                ShellExecuteA(dialog, "explore", app().dataFolder.c_str(), nullptr, nullptr,
                              SW_SHOWNORMAL);
                return TRUE;
            }
            if (wParam == IDC_LOG_DELETE) {
                onDeleteLog(dialog);
                return TRUE;
            }
            if (wParam == IDOK) {
                EndDialog(dialog, 0);
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

void showLogViewer(HWND owner) {
    DialogBoxParamA(app().module, MAKEINTRESOURCEA(IDD_LOG_VIEWER), owner, logViewerProc, 0);
}

}  // namespace vantorel
