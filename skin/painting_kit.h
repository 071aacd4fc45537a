// Shared machinery of the skin's painters: the captured background behind a
// control, the veiled bitmap behind WM_CTLCOLOR* brushes, rounded paths,
// glow strokes and the owner-draw dispatch.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>

#include "skin/backdrop_cache.h"
#include "skin/gdiplus_owners.h"
#include "skin/skin_geometry.h"

namespace skin {

// A memory DC holding a copy of what lies behind `control` in `rect`
// (size of the rectangle). Released with ReleaseBackground. `keepable` (when
// given) tells whether pictures made from it may be kept (backdrop_cache.h):
// the backdrop is the skin's own.
HDC CaptureBackground(HWND control, const RECT& rect, bool* keepable = nullptr);
void ReleaseBackground(HDC dc);
// Captured backgrounds still held (for tests).
int capturedBackgrounds();

// The client area of a control inside its window rectangle, as the veiled
// background covers it.
RECT VeiledArea(HWND control);

// The control's captured background under a white veil of the engine's veil
// alpha, as a compatible bitmap owned by the caller.
// `kept` (when given): whether it was made from a kept picture.
HBITMAP VeiledBitmap(HWND control, bool* kept = nullptr);

// Adds outlines to a GDI+ path.
void addOutline(Gdiplus::GpPath* path, const PathOutline& outline);
void RoundedPath(Gdiplus::GpPath* path, float x, float y, float width, float height, int corner);
void TopRoundedPath(Gdiplus::GpPath* path, float x, float y, float width, float height, float corner);
// Piles `rings` strokes of widths 1..rings into a soft halo.
void Glow(Gdiplus::GpGraphics* g, Gdiplus::GpPath* path, int rings, COLORREF colour, int alpha);

// GDI+ graphics on a DC (empty for a null DC).
Graphics graphicsOn(HDC dc);
// Draws each path with its pen, as GdipDrawPath does, for outlines that lie
// within `band` pixels of the edges of `area` (device units, no transform).
void strokeAlongEdges(Gdiplus::GpGraphics* g, const RECT& area, int band,
                      std::initializer_list<std::pair<Gdiplus::GpPen*, Gdiplus::GpPath*>> strokes);
// The pixels of the 32-bit section selected into a plain memory DC (no clip
// region, no moved origin), as GDI addresses them: empty otherwise.
struct SectionPixels {
    std::uint32_t* bits = nullptr;
    int width = 0, height = 0;
    bool bottomUp = true;
    explicit operator bool() const { return bits != nullptr; }
    std::uint32_t* row(int y) const {
        return bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) * static_cast<size_t>(width);
    }
};
SectionPixels sectionOf(HDC dc);
// Clears the graphics to `argbColour`, as GdipGraphicsClear does.
void clearGraphics(Gdiplus::GpGraphics* g, std::uint32_t argbColour);
// An empty path that fills by the alternate rule.
Path newPath();
// A solid pen in world units.
Pen solidPen(std::uint32_t argbColour, float width = 1.0f);
// A closed rounded rectangle as a path of its own.
Path roundedShape(float x, float y, float width, float height, int corner);
// A linear gradient between two points (a point pair made distinct).
Brush lineGradient(float x0, float y0, float x1, float y1, std::uint32_t from, std::uint32_t to);

// The control's background in `rect` with `paint` drawn over it: the
// picture kept as `what` while nothing it depends on has changed (`variant`:
// what `paint` depends on), else made now, and kept when its backdrop is the
// skin's own.
class BackdropPicture {
public:
    BackdropPicture(HWND control, KeptPicture what, const RECT& rect, std::uint64_t variant,
                    const std::function<void(HDC)>& paint);
    ~BackdropPicture() { ReleaseBackground(made_); }
    BackdropPicture(const BackdropPicture&) = delete;
    BackdropPicture& operator=(const BackdropPicture&) = delete;
    HDC dc() const { return dc_; }
    bool kept() const { return dc_ && dc_ != made_; }

private:
    HDC made_ = nullptr;
    HDC dc_ = nullptr;
};

// The control's background in `area` under the white veil of the engine's veil alpha.
struct VeiledPicture : BackdropPicture {
    VeiledPicture(HWND control, const RECT& area);
};

// A captured background released on every path.
class CapturedBackground {
public:
    CapturedBackground(HWND control, const RECT& rect) : dc_(CaptureBackground(control, rect)) {}
    ~CapturedBackground() { ReleaseBackground(dc_); }
    CapturedBackground(const CapturedBackground&) = delete;
    CapturedBackground& operator=(const CapturedBackground&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_;
};

// A control's WM_PAINT under way, for the kinds that draw their frame on
// WM_NCPAINT as well: the system sends that from within the paint
// (BeginPaint) when the frame is invalid too, and the kind notes it, so that
// the paint does not draw the same frame a second time.
class FramePaintWatch {
public:
    explicit FramePaintWatch(HWND control) : control_(control), outer_(current_) { current_ = this; }
    ~FramePaintWatch() { current_ = outer_; }
    FramePaintWatch(const FramePaintWatch&) = delete;
    FramePaintWatch& operator=(const FramePaintWatch&) = delete;
    bool framePainted() const { return framePainted_; }
    // The kind drew `control`'s frame.
    static void noteFramePainted(HWND control) {
        for (FramePaintWatch* w = current_; w; w = w->outer_) {
            if (w->control_ == control) w->framePainted_ = true;
        }
    }

private:
    static inline FramePaintWatch* current_ = nullptr;
    HWND control_;
    FramePaintWatch* outer_;
    bool framePainted_ = false;
};

// The engine's settings read by the control kinds (their defaults without an engine).
bool veilEnabled();
int veilAlpha();
COLORREF themeColour();
// The colour the skin writes a control's text in: the one chosen for it with
// SetControlTextColour (which writes its Kj_Ztys property too), else black.
COLORREF textColourOf(HWND control);

// Brushes used all over the skin.
Brush solidBrush(std::uint32_t argbColour);
Brush verticalGradient(float x, float y0, float y1, std::uint32_t from, std::uint32_t to);
Brush horizontalGradient(float x0, float x1, float y, std::uint32_t from, std::uint32_t to);

// A window's text (wide form), empty when it has none.
std::wstring WindowTextOf(HWND hwnd);

// Class name of a window (wide form).
std::wstring ClassNameOf(HWND hwnd);
bool IsOwnerDrawListBox(HWND hwnd);

// WM_DRAWITEM of the frame and of containers: owner-drawn skinned buttons
// go to their painter. True when the skin painted the item.
bool DispatchDrawItem(int windowIndex, const DRAWITEMSTRUCT& item);

}  // namespace skin
