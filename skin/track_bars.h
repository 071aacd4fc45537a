// Track bars and progress bars: drawn entirely by the skin over the
// captured backdrop.
#pragma once

#include <windows.h>

namespace skin {

class SkinEngine;

void hookTrackBars(SkinEngine& engine, int windowIndex, HWND parent);
void hookProgressBars(SkinEngine& engine, int windowIndex, HWND parent);
LRESULT CALLBACK TrackBarProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProgressBarProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
// The painters, onto the control's own DC.
void DrawTrackBar(int windowIndex, int control);
void DrawProgressBar(int windowIndex, int control);

}  // namespace skin
