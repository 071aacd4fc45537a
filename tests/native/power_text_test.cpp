#include "editor/power_text.h"

#include <gtest/gtest.h>

using editor::PowerAddition;
using editor::PowerInputs;

namespace {

PowerInputs inputs() {
    PowerInputs in;
    in.choices["trigger"] = "tick|持续";
    in.choices["kind"] = "snowball|雪球";
    in.choices["bare"] = "plain";
    in.choices["none"] = std::nullopt;
    in.boxes["n"] = "7";
    in.boxes["wide"] = "１２";
    in.boxes["big"] = "99999999999";
    in.boxes["low"] = "-99999999999";
    in.boxes["word"] = " 5 x ";
    return in;
}

std::string built(std::string_view pattern) {
    const PowerAddition addition = editor::buildPowers({pattern}, "trigger", inputs());
    EXPECT_FALSE(addition.refused()) << pattern;
    return addition.entries.empty() ? "<none>" : addition.entries.front();
}

}  // namespace

TEST(PowerText, FillsEachKindOfPlaceholder) {
    struct Case {
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {"k {T}", "k tick"},
        {"{key:kind}", "snowball"},
        {"{key:bare}", "plain"},  // no "|": the whole item is its key
        {"{n} {n*20} {n*100}", "7 140 700"},
        {"{wide} {wide*20}", "12 240"},
        {"{missing} {missing*20}", "0 0"},  // a box nobody read is empty
        {"{word} [{text:word}]", "5 [ 5 x ]"},
        {"{text:missing}|", "|"},
        {"a  {n}|{n}", "a  7|7"},  // literals, blanks included, stay as written
        {"open { brace", "open { brace"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(built(c.pattern), c.text) << c.pattern;
}

TEST(PowerText, NumbersClampTo32BitsAndScaleWithoutWrapping) {
    EXPECT_EQ(built("{big} {big*20} {big*100}"), "2147483647 42949672940 214748364700");
    EXPECT_EQ(built("{low} {low*20} {low*100}"), "-2147483648 -42949672960 -214748364800");
}

TEST(PowerText, MissingChoiceRefusesEveryEntryAndNamesTheFirst) {
    const PowerAddition addition = editor::buildPowers({"ok {T}", "x {key:none} {key:absent}"}, "trigger", inputs());
    EXPECT_TRUE(addition.refused());
    EXPECT_EQ(addition.missingChoice, "none");
    EXPECT_TRUE(addition.entries.empty());

    const PowerAddition noTrigger = editor::buildPowers({"x {key:kind} {T}"}, "nowhere", inputs());
    EXPECT_EQ(noTrigger.missingChoice, "nowhere");
}

TEST(PowerText, NoPatternsAddNothing) {
    const PowerAddition addition = editor::buildPowers({}, "trigger", {});
    EXPECT_FALSE(addition.refused());
    EXPECT_TRUE(addition.entries.empty());
}

TEST(PowerText, PlaceholdersNameTheControlsRead) {
    const auto found = editor::placeholdersOf("a {T} {key:c} {b*20} {text:t} {", "trig");
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].source, editor::PlaceholderSource::Choice);
    EXPECT_EQ(found[0].control, "trig");
    EXPECT_EQ(found[1].source, editor::PlaceholderSource::Choice);
    EXPECT_EQ(found[1].control, "c");
    EXPECT_EQ(found[2].source, editor::PlaceholderSource::Box);
    EXPECT_EQ(found[2].control, "b");
    EXPECT_EQ(found[3].source, editor::PlaceholderSource::Box);
    EXPECT_EQ(found[3].control, "t");
}

TEST(PowerText, MissingChoiceMessagesSayWhichChoice) {
    EXPECT_EQ(editor::missingChoiceMessage("组合框_触发1"), "请先选择技能的触发方式，再添加。");
    EXPECT_EQ(editor::missingChoiceMessage("组合框_药水"), "请先选择药水效果，再添加。");
    EXPECT_EQ(editor::missingChoiceMessage("unknown"), "请先选择unknown，再添加。");
}

TEST(PowerText, SplitNames) {
    using Names = std::vector<std::string_view>;
    EXPECT_EQ(editor::splitNames("a bb  c"), (Names{"a", "bb", "c"}));
    EXPECT_EQ(editor::splitNames(""), Names{});
}
