// Edit boxes: the skin draws the border and, with the veil on, the veiled
// background of the text area; text, caret and scroll bars stay the control's.
#pragma once

#include <windows.h>

namespace skin {

class SkinEngine;

// Edit boxes, combo boxes and the edit parts of combo boxes under `parent`.
void hookEditsAndCombos(SkinEngine& engine, int windowIndex, HWND parent);
// Registers one edit box (subclassed, properties set).
void registerEdit(int windowIndex, HWND control);
// The border on the control's whole-window DC.
void PaintEditBorder(HWND control, bool focused, bool hot);

}  // namespace skin
