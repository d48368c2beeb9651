#include "tests/e2e/harness.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <thread>
#include <utility>

#include "resource.h"

namespace e2e {
namespace {

std::string gProgramPath;

constexpr Milliseconds kPollInterval = 20ms;
constexpr UINT kAnswerTimeoutMs = 1000;

bool sameText(const std::string& a, const char* b) {
    return lstrcmpiA(a.c_str(), b) == 0;
}

// A scratch folder used as the program's working directory, so nothing it
// might look for there (a help file, say) comes from the build tree.
std::string workingFolder() { return scratchFolder("vantorel-e2e"); }

int buttonId(Button which) {
    switch (which) {
        case Button::Start: return IDC_START;
        case Button::Stop: return IDC_STOP;
        case Button::Reset: return IDC_RESET;
    }
    return 0;
}

// lParam of a key message: repeat count 1 and the key's scan code.
LPARAM keyData(UINT virtualKey, bool release) {
    DWORD data = 1 | (MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC) << 16);
    if (release) data |= (1u << 30) | (1u << 31);  // previous state, transition
    return static_cast<LPARAM>(data);
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Every top-level window of the process, visible or not.
std::vector<HWND> topLevelWindowsOf(DWORD processId) {
    std::vector<HWND> all;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> found;
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) found.push_back(window);
    }
    return found;
}

}  // namespace

void setProgramPath(std::string path) { gProgramPath = std::move(path); }
const std::string& programPath() { return gProgramPath; }

bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (SteadyClock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollInterval);
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

std::string preferencesPath() { return dataFolder() + "\\vantorl.cfg"; }
std::string logPath() { return dataFolder() + "\\vantorellog.txt"; }

std::string scratchFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    std::string folder = (n > 0 && n < MAX_PATH) ? std::string(temp, n) : std::string("C:\\");
    if (folder.back() != '\\') folder += '\\';
    folder += name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool dataFolderExists() {
    const DWORD attributes = GetFileAttributesA(dataFolder().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void removeDataFolder() {
    const std::string folder = dataFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
            const std::string file = folder + "\\" + found.cFileName;
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::optional<std::string> readFileBytes(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    std::string bytes;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.append(chunk, n);
    std::fclose(file);
    return bytes;
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

namespace {

HANDLE openForAttributes(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::uint64_t lastWriteTime(const std::string& path) {
    HANDLE file = openForAttributes(path, FILE_READ_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE) return 0;
    FILETIME written = {};
    const BOOL ok = GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    if (!ok) return 0;
    return (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
}

bool setLastWriteTime(const std::string& path, std::uint64_t time) {
    HANDLE file = openForAttributes(path, FILE_WRITE_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME written = {};
    written.dwLowDateTime = static_cast<DWORD>(time);
    written.dwHighDateTime = static_cast<DWORD>(time >> 32);
    const BOOL ok = SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return ok != FALSE && lastWriteTime(path) == time;
}

PreferencesFile PreferencesFile::quiet() {
    PreferencesFile quiet;
    quiet.showStartupScreen = 0;
    quiet.tickingEnabled = 0;
    quiet.alarmEnabled = 0;
    return quiet;
}

std::string PreferencesFile::text(const std::string& lineEnd) const {
    std::string out;
    for (const long long number :
         {static_cast<long long>(showStartupScreen), static_cast<long long>(logEnabled),
          static_cast<long long>(tickingEnabled), static_cast<long long>(alarmEnabled),
          static_cast<long long>(buttonsLeft), static_cast<long long>(buttonsTop),
          static_cast<long long>(displayTop), static_cast<long long>(timerHours),
          static_cast<long long>(timerMinutes), static_cast<long long>(timerSeconds),
          static_cast<long long>(static_cast<std::int32_t>(textColor)),
          static_cast<long long>(static_cast<std::int32_t>(backgroundColor)),
          static_cast<long long>(fontHeight), static_cast<long long>(fontWeight),
          static_cast<long long>(fontItalic)}) {
        out += std::to_string(number) + lineEnd;
    }
    out += fontFace + lineEnd;
    out += alarmSoundPath + lineEnd;
    out += tickSoundPath + lineEnd;
    return out;
}

const char* const kDefaultPreferencesText =
    "1\n1\n1\n1\n510\n10\n100\n0\n3\n0\n0\n16777215\n320\n700\n0\n"
    "Arial\nNo file selected\nNo file selected\n";

void writePreferences(const PreferencesFile& preferences) {
    writePreferencesText(preferences.text());
}

void writePreferencesText(const std::string& text) {
    CreateDirectoryA(dataFolder().c_str(), nullptr);
    writeFileBytes(preferencesPath(), text);
}

std::optional<std::string> readPreferencesText() { return readFileBytes(preferencesPath()); }

std::string lineOf(const std::string& text, int number) {
    std::size_t begin = 0;
    for (int line = 1; line < number; ++line) {
        const std::size_t feed = text.find('\n', begin);
        if (feed == std::string::npos) return std::string();
        begin = feed + 1;
    }
    const std::size_t end = text.find('\n', begin);
    return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::vector<LogLine> readLog() {
    std::vector<LogLine> lines;
    const std::optional<std::string> bytes = readFileBytes(logPath());
    if (!bytes) return lines;
    std::size_t begin = 0;
    while (begin < bytes->size()) {
        std::size_t end = bytes->find('\n', begin);
        if (end == std::string::npos) end = bytes->size();
        const std::string line = bytes->substr(begin, end - begin);
        constexpr std::size_t kTimestampLength = 19;
        if (line.size() < kTimestampLength) {
            lines.push_back({line, std::string()});
        } else {
            lines.push_back({line.substr(0, kTimestampLength), line.substr(kTimestampLength)});
        }
        begin = end + 1;
    }
    return lines;
}

std::vector<std::string> logMessages() {
    std::vector<std::string> messages;
    for (const LogLine& line : readLog()) messages.push_back(line.message);
    return messages;
}

bool isTimestamp(const std::string& text) {
    static constexpr char kPattern[] = "dddd-dd-dd dd:dd:dd";
    if (text.size() != sizeof kPattern - 1) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool wantDigit = kPattern[i] == 'd';
        const bool isDigit = text[i] >= '0' && text[i] <= '9';
        if (wantDigit ? !isDigit : text[i] != kPattern[i]) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Windows of another process.

std::string className(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowTitle(HWND window) {
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

std::string controlText(HWND control) {
    char text[512] = {};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_NORMAL, kAnswerTimeoutMs, &result)) {
        return std::string();
    }
    text[sizeof text - 1] = '\0';
    return text;
}

void setControlText(HWND control, const std::string& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_NORMAL, kAnswerTimeoutMs, &result);
}

RECT rectIn(HWND parent, HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<std::string> staticTexts(HWND dialog) {
    std::vector<HWND> children;
    EnumChildWindows(dialog, collectWindow, reinterpret_cast<LPARAM>(&children));
    std::vector<std::string> texts;
    for (HWND child : children) {
        if (!sameText(className(child), "Static")) continue;
        std::string text = controlText(child);
        if (!text.empty()) texts.push_back(std::move(text));
    }
    return texts;
}

std::vector<HWND> visibleWindowsOf(DWORD processId, const char* windowClass) {
    std::vector<HWND> found;
    for (HWND window : topLevelWindowsOf(processId)) {
        if (!IsWindowVisible(window)) continue;
        if (windowClass != nullptr && !sameText(className(window), windowClass)) continue;
        found.push_back(window);
    }
    return found;
}

LRESULT askWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs,
                             &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

std::vector<std::string> listBoxItems(HWND list) {
    std::vector<std::string> items;
    const LRESULT count = askWindow(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_NORMAL,
                                 kAnswerTimeoutMs, &length) ||
            static_cast<LRESULT>(length) == LB_ERR) {
            break;
        }
        std::wstring wide(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                 reinterpret_cast<LPARAM>(wide.data()), SMTO_NORMAL,
                                 kAnswerTimeoutMs, &copied) ||
            static_cast<LRESULT>(copied) == LB_ERR) {
            break;
        }
        wide.resize(copied < length ? copied : length);
        std::string item;
        if (!wide.empty()) {
            const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                                  nullptr, 0, nullptr, nullptr);
            item.resize(static_cast<std::size_t>(bytes));
            WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), item.data(),
                                bytes, nullptr, nullptr);
        }
        items.push_back(std::move(item));
    }
    return items;
}

COLORREF screenPixel(POINT point) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return CLR_INVALID;
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

HWND focusedWindowOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::vector<DWORD> childProcessesOf(DWORD parentId, const char* exeName) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return children;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID != parentId || entry.th32ProcessID == parentId) continue;
        if (exeName != nullptr && !sameText(entry.szExeFile, exeName)) continue;
        children.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return children;
}

bool endProcess(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) return true;  // already gone
    TerminateProcess(process, 1);
    const bool gone = WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return gone;
}

void pressDialogButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void postClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

bool waitForPostedMessages(HWND control, Milliseconds timeout) {
    // Messages posted to one thread are taken in order, so once the posted
    // change shows, everything posted before it has been handled.
    if (sameText(className(control), "Button")) {
        PostMessageA(control, BM_SETSTATE, TRUE, 0);
        const bool handled = waitUntil(
            [&] {
                const LRESULT state = askWindow(control, BM_GETSTATE);
                return state != -1 && (state & BST_PUSHED) != 0;
            },
            timeout);
        askWindow(control, BM_SETSTATE, FALSE);
        return handled;
    }
    static UINT marker = 0x40000000;
    const UINT limit = ++marker;
    PostMessageA(control, EM_SETLIMITTEXT, limit, 0);
    return waitUntil(
        [&] { return askWindow(control, EM_GETLIMITTEXT) == static_cast<LRESULT>(limit); },
        timeout);
}

namespace {

// Runs a fresh copy of this test program with --screen-saver=`action` and
// returns what it reports.
bool screenSaverFromFreshProcess(const char* action) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\" --screen-saver=" + action;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return false;
    }
    WaitForSingleObject(info.hProcess, 10000);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code == 1;
}

}  // namespace

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

bool screenSaverActive() { return screenSaverFromFreshProcess("get"); }

bool setScreenSaverActive(bool active) {
    return screenSaverFromFreshProcess(active ? "on" : "off") == active;
}

// ---------------------------------------------------------------------------
// The program under test.

Program::~Program() { close(); }

bool Program::launch() { return launch(programPath()); }

bool Program::launch(const std::string& executable) {
    if (process_ != nullptr) return false;
    std::string commandLine = "\"" + executable + "\"";
    const std::string folder = workingFolder();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, folder.c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return true;
}

bool Program::start(Milliseconds timeout) { return launch() && waitForMainWindow(timeout); }

bool Program::waitForMainWindow(Milliseconds timeout) {
    const bool shown = waitUntil(
        [&] {
            const std::vector<HWND> windows = visibleWindowsOf(processId_, "Vantorel");
            if (windows.empty()) return false;
            main_ = windows.front();
            return true;
        },
        timeout);
    if (shown) findControls();
    return shown;
}

void Program::findControls() {
    display_ = FindWindowExA(main_, nullptr, "Edit", nullptr);
}

bool Program::running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Program::waitForExit(Milliseconds timeout) {
    return process_ != nullptr &&
           WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD Program::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_ != nullptr) GetExitCodeProcess(process_, &code);
    return code;
}

void Program::close(Milliseconds grace) {
    if (process_ == nullptr) return;
    if (suspendedThread_ != nullptr) resumeUiThread();
    if (running()) {
        if (main_ != nullptr && IsWindow(main_)) {
            PostMessageA(main_, WM_CLOSE, 0, 0);
        } else {
            // Not shown yet (or never): close whatever the process has open.
            for (HWND window : topLevelWindowsOf(processId_)) PostMessageA(window, WM_CLOSE, 0, 0);
        }
        if (!waitForExit(grace)) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
    }
    CloseHandle(process_);
    process_ = nullptr;
    processId_ = 0;
    main_ = nullptr;
    display_ = nullptr;
}

HWND Program::button(Button which) const { return GetDlgItem(main_, buttonId(which)); }

DWORD Program::uiThreadId() const { return GetWindowThreadProcessId(main_, nullptr); }

std::string Program::title() const { return windowTitle(main_); }

std::string Program::displayText() const { return controlText(display_); }

bool Program::isEnabled(Button which) const { return IsWindowEnabled(button(which)) != FALSE; }

std::string Program::enabledButtons() const {
    std::string names;
    const std::pair<Button, const char*> buttons[] = {
        {Button::Start, "Start"}, {Button::Stop, "Stop"}, {Button::Reset, "Reset"}};
    for (const auto& [which, name] : buttons) {
        if (!isEnabled(which)) continue;
        if (!names.empty()) names += ' ';
        names += name;
    }
    return names;
}

bool Program::click(Button which) {
    if (!isEnabled(which)) return false;
    const int id = buttonId(which);
    return PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button(which))) != FALSE;
}

void Program::command(int id) { PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void Program::pressKey(UINT virtualKey) {
    PostMessageA(main_, WM_KEYDOWN, virtualKey, keyData(virtualKey, false));
    PostMessageA(main_, WM_KEYUP, virtualKey, keyData(virtualKey, true));
}

bool Program::bringToFront() {
    SetForegroundWindow(main_);
    return waitUntil([&] { return GetForegroundWindow() == main_; }, 2s);
}

bool Program::pressAltKey(UINT virtualKey) {
    // The accelerator table asks the keyboard state whether Alt is down, so
    // this one goes in as real keyboard input to the foreground window.
    if (!bringToFront()) return false;
    INPUT keys[4] = {};
    const WORD sequence[4][2] = {
        {VK_MENU, 0}, {static_cast<WORD>(virtualKey), 0},
        {static_cast<WORD>(virtualKey), KEYEVENTF_KEYUP}, {VK_MENU, KEYEVENTF_KEYUP}};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i][0];
        keys[i].ki.wScan = static_cast<WORD>(MapVirtualKeyA(sequence[i][0], MAPVK_VK_TO_VSC));
        keys[i].ki.dwFlags = sequence[i][1];
    }
    return SendInput(4, keys, sizeof(INPUT)) == 4;
}

std::vector<HWND> Program::dialogs() const { return visibleWindowsOf(processId_, "#32770"); }

HWND Program::waitForDialog(const std::string& caption, Milliseconds timeout) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
            for (HWND dialog : dialogs()) {
                if (windowTitle(dialog) == caption) {
                    found = dialog;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

bool Program::suspendUiThread() {
    if (suspendedThread_ != nullptr) return false;
    suspendedThread_ = OpenThread(THREAD_SUSPEND_RESUME, FALSE, uiThreadId());
    if (suspendedThread_ == nullptr) return false;
    if (SuspendThread(suspendedThread_) == static_cast<DWORD>(-1)) {
        CloseHandle(suspendedThread_);
        suspendedThread_ = nullptr;
        return false;
    }
    return true;
}

bool Program::resumeUiThread() {
    if (suspendedThread_ == nullptr) return false;
    const bool resumed = ResumeThread(suspendedThread_) != static_cast<DWORD>(-1);
    CloseHandle(suspendedThread_);
    suspendedThread_ = nullptr;
    return resumed;
}

}  // namespace e2e
