// The deliver button (按钮1): types the output box's command lines into the
// running game client (bridge/delivery.h holds the run itself).
#pragma once

namespace bridge {
class GamePlatform;
}

namespace ui {

class EditorWindow;

// Reads the output box once and runs one delivery. A run waits with the
// window responsive; meanwhile 按钮1 is disabled and a further click is
// ignored, so that two runs never interleave their keys in the game's chat.
void startKeyboardDelivery(EditorWindow& window);

// Whether a delivery run is in progress.
bool deliveryInProgress();

// Test seam: runs use `platform` instead of the real one until it is reset
// with nullptr.
void useGamePlatformForTesting(bridge::GamePlatform* platform);

}  // namespace ui
