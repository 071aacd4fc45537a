// The item editor's handlers over the main window's controls.
#pragma once

#include <string_view>

#include "editor/item_form.h"

namespace ui {

class EditorWindow;

// Reads the form's controls as they are at this moment.
editor::ItemForm readItemForm(const EditorWindow& window);

// Appends "/rpgitem " + id + " " + sub-command + CR LF to the output box; the
// id is read from its box for each line.
void emitCommand(EditorWindow& window, std::string_view subCommand);

// Empties the output box and appends every command line again.
void refreshOutput(EditorWindow& window);

// Puts the window back to its fixed size; the position stays.
void sizeGuard(EditorWindow& window);

}  // namespace ui
