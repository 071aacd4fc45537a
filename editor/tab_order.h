// The order in which Tab moves the keyboard through the main window's form:
// reading order, group by group (top to bottom, left to right), and inside
// each group its controls in the same order. Plain data, so that the order
// can be checked natively; the window skips what is hidden or disabled.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "editor/layout.h"

namespace editor {

// Tops closer than this are one row: the form's groups and controls sit on
// rows whose tops differ by a few pixels.
inline constexpr int kTabRowTolerance = 16;

// The controls that take the keyboard (edit boxes, buttons, check boxes,
// radio buttons, combo boxes, list boxes) of `controls`, in Tab order. A
// control belongs to its group box; one on the client area belongs to the
// group box whose rectangle holds it, or stands alone.
std::vector<std::string_view> tabOrder(std::span<const Control> controls);

// The main window's Tab order (over controls()), computed once.
std::span<const std::string_view> mainTabOrder();

}  // namespace editor
