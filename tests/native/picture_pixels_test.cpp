#include "skin/picture_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// 2 x 2 RGBA: opaque red, half-transparent green / transparent blue, (10, 20, 30) at alpha 40.
const Bytes kTwoByTwoPng = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
                            0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00,
                            0x00, 0x72, 0xB6, 0x0D, 0x24, 0x00, 0x00, 0x00, 0x16, 0x49, 0x44, 0x41, 0x54, 0x78,
                            0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x08, 0x1B, 0x18, 0x40, 0x34, 0x97, 0x88,
                            0x9C, 0x06, 0x00, 0x36, 0xA9, 0x04, 0xE1, 0x66, 0x07, 0x05, 0x49, 0x00, 0x00, 0x00,
                            0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// A PNG header that claims 100000 x 100000 pixels and holds none.
const Bytes kHugePngHeader = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
                              0x52, 0x00, 0x01, 0x86, 0xA0, 0x00, 0x01, 0x86, 0xA0, 0x08, 0x06, 0x00, 0x00, 0x00, 0xA8,
                              0x52, 0x0B, 0xC8, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// 2 x 1, 24 bits, rows stored bottom-up in BGR order and padded to 4 bytes:
// pure blue, then (0x11, 0x22, 0x33).
Bytes twoPixelBmp() {
    Bytes bmp = {'B',  'M',  62,   0,    0,    0,    0, 0, 0,    0,    54, 0, 0, 0,  // file header
                 40,   0,    0,    0,    2,    0,    0, 0, 1,    0,    0,  0, 1, 0, 24, 0, 0, 0, 0, 0,
                 8,    0,    0,    0,    0x13, 0x0B, 0, 0, 0x13, 0x0B, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,  // info header
                 0xFF, 0x00, 0x00, 0x33, 0x22, 0x11, 0, 0};
    return bmp;
}

TEST(PicturePixels, PngKeepsEveryChannelAsArgbRowsTopToBottom) {
    const auto pixels = skin::decodePicturePixels(kTwoByTwoPng);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->width, 2);
    EXPECT_EQ(pixels->height, 2);
    EXPECT_EQ(pixels->argb, (std::vector<std::uint32_t>{0xFFFF0000, 0x8000FF00, 0x000000FF, 0x280A141E}));
}

TEST(PicturePixels, BmpWithoutAlphaIsOpaque) {
    const auto pixels = skin::decodePicturePixels(twoPixelBmp());
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->argb, (std::vector<std::uint32_t>{0xFF0000FF, 0xFF112233}));
}

TEST(PicturePixels, WhatIsNoPictureGivesNothing) {
    Bytes truncated(kTwoByTwoPng.begin(), kTwoByTwoPng.begin() + 50);
    Bytes damaged = kTwoByTwoPng;
    damaged[45] ^= 0xFF;  // inside the compressed pixels
    const Bytes text = {'[', 'i', 't', 'e', 'm', ']', '\r', '\n'};
    for (const Bytes& bytes : {Bytes{}, text, truncated, damaged, kHugePngHeader}) {
        EXPECT_FALSE(skin::decodePicturePixels(bytes)) << bytes.size() << " bytes";
    }
}

#ifdef RPGITEM_RES_DIR
// The program's own pictures, each in its format.
TEST(PicturePixels, TheProgramsPicturesDecode) {
    struct Case {
        const char* file;
        int width, height;
    };
    for (const Case& c : {Case{"theme.png", 235, 163}, Case{"tutorial.png", 372, 363},
                          Case{"check_box_checked.png", 13, 13}, Case{"colour_chart.jpg", 228, 317}}) {
        std::ifstream in(std::string(RPGITEM_RES_DIR) + "/" + c.file, std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const auto pixels = skin::decodePicturePixels(bytes);
        ASSERT_TRUE(pixels) << c.file;
        EXPECT_EQ(pixels->width, c.width) << c.file;
        EXPECT_EQ(pixels->height, c.height) << c.file;
        EXPECT_EQ(pixels->argb.size(), static_cast<size_t>(c.width * c.height)) << c.file;
    }
}
#endif

}  // namespace
