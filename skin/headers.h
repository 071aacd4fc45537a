// Header controls: the column bar of a list view and any header placed on a
// skinned window, each column a translucent gradient cell.
#pragma once

#include <windows.h>

namespace skin {

class SkinEngine;

// Header controls placed on `parent` and the column headers of its list views.
void hookHeaders(SkinEngine& engine, int windowIndex, HWND parent);
LRESULT CALLBACK HeaderProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
// Every column of a header; `dc` 0 paints on the header's own DC.
void DrawHeader(int windowIndex, int control, HDC dc);
// 1-based column under x (with a 5-pixel margin at each edge), 0 none.
int HitTestHeader(int windowIndex, int control, LPARAM point);

}  // namespace skin
