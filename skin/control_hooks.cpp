#include "skin/control_hooks.h"

#include "skin/skin_engine.h"

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

}  // namespace skin
