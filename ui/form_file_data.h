// The item form's controls read into item-file data and written back from
// it, by the item file's table of fields (editor/item_file.h).
#pragma once

#include "editor/item_file.h"

namespace ui {

class EditorWindow;

// Every field of the table as the controls hold it, and the output box's
// text when it differs from the composition of the form (edited by hand).
editor::ItemFileData readFormData(EditorWindow& window);

// Fills the controls with `data` (fields absent from it keep their state),
// shows the skill and potion editors as their choices want, then recomposes
// the output once and puts a hand-edited output text in place after it.
void showFormData(EditorWindow& window, const editor::ItemFileData& data);

// Same fields and output text (the documents are not compared).
bool sameFormData(const editor::ItemFileData& a, const editor::ItemFileData& b);

}  // namespace ui
