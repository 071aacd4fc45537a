#include "skin/control_hooks.h"
#include "skin/skin_engine.h"

namespace skin {
int SkinEngine::SkinContainer(HWND, bool, COLORREF, int, bool) { return 0; }
void SkinEngine::SetContainerAlpha(HWND, int) {}
}  // namespace skin
