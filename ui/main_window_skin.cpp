#include "ui/main_window_skin.h"

#include "res/resource_ids.h"
#include "skin/skin_engine.h"
#include "ui/editor_window.h"

void onMainWindowCreated(EditorWindow& window) {
    skin::SkinEngine* engine = skin::SkinEngine::current();
    if (!engine) return;
    HWND hwnd = window.hwnd();
    skin::ThemeArgs theme;
    theme.pictureBytes = skin::resourceBytes(IDR_THEME_PNG);
    theme.baseColour = 0x00000000;
    theme.themeColour = 0x00C0C0C0;
    theme.pictureMode = 3;
    engine->SetTheme(theme);
    engine->SetOptions(true, 100);
    skin::AttachOptions options;
    options.framed = true;
    options.resizable = true;
    options.helpButton = true;
    options.menuButton = true;
    options.showTitle = true;
    options.captionGloss = false;
    // 15 is below the skin's minimum: the caption becomes 25 high.
    engine->AttachWindow(hwnd, 15, options);
}
