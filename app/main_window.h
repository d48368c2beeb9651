// The main window: three buttons over a full-width display, hosting the
// countdown clock.
#pragma once

#include <windows.h>

#include "app/win32_platform.h"
#include "core/countdown_clock.h"

namespace vantorel {

inline constexpr const char* kWindowClass = "Vantorel";

class MainWindow final : public ClockHost {
public:
    MainWindow();

    // The window's contents, built during WM_CREATE, and the clock in Ready.
    void create(HWND window);
    // The main window: null until WM_CREATE and again after WM_DESTROY, and
    // the one handle every part uses.
    HWND handle() const { return window_; }
    // Stops the ticker and releases the brushes and the font.
    void destroy();

    // Moves the buttons and the display to the positions in the settings.
    void applyLayout();
    // Installs a new class background brush of `colour` and redraws; nothing
    // once the window is gone, as for rebuildFont.
    void applyBackground(COLORREF colour);
    // Recreates the display font from the four font settings.
    void rebuildFont();
    // The display's colours; returns the brush for its background.
    HBRUSH displayColours(HDC dc);

    CountdownClock& clock() { return clock_; }

    // ClockHost
    void startTicker(std::uint32_t delayMs) override;
    void stopTicker() override;
    void setButtons(bool start, bool stop, bool reset) override;
    void showText(const std::string& text) override;
    void playTick() override;
    void playAlarm() override;
    void restoreWindow() override;
    void appendLog(const char* message, const std::string& suffix) override;
    std::int32_t logEnabled() override;
    std::int32_t tickingEnabled() override;
    std::int32_t alarmEnabled() override;

private:
    HWND window_ = nullptr;
    HWND start_ = nullptr, stop_ = nullptr, reset_ = nullptr, display_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH backgroundBrush_ = nullptr;
    HBRUSH displayBrush_ = nullptr;
    UINT_PTR ticker_ = 0;
    int alarmSound_ = 0, tickSound_ = 0;
    char displayText_[80] = {};
    PerformanceCounterTime time_;
    CountdownClock clock_;
};

MainWindow& mainWindow();

}  // namespace vantorel
