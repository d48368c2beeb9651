// A small toolkit for driving the real vantorel.exe from a test or a
// benchmark: its data folder and files, the running program, its windows and
// dialogs, and waiting for things to happen. Everything goes through window
// messages and keyboard input, so the program needs no test hooks.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "resource.h"

namespace e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

// vantorel.exe, from the environment variable VANTOREL_EXE; a Unix path
// becomes one on Wine's drive Z:.
inline std::string programPath() {
    const char* set = std::getenv("VANTOREL_EXE");
    std::string path = set && set[0] == '/' ? "Z:" : "";
    for (const char* c = set ? set : ""; *c; ++c) path += *c == '/' ? '\\' : *c;
    return path;
}

// Polls `condition` every 20 ms until it holds (true) or `timeout` passes.
inline bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    for (; !condition(); std::this_thread::sleep_for(20ms)) {
        if (SteadyClock::now() >= deadline) return false;
    }
    return true;
}
inline long long elapsedMs(SteadyClock::time_point since) {
    return std::chrono::duration_cast<Milliseconds>(SteadyClock::now() - since).count();
}

// A process's exit code with what it means.
inline std::string exitCodeInWords(DWORD code) {
    static const std::pair<DWORD, const char*> known[] = {
        {0, "it ended by itself"},
        {0xC0000135, "a DLL the program needs could not be loaded"},
        {0xC000007B, "a DLL it loaded is built for another processor (is the manifest right?)"},
        {0xC0000139, "a function the program needs is missing from a DLL"},
        {0xC0000142, "a DLL it needs failed to initialise"},
        {0xC0000005, "it crashed (access violation)"},
        {0xC00000FD, "it crashed (stack overflow)"},
        {0xC0000409, "it stopped itself (a failed run-time check)"},
    };
    char text[32];
    std::snprintf(text, sizeof text, code < 256 ? "exit code %lu" : "exit code 0x%08lX",
                  static_cast<unsigned long>(code));
    for (const auto& [value, meaning] : known) {
        if (value == code) return std::string(text) + ": " + meaning;
    }
    return text;
}

// The data folder (application data + "\vantorel") and its two files.
inline std::string dataFolder() {
    char buffer[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_APPDATA, FALSE);
    return std::string(buffer) + "\\vantorel";
}
inline std::string preferencesPath() { return dataFolder() + "\\vantorl.cfg"; }
inline std::string logPath() { return dataFolder() + "\\vantorellog.txt"; }
inline void removeDataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(dataFolder(), ignored);
}
// A folder of that name in the temporary folder, created when missing.
inline std::string scratchFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// A file's bytes; "<missing>" when it cannot be read.
inline std::string readFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return file ? bytes.str() : "<missing>";
}
inline void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The eighteen lines of the preferences file, by name.
enum Field {
    kStartup,
    kLog,
    kTicking,
    kAlarm,
    kLeft,
    kTop,
    kDisplayTop,
    kHours,
    kMinutes,
    kSeconds,
    kTextColour,
    kBackground,
    kFontHeight,
    kFontWeight,
    kItalic,
    kFace,
    kAlarmFile,
    kTickFile
};
struct Settings : std::array<std::string, 18> {
    // The defaults; quiet() has the startup screen and the sounds off.
    Settings()
        : std::array<std::string, 18>{"1",
                                      "1",
                                      "1",
                                      "1",
                                      "510",
                                      "10",
                                      "100",
                                      "0",
                                      "3",
                                      "0",
                                      "0",
                                      "16777215",
                                      "320",
                                      "700",
                                      "0",
                                      "Arial",
                                      "No file selected",
                                      "No file selected"} {}
    static Settings quiet(const char* log = "1") {
        Settings s;
        s[kStartup] = s[kTicking] = s[kAlarm] = "0";
        s[kLog] = log;
        return s;
    }
    std::string text() const {
        std::string text;
        for (const std::string& line : *this) text += line + '\n';
        return text;
    }
    void write() const {
        CreateDirectoryA(dataFolder().c_str(), nullptr);
        writeFileBytes(preferencesPath(), text());
    }
};

// The log's lines without their 19-character timestamps.
inline Lines logMessages() {
    Lines messages;
    std::istringstream in(readFileBytes(logPath()));
    for (std::string line; std::getline(in, line) && line != "<missing>";) {
        messages.push_back(line.size() > 19 ? line.substr(19) : line);
    }
    return messages;
}

// Sends a message to another process's window, waiting up to a second; -1
// when it does not answer.
inline LRESULT askWindow(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 1000, &result)
               ? static_cast<LRESULT>(result)
               : -1;
}
inline std::string textOf(HWND window) {
    char text[512] = {};
    askWindow(window, WM_GETTEXT, sizeof text - 1, reinterpret_cast<LPARAM>(text));
    return text;
}
inline void setText(HWND control, const std::string& text) {
    askWindow(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
inline bool isClass(HWND window, const char* name) {
    char found[64] = {};
    return GetClassNameA(window, found, sizeof found) && std::string(found) == name;
}
inline BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}
// The top-level windows, or the children of `parent`.
inline std::vector<HWND> windows(HWND parent = nullptr) {
    std::vector<HWND> found;
    if (parent) EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&found));
    if (!parent) EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}
// The non-empty texts of a dialog's static controls.
inline Lines staticTexts(HWND dialog) {
    Lines texts;
    for (HWND child : windows(dialog)) {
        if (isClass(child, "Static") && !textOf(child).empty()) texts.push_back(textOf(child));
    }
    return texts;
}
// A list box's items, asked for in UTF-16 (Wine passes ANSI list text
// between processes unreliably).
inline Lines listBoxItems(HWND list) {
    Lines items;
    for (LRESULT i = 0, count = askWindow(list, LB_GETCOUNT); i < count; ++i) {
        wchar_t wide[1024] = {};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, 1000,
                            &ignored);
        char text[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items.push_back(text);
    }
    return items;
}

inline void pressDialogButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
// Clicks button `id` of a dialog or box, or closes it (WM_CLOSE) when `id`
// is 0, and waits until it has gone.
inline bool dismiss(HWND dialog, int id = 0) {
    if (id == 0) PostMessageA(dialog, WM_CLOSE, 0, 0);
    if (id != 0) pressDialogButton(dialog, id);
    return dialog && waitUntil([&] { return !IsWindowVisible(dialog); }, 3s);
}

// Types keys into the foreground window as a user does, each pressed and
// released in turn, with `modifier` (VK_MENU for Alt) held throughout.
inline void typeKeys(std::initializer_list<UINT> keys, UINT modifier = 0) {
    const auto key = [](UINT vk, DWORD flags) {
        keybd_event(static_cast<BYTE>(vk), static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)),
                    flags, 0);
    };
    if (modifier) key(modifier, 0);
    for (const UINT vk : keys) {
        key(vk, 0);
        key(vk, KEYEVENTF_KEYUP);
        Sleep(50);  // a menu takes its time to open
    }
    if (modifier) key(modifier, KEYEVENTF_KEYUP);
}

// One run of vantorel.exe (or another program). The destructor ends it:
// WM_CLOSE first, TerminateProcess if it does not go.
class Program {
public:
    Program() = default;
    ~Program() { close(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the process in a scratch working folder, so that nothing it
    // looks for there comes from the build tree.
    bool launch(const std::string& exe = programPath()) {
        std::string commandLine = "\"" + exe + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        name_ = exe.substr(exe.find_last_of("\\/") + 1);
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            scratchFolder("vantorel-e2e").c_str(), &startup, &info)) {
            problem_ = "\"" + exe + "\" could not be started (error " +
                       std::to_string(GetLastError()) + "; is VANTOREL_EXE set?)";
            return false;
        }
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
        return true;
    }
    // Waits until the process shows a top-level window of that class; false
    // at once when it ends instead (problem() then says why).
    bool waitForMainWindow(Milliseconds timeout = 10s, const char* windowClass = "Vantorel") {
        const bool shown = waitUntil(
            [&] {
                main_ = FindWindowExA(nullptr, nullptr, windowClass, nullptr);
                return (owned(main_) && IsWindowVisible(main_)) || ended();
            },
            timeout);
        if (shown && !ended()) return true;
        if (!ended()) problem_ = name_ + " runs but showed no main window in time";
        return false;
    }
    bool start(Milliseconds timeout = 10s) { return launch() && waitForMainWindow(timeout); }
    bool ended() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }
    // Why the program cannot be driven: it did not start, showed no window,
    // or ended, with its exit code in words. Empty while all is well.
    std::string problem() const {
        DWORD code = STILL_ACTIVE;
        if (problem_.empty() && ended() && GetExitCodeProcess(process_, &code)) {
            return name_ + " has ended with " + exitCodeInWords(code);
        }
        return problem_;
    }
    // Waits for the process to end: its exit code, STILL_ACTIVE if it runs on.
    DWORD waitForExit(Milliseconds timeout = 5s) {
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(process_, static_cast<DWORD>(timeout.count()));
        GetExitCodeProcess(process_, &code);
        return code;
    }
    void close() {
        if (process_ == nullptr) return;
        for (HWND window : windows()) {
            if (owned(window)) PostMessageA(window, WM_CLOSE, 0, 0);
        }
        if (waitForExit() == STILL_ACTIVE) TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
        CloseHandle(process_);
        process_ = nullptr;
        problem_.clear();
    }
    HANDLE process() const { return process_; }

    HWND mainWindow() const { return main_; }
    HWND button(int id) const { return GetDlgItem(main_, id); }
    HWND display() const { return FindWindowExA(main_, nullptr, "Edit", nullptr); }
    std::string displayText() const { return textOf(display()); }
    // The enabled buttons by caption, e.g. "Start Reset".
    std::string enabledButtons() const {
        std::string names;
        for (const int id : {IDC_START, IDC_STOP, IDC_RESET}) {
            if (IsWindowEnabled(button(id)))
                names += (names.empty() ? "" : " ") + textOf(button(id));
        }
        return names;
    }
    // A control's place in the main window's client area: "x,y wxh".
    std::string placeOf(HWND control) const {
        RECT r = {};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
               std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
    }
    // Posts button `id`'s click (IDC_START...); false when it is disabled.
    bool click(int id) {
        return IsWindowEnabled(button(id)) &&
               PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(button(id)));
    }
    // Posts a command, as the menu does.
    void command(int id) { PostMessageA(main_, WM_COMMAND, id, 0); }
    // Brings the main window to the front and types keys into it.
    bool typeKeys(std::initializer_list<UINT> keys, UINT modifier = 0) {
        SetForegroundWindow(main_);
        if (!waitUntil([&] { return GetForegroundWindow() == main_; }, 2s)) return false;
        Sleep(100);  // and let the activation settle
        e2e::typeKeys(keys, modifier);
        return true;
    }

    // The visible dialogs and message boxes (class "#32770") of the process.
    std::vector<HWND> dialogs() const {
        std::vector<HWND> found;
        for (HWND window : windows()) {
            if (owned(window) && IsWindowVisible(window) && isClass(window, "#32770")) {
                found.push_back(window);
            }
        }
        return found;
    }
    // A visible one with this caption; null on timeout, or at once when the
    // program has ended.
    HWND waitForDialog(const std::string& caption, Milliseconds timeout = 5s) const {
        HWND found = nullptr;
        waitUntil(
            [&] {
                for (HWND dialog : dialogs()) found = textOf(dialog) == caption ? dialog : found;
                return found != nullptr || ended();
            },
            timeout);
        return found;
    }
    // Suspends the user-interface thread for `ms` milliseconds.
    bool freezeUi(DWORD ms) {
        HANDLE thread =
            OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(main_, nullptr));
        const bool suspended = thread && SuspendThread(thread) != DWORD(-1);
        Sleep(ms);
        const bool resumed = suspended && ResumeThread(thread) != DWORD(-1);
        CloseHandle(thread);
        return resumed;
    }

private:
    bool owned(HWND window) const {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return window != nullptr && owner == processId_;
    }

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
    std::string name_, problem_;
};

}  // namespace e2e
