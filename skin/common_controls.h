// What the painters of the common controls share: finding a control's
// entry from its properties, the owner of a control, its font as GDI+ sees
// it, an owned icon and the paint counters that tests read.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/gdiplus_owners.h"
#include "skin/skin_engine.h"
#include "skin/window_registry.h"

namespace skin {

// Paints done by each painter since start (for tests and benchmarks).
struct PaintCounts {
    long trackBar = 0;
    long progress = 0;
    long upDown = 0;
    long header = 0;
    long other = 0;
    long pictureButton = 0;
};
PaintCounts& paintCounts();

// Index of the nearest skinned top-level window among `control`'s
// ancestors (the control itself excluded), 0 when there is none.
int skinnedOwnerOf(SkinEngine& engine, HWND control);

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
