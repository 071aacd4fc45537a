// The product's code page 936 on Linux against the tests' own codec.
#include "bridge/iconv_code_page.h"

#include <gtest/gtest.h>

#include "tests/native/gbk_codec.h"

namespace {

TEST(IconvCodePage, ConvertsAsTheTestsCodecDoes) {
    const bridge::GbkConverter gbk = bridge::iconvGbkConverter();
    for (const std::string text : {"", "give", "中文 §a 剑", "€ 测试，标点"}) {
        EXPECT_EQ(gbk.fromUtf8(text), gbk_codec::fromUtf8(text)) << text;
        EXPECT_EQ(gbk.toUtf8(gbk.fromUtf8(text)), text) << text;
        EXPECT_EQ(bridge::iconvCp936ToUtf8(gbk_codec::fromUtf8(text)), text) << text;
    }
}

TEST(IconvCodePage, WhatCannotBeConvertedHasTheWindowsResult) {
    const bridge::GbkConverter gbk = bridge::iconvGbkConverter();
    EXPECT_EQ(gbk.fromUtf8("剑😀a"), gbk_codec::fromUtf8("剑") + "?a") << "a character GBK lacks";
    EXPECT_EQ(gbk.toUtf8("a\xFF"
                         "b"),
              "a\xEF\xBF\xBD"
              "b")
        << "a malformed answer";
    EXPECT_EQ(gbk.toUtf8("\xD6\xD0\xD6"), "中\xEF\xBF\xBD") << "a character cut at the end";
    EXPECT_EQ(bridge::iconvCp936ToUtf8("a\xFF"), std::nullopt) << "files are refused instead";
    EXPECT_EQ(bridge::iconvCp936ToUtf8("\xD6"), std::nullopt);
}

}  // namespace
