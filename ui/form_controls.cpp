#include "ui/form_controls.h"

#include <algorithm>
#include <string>

#include "res/resource_ids.h"
#include "ui/subclass.h"
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

namespace {

// The states of a combo box's dropped width, as its subclass's data.
constexpr std::uintptr_t kWidthWanted = 1, kWidthMeasured = 2;

void fitDroppedWidth(HWND combo);

LRESULT measureWhenAsked(HWND combo, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous,
                         std::uintptr_t state) {
    if (msg == CB_GETDROPPEDWIDTH && state == kWidthWanted) fitDroppedWidth(combo);
    return CallWindowProcW(previous, combo, msg, wParam, lParam);
}

void fitDroppedWidth(HWND combo) {
    subclassWindow<measureWhenAsked>(combo, kWidthMeasured);
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    int widest = 0;
    HDC dc = GetDC(combo);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0)));
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length <= 0) continue;
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        SIZE size{};
        GetTextExtentPoint32W(dc, item.c_str(), static_cast<int>(length), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(combo, dc);
    // The list's border, its items' margins and a vertical scroll bar.
    const int wanted = widest + 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL) + 8;
    RECT box;
    GetWindowRect(combo, &box);
    SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max<LONG>(wanted, box.right - box.left)), 0);
}

}  // namespace

void fitDroppedWidthWhenNeeded(HWND combo) { subclassWindow<measureWhenAsked>(combo, kWidthWanted); }

void fitDroppedWidthBeforeDrop(HWND combo) {
    if (subclassData<measureWhenAsked>(combo) == kWidthWanted) fitDroppedWidth(combo);
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
