// Icon and title, the status bar, and moving and sizing by the skin frame.
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

// The engine's cached family; a temporary one when no engine runs.
struct FamilyRef {
    FontFamily owned;
    Gdiplus::GpFontFamily* family = nullptr;
    explicit FamilyRef(const std::wstring& name) {
        if (SkinEngine* engine = SkinEngine::current()) {
            family = engine->fontFamily(name);
            return;
        }
        gp::GdipCreateFontFamilyFromName(name.c_str(), nullptr, owned.out());
        owned.adopt();
        family = owned.get();
    }
};

Font fontOf(const FamilyRef& family, float size, int style, Gdiplus::Unit unit) {
    Font font;
    if (family.family) gp::GdipCreateFont(family.family, size, style, unit, font.out());
    font.adopt();
    return font;
}

StringFormat formatOf(Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical) {
    StringFormat format;
    gp::GdipCreateStringFormat(0, LANG_NEUTRAL, format.out());
    format.adopt();
    if (format) {
        gp::GdipSetStringFormatAlign(format.get(), horizontal);
        gp::GdipSetStringFormatLineAlign(format.get(), vertical);
    }
    return format;
}

Bitmap argbBitmap(int w, int h) {
    Bitmap bitmap;
    gp::GdipCreateBitmapFromScan0(w > 0 ? w : 1, h > 0 ? h : 1, 0, PixelFormat32bppARGB, nullptr, bitmap.out());
    bitmap.adopt();
    return bitmap;
}

Graphics graphicsOf(const Bitmap& bitmap) {
    Graphics g;
    if (bitmap) gp::GdipGetImageGraphicsContext(bitmap.image(), g.out());
    g.adopt();
    return g;
}

POINT pointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

}  // namespace

void SkinEngine::DrawHaloText(Gdiplus::GpGraphics* g, const std::wstring& text, const Gdiplus::RectF& layout,
                              COLORREF colour, COLORREF halo, int offset, const std::wstring& fontName, bool bold,
                              float size, Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical) {
    if (!g || text.empty()) return;
    const FamilyRef family(fontName);
    const Font font =
        fontOf(family, size, bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular, Gdiplus::UnitWorld);
    const StringFormat format = formatOf(horizontal, vertical);
    if (!font) return;
    const Brush haloBrush = solidBrush(argb(halo, 150));
    const auto d = static_cast<float>(offset);
    const float moves[4][2] = {{d, 0}, {-d, 0}, {0, d}, {0, -d}};
    const int length = static_cast<int>(text.size());
    for (const auto& m : moves) {
        const Gdiplus::RectF moved(layout.X + m[0], layout.Y + m[1], layout.Width, layout.Height);
        gp::GdipDrawString(g, text.c_str(), length, font.get(), &moved, format.get(), haloBrush.get());
    }
    const Brush textBrush = solidBrush(argb(colour, 255));
    gp::GdipDrawString(g, text.c_str(), length, font.get(), &layout, format.get(), textBrush.get());
}

void SkinEngine::DrawGlowText(Gdiplus::GpGraphics* g, const std::wstring& text, const Gdiplus::RectF& rect,
                              COLORREF colour, COLORREF glow, int blur, const std::wstring& fontName, int style,
                              float size, Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical) {
    if (!g || text.empty() || blur < 1) return;
    const FamilyRef family(fontName);
    const Font font = fontOf(family, size, style, Gdiplus::UnitWorld);
    const StringFormat format = formatOf(horizontal, vertical);
    if (!font) return;
    const int L = static_cast<int>(rect.Width), N = static_cast<int>(rect.Height);
    const auto d = static_cast<float>(blur);
    const int length = static_cast<int>(text.size());
    Bitmap a = argbBitmap(L, N);
    {
        Graphics ga = graphicsOf(a);
        gp::GdipSetSmoothingMode(ga.get(), Gdiplus::SmoothingModeAntiAlias);
        gp::GdipSetCompositingQuality(ga.get(), Gdiplus::CompositingQualityGammaCorrected);
        gp::GdipSetInterpolationMode(ga.get(), Gdiplus::InterpolationModeHighQualityBicubic);
        gp::GdipSetPixelOffsetMode(ga.get(), Gdiplus::PixelOffsetModeNone);
        const Brush solid = solidBrush(argb(glow, 255));
        const Gdiplus::RectF at(d / 2, d / 2, static_cast<float>(L) + d / 2, static_cast<float>(N) + d / 2);
        gp::GdipDrawString(ga.get(), text.c_str(), length, font.get(), &at, format.get(), solid.get());
    }
    const int bw = static_cast<int>(static_cast<float>(L) / d), bh = static_cast<int>(static_cast<float>(N) / d);
    Bitmap b = argbBitmap(bw, bh);
    {
        Graphics gb = graphicsOf(b);
        gp::GdipSetInterpolationMode(gb.get(), Gdiplus::InterpolationModeHighQualityBicubic);
        gp::GdipSetCompositingQuality(gb.get(), Gdiplus::CompositingQualityHighQuality);
        gp::GdipSetPixelOffsetMode(gb.get(), Gdiplus::PixelOffsetModeNone);
        gp::GdipDrawImageRectI(gb.get(), a.image(), 0, 0, bw, bh);
    }
    a = argbBitmap(L, N);
    {
        Graphics ga = graphicsOf(a);
        gp::GdipSetCompositingQuality(ga.get(), Gdiplus::CompositingQualityGammaCorrected);
        gp::GdipSetInterpolationMode(ga.get(), Gdiplus::InterpolationModeHighQualityBicubic);
        gp::GdipSetSmoothingMode(ga.get(), Gdiplus::SmoothingModeAntiAlias);
        gp::GdipDrawImageRectI(ga.get(), b.image(), 0, 0, L, N);
        b.reset();
        const Brush soft = solidBrush(argb(glow, 60));
        const float y = 0.7f * d;
        const float places[4][2] = {{d / 2 - 1, y}, {d / 2 + 1, y}, {d / 2, y - 1}, {d / 2, y + 1}};
        for (const auto& p : places) {
            const Gdiplus::RectF at(p[0], p[1], static_cast<float>(L), static_cast<float>(N));
            gp::GdipDrawString(ga.get(), text.c_str(), length, font.get(), &at, format.get(), soft.get());
        }
    }
    gp::GdipSetSmoothingMode(g, Gdiplus::SmoothingModeAntiAlias);
    gp::GdipDrawImageI(g, a.image(), static_cast<INT>(rect.X - d / 2), static_cast<INT>(rect.Y - 0.6f * d));
    const Brush textBrush = solidBrush(argb(colour, 255));
    const Gdiplus::RectF at(rect.X, rect.Y, static_cast<float>(L), static_cast<float>(N));
    gp::GdipDrawString(g, text.c_str(), length, font.get(), &at, format.get(), textBrush.get());
}

void SkinEngine::DrawTitle(int windowIndex, Gdiplus::GpGraphics* g, bool compose, const wchar_t* text) {
    WindowRecord* r = record(windowIndex);
    backdropChanged();
    if (!r || !r->surface.dc()) return;
    RECT client;
    GetClientRect(r->hwnd, &client);
    const int m = stripMargin_;
    const IntRect band = titleBand(client.right, r->strip.width, m);
    Graphics own;
    if (!compose || !g) {
        own = graphicsOn(r->surface.dc());
        g = own.get();
        RestoreCaptionRect(windowIndex, {band.x, band.y, band.x + band.w, band.y + band.h});
    }
    if (settings_.appIcon)
        DrawIconEx(r->surface.dc(), band.x, band.y - 3, settings_.appIcon, 17, 17, 0, nullptr, DI_NORMAL);
    std::wstring title;
    if (text) {
        title = text;
    } else {
        title.resize(static_cast<size_t>(GetWindowTextLengthW(r->hwnd)) + 1);
        title.resize(static_cast<size_t>(GetWindowTextW(r->hwnd, title.data(), static_cast<int>(title.size()))));
    }
    const Gdiplus::RectF layout(static_cast<float>(band.x + 20), static_cast<float>(band.y), static_cast<float>(band.w),
                                static_cast<float>(band.h));
    DrawHaloText(g, title, layout, r->titleColour, r->titleHaloColour, 1, r->titleFontName, r->titleBold != 0,
                 static_cast<float>(r->titleFontSize), Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
    if (!compose) {
        own.reset();
        const WindowDC target(r->hwnd);
        BitBlt(ExcludeChildrenDC(r->hwnd, target.get()), band.x, m + 3, band.w, 32, r->surface.dc(), band.x, m + 3,
               SRCCOPY);
    }
}

bool SkinEngine::SetTitleStyle(HWND hwnd, std::optional<std::wstring> font, std::optional<int> size,
                               std::optional<COLORREF> colour, std::optional<COLORREF> halo, std::optional<int> bold) {
    const int i = registry_.indexOf(hwnd);
    WindowRecord* r = record(i);
    if (!r || r->hwnd != hwnd) return false;
    if (font) r->titleFontName = *font;
    if (size) r->titleFontSize = *size;
    if (colour) r->titleColour = *colour;
    if (halo) r->titleHaloColour = *halo;
    if (bold) r->titleBold = *bold;
    DrawTitle(i, nullptr, false);
    return true;
}

void SkinEngine::SetStatusBar(int windowIndex, int height, const std::vector<int>& widths, bool rebuild) {
    WindowRecord* r = record(windowIndex);
    if (!r) return;
    RECT client;
    GetClientRect(r->hwnd, &client);
    r->statusBarHeight = std::max(height, 0);
    r->statusBar = statusBarRect(client.right, client.bottom, r->statusBarHeight, stripMargin_);
    if (!rebuild) return;
    r->statusPanels.clear();
    for (int w : widths) {
        StatusPanel panel;
        panel.requestedWidth = w;
        r->statusPanels.push_back(std::move(panel));
    }
    r->statusPanelRects = statusPanelRects(r->statusBar, widths, client.right, stripMargin_);
}

void SkinEngine::LayoutStatusBar(int windowIndex) {
    WindowRecord* r = record(windowIndex);
    if (!r) return;
    RECT client;
    GetClientRect(r->hwnd, &client);
    r->statusBar = statusBarRect(client.right, client.bottom, r->statusBarHeight, stripMargin_);
    std::vector<int> widths;
    for (const StatusPanel& p : r->statusPanels) widths.push_back(p.requestedWidth);
    r->statusPanelRects = statusPanelRects(r->statusBar, widths, client.right, stripMargin_);
}

void SkinEngine::DrawStatusPanel(Gdiplus::GpGraphics* g, int windowIndex, bool compose, int panel) {
    WindowRecord* r = record(windowIndex);
    backdropChanged();
    if (!r || !r->surface.dc() || panel < 1 || panel > static_cast<int>(r->statusPanels.size())) return;
    const StatusPanel& p = r->statusPanels[static_cast<size_t>(panel - 1)];
    const IntRect& box = r->statusPanelRects[static_cast<size_t>(panel - 1)];
    Graphics own;
    if (!compose || !g) {
        own = graphicsOn(r->surface.dc());
        g = own.get();
        RestoreStatusRect(windowIndex, {box.x, box.y, box.x + box.w, box.y + box.h});
    }
    const Brush shade = verticalGradient(static_cast<float>(box.x), static_cast<float>(box.y),
                                         static_cast<float>(box.y + box.h), argb(0x00FFFFFF, 60), argb(0x00FFFFFF, 10));
    gp::GdipFillRectangleI(g, shade.get(), box.x, box.y, box.w, box.h);
    const COLORREF colour = r->statusInvert ? (~settings_.baseColour & 0x00FFFFFF) : p.colour;
    Gdiplus::RectF text(static_cast<float>(box.x + 3), static_cast<float>(box.y + (box.h - 12) / 2),
                        static_cast<float>(box.w), static_cast<float>(box.h));
    if (p.picture.decoded) {
        gp::GdipDrawImageRectI(g, p.picture.decoded.image(), box.x + 2, box.y + (box.h - p.picture.height) / 2,
                               p.picture.width, p.picture.height);
        text = Gdiplus::RectF(static_cast<float>(box.x + p.picture.width + 3),
                              static_cast<float>(box.y + (box.h - 12) / 2),
                              static_cast<float>(box.w - p.picture.width - 3), static_cast<float>(box.h));
    }
    if (r->statusGlow) {
        DrawGlowText(g, p.text, text, r->statusTextColour, r->statusGlowColour, 4, r->statusFontName,
                     Gdiplus::FontStyleRegular, static_cast<float>(r->statusFontSize), Gdiplus::StringAlignmentNear,
                     Gdiplus::StringAlignmentNear);
    } else if (!p.text.empty()) {
        const FamilyRef family(r->statusFontName);
        const Font font =
            fontOf(family, static_cast<float>(r->statusFontSize), Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        const StringFormat format = formatOf(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
        const Brush brush = solidBrush(argb(colour, 255));
        if (font) {
            gp::GdipDrawString(g, p.text.c_str(), static_cast<int>(p.text.size()), font.get(), &text, format.get(),
                               brush.get());
        }
    }
    if (!compose) {
        own.reset();
        const WindowDC target(r->hwnd);
        BitBlt(ExcludeChildrenDC(r->hwnd, target.get()), box.x, box.y, box.w, box.h, r->surface.dc(), box.x, box.y,
               SRCCOPY);
    }
}

bool SkinEngine::SetStatusPanel(HWND hwnd, int panel, const std::wstring& text,
                                std::optional<std::vector<BYTE>> picture, std::optional<COLORREF> colour) {
    const int i = registry_.indexOf(hwnd);
    WindowRecord* r = record(i);
    if (!r || r->hwnd != hwnd || panel < 1 || panel > static_cast<int>(r->statusPanels.size())) return false;
    StatusPanel& p = r->statusPanels[static_cast<size_t>(panel - 1)];
    p.text = text;
    if (picture) p.picture = pictureFrom(*picture);
    if (colour) p.colour = *colour;
    DrawStatusPanel(nullptr, i, false, panel);
    return true;
}

bool SkinEngine::SetStatusStyle(HWND hwnd, bool invert, bool glow, COLORREF textColour, COLORREF glowColour,
                                std::optional<std::wstring> font, std::optional<int> size) {
    WindowRecord* r = record(registry_.indexOf(hwnd));
    if (!r || r->hwnd != hwnd) return false;
    r->statusInvert = invert;
    r->statusGlow = glow;
    r->statusTextColour = textColour;
    r->statusGlowColour = glowColour;
    if (font) r->statusFontName = *font;
    if (size) r->statusFontSize = *size;
    return true;
}

void SkinEngine::BeginMoveOrSize(int windowIndex, LPARAM point, const RECT& client) {
    WindowRecord* r = record(windowIndex);
    if (!r) return;
    const POINT p = pointOf(point);
    const StripBox strip{r->strip.left, r->strip.top, r->strip.width, r->strip.height};
    const PressOutcome outcome = pressOutcome(p.x, p.y, client.right, client.bottom, stripMargin_, r->captionHeight,
                                              r->framed, r->resizable, strip);
    HWND hwnd = r->hwnd;
    if (outcome.action == PressAction::Move) {
        SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    } else if (outcome.action == PressAction::Size) {
        r->recomposeNeeded = true;
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(outcome.zone.cursorId)));
        SendMessageW(hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(outcome.zone.command), 0);
    }
}

void SkinEngine::UpdateSizingCursor(int windowIndex, LPARAM point, const RECT& client) {
    WindowRecord* r = record(windowIndex);
    if (!r || !r->resizable) return;
    const POINT p = pointOf(point);
    const SizingZone zone = sizingZoneAt(p.x, p.y, client.right, client.bottom, stripMargin_);
    if (zone.zone != 0) SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(zone.cursorId)));
}

RECT SkinEngine::GetCaptionStripRect(int windowIndex) const {
    const WindowRecord* r = record(windowIndex);
    if (!r) return {};
    return {r->strip.left, r->strip.top, r->strip.left + r->strip.width, r->strip.top + r->strip.height};
}

}  // namespace skin
