// A top-level test window of a class of its own (registered on first use,
// double-clicks on, button-face background), not yet shown.
#pragma once

#include <windows.h>

inline HWND createTopLevelTestWindow(const wchar_t* className, WNDPROC procedure, const wchar_t* title, DWORD style,
                                     int x, int y, int width, int height) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) {
        wc = {sizeof(wc)};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
    }
    return CreateWindowExW(0, className, title, style, x, y, width, height, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}
