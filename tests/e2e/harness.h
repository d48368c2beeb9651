// A small toolkit for driving the real vantorel.exe from a test: its data
// folder and files, the running program and its windows, and waiting for
// things to happen. Everything works through plain window messages, so the
// program under test needs no test hooks.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

// Takes vantorel.exe's path from a "--vantorel-exe=PATH" argument; a Unix
// path becomes one on Wine's drive Z:. False when there is no such file.
bool takeProgramPath(int argc, char** argv);
const std::string& programPath();

// Polls `condition` every 20 ms until it holds (true) or `timeout` passes.
bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout);
// Waits until `window` is destroyed or hidden.
bool waitUntilClosed(HWND window, Milliseconds timeout = 3s);
long long elapsedMs(SteadyClock::time_point since);

// ---------------------------------------------------------------------------
// The data folder and its files.

std::string dataFolder();  // the application-data folder + "\vantorel"
std::string logPath();     // the data folder + "\vantorellog.txt"
// A folder of that name in the temporary folder, created when missing.
std::string scratchFolder(const std::string& name);
// Deletes every file in the data folder and the folder itself.
void removeDataFolder();

std::optional<std::string> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);

// The eighteen settings in file order, holding the defaults until changed.
struct PreferencesFile {
    int showStartupScreen = 1, logEnabled = 1, tickingEnabled = 1, alarmEnabled = 1;
    int buttonsLeft = 510, buttonsTop = 10, displayTop = 100;
    int timerHours = 0, timerMinutes = 3, timerSeconds = 0;
    int textColor = 0, backgroundColor = 16777215;
    int fontHeight = 320, fontWeight = 700, fontItalic = 0;
    std::string fontFace = "Arial";
    std::string alarmSoundPath = "No file selected";
    std::string tickSoundPath = "No file selected";

    // The defaults with the startup screen and the sounds off: quick and
    // quiet; logging as given.
    static PreferencesFile quiet(int logEnabled = 1);
    // The file's text, every line ended with `lineEnd`.
    std::string text(const std::string& lineEnd = "\n") const;
};

// Creates the data folder and writes the preferences file into it.
void writePreferences(const std::string& text);
// The preferences file's bytes; "<missing>" when it cannot be read.
std::string preferencesText();
// The log's lines in file order without their 19-character timestamps; a
// line that does not start with one shows whole after "<no timestamp>".
Lines logMessages();

// ---------------------------------------------------------------------------
// Windows of another process.

// A window's text, asked for with WM_GETTEXT; empty when it does not answer
// within a second.
std::string textOf(HWND window);
void setText(HWND control, const std::string& text);
// The non-empty texts of the "Static" controls of a dialog, in z-order.
Lines staticTexts(HWND dialog);
// Top-level windows of the process, optionally of one class, the visible
// ones only unless told otherwise.
std::vector<HWND> windowsOf(DWORD processId, const char* windowClass = nullptr,
                            bool visibleOnly = true);
// Sends a pointer-free message and waits up to a second; -1 without answer.
LRESULT askWindow(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The items of a list box, asked for in UTF-16 (Wine passes ANSI list text
// between processes unreliably) and given in the ANSI code page.
Lines listBoxItems(HWND list);
// The colour of one screen pixel; CLR_INVALID when it cannot be read.
COLORREF screenPixel(POINT point);
// The window with the keyboard focus in the thread owning `window`.
HWND focusedWindowOf(HWND window);
// Processes whose parent is `parentId` and whose executable is `exeName`.
std::vector<DWORD> childProcessesOf(DWORD parentId, const char* exeName);

// Posts a click of the dialog button `id` to its dialog.
void pressDialogButton(HWND dialog, int id);
// Clicks button `id` of a dialog or message box, or its close box (posts
// WM_CLOSE) when `id` is 0, and waits until it closes.
bool dismiss(HWND dialog, int id = 0);
// Waits until the thread owning the edit control has handled every message
// posted to it so far.
bool waitForPostedMessages(HWND edit, Milliseconds timeout = 2s);
// Gives a dialog Escape's command (IDCANCEL); true when it is still open.
bool staysOpenOnEscape(HWND dialog);

// The system's screen-saver switch after `action` ("get", "on" or "off"), as
// a fresh copy of the test program does it and sees it, so that no value
// this process may have kept gets in the way: 1 active, 0 not, -1 failure.
int screenSaver(const char* action);
// What that fresh copy runs; 2 for an unknown action.
int screenSaverCommand(const std::string& action);

// ---------------------------------------------------------------------------
// One run of vantorel.exe. The destructor ends it: WM_CLOSE first,
// TerminateProcess if it does not go, so no case leaves a copy behind.
class Program {
public:
    Program() = default;
    ~Program() { close(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the process in a scratch working folder; does not wait.
    bool launch(const std::string& executable = programPath());
    // Waits until the process shows a top-level window of that class.
    bool waitForMainWindow(Milliseconds timeout = 10s, const char* windowClass = "Vantorel");
    bool start(Milliseconds timeout = 10s) { return launch() && waitForMainWindow(timeout); }
    DWORD processId() const { return processId_; }
    bool running() const;
    // Waits for the process to end; its exit code, STILL_ACTIVE if it runs on.
    DWORD waitForExit(Milliseconds timeout = 5s);
    void close();

    HWND mainWindow() const { return main_; }
    HWND button(int id) const { return GetDlgItem(main_, id); }
    HWND display() const { return FindWindowExA(main_, nullptr, "Edit", nullptr); }
    std::string title() const { return textOf(main_); }
    std::string displayText() const { return textOf(display()); }
    // The enabled buttons by caption, e.g. "Start Reset".
    std::string enabledButtons() const;
    // Where the buttons and the display are, in client coordinates, e.g.
    // "Start@510,10 80x40 Stop@600,10 80x40 Reset@690,10 80x40 display@0,100 1920x980".
    std::string layout() const;

    // Posts the WM_COMMAND of button `id` (IDC_START...) when it is enabled.
    bool click(int id);
    // Posts a menu command.
    void command(int id) { PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // Posts a menu command and waits for the dialog of that caption.
    HWND open(int id, const std::string& caption) {
        command(id);
        return waitForDialog(caption);
    }
    bool bringToFront();
    // Posts a key press to the main window; it passes the accelerator table.
    void pressKey(UINT virtualKey);
    // Alt+key as keyboard input to the main window, brought to the front.
    bool pressAltKey(UINT virtualKey);

    // Visible dialogs and message boxes (class "#32770") of the process.
    std::vector<HWND> dialogs() const { return windowsOf(processId_, "#32770"); }
    // A visible dialog or message box of the process with this caption;
    // null on timeout.
    HWND waitForDialog(const std::string& caption, Milliseconds timeout = 5s) const;

    // Suspends the user-interface thread for `ms` milliseconds.
    bool freezeUi(DWORD ms);

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

}  // namespace e2e
