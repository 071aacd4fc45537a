// Hands the main window to the skin engine when it has been created.
#pragma once

class EditorWindow;

// The main window's created handler: theme, options, and the window
// attached to the skin with its caption buttons. Does nothing when no skin
// engine runs.
void onMainWindowCreated(EditorWindow& window);
