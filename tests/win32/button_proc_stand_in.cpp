// Stand-in for the button subclass procedure in test builds where the
// buttons' own procedure is not linked: it passes every message on.
#include "skin/control_hooks.h"

namespace skin {

LRESULT CALLBACK ButtonProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return passToPrevious(control, msg, wParam, lParam);
}

}  // namespace skin
