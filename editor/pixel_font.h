// A bitmap font of 16-row glyphs, 8 or 16 columns wide (GNU Unifont's
// cells), read from the glyph table the program carries (see
// tools/make_unifont_glyphs.cpp for its layout), and measured as the game
// measures its Unicode font: by the columns a glyph inks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace editor {

inline constexpr int kGlyphRows = 16;

struct Glyph {
    char32_t codePoint = 0;
    int width = 8;                                 // columns of the cell, 8 or 16
    std::array<std::uint16_t, kGlyphRows> rows{};  // leftmost column in the highest bit
    int inkLeft = 0;                               // first and last inked columns;
    int inkRight = 0;                              // 0 and 0 for a glyph without ink
    bool inked(int column, int row) const { return rows[row] & (0x8000 >> column); }
};

class PixelFont {
public:
    // The table's glyphs; nullopt when the bytes are no glyph table or are cut short.
    static std::optional<PixelFont> parse(std::span<const std::uint8_t> bytes);

    // The glyph drawn for `ch`: its own, or the replacement character's
    // (U+FFFD) when the table has none.
    const Glyph& glyph(char32_t ch) const;
    bool has(char32_t ch) const;
    std::size_t size() const { return glyphs_.size(); }

    // Screen pixels the pen moves after `ch` at the usual interface scale
    // (a game pixel is two screen pixels, a glyph column one): its inked
    // columns and one game pixel; a space moves four game pixels.
    int advance(char32_t ch) const;
    // The characters whose advance is `advance` (for obfuscated text);
    // empty when none has it.
    std::span<const char32_t> charactersOfAdvance(int advance) const;

private:
    std::vector<Glyph> glyphs_;  // ascending code points
    std::vector<std::pair<int, std::vector<char32_t>>> byAdvance_;
    const Glyph* find(char32_t ch) const;
};

}  // namespace editor
