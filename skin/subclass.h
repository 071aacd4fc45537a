// Subclassing: the one way the skin and the user interface put a procedure
// in front of a window's procedure. What each subclass needs on every
// message (the procedure it replaced, the installer's data, and for the
// skin the control's place in its records) is kept in process memory: a
// window property read is a server round trip under Wine (0.13 ms
// measured), and comctl32's SetWindowSubclass reads one per message. The
// skin still writes its window properties (Hw_hProc, Hw_FuID, Hw_lbID, ...)
// for whoever inspects a window; it never reads them back.
//
// A window may carry several subclasses, one per procedure; the one
// installed last sees a message first. Group boxes of the editor carry two,
// always in this order: the user interface installs its notification
// forwarder when it creates the box, the skin installs its container
// procedure when the box is skinned later. A message thus reaches the
// skin's procedure first, then the forwarder, then the BUTTON class.
#pragma once

#include <windows.h>

#include <cstdint>

namespace skin {

struct Subclass {
    WNDPROC previous = nullptr;  // the procedure this subclass replaced
    std::uintptr_t data = 0;     // the installer's own value (flags, a pointer)
    // The skin's: the 1-based index of the skinned window the control
    // belongs to (of the window itself for a frame), and the control's
    // 1-based position in the list of its kind; 0 elsewhere.
    int owner = 0;
    int index = 0;
};

// The window's subclass by `procedure`, or nullptr. User-interface thread
// only; the pointer is good until the next install or forget.
Subclass* findSubclass(HWND hwnd, WNDPROC procedure);
// Puts `procedure` in front of the window's procedure, once per window: a
// second call only replaces the values. The subclass as it now stands.
Subclass& installSubclass(HWND hwnd, WNDPROC procedure, const Subclass& values);
// Forgets the subclass (its procedure calls this after passing WM_NCDESTROY on).
void forgetSubclass(HWND hwnd, WNDPROC procedure);
// The skin's windows renumbered: every skin subclass of `hwnd` now belongs to `owner`.
void setSubclassOwner(HWND hwnd, int owner);

// Passes a message to the procedure a subclass replaced (DefWindowProc when
// none is known).
inline LRESULT callPrevious(WNDPROC previous, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return previous ? CallWindowProcW(previous, hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace skin
