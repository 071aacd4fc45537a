// Other common controls (month calendars, tab controls, toolbars, status
// bars, rich edit boxes and the like) laid over the skin's backdrop
// (SkinEngine::SkinOtherControl registers them).
#pragma once

#include <windows.h>

namespace skin {

LRESULT CALLBACK OtherControlProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace skin
