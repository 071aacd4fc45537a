// Containers of skinned windows: registration, the subclass procedure, and
// the painting of a container from its owner's surface (group boxes with
// their outlines and caption).
#include "skin/containers.h"

#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "skin/buttons.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

constexpr wchar_t kFallbackFamily[] = L"宋体";
constexpr float kFallbackSize = 12;

long g_paints = 0;

using ContainerContext = ControlPlace<ContainerEntry>;

ContainerContext containerAt(int owner, int index) { return placeOf(owner, index, &WindowRecord::containerEntries); }

ContainerContext containerOf(HWND container) {
    return placeOf(container, ContainerProc, &WindowRecord::containerEntries);
}

bool isGroupBox(HWND hwnd) {
    return _wcsicmp(ClassNameOf(hwnd).c_str(), L"Button") == 0 &&
           (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The nearest ancestor that provides its own backdrop, or nullptr.
HWND backdropProvider(HWND container) {
    for (HWND w = GetParent(container); w; w = GetParent(w)) {
        if (providesBackdrop(w)) return w;
    }
    return nullptr;
}

void stroke(Gdiplus::GpGraphics* g, std::uint32_t colour, const Path& path) {
    Pen pen;
    gp::GdipCreatePen1(colour, 1.0f, Gdiplus::UnitWorld, pen.out());
    pen.adopt();
    if (pen && path) gp::GdipDrawPath(g, pen.get(), path.get());
}

// Windows with WS_EX_TRANSPARENT draw over whatever lies beneath them: the
// container's own ones and the siblings above it that overlap it (labels
// placed on the window over a group box) draw themselves again.
void refreshTransparentWindowsOver(HWND container) {
    for (HWND child : childrenOf(container)) {
        if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT) InvalidateRect(child, nullptr, FALSE);
    }
    RECT box;
    GetWindowRect(container, &box);
    // The siblings above it: those listed before it.
    for (HWND sibling : childrenOf(GetParent(container))) {
        if (sibling == container) break;
        if (!(GetWindowLongW(sibling, GWL_EXSTYLE) & WS_EX_TRANSPARENT) || !IsWindowVisible(sibling)) continue;
        RECT label, overlap;
        GetWindowRect(sibling, &label);
        if (IntersectRect(&overlap, &box, &label)) InvalidateRect(sibling, nullptr, FALSE);
    }
}

// Everything a container's picture depends on besides its backdrop.
std::uint64_t pictureVariant(const ContainerEntry& entry) {
    HWND box = entry.hwnd;
    return variantOf({static_cast<std::int64_t>(entry.tint), entry.tintAlpha, entry.outline, entry.isGroupBox,
                      static_cast<std::int64_t>(std::hash<std::wstring>{}(entry.captionFamily)),
                      static_cast<std::int64_t>(entry.captionSize * 64), entry.captionStyle,
                      static_cast<std::int64_t>(std::hash<std::wstring>{}(WindowTextOf(box))),
                      GetWindowLongW(box, GWL_STYLE) & (BS_LEFT | BS_RIGHT), static_cast<std::int64_t>(textColourOf(box))});
}

// The container's picture (its backdrop, tint, outline and caption), kept
// while nothing it depends on changes: composed once per size and tint.
class ContainerPicture : public BackdropPicture {
public:
    ContainerPicture(const ContainerContext& c, const RECT& client)
        : BackdropPicture(c.entry->hwnd, KeptPicture::Container, client, pictureVariant(*c.entry),
                          [&c, &client](HDC dc) { paintOver(c, client, dc); }) {}

private:
    static void paintOver(const ContainerContext& c, const RECT& client, HDC capture) {
        if (c.entry->isGroupBox) {
            DrawGroupBox(*c.engine, c.windowIndex, c.entryIndex, capture);
        } else if (c.entry->outline) {
            Graphics g = graphicsOn(capture);
            if (g) {
                const auto w = static_cast<float>(client.right), h = static_cast<float>(client.bottom);
                stroke(g.get(), argb(0x00000000, 40), roundedShape(0, 0, w - 1, h - 1, 5));
                stroke(g.get(), argb(0x00FFFFFF, 100), roundedShape(1, 1, w - 3, h - 3, 3));
            }
        }
        ++g_paints;
    }
};

// A container painted before its owner's first composition would copy an
// empty surface.
void composeOwnerFirst(const ContainerContext& c) {
    if (!c.record->surface.dc()) c.engine->ComposeWindow(c.windowIndex, nullptr, false);
}

LRESULT onPaint(HWND container, const ContainerContext& c) {
    {
        const PaintDC paint(container);
        if (HDC dc = paint.get()) {
            if (c.entry->dirty) {
                ComposeContainer(*c.engine, c.windowIndex, c.entryIndex, dc);
            } else {
                PresentContainer(*c.engine, c.windowIndex, c.entryIndex, container, dc);
            }
        }
    }
    return DefWindowProcW(container, WM_PAINT, 0, 0);
}

LRESULT onShowWindow(const ContainerContext& p, HWND container, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = passOn(p, WM_SHOWWINDOW, wParam, lParam);
    // The procedures before may have changed the records: look again.
    const ContainerContext c = containerOf(container);
    if (c && c.entry->enabled) ComposeContainer(*c.engine, c.windowIndex, c.entryIndex, nullptr);
    return result;
}

// A button the skin painted is not handed on: the procedures behind (which
// forward the item to the window) would have it painted a second time.
std::optional<LRESULT> onDrawItem(const ContainerContext& c, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!item) return std::nullopt;
    const DRAWITEMSTRUCT copy = *item;
    if (DispatchDrawItem(c.windowIndex, copy)) return TRUE;
    return std::nullopt;
}

LRESULT onSetText(const ContainerContext& c, HWND container, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = passOn(c, WM_SETTEXT, wParam, lParam);
    // The caption is the skin's drawing: the new text needs a new picture.
    InvalidateRect(container, nullptr, FALSE);
    return result;
}

// The messages this procedure acts on; every other one goes straight on.
constexpr UINT kMessages[] = {
    WM_MOVE,   WM_SIZE,    WM_PAINT,        WM_ERASEBKGND,      WM_SHOWWINDOW,  WM_SETTEXT,       WM_DRAWITEM,
    WM_NOTIFY, WM_COMMAND, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC};

std::optional<LRESULT> onMessage(const ContainerContext& c, HWND container, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool enabled = c.entry->enabled;
    switch (msg) {
    case WM_MOVE:
        if (enabled && c.entry->tintAlpha != 255) InvalidateRect(container, nullptr, FALSE);
        break;
    case WM_SIZE:
        c.entry->dirty = true;
        break;
    case WM_PAINT:
        if (enabled) return onPaint(container, c);
        break;
    case WM_ERASEBKGND:
        if (!enabled) break;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_SHOWWINDOW:
        if (wParam == 1) return onShowWindow(c, container, wParam, lParam);
        break;
    case WM_SETTEXT:
        return onSetText(c, container, wParam, lParam);
    case WM_DRAWITEM:
        if (const auto done = onDrawItem(c, lParam)) return *done;
        break;
    case WM_NOTIFY:
        repaintExpandingTree(lParam);
        break;
    case WM_COMMAND:
        c.engine->onCommand(wParam, lParam);
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        // Answered as the window answers it, and held for the window, so
        // that the window's teardown releases it.
        if (const auto brush = c.engine->onControlColour(GetAncestor(container, GA_ROOT), msg, wParam, lParam)) {
            return *brush;
        }
        break;
    }
    return std::nullopt;
}

}  // namespace

long containerPaints() { return g_paints; }

int groupBoxCaptionX(LONG style, int width, int textWidth) {
    const bool left = style & BS_LEFT, right = style & BS_RIGHT;
    if (left && right) return (width - textWidth) / 2;
    if (left) return 10;
    return width - textWidth - 10;
}

LRESULT CALLBACK ContainerProc(HWND container, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<ContainerEntry, &WindowRecord::containerEntries, kMessages, onMessage>(
        ContainerProc, container, msg, wParam, lParam);
}

void ComposeContainer(SkinEngine& engine, int ownerIndex, int containerIndex, HDC dc) {
    const ContainerContext c = containerAt(ownerIndex, containerIndex);
    if (!c || !c.entry->hwnd) return;
    HWND container = c.entry->hwnd;
    RECT client;
    GetClientRect(container, &client);
    composeOwnerFirst(c);
    const ContainerPicture picture(c, client);
    if (!picture.dc()) return;
    // The children draw themselves: they are clipped out of the target.
    const WindowDC own(container, dc);
    if (HDC target = engine.ExcludeChildrenDC(container, own.get())) {
        BitBlt(target, 0, 0, client.right, client.bottom, picture.dc(), 0, 0, SRCCOPY);
    }
    c.entry->dirty = false;
    refreshTransparentWindowsOver(container);
}

void PresentContainer(SkinEngine& engine, int ownerIndex, int containerIndex, HWND container, HDC paintDC) {
    (void)paintDC;  // the picture goes through a DC with the children clipped out
    const ContainerContext c = containerAt(ownerIndex, containerIndex);
    if (!c || c.entry->hwnd != container) return;
    RECT client;
    GetClientRect(container, &client);
    composeOwnerFirst(c);
    const ContainerPicture picture(c, client);
    if (!picture.dc()) return;
    const WindowDC own(container);
    if (HDC target = engine.ExcludeChildrenDC(container, own.get())) {
        BitBlt(target, 0, 0, client.right, client.bottom, picture.dc(), 0, 0, SRCCOPY);
    }
    refreshTransparentWindowsOver(container);
}

void DrawGroupBox(SkinEngine& engine, int ownerIndex, int containerIndex, HDC dc) {
    const ContainerContext c = containerAt(ownerIndex, containerIndex);
    if (!c || !c.entry->hwnd || !dc) return;
    const ContainerEntry& entry = *c.entry;
    HWND box = entry.hwnd;
    RECT client;
    GetClientRect(box, &client);
    const int w = client.right, h = client.bottom;
    Graphics g = graphicsOn(dc);
    if (!g) return;
    {
        const Pen dark = solidPen(argb(0x00000000, 40)), light = solidPen(argb(0x00FFFFFF, 90));
        const Path outer = roundedShape(0, 5, static_cast<float>(w - 1), static_cast<float>(h - 6), 5);
        const Path inner = roundedShape(1, 6, static_cast<float>(w - 3), static_cast<float>(h - 8), 3);
        strokeAlongEdges(g.get(), {0, 5, w, h}, 12, {{dark.get(), outer.get()}, {light.get(), inner.get()}});
    }

    const float size = entry.captionSize > 0 ? entry.captionSize : kFallbackSize;
    const std::wstring family = entry.captionFamily.empty() ? kFallbackFamily : entry.captionFamily;
    Font font;
    gp::GdipCreateFont(engine.fontFamily(family), size, entry.captionStyle, Gdiplus::UnitWorld, font.out());
    font.adopt();
    StringFormat format;
    gp::GdipCreateStringFormat(0, LANG_NEUTRAL, format.out());
    format.adopt();
    if (!font || !format) return;
    gp::GdipSetStringFormatAlign(format.get(), Gdiplus::StringAlignmentCenter);
    const std::wstring text = WindowTextOf(box);
    const auto length = static_cast<int>(text.size());
    Gdiplus::RectF bounds(0, 0, 0, 0);
    {
        // Measured on a screen-compatible DC, as the text is laid out there.
        const MemoryDC screenDC(nullptr);
        Graphics measure = graphicsOn(screenDC.get());
        const Gdiplus::RectF unbounded(0, 0, 0, 0);
        if (measure && length > 0) {
            gp::GdipMeasureString(measure.get(), text.c_str(), length, font.get(), &unbounded, format.get(), &bounds,
                                  nullptr, nullptr);
        }
        measure.reset();
    }
    const int tw = static_cast<int>(std::floor(bounds.Width)) + 1;
    const int x = groupBoxCaptionX(GetWindowLongW(box, GWL_STYLE), w, tw);
    const int th = static_cast<int>(size) + 3;

    // The caption's rectangle shows what lies behind the box, not its outline.
    gp::GdipFlush(g.get(), Gdiplus::FlushIntentionSync);
    HDC source = nullptr;
    POINT offset{0, 0};
    if (HWND provider = backdropProviderOf(box)) {
        source = providedBackdrop(provider);
        RECT boxRect, providerRect;
        GetWindowRect(box, &boxRect);
        GetWindowRect(provider, &providerRect);
        offset = {boxRect.left - providerRect.left, boxRect.top - providerRect.top};
    } else {
        source = c.record->surface.dc();
        MapWindowPoints(box, c.record->hwnd, &offset, 1);
    }
    if (source) BitBlt(dc, x, 1, tw, th, source, offset.x + x, offset.y + 1, SRCCOPY);
    if (entry.showsTint()) {
        Brush tint = solidBrush(argb(entry.tint, entry.tintAlpha));
        gp::GdipFillRectangleI(g.get(), tint.get(), x, 1 + 4, tw, th - 4);
    }
    if (length > 0) {
        Brush colour = solidBrush(argb(textColourOf(box), 255));
        const Gdiplus::RectF layout(static_cast<float>(x), 1, static_cast<float>(tw), static_cast<float>(th));
        gp::GdipDrawString(g.get(), text.c_str(), length, font.get(), &layout, format.get(), colour.get());
    }
}

int SkinEngine::SkinContainer(HWND container, bool enabled, COLORREF tintColour, int tintAlpha, bool frameOutline) {
    if (!container || !IsWindow(container)) return 0;
    int owner = 0;
    for (HWND w = GetParent(container); w && !owner; w = GetParent(w)) owner = registry_.indexOf(w);
    WindowRecord* r = record(owner);
    if (!r) return 0;
    for (size_t n = 0; n < r->containerEntries.size(); ++n) {
        if (r->containerEntries[n].hwnd == container) return static_cast<int>(n) + 1;
    }
    if (r->containerEntries.size() != 1 || r->containerEntries.front().hwnd) r->containerEntries.emplace_back();
    const int index = static_cast<int>(r->containerEntries.size());
    {
        ContainerEntry& entry = r->containerEntries.back();
        entry = ContainerEntry{};
        entry.hwnd = container;
        entry.enabled = enabled;
        entry.tint = tintColour;
        entry.tintAlpha = tintAlpha;
        entry.outline = frameOutline;
        entry.isGroupBox = isGroupBox(container);
        if (entry.isGroupBox) {
            const ControlFont font = readControlFont(container);
            entry.captionFamily = font.family;
            entry.captionSize = font.size;
            entry.captionStyle = font.style;
        }
    }
    // The controls directly inside go into the owner's lists.
    runControlHooks(*this, owner, container);
    ContainerEntry& entry = r->containerEntries[static_cast<size_t>(index - 1)];
    entry.dirty = true;
    SetPropW(container, kPropProvider, backdropProvider(container));
    attachControl(entry, container, owner, index, ContainerProc);
    backdropChanged();  // a tint now lies between the window and the controls inside
    InvalidateRect(container, nullptr, FALSE);
    return index;
}

void SkinEngine::PaintContainersBeneath(HWND transparent) {
    const int owner = registry_.indexOf(GetAncestor(transparent, GA_ROOT));
    const WindowRecord* r = record(owner);
    if (!r) return;
    HWND parent = GetParent(transparent);
    RECT own;
    GetWindowRect(transparent, &own);
    // Copied: painting may change the records.
    std::vector<HWND> waiting;
    for (const ContainerEntry& c : r->containerEntries) {
        if (!c.hwnd || !c.enabled || GetParent(c.hwnd) != parent) continue;
        RECT box, overlap;
        GetWindowRect(c.hwnd, &box);
        // Asked last: the update region is the server's to tell.
        if (IntersectRect(&overlap, &own, &box) && GetUpdateRect(c.hwnd, nullptr, FALSE)) waiting.push_back(c.hwnd);
    }
    for (HWND container : waiting) UpdateWindow(container);
}

void SkinEngine::SetContainerAlpha(HWND container, int alpha) {
    const ContainerContext c = containerOf(container);
    if (!c || c.entry->tint == 0) return;
    c.entry->tintAlpha = alpha;
    backdropChanged();
    InvalidateRect(container, nullptr, FALSE);
}

}  // namespace skin
