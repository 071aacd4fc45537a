// The skill editor's data: one row per item of 组合框_技能, giving the power
// text it adds (a pattern, see power_text.h) and the parameter controls it
// shows.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "editor/control_names.h"
#include "editor/power_text.h"

namespace editor {

inline constexpr int kSkillCount = 18;
inline constexpr std::string_view kArrowRainTip = "延迟和数量，双引号无法转到右边，请手动输入。";

// The power text pattern of skill `index`; nullopt when no skill has it.
std::optional<std::string_view> skillPattern(int index);

// Every row's pattern, in index order.
std::vector<std::string_view> skillPatterns();

// The 26 controls whose visibility follows the chosen skill.
std::span<const std::string_view> skillParameterControls();

// The parameter controls skill `index` shows (all others of the 26 are
// hidden); nullopt when no skill has that index, and nothing changes.
std::optional<std::vector<std::string_view>> shownSkillParameters(int index);

// The entry 按钮4 adds for the skill selected at `selection`: none for a
// selection that is no skill, or the missing choice.
PowerAddition skillAddition(int selection, const PowerInputs& inputs);

}  // namespace editor
