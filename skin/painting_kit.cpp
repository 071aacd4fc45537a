#include "skin/painting_kit.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "skin/backdrop_cache.h"
#include "skin/buttons.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

// The captures handed out, by their DC.
std::map<HDC, std::unique_ptr<MemoryCanvas>>& captures() {
    static std::map<HDC, std::unique_ptr<MemoryCanvas>> table;
    return table;
}

// The registered container `hwnd` and its record, or nullptr.
const ContainerEntry* findContainer(SkinEngine& engine, HWND hwnd) {
    for (int i = 1; i <= engine.registry().size(); ++i) {
        for (const ContainerEntry& c : engine.record(i)->containerEntries) {
            if (c.hwnd == hwnd) return &c;
        }
    }
    return nullptr;
}

HDC surfaceOfTopLevel(SkinEngine& engine, HWND control) {
    HWND top = GetAncestor(control, GA_ROOT);
    const WindowRecord* r = engine.record(engine.registry().indexOf(top));
    return r ? r->surface.dc() : nullptr;
}

struct Backdrop {
    HDC dc = nullptr;
    HWND window = nullptr;
    const ContainerEntry* tint = nullptr;
    bool groupBoxShape = false;  // the tint of a group box itself, laid within its outline
};

// The nearest enabled registered container between `control` and the
// window `provider` above it (neither included).
const ContainerEntry* nearestEnabledContainer(SkinEngine& engine, HWND control, HWND provider) {
    for (HWND w = GetParent(control); w && w != provider; w = GetParent(w)) {
        const ContainerEntry* c = findContainer(engine, w);
        if (c && c->enabled) return c;
    }
    return nullptr;
}

// The backdrop a window provides itself (Wxk_Cj), tinted by the control's own
// tint when it is a container, else by the nearest enabled container between.
Backdrop providedBy(SkinEngine& engine, HWND control, HWND provider) {
    const ContainerEntry* own = findContainer(engine, control);
    return {providedBackdrop(provider), provider, own ? own : nearestEnabledContainer(engine, control, provider)};
}

Backdrop findBackdrop(SkinEngine& engine, HWND control) {
    if (providesBackdrop(control)) {
        if (HWND provider = backdropProviderOf(control)) {
            return providedBy(engine, control, provider);
        }
        return {surfaceOfTopLevel(engine, control), GetAncestor(control, GA_ROOT)};
    }
    for (HWND w = control; w; w = GetParent(w)) {
        if (w != control && providesBackdrop(w)) return providedBy(engine, control, w);
        if (const WindowRecord* r = engine.record(engine.registry().indexOf(w))) return {r->surface.dc(), w};
        if (const ContainerEntry* c = findContainer(engine, w)) {
            if (HWND provider = backdropProviderOf(w)) {
                return providedBy(engine, control, provider);
            }
            return {surfaceOfTopLevel(engine, w), GetAncestor(w, GA_ROOT), c, w == control && c->isGroupBox};
        }
    }
    return {};
}

}  // namespace

namespace {

// What drawing a control's backdrop involved.
struct DrawnBackdrop {
    bool own = true;      // false: another program part's backdrop, whose changes cannot be seen
    bool tinted = false;  // a container's tint was laid over the copy
};

// What lies behind the control, drawn into `dc`.
DrawnBackdrop drawBackdrop(SkinEngine& engine, HWND control, const RECT& rect, HDC dc) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const Backdrop backdrop = findBackdrop(engine, control);
    DrawnBackdrop drawn;
    if (backdrop.dc && backdrop.window) {
        RECT controlRect, backdropRect;
        GetWindowRect(control, &controlRect);
        GetWindowRect(backdrop.window, &backdropRect);
        // The backdrop of a top-level window is its client surface.
        POINT origin{0, 0};
        ClientToScreen(backdrop.window, &origin);
        if (engine.registry().indexOf(backdrop.window) == 0) {
            origin = {backdropRect.left, backdropRect.top};
            drawn.own = false;
        }
        BitBlt(dc, 0, 0, w, h, backdrop.dc, controlRect.left - origin.x + rect.left,
               controlRect.top - origin.y + rect.top, SRCCOPY);
    }
    if (backdrop.tint && backdrop.tint->showsTint()) {
        Graphics g = graphicsOn(dc);
        Brush fill = solidBrush(argb(backdrop.tint->tint, backdrop.tint->tintAlpha));
        if (backdrop.groupBoxShape) {
            Path shape;
            gp::GdipCreatePath(Gdiplus::FillModeAlternate, shape.out());
            shape.adopt();
            RoundedPath(shape.get(), 0, 5, static_cast<float>(w), static_cast<float>(h - 6), 5);
            gp::GdipFillPath(g.get(), fill.get(), shape.get());
        } else {
            gp::GdipFillRectangleI(g.get(), fill.get(), 0, 0, w, h);
        }
        drawn.tinted = true;
    }
    return drawn;
}

}  // namespace

HDC CaptureBackground(HWND control, const RECT& rect, bool* keepable) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    auto capture = std::make_unique<MemoryCanvas>();
    capture->select(createMemoryBitmap(w > 0 ? w : 1, h > 0 ? h : 1));
    HDC dc = capture->dc();
    if (keepable) *keepable = false;
    if (!dc) return nullptr;
    if (SkinEngine* engine = SkinEngine::current()) {
        const BackdropStamp stamp = stampOf(control, rect);
        if (HDC kept = keptPicture(control, KeptPicture::Background, stamp)) {
            BitBlt(dc, 0, 0, w, h, kept, 0, 0, SRCCOPY);
            if (keepable) *keepable = true;
        } else {
            countBackdropCapture();
            const DrawnBackdrop drawn = drawBackdrop(*engine, control, rect, dc);
            // A plain copy of the surface is as quick to make again as to
            // copy from a kept one: only a tinted backdrop is kept.
            if (drawn.own && drawn.tinted) {
                auto copy = std::make_unique<MemoryCanvas>();
                copy->select(createMemoryBitmap(w > 0 ? w : 1, h > 0 ? h : 1));
                if (copy->dc()) BitBlt(copy->dc(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
                keepPicture(control, KeptPicture::Background, stamp, std::move(copy));
            }
            if (keepable) *keepable = drawn.own;
        }
    }
    captures().emplace(dc, std::move(capture));
    return dc;
}

void ReleaseBackground(HDC dc) {
    if (dc) captures().erase(dc);  // deletes the DC and its bitmap
}

int capturedBackgrounds() { return static_cast<int>(captures().size()); }

RECT VeiledArea(HWND control) {
    RECT window, client;
    GetWindowRect(control, &window);
    GetClientRect(control, &client);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const Border border = controlBorder(window.right - window.left, window.bottom - window.top, client.right,
                                        client.bottom, style & WS_VSCROLL, style & WS_HSCROLL);
    return {border.horizontal, border.vertical, border.horizontal + client.right, border.vertical + client.bottom};
}

BackdropPicture::BackdropPicture(HWND control, KeptPicture what, const RECT& rect, std::uint64_t variant,
                                 const std::function<void(HDC)>& paint) {
    const BackdropStamp stamp = stampOf(control, rect, variant);
    dc_ = keptPicture(control, what, stamp);
    if (dc_) return;
    bool keepable = false;
    made_ = CaptureBackground(control, rect, &keepable);
    if (!made_) return;
    paint(made_);
    dc_ = made_;
    if (!keepable) return;
    // The capture itself is kept: no copy of it is made.
    auto taken = captures().extract(made_);
    if (!taken) return;
    made_ = nullptr;
    dc_ = keepPicture(control, what, stamp, std::move(taken.mapped()));
}

VeiledPicture::VeiledPicture(HWND control, const RECT& area)
    : BackdropPicture(control, KeptPicture::Veil, area, static_cast<std::uint64_t>(veilAlpha()), [&area](HDC dc) {
          Graphics g = graphicsOn(dc);
          Brush veil = solidBrush(argb(0x00FFFFFF, veilAlpha()));
          gp::GdipFillRectangleI(g.get(), veil.get(), 0, 0, area.right - area.left, area.bottom - area.top);
      }) {}

HBITMAP VeiledBitmap(HWND control, bool* kept) {
    const RECT area = VeiledArea(control);
    const int w = area.right - area.left, h = area.bottom - area.top;
    const VeiledPicture veiled(control, area);
    if (kept) *kept = veiled.kept();
    if (!veiled.dc()) return nullptr;
    HBITMAP copy = CreateCompatibleBitmap(veiled.dc(), w > 0 ? w : 1, h > 0 ? h : 1);
    {
        const MemoryDC copyDC(veiled.dc());
        const Selection selected(copyDC.get(), copy);
        BitBlt(copyDC.get(), 0, 0, w, h, veiled.dc(), 0, 0, SRCCOPY);
    }
    return copy;
}

void addOutline(Gdiplus::GpPath* path, const PathOutline& outline) {
    for (const PathPiece& p : outline.pieces) {
        if (p.kind == PathPiece::Line) {
            gp::GdipAddPathLine(path, p.x1, p.y1, p.x2, p.y2);
        } else {
            gp::GdipAddPathArc(path, p.x, p.y, p.w, p.h, p.start, p.sweep);
        }
    }
    if (outline.closed) gp::GdipClosePathFigure(path);
}

void RoundedPath(Gdiplus::GpPath* path, float x, float y, float width, float height, int corner) {
    addOutline(path, roundedPath(x, y, width, height, corner));
}

void TopRoundedPath(Gdiplus::GpPath* path, float x, float y, float width, float height, float corner) {
    addOutline(path, topRoundedPath(x, y, width, height, corner));
}

void Glow(Gdiplus::GpGraphics* g, Gdiplus::GpPath* path, int rings, COLORREF colour, int alpha) {
    Pen pen;
    gp::GdipCreatePen1(argb(colour, alpha), 1.0f, Gdiplus::UnitWorld, pen.out());
    pen.adopt();
    for (int i = 1; i <= rings; ++i) {
        gp::GdipSetPenWidth(pen.get(), static_cast<float>(i));
        gp::GdipDrawPath(g, pen.get(), path);
    }
}

Brush solidBrush(std::uint32_t argbColour) {
    Brush brush;
    gp::GdipCreateSolidFill(argbColour, reinterpret_cast<Gdiplus::GpSolidFill**>(brush.out()));
    brush.adopt();
    return brush;
}

Brush verticalGradient(float x, float y0, float y1, std::uint32_t from, std::uint32_t to) {
    Brush brush;
    if (y1 <= y0) y1 = y0 + 1;  // a gradient needs two distinct points
    const Gdiplus::PointF a(x, y0), b(x, y1);
    gp::GdipCreateLineBrush(&a, &b, from, to, Gdiplus::WrapModeTileFlipXY,
                            reinterpret_cast<Gdiplus::GpLineGradient**>(brush.out()));
    brush.adopt();
    return brush;
}

Brush horizontalGradient(float x0, float x1, float y, std::uint32_t from, std::uint32_t to) {
    Brush brush;
    if (x1 <= x0) x1 = x0 + 1;
    const Gdiplus::PointF a(x0, y), b(x1, y);
    gp::GdipCreateLineBrush(&a, &b, from, to, Gdiplus::WrapModeTileFlipXY,
                            reinterpret_cast<Gdiplus::GpLineGradient**>(brush.out()));
    brush.adopt();
    return brush;
}

bool veilEnabled() {
    SkinEngine* engine = SkinEngine::current();
    return engine && engine->settings().veilEnabled;
}

int veilAlpha() {
    SkinEngine* engine = SkinEngine::current();
    return engine ? engine->settings().veilAlpha : 160;
}

COLORREF themeColour() {
    SkinEngine* engine = SkinEngine::current();
    return engine ? engine->settings().themeColour : 0x00DDCA22;
}

COLORREF textColourOf(HWND control) {
    const SkinEngine* engine = SkinEngine::current();
    return engine ? engine->chosenTextColour(control).value_or(0x00000000) : 0x00000000;
}

Graphics graphicsOn(HDC dc) {
    Graphics g;
    if (dc) gp::GdipCreateFromHDC(dc, g.out());
    g.adopt();
    return g;
}

namespace {

bool clipIsInfinite(Gdiplus::GpGraphics* g) {
    Gdiplus::GpRegion* clip = nullptr;
    if (gp::GdipCreateRegion(&clip) != Gdiplus::Ok) return false;
    BOOL infinite = FALSE;
    const bool read = gp::GdipGetClip(g, clip) == Gdiplus::Ok &&
                      gp::GdipIsInfiniteRegion(clip, g, &infinite) == Gdiplus::Ok;
    gp::GdipDeleteRegion(clip);
    return read && infinite;
}

}  // namespace

void strokeAlongEdges(Gdiplus::GpGraphics* g, const RECT& area, int band,
                      std::initializer_list<std::pair<Gdiplus::GpPen*, Gdiplus::GpPath*>> strokes) {
    if (!g) return;
    // The graphics library blends a path through a buffer of the path's
    // bounds. Outlines along the edges are drawn band by band instead, each
    // band through a graphics of its own size: the same pixels, as the
    // bands do not overlap and their offsets are whole.
    const int w = area.right - area.left, h = area.bottom - area.top;
    HDC target = nullptr;
    if (w <= 2 * band || h <= 2 * band || gp::GdipGetDC(g, &target) != Gdiplus::Ok || !target) {
        for (const auto& [pen, path] : strokes) gp::GdipDrawPath(g, pen, path);
        return;
    }
    const RECT bands[] = {{area.left, area.top, area.right, area.top + band},
                          {area.left, area.bottom - band, area.right, area.bottom},
                          {area.left, area.top + band, area.left + band, area.bottom - band},
                          {area.right - band, area.top + band, area.right, area.bottom - band}};
    for (const RECT& piece : bands) {
        const int pw = piece.right - piece.left, ph = piece.bottom - piece.top;
        MemoryCanvas canvas;
        canvas.select(createMemoryBitmap(pw, ph));
        if (!canvas.dc()) continue;
        BitBlt(canvas.dc(), 0, 0, pw, ph, target, piece.left, piece.top, SRCCOPY);
        {
            Graphics pg = graphicsOn(canvas.dc());
            gp::GdipTranslateWorldTransform(pg.get(), static_cast<float>(-piece.left), static_cast<float>(-piece.top),
                                            Gdiplus::MatrixOrderPrepend);
            for (const auto& [pen, path] : strokes) gp::GdipDrawPath(pg.get(), pen, path);
        }
        BitBlt(target, piece.left, piece.top, pw, ph, canvas.dc(), 0, 0, SRCCOPY);
    }
    gp::GdipReleaseDC(g, target);
}

SectionPixels sectionOf(HDC dc) {
    DIBSECTION section{};
    HGDIOBJ bitmap = dc ? GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
    if (!bitmap || GetObjectW(bitmap, sizeof(section), &section) != sizeof(section)) return {};
    if (!section.dsBm.bmBits || section.dsBm.bmBitsPixel != 32 || section.dsBmih.biCompression != BI_RGB) return {};
    POINT viewport{}, window{};
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &window);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    const int clipped = clip ? GetClipRgn(dc, clip) : -1;
    if (clip) DeleteObject(clip);
    if (viewport.x || viewport.y || window.x || window.y || clipped != 0 || GetMapMode(dc) != MM_TEXT) return {};
    return {static_cast<std::uint32_t*>(section.dsBm.bmBits), section.dsBm.bmWidth, section.dsBm.bmHeight,
            section.dsBmih.biHeight > 0};
}

void clearGraphics(Gdiplus::GpGraphics* g, std::uint32_t argbColour) {
    if (!g) return;
    // An opaque clear of a whole 32-bit section writes the colour's ARGB
    // value into every pixel: written here directly, for a fraction of the
    // graphics library's clear, which under Wine blends a temporary
    // buffer the size of the section.
    HDC dc = nullptr;
    if ((argbColour >> 24) == 0xFF && clipIsInfinite(g) && gp::GdipGetDC(g, &dc) == Gdiplus::Ok) {
        const SectionPixels section = sectionOf(dc);
        if (section) {
            GdiFlush();
            std::fill(section.bits, section.bits + static_cast<size_t>(section.width) * section.height, argbColour);
        }
        gp::GdipReleaseDC(g, dc);
        if (section) return;
    }
    gp::GdipGraphicsClear(g, argbColour);
}

Pen solidPen(std::uint32_t argbColour, float width) {
    Pen pen;
    gp::GdipCreatePen1(argbColour, width, Gdiplus::UnitWorld, pen.out());
    pen.adopt();
    return pen;
}

Path newPath() {
    Path path;
    gp::GdipCreatePath(Gdiplus::FillModeAlternate, path.out());
    path.adopt();
    return path;
}

Path roundedShape(float x, float y, float width, float height, int corner) {
    Path path = newPath();
    if (path) RoundedPath(path.get(), x, y, width, height, corner);
    return path;
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

std::wstring WindowTextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int read = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(read > 0 ? read : 0));
    return text;
}

std::wstring ClassNameOf(HWND hwnd) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(hwnd, name, 255);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

bool IsOwnerDrawListBox(HWND hwnd) {
    if (ClassNameOf(hwnd) != L"ListBox") return false;
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

bool DispatchDrawItem(int windowIndex, const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    const ControlPlace<ButtonEntry> p = placeOf(item.hwndItem, ButtonProc, &WindowRecord::buttonEntries);
    if (!p || p.windowIndex != windowIndex) return false;
    const ButtonEntry& entry = *p.entry;
    switch (entry.kind) {
    case kPushButton:
        PaintPushButton(item.hwndItem, item.hDC, item.itemState, item.rcItem);
        return true;
    case kOnePictureButton:
    case kFourPictureButton:
        PaintPictureButton(entry, item.hwndItem, item.hDC, item.itemState, item.rcItem);
        return true;
    default:
        return false;  // radio buttons and check boxes are not owner-drawn
    }
}

}  // namespace skin
