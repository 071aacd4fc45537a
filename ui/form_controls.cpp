#include "ui/form_controls.h"

#include "res/resource_ids.h"
#include "ui/win_text.h"

namespace ui {

HFONT interfaceFont() {
    static const HFONT font =
        CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"微软雅黑");
    return font;
}

HWND addControl(HWND parent, const wchar_t* windowClass, std::string_view text, DWORD style, RECT bounds, int id,
                DWORD exStyle) {
    HWND hwnd = CreateWindowExW(exStyle, windowClass, wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left,
                                bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(interfaceFont()), FALSE);
    return hwnd;
}

bool registerWindowClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW existing{sizeof(existing)};
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, name, &existing)) return true;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace ui
