// The few helpers the program's small windows share (progress, result view,
// servers dialog): the interface font and child controls placed by hand.
#pragma once

#include <windows.h>

#include <string_view>

namespace ui {

// 微软雅黑 at 12 px, created once for the process.
HFONT interfaceFont();

// A child control with the interface font and the given id.
HWND addControl(HWND parent, const wchar_t* windowClass, std::string_view text, DWORD style, RECT bounds, int id,
                DWORD exStyle = 0);

// Opens a combo box's list as wide as its longest item (never narrower
// than the box), so that no item is cut.
void fitDroppedWidth(HWND combo);

// Registers a window class once (cursor, dialog-coloured ground); false on failure.
bool registerWindowClass(const wchar_t* name, WNDPROC proc);

}  // namespace ui
