#include "ui/run_result_view.h"

#include "ui/form_controls.h"
#include "ui/subclass.h"
#include "ui/win_text.h"

namespace ui {

namespace {

constexpr int kMargin = 10;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 26;

// Ctrl+A selects the whole report (not every system's edit box does it).
LRESULT selectAllOnCtrlA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous, std::uintptr_t) {
    if (msg == WM_KEYDOWN && wParam == 'A' && (GetKeyState(VK_CONTROL) & 0x8000)) {
        SendMessageW(hwnd, EM_SETSEL, 0, -1);
        return 0;
    }
    if (msg == WM_CHAR && wParam == 1) return 0;  // the Ctrl+A character: no beep
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

void layOut(HWND view) {
    RECT rc;
    GetClientRect(view, &rc);
    const int buttonsTop = rc.bottom - kMargin - kButtonHeight;
    MoveWindow(GetDlgItem(view, kRunResultTextId), kMargin, kMargin, rc.right - 2 * kMargin, buttonsTop - 2 * kMargin,
               TRUE);
    MoveWindow(GetDlgItem(view, kRunResultCopyId), rc.right - 2 * (kMargin + kButtonWidth), buttonsTop, kButtonWidth,
               kButtonHeight, TRUE);
    MoveWindow(GetDlgItem(view, IDCANCEL), rc.right - kMargin - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight,
               TRUE);
}

void copyAll(HWND view) {
    HWND text = GetDlgItem(view, kRunResultTextId);
    SendMessageW(text, EM_SETSEL, 0, -1);
    SendMessageW(text, WM_COPY, 0, 0);
    SetFocus(text);
}

LRESULT CALLBACK viewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        layOut(hwnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kRunResultCopyId) copyAll(hwnd);
        if (LOWORD(wParam) == IDCANCEL) DestroyWindow(hwnd);
        return 0;
    case WM_CTLCOLORSTATIC:  // the read-only box on a white ground, as a document
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND showRunResult(HWND owner, std::string_view report) {
    if (!registerWindowClass(kRunResultClass, viewProc)) return nullptr;
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t title[64];
    wsprintfW(title, L"发送到服务器的结果（%02u:%02u:%02u）", now.wHour, now.wMinute, now.wSecond);
    HWND view = CreateWindowExW(0, kRunResultClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                                owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!view) return nullptr;
    HWND text = addControl(view, L"EDIT", report,
                           WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                               ES_AUTOHSCROLL | ES_NOHIDESEL,
                           {}, kRunResultTextId, WS_EX_CLIENTEDGE);
    SendMessageW(text, EM_SETLIMITTEXT, 0, 0);  // the longest the system allows
    setWindowText(text, report);
    subclassWindow<selectAllOnCtrlA>(text);
    addControl(view, L"BUTTON", "复制全部", WS_TABSTOP | BS_PUSHBUTTON, {}, kRunResultCopyId);
    addControl(view, L"BUTTON", "关闭", WS_TABSTOP | BS_PUSHBUTTON, {}, IDCANCEL);
    layOut(view);
    ShowWindow(view, SW_SHOWNORMAL);
    SetFocus(text);
    return view;
}

}  // namespace ui
