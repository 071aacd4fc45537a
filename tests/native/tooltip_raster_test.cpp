#include "editor/tooltip_raster.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "skin/picture_pixels.h"

using editor::PixelFont;
using editor::PixelImage;
using editor::TooltipLine;

namespace {

constexpr std::uint32_t kBackdrop = 0x808080;

// A glyph table in the program's layout: 'I' inks column 2 of rows 2-13
// (advance 1 + 2), 'H' columns 1-5 (advance 7), '中' a 16-wide glyph inking
// columns 1-14 of row 5, U+FFFD a box of columns 0-6; no space glyph.
std::vector<std::uint8_t> tinyTable() {
    struct Entry {
        char32_t cp;
        int width;
        std::array<std::uint16_t, 16> rows;
    };
    std::vector<Entry> entries;
    Entry i{U'I', 8, {}};
    for (int r = 2; r <= 13; ++r) i.rows[r] = 0x2000;
    Entry h{U'H', 8, {}};
    for (int r = 2; r <= 13; ++r) h.rows[r] = 0x4400;
    h.rows[7] = 0x7C00;
    Entry zhong{U'中', 16, {}};
    zhong.rows[5] = 0x7FFE;
    Entry box{0xFFFD, 8, {}};
    box.rows[0] = box.rows[15] = 0xFE00;
    for (int r = 1; r < 15; ++r) box.rows[r] = 0x8200;
    entries = {h, i, zhong, box};
    std::vector<std::uint8_t> bytes = {'U', 'F', 'G', '1', static_cast<std::uint8_t>(entries.size()), 0, 0, 0};
    for (const Entry& e : entries) {
        bytes.push_back(e.cp & 0xFF);
        bytes.push_back(e.cp >> 8 & 0xFF);
        bytes.push_back(static_cast<std::uint8_t>(e.width));
    }
    for (const Entry& e : entries) {
        for (std::uint16_t row : e.rows) {
            bytes.push_back(row >> 8);
            if (e.width == 16) bytes.push_back(row & 0xFF);
        }
    }
    return bytes;
}

const PixelFont& tinyFont() {
    static const PixelFont font = *PixelFont::parse(tinyTable());
    return font;
}

struct Painted {
    std::vector<TooltipLine> lines;
    editor::TooltipGeometry geometry;
    PixelImage image;
};

Painted paint(const std::vector<std::string>& texts, unsigned seed = 1) {
    Painted p;
    for (const std::string& text : texts) p.lines.push_back(editor::layoutTooltipLine(text, tinyFont()));
    p.geometry = editor::tooltipGeometry(p.lines);
    p.image = PixelImage(p.geometry.imageWidth(), p.geometry.imageHeight());
    std::mt19937 random(seed);
    editor::paintTooltip(p.image, p.lines, p.geometry, tinyFont(), random, kBackdrop, 0, p.image.height);
    return p;
}

std::uint32_t over(std::uint32_t colour, int alpha, std::uint32_t under) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = colour >> shift & 0xFF, b = under >> shift & 0xFF;
        out |= static_cast<std::uint32_t>((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

TEST(PixelFont, ReadsTablesAndRefusesDamagedOnes) {
    const PixelFont& font = tinyFont();
    EXPECT_EQ(font.size(), 4u);
    EXPECT_EQ(font.advance(U'I'), 3);    // one inked column, then a game pixel
    EXPECT_EQ(font.advance(U'H'), 7);    // five columns
    EXPECT_EQ(font.advance(U'中'), 16);  // fourteen columns
    EXPECT_EQ(font.advance(U' '), 8);    // four game pixels, glyph or none
    EXPECT_FALSE(font.has(U'x'));
    EXPECT_EQ(font.glyph(U'x').codePoint, 0xFFFDu);     // the replacement character stands in
    EXPECT_EQ(font.glyph(U'😀').codePoint, 0xFFFDu);     // and for characters outside the table's plane
    EXPECT_EQ(font.charactersOfAdvance(7).size(), 1u);  // 'H' (the box has seven columns: 9)
    EXPECT_EQ(font.advance(U'x'), 9);
    std::vector<std::uint8_t> bytes = tinyTable();
    EXPECT_FALSE(PixelFont::parse(std::span(bytes).first(bytes.size() - 1)));  // cut short
    bytes[0] = 'X';
    EXPECT_FALSE(PixelFont::parse(bytes));
    bytes = tinyTable();
    bytes[4] = 200;  // more entries than bytes
    EXPECT_FALSE(PixelFont::parse(bytes));
    EXPECT_FALSE(PixelFont::parse({}));
}

TEST(TooltipRaster, ColouredTextHasItsShadowOnePixelRightAndDown) {
    const Painted p = paint({"§cI"});
    const int x = p.geometry.textLeft(), y = p.geometry.lineTop(0);
    for (int row = 2; row <= 13; ++row) {
        EXPECT_EQ(p.image.at(x, y + row), 0xFF5555u) << row;
        EXPECT_EQ(p.image.at(x + 1, y + row + 1), 0x3F1515u) << row;
    }
    EXPECT_EQ(p.image.at(x + 1, y + 2), over(0x100010, 0xF0, kBackdrop));  // the panel beside the glyph
    EXPECT_EQ(p.image.at(x - 1, y + 5), over(0x100010, 0xF0, kBackdrop));
}

TEST(TooltipRaster, PanelAndBorderAsTheGameDrawsThem) {
    const Painted p = paint({"HHHH", "I"});
    const int left = p.geometry.textLeft(), top = p.geometry.lineTop(0);
    const std::uint32_t panel = over(0x100010, 0xF0, kBackdrop);
    EXPECT_EQ(p.image.at(0, 0), kBackdrop);
    EXPECT_EQ(p.image.at(left - 8, top - 8), kBackdrop);                // the cut corner
    EXPECT_EQ(p.image.at(left - 8, top), panel);                        // the outer column
    EXPECT_EQ(p.image.at(left, top - 8), panel);                        // the outer row
    EXPECT_EQ(p.image.at(left, top - 6), over(0x5000FF, 0x50, panel));  // the border's top line
    EXPECT_EQ(p.image.at(left, top - 5), over(0x5000FF, 0x50, panel));
    const int bottomBorder = top + (p.geometry.gameHeight() + 2) * 2;
    EXPECT_EQ(p.image.at(left, bottomBorder), over(0x28007F, 0x50, panel));
    EXPECT_EQ(p.image.at(left, bottomBorder - 1), panel);
    // The side lines run from the top colour to the bottom one.
    const std::uint32_t upper = p.image.at(left - 6, top - 4), lower = p.image.at(left - 6, bottomBorder - 1);
    EXPECT_NE(upper, lower);
    EXPECT_GT(upper & 0xFF, lower & 0xFF);
    EXPECT_EQ(p.geometry.gameHeight(), 8 + 2 + 10);
    EXPECT_EQ(p.geometry.lineTop(1) - p.geometry.lineTop(0), 24);  // the name stands two game pixels apart
}

TEST(TooltipRaster, BoldItalicUnderlineStrikethrough) {
    const int x0 = paint({"I"}).geometry.textLeft();
    const Painted bold = paint({"§lI"});
    const int y = bold.geometry.lineTop(0);
    EXPECT_EQ(bold.image.at(x0, y + 4), 0xFFFFFFu);
    EXPECT_EQ(bold.image.at(x0 + 1, y + 4), 0xFFFFFFu);  // drawn again one pixel right
    EXPECT_EQ(bold.lines[0].width, 3 + 2);               // and a game pixel wider
    const Painted italic = paint({"§oI"});
    EXPECT_EQ(italic.image.at(x0 + 1, y + 2), 0xFFFFFFu);  // the top leans right
    EXPECT_EQ(italic.image.at(x0, y + 8), 0xFFFFFFu);
    EXPECT_EQ(italic.image.at(x0 - 1, y + 12), 0xFFFFFFu);  // the bottom left
    const Painted underline = paint({"§c§nII"});
    for (int x = x0 - 2; x < x0 + 6; ++x) EXPECT_EQ(underline.image.at(x, y + 16), 0xFF5555u) << x;
    EXPECT_EQ(underline.image.at(x0 + 6, y + 18), 0x3F1515u);  // its shadow, a game pixel off
    const Painted strike = paint({"§mHH"});
    for (int x = x0; x < x0 + 14; ++x) EXPECT_EQ(strike.image.at(x, y + 6), 0xFFFFFFu) << x;
    EXPECT_NE(strike.image.at(x0 + 2, y + 8), 0xFFFFFFu);
}

TEST(TooltipRaster, ObfuscatedCharactersKeepTheirAdvance) {
    const Painted plain = paint({"§kHI中"});
    EXPECT_TRUE(plain.lines[0].obfuscated);
    EXPECT_FALSE(paint({"HI"}).lines[0].obfuscated);
    EXPECT_EQ(plain.lines[0].width, 7 + 3 + 16);
    // Each of the tiny font's advances has one character: the line looks as it is.
    EXPECT_EQ(plain.image.pixels, paint({"HI中"}).image.pixels);
}

TEST(TooltipRaster, RepaintingABandGivesTheSamePixels) {
    const Painted whole = paint({"§cHI", "§l§nH中", "§kHHH", "§o§mIII"});
    for (int from : {0, 17, 40, 63}) {
        PixelImage partial(whole.image.width, whole.image.height, 0x123456);
        std::mt19937 random(1);
        editor::paintTooltip(partial, whole.lines, whole.geometry, tinyFont(), random, kBackdrop, from, from + 23);
        for (int y = 0; y < partial.height; ++y) {
            for (int x = 0; x < partial.width; ++x) {
                const std::uint32_t expected = y >= from && y < from + 23 ? whole.image.at(x, y) : 0x123456u;
                ASSERT_EQ(partial.at(x, y), expected) << x << "," << y << " band " << from;
            }
        }
    }
}

TEST(TooltipRaster, AnImageSmallerThanTheTooltipIsCut) {
    std::string longLine;
    for (int i = 0; i < 10000; ++i) longLine += "§cH";
    std::vector<TooltipLine> lines(300, editor::layoutTooltipLine(longLine, tinyFont()));
    const auto geometry = editor::tooltipGeometry(lines);
    EXPECT_EQ(geometry.textWidth, 70000);
    PixelImage image(200, 120);
    std::mt19937 random(1);
    editor::paintTooltip(image, lines, geometry, tinyFont(), random, kBackdrop, -50, 5000);
    EXPECT_EQ(image.at(geometry.textLeft(), geometry.lineTop(0) + 2), 0xFF5555u);
    EXPECT_EQ(image.at(199, 119), over(0x100010, 0xF0, kBackdrop));
}

#ifdef RPGITEM_RES_DIR
TEST(PixelFont, TheProgramsUnifontGlyphs) {
    std::ifstream in(std::string(RPGITEM_RES_DIR) + "/unifont_glyphs.bin", std::ios::binary);
    const std::vector<std::uint8_t> packed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto bytes = skin::inflateZlib(packed);
    ASSERT_TRUE(bytes);
    const auto font = PixelFont::parse(*bytes);
    ASSERT_TRUE(font);
    for (char32_t ch : {U'A', U'§', U'中', U'霜', U'，', U'★', U'─', U'\uFFFD'}) {
        EXPECT_TRUE(font->has(ch)) << static_cast<std::uint32_t>(ch);
    }
    const editor::Glyph& a = font->glyph(U'A');
    EXPECT_EQ(a.width, 8);
    const std::uint16_t expected[16] = {0,      0,      0,      0,      0x1800, 0x2400, 0x2400, 0x4200,
                                        0x4200, 0x7E00, 0x4200, 0x4200, 0x4200, 0x4200, 0,      0};
    for (int r = 0; r < 16; ++r) EXPECT_EQ(a.rows[r], expected[r]) << r;
    EXPECT_EQ(font->advance(U'A'), 6 + 2);
    EXPECT_EQ(font->glyph(U'中').width, 16);
    EXPECT_GT(font->charactersOfAdvance(8).size(), 50u);  // enough to obfuscate with
    EXPECT_FALSE(skin::inflateZlib(std::span(packed).first(packed.size() / 2)));
}
#endif
