#include "editor/control_names.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "editor/effect_powers.h"
#include "editor/item_file.h"
#include "editor/layout.h"
#include "editor/skill_powers.h"

using namespace editor;

namespace {

TEST(ControlNames, EachNamesAControlOfTheLayoutOnce) {
    std::set<std::string_view> seen;
    for (std::string_view name : kControlNames) {
        EXPECT_NE(findControl(name), nullptr) << name;
        EXPECT_TRUE(seen.insert(name).second) << "two constants name " << name;
    }
}

// The power tables still spell names inside their patterns and lists of
// shown boxes: each must be a control too.
TEST(ControlNames, PowerTablesNameControlsOfTheLayout) {
    std::vector<std::string_view> named;
    const auto addPlaceholders = [&](const std::vector<std::string_view>& patterns, std::string_view trigger) {
        for (std::string_view pattern : patterns) {
            for (const Placeholder& p : placeholdersOf(pattern, trigger)) named.push_back(p.control);
        }
    };
    addPlaceholders(skillPatterns(), kSkillTriggerCombo);
    addPlaceholders(potionPatterns(), kPotionTriggerCombo);
    addPlaceholders(consumePatterns(), kConsumeTriggerCombo);
    for (int index = 0; index < kSkillCount; ++index) {
        const auto shown = shownSkillParameters(index);
        named.insert(named.end(), shown->begin(), shown->end());
    }
    for (const PotionMode& mode : potionModes()) {
        named.push_back(mode.radio);
        for (std::string_view name : splitNames(mode.usedBoxes)) named.push_back(name);
    }
    for (const ConsumeKind& kind : consumeKinds()) named.push_back(kind.radio);
    for (const ItemFileField& field : itemFileFields()) named.push_back(field.control);
    EXPECT_GT(named.size(), 100u);
    for (std::string_view name : named) EXPECT_NE(findControl(name), nullptr) << name;
}

TEST(ControlNames, ControlNamedFindsKnownNamesAndThrowsOnOthers) {
    EXPECT_EQ(&controlNamed(kOutputBox), findControl("编辑框1"));
    EXPECT_EQ(controlNamed(kArrowRainGroup).kind, ControlKind::GroupBox);
    for (std::string_view unknown : {"编辑框0", "", "编辑框1 ", "按钮"}) {
        EXPECT_THROW(controlNamed(unknown), std::logic_error) << unknown;
    }
    try {
        controlNamed("编辑框0");
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string_view(e.what()).find("编辑框0"), std::string_view::npos) << e.what();
    }
}

}  // namespace
