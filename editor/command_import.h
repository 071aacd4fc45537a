// Reading a command list ("/rpgitem <id> <sub-command>" lines, in any order)
// back into an item form: the inverse of composeCommands for every line the
// composer writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/item_form.h"

namespace editor {

struct ImportedItem {
    ItemForm form;  // fields no line sets keep ItemForm's defaults, except giveItem (false without "give")
    // The text between "/rpgitem " and the sub-command of the first command
    // line (it may hold blanks), the same on every line imported; "" when
    // there is none.
    std::string id;
    std::vector<std::string> unmatched;  // lines that fit no field, as they stood (blank lines are skipped)
};

// Reads `text` (lines separated by CR LF or LF). Power lines go to the skill,
// potion or consume list by their power's kind, in their order.
ImportedItem importCommands(std::string_view text);

}  // namespace editor
