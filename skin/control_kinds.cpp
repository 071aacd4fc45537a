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

void runControlHooks(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren) return;
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
