// Track bars and progress bars: drawn entirely by the skin over the
// captured backdrop.
#pragma once

#include <windows.h>

#include "skin/control_geometry.h"
#include "skin/window_registry.h"

namespace skin {

class SkinEngine;

void hookTrackBars(SkinEngine& engine, int windowIndex, HWND parent);
void hookProgressBars(SkinEngine& engine, int windowIndex, HWND parent);
LRESULT CALLBACK TrackBarProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProgressBarProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
// What the painter reads of a track bar: channel, thumb, position, range and
// selection, with the channel turned into horizontal terms for a vertical bar.
TrackBarState readTrackBar(const TrackBarEntry& t);
// The painters, onto the control's own DC.
void DrawTrackBar(int windowIndex, int control);
void DrawProgressBar(int windowIndex, int control);

}  // namespace skin
