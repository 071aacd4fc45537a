// Picture buttons: a button with one picture and its caption or
// with four pictures and no caption, each with a tooltip. Both are
// owner-drawn on the captured backdrop of the button.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "skin/buttons.h"
#include "skin/control_fonts.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"
#include "skin/tooltip.h"

namespace skin {

namespace {

constexpr UINT kPressed = 1, kDisabled = 4, kFocused = 16, kHot = 64;

void fillRounded(Gdiplus::GpGraphics* g, float x, float y, float w, float h, int corner, Gdiplus::GpBrush* brush) {
    Path shape = roundedShape(x, y, w, h, corner);
    gp::GdipFillPath(g, brush, shape.get());
}

void strokeRounded(Gdiplus::GpGraphics* g, float x, float y, float w, float h, int corner, std::uint32_t colour) {
    Path shape = roundedShape(x, y, w, h, corner);
    Pen pen = solidPen(colour);
    gp::GdipDrawPath(g, pen.get(), shape.get());
}

void drawPicture(Gdiplus::GpGraphics* g, const Picture& p, int x, int y, int w, int h) {
    if (p.decoded) gp::GdipDrawImageRectI(g, p.decoded.image(), x, y, w, h);
}

void drawFourPictures(Gdiplus::GpGraphics* g, const ButtonEntry& e, UINT state, COLORREF theme) {
    const Picture normal = pictureFrom(e.normalPicture);
    const float pw = static_cast<float>(normal.width), ph = static_cast<float>(normal.height);
    auto own = [&](const std::vector<BYTE>& bytes) {
        const Picture p = pictureFrom(bytes);
        drawPicture(g, p, 2, 2, p.width, p.height);
    };
    if (state & kDisabled) {
        if (!e.disabledPicture.empty()) return own(e.disabledPicture);
        strokeRounded(g, 0, 0, pw + 2, ph + 2, 5, argb(0, 80));
        Brush fill = verticalGradient(0, 0, ph + 2, argb(0x00FFFFFF, 60), argb(0, 100));
        fillRounded(g, 0, 0, pw + 2, ph + 2, 5, fill.get());
    } else if (state & kHot) {
        // Hot wins over pressed.
        if (!e.hotPicture.empty()) return own(e.hotPicture);
        strokeRounded(g, 0, 0, pw + 3, ph + 3, 3, argb(theme, 250));
        Brush fill = verticalGradient(0, 0, ph + 3, argb(0x00FFFFFF, 120), argb(theme, 100));
        fillRounded(g, 0, 0, pw + 3, ph + 3, 3, fill.get());
    } else if (state & kPressed) {
        if (!e.pressedPicture.empty()) return own(e.pressedPicture);
        strokeRounded(g, 0, 0, pw + 3, ph + 3, 3, argb(theme, 250));
        Brush fill = verticalGradient(0, 0, ph + 3, argb(0, 60), argb(0x00FFFFFF, 100));
        fillRounded(g, 0, 0, pw + 3, ph + 3, 3, fill.get());
    }
    drawPicture(g, normal, 2, 2, normal.width, normal.height);
}

void drawOnePictureFrame(Gdiplus::GpGraphics* g, UINT state, float w, float h) {
    if (state & kDisabled) {
        Brush fill = lineGradient(1, 1, 1, h, argb(0x00808080, 50), argb(0x00FFFFFF, 0));
        fillRounded(g, 2, 2, w - 6, h - 6, 5, fill.get());
        return;
    }
    if (state & kHot) {
        Brush fill = lineGradient(1, 1, 1, h - 4, argb(0x00FFFFFF, 50), argb(0x00FFFFFF, 40));
        fillRounded(g, 2, 1, w - 5, h - 4, 2, fill.get());
        // A bright line under the button, brightest in its middle.
        Brush lineBrush = lineGradient(1, 1, w - 1, 1, argb(0x00FFFFFF, 10), argb(0x00FFFFFF, 255));
        gp::GdipSetLineLinearBlend(reinterpret_cast<Gdiplus::GpLineGradient*>(lineBrush.get()), 0.5f, 0.8f);
        Pen pen;
        gp::GdipCreatePen2(lineBrush.get(), 2.0f, Gdiplus::UnitWorld, pen.out());
        pen.adopt();
        gp::GdipDrawLine(g, pen.get(), 1, h - 4, w - 1, h - 4);
    }
    if (state & (kHot | kFocused)) {
        Brush fill = lineGradient(2, 3, 2, h, argb(0x00FFFFFF, 60), argb(0x00FFFFFF, 50));
        fillRounded(g, 2, 2, w - 5, h - 5, 2, fill.get());
        strokeRounded(g, 0, 0, w - 2, h - 2, 5, argb(0, 60));
        strokeRounded(g, 1, 1, w - 4, h - 4, 5, argb(0x00FFFFFF, 120));
    }
}

void drawOnePictureContent(Gdiplus::GpGraphics* g, const ButtonEntry& e, HWND control, int w, int h) {
    Brush text = solidBrush(argb(textColourOf(control), 255));
    const Font font = makeFont({e.fontFamily, e.fontSize, e.fontStyle}, Gdiplus::UnitPixel);
    StringFormat format;
    gp::GdipCreateStringFormat(0, LANG_NEUTRAL, format.out());
    format.adopt();
    gp::GdipSetStringFormatAlign(format.get(), Gdiplus::StringAlignmentCenter);
    const Picture picture = pictureFrom(e.normalPicture);
    const int length = static_cast<int>(e.caption.size());
    auto caption = [&](float x, float y, float cw, float ch) {
        if (!font || !length) return;
        const Gdiplus::RectF layout(x, y, cw, ch);
        gp::GdipDrawString(g, e.caption.c_str(), length, font.get(), &layout, format.get(), text.get());
    };
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    if (e.pictureBeside && !picture.empty()) {
        const int s = static_cast<int>(0.8 * h);
        if (length) {
            drawPicture(g, picture, 3, (h - s) / 2, s, s);
        } else {
            drawPicture(g, picture, (w - s) / 2, (h - s) / 2, s, s);
        }
        gp::GdipSetStringFormatAlign(format.get(), Gdiplus::StringAlignmentNear);
        gp::GdipSetStringFormatLineAlign(format.get(), Gdiplus::StringAlignmentCenter);
        caption(static_cast<float>(s + 5), 2, static_cast<float>(w - s - 7), fh);
    } else if (e.pictureBeside) {
        gp::GdipSetStringFormatLineAlign(format.get(), Gdiplus::StringAlignmentCenter);
        caption(0, 0, fw, fh);
    } else {
        // A font taller than the button leaves no room for the picture.
        const int s = std::max(0, static_cast<int>(0.8 * (fh - e.fontSize - 2)));
        const int top = static_cast<int>(0.05 * h);
        if (s > 0) drawPicture(g, picture, (w - s) / 2, top, s, s);
        gp::GdipSetStringFormatTrimming(format.get(), Gdiplus::StringTrimmingEllipsisCharacter);
        caption(0, static_cast<float>(s) + 0.05f * fh + 2, fw, static_cast<float>(h - s));
    }
}

// The button's tool 1 in its own tooltip window (owned, through the button,
// by the skinned window).
void setButtonTip(ButtonEntry& e, const std::wstring& tip) {
    if (tip.empty()) return;
    if (e.tooltip && IsWindow(e.tooltip)) {
        Tooltip(e.tooltip, e.hwnd).changeText(1, tip);
        return;
    }
    Tooltip tips = Tooltip::create(e.hwnd);
    RECT client;
    GetClientRect(e.hwnd, &client);
    tips.addTool(client, tip, 1);
    e.tooltip = tips.window();
}

}  // namespace

void PaintPictureButton(const ButtonEntry& entry, HWND control, HDC dc, UINT state, const RECT& rect) {
    SkinEngine* engine = SkinEngine::current();
    if (!engine || !dc || (entry.kind != kOnePictureButton && entry.kind != kFourPictureButton)) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    HDC capture = CaptureBackground(control, rect);
    if (!capture) return;
    {
        Graphics g = graphicsOn(capture);
        if (entry.kind == kFourPictureButton) {
            drawFourPictures(g.get(), entry, state, engine->settings().themeColour);
        } else {
            drawOnePictureFrame(g.get(), state, static_cast<float>(w), static_cast<float>(h));
            drawOnePictureContent(g.get(), entry, control, w, h);
        }
    }
    BitBlt(dc, rect.left, rect.top, w, h, capture, 0, 0, SRCCOPY);
    ReleaseBackground(capture);
    ++paintCounts().pictureButton;
}

namespace {

// The button's entry in its owner's list, registered here when the
// push-button hook has not done it: the button procedure, the indices and
// the button's own font.
ButtonEntry* pictureButtonEntry(SkinEngine& engine, HWND button, int& owner) {
    owner = skinnedOwnerOf(engine, button);
    WindowRecord* r = engine.record(owner);
    if (!r) return nullptr;
    for (ButtonEntry& e : r->buttonEntries) {
        if (e.hwnd == button) return &e;
    }
    ButtonEntry* e = registerControl(owner, button, &WindowRecord::buttonEntries, ButtonProc);
    if (!e) return nullptr;
    const ControlFont font = readControlFont(button, defaultGuiFont());
    e->fontFamily = font.family;
    e->fontSize = font.size;
    e->fontStyle = font.style;
    return e;
}

void makeOwnerDrawn(HWND button) {
    const LONG style = GetWindowLongW(button, GWL_STYLE);
    SetWindowLongW(button, GWL_STYLE, style | BS_OWNERDRAW);
    InvalidateRect(button, nullptr, FALSE);
}

}  // namespace

bool SkinEngine::SetButtonPicture(HWND button, const std::vector<BYTE>& picture, bool beside, const std::wstring& tip) {
    int owner = 0;
    ButtonEntry* e = button ? pictureButtonEntry(*this, button, owner) : nullptr;
    if (!e) return false;
    e->kind = kOnePictureButton;
    e->normalPicture = picture;
    e->pictureBeside = beside;
    e->caption = WindowTextOf(button);
    setButtonTip(*e, tip);
    makeOwnerDrawn(button);
    return true;
}

bool SkinEngine::SetButtonPictures(HWND button, const std::vector<BYTE>& normal, const std::vector<BYTE>& hot,
                                   const std::vector<BYTE>& pressed, const std::vector<BYTE>& disabled,
                                   const std::wstring& tip) {
    int owner = 0;
    ButtonEntry* e = button ? pictureButtonEntry(*this, button, owner) : nullptr;
    if (!e) return false;
    e->kind = kFourPictureButton;
    e->normalPicture = normal;
    e->hotPicture = hot;
    e->pressedPicture = pressed;
    e->disabledPicture = disabled;
    setButtonTip(*e, tip);
    makeOwnerDrawn(button);
    return true;
}

}  // namespace skin
