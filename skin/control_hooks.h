// Hook routines: each finds the direct children of one kind under `parent`
// (the skinned top-level window or a container inside it) and subclasses
// them into the lists of the window's record.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "skin/window_registry.h"

namespace skin {

class SkinEngine;

// Push buttons become owner-drawn; check boxes and radio buttons keep their
// style and have their painting taken over.
void hookPushButtons(SkinEngine& engine, int windowIndex, HWND parent);
void hookCheckAndRadioButtons(SkinEngine& engine, int windowIndex, HWND parent);
// Edit boxes, combo boxes and the edit parts of combo boxes.
void hookEditsAndCombos(SkinEngine& engine, int windowIndex, HWND parent);
// List boxes, combo drop-down lists, list views, tree views, IP-address and
// date-time controls.
void hookFramedControls(SkinEngine& engine, int windowIndex, HWND parent);

// Track bars and progress bars: their whole painting is the skin's.
void hookTrackBars(SkinEngine& engine, int windowIndex, HWND parent);
void hookProgressBars(SkinEngine& engine, int windowIndex, HWND parent);
// Up-down controls: two half-buttons with arrow glyphs.
void hookUpDowns(SkinEngine& engine, int windowIndex, HWND parent);
// Header controls placed on `parent` and the column headers of its list views.
void hookHeaders(SkinEngine& engine, int windowIndex, HWND parent);

// Every kind's hook, in the order the frame runs them.
void runControlHooks(SkinEngine& engine, int windowIndex, HWND parent);

// Paints a skinned BUTTON control (push, picture, radio or check kind) on
// its own DC; `state` holds owner-draw state bits, `hot` adds the hot bit.
void RepaintButton(HWND control, UINT state, bool hot);

// Subclass procedures of the skinned kinds.
LRESULT CALLBACK ButtonProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TrackBarProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProgressBarProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK UpDownProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK HeaderProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK OtherControlProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);

// Painters of the common controls, each onto the control's own DC.
void DrawTrackBar(int windowIndex, int control);
void DrawProgressBar(int windowIndex, int control);
// `hot`, `pressed` and `mouse` default to the entry's own state.
void DrawUpDown(int windowIndex, int control, std::optional<bool> hot = {}, std::optional<bool> pressed = {},
                std::optional<LPARAM> mouse = {});
// 0 when the point is in the first half (top or left), 1 in the second.
int HalfUnderMouse(int windowIndex, int control, LPARAM point);
// Every column of a header; `dc` 0 paints on the header's own DC.
void DrawHeader(int windowIndex, int control, HDC dc);
// 1-based column under x (with a 5-pixel margin at each edge), 0 none.
int HitTestHeader(int windowIndex, int control, LPARAM point);
// One- and four-picture buttons (kinds 1 and 3) in owner-draw `state`
// (1 pressed, 4 disabled, 16 focused, 64 hot).
void PaintPictureButton(const ButtonEntry& entry, HWND control, HDC dc, UINT state, const RECT& rect);

// Calls `visit` for each direct child of `parent` of the class `className`.
template <typename Visit>
void forEachChildOfClass(HWND parent, const wchar_t* className, Visit visit) {
    for (HWND child = FindWindowExW(parent, nullptr, className, nullptr); child;
         child = FindWindowExW(parent, child, className, nullptr)) {
        visit(child);
    }
}

}  // namespace skin
