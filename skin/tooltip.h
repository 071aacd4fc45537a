// A tooltip window and its tools: the caption buttons' tips and the picture
// buttons' tips. Tools are named by 1-based ids; each covers a rectangle of
// the tooltip's owner and shows its tip while the mouse rests there.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace skin {

class Tooltip {
public:
    Tooltip() = default;
    // The tooltip window `tip` whose tools lie on `owner` (not owned here:
    // the system destroys a tooltip window with its owner).
    Tooltip(HWND tip, HWND owner) : tip_(tip), owner_(owner) {}

    // A new tooltip window owned by `owner` (TTS_ALWAYSTIP; a balloon when
    // asked); an empty Tooltip when the window cannot be made.
    static Tooltip create(HWND owner, bool balloon = false);

    bool addTool(const RECT& rect, const std::wstring& text, UINT_PTR id);
    void setBackgroundColour(COLORREF colour);
    void setTextColour(COLORREF colour);
    void setMaximumWidth(int pixels);
    void deleteTool(UINT_PTR id);
    void moveTool(UINT_PTR id, const RECT& rect);
    void changeText(UINT_PTR id, const std::wstring& text);
    HWND window() const { return tip_; }
    explicit operator bool() const { return tip_ != nullptr; }

private:
    TOOLINFOW toolInfo(UINT_PTR id) const;
    HWND tip_ = nullptr;
    HWND owner_ = nullptr;
};

}  // namespace skin
