#include "ui/delivery_handler.h"

#include <windows.h>

#include <string>

#include "bridge/delivery.h"
#include "bridge/win32_game_platform.h"
#include "ui/editor_window.h"

namespace {

bridge::DeliveryGate gate;
bridge::GamePlatform* platformForTesting = nullptr;

}  // namespace

void deliverCommands(EditorWindow& window) {
    if (gate.busy()) return;
    HWND button = window.control("按钮1");
    const std::string commands = window.text("编辑框1");
    bridge::Win32GamePlatform platform;
    gate.deliver(platformForTesting ? *platformForTesting : platform, commands, [button](bool busy) {
        if (button && IsWindow(button)) EnableWindow(button, busy ? FALSE : TRUE);
    });
}

bool deliveryInProgress() {
    return gate.busy();
}

void useGamePlatformForTesting(bridge::GamePlatform* platform) {
    platformForTesting = platform;
}
