// The frame window procedure of a skinned top-level window: a dispatcher
// with one function per message; everything it does not consume goes on to
// the window's previous procedure.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "skin/control_borders.h"
#include "skin/control_kinds.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

POINT pointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

LRESULT SkinEngine::FrameWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const Subclass& frame) {
    const int i = frame.owner;
    WindowRecord* r = record(i);
    const auto next = [&] { return callPrevious(frame.previous, hwnd, msg, wParam, lParam); };
    // An index naming no record of this window: pass the message on untouched.
    if (!r || r->hwnd != hwnd) return next();
    switch (msg) {
    case WM_SIZE:
        onSize(*r);
        LayoutDockedChildren(i);
        break;
    case WM_SETTEXT:
        onSetText(i, *r, lParam);
        break;
    case WM_PAINT:
        onPaint(i, *r);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_QUERYOPEN:
        r->minimized = false;
        break;
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_SHOWWINDOW:
        onShowWindow(i, *r, wParam);
        break;
    case WM_ACTIVATEAPP:
        if (!wParam) requestWorkingSetTrim();
        break;
    case WM_GETMINMAXINFO:
        onGetMinMaxInfo(*r, lParam);
        break;
    case WM_DRAWITEM:
        onDrawItem(i, lParam);
        break;
    case WM_WINDOWPOSCHANGED:
        onWindowPosChanged(i, *r);
        break;
    case WM_NOTIFY:
        repaintExpandingTree(lParam);
        break;
    case WM_NCDESTROY:
        onNcDestroy(hwnd, i);
        break;
    case WM_COMMAND:
        onCommand(wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        onSysCommand(*r, wParam);
        break;
    case WM_TIMER:
        if (wParam == reinterpret_cast<WPARAM>(hwnd)) onTimer(i, *r);
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (const auto brush = onControlColour(hwnd, msg, wParam, lParam)) return *brush;
        break;
    case WM_MOUSEMOVE:
        onMouseMove(i, *r, lParam);
        break;
    case WM_LBUTTONDOWN:
        onLeftButtonDown(i, *r, lParam);
        break;
    case WM_LBUTTONUP:
        onLeftButtonUp(i, *r);
        break;
    case WM_LBUTTONDBLCLK:
        onLeftButtonDoubleClick(i, *r, lParam);
        break;
    case WM_MOUSEHOVER:
        r->fades.hoverNotice();
        break;
    case WM_MOUSELEAVE:
        onMouseLeave(i, *r);
        break;
    default:
        break;
    }
    return next();
}

void SkinEngine::onSize(WindowRecord& r) {
    r.fades.forgetHovered();
    if (settings_.firstSizePending) {
        r.recomposeNeeded = false;
        settings_.firstSizePending = false;
    } else {
        r.recomposeNeeded = true;
    }
}

void SkinEngine::onSetText(int i, WindowRecord& r, LPARAM lParam) {
    if (r.showTitle && r.framed && r.surface.dc()) {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        DrawTitle(i, nullptr, false, text ? text : L"");
    }
}

void SkinEngine::onPaint(int i, WindowRecord& r) {
    // Other code may have drawn on the surface before invalidating the window.
    backdropChanged();
    const PaintDC paint(r.hwnd);
    if (r.minimized) return;
    if (r.recomposeNeeded || !r.surface.dc()) {
        ComposeWindow(i, paint.get(), true);
        r.recomposeNeeded = false;
    } else {
        PresentWindow(i, paint.get());
    }
}

void SkinEngine::onShowWindow(int i, WindowRecord& r, WPARAM wParam) {
    if (wParam != 1) return;
    if (r.minimized) {
        r.minimized = false;
    } else {
        ComposeWindow(i, nullptr, true);
    }
}

void SkinEngine::onGetMinMaxInfo(WindowRecord& r, LPARAM lParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (!info) return;
    MINMAXINFO copy = *info;
    copy.ptMinTrackSize = {r.minTrack.cx, r.minTrack.cy};
    if (r.maximized) {
        const Size max = maximizedSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), taskbarHeight());
        copy.ptMaxTrackSize = {max.width, max.height};
    } else {
        copy.ptMaxTrackSize = {r.maxTrack.cx, r.maxTrack.cy};
    }
    *info = copy;
}

void SkinEngine::onDrawItem(int i, LPARAM lParam) {
    if (const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) {
        const DRAWITEMSTRUCT copy = *item;
        DispatchDrawItem(i, copy);
    }
}

void SkinEngine::onWindowPosChanged(int i, WindowRecord& r) {
    RECT client;
    GetClientRect(r.hwnd, &client);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (r.hasMaximize && client.right == sw && client.bottom == sh) {
        r.maximized = true;
        const Size max = maximizedSize(sw, sh, taskbarHeight());
        if (max.height != sh) {
            SetWindowPos(r.hwnd, nullptr, 0, 0, max.width, max.height, SWP_NOZORDER | SWP_NOOWNERZORDER);
        }
    }
    LayoutCaptionButtons(i);
    if (r.statusBarHeight > 0) LayoutStatusBar(i);
}

void SkinEngine::onCommand(WPARAM wParam, LPARAM lParam) {
    if (!settings_.veilEnabled || !settings_.skinChildren) return;
    auto control = reinterpret_cast<HWND>(lParam);
    if (!control) return;
    const WORD code = HIWORD(wParam);
    const std::wstring kind = ClassNameOf(control);
    const bool repaint =
        (kind == L"Edit" && (code == EN_CHANGE || code == EN_UPDATE || code == EN_HSCROLL || code == EN_VSCROLL)) ||
        (kind == L"ListBox" && (code == LBN_SELCHANGE || code == LBN_SELCANCEL)) ||
        (kind == L"ComboBox" && (code == CBN_SELCHANGE || code == CBN_KILLFOCUS));
    if (repaint) InvalidateRect(control, nullptr, TRUE);
}

void SkinEngine::onSysCommand(WindowRecord& r, WPARAM wParam) {
    switch (wParam & 0xFFF0) {
    case SC_MAXIMIZE:
        r.maximized = true;
        r.recomposeNeeded = true;
        break;
    case SC_RESTORE:
        r.recomposeNeeded = true;
        r.minimized = false;
        break;
    case SC_MINIMIZE:
        r.recomposeNeeded = true;
        r.minimized = true;
        break;
    default:
        break;
    }
}

void SkinEngine::drawFadeSteps(int i, const std::vector<FadeDraw>& draws) {
    for (const FadeDraw& d : draws) DrawCaptionButton(i, d.button, nullptr, false, false, d.alpha);
}

void SkinEngine::onTimer(int i, WindowRecord& r) {
    const FadeMachine::TickResult tick = r.fades.tick();
    drawFadeSteps(i, tick.draws);
    if (tick.stopTimer) KillTimer(r.hwnd, reinterpret_cast<UINT_PTR>(r.hwnd));
}

void SkinEngine::setControlTextColour(HWND top, UINT msg, HDC dc, HWND control) {
    if (const std::optional<COLORREF> colour = chosenTextColour(control)) {
        SetTextColor(dc, *colour);
    } else {
        // No colour of the skin's own yet: the window's answer sets the
        // control's text colour; its brush is not used.
        const Subclass* frame = findSubclass(top, frameProcedure);
        callPrevious(frame ? frame->previous : nullptr, top, msg, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control));
    }
    SetBkMode(dc, TRANSPARENT);
}

LRESULT SkinEngine::veiledBrush(HWND top, HDC dc, HWND control) {
    VeilObjects& held = veils_[control];
    held.top = top;
    const BackdropStamp stamp = stampOf(control, VeiledArea(control), static_cast<std::uint64_t>(veilAlpha()));
    if (!held.kept || !held.brush || !(held.stamp == stamp)) {
        held.brush.reset();
        held.bitmap.reset(VeiledBitmap(control, &held.kept));
        held.stamp = stamp;
        if (held.bitmap) held.brush.reset(CreatePatternBrush(held.bitmap.bitmap()));
        SetPropW(control, kPropBrush, held.brush.get());
        SetPropW(control, kPropVeilBitmap, held.bitmap.get());
    }
    (void)dc;
    return reinterpret_cast<LRESULT>(held.brush ? held.brush.brush() : GetStockObject(NULL_BRUSH));
}

void SkinEngine::releaseVeil(HWND control) {
    veils_.erase(control);
    forgetPictures(control);
    RemovePropW(control, kPropBrush);
    RemovePropW(control, kPropVeilBitmap);
}

LRESULT SkinEngine::hollowBrush(HWND top, HDC dc, HWND control) {
    VeilObjects& held = veils_[control];
    held.top = top;
    held.brush.reset();
    held.kept = false;
    HGDIOBJ hollow = GetStockObject(NULL_BRUSH);
    SetPropW(control, kPropBrush, hollow);
    // A list drawing onto a colour-keyed picture: what it fills opaquely
    // with its background colour is keyed out over the veil.
    if (control == listPaintedOverVeil()) SetBkColor(dc, kColourKey);
    return reinterpret_cast<LRESULT>(hollow);
}

std::optional<LRESULT> SkinEngine::onControlColour(HWND top, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto dc = reinterpret_cast<HDC>(wParam);
    auto control = reinterpret_cast<HWND>(lParam);
    if (!settings_.skinChildren || !settings_.veilEnabled || !control) return std::nullopt;
    switch (msg) {
    case WM_CTLCOLOREDIT:
        if (ClassNameOf(GetParent(control)) == L"ComboBox") return std::nullopt;
        setControlTextColour(top, msg, dc, control);
        return veiledBrush(top, dc, control);
    case WM_CTLCOLORLISTBOX:
        if (ClassNameOf(control) != L"ListBox" || IsOwnerDrawListBox(control)) return std::nullopt;
        setControlTextColour(top, msg, dc, control);
        return hollowBrush(top, dc, control);
    case WM_CTLCOLORBTN:
        setControlTextColour(top, msg, dc, control);
        return hollowBrush(top, dc, control);
    case WM_CTLCOLORSTATIC:
        setControlTextColour(top, msg, dc, control);
        return veiledBrush(top, dc, control);
    default:
        return std::nullopt;
    }
}

void SkinEngine::onMouseMove(int i, WindowRecord& r, LPARAM lParam) {
    const POINT p = pointOf(lParam);
    if (!r.fades.tracking()) {
        TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, r.hwnd, 1};
        TrackMouseEvent(&track);
    }
    // Caption buttons and sizing belong to framed windows only.
    if (!r.framed) return;
    hoverIndex_ = HitTestCaptionButtons(i, p.x, p.y);
    const FadeMachine::MoveResult move = r.fades.mouseMove(hoverIndex_, inHoverStrip(r.strip, p.x, p.y));
    if (move.startTimer) SetTimer(r.hwnd, reinterpret_cast<UINT_PTR>(r.hwnd), 20, nullptr);
    drawFadeSteps(i, move.draws);
    if (!r.maximized) {
        RECT client;
        GetClientRect(r.hwnd, &client);
        UpdateSizingCursor(i, lParam, client);
    }
}

void SkinEngine::onLeftButtonDown(int i, WindowRecord& r, LPARAM lParam) {
    r.fades.press();
    if (!r.framed) return;
    HWND hwnd = r.hwnd;
    if (!r.maximized && !r.minimized) {
        RECT client;
        GetClientRect(hwnd, &client);
        BeginMoveOrSize(i, lParam, client);
        // A move or size loop may have run: the window may be gone.
        if (record(i) != &r || !IsWindow(hwnd)) return;
    }
    const POINT p = pointOf(lParam);
    hoverIndex_ = HitTestCaptionButtons(i, p.x, p.y);
    if (hoverIndex_ >= 1) DrawCaptionButton(i, hoverIndex_, nullptr, false, true, 0);
}

void SkinEngine::onLeftButtonUp(int i, WindowRecord& r) {
    if (hoverIndex_ >= 1 && hoverIndex_ <= static_cast<int>(r.buttons.size()) && r.framed) {
        CaptionCommand(i, hoverIndex_);
    }
}

void SkinEngine::onLeftButtonDoubleClick(int i, WindowRecord& r, LPARAM lParam) {
    if (pointOf(lParam).y > r.captionHeight || !r.resizable) return;
    if (const int maximize = FindMaximizeButton(i)) CaptionCommand(i, maximize);
}

void SkinEngine::onMouseLeave(int i, WindowRecord& r) {
    if (!r.framed) {
        r.fades.mouseLeave();
        return;
    }
    drawFadeSteps(i, r.fades.mouseLeave());
}

void SkinEngine::onNcDestroy(HWND hwnd, int i) {
    KillTimer(hwnd, reinterpret_cast<UINT_PTR>(hwnd));
    std::erase_if(veils_, [hwnd](const auto& held) { return held.second.top == hwnd; });
    forgetPicturesOf(hwnd);
    std::erase_if(textColours_, [hwnd](const auto& chosen) { return chosen.second.top == hwnd; });
    registry_.remove(i);
}

}  // namespace skin
