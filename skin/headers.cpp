// Header controls: the column bar of a list view and any header placed on a
// skinned window. Each column becomes a translucent gradient cell with a
// thin divider, its icon and its caption trimmed with an ellipsis; a header
// with button columns also shows the column under the mouse and the pressed
// one. The header keeps its own behaviour (sizing, notifications).
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "skin/control_borders.h"
#include "skin/control_fonts.h"
#include "skin/control_geometry.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/headers.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

constexpr int kHotHeader = 9;

void registerHeader(HWND header, int windowIndex) {
    ListViewEntry* added = registerControl(windowIndex, header, &WindowRecord::listViewEntries, HeaderProc);
    if (!added) return;
    ListViewEntry& e = *added;
    e = ListViewEntry{{e.hwnd, e.previous}};
    e.buttons = GetWindowLongW(header, GWL_STYLE) & HDS_BUTTONS;
    e.imageList = reinterpret_cast<HIMAGELIST>(SendMessageW(header, HDM_GETIMAGELIST, 0, 0));
    // The header's own font, in a list view and on a window alike.
    const ControlFont font = readControlFont(header, defaultGuiFont());
    e.fontName = font.family;
    e.fontSize = font.size;
    e.fontStyle = font.style;
}

struct Column {
    RECT rect{};
    std::wstring text;
    int format = 0;
    int image = -1;
};

Column readColumn(HWND header, int n) {
    Column c;
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&c.rect));
    wchar_t text[260] = {};
    HDITEMW item{};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_BITMAP | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = 260;
    if (SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&item))) {
        c.text = text;
        c.format = item.fmt;
        c.image = item.iImage;
    }
    return c;
}

void drawColumnCell(Gdiplus::GpGraphics* g, const ListViewEntry& e, int n, int w, int h, const SkinSettings& s) {
    const COLORREF theme = s.themeColour;
    Brush white = solidBrush(argb(0x00FFFFFF, s.veilEnabled ? s.veilAlpha : 255));
    gp::GdipFillRectangleI(g, white.get(), 0, 0, w, h);
    const float bottom = static_cast<float>(h);
    Brush gradient = e.buttons ? verticalGradient(0, 0, bottom, argb(0x00FFFFFF, 80), argb(theme, 120))
                               : verticalGradient(0, 0, bottom, argb(theme, 60), argb(theme, 10));
    gp::GdipFillRectangleI(g, gradient.get(), 0, 0, w, h);
    if (e.buttons) {
        // The hot overlay stays on the column it was drawn on while the
        // button is down, whatever the mouse crosses meanwhile.
        if (n == e.shownColumn) {
            Brush hot = verticalGradient(0, 0, bottom, argb(theme, 60), argb(0, 30));
            gp::GdipFillRectangleI(g, hot.get(), 0, 0, w, h);
        }
        if (n == e.pressedColumn) {
            Brush down = verticalGradient(0, 0, bottom, argb(0, 30), argb(0x00FFFFFF, 120));
            gp::GdipFillRectangleI(g, down.get(), 0, 0, w, h);
        }
    }
    Brush dividerBrush = verticalGradient(0, 0, bottom, argb(0, 60), argb(0x00FFFFFF, 50));
    Pen divider;
    gp::GdipCreatePen2(dividerBrush.get(), 1.0f, Gdiplus::UnitWorld, divider.out());
    divider.adopt();
    const float x = static_cast<float>(w - 1);
    gp::GdipDrawLine(g, divider.get(), x, 0, x, bottom);
}

void drawColumnContent(Gdiplus::GpGraphics* g, const ListViewEntry& e, const Column& c, int w, int h, int margin) {
    const bool hasIcon = (c.format & HDF_IMAGE) && e.imageList && c.image >= 0;
    const OwnedIcon icon(hasIcon ? ImageList_GetIcon(e.imageList, c.image, ILD_TRANSPARENT) : nullptr);
    Bitmap picture;
    UINT iw = 0, ih = 0;
    if (icon.get()) {
        gp::GdipCreateBitmapFromHICON(icon.get(), picture.out());
        picture.adopt();
        if (picture) {
            gp::GdipGetImageWidth(picture.image(), &iw);
            gp::GdipGetImageHeight(picture.image(), &ih);
        }
    }
    const Font font = makeFont({e.fontName, e.fontSize, e.fontStyle}, Gdiplus::UnitWorld);
    StringFormat format;
    gp::GdipCreateStringFormat(0, LANG_NEUTRAL, format.out());
    format.adopt();
    gp::GdipSetStringFormatTrimming(format.get(), Gdiplus::StringTrimmingEllipsisCharacter);
    const int length = static_cast<int>(c.text.size());
    int textWidth = 1;
    if (font && length) {
        const Gdiplus::RectF open(0, 0, 10000, static_cast<float>(h));
        Gdiplus::RectF box;
        gp::GdipMeasureString(g, c.text.c_str(), length, font.get(), &open, nullptr, &box, nullptr, nullptr);
        textWidth = static_cast<int>(box.Width) + 1;
    }
    const int iconWidth = static_cast<int>(iw);
    const int x = headerTextX(static_cast<unsigned>(c.format) & 3u, w, iconWidth, margin, textWidth);
    if (picture)
        gp::GdipDrawImageRectI(g, picture.image(), x, (h - static_cast<int>(ih)) / 2, iconWidth, static_cast<int>(ih));
    if (font && length) {
        const Gdiplus::RectF layout(static_cast<float>(x + iconWidth), 0,
                                    static_cast<float>(w - iconWidth - 2 * margin), static_cast<float>(h));
        Brush black = solidBrush(argb(0, 255));
        gp::GdipDrawString(g, c.text.c_str(), length, font.get(), &layout, format.get(), black.get());
    }
}

}  // namespace

int HitTestHeader(int windowIndex, int control, LPARAM point) {
    const ListViewEntry* e = placeOf(windowIndex, control, &WindowRecord::listViewEntries).entry;
    if (!e) return 0;
    const int count = static_cast<int>(SendMessageW(e->hwnd, HDM_GETITEMCOUNT, 0, 0));
    std::vector<ColumnEdges> columns;
    for (int n = 0; n < count; ++n) {
        RECT r{};
        SendMessageW(e->hwnd, HDM_GETITEMRECT, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&r));
        columns.push_back({r.left, r.right});
    }
    return headerColumnAt(columns, GET_X_LPARAM(point));
}

void DrawHeader(int windowIndex, int control, HDC dc) {
    SkinEngine* engine = SkinEngine::current();
    const ListViewEntry* e = placeOf(windowIndex, control, &WindowRecord::listViewEntries).entry;
    if (!engine || !e) return;
    HWND header = e->hwnd;
    const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    const int margin = static_cast<int>(SendMessageW(header, HDM_GETBITMAPMARGIN, 0, 0));
    HWND parent = GetParent(header);
    const bool inListView = parent && ClassNameOf(parent) == WC_LISTVIEWW;
    const WindowDC own(header, dc);
    HDC target = own.get();
    if (!target) return;
    for (int n = 1; n <= count; ++n) {
        Column c = readColumn(header, n - 1);
        if (n == count && inListView) {
            // The bar always reaches the list view's right edge.
            RECT list;
            GetClientRect(parent, &list);
            c.rect.right = std::max(c.rect.right, list.right);
        }
        const int w = c.rect.right - c.rect.left, h = c.rect.bottom - c.rect.top;
        if (w <= 0 || h <= 0) continue;
        HDC capture = CaptureBackground(header, c.rect);
        if (!capture) continue;
        {
            Graphics g = graphicsOn(capture);
            drawColumnCell(g.get(), *e, n, w, h, engine->settings());
            drawColumnContent(g.get(), *e, c, w, h, margin);
        }
        BitBlt(target, c.rect.left, c.rect.top, w, h, capture, 0, 0, SRCCOPY);
        ReleaseBackground(capture);
    }
    ++paintCounts().header;
}

void hookHeaders(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren) return;
    forEachChildOfClass(parent, WC_HEADERW, [&](HWND header) { registerHeader(header, windowIndex); });
    forEachChildOfClass(parent, WC_LISTVIEWW, [&](HWND list) {
        if (HWND header = FindWindowExW(list, nullptr, WC_HEADERW, nullptr)) registerHeader(header, windowIndex);
    });
}

namespace {

using HeaderPlace = ControlPlace<ListViewEntry>;

void onMouseOver(const HeaderPlace& p, HWND, LPARAM lParam) {
    WindowRecord& r = *p.record;
    ListViewEntry& e = *p.entry;
    const int i = p.windowIndex, k = p.entryIndex;
    e.hot = true;
    e.hotColumn = HitTestHeader(i, k, lParam);
    r.hotKind = kHotHeader;
    if (e.shownColumn != e.hotColumn && e.hotColumn >= 1 && !e.pressed) {
        e.shownColumn = e.hotColumn;
        DrawHeader(i, k, nullptr);
    } else if (e.hotColumn == 0 && e.shownColumn != 0) {
        // Between columns: the overlay goes once, not on every move.
        e.shownColumn = 0;
        e.hot = false;
        DrawHeader(i, k, nullptr);
    }
    r.hotControl = r.lastMovedControl;
}

void onMouseLeave(const HeaderPlace& p, HWND, LPARAM) {
    p.record->hotControl = 0;
    p.entry->shownColumn = 0;
    p.entry->hotColumn = 0;
    p.entry->hot = false;
    DrawHeader(p.windowIndex, p.entryIndex, nullptr);
}

// The messages this procedure acts on; every other one goes straight on.
constexpr UINT kMessages[] = {WM_MOVE, WM_PAINT, WM_ERASEBKGND, WM_LBUTTONDOWN, WM_LBUTTONUP};

std::optional<LRESULT> onMessage(const HeaderPlace& p, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    ListViewEntry& e = *p.entry;
    switch (msg) {
    case WM_MOVE:
        DrawHeader(p.windowIndex, p.entryIndex, nullptr);
        break;
    case WM_PAINT: {
        {
            const PaintDC paint(control);
            DrawHeader(p.windowIndex, p.entryIndex, nullptr);
        }
        return DefWindowProcW(control, msg, wParam, lParam);
    }
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_LBUTTONDOWN:
        e.pressed = true;
        if (e.hotColumn >= 1) e.pressedColumn = e.hotColumn;
        break;
    case WM_LBUTTONUP:
        e.pressed = false;
        e.pressedColumn = 0;
        break;
    }
    return std::nullopt;
}

}  // namespace

LRESULT CALLBACK HeaderProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<ListViewEntry, &WindowRecord::listViewEntries, kMessages, onMessage, onMouseOver,
                            onMouseLeave>(HeaderProc, control, msg, wParam, lParam);
}

}  // namespace skin
