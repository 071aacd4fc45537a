// The item file: every control of the item form that holds part of an item,
// under English section and key names, in an INI file (ini_document.h). The
// table below is the one description of the format; the Win32 side reads and
// writes the controls by it, and the README documents it.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ini_document.h"
#include "editor/item_form.h"
#include "editor/text_encoding.h"

namespace editor {

// Text: an edit box's (or an editable combo box's edit part) content.
// Check: a check box or radio button, "true" / "false" in the file.
// Selection: a combo box's current item, written as that item's text ("" for
//            none); the item's key (text before "|") is accepted on reading.
// List: a list box's items, in order, one per key "1", "2", ... of the row's
//       own section (the row's key is unused and empty).
enum class ItemFileKind { Text, Check, Selection, List };

struct ItemFileField {
    std::string_view section;
    std::string_view key;
    std::string_view control;  // the control's name in the window layout
    ItemFileKind kind;
};

// Every field, in file order.
std::span<const ItemFileField> itemFileFields();
const ItemFileField* itemFileFieldOf(std::string_view control);

// The section and key of the output box's text when it was edited by hand.
inline constexpr std::string_view kItemFileOutputSection = "output";
inline constexpr std::string_view kItemFileOutputKey = "text";

// Files above this size are refused before they are read.
inline constexpr std::size_t kMaxItemFileBytes = 16u * 1024 * 1024;

// What one item file holds. A control absent from a map was not in the file
// (or not read from the window) and is left as it is.
struct ItemFileData {
    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, bool, std::less<>> checks;
    std::map<std::string, int, std::less<>> selections;  // item index, -1 none
    std::map<std::string, std::vector<std::string>, std::less<>> lists;
    std::optional<std::string> handEditedOutput;  // CR LF between lines
    // The file as it was read: its unknown sections and keys are written
    // again by a later save.
    IniDocument document;
};

struct ParsedItemFile {
    std::optional<ItemFileData> data;
    std::string error;  // a Chinese sentence naming the problem; empty on success
};

// Reads a whole file's bytes. Without a byte-order mark, the text is UTF-8
// or code page 936 (through `cp936ToUtf8`) as decodeText decides. Every field
// is in the result: those the file leaves out hold the control's state in a
// new form (the layout's initial text, tick, no selection, an empty list).
ParsedItemFile parseItemFile(std::string_view bytes, const Cp936ToUtf8& cp936ToUtf8);

// The file's bytes: UTF-8 with a byte-order mark, CR LF. Every field present
// in `data` is written; whatever else `data.document` holds is kept.
std::string serializeItemFile(const ItemFileData& data);

// The form's fields as data (no editor choices, no output text), and back;
// absent fields read as the form's defaults.
ItemFileData itemFileDataOf(const ItemForm& form);
ItemForm itemFormOf(const ItemFileData& data);

// What the output box shows once the file is open: the hand-edited output
// kept in it, else the composition of its form. CR LF after every line.
std::string outputTextOf(const ItemFileData& data);

}  // namespace editor
