#include "app/main_window.h"

#include <cstring>
#include <utility>

#include "app/app_state.h"
#include "app/layout.h"
#include "app/sound.h"
#include "resource.h"

namespace vantorel {
namespace {

constexpr UINT_PTR kTickerId = 3;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kDisplayStyle = WS_CHILD | WS_VISIBLE | ES_READONLY | ES_CENTER;

MainWindow gMainWindow;

// A control of the main window; applyLayout gives it its place.
HWND createControl(HWND parent, const char* windowClass, const char* text, DWORD style, int id) {
    return CreateWindowExA(0, windowClass, text, style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app().module,
                           nullptr);
}

HFONT createDisplayFont() {
    const Preferences& p = prefs();
    return CreateFontA(p.fontHeight, 0, 0, 0, p.fontWeight, static_cast<DWORD>(p.fontItalic), FALSE,
                       FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, p.fontFace);
}

}  // namespace

MainWindow& mainWindow() { return gMainWindow; }

MainWindow::MainWindow() : clock_(*this, time_) {}

void MainWindow::create(HWND window) {
    window_ = window;
    const Preferences& p = prefs();
    clock_.setLimit(p.timerHours, p.timerMinutes, p.timerSeconds);
    SetWindowTextA(
        window, CountdownClock::formatTitle(p.timerHours, p.timerMinutes, p.timerSeconds).c_str());
    alarmSound_ = IDR_ALARM_WAVE;
    tickSound_ = IDR_TICK_WAVE;

    start_ = createControl(window, "button", "Start", kButtonStyle, IDC_START);
    stop_ = createControl(window, "button", "Stop", kButtonStyle, IDC_STOP);
    reset_ = createControl(window, "button", "Reset", kButtonStyle, IDC_RESET);
    display_ = createControl(window, "edit", "", kDisplayStyle, -1);
    applyLayout();
    font_ = createDisplayFont();
    SendMessageA(display_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    EnableWindow(start_, TRUE);
    EnableWindow(stop_, FALSE);
    EnableWindow(reset_, FALSE);
    clock_.restart();
    applyBackground(p.backgroundColor);
    InvalidateRect(window, nullptr, TRUE);
}

void MainWindow::destroy() {
    KillTimer(window_, ticker_);
    if (backgroundBrush_) {
        // Hand the class its system colour back before the brush goes.
        SetClassLongPtrA(window_, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(COLOR_BTNFACE + 1));
        DeleteObject(backgroundBrush_);
    }
    if (displayBrush_) DeleteObject(displayBrush_);
    if (font_) DeleteObject(font_);
    backgroundBrush_ = nullptr;
    displayBrush_ = nullptr;
    font_ = nullptr;
    // A font or colour dialog still open returns to a window that is gone.
    window_ = nullptr;
}

void MainWindow::applyLayout() {
    const Preferences& p = prefs();
    const ButtonRow x = buttonRow(p.buttonsLeft);
    MoveWindow(start_, x.start, p.buttonsTop, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(stop_, x.stop, p.buttonsTop, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(reset_, x.reset, p.buttonsTop, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(display_, 0, p.displayTop, app().workArea.right, app().workArea.bottom, TRUE);
}

void MainWindow::applyBackground(COLORREF colour) {
    if (window_ == nullptr) return;
    HBRUSH brush = CreateSolidBrush(colour);
    SetClassLongPtrA(window_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
    // Only brushes made here are released, never the class's system colour.
    if (backgroundBrush_) DeleteObject(backgroundBrush_);
    backgroundBrush_ = brush;
    RedrawWindow(window_, nullptr, nullptr, 0);
}

void MainWindow::rebuildFont() {
    if (window_ == nullptr) return;
    // The display lets go of the old font before it is deleted.
    HFONT old = std::exchange(font_, createDisplayFont());
    SendMessageA(display_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (old) DeleteObject(old);
}

HBRUSH MainWindow::displayColours(HDC dc) {
    SetBkColor(dc, prefs().backgroundColor);
    SetTextColor(dc, prefs().textColor);
    if (displayBrush_) DeleteObject(displayBrush_);
    displayBrush_ = CreateSolidBrush(prefs().backgroundColor);
    return displayBrush_;
}

void MainWindow::startTicker(std::uint32_t delayMs) {
    // Arming the same id again replaces the earlier arming.
    ticker_ = SetTimer(window_, kTickerId, delayMs, nullptr);
}

void MainWindow::stopTicker() { KillTimer(window_, ticker_); }

void MainWindow::setButtons(bool start, bool stop, bool reset) {
    EnableWindow(stop_, stop);
    EnableWindow(start_, start);
    EnableWindow(reset_, reset);
}

void MainWindow::showText(const std::string& text) {
    const std::size_t n = text.size() < sizeof displayText_ ? text.size() : sizeof displayText_ - 1;
    std::memcpy(displayText_, text.data(), n);
    displayText_[n] = '\0';
    SetWindowTextA(display_, displayText_);
}

void MainWindow::playTick() { playSound(tickSound_, prefs().tickSoundPath); }
void MainWindow::playAlarm() { playSound(alarmSound_, prefs().alarmSoundPath); }
void MainWindow::restoreWindow() { ShowWindow(window_, SW_RESTORE); }

void MainWindow::appendLog(const char* message, const std::string& suffix) {
    programLog().appendLog(message, suffix);
}

std::int32_t MainWindow::logEnabled() { return prefs().logEnabled; }
std::int32_t MainWindow::tickingEnabled() { return prefs().tickingEnabled; }
std::int32_t MainWindow::alarmEnabled() { return prefs().alarmEnabled; }

}  // namespace vantorel
