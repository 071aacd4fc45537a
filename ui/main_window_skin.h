// Hands the main window to the skin engine when it has been created.
#pragma once

#include <string_view>

namespace ui {

class EditorWindow;

// The main window's created handler: theme, options, the window attached
// to the skin with its caption buttons (主菜单 opens the main menu, help
// shows the tutorial), and its twelve group boxes skinned
// in the order of kGroupBoxes. Does nothing when no skin engine runs.
void onMainWindowCreated(EditorWindow& window);

// The group boxes of the main window, in the order they are skinned.
extern const std::string_view kGroupBoxes[12];

}  // namespace ui
