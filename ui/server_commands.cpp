#include "ui/server_commands.h"

#include "ui/editor_window.h"
#include "ui/server_delivery.h"
#include "ui/servers_dialog.h"
#include "ui/subclass.h"

namespace {

HWND mainWindow = nullptr;
HHOOK keyHook = nullptr;

LRESULT serverCommands(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous, std::uintptr_t data) {
    if (msg == kServerCommandMessage) {
        runServerCommand(*reinterpret_cast<EditorWindow*>(data), static_cast<ServerCommand>(wParam));
        return 0;
    }
    if (msg == WM_DESTROY && hwnd == mainWindow) {
        if (keyHook) UnhookWindowsHookEx(keyHook);
        keyHook = nullptr;
        mainWindow = nullptr;
    }
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

// F5 pressed while the main window or one of its controls has the focus
// (not inside a dialog of its own or another window of the program).
LRESULT CALLBACK onKey(int code, WPARAM key, LPARAM flags) {
    const bool pressed = (flags & 0x80000000) == 0 && (flags & 0x40000000) == 0;  // down, not repeated
    if (code == HC_ACTION && key == VK_F5 && pressed && mainWindow && GetActiveWindow() == mainWindow &&
        IsWindowEnabled(mainWindow)) {
        PostMessageW(mainWindow, kServerCommandMessage, static_cast<WPARAM>(ServerCommand::SendToServers), 0);
        return 1;
    }
    return CallNextHookEx(keyHook, code, key, flags);
}

}  // namespace

void installServerCommands(EditorWindow& window) {
    subclassWindow<serverCommands>(window.hwnd(), reinterpret_cast<std::uintptr_t>(&window));
    mainWindow = window.hwnd();
    if (!keyHook) keyHook = SetWindowsHookExW(WH_KEYBOARD, onKey, nullptr, GetCurrentThreadId());
}

void runServerCommand(EditorWindow& window, ServerCommand command) {
    switch (command) {
    case ServerCommand::SendToServers:
        sendToServers(window);
        break;
    case ServerCommand::ServerSettings:
        openServersDialog(window.hwnd());
        break;
    }
}
