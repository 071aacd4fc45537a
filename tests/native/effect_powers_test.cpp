#include "editor/effect_powers.h"

#include <gtest/gtest.h>

using editor::PowerInputs;
using Names = std::vector<std::string_view>;
using Entries = std::vector<std::string>;

namespace {

PowerInputs potionInputs() {
    PowerInputs in;
    in.choices["组合框_触发"] = "damage|攻击时";
    in.choices["组合框_药水"] = "poison|中毒";
    in.choices["组合框_类型"] = "bebuff|负面效果";
    in.boxes["编辑框14"] = "30";
    in.boxes["编辑框15"] = "5";
    in.boxes["编辑框16"] = "2";
    in.boxes["编辑框17"] = "4";
    return in;
}

Entries potionEntries(const Names& checked, const PowerInputs& in) {
    const editor::PowerAddition addition = editor::potionAddition(checked, in);
    EXPECT_FALSE(addition.refused()) << addition.missingChoice;
    return addition.entries;
}

PowerInputs consumeInputs(const char* saturation) {
    PowerInputs in;
    in.choices["组合框_触发2"] = "rightclick|右击时";
    in.boxes["编辑框20"] = saturation;
    return in;
}

}  // namespace

TEST(PotionPowers, EveryModeFromOneSetOfInputs) {
    const std::pair<const char*, const char*> cases[] = {
        {"单选框1", "potionhit damage 100 2 poison 30"},
        {"单选框2", "potionpurge damage 100 bebuff 80"},
        {"单选框3", "potionthrow damage 2 poison"},
        {"单选框4", "potionself damage 80 100 2 poison"},
    };
    for (auto [radio, text] : cases) EXPECT_EQ(potionEntries({radio}, potionInputs()), Entries{text}) << radio;
}

TEST(PotionPowers, WorkedExampleWithTheLevelBoxDisabled) {
    PowerInputs in = potionInputs();
    in.boxes["编辑框16"] = std::string(editor::kUnusedBoxText);
    in.boxes["编辑框17"] = "";
    EXPECT_EQ(potionEntries({"单选框1"}, in), Entries{"potionhit damage 100 0 poison 30"});
}

TEST(PotionPowers, PurgeWithNothingTyped) {
    PowerInputs in = potionInputs();
    in.choices["组合框_药水"] = std::nullopt;  // purge does not need an effect
    in.boxes = {{"编辑框14", "×××××"}, {"编辑框15", ""}, {"编辑框16", "×××××"}, {"编辑框17", ""}};
    EXPECT_EQ(potionEntries({"单选框2"}, in), Entries{"potionpurge damage 0 bebuff 0"});
}

TEST(PotionPowers, FullWidthDigitsCount) {
    PowerInputs in = potionInputs();
    in.boxes["编辑框15"] = "１２";
    EXPECT_EQ(potionEntries({"单选框3", "单选框1"}, in),
              (Entries{"potionhit damage 240 2 poison 30", "potionthrow damage 2 poison"}))
        << "one entry per checked mode, in mode order";
}

TEST(PotionPowers, NoModeCheckedAddsNothing) {
    EXPECT_TRUE(potionEntries({}, potionInputs()).empty());
    EXPECT_TRUE(potionEntries({"单选框5"}, potionInputs()).empty());
}

TEST(PotionPowers, MissingChoiceOfTheModeRefuses) {
    struct Case {
        const char* radio;
        const char* unchosen;
        const char* missing;
    };
    const Case cases[] = {
        {"单选框1", "组合框_触发", "组合框_触发"},
        {"单选框2", "组合框_触发", "组合框_触发"},
        {"单选框1", "组合框_药水", "组合框_药水"},
        {"单选框3", "组合框_药水", "组合框_药水"},
        {"单选框4", "组合框_药水", "组合框_药水"},
        {"单选框2", "组合框_类型", "组合框_类型"},
        {"单选框2", "组合框_药水", ""},
        {"单选框1", "组合框_类型", ""},
    };
    for (const Case& c : cases) {
        PowerInputs in = potionInputs();
        in.choices[c.unchosen] = std::nullopt;
        const editor::PowerAddition addition = editor::potionAddition(Names{c.radio}, in);
        EXPECT_EQ(addition.missingChoice, c.missing) << c.radio << " " << c.unchosen;
        EXPECT_EQ(addition.entries.size(), addition.refused() ? 0u : 1u);
    }
}

TEST(PotionModes, BoxesAndCombosPerMode) {
    struct Case {
        const char* radio;
        const char* used;  // 1 for a box the mode uses, in the order 编辑框14, 15, 16, 17
        bool effectClassShown;
    };
    const Case cases[] = {
        {"单选框1", "1101", false},
        {"单选框2", "0101", true},
        {"单选框3", "0010", false},
        {"单选框4", "0111", false},
    };
    const char* boxes[] = {"编辑框14", "编辑框15", "编辑框16", "编辑框17"};
    for (const Case& c : cases) {
        const editor::PotionMode* mode = editor::potionModeOf(c.radio);
        ASSERT_TRUE(mode) << c.radio;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(editor::potionModeUses(*mode, boxes[i]), c.used[i] == '1') << c.radio << boxes[i];
        EXPECT_EQ(mode->showsEffectClass, c.effectClassShown) << c.radio;
    }
    EXPECT_FALSE(editor::potionModeOf("单选框5"));
}

TEST(PotionModes, WriteOrders) {
    const auto contents = editor::potionContentWriteOrder();
    const auto enables = editor::potionEnableWriteOrder();
    EXPECT_EQ(Names(contents.begin(), contents.end()), (Names{"编辑框14", "编辑框15", "编辑框17", "编辑框16"}));
    EXPECT_EQ(Names(enables.begin(), enables.end()), (Names{"编辑框14", "编辑框15", "编辑框16", "编辑框17"}));
}

TEST(ConsumePowers, ConsumeAndFood) {
    struct Case {
        Names checked;
        const char* saturation;
        Entries entries;
    };
    const Case cases[] = {
        {{"单选框5"}, "7", {"consume rightclick"}},
        {{"单选框6"}, "7", {"food rightclick 7"}},
        {{"单选框6"}, "", {"food rightclick "}},              // an empty box leaves the blank
        {{"单选框6"}, "００7x", {"food rightclick ００7x"}},  // copied, not converted
        {{"单选框6", "单选框5"}, "1", {"consume rightclick", "food rightclick 1"}},
        {{}, "1", {}},
    };
    for (const Case& c : cases) {
        const editor::PowerAddition addition = editor::consumeAddition(c.checked, consumeInputs(c.saturation));
        EXPECT_FALSE(addition.refused());
        EXPECT_EQ(addition.entries, c.entries) << c.saturation;
    }
}

TEST(ConsumePowers, MissingTriggerRefuses) {
    PowerInputs in = consumeInputs("1");
    in.choices.clear();
    for (const char* radio : {"单选框5", "单选框6"}) {
        const editor::PowerAddition addition = editor::consumeAddition(Names{radio}, in);
        EXPECT_EQ(addition.missingChoice, "组合框_触发2") << radio;
        EXPECT_TRUE(addition.entries.empty());
    }
}
