#include "skin/control_borders.h"

#include <algorithm>

#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

bool hasAllBits(LONG value, LONG bits) { return (value & bits) == bits; }

}  // namespace

bool hasBorder(HWND control) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const LONG ex = GetWindowLongW(control, GWL_EXSTYLE);
    return (style & WS_BORDER) || hasAllBits(ex, WS_EX_WINDOWEDGE) || hasAllBits(ex, WS_EX_OVERLAPPEDWINDOW) ||
           hasAllBits(ex, WS_EX_CLIENTEDGE) || hasAllBits(ex, WS_EX_DLGMODALFRAME) ||
           hasAllBits(ex, WS_EX_PALETTEWINDOW);
}

bool hasScrollBars(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0; }

namespace {

// The visible scroll bar `id` (OBJID_VSCROLL / OBJID_HSCROLL) in screen
// coordinates, or an empty rectangle.
RECT scrollBarRect(HWND control, LONG id) {
    SCROLLBARINFO info{sizeof(info)};
    if (!GetScrollBarInfo(control, id, &info)) return {};
    if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return {};
    return info.rcScrollBar;
}

}  // namespace

RECT innerArea(HWND control) {
    RECT window, client;
    GetWindowRect(control, &window);
    GetClientRect(control, &client);
    POINT origin{0, 0};
    ClientToScreen(control, &origin);
    RECT area{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    for (const LONG id : {OBJID_VSCROLL, OBJID_HSCROLL}) {
        if (!(style & (id == OBJID_VSCROLL ? WS_VSCROLL : WS_HSCROLL))) continue;
        const RECT bar = scrollBarRect(control, id);
        if (!IsRectEmpty(&bar)) UnionRect(&area, &area, &bar);
    }
    OffsetRect(&area, -window.left, -window.top);
    return area;
}

GdiObject scrollBarRegion(HWND control) {
    GdiObject region;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const RECT vertical = (style & WS_VSCROLL) ? scrollBarRect(control, OBJID_VSCROLL) : RECT{};
    const RECT horizontal = (style & WS_HSCROLL) ? scrollBarRect(control, OBJID_HSCROLL) : RECT{};
    // With both bars the square between them is the system's as well.
    RECT corner{};
    if (!IsRectEmpty(&vertical) && !IsRectEmpty(&horizontal)) {
        corner = {vertical.left, horizontal.top, vertical.right, horizontal.bottom};
    }
    for (const RECT& bar : {vertical, horizontal, corner}) {
        if (IsRectEmpty(&bar)) continue;
        GdiObject piece(CreateRectRgnIndirect(&bar));
        if (!region) {
            region = std::move(piece);
        } else if (piece) {
            CombineRgn(static_cast<HRGN>(region.get()), static_cast<HRGN>(region.get()), static_cast<HRGN>(piece.get()),
                       RGN_OR);
        }
    }
    return region;
}

LRESULT paintScrollBarsOnly(HWND control, LPARAM lParam) {
    GdiObject bars = scrollBarRegion(control);
    if (!bars) return 0;
    return DefWindowProcW(control, WM_NCPAINT, reinterpret_cast<WPARAM>(bars.get()), lParam);
}

void paintVeiledBackground(HWND control, HDC dc) {
    const RECT area = VeiledArea(control);
    const VeiledPicture veiled(control, area);
    if (veiled.dc()) BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, veiled.dc(), 0, 0, SRCCOPY);
}

namespace {
HWND g_listPaintedOverVeil = nullptr;
}  // namespace

HWND listPaintedOverVeil() { return g_listPaintedOverVeil; }

void setListPaintedOverVeil(HWND list) { g_listPaintedOverVeil = list; }

namespace {

// Areas above which the strips are cheaper than whole-rectangle drawing.
constexpr int kStripArea = 16384;

void fillFrame(Gdiplus::GpGraphics* g, Gdiplus::GpBrush* brush, int w, int h, int thickness) {
    const int t = std::min({thickness, w, h});
    gp::GdipFillRectangleI(g, brush, 0, 0, w, t);
    if (h > t) gp::GdipFillRectangleI(g, brush, 0, h - t, w, t);
    if (h > 2 * t) {
        gp::GdipFillRectangleI(g, brush, 0, t, t, h - 2 * t);
        if (w > t) gp::GdipFillRectangleI(g, brush, w - t, t, t, h - 2 * t);
    }
}

void fillRing(Gdiplus::GpGraphics* g, Gdiplus::GpBrush* brush, int w, int h, const RECT& inner) {
    const int top = std::clamp<int>(inner.top, 0, h), bottom = std::clamp<int>(inner.bottom, top, h);
    const int left = std::clamp<int>(inner.left, 0, w), right = std::clamp<int>(inner.right, left, w);
    if (top > 0) gp::GdipFillRectangleI(g, brush, 0, 0, w, top);
    if (bottom < h) gp::GdipFillRectangleI(g, brush, 0, bottom, w, h - bottom);
    if (left > 0) gp::GdipFillRectangleI(g, brush, 0, top, left, bottom - top);
    if (right < w) gp::GdipFillRectangleI(g, brush, right, top, w - right, bottom - top);
}

}  // namespace

void paintBorderRing(Gdiplus::GpGraphics* g, int w, int h, const RECT& inner, std::uint32_t ringColour,
                     std::uint32_t lineColour, int thickness) {
    if (w <= 0 || h <= 0) return;
    Brush ring = solidBrush(ringColour);
    if (w * h > kStripArea) {
        fillRing(g, ring.get(), w, h, inner);
        Brush line = solidBrush(lineColour);
        fillFrame(g, line.get(), w, h, thickness);
        return;
    }
    gp::GdipSetClipRectI(g, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top,
                         Gdiplus::CombineModeExclude);
    gp::GdipFillRectangleI(g, ring.get(), 0, 0, w, h);
    gp::GdipResetClip(g);
    // A pen of the thickness along the rectangle half a thickness inside
    // covers the same pixels as the strips.
    Pen line = solidPen(lineColour, static_cast<float>(thickness));
    if (thickness == 2) {
        gp::GdipDrawRectangleI(g, line.get(), 1, 1, w - 2, h - 2);
    } else {
        gp::GdipDrawRectangleI(g, line.get(), 0, 0, w - 1, h - 1);
    }
}

void paintControlBorder(HWND control, std::uint32_t line, bool hot) {
    RECT window;
    GetWindowRect(control, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w <= 0 || h <= 0) return;
    const RECT inner = innerArea(control);
    // No ring between the edge and the text area (the edit part of a combo
    // box): nothing to draw.
    if (inner.left <= 0 && inner.top <= 0 && inner.right >= w && inner.bottom >= h) return;
    const std::uint32_t ring = argb(0x00FFFFFF, veilEnabled() ? veilAlpha() : 255);
    const int thickness = hot ? 2 : 1;
    const BackdropPicture picture(control, KeptPicture::Border, {0, 0, w, h},
                                  variantOf({line, ring, thickness, inner.left, inner.top, inner.right, inner.bottom}),
                                  [&](HDC made) {
                                      Graphics g = graphicsOn(made);
                                      paintBorderRing(g.get(), w, h, inner, ring, line, thickness);
                                  });
    if (!picture.dc()) return;
    WholeWindowDC dc(control);
    if (!dc.get()) return;
    ExcludeClipRect(dc.get(), inner.left, inner.top, inner.right, inner.bottom);
    BitBlt(dc.get(), 0, 0, w, h, picture.dc(), 0, 0, SRCCOPY);
}

}  // namespace skin
