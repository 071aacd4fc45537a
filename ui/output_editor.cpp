#include "ui/output_editor.h"

#include "ui/editor_window.h"

namespace ui {

namespace {

output::OutputHistory::WriteBox writerFor(EditorWindow& window) {
    return [&window](const std::string& text) { window.output().setText(text); };
}

}  // namespace

void recordSnapshot(EditorWindow& window) { window.history().record(window.output().text()); }

void undoOutput(EditorWindow& window) { window.history().undo(window.output().text(), writerFor(window)); }

void redoOutput(EditorWindow& window) { window.history().redo(writerFor(window)); }

void onOutputKeyDown(EditorWindow& window, const ControlEvent& event) {
    if (event.modifiers != kCtrl) return;
    if (event.virtualKey == 'X') undoOutput(window);
    if (event.virtualKey == 'Y') redoOutput(window);
}

}  // namespace ui
