#include "tests/e2e/harness.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "resource.h"

namespace e2e {
namespace {

std::string gProgramPath;
constexpr UINT kAnswerTimeoutMs = 1000;

bool sameText(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Starts `commandLine` in `folder` (the current one when null); null on failure.
HANDLE startProcess(const std::string& exe, std::string commandLine, const char* folder,
                    DWORD* processId = nullptr) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder, &startup, &info)) {
        return nullptr;
    }
    CloseHandle(info.hThread);
    if (processId != nullptr) *processId = info.dwProcessId;
    return info.hProcess;
}

std::string preferencesPath() { return dataFolder() + "\\vantorl.cfg"; }

std::string className(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

bool takeProgramPath(int argc, char** argv) {
    const std::string option = "--vantorel-exe=";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind(option, 0) != 0) continue;
        gProgramPath = argument[option.size()] == '/' ? "Z:" : "";
        for (const char c : argument.substr(option.size())) gProgramPath += c == '/' ? '\\' : c;
    }
    return GetFileAttributesA(gProgramPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const std::string& programPath() { return gProgramPath; }

bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (SteadyClock::now() >= deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
}

bool waitUntilClosed(HWND window, Milliseconds timeout) {
    return waitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

long long elapsedMs(SteadyClock::time_point since) {
    return std::chrono::duration_cast<Milliseconds>(SteadyClock::now() - since).count();
}

// ---------------------------------------------------------------------------
// The data folder and its files.

std::string dataFolder() {
    char buffer[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_APPDATA, FALSE);
    return std::string(buffer) + "\\vantorel";
}

std::string logPath() { return dataFolder() + "\\vantorellog.txt"; }

std::string scratchFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    const std::string folder = (n > 0 && n < MAX_PATH ? std::string(temp, n) : "C:\\") + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void removeDataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(dataFolder(), ignored);
}

std::optional<std::string> readFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

PreferencesFile PreferencesFile::quiet(int logEnabled) {
    PreferencesFile quiet;
    quiet.showStartupScreen = quiet.tickingEnabled = quiet.alarmEnabled = 0;
    quiet.logEnabled = logEnabled;
    return quiet;
}

std::string PreferencesFile::text(const std::string& lineEnd) const {
    std::string out;
    for (const int number :
         {showStartupScreen, logEnabled, tickingEnabled, alarmEnabled, buttonsLeft, buttonsTop,
          displayTop, timerHours, timerMinutes, timerSeconds, textColor, backgroundColor,
          fontHeight, fontWeight, fontItalic}) {
        out += std::to_string(number) + lineEnd;
    }
    return out + fontFace + lineEnd + alarmSoundPath + lineEnd + tickSoundPath + lineEnd;
}

void writePreferences(const std::string& text) {
    CreateDirectoryA(dataFolder().c_str(), nullptr);
    writeFileBytes(preferencesPath(), text);
}

std::string preferencesText() { return readFileBytes(preferencesPath()).value_or("<missing>"); }

Lines logMessages() {
    Lines messages;
    std::istringstream in(readFileBytes(logPath()).value_or(""));
    for (std::string line; std::getline(in, line);) {
        // YYYY-MM-DD HH:MM:SS, digits where digits belong.
        bool stamped = line.size() >= 19;
        for (std::size_t i = 0; stamped && i < 19; ++i) {
            const char c = "dddd-dd-dd dd:dd:dd"[i];
            stamped = c == 'd' ? line[i] >= '0' && line[i] <= '9' : line[i] == c;
        }
        messages.push_back(stamped ? line.substr(19) : "<no timestamp>" + line);
    }
    return messages;
}

// ---------------------------------------------------------------------------
// Windows of another process.

std::string textOf(HWND window) {
    char text[512] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text - 1, reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, kAnswerTimeoutMs, &result);
    return text;
}

void setText(HWND control, const std::string& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                        kAnswerTimeoutMs, &result);
}

Lines staticTexts(HWND dialog) {
    std::vector<HWND> children;
    EnumChildWindows(dialog, collectWindow, reinterpret_cast<LPARAM>(&children));
    Lines texts;
    for (HWND child : children) {
        std::string text = sameText(className(child), "Static") ? textOf(child) : "";
        if (!text.empty()) texts.push_back(std::move(text));
    }
    return texts;
}

std::vector<HWND> windowsOf(DWORD processId, const char* windowClass, bool visibleOnly) {
    std::vector<HWND> all, found;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && (!visibleOnly || IsWindowVisible(window)) &&
            (windowClass == nullptr || sameText(className(window), windowClass))) {
            found.push_back(window);
        }
    }
    return found;
}

LRESULT askWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs,
                               &result)
               ? static_cast<LRESULT>(result)
               : -1;
}

Lines listBoxItems(HWND list) {
    Lines items;
    const LRESULT count = askWindow(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        DWORD_PTR length = DWORD_PTR(LB_ERR), copied = 0;  // stays LB_ERR when not answered
        SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_NORMAL, kAnswerTimeoutMs, &length);
        if (length == DWORD_PTR(LB_ERR)) break;
        std::wstring wide(length + 1, L'\0');
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()), SMTO_NORMAL,
                            kAnswerTimeoutMs, &copied);
        const int size = static_cast<int>(std::min(copied, length));
        std::string item(static_cast<std::size_t>(size) * 2, '\0');  // DBCS: 2 bytes at most
        item.resize(static_cast<std::size_t>(WideCharToMultiByte(
            CP_ACP, 0, wide.data(), size, item.data(), size * 2, nullptr, nullptr)));
        items.push_back(std::move(item));
    }
    return items;
}

COLORREF screenPixel(POINT point) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = screen ? GetPixel(screen, point.x, point.y) : CLR_INVALID;
    ReleaseDC(nullptr, screen);
    return colour;
}

HWND focusedWindowOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

std::vector<DWORD> childProcessesOf(DWORD parentId, const char* exeName) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parentId && entry.th32ProcessID != parentId &&
            sameText(entry.szExeFile, exeName)) {
            children.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return children;
}

void pressDialogButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool dismiss(HWND dialog, int id) {
    if (dialog == nullptr) return false;
    if (id == 0) {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    } else {
        pressDialogButton(dialog, id);
    }
    return waitUntilClosed(dialog);
}

bool waitForPostedMessages(HWND edit, Milliseconds timeout) {
    // Messages posted to one thread are taken in order, so once the posted
    // text limit shows, everything posted before it has been handled.
    static UINT marker = 0x40000000;
    const UINT limit = ++marker;
    PostMessageA(edit, EM_SETLIMITTEXT, limit, 0);
    return waitUntil([&] { return askWindow(edit, EM_GETLIMITTEXT) == LRESULT(limit); }, timeout);
}

bool staysOpenOnEscape(HWND dialog) {
    // Sent, so the dialog has handled it on return; closing hides it at once.
    askWindow(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return IsWindow(dialog) && IsWindowVisible(dialog);
}

int screenSaverCommand(const std::string& action) {
    if (action == "on" || action == "off") {
        // Under Wine the switch is kept twice: in the X server, which a
        // program with windows (the one under test) reads, and in Wine's own
        // settings, which every change updates too and which a program
        // without windows reads. Taking a screen DC first makes this helper
        // a program with windows, so the change reaches both.
        ReleaseDC(nullptr, GetDC(nullptr));
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, action == "on" ? TRUE : FALSE, nullptr, 0);
    } else if (action != "get") {
        return 2;
    }
    BOOL active = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    return active ? 1 : 0;
}

int screenSaver(const char* action) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    HANDLE process =
        startProcess(self, std::string("\"") + self + "\" --screen-saver=" + action, nullptr);
    DWORD code = static_cast<DWORD>(-1);  // STILL_ACTIVE when it does not end in time
    WaitForSingleObject(process, 10000);
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return static_cast<int>(code);
}

// ---------------------------------------------------------------------------
// The program under test.

bool Program::launch(const std::string& executable) {
    // A scratch working folder, so nothing the program might look for there
    // (a help file, say) comes from the build tree.
    const std::string folder = scratchFolder("vantorel-e2e");
    if (process_ == nullptr) {
        process_ = startProcess(executable, "\"" + executable + "\"", folder.c_str(), &processId_);
    }
    return process_ != nullptr;
}

bool Program::waitForMainWindow(Milliseconds timeout, const char* windowClass) {
    return waitUntil(
        [&] {
            const std::vector<HWND> windows = windowsOf(processId_, windowClass);
            main_ = windows.empty() ? nullptr : windows.front();
            return main_ != nullptr;
        },
        timeout);
}

bool Program::running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD Program::waitForExit(Milliseconds timeout) {
    DWORD code = STILL_ACTIVE;
    if (process_ != nullptr &&
        WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_, &code);
    }
    return code;
}

void Program::close() {
    if (process_ == nullptr) return;
    // The main window, or when there is none (yet) whatever the process has open.
    for (HWND window :
         IsWindow(main_) ? std::vector<HWND>{main_} : windowsOf(processId_, nullptr, false)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (waitForExit() == STILL_ACTIVE) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
    process_ = nullptr;
    processId_ = 0;
    main_ = nullptr;
}

std::string Program::enabledButtons() const {
    std::string names;
    for (const auto& [id, name] : {std::pair{IDC_START, "Start"}, std::pair{IDC_STOP, "Stop"},
                                   std::pair{IDC_RESET, "Reset"}}) {
        if (IsWindowEnabled(button(id))) names.append(names.empty() ? "" : " ").append(name);
    }
    return names;
}

std::string Program::layout() const {
    std::string out;
    for (const HWND child : {button(IDC_START), button(IDC_STOP), button(IDC_RESET), display()}) {
        RECT r = {};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
        char place[80];
        std::snprintf(place, sizeof place, "@%ld,%ld %ldx%ld ", r.left, r.top, r.right - r.left,
                      r.bottom - r.top);
        out += (child == display() ? "display" : textOf(child)) + place;
    }
    return out.substr(0, out.size() - 1);
}

bool Program::click(int id) {
    return IsWindowEnabled(button(id)) &&
           PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button(id)));
}

void Program::pressKey(UINT virtualKey) {
    // lParam: repeat count 1, the scan code, and for the release the
    // previous-state and transition bits.
    const LPARAM down = 1 | (MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC) << 16);
    PostMessageA(main_, WM_KEYDOWN, virtualKey, down);
    PostMessageA(main_, WM_KEYUP, virtualKey, down | (3u << 30));
}

bool Program::bringToFront() {
    SetForegroundWindow(main_);
    return waitUntil([&] { return GetForegroundWindow() == main_; }, 2s);
}

bool Program::pressAltKey(UINT virtualKey) {
    // The accelerator table asks the keyboard state whether Alt is down, so
    // this one goes in as real keyboard input to the foreground window.
    if (!bringToFront()) return false;
    for (const auto& [key, flags] : {std::pair<UINT, DWORD>{VK_MENU, 0},
                                     {virtualKey, 0},
                                     {virtualKey, KEYEVENTF_KEYUP},
                                     {VK_MENU, KEYEVENTF_KEYUP}}) {
        keybd_event(static_cast<BYTE>(key), static_cast<BYTE>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)),
                    flags, 0);
    }
    return true;
}

HWND Program::waitForDialog(const std::string& caption, Milliseconds timeout) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
            for (HWND dialog : dialogs()) found = textOf(dialog) == caption ? dialog : found;
            return found != nullptr;
        },
        timeout);
    return found;
}

bool Program::freezeUi(DWORD ms) {
    HANDLE thread =
        OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(main_, nullptr));
    const bool suspended = thread && SuspendThread(thread) != static_cast<DWORD>(-1);
    Sleep(ms);
    const bool resumed = suspended && ResumeThread(thread) != static_cast<DWORD>(-1);
    if (thread) CloseHandle(thread);
    return resumed;
}

}  // namespace e2e
