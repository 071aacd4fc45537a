#include "ui/main_window_skin.h"

#include "res/resource_ids.h"
#include "skin/skin_engine.h"
#include "ui/editor_window.h"
#include "ui/help_and_music.h"
#include "ui/main_menu.h"

const char* const kGroupBoxes[] = {"分组框1",     "分组框2",  "分组框3",  "分组框_掉落",
                                   "分组框_药水", "分组框_技能", "分组框_药水1", "分组框4",
                                   "分组框5",     "分组框6",  "分组框7",  "剑雨"};

void onMainWindowCreated(EditorWindow& window) {
    skin::SkinEngine* engine = skin::SkinEngine::current();
    if (!engine) return;
    HWND hwnd = window.hwnd();
    skin::ThemeArgs theme;
    theme.pictureBytes = skin::resourceBytes(IDR_THEME_PNG);
    theme.baseColour = 0x00000000;
    theme.themeColour = 0x00C0C0C0;
    theme.pictureMode = skin::kPictureStretched;
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
    engine->SetMenuHandler(hwnd, [&window] { main_menu::open(window); });
    engine->SetHelpHandler(hwnd, [&window] { toggleTutorial(window); });
    // The group boxes are see-through (tint alpha 0): the window's surface
    // shows through them; the controls inside them are skinned with them.
    for (const char* name : kGroupBoxes) {
        if (HWND box = window.control(name)) engine->SkinContainer(box, true, GetSysColor(COLOR_BTNFACE), 0);
    }
}
