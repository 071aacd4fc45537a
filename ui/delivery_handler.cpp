#include "ui/delivery_handler.h"

#include <windows.h>

#include <string>

#include "bridge/delivery.h"
#include "bridge/win32_game_platform.h"
#include "editor/control_names.h"
#include "ui/editor_window.h"
#include "ui/information_box.h"

namespace ui {

namespace {

bridge::DeliveryGate gate;
bridge::GamePlatform* platformForTesting = nullptr;

// The run's messages are the program's: owned by the window, as every other.
class EditorGamePlatform : public bridge::Win32GamePlatform {
public:
    void showMessage(std::string_view utf8) override { showInformation(utf8); }
};

}  // namespace

void startKeyboardDelivery(EditorWindow& window) {
    if (gate.busy()) return;
    HWND button = window.control(editor::kDeliverButton);
    const std::string commands = window.text(editor::kOutputBox);
    EditorGamePlatform platform;
    gate.deliver(platformForTesting ? *platformForTesting : platform, commands, [button](bool busy) {
        if (button && IsWindow(button)) EnableWindow(button, busy ? FALSE : TRUE);
    });
}

bool deliveryInProgress() { return gate.busy(); }

void useGamePlatformForTesting(bridge::GamePlatform* platform) { platformForTesting = platform; }

}  // namespace ui
