// A small toolkit for driving the real vantorel.exe from a test: its data
// folder and files, the running program and its windows, and waiting for
// things to happen. Everything works through plain window messages, so the
// program under test needs no test hooks.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

// The Windows path of vantorel.exe, set once by the test program's main.
void setProgramPath(std::string path);
const std::string& programPath();

// Polls `condition` every 20 ms until it holds or `timeout` has passed; true
// when it held.
bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout);
// Waits until `window` is destroyed or hidden; true when it went.
bool waitUntilClosed(HWND window, Milliseconds timeout = 3s);

// Milliseconds since `since` on the steady clock.
long long elapsedMs(SteadyClock::time_point since);

// ---------------------------------------------------------------------------
// The data folder and its files.

// The per-user application-data folder with "vantorel" appended.
std::string dataFolder();
std::string preferencesPath();  // the data folder + "\vantorl.cfg"
std::string logPath();          // the data folder + "\vantorellog.txt"

bool dataFolderExists();
// A folder of that name in the temporary folder, created when missing, as a
// path without a trailing backslash.
std::string scratchFolder(const std::string& name);
// Deletes every file in the data folder and the folder itself.
void removeDataFolder();

// The whole file as bytes, or nothing when it cannot be read.
std::optional<std::string> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);
// The time a file was last written, in 100 ns units since 1601 (a FILETIME);
// 0 when the file cannot be opened.
std::uint64_t lastWriteTime(const std::string& path);
// Sets it; true when that worked. Backdating a file shows whether the
// program writes it again.
bool setLastWriteTime(const std::string& path, std::uint64_t time);

// The eighteen settings in file order, holding the defaults until changed.
struct PreferencesFile {
    int showStartupScreen = 1;
    int logEnabled = 1;
    int tickingEnabled = 1;
    int alarmEnabled = 1;
    int buttonsLeft = 510;
    int buttonsTop = 10;
    int displayTop = 100;
    int timerHours = 0;
    int timerMinutes = 3;
    int timerSeconds = 0;
    std::uint32_t textColor = 0;
    std::uint32_t backgroundColor = 16777215;
    int fontHeight = 320;
    int fontWeight = 700;
    int fontItalic = 0;
    std::string fontFace = "Arial";
    std::string alarmSoundPath = "No file selected";
    std::string tickSoundPath = "No file selected";

    // The defaults with the startup screen and every sound switched off,
    // which keeps a case quick and quiet.
    static PreferencesFile quiet();

    // The file's text, every line ended with `lineEnd`.
    std::string text(const std::string& lineEnd = "\n") const;
};

// The exact bytes of the file the program writes on its first start.
extern const char* const kDefaultPreferencesText;

// Creates the data folder and writes the preferences file into it.
void writePreferences(const PreferencesFile& preferences);
void writePreferencesText(const std::string& text);
std::optional<std::string> readPreferencesText();
// Line `number` (counting from 1) of a text, without its line feed.
std::string lineOf(const std::string& text, int number);

struct LogLine {
    std::string timestamp;  // the first 19 characters
    std::string message;    // everything after them
};

// The log's lines in file order; empty when there is no log.
std::vector<LogLine> readLog();
// Only the messages, for comparing the whole log at once.
std::vector<std::string> logMessages();
// YYYY-MM-DD HH:MM:SS, digits where digits belong.
bool isTimestamp(const std::string& text);

// ---------------------------------------------------------------------------
// Windows of another process.

std::string className(HWND window);
// The caption of a top-level window.
std::string windowTitle(HWND window);
// The text of a control, asked for with WM_GETTEXT; empty when the window
// does not answer within a second.
std::string controlText(HWND control);
void setControlText(HWND control, const std::string& text);
// The rectangle of `child` in client coordinates of `parent`.
RECT rectIn(HWND parent, HWND child);
// The texts of the "Static" controls inside a dialog or message box, in
// z-order, empty ones left out.
std::vector<std::string> staticTexts(HWND dialog);
// Visible top-level windows of the process, optionally of one class.
std::vector<HWND> visibleWindowsOf(DWORD processId, const char* windowClass = nullptr);
// Sends a message and waits up to a second for the answer; -1 when none
// comes. For messages whose parameters carry no pointers.
LRESULT askWindow(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The items of a list box, in list order. Asked for in UTF-16 and turned
// into the ANSI code page, since Wine passes ANSI list text between
// processes unreliably.
std::vector<std::string> listBoxItems(HWND list);
// The colour of one screen pixel, as another process drew it; CLR_INVALID
// when it cannot be read.
COLORREF screenPixel(POINT point);
// The window that has the keyboard focus in the thread owning `window`;
// null when none has.
HWND focusedWindowOf(HWND window);
// Processes whose parent is `parentId`, optionally only those whose
// executable has this file name (compared without case).
std::vector<DWORD> childProcessesOf(DWORD parentId, const char* exeName = nullptr);
// Ends a process that a test caused to start; true when it is gone.
bool endProcess(DWORD processId);

// Posts a click of the dialog button `id` (IDOK for OK) to its dialog.
void pressDialogButton(HWND dialog, int id);
// Posts WM_CLOSE, as the close box does.
void postClose(HWND window);
// Waits until the thread owning `control` has handled every message posted
// to it so far. For an edit control it posts a new text limit and waits for
// it to show; for a push button it posts a press, waits for the button to
// show it and releases it again. False when that never shows (the control
// went away, say).
bool waitForPostedMessages(HWND control, Milliseconds timeout = 2s);

// The system's screen-saver switch (SPI_GETSCREENSAVEACTIVE), read and set
// by a fresh copy of the test program, so that no value this process may
// have kept from earlier gets in the way.
bool screenSaverActive();
// Sets it; true when it reads back as set.
bool setScreenSaverActive(bool active);
// What such a fresh copy does: "get", "on" or "off", then answers 1 when the
// screen saver is active and 0 when not (2 for an unknown action).
int screenSaverCommand(const std::string& action);

// ---------------------------------------------------------------------------
// The program under test.

enum class Button { Start, Stop, Reset };

// One run of vantorel.exe. The destructor ends it: WM_CLOSE to the main
// window first, TerminateProcess if it does not go, so no case leaves a
// copy behind.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the process in a scratch working folder; does not wait.
    // `executable` is vantorel.exe where the build put it unless given.
    bool launch();
    bool launch(const std::string& executable);
    // Starts it and waits for its main window to show.
    bool start(Milliseconds timeout = 10s);
    // Waits until the process has a visible top-level window of class
    // "Vantorel".
    bool waitForMainWindow(Milliseconds timeout = 10s);

    DWORD processId() const { return processId_; }
    HANDLE process() const { return process_; }
    bool running() const;
    bool waitForExit(Milliseconds timeout = 5s);
    // The exit code; STILL_ACTIVE while it runs.
    DWORD exitCode() const;
    // Ends the program: WM_CLOSE, then TerminateProcess after `grace`.
    void close(Milliseconds grace = 5s);

    HWND mainWindow() const { return main_; }
    HWND button(Button which) const;
    HWND display() const { return display_; }
    DWORD uiThreadId() const;

    std::string title() const;
    std::string displayText() const;
    bool isEnabled(Button which) const;
    // The enabled buttons by caption, e.g. "Start Reset"; "" when none is.
    std::string enabledButtons() const;

    // Clicks a button as a user can: only when it is enabled (false when
    // not). Posts the button's WM_COMMAND to the main window.
    bool click(Button which);
    // Posts a menu command (WM_COMMAND with notification 0).
    void command(int id);
    // Makes the main window the foreground window; false when it does not
    // become it.
    bool bringToFront();
    // Posts a key press (down and up) to the main window; it passes the
    // message loop and its accelerator table like a typed key.
    void pressKey(UINT virtualKey);
    // Alt+key as keyboard input (SendInput) to the main window, made the
    // foreground window first; false when that fails.
    bool pressAltKey(UINT virtualKey);

    // Visible dialogs and message boxes (class "#32770") of the process.
    std::vector<HWND> dialogs() const;
    // Waits for a visible dialog or message box of the process with this
    // caption; null on timeout.
    HWND waitForDialog(const std::string& caption, Milliseconds timeout = 5s) const;

    // Freezes and thaws the program's user-interface thread.
    bool suspendUiThread();
    bool resumeUiThread();

private:
    void findControls();

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
    HWND display_ = nullptr;
    HANDLE suspendedThread_ = nullptr;
};

}  // namespace e2e
