// A real main window for each test, driven by messages as a user would
// drive it, and read back through its controls.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/editor_window.h"

// Processes pending messages for `milliseconds` (at least once).
void pumpMessages(DWORD milliseconds = 0);

class EditorWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND control(std::string_view name) const;
    std::string text(std::string_view name) const;
    std::string output() const;
    std::vector<std::string> outputLines() const;

    // Types each character as WM_KEYDOWN/WM_CHAR/WM_KEYUP would deliver it.
    void type(std::string_view name, std::string_view utf8);
    void typeChar(HWND target, wchar_t ch);
    // A whole-text write, as a paste over everything would make it.
    void setText(std::string_view name, std::string_view utf8);
    // A click with the mouse: press and release inside the control.
    void click(std::string_view name);
    void pressKey(HWND target, UINT virtualKey);
    // A key as the keyboard delivers it: through the message loop, where
    // the program's own keys (menu keys, Tab, a window's Esc and Enter) are read.
    void postKey(HWND target, UINT virtualKey);
    // Moves the keyboard focus away from a control (to the output box).
    void leave(std::string_view name);
    bool isChecked(std::string_view name) const;

    ui::EditorWindow::Options options_{.show = true, .quitOnClose = false};  // set before SetUp to change
    std::unique_ptr<ui::EditorWindow> window_;
};
