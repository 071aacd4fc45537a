// Hooks and subclass procedure of skinned BUTTON controls: push buttons
// become owner-drawn, check boxes and automatic radio buttons keep their
// style and have their painting taken over; all of them light up once when
// the mouse comes over them.
#include "skin/buttons.h"

#include "skin/control_borders.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

constexpr wchar_t kButtonClass[] = L"Button";
constexpr int kHotButton = 0;
constexpr wchar_t kFallbackFamily[] = L"宋体";
constexpr float kFallbackSize = 12;

using ButtonPlace = ControlPlace<ButtonEntry>;

ButtonPlace buttonPlace(HWND control) { return placeOf(control, ButtonProc, &WindowRecord::buttonEntries); }

bool paintsItself(ControlButtonKind kind) { return kind == kRadioButton || kind == kCheckBox; }

// The state a check box or radio button is drawn in outside owner drawing.
UINT ownState(HWND control) { return IsWindowEnabled(control) ? 0 : kStateDisabled; }

void paintKind(const ButtonEntry& entry, HWND control, HDC dc, UINT state, const RECT& rect) {
    switch (entry.kind) {
    case kPushButton:
        PaintPushButton(control, dc, state, rect);
        break;
    case kRadioButton:
        PaintRadioButton(control, dc, state, rect);
        break;
    case kCheckBox:
        PaintCheckBox(control, dc, state, rect);
        break;
    case kOnePictureButton:
    case kFourPictureButton:
        PaintPictureButton(entry, control, dc, state, rect);
        break;
    default:
        break;
    }
}

// Messages after which the platform's button procedure may have drawn its
// own look straight onto the screen: a check box or radio button is drawn
// again over it.
bool mayPaintDirectly(UINT msg, WPARAM wParam) {
    switch (msg) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
        return wParam == VK_SPACE;
    default:
        return false;
    }
}

void repaintOwnLook(HWND control) {
    const ButtonPlace c = buttonPlace(control);
    if (!c || !paintsItself(c.entry->kind)) return;
    const bool hot = isHot(c, kHotButton);
    RepaintButton(control, ownState(control), hot);
}

LRESULT onPaint(HWND control, const ButtonEntry& entry) {
    {
        const PaintDC paint(control);
        RECT client;
        GetClientRect(control, &client);
        if (paint.get()) paintKind(entry, control, paint.get(), ownState(control), client);
    }
    return DefWindowProcW(control, WM_PAINT, 0, 0);
}

LRESULT onEraseBackground(HWND control, WPARAM wParam) {
    auto dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<LRESULT>(SetTextColor(dc, textColourOf(control)));
}

void onSetText(ButtonEntry& entry, LPARAM lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    entry.caption = text ? text : L"";
}

void onMouseOver(const ButtonPlace& c, HWND control, LPARAM) {
    if (!isHot(c, kHotButton)) {
        RepaintButton(control, paintsItself(c.entry->kind) ? ownState(control) : 0, true);
        makeHot(c, kHotButton);
    }
}

void onMouseLeave(const ButtonPlace& c, HWND control, LPARAM) {
    c.record->hotControl = 0;
    const UINT state = c.entry->focused ? kStateFocused : 0;
    RepaintButton(control, paintsItself(c.entry->kind) ? state | ownState(control) : state, false);
}

// Passes the message on; a check box or radio button is then drawn again.
LRESULT passThenRepaint(const ButtonPlace& c, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = passOn(c, msg, wParam, lParam);
    if (IsWindow(control)) repaintOwnLook(control);
    return result;
}

std::optional<LRESULT> onMessage(const ButtonPlace& c, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    const ControlButtonKind kind = c.entry->kind;
    switch (msg) {
    case WM_MOVE:
        InvalidateRect(control, nullptr, TRUE);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        c.entry->focused = msg == WM_SETFOCUS;
        break;
    case WM_SETTEXT:
        onSetText(*c.entry, lParam);
        break;
    case WM_PAINT:
        if (paintsItself(kind)) return onPaint(control, *c.entry);
        break;
    case WM_ERASEBKGND:
        return onEraseBackground(control, wParam);
    case WM_NCPAINT:
        return 1;
    case WM_LBUTTONUP:
        c.record->hotControl = 0;
        break;
    case WM_LBUTTONDBLCLK:
        return 0;  // a double-click would toggle a second time
    default:
        break;
    }
    if (paintsItself(kind) && mayPaintDirectly(msg, wParam)) return passThenRepaint(c, control, msg, wParam, lParam);
    return std::nullopt;
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<ButtonEntry, &WindowRecord::buttonEntries, kEveryMessage, onMessage, onMouseOver,
                            onMouseLeave>(ButtonProc, control, msg, wParam, lParam);
}

namespace {

// Registers one BUTTON control of `kind` (unless listed already); its
// caption is read. The new entry, or nullptr.
ButtonEntry* registerButton(HWND control, int windowIndex, ControlButtonKind kind) {
    ButtonEntry* entry = registerControl(windowIndex, control, &WindowRecord::buttonEntries, ButtonProc);
    if (!entry) return nullptr;
    entry->kind = kind;
    entry->caption = WindowTextOf(control);
    return entry;
}

void applyFont(ButtonEntry& entry, const ControlFont& font) {
    entry.fontFamily = font.family;
    entry.fontSize = font.size;
    entry.fontStyle = font.style;
}

}  // namespace

// Bit tests on the style's type nibble, not comparisons of the whole type:
// which styles the skin takes as which kind is part of its contract.
bool isSkinnedPushButtonStyle(LONG style) {
    return (style & BS_CHECKBOX) == 0 && (style & BS_RADIOBUTTON) == 0 &&
           (style & BS_AUTORADIOBUTTON) != BS_AUTORADIOBUTTON;
}

bool isSkinnedCheckOrRadioStyle(LONG style) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW) return false;
    const bool autoRadio =
        (style & BS_AUTORADIOBUTTON) == BS_AUTORADIOBUTTON && (style & (BS_CHECKBOX | BS_RADIOBUTTON)) == 0;
    const bool checkBox = (style & BS_CHECKBOX) != 0 && (style & BS_RADIOBUTTON) == 0;
    return autoRadio || checkBox;
}

ControlFont withPushButtonFallback(ControlFont font) {
    if (font.family.empty()) font.family = kFallbackFamily;
    if (font.size <= 0) font.size = kFallbackSize;
    return font;
}

ButtonEntry* buttonEntryOf(HWND control) { return buttonPlace(control).entry; }

void hookPushButtons(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren || !engine.record(windowIndex)) return;
    forEachChildOfClass(parent, kButtonClass, [&](HWND control) {
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        if ((style & BS_TYPEMASK) == BS_OWNERDRAW || !isSkinnedPushButtonStyle(style)) return;
        if (!registerButton(control, windowIndex, kPushButton)) return;
        SetWindowLongW(control, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
        const ControlFont font = withPushButtonFallback(readControlFont(control));
        if (ButtonEntry* entry = buttonEntryOf(control)) applyFont(*entry, font);
        InvalidateRect(control, nullptr, FALSE);
    });
}

void hookCheckAndRadioButtons(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren || !engine.record(windowIndex)) return;
    forEachChildOfClass(parent, kButtonClass, [&](HWND control) {
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        if (!isSkinnedCheckOrRadioStyle(style)) return;
        const ControlButtonKind kind = (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON ? kRadioButton : kCheckBox;
        if (!registerButton(control, windowIndex, kind)) return;
        const ControlFont font = readControlFont(control);
        if (ButtonEntry* entry = buttonEntryOf(control)) applyFont(*entry, font);
        InvalidateRect(control, nullptr, FALSE);
    });
}

void RepaintButton(HWND control, UINT state, bool hot) {
    const ButtonPlace c = buttonPlace(control);
    if (!c) return;
    WindowDC dc(control);
    if (!dc.get()) return;
    if (hot) state |= kStateHot;
    RECT client;
    GetClientRect(control, &client);
    paintKind(*c.entry, control, dc.get(), state, client);
}

}  // namespace skin
