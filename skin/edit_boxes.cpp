#include "skin/control_hooks.h"
#include "skin/skin_engine.h"

namespace skin {
void hookEditsAndCombos(SkinEngine&, int, HWND) {}
}  // namespace skin
