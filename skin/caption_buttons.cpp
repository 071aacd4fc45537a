// Caption buttons: layout, hit test, the normal, hot and pressed looks, the
// separators, and one tooltip per button.
#include <windows.h>

#include <commctrl.h>

#include "skin/painting_kit.h"
#include "skin/skin_engine.h"
#include "skin/tooltip.h"

namespace skin {

namespace {

Graphics drawingOn(HDC dc, bool antiAlias) {
    Graphics g = graphicsOn(dc);
    if (g && antiAlias) gp::GdipSetSmoothingMode(g.get(), Gdiplus::SmoothingModeAntiAlias);
    return g;
}

void copyToWindow(HWND hwnd, HDC surface, int x, int y, int w, int h) {
    WindowDC screen(hwnd);
    BitBlt(screen.get(), x, y, w, h, surface, x, y, SRCCOPY);
}

}  // namespace

void SkinEngine::LayoutCaptionButtons(int windowIndex) {
    WindowRecord* r = record(windowIndex);
    if (!r || !r->hwnd) return;
    RECT client;
    GetClientRect(r->hwnd, &client);
    layoutCaptionButtons(r->strip, r->buttons, client.right);
    Tooltip tips(r->tipWindow, r->hwnd);
    if (!tips) return;
    for (size_t n = 0; n < r->buttons.size(); ++n) {
        const HitRect& hit = r->buttons[n].hit;
        tips.moveTool(n + 1, {static_cast<LONG>(hit.x), static_cast<LONG>(hit.y), static_cast<LONG>(hit.x + hit.w),
                              static_cast<LONG>(hit.y) + kButtonHeight});
        tips.changeText(n + 1, r->buttonArt[n].label);
    }
}

int SkinEngine::HitTestCaptionButtons(int windowIndex, int x, int y) const {
    const WindowRecord* r = record(windowIndex);
    return r ? hitTestCaptionButtons(r->strip, r->buttons, static_cast<float>(x), static_cast<float>(y)) : 0;
}

int SkinEngine::FindMaximizeButton(int windowIndex) const {
    const WindowRecord* r = record(windowIndex);
    return r ? findMaximizeButton(r->buttons) : 0;
}

void SkinEngine::RestoreCaptionRect(int windowIndex, const RECT& rc) {
    WindowRecord* r = record(windowIndex);
    backdropChanged();
    if (!r || !r->surface.dc() || !r->captionCache.dc()) return;
    BitBlt(r->surface.dc(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, r->captionCache.dc(), rc.left,
           rc.top, SRCCOPY);
}

void SkinEngine::RestoreStatusRect(int windowIndex, const RECT& rc) {
    WindowRecord* r = record(windowIndex);
    backdropChanged();
    if (!r || !r->surface.dc() || !r->statusCache.dc()) return;
    BitBlt(r->surface.dc(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, r->statusCache.dc(),
           rc.left - r->statusBar.x, rc.top - r->statusBar.y, SRCCOPY);
}

void SkinEngine::DrawCaptionButton(int windowIndex, int button, Gdiplus::GpGraphics* g, bool compose, bool pressed,
                                   int alpha) {
    WindowRecord* r = record(windowIndex);
    backdropChanged();
    if (!r || button < 1 || button > static_cast<int>(r->buttons.size()) || !r->surface.dc()) return;
    const size_t n = static_cast<size_t>(button - 1);
    const ButtonGeometry& b = r->buttons[n];
    const IntRect box = buttonPaintRect(r->strip, b);
    const int x = box.x, y = box.y, w = box.w, h = box.h;
    const CaptionButtonArt& art = r->buttonArt[n];
    const Picture& picture = b.kind == kMaximize && r->maximized && art.altImage.decoded ? art.altImage : art.image;
    const auto fx = static_cast<float>(x), fy = static_cast<float>(y), fw = static_cast<float>(w),
               fh = static_cast<float>(h);
    if (pressed) {
        Graphics own = drawingOn(r->surface.dc(), false);
        RestoreCaptionRect(windowIndex, {x, y, x + w, y + h});
        Brush fill = b.kind == kClose ? verticalGradient(fx, fy, fy + fh, argb(0x000000FF, 255), argb(0x00FFFFFF, 30))
                                      : verticalGradient(fx, fy, fy + fh, argb(0x00000000, 80), argb(0x00FFFFFF, 5));
        if (b.kind == kClose) {
            Path shape = newPath();
            addOutline(shape.get(), closeShapePath(fx, fy, fw, fh, 5));
            gp::GdipFillPath(own.get(), fill.get(), shape.get());
        } else {
            gp::GdipFillRectangleI(own.get(), fill.get(), x, y, w, h);
        }
        if (picture.decoded) gp::GdipDrawImageRectI(own.get(), picture.decoded.image(), x, y, w - 1, h);
        copyToWindow(r->hwnd, r->surface.dc(), x, y, w, h);
        return;
    }
    Graphics own;
    if (!compose || !g) {
        own = drawingOn(r->surface.dc(), true);
        g = own.get();
    }
    DrawCaptionButtonFade(g, windowIndex, button, alpha);
    Brush shine = verticalGradient(fx, fy, fy + fh, argb(0x00FFFFFF, 50), argb(0x00000000, 0));
    gp::GdipFillRectangleI(g, shine.get(), x - 1, y, w + 1, h - 1);
    if (picture.decoded) gp::GdipDrawImageRectI(g, picture.decoded.image(), x, y, w, h);
    DrawButtonSeparators(windowIndex, button, g);
    if (!compose) copyToWindow(r->hwnd, r->surface.dc(), x, y, w, h);
}

void SkinEngine::DrawCaptionButtonFade(Gdiplus::GpGraphics* g, int windowIndex, int button, int alpha) {
    WindowRecord* r = record(windowIndex);
    if (!r || !g || button < 1 || button > static_cast<int>(r->buttons.size())) return;
    const ButtonGeometry& b = r->buttons[static_cast<size_t>(button - 1)];
    const int x = static_cast<int>(b.hit.x) - 1, y = static_cast<int>(b.hit.y), w = b.width, h = b.height;
    RestoreCaptionRect(windowIndex, {x - 1, y, x + w + 1, y + h + 1});
    if (alpha <= 0) return;  // the resting look: only the background comes back
    const auto fx = static_cast<float>(x), fy = static_cast<float>(y), fw = static_cast<float>(w),
               fh = static_cast<float>(h);
    Path shape = newPath();
    if (b.kind != kClose) {
        addOutline(shape.get(), topRoundedPath(fx, fy, fw, fh, 1));
        Brush shade = verticalGradient(fx, fy, fy + fh, argb(0x00000000, alpha / 5), argb(0x00FFFFFF, 0));
        gp::GdipFillPath(g, shade.get(), shape.get());
        Brush accent = verticalGradient(fx, fy, fy + fh, argb(settings_.themeColour, alpha), argb(0x00FFFFFF, 0));
        gp::GdipFillPath(g, accent.get(), shape.get());
    } else {
        addOutline(shape.get(), closeShapePath(fx, fy, fw, fh, 5));
        Brush red = verticalGradient(fx, fy, fy + fh, argb(0x000000FF, alpha), argb(0x00FFFFFF, 0));
        gp::GdipFillPath(g, red.get(), shape.get());
    }
    Path highlight = newPath();
    const float hh = static_cast<float>(static_cast<int>(0.8 * h));
    addOutline(highlight.get(),
               b.kind == kClose ? closeShapePath(fx, fy, fw - 1, hh, 5) : topRoundedPath(fx, fy, fw - 1, hh, 1));
    Brush stroke =
        verticalGradient(fx, fy, fy + fh, argb(0x00FFFFFF, static_cast<int>(0.8 * alpha)), argb(0x00FFFFFF, 0));
    Pen pen;
    gp::GdipCreatePen2(stroke.get(), 1.0f, Gdiplus::UnitWorld, pen.out());
    pen.adopt();
    gp::GdipDrawPath(g, pen.get(), highlight.get());
}

void SkinEngine::DrawButtonSeparators(int windowIndex, int button, Gdiplus::GpGraphics* g) {
    WindowRecord* r = record(windowIndex);
    if (!r || !g) return;
    const int top = r->strip.top, height = r->strip.height;
    for (const Separator& s : separatorsOf(r->buttons, button)) {
        const auto xs = static_cast<float>(s.x);
        Brush fade = verticalGradient(xs, static_cast<float>(top), static_cast<float>(top + height - 3),
                                      argb(0x00000000, s.alpha), argb(0x00000000, 0));
        Pen pen;
        gp::GdipCreatePen2(fade.get(), 1.0f, Gdiplus::UnitWorld, pen.out());
        pen.adopt();
        gp::GdipDrawLine(g, pen.get(), xs, static_cast<float>(top + 1), xs, static_cast<float>(top + height - 4));
    }
}

bool SkinEngine::AddCaptionButton(HWND hwnd, const std::vector<BYTE>& picture, const std::wstring& label,
                                  std::function<void()> handler) {
    const int i = registry_.indexOf(hwnd);
    WindowRecord* r = record(i);
    if (!r || r->hwnd != hwnd) return false;
    r->strip.width += kButtonPitch;
    r->buttons.insert(r->buttons.begin(), buttonOfKind(kUserButton));
    CaptionButtonArt art;
    art.image = pictureFrom(picture);
    art.label = label;
    art.handler = std::move(handler);
    r->buttonArt.insert(r->buttonArt.begin(), std::move(art));
    Tooltip(r->tipWindow, hwnd).addTool({}, r->buttonArt.front().label, r->buttons.size());
    LayoutCaptionButtons(i);
    return true;
}

bool SkinEngine::SetCaptionImages(HWND hwnd, const CaptionImages& images) {
    const int i = registry_.indexOf(hwnd);
    WindowRecord* r = record(i);
    if (!r || r->hwnd != hwnd || r->buttons.empty()) return false;
    const int k = static_cast<int>(r->buttons.size());
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    auto set = [r](int n, const std::vector<BYTE>& bytes, bool alternate) {
        if (n < 1 || bytes.empty()) return;
        CaptionButtonArt& art = r->buttonArt[static_cast<size_t>(n - 1)];
        (alternate ? art.altImage : art.image) = pictureFrom(bytes);
    };
    const bool minBox = style & WS_MINIMIZEBOX, maxBox = style & WS_MAXIMIZEBOX;
    if (minBox && maxBox) {
        set(k - 1, images.maximize, false);
        set(k - 1, images.restore, true);
        set(k - 2, images.minimize, false);
    } else if (minBox) {
        set(k - 1, images.minimize, false);
    } else if (maxBox) {
        set(k - 1, images.maximize, false);
        set(k - 1, images.restore, true);
    }
    set(k, images.close, false);
    for (int n = 1; n <= k; ++n) DrawCaptionButton(i, n, nullptr, false, false, 0);
    return true;
}

}  // namespace skin
