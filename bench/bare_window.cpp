// The references for the start-up benchmark: a bare Win32 program that opens
// one window of the editor's size and paints it with the system's brush.
// Built a second time as bare_controls (RPGITEM_BARE_CONTROLS), it fills the
// window with the editor's controls (the same classes, parents, places,
// texts and items) unskinned, with no events and no fonts of their own: what
// the platform charges for the controls alone, before any of the editor's work.
// Both mark the editor's start-up stages (RPGITEM_STARTUP_TRACE), so that a
// trace of each can be laid beside the editor's.
#include <windows.h>

#include "ui/startup_trace.h"

#ifdef RPGITEM_BARE_CONTROLS
#include <map>
#include <string_view>

#include "editor/layout.h"
#include "ui/win_text.h"
#endif

namespace {

LRESULT CALLBACK bareProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

#ifdef RPGITEM_BARE_CONTROLS
using ui::wide;

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle classAndStyle(const editor::Control& control) {
    using editor::ControlKind;
    switch (control.kind) {
    case ControlKind::Edit: {
        const bool multiLine = control.editStyle & editor::kMultiLine;
        const DWORD style = multiLine ? ES_MULTILINE | ES_AUTOVSCROLL |
                                            (control.editStyle & editor::kVScroll ? WS_VSCROLL : 0) |
                                            (control.editStyle & editor::kHScroll ? WS_HSCROLL : 0)
                                      : ES_AUTOHSCROLL;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::Button:
        return {L"BUTTON", BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX, 0};
    case ControlKind::Radio:
        return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    case ControlKind::ComboEditable:
        return {L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL, 0};
    case ControlKind::ComboList:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case ControlKind::ListBox:
        return {L"LISTBOX", LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Label:
    case ControlKind::PictureBox:
    case ControlKind::WebView:
        return {L"STATIC", 0, 0};
    case ControlKind::Timer:
    case ControlKind::FileDialog:
        break;
    }
    return {nullptr, 0, 0};
}

void createControls(HWND window) {
    std::map<std::string_view, HWND> byName;
    for (const editor::Control& control : editor::controls()) {
        const auto [className, style, exStyle] = classAndStyle(control);
        if (!className) continue;
        const HWND parent = control.parent.empty() ? window : byName[control.parent];
        const bool combo =
            control.kind == editor::ControlKind::ComboEditable || control.kind == editor::ControlKind::ComboList;
        const HWND created = CreateWindowExW(
            exStyle, className, wide(control.text).c_str(),
            WS_CHILD | WS_CLIPSIBLINGS | style | (control.visible ? WS_VISIBLE : 0), control.left, control.top,
            control.width, combo ? control.height + 168 : control.height, parent, nullptr, nullptr, nullptr);
        for (std::string_view item : control.items) {
            SendMessageW(created, control.kind == editor::ControlKind::ListBox ? LB_ADDSTRING : CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(wide(item).c_str()));
        }
        byName[control.name] = created;
    }
}

#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ui::startupMark("entered");
    WNDCLASSEXW windowClass{sizeof(windowClass)};
    windowClass.lpfnWndProc = bareProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    if (!RegisterClassExW(&windowClass)) return 1;
    HWND hwnd = CreateWindowExW(0, L"BareWindow", L"bare", WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN, 100, 100, 1069, 671,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ui::startupMark("main window created");
#ifdef RPGITEM_BARE_CONTROLS
    createControls(hwnd);
    ui::startupMark("controls created");
#endif
    ShowWindow(hwnd, SW_SHOW);
    ui::startupMark("window shown");
    UpdateWindow(hwnd);
    ui::startupMark("first paint done");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
