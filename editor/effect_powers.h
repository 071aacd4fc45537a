// The potion-effect and consume editors' data: the four potion modes with the
// value boxes each uses, and the consume and food powers (patterns as in
// power_text.h).
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "editor/control_names.h"
#include "editor/power_text.h"

namespace editor {

// What a value box the mode does not use holds while it is disabled.
inline constexpr std::string_view kUnusedBoxText = "×××××";

struct PotionMode {
    std::string_view radio;  // the radio button that selects it
    std::string_view pattern;
    std::string_view usedBoxes;  // the value boxes it uses, blank-separated
    bool showsEffectClass;       // 组合框_类型 shown instead of 组合框_药水
};

// hit, purge, throw, self: in the order the add button tests their radio buttons.
std::span<const PotionMode> potionModes();

// The mode selected by `radio`; nullptr when it selects none.
const PotionMode* potionModeOf(std::string_view radio);

bool potionModeUses(const PotionMode& mode, std::string_view box);

// The value boxes, in the order a mode switch writes their contents, and in
// the order it writes their enabled states.
std::span<const std::string_view> potionContentWriteOrder();
std::span<const std::string_view> potionEnableWriteOrder();

// The entries 按钮2 adds: one per checked radio button, in mode order.
// `checked` holds the radio buttons that are checked.
PowerAddition potionAddition(std::span<const std::string_view> checked, const PowerInputs& inputs);

// Every mode's pattern.
std::vector<std::string_view> potionPatterns();

struct ConsumeKind {
    std::string_view radio;
    std::string_view pattern;
};

// consume, food: in the order the add button tests their radio buttons.
std::span<const ConsumeKind> consumeKinds();

// The entries 按钮3 adds: one per checked radio button, in kind order.
PowerAddition consumeAddition(std::span<const std::string_view> checked, const PowerInputs& inputs);

std::vector<std::string_view> consumePatterns();

}  // namespace editor
