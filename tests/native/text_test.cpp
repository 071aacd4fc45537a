#include "editor/text.h"

#include <gtest/gtest.h>

#include <limits>

using namespace editor;

struct IntegerCase {
    const char* input;
    std::int64_t expected;
};

class ReadInteger : public testing::TestWithParam<IntegerCase> {};

TEST_P(ReadInteger, ReadsTheLeadingNumber) {
    EXPECT_EQ(readInteger(GetParam().input), GetParam().expected) << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadInteger,
    testing::Values(IntegerCase{"", 0}, IntegerCase{"abc", 0}, IntegerCase{"-", 0}, IntegerCase{"+", 0},
                    IntegerCase{"42", 42}, IntegerCase{"007", 7}, IntegerCase{"  -15x3", -15}, IntegerCase{"+8", 8},
                    IntegerCase{"12.9", 12}, IntegerCase{"3 4", 3}, IntegerCase{"\t9", 9},
                    // full-width digits, sign and space read as ASCII
                    IntegerCase{"１２３", 123}, IntegerCase{"－４５", -45}, IntegerCase{"\u3000７", 7},
                    IntegerCase{"＋1２", 12},
                    // a Chinese character ends the number, never counts as a digit
                    IntegerCase{"5中6", 5}, IntegerCase{"中6", 0},
                    IntegerCase{"99999999999999999999999", std::numeric_limits<std::int64_t>::max()},
                    IntegerCase{"-99999999999999999999999", std::numeric_limits<std::int64_t>::min()},
                    // malformed UTF-8 bytes end the number without a crash
                    IntegerCase{"4\xFF"
                                "5",
                                4},
                    IntegerCase{"\xEF\xBC", 0}));

TEST(ToInteger, ClampsToThirtyTwoBits) {
    EXPECT_EQ(toInteger("2147483647"), 2147483647);
    EXPECT_EQ(toInteger("2147483648"), 2147483647);
    EXPECT_EQ(toInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(toInteger("-2147483649"), -2147483647 - 1);
    EXPECT_EQ(toInteger("99999999999999999999"), 2147483647);
}

TEST(FormatNumber, WholeDecimalWithoutExponent) {
    EXPECT_EQ(formatNumber(0), "0");
    EXPECT_EQ(formatNumber(-15), "-15");
    EXPECT_EQ(formatNumber(std::int64_t{2147483647} * 100), "214748364700");
}

TEST(ItemKey, TextBeforeTheFirstBar) {
    EXPECT_EQ(itemKey("tick|持续"), "tick");
    EXPECT_EQ(itemKey("a|b|c"), "a");
    EXPECT_EQ(itemKey("no bar"), "no bar");
    EXPECT_EQ(itemKey("|label"), "");
    EXPECT_EQ(itemKey(""), "");
}

TEST(TextBetween, FindsBackMarkerAfterFront) {
    EXPECT_EQ(textBetween("玩家(Player)", "(", ")"), "Player");
    EXPECT_EQ(textBetween("洞穴蜘蛛 (CaveSpider)", "(", ")"), "CaveSpider");
    EXPECT_EQ(textBetween(")x(y)", "(", ")"), "y");
    EXPECT_EQ(textBetween("()", "(", ")"), "");
}

TEST(TextBetween, MissingMarkerGivesEmpty) {
    EXPECT_EQ(textBetween("Player", "(", ")"), "");
    EXPECT_EQ(textBetween("玩家(Player", "(", ")"), "");
    EXPECT_EQ(textBetween("", "(", ")"), "");
}

TEST(TextBetween, MarkerNeverMatchesInsideACharacter) {
    // 丨 (U+4E28) is E4 B8 A8; a marker made of its trailing bytes must not hit.
    EXPECT_EQ(textBetween("丨a丨", "\xB8\xA8", "\xB8"), "");
    EXPECT_EQ(textBetween("中(文)字", "(", ")"), "文");
}

struct SplitCase {
    const char* input;
    std::vector<std::string> pieces;
};

class SplitLines : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, SplitsAtEveryLineBreak) { EXPECT_EQ(splitLines(GetParam().input), GetParam().pieces); }

INSTANTIATE_TEST_SUITE_P(Cases, SplitLines,
                         testing::Values(SplitCase{"", {}}, SplitCase{"a", {"a"}}, SplitCase{"a\r\n", {"a"}},
                                         SplitCase{"a\r\n\r\nb", {"a", "", "b"}}, SplitCase{"\r\n", {""}},
                                         SplitCase{"\r\n\r\n", {"", ""}}, SplitCase{"a\r\nb\r\n", {"a", "b"}},
                                         // a lone CR or LF is text, not a break
                                         SplitCase{"a\nb\rc", {"a\nb\rc"}}));

TEST(IsValidUtf8, AcceptsWellFormedTextOnly) {
    for (std::string_view good : {"", "ascii", "中文", "😀", "\xF4\x8F\xBF\xBF", "\xEF\xBB\xBF"}) {
        EXPECT_TRUE(isValidUtf8(good)) << good;
    }
    // a cut-off character, a stray continuation, overlong forms, surrogates, beyond U+10FFFF, code page 936
    for (std::string_view bad : {"\xE4\xB8", "\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xED\xA0\x80",
                                 "\xF4\x90\x80\x80", "\xD6\xD0\xCE\xC4"}) {
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    }
}
