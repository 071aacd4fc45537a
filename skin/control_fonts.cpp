#include "skin/control_fonts.h"

#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

ControlFont readControlFont(HWND control, HFONT whenNone) {
    ControlFont result;
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font) font = whenNone;
    Font gpFont;
    {
        const WindowDC dc(control);
        if (!dc.get()) return result;
        const Selection selected(dc.get(), font);
        gp::GdipCreateFontFromDC(dc.get(), gpFont.out());
        gpFont.adopt();
    }
    if (!gpFont) return result;
    FontFamily family;
    gp::GdipGetFamily(gpFont.get(), family.out());
    family.adopt();
    wchar_t name[LF_FACESIZE] = {};
    if (family && gp::GdipGetFamilyName(family.get(), name, LANG_NEUTRAL) == Gdiplus::Ok) result.family = name;
    gp::GdipGetFontSize(gpFont.get(), &result.size);
    gp::GdipGetFontStyle(gpFont.get(), &result.style);
    return result;
}

HFONT defaultGuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

Font makeFont(const ControlFont& font, Gdiplus::Unit unit) {
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
