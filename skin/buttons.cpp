#include "skin/control_hooks.h"
#include "skin/skin_engine.h"

namespace skin {
void hookPushButtons(SkinEngine&, int, HWND) {}
void hookCheckAndRadioButtons(SkinEngine&, int, HWND) {}
void RepaintButton(HWND, UINT, bool) {}
}  // namespace skin
