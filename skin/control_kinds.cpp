#include "skin/control_kinds.h"

#include <commctrl.h>

#include "skin/buttons.h"
#include "skin/edit_boxes.h"
#include "skin/framed_controls.h"
#include "skin/headers.h"
#include "skin/skin_engine.h"
#include "skin/track_bars.h"
#include "skin/up_downs.h"

namespace skin {

ListedChildren::ListedChildren(HWND parent) : parent_(parent), outer_(current_) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[256] = {};
        GetClassNameW(child, name, 256);
        children_.emplace_back(child, name);
    }
    current_ = this;
}

const ListedChildren* ListedChildren::of(HWND parent) {
    for (const ListedChildren* l = current_; l; l = l->outer_) {
        if (l->parent_ == parent) return l;
    }
    return nullptr;
}

std::vector<HWND> ListedChildren::ofClass(const wchar_t* className) const {
    std::vector<HWND> found;
    for (const auto& [child, name] : children_) {
        if (_wcsicmp(name.c_str(), className) == 0 && IsWindow(child)) found.push_back(child);
    }
    return found;
}

void runControlHooks(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren) return;
    const ListedChildren listed(parent);
    hookPushButtons(engine, windowIndex, parent);
    hookCheckAndRadioButtons(engine, windowIndex, parent);
    hookEditsAndCombos(engine, windowIndex, parent);
    hookTrackBars(engine, windowIndex, parent);
    hookProgressBars(engine, windowIndex, parent);
    hookFramedControls(engine, windowIndex, parent);
    hookUpDowns(engine, windowIndex, parent);
    hookHeaders(engine, windowIndex, parent);
}

void startControlKinds() { installPreDispatchHook(); }

void stopControlKinds() { removePreDispatchHook(); }

int skinnedOwnerOf(SkinEngine& engine, HWND control) {
    for (HWND w = GetParent(control); w; w = GetParent(w)) {
        const int i = engine.registry().indexOf(w);
        if (i) return i;
    }
    return 0;
}

void repaintExpandingTree(LPARAM notifyHeader) {
    const auto* header = reinterpret_cast<const NMHDR*>(notifyHeader);
    if (!header) return;
    const NMHDR copy = *header;
    switch (copy.code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDEDW:
        InvalidateRect(copy.hwndFrom, nullptr, TRUE);
        break;
    }
}

PaintCounts& paintCounts() {
    static PaintCounts counts;
    return counts;
}

}  // namespace skin
