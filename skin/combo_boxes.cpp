// Combo boxes: the skin paints the whole combo box window (veiled
// background, frame, rounded drop button with its arrow and, for drop-down
// lists, the selected text) and leaves the areas of its child windows to
// them; its edit part is skinned as an edit box.
#include <windows.h>

#include <memory>

#include "res/resource_ids.h"
#include "skin/combo_boxes.h"
#include "skin/control_borders.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/edit_boxes.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

constexpr int kComboHotKind = 3;
// Style bits: the drop-down kinds show a drop button (CBS_DROPDOWN and
// CBS_DROPDOWNLIST hold it); the skin draws the text of the kinds without
// an edit part over theirs (CBS_SIMPLE and CBS_DROPDOWNLIST hold it).
constexpr LONG kWithDropButton = CBS_DROPDOWN;
constexpr LONG kTextOfItsOwn = CBS_SIMPLE;

using ComboPlace = ControlPlace<ComboEntry>;

bool isHotCombo(const ComboPlace& p) { return isHot(p, kComboHotKind); }

// Focused: the combo box itself or its edit part holds the focus.
bool hasFocusWithin(HWND combo) {
    HWND focus = GetFocus();
    return focus && (focus == combo || IsChild(combo, focus));
}

void paintCurrent(const ComboPlace& p, HWND combo) {
    PaintComboBox(combo, isHotCombo(p), p.entry->focused || hasFocusWithin(combo));
}

std::wstring selectedItemText(HWND combo) {
    const auto selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return {};
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == CB_ERR || length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied =
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

// Keeps the children's areas (shrunk by 2 for a list) in the colour key:
// the final copy is keyed on it, so they stay as the children painted them.
// Written by GDI, as the key compares whole pixels (a GDI+ fill would differ
// in its alpha byte).
void protectChildren(HDC dc, HWND combo, LONG style) {
    RECT window;
    GetWindowRect(combo, &window);
    const bool everyChild = (style & kTextOfItsOwn) != 0;
    GdiObject key(CreateSolidBrush(kColourKey));
    for (HWND child = GetWindow(combo, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        OffsetRect(&r, -window.left, -window.top);
        if (ClassNameOf(child) == L"ComboLBox") InflateRect(&r, -2, -2);
        FillRect(dc, &r, key.brush());
        if (!everyChild) break;
    }
}

void drawDropButton(Gdiplus::GpGraphics* g, int left, int top, int width, int height, bool hot) {
    const COLORREF theme = themeColour();
    {
        Path outline;
        gp::GdipCreatePath(Gdiplus::FillModeAlternate, outline.out());
        outline.adopt();
        RoundedPath(outline.get(), static_cast<float>(left), static_cast<float>(top), static_cast<float>(width - 1),
                    static_cast<float>(height - 1), 4);
        Pen pen = solidPen(hot ? argb(theme, 200) : argb(0x00000000, 80), 1);
        gp::GdipDrawPath(g, pen.get(), outline.get());
    }
    {
        Path inside;
        gp::GdipCreatePath(Gdiplus::FillModeAlternate, inside.out());
        inside.adopt();
        RoundedPath(inside.get(), static_cast<float>(left + 1), static_cast<float>(top + 1),
                    static_cast<float>(width - 2), static_cast<float>(height - 2), 1);
        Brush fill =
            hot ? verticalGradient(static_cast<float>(left + 1), static_cast<float>(top),
                                   static_cast<float>(top + height - 2), argb(0x00FFFFFF, 100), argb(theme, 150))
                : verticalGradient(static_cast<float>(left + 1), static_cast<float>(top),
                                   static_cast<float>(top + height - 2), argb(theme, 30), argb(theme, 100));
        gp::GdipFillPath(g, fill.get(), inside.get());
    }
    SkinEngine* engine = SkinEngine::current();
    const Picture* arrow = engine ? &engine->builtInPicture(IDR_UPDOWN_DOWN_PNG) : nullptr;
    if (arrow && arrow->decoded) {
        gp::GdipDrawImageRectI(g, arrow->decoded.image(), left + (width - 7) / 2, top + (height - 4) / 2, 7, 4);
    }
}

// The selected item's text on one line, in 宋体 12 pixels high (the text
// rectangle's height): cut with an ellipsis where the box is too narrow,
// never wrapped into the rows below.
void drawSelectedText(Gdiplus::GpGraphics* g, HWND combo, int w, int h) {
    const std::wstring text = WindowTextOf(combo);
    if (text.empty()) return;
    SkinEngine* engine = SkinEngine::current();
    if (!engine) return;
    Font font;
    gp::GdipCreateFont(engine->fontFamily(L"宋体"), 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel, font.out());
    font.adopt();
    if (!font) return;
    StringFormat format;
    gp::GdipCreateStringFormat(Gdiplus::StringFormatFlagsNoWrap, LANG_NEUTRAL, format.out());
    format.adopt();
    gp::GdipSetStringFormatTrimming(format.get(), Gdiplus::StringTrimmingEllipsisCharacter);
    Brush brush = solidBrush(argb(textColourOf(combo), 255));
    const Gdiplus::RectF layout(2, static_cast<float>((h - 12) / 2), static_cast<float>(w - 17),
                                static_cast<float>(h - 4));
    gp::GdipDrawString(g, text.c_str(), static_cast<INT>(text.size()), font.get(), &layout, format.get(), brush.get());
}

void onSetFocus(const ComboPlace& p, HWND combo) {
    p.entry->focused = true;
    PaintComboBox(combo, isHotCombo(p), true);
}

void onSetText(HWND combo) {
    if (FindWindowExW(combo, nullptr, L"Edit", nullptr)) InvalidateRect(combo, nullptr, TRUE);
}

// The whole window is painted once per paint: by the WM_NCPAINT that
// BeginPaint sends when the frame is invalid too, else here.
LRESULT onPaint(const ComboPlace& p, HWND combo, LPARAM lParam) {
    {
        const FramePaintWatch watch(combo);
        const PaintDC paint(combo);
        if (!watch.framePainted()) paintCurrent(p, combo);
    }
    return DefWindowProcW(combo, WM_PAINT, 0, lParam);
}

void onCommand(WPARAM wParam, LPARAM lParam) {
    SkinEngine* engine = SkinEngine::current();
    if (!engine || !engine->settings().veilEnabled || !engine->settings().skinChildren) return;
    auto sender = reinterpret_cast<HWND>(lParam);
    if (!sender || ClassNameOf(sender) != L"Edit") return;
    switch (HIWORD(wParam)) {
    case EN_VSCROLL:
    case EN_HSCROLL:
    case EN_CHANGE:
    case EN_UPDATE:
        InvalidateRect(sender, nullptr, TRUE);
        break;
    default:
        break;
    }
}

// The veiled pattern brush for the edit part, with the edit part's own
// text colour (or, while it has none of the skin's, the owner's).
LRESULT onEditColour(const ComboPlace& p, HWND combo, WPARAM wParam, LPARAM lParam) {
    SkinEngine* engine = SkinEngine::current();
    if (!engine || !engine->settings().veilEnabled) return passOn(p, WM_CTLCOLOREDIT, wParam, lParam);
    auto dc = reinterpret_cast<HDC>(wParam);
    auto edit = reinterpret_cast<HWND>(lParam);
    if (const std::optional<COLORREF> colour = engine->chosenTextColour(edit)) {
        SetTextColor(dc, *colour);
    } else {
        passOn(p, WM_CTLCOLOREDIT, wParam, lParam);  // the owner's text colour; its brush is not used
    }
    SetBkMode(dc, TRANSPARENT);
    return engine->veiledBrush(GetAncestor(combo, GA_ROOT), dc, edit);
}

void onMouseOver(const ComboPlace& p, HWND combo, LPARAM) {
    if (p.entryIndex >= 1 && !isHot(p, kComboHotKind)) {
        PaintComboBox(combo, true, p.entry->focused || hasFocusWithin(combo));
        makeHot(p, kComboHotKind);
    }
}

void onMouseLeave(const ComboPlace& p, HWND combo, LPARAM) {
    if (isHotCombo(p)) p.record->hotControl = 0;
    paintCurrent(p, combo);
}

std::optional<LRESULT> onMessage(const ComboPlace& p, HWND combo, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOVE:
        paintCurrent(p, combo);
        break;
    case WM_SETFOCUS:
        onSetFocus(p, combo);
        break;
    case WM_KILLFOCUS:
        p.entry->focused = false;
        break;
    case WM_SETTEXT:
        onSetText(combo);
        break;
    case WM_PAINT:
        return onPaint(p, combo, lParam);
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_NCPAINT:
        // The whole window is the skin's.
        paintCurrent(p, combo);
        FramePaintWatch::noteFramePainted(combo);
        return 0;
    case WM_COMMAND:
        onCommand(wParam, lParam);
        break;
    case WM_CTLCOLOREDIT:
        return onEditColour(p, combo, wParam, lParam);
    case CB_SETCURSEL:
    case CB_SELECTSTRING:
    case CB_RESETCONTENT: {
        // The system paints the new selection's text itself, in its own
        // look and over what the skin drew: the skin paints it again.
        const LRESULT result = passOn(p, msg, wParam, lParam);
        if (IsWindowVisible(combo)) paintCurrent(p, combo);
        return result;
    }
    }
    return std::nullopt;
}

// The messages this procedure acts on; every other one goes straight on.
constexpr UINT kMessages[] = {WM_MOVE,    WM_SETFOCUS, WM_KILLFOCUS,    WM_SETTEXT,   WM_PAINT,        WM_ERASEBKGND,
                              WM_NCPAINT, WM_COMMAND,  WM_CTLCOLOREDIT, CB_SETCURSEL, CB_SELECTSTRING, CB_RESETCONTENT};

LRESULT CALLBACK comboProcedure(HWND combo, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<ComboEntry, &WindowRecord::comboEntries, kMessages, onMessage, onMouseOver, onMouseLeave>(
        comboProcedure, combo, msg, wParam, lParam);
}

}  // namespace

void PaintComboBox(HWND combo, bool hot, bool focused) {
    RECT window;
    GetWindowRect(combo, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w <= 0 || h <= 0) return;
    const LONG style = GetWindowLongW(combo, GWL_STYLE);
    const int buttonWidth = (style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST ? 17 : 18;
    const int buttonTop = 2, buttonHeight = h - 4, buttonLeft = w - buttonWidth - 2;
    CapturedBackground capture(combo, {0, 0, w, h});
    if (!capture.dc()) return;
    {
        Graphics g = graphicsOn(capture.dc());
        if (veilEnabled()) {
            Brush veil = solidBrush(argb(0x00FFFFFF, veilAlpha()));
            gp::GdipFillRectangleI(g.get(), veil.get(), 0, 0, w, h);
        } else {
            gp::GdipGraphicsClear(g.get(), argb(0x00FFFFFF, 255));
        }
        Pen frame = solidPen((hot || focused) ? argb(themeColour(), 200) : argb(0x00000000, 80), 1);
        gp::GdipDrawRectangleI(g.get(), frame.get(), 0, 0, w - 1, h - 1);
        if (style & kWithDropButton) drawDropButton(g.get(), buttonLeft, buttonTop, buttonWidth, buttonHeight, hot);
        if (style & kTextOfItsOwn) drawSelectedText(g.get(), combo, w, h);
    }
    protectChildren(capture.dc(), combo, style);
    WholeWindowDC dc(combo);
    if (dc.get()) GdiTransparentBlt(dc.get(), 0, 0, w, h, capture.dc(), 0, 0, w, h, kColourKey);
}

void registerCombo(int windowIndex, HWND combo) {
    ComboEntry* entry = registerControl(windowIndex, combo, &WindowRecord::comboEntries, comboProcedure);
    if (!entry) return;
    entry->selectedText = selectedItemText(combo);
    if (!veilEnabled()) return;
    if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) registerEdit(windowIndex, edit);
}

}  // namespace skin
