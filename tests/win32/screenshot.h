// Saves what the screen shows of a window as a PNG, for looking at the UI
// of a test run (only when RPGITEM_SCREENSHOT_DIR names a directory).
#pragma once

#include <windows.h>

#include <string>

// The directory screenshots go to, empty when none was asked for.
std::wstring screenshotDirectory();
// Captures the screen pixels under `hwnd` into `directory`/`name`.png.
bool saveWindowScreenshot(HWND hwnd, const std::wstring& name);
