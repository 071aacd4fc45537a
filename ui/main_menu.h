// The main menu: a table of commands, opened as a popup menu under the
// caption's 主菜单 button; each command's keys work wherever the focus is
// in the main window.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class EditorWindow;

using MenuCommand = void (*)(EditorWindow& window);

struct MenuRow {
    UINT id;                // kMenuSeparator: a line; kRecentFilesItem: where the recent files go
    std::string_view text;  // UTF-8
    UINT key = 0;           // virtual key of the accelerator, 0 for none
    BYTE modifiers = 0;     // FCONTROL, FSHIFT, FALT added together
    MenuCommand run = nullptr;
};

inline constexpr UINT kMenuSeparator = 0;
inline constexpr UINT kRecentFilesItem = 0xE2FF;
// The recent files' items: kFirstRecentFile + index, most recent first.
inline constexpr UINT kFirstRecentFile = 0xE300;
inline constexpr size_t kMaxRecentFiles = 8;

std::span<const MenuRow> mainMenuRows();

// An item's text with its keys after a tab: "保存\tCtrl+S".
std::wstring menuItemText(const MenuRow& row);
// The menu as it opens now, the recent files (full paths) in their place;
// the caller destroys it.
HMENU buildMainMenu(const std::vector<std::wstring>& recentFiles);

// Opens the menu under the 主菜单 caption button, towards the window's
// inside (at the cursor when the window has no such button); the chosen
// item arrives as WM_COMMAND.
void openMainMenu(EditorWindow& window);

// WM_COMMAND of a menu item or an accelerator: runs it and returns true,
// or returns false when `id` is not the main menu's.
bool runMainMenuItem(EditorWindow& window, UINT id);

// One step of a message loop before TranslateMessage: a key chord of the
// main menu pressed in a main window or any of its controls becomes that
// window's WM_COMMAND. True when the message was used up.
bool translateMainMenuKeys(MSG& msg);

}  // namespace ui
