// The program's windows beside the main window (the servers dialog, the
// progress window, the result view): owned by the main window, opened
// centred over it and on its screen, drawn in the skin as the main window
// is, with the keyboard of a dialog: Tab and Shift+Tab between controls,
// Enter for the focused or the default button, Esc for 取消/关闭 (IDCANCEL),
// Ctrl+A in every edit box.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace ui {

struct ToolWindowSpec {
    const wchar_t* className = nullptr;  // registered with registerWindowClass
    std::string_view title;              // UTF-8
    int contentWidth = 0;                // the area for controls, from contentOrigin()
    int contentHeight = 0;
    bool resizable = false;
    int defaultButton = IDOK;  // what Enter presses outside a push button; 0 for none
};

// The window, not yet shown. Place its controls from contentOrigin().
HWND createToolWindow(HWND owner, const ToolWindowSpec& spec);

// The top left corner of the area for controls: below the skin's caption.
POINT contentOrigin();
// The area for controls of a window of this kind as it is now (after a resize).
RECT contentRect(HWND window);

// Hands the window and its controls to the skin, shows it and gives the
// keyboard to `focus`.
void showToolWindow(HWND window, HWND focus);

// The keys above for a tool window's message; true when it was handled.
bool translateToolWindowKeys(const MSG& msg);

// True for a window made by createToolWindow.
bool isToolWindow(HWND window);

}  // namespace ui
