#include "editor/effect_powers.h"

#include <algorithm>

namespace editor {

namespace {

bool contains(std::span<const std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

namespace {

constexpr PotionMode kModes[] = {
    {kPotionHitRadio, "potionhit {T} {编辑框15*20} {编辑框16} {key:组合框_药水} {编辑框14}",
     "编辑框14 编辑框15 编辑框17", false},
    {kPotionPurgeRadio, "potionpurge {T} {编辑框15*20} {key:组合框_类型} {编辑框17*20}", "编辑框15 编辑框17", true},
    {kPotionThrowRadio, "potionthrow {T} {编辑框16} {key:组合框_药水}", "编辑框16", false},
    {kPotionSelfRadio, "potionself {T} {编辑框17*20} {编辑框15*20} {编辑框16} {key:组合框_药水}",
     "编辑框15 编辑框16 编辑框17", false},
};

constexpr std::string_view kContentWriteOrder[] = {kPotionChanceBox, kPotionDurationBox, kPotionCooldownBox,
                                                   kPotionLevelBox};
constexpr std::string_view kEnableWriteOrder[] = {kPotionChanceBox, kPotionDurationBox, kPotionLevelBox,
                                                  kPotionCooldownBox};

}  // namespace

std::span<const PotionMode> potionModes() { return kModes; }

const PotionMode* potionModeOf(std::string_view radio) {
    for (const PotionMode& mode : kModes) {
        if (mode.radio == radio) return &mode;
    }
    return nullptr;
}

bool potionModeUses(const PotionMode& mode, std::string_view box) { return contains(splitNames(mode.usedBoxes), box); }

std::span<const std::string_view> potionContentWriteOrder() { return kContentWriteOrder; }

std::span<const std::string_view> potionEnableWriteOrder() { return kEnableWriteOrder; }

PowerAddition potionAddition(std::span<const std::string_view> checked, const PowerInputs& inputs) {
    std::vector<std::string_view> chosen;
    for (const PotionMode& mode : kModes) {
        if (contains(checked, mode.radio)) chosen.push_back(mode.pattern);
    }
    return buildPowers(chosen, kPotionTriggerCombo, inputs);
}

std::vector<std::string_view> potionPatterns() {
    std::vector<std::string_view> all;
    for (const PotionMode& mode : kModes) all.push_back(mode.pattern);
    return all;
}

namespace {

// Food copies the saturation box as typed: the box itself admits digits only.
constexpr ConsumeKind kKinds[] = {
    {kConsumeRadio, "consume {T}"},
    {kFoodRadio, "food {T} {text:编辑框20}"},
};

}  // namespace

std::span<const ConsumeKind> consumeKinds() { return kKinds; }

PowerAddition consumeAddition(std::span<const std::string_view> checked, const PowerInputs& inputs) {
    std::vector<std::string_view> chosen;
    for (const ConsumeKind& kind : kKinds) {
        if (contains(checked, kind.radio)) chosen.push_back(kind.pattern);
    }
    return buildPowers(chosen, kConsumeTriggerCombo, inputs);
}

std::vector<std::string_view> consumePatterns() {
    std::vector<std::string_view> all;
    for (const ConsumeKind& kind : kKinds) all.push_back(kind.pattern);
    return all;
}

}  // namespace editor
