// Skinned BUTTON controls: push buttons (owner-drawn, painted from
// WM_DRAWITEM), check boxes and automatic radio buttons (their WM_PAINT
// taken over), all lit while the mouse is over them.
#pragma once

#include <windows.h>

#include <string>

#include "skin/control_fonts.h"
#include "skin/window_registry.h"

namespace skin {

// Drawing state bits handed to the painters (the owner-draw item state
// bits, and the skin's own hot bit).
inline constexpr UINT kStatePressed = ODS_SELECTED;   // 1
inline constexpr UINT kStateDisabled = ODS_DISABLED;  // 4
inline constexpr UINT kStateFocused = ODS_FOCUS;      // 16
inline constexpr UINT kStateHot = 64;

// Which BUTTON styles the hooks take (the low four style bits decide).
bool isSkinnedPushButtonStyle(LONG style);
bool isSkinnedCheckOrRadioStyle(LONG style);

// A push button's font: "宋体" for an empty family, 12 for a size of 0.
ControlFont withPushButtonFallback(ControlFont font);

class SkinEngine;

// Push buttons become owner-drawn; check boxes and radio buttons keep their
// style and have their painting taken over.
void hookPushButtons(SkinEngine& engine, int windowIndex, HWND parent);
void hookCheckAndRadioButtons(SkinEngine& engine, int windowIndex, HWND parent);
LRESULT CALLBACK ButtonProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
// Paints a skinned BUTTON control (push, picture, radio or check kind) on
// its own DC; `state` holds owner-draw state bits, `hot` adds the hot bit.
void RepaintButton(HWND control, UINT state, bool hot);
// One- and four-picture buttons in owner-draw `state` (1 pressed,
// 4 disabled, 16 focused, 64 hot).
void PaintPictureButton(const ButtonEntry& entry, HWND control, HDC dc, UINT state, const RECT& rect);

// The skinned BUTTON entry of a control, or nullptr.
ButtonEntry* buttonEntryOf(HWND control);

// Painters: each captures the background, paints with GDI+ and copies the
// result to `dc` at the control's client origin.
void PaintPushButton(HWND control, HDC dc, UINT state, const RECT& rect);
void PaintCheckBox(HWND control, HDC dc, UINT state, const RECT& rect);
void PaintRadioButton(HWND control, HDC dc, UINT state, const RECT& rect);

// Button paints done since start (for tests).
long buttonPaints();

}  // namespace skin
