// Window surface composition: the off-screen client image of a skinned
// window, its caption and status caches, and its presentation.
#include <algorithm>
#include <string>
#include <string_view>

#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

// Rebuilds a cache canvas as a copy of the surface's rectangle.
void rebuildCache(MemoryCanvas& cache, HDC surface, const IntRect& r) {
    cache.reset();
    cache.select(createMemoryBitmap(r.w, r.h));
    if (r.w > 0 && r.h > 0) BitBlt(cache.dc(), 0, 0, r.w, r.h, surface, r.x, r.y, SRCCOPY);
}

// The picture's 32-bit ARGB pixels, row by row (empty when unreadable).
std::vector<std::uint32_t> pixelsOf(const Picture& picture) {
    std::vector<std::uint32_t> pixels;
    const Gdiplus::GpRect area(0, 0, picture.width, picture.height);
    Gdiplus::BitmapData data{};
    if (!picture.decoded || gp::GdipBitmapLockBits(picture.decoded.get(), &area, Gdiplus::ImageLockModeRead,
                                                   PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        return pixels;
    }
    pixels.reserve(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        pixels.insert(pixels.end(), row, row + picture.width);
    }
    gp::GdipBitmapUnlockBits(picture.decoded.get(), &data);
    return pixels;
}

// The picture's pixels stretched to `p`. The graphics library's own
// bilinear stretch of a window-sized picture takes some 300 ms under Wine;
// scaling the pixels here takes a few milliseconds, and the scaled copy is
// kept for the next composition at the same size. Empty when unreadable.
const std::vector<std::uint32_t>& scaledPixels(WindowRecord& r, const Picture& picture, const Placement& p) {
    WindowRecord::ScaledBackground& cache = r.scaledBackground;
    if (cache.source != picture.decoded.get() || cache.width != p.width || cache.height != p.height) {
        const std::vector<std::uint32_t> source = pixelsOf(picture);
        cache.pixels =
            source.empty() ? source : scaleBilinear(source.data(), picture.width, picture.height, p.width, p.height);
        cache.source = picture.decoded.get();
        cache.width = p.width;
        cache.height = p.height;
    }
    return cache.pixels;
}

// Draws the picture stretched to `p`, from its scaled pixels, unscaled.
void drawStretched(Gdiplus::GpGraphics* g, const Picture& picture, const std::vector<std::uint32_t>& pixels,
                   const Placement& p) {
    if (pixels.empty()) {
        gp::GdipDrawImageRectI(g, picture.decoded.image(), p.x, p.y, p.width, p.height);
        return;
    }
    Bitmap scaled;
    gp::GdipCreateBitmapFromScan0(p.width, p.height, p.width * 4, PixelFormat32bppARGB,
                                  reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.data())), scaled.out());
    scaled.adopt();
    if (scaled) gp::GdipDrawImageRectI(g, scaled.image(), p.x, p.y, p.width, p.height);
}

bool allOpaque(const std::vector<std::uint32_t>& pixels) {
    if (pixels.empty()) return false;
    for (std::uint32_t pixel : pixels) {
        if ((pixel >> 24) != 0xFF) return false;
    }
    return true;
}

// The graphics' clip as a GDI region in device units (`device` null: no
// clip); `ok` false when it cannot be read.
struct ClipRegion {
    Gdiplus::GpRegion* region = nullptr;
    HRGN device = nullptr;
    bool ok = false;
    explicit ClipRegion(Gdiplus::GpGraphics* g) {
        ok = gp::GdipCreateRegion(&region) == Gdiplus::Ok && gp::GdipGetClip(g, region) == Gdiplus::Ok &&
             gp::GdipGetRegionHRgn(region, g, &device) == Gdiplus::Ok;
    }
    ~ClipRegion() {
        if (device) DeleteObject(device);
        if (region) gp::GdipDeleteRegion(region);
    }
    ClipRegion(const ClipRegion&) = delete;
    ClipRegion& operator=(const ClipRegion&) = delete;
};

// Opaque pixels copied straight onto the graphics' device within its clip:
// the same pixels as drawing them, for a fraction of the graphics library's
// blending of a window-sized picture under Wine. False when nothing was
// copied (the caller then draws).
bool copyOpaquePixels(Gdiplus::GpGraphics* g, const std::vector<std::uint32_t>& pixels, const Placement& p) {
    const ClipRegion clip(g);
    if (!clip.ok) return false;
    HDC dc = nullptr;
    if (gp::GdipGetDC(g, &dc) != Gdiplus::Ok || !dc) return false;
    const int saved = SaveDC(dc);
    if (clip.device) SelectClipRgn(dc, clip.device);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;  // top-down rows, as scaled
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int copied = SetDIBitsToDevice(dc, p.x, p.y, static_cast<DWORD>(p.width), static_cast<DWORD>(p.height), 0, 0,
                                         0, static_cast<UINT>(p.height), pixels.data(), &info, DIB_RGB_COLORS);
    RestoreDC(dc, saved);
    gp::GdipReleaseDC(g, dc);
    return copied > 0;
}

// The rectangles of a region (device units).
std::vector<RECT> rectanglesOf(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0) return {};
    std::vector<BYTE> data(size);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (GetRegionData(region, size, header) != size) return {};
    const auto* rects = reinterpret_cast<const RECT*>(header->Buffer);
    return std::vector<RECT>(rects, rects + header->rdh.nCount);
}

// The picture stretched to `p` and scaled straight into the 32-bit section
// the graphics draws on, within its clip: the pixels copyOpaquePixels lays
// from the scaled picture, without a window-sized buffer in between (each
// fresh page of one costs a fault under Wine). False when the graphics
// draws on no such section (the caller then copies).
bool scaleOpaqueInto(Gdiplus::GpGraphics* g, const std::vector<std::uint32_t>& source, const Picture& picture,
                     const Placement& p) {
    const ClipRegion clip(g);
    if (!clip.ok) return false;
    HDC dc = nullptr;
    if (gp::GdipGetDC(g, &dc) != Gdiplus::Ok || !dc) return false;
    const SectionPixels section = sectionOf(dc);
    if (section) {
        const std::vector<RECT> rects =
            clip.device ? rectanglesOf(clip.device) : std::vector<RECT>{{0, 0, section.width, section.height}};
        std::vector<RowSpan> spans;
        for (const RECT& r : rects) {
            const int left = std::max<int>({r.left, p.x, 0});
            const int right = std::min<int>({r.right, p.x + p.width, section.width});
            const int top = std::max<int>({r.top, p.y, 0});
            const int bottom = std::min<int>({r.bottom, p.y + p.height, section.height});
            for (int y = top; y < bottom && left < right; ++y) spans.push_back({y - p.y, left - p.x, right - p.x});
        }
        GdiFlush();
        scaleBilinearSpans(source.data(), picture.width, picture.height, p.width, p.height, spans,
                           [&](int y, int x0) { return section.row(p.y + y) + p.x + x0; });
    }
    gp::GdipReleaseDC(g, dc);
    return static_cast<bool>(section);
}

void drawMirrorTiled(Gdiplus::GpGraphics* g, const Picture& picture, int clientWidth) {
    Bitmap strip;
    gp::GdipCreateBitmapFromScan0(clientWidth > 0 ? clientWidth : 1, picture.height, 0, PixelFormat32bppARGB, nullptr,
                                  strip.out());
    strip.adopt();
    if (!strip) return;
    Bitmap tile;
    gp::GdipCloneBitmapAreaI(0, 0, picture.width, picture.height, PixelFormat32bppARGB, picture.decoded.get(),
                             tile.out());
    tile.adopt();
    if (!tile) return;
    {
        Graphics sg;
        gp::GdipGetImageGraphicsContext(strip.image(), sg.out());
        sg.adopt();
        for (int x : mirrorTileOffsets(picture.width, clientWidth)) {
            gp::GdipDrawImageRectI(sg.get(), tile.image(), x, 0, picture.width, picture.height);
            gp::GdipImageRotateFlip(tile.image(), Gdiplus::RotateNoneFlipX);
        }
    }
    gp::GdipDrawImageI(g, strip.image(), 0, 0);
}

// Lays the frame layer on the surface where anything was drawn over it since
// the last composition laid it (all of it when `whole`, or when what was
// drawn cannot be told), and starts noting what is drawn from now on. The
// surface DC's bounds see every drawing through it, the graphics library's
// included; a whole copy costs a window's worth of memory traffic.
void layFrameLayer(WindowRecord& r, int width, int height, bool whole) {
    HDC surface = r.surface.dc();
    RECT since{};
    const bool drawnSince = GetBoundsRect(surface, &since, DCB_RESET) == DCB_SET;
    if (whole || !r.surfaceBoundsKept) {
        BitBlt(surface, 0, 0, width, height, r.frameLayer.dc(), 0, 0, SRCCOPY);
    } else {
        if (drawnSince) r.drawnOverFrameLayer.push_back(since);
        for (const RECT& drawn : r.drawnOverFrameLayer) {
            RECT area{};
            const RECT all{0, 0, width, height};
            if (!IntersectRect(&area, &drawn, &all)) continue;
            BitBlt(surface, area.left, area.top, area.right - area.left, area.bottom - area.top, r.frameLayer.dc(),
                   area.left, area.top, SRCCOPY);
        }
    }
    r.drawnOverFrameLayer.clear();
    SetBoundsRect(surface, nullptr, DCB_RESET | DCB_ENABLE);
    r.surfaceBoundsKept = true;
}

// Notes what the composition drew on the surface since the last note.
void noteDrawnOverFrameLayer(WindowRecord& r) {
    RECT drawn{};
    if (GetBoundsRect(r.surface.dc(), &drawn, DCB_RESET) == DCB_SET) r.drawnOverFrameLayer.push_back(drawn);
}

}  // namespace

void SkinEngine::ApplyRoundRegion(HWND hwnd) {
    SetWindowRgn(hwnd, nullptr, TRUE);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(hwnd, &client);
    GdiObject region(CreateRoundRectRgn(0, 0, client.right + 1, client.bottom + 1, 5, 5));
    // From here on the region belongs to the window.
    if (region && SetWindowRgn(hwnd, region.region(), TRUE)) region.release();
}

HDC SkinEngine::ExcludeChildrenDC(HWND hwnd, HDC dc) {
    if (!dc) return nullptr;
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    for (HWND child : childrenOf(hwnd)) {
        if (!IsWindowVisible(child)) continue;
        if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT) continue;
        if (registry_.indexOf(child) != 0) continue;
        RECT rc;
        GetWindowRect(child, &rc);
        ExcludeClipRect(dc, rc.left - origin.x, rc.top - origin.y, rc.right - origin.x, rc.bottom - origin.y);
    }
    return dc;
}

void SkinEngine::RefreshChildren(int windowIndex) {
    WindowRecord* r = record(windowIndex);
    if (!r) return;
    auto direct = [r](HWND control) { return control && GetParent(control) == r->hwnd; };
    for (const FrameEntry& e : r->frameEntries) {
        if (!direct(e.hwnd)) continue;
        InvalidateRect(e.hwnd, nullptr, TRUE);
        for (HWND child = GetWindow(e.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
        }
    }
    for (const ComboEntry& e : r->comboEntries) {
        if (direct(e.hwnd)) InvalidateRect(e.hwnd, nullptr, TRUE);
    }
    for (const EditEntry& e : r->editEntries) {
        if (direct(e.hwnd)) InvalidateRect(e.hwnd, nullptr, TRUE);
    }
    for (const ButtonEntry& e : r->buttonEntries) {
        if (direct(e.hwnd)) InvalidateRect(e.hwnd, nullptr, FALSE);
    }
    for (const TrackBarEntry& e : r->trackBarEntries) {
        if (direct(e.hwnd)) InvalidateRect(e.hwnd, nullptr, FALSE);
    }
    for (const ProgressEntry& e : r->progressEntries) {
        if (direct(e.hwnd)) InvalidateRect(e.hwnd, nullptr, FALSE);
    }
    for (const UpDownEntry& e : r->upDownEntries) {
        if (direct(e.hwnd)) InvalidateRect(e.hwnd, nullptr, FALSE);
    }
    // Containers copy the surface: they and the controls in them follow it.
    for (const ContainerEntry& e : r->containerEntries) {
        if (direct(e.hwnd)) RedrawWindow(e.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void SkinEngine::ComposeWindow(int windowIndex, HDC dc, bool present) {
    WindowRecord* r = record(windowIndex);
    if (!r) return;
    backdropChanged();
    HWND hwnd = r->hwnd;
    RECT client;
    GetClientRect(hwnd, &client);
    const int W = client.right, H = client.bottom;
    // The region follows every size change; an unchanged size keeps it.
    if (r->regionSize.cx != W || r->regionSize.cy != H || !r->surface.dc()) {
        ApplyRoundRegion(hwnd);
        r->regionSize = {W, H};
    }
    const bool sizeChanged = r->frameLayerSize.cx != W || r->frameLayerSize.cy != H;
    if (sizeChanged || !r->surface.dc()) r->surface.select(createMemoryBitmap(W, H));
    if (!r->surface.dc()) return;
    if (!GetPropW(hwnd, kPropSurfaceInitial)) SetPropW(hwnd, kPropSurfaceInitial, r->surface.initial());
    SetPropW(hwnd, kPropSurfaceBitmap, r->surface.bitmap());
    const bool frameRebuilt = sizeChanged || !r->frameLayer.dc();
    if (frameRebuilt) {
        r->frameLayer.select(createMemoryBitmap(W, H));
        r->frameLayerSize = {W, H};
        ++r->frameLayerVersion;
        Graphics g = graphicsOn(r->frameLayer.dc());
        DrawBackground(g.get(), windowIndex);
        if (r->framed) DrawBorder(windowIndex, g.get());
    }
    layFrameLayer(*r, W, H, sizeChanged || frameRebuilt);
    if (r->framed && (frameRebuilt || r->captionCacheSize.cx != W || r->captionCacheSize.cy != r->captionHeight)) {
        rebuildCache(r->captionCache, r->frameLayer.dc(), {0, 0, W, r->captionHeight});
        r->captionCacheSize = {W, r->captionHeight};
    }
    const IntRect status = r->statusBarHeight > 0 ? r->statusBar : IntRect{};
    if (frameRebuilt || !(r->statusCacheRect == status)) {
        rebuildCache(r->statusCache, r->frameLayer.dc(), status);
        r->statusCacheRect = status;
    }
    {
        Graphics g = graphicsOn(r->surface.dc());
        if (r->framed) {
            composeCaption(windowIndex, *r, g.get(), W, H);
            noteDrawnOverFrameLayer(*r);
        }
        if (r->statusBarHeight > 0) {
            for (int n = 1; n <= static_cast<int>(r->statusPanels.size()); ++n) {
                DrawStatusPanel(g.get(), windowIndex, true, n);
            }
            noteDrawnOverFrameLayer(*r);
        }
    }
    if (present) {
        // A paint DC handed in stays the caller's (EndPaint releases it).
        const WindowDC target(hwnd, dc);
        BitBlt(ExcludeChildrenDC(hwnd, target.get()), 0, 0, W, H, r->surface.dc(), 0, 0, SRCCOPY);
        r->recomposeNeeded = false;
        if (!settings_.firstSizePending) RefreshChildren(windowIndex);
    } else {
        r->recomposeNeeded = false;
    }
}

std::uint64_t SkinEngine::captionKey(const WindowRecord& r, int width, int bandHeight) const {
    wchar_t text[512] = {};
    GetWindowTextW(r.hwnd, text, 512);
    std::uint64_t key = variantOf(
        {static_cast<std::int64_t>(r.frameLayerVersion), width, bandHeight, r.showTitle, r.maximized,
         static_cast<std::int64_t>(std::hash<std::wstring_view>{}(text)), static_cast<std::int64_t>(r.titleColour),
         static_cast<std::int64_t>(r.titleHaloColour),
         static_cast<std::int64_t>(std::hash<std::wstring>{}(r.titleFontName)), r.titleFontSize, r.titleBold,
         reinterpret_cast<std::intptr_t>(settings_.appIcon), stripMargin_, r.strip.left, r.strip.top, r.strip.width,
         r.strip.height});
    for (size_t n = 0; n < r.buttons.size(); ++n) {
        const ButtonGeometry& b = r.buttons[n];
        const CaptionButtonArt& art = r.buttonArt[n];
        key = variantOf({static_cast<std::int64_t>(key), b.kind, b.width, b.height, static_cast<std::int64_t>(b.hit.x),
                         static_cast<std::int64_t>(b.hit.y), reinterpret_cast<std::intptr_t>(art.image.decoded.get()),
                         reinterpret_cast<std::intptr_t>(art.altImage.decoded.get())});
    }
    return key;
}

// The title and the buttons at rest: drawn when anything they depend on has
// changed since the last composition, else copied as it drew them.
void SkinEngine::composeCaption(int windowIndex, WindowRecord& r, Gdiplus::GpGraphics* g, int width, int height) {
    const IntRect band = titleBand(width, r.strip.width, stripMargin_);
    const int bandHeight = std::min(height, std::max({r.captionHeight, band.y + band.h + 2, stripMargin_ + 35,
                                                      r.strip.top + r.strip.height + 2}));
    const std::uint64_t key = captionKey(r, width, bandHeight);
    if (key == r.composedCaptionKey && r.composedCaption.dc()) {
        BitBlt(r.surface.dc(), 0, 0, width, bandHeight, r.composedCaption.dc(), 0, 0, SRCCOPY);
        return;
    }
    if (r.showTitle) DrawTitle(windowIndex, g, true);
    for (int n = 1; n <= static_cast<int>(r.buttons.size()); ++n) DrawCaptionButton(windowIndex, n, g, true, false, 0);
    gp::GdipFlush(g, Gdiplus::FlushIntentionSync);
    rebuildCache(r.composedCaption, r.surface.dc(), {0, 0, width, bandHeight});
    r.composedCaptionKey = key;
}

void SkinEngine::PresentWindow(int windowIndex, HDC dc) {
    WindowRecord* r = record(windowIndex);
    if (!r || !r->surface.dc()) return;
    RECT outer;
    GetWindowRect(r->hwnd, &outer);
    // A DC that was handed in belongs to the caller (the paint DC).
    const WindowDC target(r->hwnd, dc);
    BitBlt(ExcludeChildrenDC(r->hwnd, target.get()), 0, 0, outer.right - outer.left, outer.bottom - outer.top,
           r->surface.dc(), 0, 0, SRCCOPY);
}

void SkinEngine::DrawBackground(Gdiplus::GpGraphics* g, int windowIndex) {
    WindowRecord* r = record(windowIndex);
    if (!r || !g) return;
    RECT client;
    GetClientRect(r->hwnd, &client);
    const int W = client.right, H = client.bottom;
    clearGraphics(g, argb(0x00FF00FF, 255));
    Path clip;
    gp::GdipCreatePath(Gdiplus::FillModeAlternate, clip.out());
    clip.adopt();
    RoundedPath(clip.get(), 0, 0, static_cast<float>(W), static_cast<float>(H), 4);
    gp::GdipSetClipPath(g, clip.get(), Gdiplus::CombineModeReplace);
    const bool own = !r->ownPicture.empty();
    const Picture& picture = own ? r->ownPicture : settings_.themePicture;
    const int mode = own ? r->ownPictureMode : settings_.pictureMode;
    const Placement p = picture.decoded && mode != kPictureMirrorTiled
                            ? placePicture(mode, picture.width, picture.height, W, H)
                            : Placement{};
    const bool stretched = p.draw && (p.width != picture.width || p.height != picture.height);
    // An opaque picture over the whole area hides the base colour: it alone
    // is laid, scaled or copied straight in (both take the time of a
    // window-sized blend under Wine). Blends of opaque pixels are opaque.
    const bool covers = p.x <= 0 && p.y <= 0 && p.x + p.width >= W && p.y + p.height >= H;
    bool laidAlone = false;
    if (stretched && covers) {
        const std::vector<std::uint32_t> source = pixelsOf(picture);
        laidAlone = allOpaque(source) &&
                    (scaleOpaqueInto(g, source, picture, p) || copyOpaquePixels(g, scaledPixels(*r, picture, p), p));
    }
    if (!laidAlone) {
        Brush fill = solidBrush(argb(own ? r->ownBackColour : settings_.baseColour, 255));
        gp::GdipFillPath(g, fill.get(), clip.get());
        if (picture.decoded && mode == kPictureMirrorTiled) {
            drawMirrorTiled(g, picture, W);
        } else if (stretched) {
            drawStretched(g, picture, scaledPixels(*r, picture, p), p);
        } else if (p.draw) {
            gp::GdipDrawImageRectI(g, picture.decoded.image(), p.x, p.y, p.width, p.height);
        }
    }
    if (r->captionGloss) {
        Brush gloss =
            verticalGradient(0, 0, static_cast<float>(r->captionHeight), argb(0x00FFFFFF, 150), argb(0x00FFFFFF, 0));
        gp::GdipFillRectangleI(g, gloss.get(), 0, 0, W, r->captionHeight);
    }
}

void SkinEngine::DrawBorder(int windowIndex, Gdiplus::GpGraphics* g) {
    WindowRecord* r = record(windowIndex);
    if (!r || !r->framed || !g) return;
    RECT client;
    GetClientRect(r->hwnd, &client);
    const auto W = static_cast<float>(client.right), H = static_cast<float>(client.bottom);
    const Pen dark = solidPen(argb(0x00000000, 180)), light = solidPen(argb(0x00FFFFFF, 180));
    const Path outer = roundedShape(0, 0, W - 1, H - 1, 7), inner = roundedShape(1, 1, W - 3, H - 3, 6);
    strokeAlongEdges(g, {0, 0, client.right, client.bottom}, 12, {{dark.get(), outer.get()}, {light.get(), inner.get()}});
}

bool SkinEngine::SetWindowPicture(HWND hwnd, const std::vector<BYTE>& bytes, std::optional<int> mode) {
    WindowRecord* r = record(registry_.indexOf(hwnd));
    if (!r || r->hwnd != hwnd || bytes.empty()) return false;
    if (mode) r->ownPictureMode = *mode;
    Picture source = pictureFrom(bytes);
    r->scaledBackground = {};
    r->frameLayer.reset();
    r->ownBackColour = AverageColour(source.decoded.get());
    if (isFadedPictureMode(r->ownPictureMode)) {
        r->ownPicture = pictureFrom(PrepareTexture(source.decoded.get(), r->ownPictureMode, r->ownBackColour));
    } else {
        r->ownPicture = std::move(source);
    }
    r->recomposeNeeded = true;
    InvalidateRect(hwnd, nullptr, FALSE);
    return true;
}

}  // namespace skin
