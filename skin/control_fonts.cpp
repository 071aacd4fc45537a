#include "skin/control_fonts.h"

#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

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
    Font gpFont;
    {
        const WindowDC dc(control);
        gp::GdipCreateFontFromLogfontW(dc.get(), &logFont, gpFont.out());
        gpFont.adopt();
    }
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


}  // namespace skin
