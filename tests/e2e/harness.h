// A small toolkit for driving the real vantorel.exe from a test or a
// benchmark: its data folder and files, the running program, its windows and
// dialogs, and waiting for things to happen. Everything goes through window
// messages and keyboard input, so the program needs no test hooks.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "resource.h"

namespace e2e {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

// The path in the environment variable `name`; a Unix path is taken as one
// on Wine's drive Z:.
inline std::string pathFrom(const char* name) {
    std::string path = std::getenv(name) ? std::getenv(name) : "";
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path.rfind('\\', 0) == 0 ? "Z:" + path : path;
}
// vantorel.exe, from VANTOREL_EXE.
inline std::string programPath() { return pathFrom("VANTOREL_EXE"); }

// Polls `condition` every 20 ms until it holds (true) or `timeout` passes.
template <class Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds timeout) {
    for (const auto deadline = SteadyClock::now() + timeout; !condition(); Sleep(20))
        if (SteadyClock::now() >= deadline) return false;
    return true;
}
inline long long elapsedMs(SteadyClock::time_point since) {
    return (SteadyClock::now() - since) / 1ms;
}

// The data folder (application data + "\vantorel") and its two files, by
// their full names, which may be outside the ANSI code page; and a folder
// of the given name in the temporary folder.
using Path = std::filesystem::path;
inline Path dataFolder() {
    wchar_t buffer[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE);
    return Path(buffer) / "vantorel";
}
inline Path preferencesPath() { return dataFolder() / "vantorl.cfg"; }
inline Path logPath() { return dataFolder() / "vantorellog.txt"; }
inline void removeDataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(dataFolder(), ignored);
}
inline std::string scratchFolder(const std::string& name) {
    const Path folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directory(folder);
    return folder.string();
}

// A file's bytes; "<missing>" when it cannot be read.
inline std::string readFileBytes(const Path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return file ? bytes.str() : "<missing>";
}
inline void writeFileBytes(const Path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
// The log's lines without their 19-character timestamps.
inline Lines logMessages() {
    Lines messages;
    std::istringstream in(readFileBytes(logPath()));
    for (std::string line; std::getline(in, line) && line != "<missing>";)
        messages.push_back(line.substr(std::min<std::size_t>(19, line.size())));
    return messages;
}

// A preferences file's text from its eighteen lines, written with '|'
// between them: kQuiet, the defaults with the startup screen and the sounds
// off, or the defaults themselves.
inline const std::string kQuiet =
    "0|1|0|0|510|10|100|0|3|0|0|16777215|320|700|0|Arial|No file selected|No file selected";
inline const std::string kDefaults = "1|1|1|1" + kQuiet.substr(7);
inline std::string fileLines(std::string text) {
    std::replace(text.begin(), text.end(), '|', '\n');
    return text + '\n';
}
inline void writePreferences(const std::string& lines) {
    CreateDirectoryW(dataFolder().c_str(), nullptr);
    writeFileBytes(preferencesPath(), fileLines(lines));
}

// Sends a message to another process's window, waiting up to a second; -1
// when it does not answer.
inline LRESULT askWindow(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, 0, 1000, &result) ? result : -1;
}
inline std::string textOf(HWND window) {
    char text[512] = {};
    askWindow(window, WM_GETTEXT, sizeof text - 1, reinterpret_cast<LPARAM>(text));
    return text;
}
// The non-empty texts of a dialog's static controls.
inline Lines staticTexts(HWND dialog) {
    Lines texts;
    for (HWND c = nullptr; (c = FindWindowExA(dialog, c, "Static", nullptr));)
        if (!textOf(c).empty()) texts.push_back(textOf(c));
    return texts;
}
// Clicks button `id` of a dialog or box, or closes it (WM_CLOSE) when `id`
// is 0; dismiss() also waits until it has gone.
inline void pressButton(HWND dialog, int id) {
    PostMessageA(dialog, id ? WM_COMMAND : WM_CLOSE, id, 0);
}
inline bool dismiss(HWND dialog, int id = 0) {
    pressButton(dialog, id);
    return dialog && waitUntil([&] { return !IsWindowVisible(dialog); }, 3s);
}

// One run of vantorel.exe (or another program), started in a scratch working
// folder so that nothing it looks for there comes from the build tree. The
// destructor ends it: WM_CLOSE first, TerminateProcess if it does not go.
class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    ~Program() { close(); }

    bool launch(const Path& exe = programPath()) {
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        name_ = exe.filename().string();
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            Path(scratchFolder("vantorel-e2e")).c_str(), &startup, &info)) {
            problem_ = name_ + " does not start (is VANTOREL_EXE right?)";
        }
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
        return problem_.empty();
    }
    // Waits until the process shows a top-level window of that class; false
    // at once when it ends instead. problem() then says why.
    // Whether a dialog without a caption (the startup screen) showed meanwhile.
    bool waitForMainWindow(const char* windowClass = "Vantorel", bool* screen = nullptr) {
        const auto shown = [&] { return owned(main_) && IsWindowVisible(main_); };
        const auto ready = [&] {
            if (screen && waitForDialog("", 0ms)) *screen = true;
            return (main_ = FindWindowA(windowClass, nullptr), shown()) || ended();
        };
        waitUntil(ready, 10s);
        if (!ended() && !shown()) problem_ = name_ + " shows no main window";
        return problem().empty();
    }
    bool ended() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }
    // Why the program cannot be driven: it did not start, showed no window,
    // or has ended, with its exit code and what it means. Empty while all is well.
    std::string problem() const {
        if (!problem_.empty() || !ended()) return problem_;
        const DWORD code = waitForExit();
        char text[120];
        std::snprintf(text, sizeof text, " has ended with exit code 0x%08lX%s",
                      static_cast<unsigned long>(code),
                      code == 0            ? ": it ended by itself"
                      : code == 0xC0000135 ? ": a DLL the program needs could not be loaded"
                      : code == 0xC000007B ? ": a DLL it loaded is built for another processor"
                      : code == 0xC0000005 ? ": it crashed (access violation)"
                                           : "");
        return name_ + text;
    }
    // Waits for the process to end: its exit code, STILL_ACTIVE if it runs on.
    DWORD waitForExit(DWORD ms = 5000) const {
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(process_, ms);
        GetExitCodeProcess(process_, &code);
        return code;
    }
    // Closes the dialogs, then the main window, as their close boxes do.
    void close() {
        for (HWND w; (w = waitForDialog(nullptr, 0ms)) && dismiss(w);) continue;
        if (process_) PostMessageA(main_, WM_CLOSE, 0, 0);
        if (process_ && waitForExit() == STILL_ACTIVE) TerminateProcess(process_, 1);
        if (process_) CloseHandle(std::exchange(process_, nullptr));
    }

    HWND mainWindow() const { return main_; }
    HWND button(int id) const { return GetDlgItem(main_, id); }
    HWND display() const { return FindWindowExA(main_, nullptr, "Edit", nullptr); }
    // The window that has the keyboard focus in the program's window thread.
    HWND focus() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info);
        return info.hwndFocus;
    }
    std::string displayText() const { return textOf(display()); }
    // The enabled buttons by caption, e.g. "Start Reset".
    std::string enabledButtons() const {
        std::string names;
        for (const int id : {IDC_START, IDC_STOP, IDC_RESET})
            if (IsWindowEnabled(button(id)))
                names += (names.empty() ? "" : " ") + textOf(button(id));
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
    // Posts button `id`'s click (IDC_START...), or a command as the menu does.
    bool click(int id) { return IsWindowEnabled(button(id)) && command(id); }
    bool command(int id) { return PostMessageA(main_, WM_COMMAND, id, 0); }
    // Brings the main window to the front and types keys into it as a user
    // does, each pressed and released in turn, `modifier` (VK_MENU: Alt) held.
    bool typeKeys(std::initializer_list<UINT> keys, BYTE modifier = 0) {
        SetForegroundWindow(main_);
        if (!waitUntil([&] { return GetForegroundWindow() == main_; }, 2s)) return false;
        Sleep(100);  // and let the activation settle
        if (modifier) keybd_event(modifier, 0, 0, 0);
        for (const UINT key : keys) {
            const auto scan = static_cast<BYTE>(MapVirtualKeyA(key, 0));
            keybd_event(static_cast<BYTE>(key), scan, 0, 0);
            keybd_event(static_cast<BYTE>(key), scan, KEYEVENTF_KEYUP, 0);
            Sleep(50);  // a menu takes its time to open
        }
        if (modifier) keybd_event(modifier, 0, KEYEVENTF_KEYUP, 0);
        return true;
    }
    // A visible dialog or message box (class "#32770") of the process with
    // this caption, or any when the caption is null; null on timeout, or at
    // once when the program has ended.
    HWND waitForDialog(const char* caption, std::chrono::milliseconds timeout = 5s) const {
        HWND found = nullptr;
        const auto look = [&] {
            for (HWND w = nullptr; !found && (w = FindWindowExA(nullptr, w, "#32770", nullptr));)
                if (owned(w) && IsWindowVisible(w) && (!caption || textOf(w) == caption)) found = w;
            return found || ended();
        };
        waitUntil(look, timeout);
        return found;
    }
    // Suspends the user-interface thread for `ms` milliseconds.
    bool freezeUi(DWORD ms) {
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, 0, GetWindowThreadProcessId(main_, 0));
        const bool suspended = thread && SuspendThread(thread) != DWORD(-1);
        Sleep(ms);
        const bool resumed = suspended && ResumeThread(thread) != DWORD(-1);
        CloseHandle(thread);
        return resumed;
    }

private:
    bool owned(HWND window) const {
        DWORD owner = 0;
        return window && GetWindowThreadProcessId(window, &owner) && owner == processId_;
    }

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
    std::string name_, problem_;
};

}  // namespace e2e
