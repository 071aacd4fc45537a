// The output box's history handlers: a snapshot per change, Ctrl+X back,
// Ctrl+Y forward.
#pragma once

#include "ui/control_events.h"

namespace ui {

class EditorWindow;

void recordSnapshot(EditorWindow& window);
void undoOutput(EditorWindow& window);
void redoOutput(EditorWindow& window);

// Key-down in the output box: Ctrl alone with X undoes, with Y redoes. The
// key still reaches the box afterwards.
void onOutputKeyDown(EditorWindow& window, const ControlEvent& event);

}  // namespace ui
