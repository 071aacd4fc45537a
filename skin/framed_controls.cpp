#include "skin/control_hooks.h"
#include "skin/skin_engine.h"

namespace skin {
void hookFramedControls(SkinEngine&, int, HWND) {}
}  // namespace skin
