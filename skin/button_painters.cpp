// The painters of skinned BUTTON controls. Each paint captures what lies
// behind the control, draws the control over it with GDI+ and copies the
// result to the target DC in one BitBlt; every object lives for one paint.
#include "res/resource_ids.h"
#include "skin/buttons.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kGlowColour = 0x00DDCA22;
constexpr COLORREF kDisabledFill = 0x00C0C0C0;
constexpr COLORREF kDotSurround = 0x00808000;
constexpr int kBoxSize = 13;

long g_paints = 0;

// The captured background of a control and a GDI+ graphics on it.
class Canvas {
public:
    explicit Canvas(HWND control) {
        GetClientRect(control, &client_);
        capture_ = CaptureBackground(control, client_);
        graphics_ = graphicsOn(capture_);
    }
    ~Canvas() {
        graphics_.reset();
        ReleaseBackground(capture_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Gdiplus::GpGraphics* g() const { return graphics_.get(); }
    explicit operator bool() const { return static_cast<bool>(graphics_); }
    // Copies the finished picture to `dc` at (0, 0), client size.
    void present(HDC dc) const {
        gp::GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
        BitBlt(dc, 0, 0, client_.right, client_.bottom, capture_, 0, 0, SRCCOPY);
    }

private:
    RECT client_{};
    HDC capture_ = nullptr;
    Graphics graphics_;
};

Path ellipsePath(float x, float y, float w, float h) {
    Path path = newPath();
    if (path) gp::GdipAddPathEllipse(path.get(), x, y, w, h);
    return path;
}

void fillPath(Gdiplus::GpGraphics* g, const Brush& brush, const Path& path) {
    if (brush && path) gp::GdipFillPath(g, brush.get(), path.get());
}

void drawPath(Gdiplus::GpGraphics* g, std::uint32_t colour, const Path& path) {
    Pen outline = solidPen(colour);
    if (outline && path) gp::GdipDrawPath(g, outline.get(), path.get());
}

// The look of every disabled BUTTON control.
void paintDisabledLook(Gdiplus::GpGraphics* g, int x, int y, int w, int h) {
    Brush grey = solidBrush(argb(kDisabledFill, 255));
    gp::GdipFillRectangleI(g, grey.get(), x, y, w, h);
    const Path body = roundedShape(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w - 1),
                                   static_cast<float>(h - 1), 5);
    Brush shade = verticalGradient(static_cast<float>(x), static_cast<float>(y), static_cast<float>(y + h),
                                   argb(kWhite, 50), argb(kWhite, 50));
    if (shade) {
        const Gdiplus::ARGB colours[] = {argb(kWhite, 50), argb(kBlack, 10), argb(kWhite, 50)};
        const Gdiplus::REAL positions[] = {0.0f, 0.6f, 1.0f};
        gp::GdipSetLinePresetBlend(reinterpret_cast<Gdiplus::GpLineGradient*>(shade.get()), colours, positions, 3);
    }
    fillPath(g, shade, body);
    drawPath(g, argb(kBlack, 80), body);
}

// The caption of a BUTTON control in its entry's font.
void drawCaption(Gdiplus::GpGraphics* g, HWND control, const ButtonEntry& entry, Gdiplus::StringAlignment align,
                 const Gdiplus::RectF& layout) {
    if (entry.caption.empty() || entry.fontSize <= 0) return;
    SkinEngine* engine = SkinEngine::current();
    if (!engine) return;
    Font font;
    gp::GdipCreateFont(engine->fontFamily(entry.fontFamily), entry.fontSize, entry.fontStyle, Gdiplus::UnitPixel,
                       font.out());
    font.adopt();
    StringFormat format;
    gp::GdipCreateStringFormat(0, LANG_NEUTRAL, format.out());
    format.adopt();
    if (!font || !format) return;
    gp::GdipSetStringFormatAlign(format.get(), align);
    gp::GdipSetStringFormatLineAlign(format.get(), Gdiplus::StringAlignmentCenter);
    Brush text = solidBrush(argb(textColourOf(control), 255));
    gp::GdipDrawString(g, entry.caption.c_str(), static_cast<int>(entry.caption.size()), font.get(), &layout,
                       format.get(), text.get());
}

void drawResourcePicture(Gdiplus::GpGraphics* g, int resource, int x, int y) {
    SkinEngine* engine = SkinEngine::current();
    if (!engine) return;
    const Picture& picture = engine->builtInPicture(resource);
    if (picture.decoded) gp::GdipDrawImageRectI(g, picture.decoded.image(), x, y, kBoxSize, kBoxSize);
}

bool isChecked(HWND control) { return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// What every painter shares: the captured background, the control's own look
// drawn by `drawLook` (g, x, y, w, h), its caption in `captionBox`, one copy to `dc`.
template <class DrawLook>
void paintButton(HWND control, HDC dc, const RECT& rect, Gdiplus::StringAlignment align,
                 const Gdiplus::RectF& captionBox, DrawLook drawLook) {
    const ButtonEntry* entry = buttonEntryOf(control);
    Canvas canvas(control);
    if (!entry || !canvas) return;
    ++g_paints;
    drawLook(canvas.g(), static_cast<int>(rect.left), static_cast<int>(rect.top),
             static_cast<int>(rect.right - rect.left), static_cast<int>(rect.bottom - rect.top));
    drawCaption(canvas.g(), control, *entry, align, captionBox);
    canvas.present(dc);
}

}  // namespace

long buttonPaints() { return g_paints; }

void PaintPushButton(HWND control, HDC dc, UINT state, const RECT& rect) {
    const auto width = static_cast<float>(rect.right - rect.left), height = static_cast<float>(rect.bottom - rect.top);
    paintButton(
        control, dc, rect, Gdiplus::StringAlignmentCenter, Gdiplus::RectF(0, 2, width, height),
        [state](Gdiplus::GpGraphics* g, int x, int y, int w, int h) {
            const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
            const COLORREF theme = themeColour();
            const Path body = roundedShape(fx, fy, static_cast<float>(w - 1), static_cast<float>(h - 1), 5);
            fillPath(g, solidBrush(argb(kWhite, 120)), body);
            if (state & kStateDisabled) return paintDisabledLook(g, x, y, w, h);
            fillPath(g, verticalGradient(fx, fy, static_cast<float>(y + h - 1), argb(kWhite, 0), argb(0x00808080, 60)),
                     body);
            Path gloss = newPath();
            if (gloss) TopRoundedPath(gloss.get(), fx, fy, static_cast<float>(w - 1), static_cast<float>(h / 2), 5);
            fillPath(g, verticalGradient(fx, fy, static_cast<float>(y + h / 2), argb(kWhite, 50), argb(kWhite, 10)),
                     gloss);
            if (state & kStateHot) {
                fillPath(g, verticalGradient(fx, fy, static_cast<float>(y + h), argb(theme, 60), argb(theme, 10)),
                         body);
                drawPath(g, argb(theme, 255), body);
            } else if (state & kStateFocused) {
                if (body) Glow(g, body.get(), 3, kGlowColour, 120);
                drawPath(g, argb(kBlack, 70), body);
            } else {
                drawPath(g, argb(kBlack, 120), body);
            }
            if (state & kStatePressed) {
                const Path inner = roundedShape(static_cast<float>(x + 2), static_cast<float>(y + 2),
                                                static_cast<float>(w - 3), static_cast<float>(h - 3), 5);
                fillPath(g, verticalGradient(2, 2, static_cast<float>(h - 2), argb(theme, 60), argb(kWhite, 100)),
                         inner);
            }
        });
}

void PaintCheckBox(HWND control, HDC dc, UINT state, const RECT& rect) {
    const Gdiplus::RectF captionBox(static_cast<float>(rect.left + 17), 2,
                                    static_cast<float>(rect.right - rect.left - 19),
                                    static_cast<float>(rect.bottom - rect.top));
    paintButton(control, dc, rect, Gdiplus::StringAlignmentNear, captionBox,
                [control, state](Gdiplus::GpGraphics* g, int x, int y, int w, int h) {
                    if (state & kStateDisabled) return paintDisabledLook(g, x, y, w, h);
                    const int boxY = y + (h - kBoxSize) / 2;
                    drawResourcePicture(g, IDR_CHECK_BOX_UNCHECKED_PNG, x, boxY);
                    if (isChecked(control)) drawResourcePicture(g, IDR_CHECK_BOX_CHECKED_PNG, x, boxY);
                    if (!(state & kStateHot)) return;
                    const auto top = static_cast<float>(y + (h - 12) / 2 + 1);
                    Brush light = lineGradient(static_cast<float>(x + 3), top, static_cast<float>(x + 11),
                                               static_cast<float>(y + (h - 12) / 2 + 12), argb(themeColour(), 100),
                                               argb(kBlack, 0));
                    Path box = newPath();
                    if (box) gp::GdipAddPathRectangleI(box.get(), x, boxY, kBoxSize, kBoxSize);
                    fillPath(g, light, box);
                    if (box) Glow(g, box.get(), 2, kGlowColour, 30);
                });
}

namespace {

// The checked radio button's dot: a sphere lit from its centre.
void drawRadioDot(Gdiplus::GpGraphics* g, float x, float y) {
    const Path dot = ellipsePath(x, y, 6, 6);
    drawPath(g, argb(kBlack, 200), dot);
    Brush centre;
    if (dot) {
        gp::GdipCreatePathGradientFromPath(dot.get(), reinterpret_cast<Gdiplus::GpPathGradient**>(centre.out()));
        centre.adopt();
    }
    if (centre) {
        auto* gradient = reinterpret_cast<Gdiplus::GpPathGradient*>(centre.get());
        gp::GdipSetPathGradientCenterColor(gradient, argb(kWhite, 100));
        Gdiplus::ARGB surround = argb(kDotSurround, 255);
        INT count = 1;
        gp::GdipSetPathGradientSurroundColorsWithCount(gradient, &surround, &count);
    }
    fillPath(g, centre, dot);
}

}  // namespace

void PaintRadioButton(HWND control, HDC dc, UINT state, const RECT& rect) {
    const Gdiplus::RectF captionBox(static_cast<float>(rect.left + 18), 2, static_cast<float>(rect.right - rect.left),
                                    static_cast<float>(rect.bottom - rect.top));
    paintButton(
        control, dc, rect, Gdiplus::StringAlignmentNear, captionBox,
        [control, state](Gdiplus::GpGraphics* g, int x, int y, int w, int h) {
            if (state & kStateDisabled) return paintDisabledLook(g, x, y, w, h);
            gp::GdipSetSmoothingMode(g, Gdiplus::SmoothingModeAntiAlias);
            const Path ring = ellipsePath(static_cast<float>(x + 2), static_cast<float>(y + (h - 12) / 2), 12, 12);
            drawPath(g, argb(kBlack, 200), ring);
            const auto ix = static_cast<float>(x + 3), iy = static_cast<float>(y + (h - 11) / 2 + 1);
            const Path inner = ellipsePath(ix, iy, 9, 9);
            drawPath(g, argb(kWhite, 255), inner);
            fillPath(g, solidBrush(argb(kWhite, 255)), inner);
            fillPath(g, lineGradient(ix, iy, ix + 9, iy + 9, argb(kBlack, 100), argb(kBlack, 0)), inner);
            if (state & kStateHot) {
                fillPath(g, lineGradient(ix, iy, ix + 9, iy + 9, argb(themeColour(), 100), argb(kBlack, 0)), inner);
                if (inner) Glow(g, inner.get(), 2, kGlowColour, 30);
            }
            if (isChecked(control))
                drawRadioDot(g, static_cast<float>(x + 5), static_cast<float>(y + (h - 12) / 2 + 3));
            gp::GdipSetSmoothingMode(g, Gdiplus::SmoothingModeNone);
        });
}

}  // namespace skin
