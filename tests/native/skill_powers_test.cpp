#include "editor/skill_powers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using editor::PowerInputs;

namespace {

// Every combo box with an item chosen, every box holding its own number.
PowerInputs everyInput() {
    PowerInputs in;
    in.choices["组合框_触发1"] = "tick|持续";
    in.choices["组合框3"] = "snowball|雪球";
    in.choices["组合框1"] = "t|可破坏";
    in.choices["组合框2"] = "f|不可着火";
    in.choices["组合框4"] = "buff|BUFF";
    in.boxes["编辑框时间"] = "2";
    in.boxes["编辑框几率"] = "3";
    in.boxes["编辑框威力"] = "5";
    in.boxes["编辑框材质"] = "7";
    in.boxes["编辑框距离"] = "11";
    in.boxes["编辑框倍数"] = "13";
    in.boxes["编辑框数量"] = "17";
    in.boxes["编辑框延迟"] = "19";
    in.boxes["剑雨半径"] = "23";
    in.boxes["剑雨高度"] = "29";
    in.boxes["剑雨威力"] = "31";
    in.boxes["剑雨延迟"] = "0:39";
    in.boxes["剑雨数量"] = "8:60";
    return in;
}

std::string skillText(int index, const PowerInputs& in) {
    const editor::PowerAddition addition = editor::skillAddition(index, in);
    EXPECT_FALSE(addition.refused()) << index << " misses " << addition.missingChoice;
    EXPECT_EQ(addition.entries.size(), 1u) << index;
    return addition.entries.empty() ? "<none>" : addition.entries.front();
}

PowerInputs triggerOnly() {
    PowerInputs in;
    in.choices["组合框_触发1"] = "tick|持续";
    return in;
}

}  // namespace

TEST(SkillPowers, EveryRowFromOneSetOfInputs) {
    const char* expected[editor::kSkillCount] = {
        "flame tick  200",
        "knockup tick 200 3",
        "lightning tick 5 3",
        "arrow tick 5 40",
        "projectile tick snowball 17 5 40",
        "ice tick 40",
        "rumble tick 40 5 11",
        "skyhook tick 2 7",
        "teleport tick 40 11",
        "tntcannon tick 5 3 40",
        "rainbow tick 40 17",
        "lifesteal tick 5 3",
        "crit tick 5 3",
        "throw tick 5 t f 380 2",
        "block tick buff 2 60",
        "backstab tick 13 60",
        "aoe tick 5",
        "arrowrain tick 23 29 31 0|8 2 3",
    };
    const PowerInputs in = everyInput();
    for (int index = 0; index < editor::kSkillCount; ++index) EXPECT_EQ(skillText(index, in), expected[index]);
}

TEST(SkillPowers, WorkedExamples) {
    PowerInputs in = triggerOnly();
    in.choices["组合框3"] = "snowball|雪球";
    in.boxes["编辑框数量"] = "3";
    in.boxes["编辑框威力"] = "5";
    in.boxes["编辑框时间"] = "2";
    EXPECT_EQ(skillText(4, in), "projectile tick snowball 3 5 40");

    PowerInputs rain = triggerOnly();
    rain.boxes["剑雨延迟"] = "0:39";
    rain.boxes["剑雨数量"] = "8:60";
    EXPECT_EQ(skillText(17, rain), "arrowrain tick 0 0 0 0|8 0 0");
}

TEST(SkillPowers, ScalingPerRow) {
    struct Case {
        int index;
        const char* box;
        const char* typed;
        const char* text;
    };
    const Case cases[] = {
        {0, "编辑框时间", "3", "flame tick  300"},
        {5, "编辑框时间", "3", "ice tick 60"},
        {7, "编辑框时间", "3", "skyhook tick 3 0"},
        {14, "编辑框几率", "2", "block tick buff 0 40"},
        {14, "编辑框时间", "2", "block tick buff 2 0"},
        {15, "编辑框几率", "2", "backstab tick 0 40"},
        {5, "编辑框时间", "１２", "ice tick 240"},  // full-width digits
        {7, "编辑框时间", "１２", "skyhook tick 12 0"},
        {16, "编辑框威力", "abc", "aoe tick 0"},  // not a number
        {16, "编辑框威力", "-4x", "aoe tick -4"},
        {0, "编辑框时间", "99999999999", "flame tick  214748364700"},
        {5, "编辑框时间", "-99999999999", "ice tick -42949672960"},
    };
    for (const Case& c : cases) {
        PowerInputs in = triggerOnly();
        in.choices["组合框4"] = "buff|BUFF";
        in.boxes[c.box] = c.typed;
        EXPECT_EQ(skillText(c.index, in), c.text) << c.index << " " << c.typed;
    }
}

TEST(SkillPowers, OnlyTheRowsBoxesCount) {
    PowerInputs in = everyInput();
    in.boxes["编辑框威力"] = "999";  // a hidden box still holds its text
    EXPECT_EQ(skillText(5, in), "ice tick 40");
}

TEST(SkillPowers, NoSkillSelectedAddsNothing) {
    for (int index : {-1, editor::kSkillCount, 1000}) {
        const editor::PowerAddition addition = editor::skillAddition(index, everyInput());
        EXPECT_TRUE(addition.entries.empty()) << index;
        EXPECT_FALSE(addition.refused()) << index;
    }
}

TEST(SkillPowers, MissingChoiceOfTheRowRefuses) {
    struct Case {
        int index;
        const char* unchosen;
        const char* missing;  // "" when the row does not need that combo
    };
    const Case cases[] = {
        {0, "组合框_触发1", "组合框_触发1"},
        {17, "组合框_触发1", "组合框_触发1"},
        {4, "组合框3", "组合框3"},
        {13, "组合框1", "组合框1"},
        {13, "组合框2", "组合框2"},
        {14, "组合框4", "组合框4"},
        {1, "组合框3", ""},
        {4, "组合框4", ""},
        {14, "组合框1", ""},
    };
    for (const Case& c : cases) {
        PowerInputs in = everyInput();
        in.choices[c.unchosen] = std::nullopt;
        const editor::PowerAddition addition = editor::skillAddition(c.index, in);
        EXPECT_EQ(addition.missingChoice, c.missing) << c.index << " " << c.unchosen;
        EXPECT_EQ(addition.entries.size(), addition.refused() ? 0u : 1u);
    }
}

TEST(SkillPowers, RowsReadOnlyTheThirteenBoxesAndFiveCombos) {
    std::set<std::string_view> boxes, combos;
    for (std::string_view pattern : editor::skillPatterns()) {
        for (const auto& [source, name] : editor::placeholdersOf(pattern, editor::kSkillTriggerCombo)) {
            (source == editor::PlaceholderSource::Box ? boxes : combos).insert(name);
        }
    }
    EXPECT_EQ(boxes, (std::set<std::string_view>{"编辑框时间", "编辑框几率", "编辑框威力", "编辑框材质", "编辑框距离",
                                                 "编辑框倍数", "编辑框数量", "编辑框延迟", "剑雨半径", "剑雨高度",
                                                 "剑雨威力", "剑雨延迟", "剑雨数量"}));
    EXPECT_EQ(combos, (std::set<std::string_view>{"组合框_触发1", "组合框3", "组合框1", "组合框2", "组合框4"}));
}

TEST(SkillParameters, VisibleSetOfEveryRow) {
    using Names = std::set<std::string_view>;
    const Names expected[editor::kSkillCount] = {
        {"透明标签持续时间", "编辑框时间"},
        {"透明标签40", "透明标签41", "编辑框时间", "编辑框几率"},
        {"透明标签41", "透明标签42", "编辑框几率", "编辑框威力"},
        {"透明标签40", "透明标签42", "编辑框时间", "编辑框威力"},
        {"组合框3", "透明标签40", "透明标签42", "透明标签53", "透明标签55", "编辑框数量", "编辑框时间", "编辑框威力"},
        {"透明标签40", "编辑框时间"},
        {"透明标签40", "透明标签42", "透明标签50", "编辑框距离", "编辑框时间", "编辑框威力"},
        {"透明标签40", "透明标签43", "编辑框时间", "编辑框材质"},
        {"透明标签40", "透明标签50", "编辑框距离", "编辑框时间"},
        {"透明标签40", "透明标签41", "透明标签42", "编辑框时间", "编辑框几率", "编辑框威力"},
        {"透明标签40", "透明标签55", "编辑框数量", "编辑框时间"},
        {"透明标签41", "透明标签42", "编辑框几率", "编辑框威力"},
        {"透明标签41", "透明标签42", "编辑框几率", "编辑框威力"},
        {"组合框1", "组合框2", "透明标签40", "透明标签42", "透明标签51", "透明标签54", "透明标签57", "编辑框延迟",
         "编辑框时间", "编辑框威力"},
        {"组合框4", "透明标签41", "透明标签56", "透明标签持续时间", "编辑框时间", "编辑框几率"},
        {"透明标签41", "透明标签52", "编辑框倍数", "编辑框几率"},
        {"透明标签42", "编辑框威力"},
        {"透明标签40", "透明标签41", "编辑框时间", "编辑框几率", "剑雨"},
    };
    for (int index = 0; index < editor::kSkillCount; ++index) {
        const auto shown = editor::shownSkillParameters(index);
        ASSERT_TRUE(shown) << index;
        EXPECT_EQ(Names(shown->begin(), shown->end()), expected[index]) << index;
        EXPECT_EQ(shown->size(), expected[index].size()) << index << ": a name listed twice";
    }
}

TEST(SkillParameters, TheTwentySixControls) {
    const auto all = editor::skillParameterControls();
    const std::set<std::string_view> unique(all.begin(), all.end());
    EXPECT_EQ(all.size(), 26u);
    EXPECT_EQ(unique.size(), 26u);
    for (int index = 0; index < editor::kSkillCount; ++index) {
        const auto shown = editor::shownSkillParameters(index);
        ASSERT_TRUE(shown);
        for (std::string_view name : *shown) EXPECT_TRUE(unique.contains(name)) << name;
    }
    EXPECT_FALSE(unique.contains("分组框4"));
    EXPECT_FALSE(unique.contains("分组框7"));
}

TEST(SkillParameters, NoSkillChangesNothing) {
    EXPECT_FALSE(editor::shownSkillParameters(-1));
    EXPECT_FALSE(editor::shownSkillParameters(editor::kSkillCount));
}
