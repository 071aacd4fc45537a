// What integer-only and decimal-only edit boxes accept and how an integer
// box rewrites its text. Pure: no window involved.
#pragma once

#include <string>
#include <string_view>

#include "editor/layout.h"

namespace ui {

// The text an integer box shows after it loses the focus: the leading
// number clamped to 32 bits in decimal, zero as an empty box.
std::string integerBoxText(std::string_view text);

// Whether a typed (printable) character is accepted in the given mode.
bool acceptsCharacter(editor::InputMode mode, char32_t ch);

}  // namespace ui
