#include "ui/keyboard_navigation.h"

#include <algorithm>

#include "editor/control_names.h"
#include "editor/tab_order.h"
#include "ui/editor_window.h"

namespace ui {

namespace {

bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// The form control that holds `focus` (a combo box for its edit part).
std::string_view controlHolding(const EditorWindow& window, HWND focus) {
    for (HWND h = focus; h && h != window.hwnd(); h = GetParent(h)) {
        const std::string_view name = window.nameOf(h);
        if (!name.empty()) return name;
    }
    return {};
}

bool takesKeyboardNow(HWND control) { return control && IsWindowVisible(control) && IsWindowEnabled(control); }

void focusControl(HWND control) {
    SetFocus(control);
    // As in a dialog: the text of a one-line box is selected on arrival.
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, L"Edit") == 0 && !(GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE)) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

}  // namespace

bool moveFocusOnTab(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || keyDown(VK_MENU)) return false;
    EditorWindow* window = EditorWindow::fromHandle(GetAncestor(msg.hwnd, GA_ROOT));
    if (!window) return false;
    const std::string_view current = controlHolding(*window, GetFocus());
    if (current == editor::kOutputBox && !keyDown(VK_CONTROL)) return false;
    const auto order = editor::mainTabOrder();
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    if (count == 0) return true;
    const auto found = std::find(order.begin(), order.end(), current);
    const bool backwards = keyDown(VK_SHIFT);
    // From nowhere, Tab starts at the first control and Shift+Tab at the last.
    std::ptrdiff_t at = found == order.end() ? (backwards ? count : -1) : found - order.begin();
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        at = (at + (backwards ? count - 1 : 1)) % count;
        HWND next = window->control(order[static_cast<size_t>(at)]);
        if (takesKeyboardNow(next)) {
            focusControl(next);
            return true;
        }
    }
    return true;
}

}  // namespace ui
