// The main window's server commands, 发送到服务器 (F5), 发送多个物品到服务器…
// and 服务器设置…:
// the main menu's items (F5 is 发送到服务器's key) and a private message, by
// which tools and tests outside the process reach them, run the same function.
#pragma once

#include <windows.h>

namespace ui {

class EditorWindow;

enum class ServerCommand : WPARAM {
    SendToServers = 1,   // 发送到服务器 (F5)
    ServerSettings = 2,  // 服务器设置…
    SendItemFiles = 3,   // 发送多个物品到服务器…
};

// Posted or sent to the main window: wParam is a ServerCommand.
inline constexpr UINT kServerCommandMessage = WM_APP + 0x40;

// Makes the window answer kServerCommandMessage.
void installServerCommands(EditorWindow& window);

// Runs the command for the window (what the menu item does).
void runServerCommand(EditorWindow& window, ServerCommand command);

}  // namespace ui
