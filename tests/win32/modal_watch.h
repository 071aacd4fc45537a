// Acts on a window that a modal loop of the test thread opens (a message
// box, a popup menu): a helper thread waits for the window to become visible,
// then runs `act` on it, typically reading it and closing it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

class ModalWatch {
public:
    // Watches for a visible top-level window of `windowClass` belonging to
    // this process ("#32770" message boxes, "#32768" popup menus).
    ModalWatch(const wchar_t* windowClass, std::function<void(HWND)> act);
    ~ModalWatch();
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    // Waits for the helper; true when the window appeared and `act` ran.
    bool finish();

private:
    bool acted_ = false;  // before helper_: set by it, read once it has ended
    std::thread helper_;
};

// What a message box showed.
struct MessageBoxSeen {
    std::string caption;
    std::vector<std::string> texts;  // its static texts, in child order
    bool hasIcon = false;
};

// Reads the message box.
MessageBoxSeen readTexts(HWND box);
// Reads the message box, then presses its OK button.
MessageBoxSeen readAndConfirm(HWND box);
