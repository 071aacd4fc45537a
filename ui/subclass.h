// Subclassing with the previous window procedure kept in process memory.
// comctl32's SetWindowSubclass finds its data through a named window
// property on every message, a server round trip per message under Wine
// (0.13 ms measured), which made every read of a control slow.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ui {

using SubclassProc = LRESULT (*)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous,
                                 std::uintptr_t data);

namespace detail {

struct Entry {
    WNDPROC previous = nullptr;
    std::uintptr_t data = 0;
};

// The window's entry for `proc`, or nullptr. User-interface thread only.
Entry* find(HWND hwnd, SubclassProc proc);
void remember(HWND hwnd, SubclassProc proc, Entry entry);
void forget(HWND hwnd, SubclassProc proc);

template <SubclassProc Proc>
LRESULT CALLBACK thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Entry* found = find(hwnd, Proc);
    if (!found) return DefWindowProcW(hwnd, msg, wParam, lParam);
    const Entry entry = *found;
    const LRESULT result = Proc(hwnd, msg, wParam, lParam, entry.previous, entry.data);
    if (msg == WM_NCDESTROY) forget(hwnd, Proc);
    return result;
}

}  // namespace detail

// Installs `Proc` in front of the window's procedure, once per window; a
// second call only replaces the data. `Proc` passes what it does not consume
// to `previous` with CallWindowProcW.
template <SubclassProc Proc>
void subclassWindow(HWND hwnd, std::uintptr_t data = 0) {
    if (auto* entry = detail::find(hwnd, Proc)) {
        entry->data = data;
        return;
    }
    detail::remember(hwnd, Proc, {nullptr, data});
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&detail::thunk<Proc>)));
    detail::find(hwnd, Proc)->previous = previous;
}

// The data given to subclassWindow, or 0 when the window has no such subclass.
template <SubclassProc Proc>
std::uintptr_t subclassData(HWND hwnd) {
    const auto* entry = detail::find(hwnd, Proc);
    return entry ? entry->data : 0;
}

}  // namespace ui
