// Conversions between the program's UTF-8 and the controls' UTF-16, plus the
// few text reads and writes every window needs.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "editor/unicode.h"

namespace ui {

inline std::wstring wide(std::string_view utf8) { return editor::toWide(utf8); }

inline std::string utf8(std::wstring_view text) { return editor::fromWide(text); }

inline std::wstring windowTextW(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::string windowText(HWND hwnd) { return utf8(windowTextW(hwnd)); }

inline void setWindowText(HWND hwnd, std::string_view text) { SetWindowTextW(hwnd, wide(text).c_str()); }

}  // namespace ui
