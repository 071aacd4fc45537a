// List boxes, combo drop-down lists, list views, tree views, IP-address and
// date-time controls: the skin draws their border and, with the veil on,
// lays the veiled window surface behind the items of lists and trees.
#pragma once

#include <windows.h>

namespace skin {

class SkinEngine;

void hookFramedControls(SkinEngine& engine, int windowIndex, HWND parent);

// A queued message for `target` (or one of its children) is about to be
// dispatched: a control scrolled by the keyboard lays its veil again.
void preDispatch(HWND target);
// The thread's hook that signals preDispatch.
void installPreDispatchHook();
void removePreDispatchHook();

}  // namespace skin
