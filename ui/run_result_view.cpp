#include "ui/run_result_view.h"

#include "ui/form_controls.h"
#include "ui/tool_window.h"
#include "ui/win_text.h"

namespace ui {

namespace {

constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 26;
constexpr int kGap = 10;

void layOut(HWND view) {
    const RECT area = contentRect(view);
    const int buttonsTop = area.bottom - kButtonHeight;
    MoveWindow(GetDlgItem(view, kRunResultTextId), area.left, area.top, area.right - area.left,
               buttonsTop - kGap - area.top, TRUE);
    MoveWindow(GetDlgItem(view, kRunResultCopyId), area.right - 2 * kButtonWidth - kGap, buttonsTop, kButtonWidth,
               kButtonHeight, TRUE);
    MoveWindow(GetDlgItem(view, IDCANCEL), area.right - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight, TRUE);
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
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND showRunResult(HWND owner, std::string_view report) {
    if (!registerWindowClass(kRunResultClass, viewProc)) return nullptr;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char title[64];
    wsprintfA(title, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    // 关闭 is the default button: Enter closes the view, as Esc does.
    HWND view = createToolWindow(owner, {.className = kRunResultClass,
                                         .title = "发送到服务器的结果（" + std::string(title) + "）",
                                         .contentWidth = 640,
                                         .contentHeight = 420,
                                         .resizable = true,
                                         .defaultButton = IDCANCEL});
    if (!view) return nullptr;
    // Long lines wrap: no horizontal scrolling.
    HWND text = addControl(view, L"EDIT", "",
                           WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_NOHIDESEL, {},
                           kRunResultTextId, WS_EX_CLIENTEDGE);
    SendMessageW(text, EM_SETLIMITTEXT, 0, 0);  // the longest the system allows
    setWindowText(text, report);
    addControl(view, L"BUTTON", "复制全部", WS_TABSTOP | BS_PUSHBUTTON, {}, kRunResultCopyId);
    addControl(view, L"BUTTON", "关闭", WS_TABSTOP | BS_DEFPUSHBUTTON, {}, IDCANCEL);
    layOut(view);
    showToolWindow(view, text);
    return view;
}

}  // namespace ui
