#include "editor/unicode.h"

#include <gtest/gtest.h>

using editor::toUtf16;
using editor::toUtf8;

TEST(Unicode, RoundTripsChineseAndAstralText) {
    const std::string text = "『Qelvo』 RPGitem4.0.9 编辑器 😀 ×××××";
    EXPECT_EQ(toUtf8(toUtf16(text)), text);
    EXPECT_EQ(toUtf16("中"), u"中");
    EXPECT_EQ(toUtf16("😀"), u"\xD83D\xDE00");
}

TEST(Unicode, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(toUtf16("a\xFF"
                      "b"),
              u"a\xFFFD"
              "b");
    EXPECT_EQ(toUtf16("\xE4\xB8"), u"\xFFFD");
    EXPECT_EQ(toUtf16("\xC0\xAF"), u"\xFFFD");         // overlong "/"
    EXPECT_EQ(toUtf16("\xED\xA0\x80"), u"\xFFFD");     // encoded surrogate
    EXPECT_EQ(toUtf8(u"x\xD800y"), "x\xEF\xBF\xBDy");  // lone surrogate
}

TEST(Unicode, EmptyStaysEmpty) {
    EXPECT_TRUE(toUtf16("").empty());
    EXPECT_TRUE(toUtf8(u"").empty());
}

TEST(Unicode, WideStringsHoldEveryCharacterWhateverTheirWidth) {
    const std::string text = "编辑器 😀 §a";
    EXPECT_EQ(editor::fromWide(editor::toWide(text)), text);
    const std::size_t units = sizeof(wchar_t) == 2 ? 9 : 8;  // the emoji is a surrogate pair in UTF-16
    EXPECT_EQ(editor::toWide(text).size(), units);
    EXPECT_EQ(editor::toWide("a\xFF"), std::wstring(L"a\xFFFD"));
    EXPECT_TRUE(editor::fromWide(L"").empty());
}
