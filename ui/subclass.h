// Typed subclass procedures of the user interface over the skin's one
// subclassing primitive (skin/subclass.h: previous procedure and data in
// process memory, the order of subclasses on a group box).
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/subclass.h"

namespace ui {

using SubclassProc = LRESULT (*)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous,
                                 std::uintptr_t data);

namespace detail {

template <SubclassProc Proc>
LRESULT CALLBACK thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const skin::Subclass* found = skin::findSubclass(hwnd, &thunk<Proc>);
    if (!found) return DefWindowProcW(hwnd, msg, wParam, lParam);
    const skin::Subclass subclass = *found;
    const LRESULT result = Proc(hwnd, msg, wParam, lParam, subclass.previous, subclass.data);
    if (msg == WM_NCDESTROY) skin::forgetSubclass(hwnd, &thunk<Proc>);
    return result;
}

}  // namespace detail

// Installs `Proc` in front of the window's procedure, once per window; a
// second call only replaces the data. `Proc` passes what it does not consume
// to `previous` with CallWindowProcW.
template <SubclassProc Proc>
void subclassWindow(HWND hwnd, std::uintptr_t data = 0) {
    skin::installSubclass(hwnd, &detail::thunk<Proc>, {nullptr, data});
}

// The data given to subclassWindow, or 0 when the window has no such subclass.
template <SubclassProc Proc>
std::uintptr_t subclassData(HWND hwnd) {
    const skin::Subclass* found = skin::findSubclass(hwnd, &detail::thunk<Proc>);
    return found ? found->data : 0;
}

}  // namespace ui
