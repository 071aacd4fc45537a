// A control's font as the skin's painters hand it to GDI+: the one reader.
#pragma once

#include <windows.h>

#include <string>

#include "skin/gdiplus_owners.h"

namespace skin {

// A control's font as GDI+ names it: family, size in world units (pixels)
// and style bits. The family is empty when GDI+ cannot use the font (a
// raster font such as the system font of a control never given one).
struct ControlFont {
    std::wstring family;
    float size = 0;
    int style = 0;
};
// The control's font (WM_GETFONT); where it has none, `whenNone`, or with
// nullptr the font its DC starts with.
ControlFont readControlFont(HWND control, HFONT whenNone = nullptr);
// The default GUI font: what headers and picture buttons take without one.
HFONT defaultGuiFont();
// A GDI+ font of the description in `unit` (Tahoma and 12 for what is
// missing); empty when none can be made.
Font makeFont(const ControlFont& font, Gdiplus::Unit unit);

}  // namespace skin
