#include "skin/tooltip.h"

#include <commctrl.h>

namespace skin {

Tooltip Tooltip::create(HWND owner, bool balloon) {
    const DWORD style = TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0);
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, L"", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    return tip ? Tooltip(tip, owner) : Tooltip();
}

// The first version of the structure: every version of the common controls
// reads it.
TOOLINFOW Tooltip::toolInfo(UINT_PTR id) const {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = id;
    return tool;
}

bool Tooltip::addTool(const RECT& rect, const std::wstring& text, UINT_PTR id) {
    if (!tip_) return false;
    TOOLINFOW tool = toolInfo(id);
    tool.rect = rect;
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    return SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

void Tooltip::setBackgroundColour(COLORREF colour) {
    if (tip_) SendMessageW(tip_, TTM_SETTIPBKCOLOR, colour, 0);
}

void Tooltip::setTextColour(COLORREF colour) {
    if (tip_) SendMessageW(tip_, TTM_SETTIPTEXTCOLOR, colour, 0);
}

void Tooltip::setMaximumWidth(int pixels) {
    if (tip_) SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, pixels);
}

void Tooltip::deleteTool(UINT_PTR id) {
    if (!tip_) return;
    TOOLINFOW tool = toolInfo(id);
    SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltip::moveTool(UINT_PTR id, const RECT& rect) {
    if (!tip_) return;
    TOOLINFOW tool = toolInfo(id);
    tool.rect = rect;
    SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltip::changeText(UINT_PTR id, const std::wstring& text) {
    if (!tip_) return;
    TOOLINFOW tool = toolInfo(id);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace skin
