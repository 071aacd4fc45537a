// Track bars and progress bars: drawn entirely by the skin over the
// captured backdrop, a soft panel, a rounded channel or bar and a thumb,
// with the theme colour as the accent.
#include <windows.h>

#include <commctrl.h>

#include "skin/control_borders.h"
#include "skin/control_fonts.h"
#include "skin/control_geometry.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"
#include "skin/track_bars.h"

namespace skin {

namespace {

constexpr int kHotTrackBar = 2;

// Draws `draw(g, w, h)` over the control's captured background and copies
// the result onto the control's own DC; false when nothing could be drawn.
template <class Draw>
bool paintOverBackground(HWND control, Draw draw) {
    RECT client;
    GetClientRect(control, &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return false;
    const CapturedBackground capture(control, client);
    if (!capture.dc()) return false;
    {
        Graphics g = graphicsOn(capture.dc());
        draw(g.get(), w, h);
    }
    WindowDC dc(control);
    if (dc.get()) BitBlt(dc.get(), 0, 0, w, h, capture.dc(), 0, 0, SRCCOPY);
    return true;
}

void drawTrackBarPanel(Gdiplus::GpGraphics* g, int w, int h, bool vertical) {
    Path outline = roundedShape(0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), 5);
    Pen pen = solidPen(argb(0x00000000, 30));
    gp::GdipDrawPath(g, pen.get(), outline.get());
    Path inner = roundedShape(1, 1, static_cast<float>(w - 2), static_cast<float>(h - 2), 3);
    Brush fill = vertical ? horizontalGradient(0, static_cast<float>(w - 1), 0, argb(0x00FFFFFF, 160), argb(0, 30))
                          : verticalGradient(0, 0, static_cast<float>(h - 1), argb(0x00FFFFFF, 160), argb(0, 30));
    gp::GdipFillPath(g, fill.get(), inner.get());
}

void drawTrackBarFigure(Gdiplus::GpGraphics* g, const TrackBarFigure& f, const TrackBarState& s, COLORREF theme) {
    const RectF& c = f.channel;
    Path channel = roundedShape(c.x, c.y, c.width, c.height, 1);
    // Across the thickness, from the path's top-left corner.
    Brush channelFill = s.vertical ? horizontalGradient(c.x, c.x + c.width, c.y, argb(0, 50), argb(0, 30))
                                   : verticalGradient(c.x, c.y, c.y + c.height, argb(0, 50), argb(0, 30));
    gp::GdipFillPath(g, channelFill.get(), channel.get());

    if (f.hasSelection && f.selection.width >= 0 && f.selection.height >= 0) {
        Pen pen = solidPen(argb(0x00FFFFFF, 160));
        gp::GdipDrawRectangle(g, pen.get(), f.selection.x, f.selection.y, f.selection.width, f.selection.height);
    }

    const RectF& t = f.thumb;
    Path thumb;
    gp::GdipCreatePath(Gdiplus::FillModeAlternate, thumb.out());
    thumb.adopt();
    gp::GdipAddPathEllipse(thumb.get(), t.x, t.y, t.width, t.height);
    Brush white = solidBrush(argb(0x00FFFFFF, 255));
    gp::GdipFillPath(g, white.get(), thumb.get());
    const float channelLength = static_cast<float>(s.channelRight - s.channelLeft);
    const float thumbLeft = static_cast<float>(s.thumbLeft);
    Brush shade = lineGradient(thumbLeft, t.y, thumbLeft, t.y + channelLength, argb(0x00FFFFFF, 0), argb(0, 90));
    gp::GdipFillPath(g, shade.get(), thumb.get());
    Pen rim = solidPen(argb(0, 50));
    gp::GdipDrawPath(g, rim.get(), thumb.get());

    const RectF& v = f.valueLine;
    if (v.width >= 0 && v.height >= 0) {  // a thumb before the channel's start has no line
        Pen pen = solidPen(argb(theme, 200));
        gp::GdipDrawRectangle(g, pen.get(), v.x, v.y, v.width, v.height);
    }
}

}  // namespace

TrackBarState readTrackBar(const TrackBarEntry& t) {
    TrackBarState s;
    RECT channel{}, thumb{};
    SendMessageW(t.hwnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageW(t.hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    // A vertical track bar reports its channel in horizontal terms (the
    // length across left..right); some implementations report it as it lies
    // on the screen, which is taller than wide: turn that into the same terms.
    if (t.vertical && channel.bottom - channel.top > channel.right - channel.left) {
        channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
    }
    s.channelLeft = channel.left;
    s.channelTop = channel.top;
    s.channelRight = channel.right;
    s.channelBottom = channel.bottom;
    s.thumbLeft = thumb.left;
    s.thumbTop = thumb.top;
    s.vertical = t.vertical;
    s.selectionRange = t.selectionRange;
    s.tickPlacement = t.tickPlacement;
    s.hot = t.hot;
    s.position = static_cast<int>(SendMessageW(t.hwnd, TBM_GETPOS, 0, 0));
    s.rangeMax = static_cast<int>(SendMessageW(t.hwnd, TBM_GETRANGEMAX, 0, 0));
    if (t.selectionRange) {
        s.selectionStart = static_cast<int>(SendMessageW(t.hwnd, TBM_GETSELSTART, 0, 0));
        s.selectionEnd = static_cast<int>(SendMessageW(t.hwnd, TBM_GETSELEND, 0, 0));
    }
    return s;
}

void DrawTrackBar(int windowIndex, int control) {
    const SkinEngine* engine = SkinEngine::current();
    const TrackBarEntry* t = placeOf(windowIndex, control, &WindowRecord::trackBarEntries).entry;
    if (!engine || !t) return;
    const SkinSettings& settings = engine->settings();
    const bool painted = paintOverBackground(t->hwnd, [&](Gdiplus::GpGraphics* g, int w, int h) {
        const TrackBarState state = readTrackBar(*t);
        if (settings.trackBarStyle != 0) drawTrackBarPanel(g, w, h, t->vertical);
        drawTrackBarFigure(g, trackBarFigure(state), state, settings.themeColour);
    });
    if (painted) ++paintCounts().trackBar;
}

void DrawProgressBar(int windowIndex, int control) {
    const SkinEngine* engine = SkinEngine::current();
    const ProgressEntry* p = placeOf(windowIndex, control, &WindowRecord::progressEntries).entry;
    if (!engine || !p) return;
    const COLORREF theme = engine->settings().themeColour;
    const bool painted = paintOverBackground(p->hwnd, [&](Gdiplus::GpGraphics* g, int w, int h) {
        PBRANGE range{};
        SendMessageW(p->hwnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        const int position = static_cast<int>(SendMessageW(p->hwnd, PBM_GETPOS, 0, 0));
        const ProgressFill fill = progressFill(w, h, p->vertical, position, range.iLow, range.iHigh);
        Path outline = roundedShape(0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), 5);
        Pen pen = solidPen(argb(0, 50));
        gp::GdipDrawPath(g, pen.get(), outline.get());
        Path panel = roundedShape(1, 1, static_cast<float>(w - 2), static_cast<float>(h - 2), 1);
        Brush panelFill = p->vertical
                              ? horizontalGradient(0, static_cast<float>(w - 1), 0, argb(0x00FFFFFF, 160), argb(0, 30))
                              : verticalGradient(0, 0, static_cast<float>(h - 1), argb(0x00FFFFFF, 160), argb(0, 30));
        gp::GdipFillPath(g, panelFill.get(), panel.get());
        if (!fill.filled) return;
        const RectF& b = fill.bar;
        Path bar = roundedShape(b.x, b.y, b.width, b.height, 3);
        Brush barFill = p->vertical
                            ? horizontalGradient(b.x, b.x + b.width, b.y, argb(0x00FFFFFF, 90), argb(theme, 255))
                            : verticalGradient(b.x, b.y, b.y + b.height, argb(0x00FFFFFF, 90), argb(theme, 255));
        gp::GdipFillPath(g, barFill.get(), bar.get());
        Pen edge = solidPen(argb(theme, 150));
        gp::GdipDrawPath(g, edge.get(), bar.get());
    });
    if (painted) ++paintCounts().progress;
}

void hookTrackBars(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren) return;
    forEachChildOfClass(parent, TRACKBAR_CLASSW, [&](HWND control) {
        const auto style = static_cast<unsigned>(GetWindowLongW(control, GWL_STYLE));
        TrackBarEntry* t = registerControl(windowIndex, control, &WindowRecord::trackBarEntries, TrackBarProc);
        if (!t) return;
        t->vertical = style & TBS_VERT;
        t->tickPlacement = trackBarTickPlacement(style);
        t->selectionRange = style & TBS_ENABLESELRANGE;
        t->hot = false;
    });
}

void hookProgressBars(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren) return;
    forEachChildOfClass(parent, PROGRESS_CLASSW, [&](HWND control) {
        ProgressEntry* p = registerControl(windowIndex, control, &WindowRecord::progressEntries, ProgressBarProc);
        if (p) p->vertical = GetWindowLongW(control, GWL_STYLE) & PBS_VERTICAL;
    });
}

namespace {

using TrackBarPlace = ControlPlace<TrackBarEntry>;
using ProgressPlace = ControlPlace<ProgressEntry>;

void onTrackBarMouseOver(const TrackBarPlace& p, HWND, LPARAM) {
    if (!isHot(p, kHotTrackBar)) {
        p.entry->hot = true;
        DrawTrackBar(p.windowIndex, p.entryIndex);
        makeHot(p, kHotTrackBar);
    }
}

void onTrackBarMouseLeave(const TrackBarPlace& p, HWND, LPARAM) {
    p.entry->hot = false;
    p.record->hotControl = 0;
    DrawTrackBar(p.windowIndex, p.entryIndex);
}

// The whole control is the skin's: painted in place of the control, then validated.
LRESULT paintAndValidate(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, void (*draw)(int, int), int i, int k) {
    {
        const PaintDC paint(control);
        draw(i, k);
    }
    return DefWindowProcW(control, msg, wParam, lParam);
}

// The messages of both kinds the skin acts on; a track bar also hovers.
constexpr UINT kPaintingMessages[] = {WM_MOVE, WM_PAINT, WM_ERASEBKGND, WM_NCPAINT};

// The painting messages of both kinds, with their painter.
template <typename Entry>
std::optional<LRESULT> onPainting(const ControlPlace<Entry>& p, HWND control, UINT msg, WPARAM wParam, LPARAM lParam,
                                  void (*draw)(int, int)) {
    switch (msg) {
    case WM_MOVE:
        draw(p.windowIndex, p.entryIndex);
        return std::nullopt;
    case WM_PAINT:
        return paintAndValidate(control, msg, wParam, lParam, draw, p.windowIndex, p.entryIndex);
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_NCPAINT:
        draw(p.windowIndex, p.entryIndex);
        return 1;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> onTrackBarMessage(const TrackBarPlace& p, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return onPainting(p, control, msg, wParam, lParam, DrawTrackBar);
}

std::optional<LRESULT> onProgressMessage(const ProgressPlace& p, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return onPainting(p, control, msg, wParam, lParam, DrawProgressBar);
}

}  // namespace

LRESULT CALLBACK TrackBarProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<TrackBarEntry, &WindowRecord::trackBarEntries, kPaintingMessages, onTrackBarMessage,
                            onTrackBarMouseOver, onTrackBarMouseLeave>(TrackBarProc, control, msg, wParam, lParam);
}

LRESULT CALLBACK ProgressBarProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<ProgressEntry, &WindowRecord::progressEntries, kPaintingMessages, onProgressMessage>(
        ProgressBarProc, control, msg, wParam, lParam);
}

}  // namespace skin
