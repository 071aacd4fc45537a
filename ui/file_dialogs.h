// The open and save-as dialogs of the item files, configured as
// 通用对话框1 is in the layout (its filter and default extension).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct FileChoice {
    bool save = false;
    std::wstring folder;  // where the dialog starts; empty: the system's choice
    std::wstring name;    // the name offered for saving
};

// The chosen file's full path, or nullopt when the user cancelled.
std::optional<std::wstring> chooseFile(HWND owner, const FileChoice& choice);

// Tests put a chooser of their own in place of the dialogs; returns the one
// replaced (nullptr brings the dialogs back).
using FileChooser = std::optional<std::wstring> (*)(HWND owner, const FileChoice& choice);
FileChooser replaceFileChooser(FileChooser chooser);

// The open dialog with several files chosen at once: their full paths (none
// when the user cancelled). `folder`: where it starts.
std::vector<std::wstring> chooseFilesToOpen(HWND owner, const std::wstring& folder);
using FilesChooser = std::vector<std::wstring> (*)(HWND owner, const std::wstring& folder);
FilesChooser replaceFilesChooser(FilesChooser chooser);

// "配置文件（*.ini）|*.ini" as the dialogs want it: pairs separated by NUL,
// ending in two NULs.
std::wstring dialogFilter(std::string_view layoutFilter);
// The first pattern's extension ("ini"), or "".
std::wstring defaultExtension(std::string_view layoutFilter);

}  // namespace ui
