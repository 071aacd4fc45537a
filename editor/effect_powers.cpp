#include "editor/effect_powers.h"

#include <algorithm>

namespace {

bool contains(std::span<const std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

namespace potions {
namespace {

constexpr PotionMode kModes[] = {
    {"单选框1", "potionhit {T} {编辑框15*20} {编辑框16} {key:组合框_药水} {编辑框14}", "编辑框14 编辑框15 编辑框17",
     false},
    {"单选框2", "potionpurge {T} {编辑框15*20} {key:组合框_类型} {编辑框17*20}", "编辑框15 编辑框17", true},
    {"单选框3", "potionthrow {T} {编辑框16} {key:组合框_药水}", "编辑框16", false},
    {"单选框4", "potionself {T} {编辑框17*20} {编辑框15*20} {编辑框16} {key:组合框_药水}",
     "编辑框15 编辑框16 编辑框17", false},
};

constexpr std::string_view kContentWriteOrder[] = {"编辑框14", "编辑框15", "编辑框17", "编辑框16"};
constexpr std::string_view kEnableWriteOrder[] = {"编辑框14", "编辑框15", "编辑框16", "编辑框17"};

}  // namespace

std::span<const PotionMode> modes() {
    return kModes;
}

const PotionMode* modeOf(std::string_view radio) {
    for (const PotionMode& mode : kModes) {
        if (mode.radio == radio) return &mode;
    }
    return nullptr;
}

bool uses(const PotionMode& mode, std::string_view box) {
    return contains(powers::splitNames(mode.usedBoxes), box);
}

std::span<const std::string_view> contentWriteOrder() {
    return kContentWriteOrder;
}

std::span<const std::string_view> enableWriteOrder() {
    return kEnableWriteOrder;
}

powers::Addition addition(std::span<const std::string_view> checked, const powers::PowerInputs& inputs) {
    std::vector<std::string_view> chosen;
    for (const PotionMode& mode : kModes) {
        if (contains(checked, mode.radio)) chosen.push_back(mode.pattern);
    }
    return powers::buildPowers(chosen, kTriggerCombo, inputs);
}

std::vector<std::string_view> patterns() {
    std::vector<std::string_view> all;
    for (const PotionMode& mode : kModes) all.push_back(mode.pattern);
    return all;
}

}  // namespace potions

namespace consume {
namespace {

// Food copies the saturation box as typed: the box itself admits digits only.
constexpr ConsumeKind kKinds[] = {
    {"单选框5", "consume {T}"},
    {"单选框6", "food {T} {text:编辑框20}"},
};

}  // namespace

std::span<const ConsumeKind> kinds() {
    return kKinds;
}

powers::Addition addition(std::span<const std::string_view> checked, const powers::PowerInputs& inputs) {
    std::vector<std::string_view> chosen;
    for (const ConsumeKind& kind : kKinds) {
        if (contains(checked, kind.radio)) chosen.push_back(kind.pattern);
    }
    return powers::buildPowers(chosen, kTriggerCombo, inputs);
}

std::vector<std::string_view> patterns() {
    std::vector<std::string_view> all;
    for (const ConsumeKind& kind : kKinds) all.push_back(kind.pattern);
    return all;
}

}  // namespace consume
