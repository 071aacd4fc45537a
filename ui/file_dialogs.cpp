#include "ui/file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "editor/control_names.h"
#include "editor/layout.h"
#include "ui/win_text.h"

namespace ui {

namespace {

std::string_view layoutFilter() { return editor::controlNamed(editor::kItemFileDialog).text; }

std::optional<std::wstring> showDialog(HWND owner, const FileChoice& choice) {
    const std::wstring filter = dialogFilter(layoutFilter());
    const std::wstring extension = defaultExtension(layoutFilter());
    std::vector<wchar_t> file(32768, L'\0');
    choice.name.copy(file.data(), std::min(choice.name.size(), file.size() - 1));
    OPENFILENAMEW dialog{sizeof(dialog)};
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = choice.folder.empty() ? nullptr : choice.folder.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   (choice.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = choice.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return std::wstring(file.data());
}

FileChooser current = showDialog;

// With OFN_ALLOWMULTISELECT the buffer holds one full path, or the folder
// and then each name, NUL after each and two at the end.
std::vector<std::wstring> showMultipleDialog(HWND owner, const std::wstring& folder) {
    const std::wstring filter = dialogFilter(layoutFilter());
    std::vector<wchar_t> buffer(1 << 16, L'\0');
    OPENFILENAMEW dialog{sizeof(dialog)};
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST |
                   OFN_ALLOWMULTISELECT;
    if (!GetOpenFileNameW(&dialog)) return {};
    std::vector<std::wstring> parts;
    for (const wchar_t* part = buffer.data(); *part; part += wcslen(part) + 1) parts.emplace_back(part);
    if (parts.size() <= 1) return parts;
    std::vector<std::wstring> paths;
    const std::wstring base = parts[0].ends_with(L'\\') ? parts[0] : parts[0] + L"\\";
    for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(base + parts[i]);
    return paths;
}

FilesChooser currentMultiple = showMultipleDialog;

}  // namespace

std::optional<std::wstring> chooseFile(HWND owner, const FileChoice& choice) { return current(owner, choice); }

FileChooser replaceFileChooser(FileChooser chooser) {
    const FileChooser previous = current;
    current = chooser ? chooser : showDialog;
    return previous;
}

std::vector<std::wstring> chooseFilesToOpen(HWND owner, const std::wstring& folder) {
    return currentMultiple(owner, folder);
}

FilesChooser replaceFilesChooser(FilesChooser chooser) {
    const FilesChooser previous = currentMultiple;
    currentMultiple = chooser ? chooser : showMultipleDialog;
    return previous;
}

std::wstring dialogFilter(std::string_view layoutFilter) {
    std::wstring filter = wide(layoutFilter);
    for (wchar_t& ch : filter) {
        if (ch == L'|') ch = L'\0';
    }
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

std::wstring defaultExtension(std::string_view layoutFilter) {
    const std::size_t pattern = layoutFilter.find("|*.");
    if (pattern == std::string_view::npos) return {};
    const std::string_view rest = layoutFilter.substr(pattern + 3);
    return wide(rest.substr(0, rest.find_first_of(";|")));
}

}  // namespace ui
