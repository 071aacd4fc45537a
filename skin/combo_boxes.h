// Combo boxes: the skin paints the whole combo box window and leaves the
// areas of its child windows to them; its edit part is an edit box.
#pragma once

#include <windows.h>

namespace skin {

// Registers one combo box, and its edit part with the veil on.
void registerCombo(int windowIndex, HWND combo);
// The combo box on its whole-window DC.
void PaintComboBox(HWND combo, bool hot, bool focused);

}  // namespace skin
