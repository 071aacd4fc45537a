// Edit boxes: the skin draws the border (dark, ThemeColour while hot or
// focused) and, with the veil on, the veiled background of the text area;
// the text, the caret and the scroll bars stay the control's.
#include <windows.h>

#include "skin/control_hooks.h"
#include "skin/control_kit.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

constexpr int kEditHotKind = 1;

using EditPlace = ControlPlace<EditEntry>;

EditPlace editPlace(HWND control) {
    return placeOf(control, &WindowRecord::editEntries);
}

bool isHotEdit(const EditPlace& p, HWND control) {
    return p.record->hotKind == kEditHotKind && p.record->hotControl == p.entryIndex &&
           p.record->hotEditParent == GetParent(control);
}

// The border as the control's state has it now.
void paintCurrentBorder(const EditPlace& p, HWND control) {
    PaintEditBorder(control, p.entry->focused, isHotEdit(p, control));
}

void invalidateAll(HWND control) {
    InvalidateRect(control, nullptr, TRUE);
}

void onDestroy(HWND control) {
    if (SkinEngine* engine = SkinEngine::current()) engine->releaseVeil(control);
}

void onMove(HWND control) {
    if (veilEnabled()) invalidateAll(control);
}

// The control takes the focus first; then its border shows it.
LRESULT onSetFocus(const EditPlace& p, HWND control, WPARAM wParam, LPARAM lParam) {
    p.entry->focused = true;
    const LRESULT result = passOnFast(control, WM_SETFOCUS, wParam, lParam);
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

LRESULT onEraseBackground(HWND control, WPARAM wParam, LPARAM lParam) {
    if (!veilEnabled()) return passOnFast(control, WM_ERASEBKGND, wParam, lParam);
    auto dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    paintVeiledBackground(control, dc);
    return 1;
}

LRESULT onNcPaint(const EditPlace& p, HWND control, LPARAM lParam) {
    paintCurrentBorder(p, control);
    // The border is the skin's; the system draws the scroll bars only.
    return hasScrollBars(control) ? paintScrollBarsOnly(control, lParam) : 0;
}

void onKeyDown(HWND control) {
    if (veilEnabled() && !hasScrollBars(control)) invalidateAll(control);
}

void onScroll(HWND control) {
    if (veilEnabled()) invalidateAll(control);
}

void onMouseMove(const EditPlace& p, HWND control) {
    trackMouseLeave(control);
    WindowRecord& r = *p.record;
    r.lastMovedControl = p.entryIndex;
    if (!isHotEdit(p, control)) {
        PaintEditBorder(control, p.entry->focused, true);
        r.hotControl = p.entryIndex;
        r.hotKind = kEditHotKind;
        r.hotEditParent = GetParent(control);
    }
    // Selecting by dragging moves text highlights over the background.
    if (p.entry->buttonDown && !hasScrollBars(control)) invalidateAll(control);
}

void onLeftButtonDown(const EditPlace& p, HWND control) {
    p.entry->buttonDown = true;
    if (veilEnabled() && !hasScrollBars(control)) invalidateAll(control);
}

void onMouseLeave(const EditPlace& p, HWND control) {
    // Only the edit box that is hot gives the hot place up: a leave that
    // arrives after the mouse has lit another control leaves that one be.
    if (isHotEdit(p, control)) p.record->hotControl = 0;
    PaintEditBorder(control, p.entry->focused, false);
}

LRESULT onMessage(const EditPlace& p, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
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
        paintCurrentBorder(p, control);
        break;
    case WM_ERASEBKGND:
        return onEraseBackground(control, wParam, lParam);
    case WM_NCPAINT:
        return onNcPaint(p, control, lParam);
    case WM_KEYDOWN:
        onKeyDown(control);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        onScroll(control);
        break;
    case WM_MOUSEMOVE:
        onMouseMove(p, control);
        break;
    case WM_LBUTTONDOWN:
        onLeftButtonDown(p, control);
        break;
    case WM_LBUTTONUP:
        p.entry->buttonDown = false;
        break;
    case WM_MOUSELEAVE:
        onMouseLeave(p, control);
        break;
    default:
        break;
    }
    return passOnFast(control, msg, wParam, lParam);
}

// The messages this procedure acts on; every other one goes straight on.
bool handles(UINT msg) {
    switch (msg) {
    case WM_DESTROY:
    case WM_MOVE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_KEYDOWN:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSELEAVE:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK editProcedure(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY) {
        const LRESULT result = passOnFast(control, msg, wParam, lParam);
        forgetPrevious(control);
        return result;
    }
    if (!handles(msg)) return passOnFast(control, msg, wParam, lParam);
    const EditPlace p = editPlace(control);
    // Properties that name no entry of this control: pass on untouched.
    if (!p) return passOnFast(control, msg, wParam, lParam);
    return onMessage(p, control, msg, wParam, lParam);
}

}  // namespace

void PaintEditBorder(HWND control, bool focused, bool hot) {
    RECT window;
    GetWindowRect(control, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w <= 0 || h <= 0) return;
    const RECT inner = innerArea(control);
    // No ring between the edge and the text area (the edit part of a combo
    // box): nothing to draw.
    if (inner.left <= 0 && inner.top <= 0 && inner.right >= w && inner.bottom >= h) return;
    CapturedBackground capture(control, {0, 0, w, h});
    if (!capture.dc()) return;
    {
        Graphics g = graphicsOn(capture.dc());
        // Only the ring between the outer edge and the text area is drawn.
        const std::uint32_t line = (hot || focused) ? argb(themeColour(), 180) : argb(0x00000000, 80);
        paintBorderRing(g.get(), w, h, inner, argb(0x00FFFFFF, veilEnabled() ? veilAlpha() : 255), line, hot ? 2 : 1);
    }
    WholeWindowDC dc(control);
    if (!dc.get()) return;
    ExcludeClipRect(dc.get(), inner.left, inner.top, inner.right, inner.bottom);
    BitBlt(dc.get(), 0, 0, w, h, capture.dc(), 0, 0, SRCCOPY);
}

void registerEdit(int windowIndex, HWND control) {
    WindowRecord* r = recordOfIndex(windowIndex);
    if (!r || isListed(r->editEntries, control)) return;
    EditEntry& entry = appendEntry(r->editEntries, control, windowIndex, editProcedure);
    rememberPrevious(control, entry.previous);
    SetPropW(control, kPropTextColour, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x00000000)));
}

void hookEditsAndCombos(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren || !engine.record(windowIndex)) return;
    forEachChildOfClass(parent, L"Edit", [windowIndex](HWND edit) { registerEdit(windowIndex, edit); });
    forEachChildOfClass(parent, L"ComboBox", [windowIndex](HWND combo) { registerCombo(windowIndex, combo); });
}

}  // namespace skin
