// What the framed control kinds (edit boxes, combo boxes, list boxes and
// the other framed controls) share: border geometry and painting, the
// scroll-bar region, the veiled background and the engine's settings they read.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/gdiplus_owners.h"
#include "skin/window_registry.h"

namespace skin {

// True when the control draws a border: WS_BORDER, or an extended style
// holding all bits of one of the edge styles.
bool hasBorder(HWND control);
bool hasScrollBars(HWND control);

// The area inside the border, in window coordinates: the client area and
// the visible scroll bars.
RECT innerArea(HWND control);
// The visible scroll bars of the control, in screen coordinates (as the
// region of WM_NCPAINT is); empty when it has none.
GdiObject scrollBarRegion(HWND control);
// Lets the system draw only the scroll bars of the control's non-client area.
LRESULT paintScrollBarsOnly(HWND control, LPARAM lParam);

// The captured background of the control's client area under the white
// veil, copied into `dc` at (0, 0).
void paintVeiledBackground(HWND control, HDC dc);

// The list being painted onto a colour-keyed picture right now (or null):
// its colour answer gives it the key as background colour, so that what it
// fills opaquely is keyed out over the veiled background.
HWND listPaintedOverVeil();
void setListPaintedOverVeil(HWND list);
inline constexpr COLORREF kColourKey = RGB(255, 0, 255);

// The border ring of a control's picture: everything of (0, 0, w, h)
// outside `inner` in `ringColour`, then a frame line of `thickness` pixels
// just inside the edge in `lineColour` (ARGB both). A large control gets
// small strip fills (the cost of a GDI+ fill follows its bounding box), a
// small one a clipped fill and a stroke (fewer calls).
void paintBorderRing(Gdiplus::GpGraphics* g, int w, int h, const RECT& inner, std::uint32_t ringColour,
                     std::uint32_t lineColour, int thickness);

// The border ring of a framed control (everything of its window outside
// the text area and scroll bars), veiled white with a frame line in `line`
// (ARGB), two pixels wide while `hot`, painted on the whole-window DC.
void paintControlBorder(HWND control, std::uint32_t line, bool hot);

}  // namespace skin
