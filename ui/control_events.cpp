#include "ui/control_events.h"

#include "ui/subclass.h"

namespace ui {

namespace {

enum ReportFlags : std::uintptr_t { kReportLeft = 1, kReportRight = 2, kReportKey = 4 };

void report(HWND control, EventKind kind, POINT cursor, UINT key) {
    ControlEvent event{kind, {}, cursor, currentModifiers(), key};
    SendMessageW(GetAncestor(control, GA_ROOT), kControlEventMessage, reinterpret_cast<WPARAM>(&event),
                 reinterpret_cast<LPARAM>(control));
}

POINT screenPoint(HWND control, LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(control, &p);
    return p;
}

LRESULT reporterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous, std::uintptr_t flags) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (flags & kReportLeft) report(hwnd, EventKind::LeftPressed, screenPoint(hwnd, lParam), 0);
        break;
    case WM_RBUTTONDOWN:
        if (flags & kReportRight) report(hwnd, EventKind::RightPressed, screenPoint(hwnd, lParam), 0);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (flags & kReportKey) report(hwnd, EventKind::KeyDown, {}, static_cast<UINT>(wParam));
        break;
    }
    // The control still gets every message: reporting never consumes one.
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

// Transparent labels lying over a group box (its title, for one) must be
// drawn again after the box has erased the pixels beneath them.
void repaintTransparentSiblingsAbove(HWND groupBox) {
    RECT box;
    GetWindowRect(groupBox, &box);
    for (HWND sibling = GetWindow(groupBox, GW_HWNDPREV); sibling; sibling = GetWindow(sibling, GW_HWNDPREV)) {
        RECT label, overlap;
        if (!(GetWindowLongPtrW(sibling, GWL_EXSTYLE) & WS_EX_TRANSPARENT) || !IsWindowVisible(sibling)) continue;
        GetWindowRect(sibling, &label);
        if (IntersectRect(&overlap, &box, &label)) InvalidateRect(sibling, nullptr, FALSE);
    }
}

LRESULT forwarderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous, std::uintptr_t) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (HWND parent = GetParent(hwnd)) return SendMessageW(parent, msg, wParam, lParam);
        break;
    case WM_ERASEBKGND: {
        // A group box paints only its frame: give it the parent's background
        // so that a child it hides leaves no pixels behind.
        RECT rc;
        GetClientRect(hwnd, &rc);
        const auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(GetParent(hwnd), GCLP_HBRBACKGROUND));
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        repaintTransparentSiblingsAbove(hwnd);
        return 1;
    }
    }
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

}  // namespace

int currentModifiers() {
    int state = 0;
    if (GetKeyState(VK_CONTROL) < 0) state |= kCtrl;
    if (GetKeyState(VK_SHIFT) < 0) state |= kShift;
    if (GetKeyState(VK_MENU) < 0) state |= kAlt;
    return state;
}

void reportControlEvents(HWND control, bool leftPressed, bool rightPressed, bool keyDown) {
    std::uintptr_t flags = subclassData<reporterProc>(control);
    if (leftPressed) flags |= kReportLeft;
    if (rightPressed) flags |= kReportRight;
    if (keyDown) flags |= kReportKey;
    if (flags) subclassWindow<reporterProc>(control, flags);
}

void forwardChildNotifications(HWND groupBox) { subclassWindow<forwarderProc>(groupBox); }

}  // namespace ui
