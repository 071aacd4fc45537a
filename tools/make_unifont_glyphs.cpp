// Builds res/unifont_glyphs.bin: the GNU Unifont glyphs the item preview
// draws, from Debian's fonts-unifont, as a zlib stream of
//   "UFG1", uint32 count, count x {uint16 code point, uint8 width 8|16}
//   (ascending), then the bitmaps in that order: 16 rows of one byte
//   (width 8) or two bytes, big-endian (width 16), leftmost pixel highest.
// Unifont's outlines are 1/16 em squares: at 16 pixels FreeType's
// monochrome rendering gives its bitmaps back exactly.
//
// g++ -O2 -I/usr/include/freetype2 tools/make_unifont_glyphs.cpp -lfreetype -lz -o /tmp/make_unifont_glyphs
// /tmp/make_unifont_glyphs /usr/share/fonts/opentype/unifont/unifont.otf res/unifont_glyphs.bin
#include <ft2build.h>
#include FT_FREETYPE_H
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// Latin, Greek and Cyrillic; punctuation, symbols, arrows, box drawing and
// dingbats; CJK punctuation and kana; the unified ideographs; full-width
// forms; the replacement character.
constexpr std::uint32_t kRanges[][2] = {
    {0x20, 0x52F}, {0x2000, 0x2BFF}, {0x3000, 0x30FF}, {0x4E00, 0x9FFF}, {0xFF00, 0xFFEF}, {0xFFFD, 0xFFFD},
};
constexpr int kAscent = 14;  // rows above the baseline in the 16-row cell

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s unifont.otf output.bin\n", argv[0]);
        return 2;
    }
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, argv[1], 0, &face) || FT_Set_Pixel_Sizes(face, 0, 16)) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    std::vector<std::uint8_t> index, bitmaps;
    std::uint32_t count = 0;
    for (const auto& range : kRanges) {
        for (std::uint32_t cp = range[0]; cp <= range[1]; ++cp) {
            const FT_UInt glyph = FT_Get_Char_Index(face, cp);
            if (!glyph || FT_Load_Glyph(face, glyph, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME))
                continue;
            const FT_GlyphSlot slot = face->glyph;
            const int width = (slot->advance.x >> 6) > 8 ? 16 : 8;
            std::uint16_t rows[16] = {};
            const FT_Bitmap& b = slot->bitmap;
            for (unsigned y = 0; y < b.rows; ++y) {
                const int row = kAscent - slot->bitmap_top + static_cast<int>(y);
                if (row < 0 || row >= 16) continue;
                for (unsigned x = 0; x < b.width; ++x) {
                    const int column = slot->bitmap_left + static_cast<int>(x);
                    if (column < 0 || column >= width) continue;
                    if (b.buffer[y * b.pitch + x / 8] & (0x80 >> (x % 8))) rows[row] |= 0x8000 >> column;
                }
            }
            index.push_back(cp & 0xFF);
            index.push_back(cp >> 8);
            index.push_back(static_cast<std::uint8_t>(width));
            for (std::uint16_t row : rows) {
                bitmaps.push_back(row >> 8);
                if (width == 16) bitmaps.push_back(row & 0xFF);
            }
            ++count;
        }
    }
    std::vector<std::uint8_t> raw = {'U', 'F', 'G', '1'};
    for (int shift = 0; shift < 32; shift += 8) raw.push_back((count >> shift) & 0xFF);
    raw.insert(raw.end(), index.begin(), index.end());
    raw.insert(raw.end(), bitmaps.begin(), bitmaps.end());
    uLongf packedSize = compressBound(raw.size());
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), raw.size(), 9) != Z_OK) return 1;
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(packed.data(), 1, packedSize, out) != packedSize || std::fclose(out)) return 1;
    std::printf("%u glyphs, %zu bytes, %lu compressed\n", count, raw.size(), packedSize);
    return 0;
}
