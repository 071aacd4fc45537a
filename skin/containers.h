// Containers inside skinned windows (group boxes and other child windows
// that hold controls): painted from their owner window's surface, so that
// they are see-through onto it, with group boxes drawn as a pair of rounded
// outlines and their caption.
#pragma once

#include <windows.h>

namespace skin {

class SkinEngine;

// The subclass procedure of a registered container.
LRESULT CALLBACK ContainerProc(HWND container, UINT msg, WPARAM wParam, LPARAM lParam);

// Paints container `containerIndex` of window `ownerIndex` onto `dc` (the
// container's own DC with its children clipped out when 0) and clears its
// dirty flag.
void ComposeContainer(SkinEngine& engine, int ownerIndex, int containerIndex, HDC dc);
// Paints the container from a fresh backdrop without clearing the dirty
// flag, then has the transparent windows over it draw themselves again.
void PresentContainer(SkinEngine& engine, int ownerIndex, int containerIndex, HWND container, HDC paintDC);
// The outlines and caption of a group box, drawn onto `dc`.
void DrawGroupBox(SkinEngine& engine, int ownerIndex, int containerIndex, HDC dc);

// Left edge of the caption of a group box `width` wide whose caption is
// `textWidth` wide, by the horizontal alignment bits of `style`: BS_CENTER
// centres it, BS_LEFT puts it 10 from the left, anything else 10 from the
// right.
int groupBoxCaptionX(LONG style, int width, int textWidth);

// Container paints done since start (for tests).
long containerPaints();

}  // namespace skin
