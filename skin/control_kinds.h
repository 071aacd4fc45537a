// What the skinned control kinds share: running every kind's hook over a
// window or container, finding the children of a class, the owner of a
// control and the paint counters that tests and benchmarks read. Each kind
// has a header of its own (edit_boxes.h, combo_boxes.h, framed_controls.h,
// track_bars.h, up_downs.h, headers.h, buttons.h, containers.h,
// other_controls.h).
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace skin {

class SkinEngine;

// Every kind's hook, in the order the frame runs them: each finds the
// direct children of its kind under `parent` (the skinned top-level window
// or a container inside it) and subclasses them into the lists of the
// window's record.
void runControlHooks(SkinEngine& engine, int windowIndex, HWND parent);

// Installed by the engine for its thread, removed with it.
void startControlKinds();
void stopControlKinds();

// The direct children of `parent` with their class names, listed once for
// all the hooks of one run (each FindWindowEx is a server round trip
// under Wine, answered with the whole list); the hooks only register.
class ListedChildren {
public:
    explicit ListedChildren(HWND parent);
    ~ListedChildren() { current_ = outer_; }
    ListedChildren(const ListedChildren&) = delete;
    ListedChildren& operator=(const ListedChildren&) = delete;
    // The listing of `parent` under way, or nullptr.
    static const ListedChildren* of(HWND parent);
    // The children of the class (compared as FindWindowEx does), in z-order.
    std::vector<HWND> ofClass(const wchar_t* className) const;

private:
    static inline ListedChildren* current_ = nullptr;
    HWND parent_;
    ListedChildren* outer_;
    std::vector<std::pair<HWND, std::wstring>> children_;
};

// Calls `visit` for each direct child of `parent` of the class `className`.
template <typename Visit>
void forEachChildOfClass(HWND parent, const wchar_t* className, Visit visit) {
    if (const ListedChildren* listed = ListedChildren::of(parent)) {
        for (HWND child : listed->ofClass(className)) visit(child);
        return;
    }
    for (HWND child = FindWindowExW(parent, nullptr, className, nullptr); child;
         child = FindWindowExW(parent, child, className, nullptr)) {
        visit(child);
    }
}

// Index of the nearest skinned top-level window among `control`'s
// ancestors (the control itself excluded), 0 when there is none.
int skinnedOwnerOf(SkinEngine& engine, HWND control);

// WM_NOTIFY at a skinned window or container: a tree view that expands or
// collapses an item lays its veiled background again.
void repaintExpandingTree(LPARAM notifyHeader);

// Paints done by each painter since start (for tests and benchmarks).
struct PaintCounts {
    long trackBar = 0;
    long progress = 0;
    long upDown = 0;
    long header = 0;
    long other = 0;
    long pictureButton = 0;
};
PaintCounts& paintCounts();

}  // namespace skin
