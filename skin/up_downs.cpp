// Up-down controls: two rounded half-buttons on a translucent white ground,
// each with its arrow glyph, lit in the theme colour under the mouse. The
// control keeps its own behaviour; the skin replaces its painting only.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <map>
#include <vector>

#include "res/resource_ids.h"
#include "skin/control_borders.h"
#include "skin/control_fonts.h"
#include "skin/control_geometry.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/painting_kit.h"
#include "skin/picture_pixels.h"
#include "skin/skin_engine.h"
#include "skin/up_downs.h"

namespace skin {

namespace {

constexpr int kHotUpDown = 8;

int glyphResource(bool horizontal, int half) {
    if (horizontal) return half == 0 ? IDR_UPDOWN_LEFT_PNG : IDR_UPDOWN_RIGHT_PNG;
    return half == 0 ? IDR_UPDOWN_UP_PNG : IDR_UPDOWN_DOWN_PNG;
}

// A glyph's pixels, decoded once from its embedded picture; each paint
// wraps them in a GDI+ bitmap without copying.
const PicturePixels& glyphPixels(int resource) {
    static std::map<int, PicturePixels> cache;
    auto found = cache.find(resource);
    if (found == cache.end()) {
        const std::vector<BYTE> bytes = resourceBytes(resource);
        found = cache.emplace(resource, decodePicturePixels(bytes).value_or(PicturePixels{})).first;
    }
    return found->second;
}

struct HalfLook {
    std::uint32_t outline, from, to;
};

HalfLook lookOf(bool isHot, bool pressed, bool firstOfVertical, COLORREF theme) {
    if (isHot) {
        if (pressed) return {argb(theme, 200), argb(theme, 100), argb(0x00FFFFFF, 150)};
        return {argb(theme, 200), argb(0x00FFFFFF, 100), argb(theme, 150)};
    }
    return {argb(0, 100), argb(0x00FFFFFF, firstOfVertical ? 60 : 20), argb(theme, 100)};
}

// The gradient of a half runs along the control's axis.
Brush halfGradient(bool horizontal, int half, int w, int h, const RectI& r, const HalfLook& look) {
    if (horizontal) {
        return half == 0
                   ? lineGradient(0, 0, static_cast<float>(r.width - 1), 0, look.from, look.to)
                   : lineGradient(static_cast<float>(r.width - 1), 0, static_cast<float>(w), 0, look.from, look.to);
    }
    return half == 0 ? lineGradient(0, 0, 0, static_cast<float>(r.height - 1), look.from, look.to)
                     : lineGradient(0, static_cast<float>(r.height), 0, static_cast<float>(h), look.from, look.to);
}

void drawHalf(Gdiplus::GpGraphics* g, const UpDownEntry& e, int half, int w, int h, const HalfLook& look) {
    const RectI r = upDownHalf(w, h, e.horizontal, half);
    Path shape = roundedShape(static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width - 1),
                              static_cast<float>(r.height - 1), 3);
    Brush fill = halfGradient(e.horizontal, half, w, h, r, look);
    gp::GdipFillPath(g, fill.get(), shape.get());
    const PicturePixels& glyph = glyphPixels(glyphResource(e.horizontal, half));
    if (!glyph.argb.empty()) {
        Bitmap picture;
        gp::GdipCreateBitmapFromScan0(glyph.width, glyph.height, glyph.width * 4, PixelFormat32bppARGB,
                                      reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(glyph.argb.data())),
                                      picture.out());
        picture.adopt();
        if (picture) {
            gp::GdipDrawImageRectI(g, picture.image(), r.x + (r.width - glyph.width) / 2,
                                   r.y + (r.height - glyph.height) / 2, glyph.width, glyph.height);
        }
    }
    Pen pen = solidPen(look.outline);
    gp::GdipDrawPath(g, pen.get(), shape.get());
}

}  // namespace

int HalfUnderMouse(int windowIndex, int control, LPARAM point) {
    const UpDownEntry* e = placeOf(windowIndex, control, &WindowRecord::upDownEntries).entry;
    if (!e) return 0;
    RECT window;
    GetWindowRect(e->hwnd, &window);
    return upDownHalfAt(window.right - window.left, window.bottom - window.top, e->horizontal, GET_X_LPARAM(point),
                        GET_Y_LPARAM(point));
}

void DrawUpDown(int windowIndex, int control, std::optional<bool> hot, std::optional<bool> pressed,
                std::optional<LPARAM> mouse) {
    SkinEngine* engine = SkinEngine::current();
    const UpDownEntry* e = placeOf(windowIndex, control, &WindowRecord::upDownEntries).entry;
    if (!engine || !e) return;
    const bool isHot = hot.value_or(e->hot);
    const bool isPressed = pressed.value_or(e->pressed);
    const LPARAM point = mouse.value_or(e->lastMouse);
    RECT window;
    GetWindowRect(e->hwnd, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w <= 0 || h <= 0) return;
    const int hotHalf = isHot ? upDownHalfAt(w, h, e->horizontal, GET_X_LPARAM(point), GET_Y_LPARAM(point)) : -1;
    const COLORREF theme = engine->settings().themeColour;
    HDC capture = CaptureBackground(e->hwnd, RECT{0, 0, w, h});
    if (!capture) return;
    {
        Graphics g = graphicsOn(capture);
        gp::GdipSetSmoothingMode(g.get(), Gdiplus::SmoothingModeAntiAlias);
        gp::GdipSetCompositingQuality(g.get(), Gdiplus::CompositingQualityHighQuality);
        Path ground = roundedShape(0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), 3);
        Brush white = solidBrush(argb(0x00FFFFFF, 160));
        gp::GdipFillPath(g.get(), white.get(), ground.get());
        for (int half = 0; half < 2; ++half) {
            const bool firstOfVertical = half == 0 && !e->horizontal;
            drawHalf(g.get(), *e, half, w, h, lookOf(half == hotHalf, isPressed, firstOfVertical, theme));
        }
    }
    {
        WholeWindowDC dc(e->hwnd);
        if (dc.get()) BitBlt(dc.get(), 0, 0, w, h, capture, 0, 0, SRCCOPY);
    }
    ReleaseBackground(capture);
    ++paintCounts().upDown;
}

void hookUpDowns(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren) return;
    forEachChildOfClass(parent, UPDOWN_CLASSW, [&](HWND control) {
        UpDownEntry* e = registerControl(windowIndex, control, &WindowRecord::upDownEntries, UpDownProc);
        if (!e) return;
        *e = UpDownEntry{{e->hwnd, e->previous}};
        e->horizontal = GetWindowLongW(control, GWL_STYLE) & UDS_HORZ;
    });
}

namespace {

using UpDownPlace = ControlPlace<UpDownEntry>;

void onMouseOver(const UpDownPlace& p, HWND, LPARAM lParam) {
    UpDownEntry& e = *p.entry;
    const int half = HalfUnderMouse(p.windowIndex, p.entryIndex, lParam);
    // Repainted only when it becomes hot or the mouse crosses into the other half.
    if (isHot(p, kHotUpDown) && half == e.hotHalf) return;
    DrawUpDown(p.windowIndex, p.entryIndex, true, std::nullopt, lParam);
    e.hot = true;
    makeHot(p, kHotUpDown);
    e.hotHalf = half;
}

void onMouseLeave(const UpDownPlace& p, HWND, LPARAM) {
    p.record->hotControl = 0;
    p.entry->hot = false;
    DrawUpDown(p.windowIndex, p.entryIndex, false);
}

// The messages this procedure acts on; every other one goes straight on.
constexpr UINT kMessages[] = {WM_MOVE, WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_LBUTTONDOWN, WM_LBUTTONUP};

std::optional<LRESULT> onMessage(const UpDownPlace& p, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOVE:
        DrawUpDown(p.windowIndex, p.entryIndex);
        break;
    case WM_PAINT:
        DrawUpDown(p.windowIndex, p.entryIndex);
        return DefWindowProcW(control, msg, wParam, lParam);
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_NCPAINT:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        p.entry->pressed = msg == WM_LBUTTONDOWN;
        p.entry->lastMouse = lParam;
        break;
    }
    return std::nullopt;
}

}  // namespace

LRESULT CALLBACK UpDownProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<UpDownEntry, &WindowRecord::upDownEntries, kMessages, onMessage, onMouseOver, onMouseLeave>(
        UpDownProc, control, msg, wParam, lParam);
}

}  // namespace skin
