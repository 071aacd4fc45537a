#include "ui/delivery_handler.h"

#include <windows.h>

#include <string>

#include "bridge/delivery.h"
#include "bridge/win32_game_platform.h"
#include "editor/control_names.h"
#include "ui/editor_window.h"

namespace ui {

namespace {

bridge::DeliveryGate gate;
bridge::GamePlatform* platformForTesting = nullptr;

}  // namespace

void startKeyboardDelivery(EditorWindow& window) {
    if (gate.busy()) return;
    HWND button = window.control(editor::kDeliverButton);
    const std::string commands = window.text(editor::kOutputBox);
    bridge::Win32GamePlatform platform;
    gate.deliver(platformForTesting ? *platformForTesting : platform, commands, [button](bool busy) {
        if (button && IsWindow(button)) EnableWindow(button, busy ? FALSE : TRUE);
    });
}

bool deliveryInProgress() { return gate.busy(); }

void useGamePlatformForTesting(bridge::GamePlatform* platform) { platformForTesting = platform; }

}  // namespace ui
