// Integer-only and decimal-only edit boxes.
#pragma once

#include <windows.h>

#include "ui/input_rules.h"

namespace ui {

// Filters typed and pasted characters; integer boxes are rewritten when
// they lose the focus (only when that changes their text).
void applyInputMode(HWND edit, editor::InputMode mode);

}  // namespace ui
