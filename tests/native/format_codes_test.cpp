#include "editor/format_codes.h"

#include <gtest/gtest.h>

#include "editor/unicode.h"

using editor::parseFormatCodes;
using editor::StyledRun;
using editor::TextStyle;

namespace {

constexpr std::uint32_t kRed = 0xFF5555, kAqua = 0x55FFFF, kGold = 0xFFAA00, kWhite = 0xFFFFFF;

TextStyle colour(std::uint32_t rgb) { return TextStyle{rgb}; }
TextStyle styled(std::uint32_t rgb, std::string_view formats) {
    TextStyle s{rgb};
    s.bold = formats.find('l') != std::string_view::npos;
    s.italic = formats.find('o') != std::string_view::npos;
    s.underline = formats.find('n') != std::string_view::npos;
    s.strikethrough = formats.find('m') != std::string_view::npos;
    s.obfuscated = formats.find('k') != std::string_view::npos;
    return s;
}
StyledRun run(std::string_view text, TextStyle style) { return {editor::toUtf32(text), style}; }

struct Case {
    const char* what;
    std::string text;
    std::vector<StyledRun> runs;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        {"plain text starts white", "霜之刃", {run("霜之刃", colour(kWhite))}},
        {"empty text", "", {}},
        {"a colour", "§b霜之刃", {run("霜之刃", colour(kAqua))}},
        {"formats add up", "§c§l粗§o斜", {run("粗", styled(kRed, "l")), run("斜", styled(kRed, "lo"))}},
        {"every format at once", "§k§l§m§n§oX", {run("X", styled(kWhite, "klmno"))}},
        {"a colour ends the formats before it",
         "§l§n粗§6金",
         {run("粗", styled(kWhite, "ln")), run("金", colour(kGold))}},
        {"formats after a colour keep it", "§6§l金", {run("金", styled(kGold, "l"))}},
        {"reset ends formats and colour", "§c§l红§r白", {run("红", styled(kRed, "l")), run("白", colour(kWhite))}},
        {"uppercase codes",
         "§C红§L粗§R白",
         {run("红", colour(kRed)), run("粗", styled(kRed, "l")), run("白", colour(kWhite))}},
        {"a trailing section sign is drawn", "文§", {run("文§", colour(kWhite))}},
        {"a lone section sign is drawn", "§", {run("§", colour(kWhite))}},
        {"an unknown code means white and ends formats",
         "§c§l红§z白",
         {run("红", styled(kRed, "l")), run("白", colour(kWhite))}},
        {"a section sign before a Chinese character hides both",
         "§c红§中白",
         {run("红", colour(kRed)), run("白", colour(kWhite))}},
        {"a doubled section sign is an unknown code", "§§c红", {run("c红", colour(kWhite))}},
        {"codes with no text after them make no run", "§c§l", {}},
        {"the same style again continues the run", "§c红§c红", {run("红红", colour(kRed))}},
        {"characters outside the BMP are one character", "§a😀x", {run("😀x", colour(0x55FF55))}},
        {"a character outside the BMP after § is an unknown code",
         "§c红§😀白",
         {run("红", colour(kRed)), run("白", colour(kWhite))}},
        {"malformed UTF-8 is a replacement character", "§e\xFF", {run("\xEF\xBF\xBD", colour(0xFFFF55))}},
    };
    return table;
}

}  // namespace

TEST(FormatCodes, TextsBecomeRuns) {
    for (const Case& c : cases()) EXPECT_EQ(parseFormatCodes(c.text), c.runs) << c.what << ": " << c.text;
}

TEST(FormatCodes, TheSixteenColoursAndTheirShadows) {
    const std::uint32_t expected[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xFFAA00, 0xAAAAAA,
                                        0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};
    const char* codes = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(editor::codeColour(i), expected[i]) << i;
        const auto runs = parseFormatCodes(std::string("§") + codes[i] + "x");
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].style.colour, expected[i]) << codes[i];
    }
    EXPECT_EQ(editor::shadowColour(0xFF5555), 0x3F1515u);
    EXPECT_EQ(editor::shadowColour(0xFFFFFF), 0x3F3F3Fu);
    EXPECT_EQ(editor::shadowColour(0xFFAA00), 0x3F2A00u);
    EXPECT_EQ(editor::shadowColour(0x55FFFF), 0x153F3Fu);
}

TEST(FormatCodes, ResetReturnsToTheStartingColour) {
    EXPECT_EQ(parseFormatCodes("a§cb§rc", 0xAA00AA),
              (std::vector<StyledRun>{run("a", colour(0xAA00AA)), run("b", colour(kRed)), run("c", colour(0xAA00AA))}));
}

TEST(FormatCodes, TenThousandCharacterTexts) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "§l§c红";  // 10,000 characters, every fifth one drawn
    auto runs = parseFormatCodes(text);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text.size(), 2000u);
    EXPECT_EQ(runs[0].style, colour(kRed));  // the colour after the bold ends it

    std::string alternating;
    for (int i = 0; i < 5000; ++i) alternating += i % 2 ? "§ab" : "§ca";
    runs = parseFormatCodes(alternating);
    ASSERT_EQ(runs.size(), 5000u);
    EXPECT_EQ(runs.back(), run("b", colour(0x55FF55)));

    const std::string plain(10000, 'x');
    runs = parseFormatCodes(plain + "§");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text.size(), 10001u);
}

TEST(FormatCodes, TooltipLinesInTheGamesOrderWithoutEmptyOnes) {
    EXPECT_EQ(editor::tooltipLines("§b名", "类型", "", "传说", "第一行\r\n\r\n第三行\r\n"),
              (std::vector<std::string>{"§b名", "类型", "传说", "第一行", "第三行"}));
    EXPECT_TRUE(editor::tooltipLines("", "", "", "", "\r\n").empty());
    EXPECT_EQ(editor::tooltipLines("", "", "手", "", ""), (std::vector<std::string>{"手"}));
}
