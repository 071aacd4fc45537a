// Tab and Shift+Tab in the main window: the keyboard moves through the form
// in reading order (editor/tab_order.h), past hidden and disabled controls.
// The output box keeps Tab for itself; Ctrl+Tab leaves it.
#pragma once

#include <windows.h>

namespace ui {

// Handles the message when it is Tab in the main window; true when it did.
bool moveFocusOnTab(const MSG& msg);

}  // namespace ui
