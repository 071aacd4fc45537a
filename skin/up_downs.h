// Up-down controls: two rounded half-buttons with arrow glyphs, lit in the
// theme colour under the mouse; the control keeps its own behaviour.
#pragma once

#include <windows.h>

#include <optional>

namespace skin {

class SkinEngine;

void hookUpDowns(SkinEngine& engine, int windowIndex, HWND parent);
LRESULT CALLBACK UpDownProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
// Paints onto the control's whole-window DC; `hot`, `pressed` and `mouse`
// default to the entry's own state.
void DrawUpDown(int windowIndex, int control, std::optional<bool> hot = {}, std::optional<bool> pressed = {},
                std::optional<LPARAM> mouse = {});
// 0 when the point is in the first half (top or left), 1 in the second.
int HalfUnderMouse(int windowIndex, int control, LPARAM point);

}  // namespace skin
