// The main menu: a table of commands, opened as a popup menu under the
// caption's 主菜单 button; each command's keys work wherever the focus is
// in the main window.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

class EditorWindow;

namespace main_menu {

using Command = void (*)(EditorWindow& window);

struct Row {
    UINT id;                // kSeparator: a line; kRecentFiles: where the recent files go
    std::string_view text;  // UTF-8
    UINT key = 0;           // virtual key of the accelerator, 0 for none
    BYTE modifiers = 0;     // FCONTROL, FSHIFT, FALT added together
    Command run = nullptr;
};

inline constexpr UINT kSeparator = 0;
inline constexpr UINT kRecentFiles = 0xE2FF;
// The recent files' items: kFirstRecentFile + index, most recent first.
inline constexpr UINT kFirstRecentFile = 0xE300;
inline constexpr size_t kMaxRecentFiles = 8;

std::span<const Row> rows();

// An item's text with its keys after a tab: "保存\tCtrl+S".
std::wstring itemText(const Row& row);
// The menu as it opens now, the recent files (full paths) in their place;
// the caller destroys it.
HMENU build(const std::vector<std::wstring>& recentFiles);

// Opens the menu under the 主菜单 caption button, towards the window's
// inside (at the cursor when the window has no such button); the chosen
// item arrives as WM_COMMAND.
void open(EditorWindow& window);

// WM_COMMAND of a menu item or an accelerator: runs it and returns true,
// or returns false when `id` is not the main menu's.
bool run(EditorWindow& window, UINT id);

// One step of a message loop before TranslateMessage: a key chord of the
// main menu pressed in a main window or any of its controls becomes that
// window's WM_COMMAND. True when the message was used up.
bool translateKeys(MSG& msg);

}  // namespace main_menu
