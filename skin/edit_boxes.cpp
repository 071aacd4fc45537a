// Edit boxes: the skin draws the border (dark, ThemeColour while hot or
// focused) and, with the veil on, the veiled background of the text area;
// the text, the caret and the scroll bars stay the control's.
#include <windows.h>

#include "skin/combo_boxes.h"
#include "skin/control_borders.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/edit_boxes.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

constexpr int kEditHotKind = 1;

using EditPlace = ControlPlace<EditEntry>;

bool isHotEdit(const EditPlace& p, HWND control) {
    return isHot(p, kEditHotKind) && p.record->hotEditParent == GetParent(control);
}

// The border as the control's state has it now.
void paintCurrentBorder(const EditPlace& p, HWND control) {
    PaintEditBorder(control, p.entry->focused, isHotEdit(p, control));
}

void invalidateAll(HWND control) { InvalidateRect(control, nullptr, TRUE); }

void onDestroy(HWND control) {
    if (SkinEngine* engine = SkinEngine::current()) engine->releaseVeil(control);
}

void onMove(HWND control) {
    if (veilEnabled()) invalidateAll(control);
}

// The control takes the focus first; then its border shows it.
LRESULT onSetFocus(const EditPlace& p, HWND control, WPARAM wParam, LPARAM lParam) {
    p.entry->focused = true;
    const LRESULT result = passOn(p, WM_SETFOCUS, wParam, lParam);
    paintCurrentBorder(p, control);
    return result;
}

void onKillFocus(const EditPlace& p, HWND control) {
    p.entry->focused = false;
    if (ClassNameOf(GetParent(control)) != L"ComboBox") {
        invalidateAll(control);  // its WM_PAINT draws the unfocused border
    } else {
        PaintEditBorder(control, false, false);
    }
}

LRESULT onEraseBackground(const EditPlace& p, HWND control, WPARAM wParam, LPARAM lParam) {
    if (!veilEnabled()) return passOn(p, WM_ERASEBKGND, wParam, lParam);
    auto dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    paintVeiledBackground(control, dc);
    return 1;
}

// The border comes with the control's paint: drawn by the WM_NCPAINT the
// paint brings when the frame is invalid too, else after the text (the two
// never overlap).
LRESULT onPaint(const EditPlace& p, HWND control, WPARAM wParam, LPARAM lParam) {
    const FramePaintWatch watch(control);
    const LRESULT result = passOn(p, WM_PAINT, wParam, lParam);
    if (!watch.framePainted()) paintCurrentBorder(p, control);
    return result;
}

LRESULT onNcPaint(const EditPlace& p, HWND control, LPARAM lParam) {
    paintCurrentBorder(p, control);
    FramePaintWatch::noteFramePainted(control);
    // The border is the skin's; the system draws the scroll bars only.
    return hasScrollBars(control) ? paintScrollBarsOnly(control, lParam) : 0;
}

void onKeyDown(HWND control) {
    if (veilEnabled() && !hasScrollBars(control)) invalidateAll(control);
}

void onScroll(HWND control) {
    if (veilEnabled()) invalidateAll(control);
}

void onMouseOver(const EditPlace& p, HWND control, LPARAM) {
    if (!isHotEdit(p, control)) {
        PaintEditBorder(control, p.entry->focused, true);
        makeHot(p, kEditHotKind);
        p.record->hotEditParent = GetParent(control);
    }
    // Selecting by dragging moves text highlights over the background.
    if (p.entry->buttonDown && !hasScrollBars(control)) invalidateAll(control);
}

void onLeftButtonDown(const EditPlace& p, HWND control) {
    p.entry->buttonDown = true;
    if (veilEnabled() && !hasScrollBars(control)) invalidateAll(control);
}

void onMouseLeave(const EditPlace& p, HWND control, LPARAM) {
    // Only the edit box that is hot gives the hot place up: a leave that
    // arrives after the mouse has lit another control leaves that one be.
    if (isHotEdit(p, control)) p.record->hotControl = 0;
    PaintEditBorder(control, p.entry->focused, false);
}

std::optional<LRESULT> onMessage(const EditPlace& p, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        onDestroy(control);
        break;
    case WM_MOVE:
        onMove(control);
        break;
    case WM_SETFOCUS:
        return onSetFocus(p, control, wParam, lParam);
    case WM_KILLFOCUS:
        onKillFocus(p, control);
        break;
    case WM_PAINT:
        return onPaint(p, control, wParam, lParam);
    case WM_ERASEBKGND:
        return onEraseBackground(p, control, wParam, lParam);
    case WM_NCPAINT:
        return onNcPaint(p, control, lParam);
    case WM_KEYDOWN:
        onKeyDown(control);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        onScroll(control);
        break;
    case WM_LBUTTONDOWN:
        onLeftButtonDown(p, control);
        break;
    case WM_LBUTTONUP:
        p.entry->buttonDown = false;
        break;
    }
    return std::nullopt;
}

// The messages this procedure acts on; every other one goes straight on.
constexpr UINT kMessages[] = {WM_DESTROY, WM_MOVE,    WM_SETFOCUS, WM_KILLFOCUS, WM_PAINT,       WM_ERASEBKGND,
                              WM_NCPAINT, WM_KEYDOWN, WM_HSCROLL,  WM_VSCROLL,   WM_LBUTTONDOWN, WM_LBUTTONUP};

LRESULT CALLBACK editProcedure(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<EditEntry, &WindowRecord::editEntries, kMessages, onMessage, onMouseOver, onMouseLeave>(
        editProcedure, control, msg, wParam, lParam);
}

}  // namespace

void PaintEditBorder(HWND control, bool focused, bool hot) {
    paintControlBorder(control, (hot || focused) ? argb(themeColour(), 180) : argb(0x00000000, 80), hot);
}

void registerEdit(int windowIndex, HWND control) {
    if (!registerControl(windowIndex, control, &WindowRecord::editEntries, editProcedure)) return;
    SetPropW(control, kPropTextColour, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x00000000)));
}

void hookEditsAndCombos(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren || !engine.record(windowIndex)) return;
    forEachChildOfClass(parent, L"Edit", [windowIndex](HWND edit) { registerEdit(windowIndex, edit); });
    forEachChildOfClass(parent, L"ComboBox", [windowIndex](HWND combo) { registerCombo(windowIndex, combo); });
}

}  // namespace skin
