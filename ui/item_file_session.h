// What the main window knows about item files: the file that is open, the
// form as it was when opened or saved, and the user's recent files.
#pragma once

#include <string>
#include <vector>

#include "editor/ini_document.h"
#include "editor/item_file.h"

namespace ui {

// The item preview as settings.ini keeps it: shown or not, and docked
// beside the main window's right or left edge, its top `top` pixels below
// the main window's.
struct PreviewPlace {
    bool visible = false;
    bool left = false;
    int top = 0;
    bool operator==(const PreviewPlace&) const = default;
};

struct ItemFileSession {
    std::wstring userFolder;  // settings.ini and recovery.ini live here
    std::wstring path;        // the open file; empty when the item has none yet
    // Unknown sections and keys of the open file, written again on saving.
    editor::IniDocument document;
    // The form as it was last opened, saved or emptied: differences from
    // it make the item "changed".
    editor::ItemFileData baseline;
    editor::ItemFileData emptyForm;         // the form as the new window showed it
    bool changedShown = false;              // what the title shows
    std::vector<std::wstring> recentFiles;  // most recent first
    std::wstring lastFolder;                // where the file dialogs start
    PreviewPlace preview;
};

}  // namespace ui
