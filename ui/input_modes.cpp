#include "ui/input_modes.h"

#include "ui/subclass.h"

#include "ui/win_text.h"

namespace ui {

namespace {

std::wstring clipboardText(HWND owner) {
    std::wstring text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void pasteFiltered(HWND edit, editor::InputMode mode) {
    std::wstring accepted;
    for (wchar_t ch : clipboardText(edit)) {
        if (ch >= L' ' && acceptsCharacter(mode, ch)) accepted += ch;
    }
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(accepted.c_str()));
}

void rewriteInteger(HWND edit) {
    const std::string current = windowText(edit);
    const std::string rewritten = integerBoxText(current);
    if (rewritten != current) setWindowText(edit, rewritten);
}

LRESULT inputModeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous, std::uintptr_t data) {
    const auto mode = static_cast<editor::InputMode>(data);
    switch (msg) {
    case WM_CHAR: {
        const auto ch = static_cast<wchar_t>(wParam);
        if (ch >= L' ' && !acceptsCharacter(mode, ch)) return 0;  // refused; control keys pass
        break;
    }
    case WM_PASTE:
        pasteFiltered(hwnd, mode);
        return 0;
    case WM_KILLFOCUS:
        if (mode == editor::InputMode::IntegerOnly) {
            const LRESULT result = CallWindowProcW(previous, hwnd, msg, wParam, lParam);
            rewriteInteger(hwnd);
            return result;
        }
        break;
    }
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

}  // namespace

void applyInputMode(HWND edit, editor::InputMode mode) {
    if (mode == editor::InputMode::Normal) return;
    subclassWindow<inputModeProc>(edit, static_cast<std::uintptr_t>(mode));
}

}  // namespace ui
