// The delivery run's platform on Win32: the game lookup, activation,
// synthesised keys, character messages and titles, and waits that keep the
// program's window responsive.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "bridge/delivery.h"

namespace bridge {

// Waits `milliseconds` (nothing at 0 or less) while dispatching the
// thread's pending messages, until the tick count has passed the start by
// more than the delay. Returns false as soon as the program is quitting; the
// quit message is left for the main loop.
bool pumpingDelay(int milliseconds);

// Shares the target thread's input state for a moment to activate the
// target, then asks for it to become the foreground window; the result of
// SetForegroundWindow.
bool forceForeground(HWND target);

// The text as code page 936 (GBK) bytes; each character that code page
// cannot represent becomes one "?".
std::string toCodePage936(std::string_view utf8);

// An information box: caption "信息：", OK, no owner, modal to the thread.
void showInformation(std::string_view utf8);

class Win32GamePlatform : public GamePlatform {
public:
    GameLookup findGame() override;
    bool isWindow(WindowId window) override;
    bool isMinimised(WindowId window) override;
    void setTitle(WindowId window, std::string_view utf8) override;
    void activate(WindowId window) override;
    void forceForeground(WindowId window) override;
    bool isForeground(WindowId window) override;
    void synthesiseKey(unsigned virtualKey) override;
    std::string encodeLine(std::string_view utf8) override;
    bool postChar(WindowId window, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool wait(int milliseconds) override;
    void showMessage(std::string_view utf8) override;
};

}  // namespace bridge
