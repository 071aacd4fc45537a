// Which handler each control event runs: one table for the whole window.
#pragma once

#include <span>
#include <string_view>

#include "ui/control_events.h"

namespace ui {

class EditorWindow;

using EventHandler = void (*)(EditorWindow& window, const ControlEvent& event);

struct Binding {
    std::string_view control;  // control name, or a popup menu's title
    EventKind kind;
    EventHandler handler;
};

std::span<const Binding> bindings();

// The binding of (control, kind), or nullptr: such events are left to the
// control's default behaviour.
const Binding* findBinding(std::string_view control, EventKind kind);

}  // namespace ui
