#include "ui/tool_window.h"

#include <algorithm>
#include <map>

#include "skin/skin_engine.h"
#include "ui/subclass.h"
#include "ui/win_text.h"

namespace ui {

namespace {

// The skin's caption is 25 pixels high and its frame a few pixels wide.
constexpr int kCaptionHeight = 25;
constexpr int kFrameMargin = 8;

struct ToolState {
    int defaultButton = IDOK;
    bool resizable = false;
    HWND lastFocus = nullptr;  // the control that had the keyboard when the window was deactivated
};

std::map<HWND, ToolState> tools;

bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool hasClass(HWND hwnd, const wchar_t* name) {
    wchar_t className[32] = {};
    return hwnd && GetClassNameW(hwnd, className, 32) && lstrcmpiW(className, name) == 0;
}

bool isPushButton(HWND hwnd) {
    if (!hasClass(hwnd, L"Button")) return false;
    const LONG type = GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

// The combo box whose list is open, if the focus is in one: it keeps Enter and Esc.
bool inDroppedCombo(HWND focus) {
    for (HWND h = focus; h; h = GetParent(h)) {
        if (hasClass(h, L"ComboBox")) return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
    }
    return false;
}

void pressButton(HWND window, int id) {
    HWND button = GetDlgItem(window, id);
    if (button && !IsWindowEnabled(button)) return;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void focusControl(HWND control) {
    SetFocus(control);
    if (hasClass(control, L"Edit") && !(GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE)) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

// In front of each tool window's own procedure: the keyboard comes back to
// its control when the window is activated again, and the default button
// answers DM_GETDEFID.
LRESULT toolWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous, std::uintptr_t) {
    auto found = tools.find(hwnd);
    if (found != tools.end()) {
        ToolState& state = found->second;
        switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus)) state.lastFocus = focus;
            } else if (state.lastFocus && IsWindow(state.lastFocus) && IsChild(hwnd, state.lastFocus) &&
                       IsWindowVisible(state.lastFocus) && IsWindowEnabled(state.lastFocus)) {
                CallWindowProcW(previous, hwnd, msg, wParam, lParam);
                SetFocus(state.lastFocus);
                return 0;
            }
            break;
        case DM_GETDEFID:
            return state.defaultButton ? MAKELRESULT(state.defaultButton, DC_HASDEFID) : 0;
        case WM_NCDESTROY:
            tools.erase(found);
            break;
        }
    }
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

// Centred over the owner, inside the work area of the owner's screen.
POINT centredOver(HWND owner, int width, int height) {
    RECT ownerRect{0, 0, width, height};
    if (owner) GetWindowRect(owner, &ownerRect);
    MONITORINFO monitor{sizeof(monitor)};
    GetMonitorInfoW(MonitorFromRect(&ownerRect, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    LONG x = (ownerRect.left + ownerRect.right - width) / 2;
    LONG y = (ownerRect.top + ownerRect.bottom - height) / 2;
    x = std::max(area.left, std::min(x, area.right - width));
    y = std::max(area.top, std::min(y, area.bottom - height));
    return {x, y};
}

}  // namespace

POINT contentOrigin() { return {kFrameMargin, kCaptionHeight + kFrameMargin / 2}; }

RECT contentRect(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const POINT origin = contentOrigin();
    return {origin.x, origin.y, client.right - kFrameMargin, client.bottom - kFrameMargin};
}

HWND createToolWindow(HWND owner, const ToolWindowSpec& spec) {
    const POINT origin = contentOrigin();
    const int width = spec.contentWidth + 2 * origin.x;
    const int height = spec.contentHeight + origin.y + kFrameMargin;
    const POINT at = centredOver(owner, width, height);
    // No caption of the platform's: the skin draws frame and caption in the
    // client area, as on the main window.
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, spec.className, wide(spec.title).c_str(),
                                  WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN, at.x, at.y, width, height, owner, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    tools[window] = {spec.defaultButton, spec.resizable, nullptr};
    subclassWindow<toolWindowProc>(window);
    return window;
}

void showToolWindow(HWND window, HWND focus) {
    if (skin::SkinEngine* engine = skin::SkinEngine::current()) {
        skin::AttachOptions options;
        options.framed = true;
        auto found = tools.find(window);
        options.resizable = found != tools.end() && found->second.resizable;
        options.showTitle = true;
        engine->AttachWindow(window, kCaptionHeight, options);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    if (focus) focusControl(focus);
}

bool isToolWindow(HWND window) { return tools.count(window) != 0; }

bool translateToolWindowKeys(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR) return false;
    HWND window = GetAncestor(msg.hwnd, GA_ROOT);
    auto found = tools.find(window);
    if (found == tools.end()) return false;
    HWND focus = GetFocus();
    if (msg.message == WM_CHAR) {
        // The Ctrl+A character: its key has selected everything already.
        return msg.wParam == 1 && hasClass(focus, L"Edit");
    }
    const bool ctrl = keyDown(VK_CONTROL);
    if (keyDown(VK_MENU)) return false;
    switch (msg.wParam) {
    case 'A':
        if (!ctrl || !hasClass(focus, L"Edit")) return false;
        SendMessageW(focus, EM_SETSEL, 0, -1);
        return true;
    case VK_TAB:
        if (HWND next = GetNextDlgTabItem(window, focus, keyDown(VK_SHIFT))) focusControl(next);
        return true;
    case VK_ESCAPE:
        if (inDroppedCombo(focus)) return false;
        pressButton(window, IDCANCEL);
        return true;
    case VK_RETURN:
        if (inDroppedCombo(focus)) return false;
        if (isPushButton(focus)) {
            pressButton(window, GetDlgCtrlID(focus));
        } else if (found->second.defaultButton) {
            pressButton(window, found->second.defaultButton);
        }
        return true;
    }
    return false;
}

}  // namespace ui
