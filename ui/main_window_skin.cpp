#include "ui/main_window_skin.h"

#include "editor/control_names.h"
#include "res/resource_ids.h"
#include "skin/skin_engine.h"
#include "ui/editor_window.h"
#include "ui/help_and_music.h"
#include "ui/main_menu.h"

namespace ui {

const std::string_view kGroupBoxes[12] = {
    editor::kItemGroup,   editor::kDescriptionGroup, editor::kAttributesGroup,  editor::kDropGroup,
    editor::kPotionGroup, editor::kSkillGroup,       editor::kConsumeGroup,     editor::kSkillParametersGroup,
    editor::kUsageGroup,  editor::kHistoryGroup,     editor::kSkillExtrasGroup, editor::kArrowRainGroup};

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
    engine->SetMenuHandler(hwnd, [&window] { openMainMenu(window); });
    engine->SetHelpHandler(hwnd, [&window] { toggleTutorial(window); });
    // The group boxes are see-through (tint alpha 0): the window's surface
    // shows through them; the controls inside them are skinned with them.
    for (std::string_view name : kGroupBoxes) {
        if (HWND box = window.control(name)) engine->SkinContainer(box, true, GetSysColor(COLOR_BTNFACE), 0);
    }
}

}  // namespace ui
