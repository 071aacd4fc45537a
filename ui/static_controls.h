// The layout's own window classes: transparent labels and picture boxes.
#pragma once

#include <windows.h>

namespace ui {

inline constexpr wchar_t kLabelClass[] = L"RPGitemTransparentLabel";
inline constexpr wchar_t kPictureClass[] = L"RPGitemPictureBox";

bool registerStaticControlClasses(HINSTANCE instance);

// Text colour of a label (COLORREF); the font comes with WM_SETFONT.
void setLabelColour(HWND label, COLORREF colour);
// The font a label draws its text with: its own, or, where a one-line text
// is wider than the label, the same face narrowed until it fits.
HFONT labelDrawingFont(HWND label);

// Shows the RCDATA picture `resourceId` at its natural size, decoded when
// first painted or measured. Returns false when the program holds no such
// picture; one that cannot be decoded leaves the box empty.
bool setPictureResource(HWND pictureBox, int resourceId);

// Natural size of the picture a box shows ({0, 0} when it has none).
SIZE pictureSize(HWND pictureBox);

}  // namespace ui
