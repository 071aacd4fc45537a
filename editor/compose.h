// Turns the item form into the plug-in's sub-commands, in command order.
#pragma once

#include <string>
#include <string_view>

#include "editor/item_form.h"

namespace editor {

// The sub-commands ("create", "display ...") for the form; empty when the id
// is empty. Pure: every field is copied verbatim.
CommandList composeCommands(const ItemForm& form);

// One line of the output box: "/rpgitem " + id + " " + sub-command + CR LF.
std::string commandLine(std::string_view id, std::string_view subCommand);

// The output box's text for the form: its command lines, each by commandLine.
std::string composeText(const ItemForm& form);

}  // namespace editor
