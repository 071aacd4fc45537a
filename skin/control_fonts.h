// A control's font as the painters of the common controls hand it to GDI+.
#pragma once

#include <windows.h>

#include <string>

#include "skin/gdiplus_owners.h"

namespace skin {

// A control's font (WM_GETFONT, or the default GUI font) as GDI+ names it:
// family, size in world units (pixels) and style bits.
struct FontDescription {
    std::wstring family;
    float size = 0;
    int style = 0;
};
FontDescription describeFont(HWND control);
// A GDI+ font of the description in `unit`; empty when none can be made.
Font makeFont(const FontDescription& font, Gdiplus::Unit unit);

}  // namespace skin
