#include "editor/pixel_font.h"

#include <algorithm>
#include <map>

namespace editor {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr std::size_t kHeaderBytes = 8;  // "UFG1", count
constexpr std::size_t kIndexEntryBytes = 3;

void measureInk(Glyph& g) {
    std::uint16_t all = 0;
    for (std::uint16_t row : g.rows) all |= row;
    if (!all) return;
    g.inkLeft = 0;
    while (!(all & (0x8000 >> g.inkLeft))) ++g.inkLeft;
    g.inkRight = 15;
    while (!(all & (0x8000 >> g.inkRight))) --g.inkRight;
}

}  // namespace

std::optional<PixelFont> PixelFont::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderBytes || bytes[0] != 'U' || bytes[1] != 'F' || bytes[2] != 'G' || bytes[3] != '1') {
        return std::nullopt;
    }
    const std::size_t count = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<std::size_t>(bytes[7]) << 24;
    if (count > (bytes.size() - kHeaderBytes) / kIndexEntryBytes) return std::nullopt;
    PixelFont font;
    font.glyphs_.reserve(count);
    std::size_t bitmap = kHeaderBytes + count * kIndexEntryBytes;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = bytes.data() + kHeaderBytes + i * kIndexEntryBytes;
        Glyph g;
        g.codePoint = static_cast<char32_t>(entry[0] | entry[1] << 8);
        g.width = entry[2];
        const std::size_t rowBytes = g.width == 16 ? 2 : 1;
        if ((g.width != 8 && g.width != 16) || bytes.size() - bitmap < rowBytes * kGlyphRows) return std::nullopt;
        if (!font.glyphs_.empty() && font.glyphs_.back().codePoint >= g.codePoint) return std::nullopt;
        for (int row = 0; row < kGlyphRows; ++row) {
            g.rows[row] = static_cast<std::uint16_t>(bytes[bitmap] << 8 | (rowBytes == 2 ? bytes[bitmap + 1] : 0));
            bitmap += rowBytes;
        }
        measureInk(g);
        font.glyphs_.push_back(g);
    }
    std::map<int, std::vector<char32_t>> byAdvance;
    for (const Glyph& g : font.glyphs_) byAdvance[font.advance(g.codePoint)].push_back(g.codePoint);
    font.byAdvance_.assign(byAdvance.begin(), byAdvance.end());
    return font;
}

const Glyph* PixelFont::find(char32_t ch) const {
    auto found = std::lower_bound(glyphs_.begin(), glyphs_.end(), ch,
                                  [](const Glyph& g, char32_t c) { return g.codePoint < c; });
    return found != glyphs_.end() && found->codePoint == ch ? &*found : nullptr;
}

bool PixelFont::has(char32_t ch) const { return find(ch) != nullptr; }

const Glyph& PixelFont::glyph(char32_t ch) const {
    static const Glyph kEmpty;
    if (const Glyph* g = find(ch)) return *g;
    if (const Glyph* g = find(kReplacementCharacter)) return *g;
    return kEmpty;
}

int PixelFont::advance(char32_t ch) const {
    if (ch == U' ') return 8;
    const Glyph& g = glyph(ch);
    return g.inkRight - g.inkLeft + 1 + 2;
}

std::span<const char32_t> PixelFont::charactersOfAdvance(int advance) const {
    for (const auto& [width, characters] : byAdvance_) {
        if (width == advance) return characters;
    }
    return {};
}

}  // namespace editor
