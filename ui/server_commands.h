// The main window's two server commands, 发送到服务器 (F5) and 服务器设置…:
// a private message carries them to the window (the main menu's items send
// it), and F5 pressed anywhere in the program's windows sends to the servers.
#pragma once

#include <windows.h>

class EditorWindow;

enum class ServerCommand : WPARAM {
    SendToServers = 1,  // 发送到服务器 (F5)
    ServerSettings = 2, // 服务器设置…
};

// Posted or sent to the main window: wParam is a ServerCommand.
inline constexpr UINT kServerCommandMessage = WM_APP + 0x40;

// Makes the window answer kServerCommandMessage and F5.
void installServerCommands(EditorWindow& window);

// Runs the command for the window (what the menu item does).
void runServerCommand(EditorWindow& window, ServerCommand command);
