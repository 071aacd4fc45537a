#include "ui/server_commands.h"

#include "ui/editor_window.h"
#include "ui/server_delivery.h"
#include "ui/servers_dialog.h"
#include "ui/subclass.h"

namespace ui {

namespace {

LRESULT serverCommands(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous, std::uintptr_t data) {
    if (msg == kServerCommandMessage) {
        runServerCommand(*reinterpret_cast<EditorWindow*>(data), static_cast<ServerCommand>(wParam));
        return 0;
    }
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

}  // namespace

void installServerCommands(EditorWindow& window) {
    subclassWindow<serverCommands>(window.hwnd(), reinterpret_cast<std::uintptr_t>(&window));
}

void runServerCommand(EditorWindow& window, ServerCommand command) {
    switch (command) {
    case ServerCommand::SendToServers:
        sendToServers(window);
        break;
    case ServerCommand::SendItemFiles:
        sendItemFilesToServers(window);
        break;
    case ServerCommand::ServerSettings:
        openServersDialog(window.hwnd());
        break;
    }
}

}  // namespace ui
