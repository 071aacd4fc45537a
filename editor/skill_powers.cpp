#include "editor/skill_powers.h"

#include <array>

namespace editor {

namespace {

struct SkillRow {
    std::string_view pattern;
    std::string_view shown;  // names of the parameter controls shown, blank-separated
};

// Indexed by the selection of 组合框_技能 ("0.点燃[随意]" … "17.剑雨[随意]").
// Two quirks of the commands are kept as they are written: flame's value
// follows two blanks, and the arrow rain joins delay and count with "|".
constexpr std::array<SkillRow, kSkillCount> kSkills{{
    {"flame {T}  {编辑框时间*100}", "透明标签持续时间 编辑框时间"},
    {"knockup {T} {编辑框时间*100} {编辑框几率}", "透明标签40 透明标签41 编辑框时间 编辑框几率"},
    {"lightning {T} {编辑框威力} {编辑框几率}", "透明标签41 透明标签42 编辑框几率 编辑框威力"},
    {"arrow {T} {编辑框威力} {编辑框时间*20}", "透明标签40 透明标签42 编辑框时间 编辑框威力"},
    {"projectile {T} {key:组合框3} {编辑框数量} {编辑框威力} {编辑框时间*20}",
     "组合框3 透明标签40 透明标签42 透明标签53 透明标签55 编辑框数量 编辑框时间 编辑框威力"},
    {"ice {T} {编辑框时间*20}", "透明标签40 编辑框时间"},
    {"rumble {T} {编辑框时间*20} {编辑框威力} {编辑框距离}",
     "透明标签40 透明标签42 透明标签50 编辑框距离 编辑框时间 编辑框威力"},
    {"skyhook {T} {编辑框时间} {编辑框材质}", "透明标签40 透明标签43 编辑框时间 编辑框材质"},
    {"teleport {T} {编辑框时间*20} {编辑框距离}", "透明标签40 透明标签50 编辑框距离 编辑框时间"},
    {"tntcannon {T} {编辑框威力} {编辑框几率} {编辑框时间*20}",
     "透明标签40 透明标签41 透明标签42 编辑框时间 编辑框几率 编辑框威力"},
    {"rainbow {T} {编辑框时间*20} {编辑框数量}", "透明标签40 透明标签55 编辑框数量 编辑框时间"},
    {"lifesteal {T} {编辑框威力} {编辑框几率}", "透明标签41 透明标签42 编辑框几率 编辑框威力"},
    {"crit {T} {编辑框威力} {编辑框几率}", "透明标签41 透明标签42 编辑框几率 编辑框威力"},
    {"throw {T} {编辑框威力} {key:组合框1} {key:组合框2} {编辑框延迟*20} {编辑框时间}",
     "组合框1 组合框2 透明标签40 透明标签42 透明标签51 透明标签54 透明标签57 编辑框延迟 编辑框时间 编辑框威力"},
    {"block {T} {key:组合框4} {编辑框时间} {编辑框几率*20}",
     "组合框4 透明标签41 透明标签56 透明标签持续时间 编辑框时间 编辑框几率"},
    {"backstab {T} {编辑框倍数} {编辑框几率*20}", "透明标签41 透明标签52 编辑框倍数 编辑框几率"},
    {"aoe {T} {编辑框威力}", "透明标签42 编辑框威力"},
    {"arrowrain {T} {剑雨半径} {剑雨高度} {剑雨威力} {剑雨延迟}|{剑雨数量} {编辑框时间} {编辑框几率}",
     "透明标签40 透明标签41 编辑框时间 编辑框几率 剑雨"},
}};

constexpr std::string_view kParameterControls[] = {
    kBreaksBlocksCombo,  kSetsFireCombo,  kProjectileCombo,  kBlockKindCombo,    kCooldownLabel,   kChanceLabel,
    kSkillPowerLabel,    kMaterialLabel,  kDistanceLabel,    kBreaksBlocksLabel, kMultiplierLabel, kProjectileLabel,
    kSetsFireLabel,      kCountLabel,     kBlockKindLabel,   kDelayLabel,        kDurationLabel,   kSkillDelayBox,
    kSkillMultiplierBox, kSkillCountBox,  kSkillDistanceBox, kSkillTimeBox,      kSkillChanceBox,  kSkillPowerBox,
    kSkillMaterialBox,   kArrowRainGroup,
};

bool isSkill(int index) { return index >= 0 && index < kSkillCount; }

}  // namespace

std::optional<std::string_view> skillPattern(int index) {
    if (!isSkill(index)) return std::nullopt;
    return kSkills[static_cast<std::size_t>(index)].pattern;
}

std::vector<std::string_view> skillPatterns() {
    std::vector<std::string_view> all;
    for (const SkillRow& row : kSkills) all.push_back(row.pattern);
    return all;
}

std::span<const std::string_view> skillParameterControls() { return kParameterControls; }

std::optional<std::vector<std::string_view>> shownSkillParameters(int index) {
    if (!isSkill(index)) return std::nullopt;
    return splitNames(kSkills[static_cast<std::size_t>(index)].shown);
}

PowerAddition skillAddition(int selection, const PowerInputs& inputs) {
    const auto chosen = skillPattern(selection);
    if (!chosen) return {};
    return buildPowers({*chosen}, kSkillTriggerCombo, inputs);
}

}  // namespace editor
