#include "skin/control_fonts.h"

#include <algorithm>
#include <map>
#include <string>

#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

// A font's description, as a key: its LOGFONT with the face name's unused
// tail cleared. Empty for no font.
std::string descriptionOf(HFONT font) {
    LOGFONTW description{};
    if (!font || GetObjectW(font, sizeof(description), &description) != sizeof(description)) return {};
    const auto name = std::find(std::begin(description.lfFaceName), std::end(description.lfFaceName), L'\0');
    std::fill(name, std::end(description.lfFaceName), L'\0');
    return std::string(reinterpret_cast<const char*>(&description), sizeof(description));
}

// The fonts read so far, by description. What GDI+ makes of a font selected
// into a window DC depends on the description alone where the window's
// class hands out fresh DCs from the cache (no CS_OWNDC or CS_CLASSDC), and
// making a GDI+ font from a DC costs about a millisecond under Wine.
std::map<std::string, ControlFont>& fontsRead() {
    static std::map<std::string, ControlFont> read;
    return read;
}

bool handsOutFreshDCs(HWND control) {
    return (GetClassLongPtrW(control, GCL_STYLE) & (CS_OWNDC | CS_CLASSDC)) == 0;
}

ControlFont readFromDC(HWND control, HFONT font);

}  // namespace

ControlFont readControlFont(HWND control, HFONT whenNone) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font) font = whenNone;
    const std::string description = descriptionOf(font);
    if (description.empty() || !handsOutFreshDCs(control)) return readFromDC(control, font);
    const auto known = fontsRead().find(description);
    if (known != fontsRead().end()) return known->second;
    const ControlFont read = readFromDC(control, font);
    // A font GDI+ could not read from a DC that was not there is read again next time.
    if (!read.family.empty()) fontsRead().emplace(description, read);
    return read;
}

namespace {

ControlFont readFromDC(HWND control, HFONT font) {
    ControlFont result;
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

}  // namespace

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
