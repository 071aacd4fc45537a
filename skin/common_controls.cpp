#include "skin/common_controls.h"

#include "skin/painting_kit.h"

namespace skin {

PaintCounts& paintCounts() {
    static PaintCounts counts;
    return counts;
}

int skinnedOwnerOf(SkinEngine& engine, HWND control) {
    for (HWND w = GetParent(control); w; w = GetParent(w)) {
        const int i = engine.registry().indexOf(w);
        if (i) return i;
    }
    return 0;
}

FontDescription describeFont(HWND control) {
    FontDescription d;
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW logFont{};
    GetObjectW(font, sizeof(logFont), &logFont);
    d.family = logFont.lfFaceName;
    d.size = static_cast<float>(logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight);
    d.style = (logFont.lfWeight >= FW_BOLD ? Gdiplus::FontStyleBold : 0) |
              (logFont.lfItalic ? Gdiplus::FontStyleItalic : 0);
    HDC dc = GetDC(control);
    Font gpFont;
    gp::GdipCreateFontFromLogfontW(dc, &logFont, gpFont.out());
    gpFont.adopt();
    ReleaseDC(control, dc);
    if (gpFont) {
        FontFamily family;
        gp::GdipGetFamily(gpFont.get(), family.out());
        family.adopt();
        wchar_t name[LF_FACESIZE] = {};
        if (family && gp::GdipGetFamilyName(family.get(), name, LANG_NEUTRAL) == Gdiplus::Ok) d.family = name;
        gp::GdipGetFontSize(gpFont.get(), &d.size);
        INT style = 0;
        if (gp::GdipGetFontStyle(gpFont.get(), &style) == Gdiplus::Ok) d.style = style;
    }
    if (d.size <= 0) d.size = 12;
    return d;
}

Font makeFont(const FontDescription& font, Gdiplus::Unit unit) {
    Font made;
    SkinEngine* engine = SkinEngine::current();
    if (!engine) return made;
    if (Gdiplus::GpFontFamily* family = engine->fontFamily(font.family.empty() ? L"Tahoma" : font.family)) {
        gp::GdipCreateFont(family, font.size > 0 ? font.size : 12.0f, font.style, unit, made.out());
        made.adopt();
    }
    return made;
}

Graphics graphicsOn(HDC dc) {
    Graphics g;
    gp::GdipCreateFromHDC(dc, g.out());
    g.adopt();
    return g;
}

Path roundedShape(float x, float y, float width, float height, int corner) {
    Path path;
    gp::GdipCreatePath(Gdiplus::FillModeAlternate, path.out());
    path.adopt();
    if (path) RoundedPath(path.get(), x, y, width, height, corner);
    return path;
}

Pen thinPen(std::uint32_t argbColour, float width) {
    Pen pen;
    gp::GdipCreatePen1(argbColour, width, Gdiplus::UnitWorld, pen.out());
    pen.adopt();
    return pen;
}

Brush lineGradient(float x0, float y0, float x1, float y1, std::uint32_t from, std::uint32_t to) {
    Brush brush;
    if (x0 == x1 && y0 == y1) y1 = y0 + 1;  // a gradient needs two distinct points
    const Gdiplus::PointF a(x0, y0), b(x1, y1);
    gp::GdipCreateLineBrush(&a, &b, from, to, Gdiplus::WrapModeTileFlipXY,
                            reinterpret_cast<Gdiplus::GpLineGradient**>(brush.out()));
    brush.adopt();
    return brush;
}

}  // namespace skin
