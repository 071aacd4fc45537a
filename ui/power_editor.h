// The power editors' handlers: skills, potion effects, consume and food,
// and deleting powers through the lists' popup menus.
#pragma once

#include "ui/control_events.h"

namespace ui {

class EditorWindow;

// Selection changed on 组合框_技能: shows the chosen skill's parameter controls.
void showSkillParameters(EditorWindow& window, const ControlEvent& event);
// 按钮4: adds the chosen skill to 列表框_技能, then recomposes.
void addSkillPower(EditorWindow& window, const ControlEvent& event);
// 按钮10: the arrow-rain hint.
void showArrowRainTip(EditorWindow& window, const ControlEvent& event);

// 单选框1 to 单选框4: clears and enables the value boxes the clicked mode uses.
void setPotionMode(EditorWindow& window, const ControlEvent& event);
// 按钮2: adds a potion power to 列表框_药水, then recomposes.
void addPotionPower(EditorWindow& window, const ControlEvent& event);
// 按钮3: adds a consume or food power to 列表框_消耗, then recomposes.
void addConsumePower(EditorWindow& window, const ControlEvent& event);

// Right button over a power list: its popup menu, 3 pixels right of and
// below the cursor.
void openPowerMenu(EditorWindow& window, const ControlEvent& event);
// "删除" of a power list's menu: deletes the list's selected entry, then
// recomposes.
void deleteSelectedPower(EditorWindow& window, const ControlEvent& event);

}  // namespace ui
