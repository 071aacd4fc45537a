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
// than the box), so that no item is cut. Measured when first needed: when
// the list is about to drop (its CBN_DROPDOWN, handed to
// fitDroppedWidthBeforeDrop) or its width is asked for (CB_GETDROPPEDWIDTH),
// as measuring every item's text at start costs tens of milliseconds.
void fitDroppedWidthWhenNeeded(HWND combo);
// CBN_DROPDOWN from such a combo box: its list measured now if it was not.
void fitDroppedWidthBeforeDrop(HWND combo);

// Registers a window class once (cursor, dialog-coloured ground); false on failure.
bool registerWindowClass(const wchar_t* name, WNDPROC proc);

}  // namespace ui
