#include "editor/tooltip_raster.h"

#include <algorithm>

namespace editor {

namespace {

std::uint32_t blend(std::uint32_t over, int alpha, std::uint32_t under) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>(over >> shift & 0xFF);
        const int b = static_cast<int>(under >> shift & 0xFF);
        out |= static_cast<std::uint32_t>((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

std::uint32_t mix(std::uint32_t top, std::uint32_t bottom, int position, int span) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>(top >> shift & 0xFF);
        const int b = static_cast<int>(bottom >> shift & 0xFF);
        // Sampled at the pixel's middle, as the game's shaded quad is.
        out |= static_cast<std::uint32_t>(a + ((b - a) * (2 * position + 1)) / (2 * span)) << shift;
    }
    return out;
}

struct Clip {
    PixelImage& image;
    int rowFrom, rowTo;
    void put(int x, int y, std::uint32_t colour) {
        if (x < 0 || x >= image.width || y < rowFrom || y >= rowTo || y < 0 || y >= image.height) return;
        image.pixels[static_cast<std::size_t>(y) * image.width + x] = colour;
    }
    void fill(int x0, int y0, int x1, int y1, std::uint32_t colour) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) put(x, y, colour);
        }
    }
};

// The panel's pixel at screen (x, y) over `backdrop`: the game's five
// background rectangles (corners left out) and its four border lines.
std::uint32_t panelPixel(const TooltipGeometry& g, int x, int y, std::uint32_t backdrop) {
    const int origin = g.textLeft();
    const int gx = (x - origin + 64 * kTooltipScale) / kTooltipScale - 64;  // floor division
    const int gy = (y - origin + 64 * kTooltipScale) / kTooltipScale - 64;
    const int w = g.gameWidth();
    const int h = g.gameHeight();
    const bool insideX = gx >= -3 && gx < w + 3;
    const bool insideY = gy >= -3 && gy < h + 3;
    const bool background =
        (insideX && insideY) || (insideX && (gy == -4 || gy == h + 3)) || (insideY && (gx == -4 || gx == w + 3));
    if (!background) return backdrop;
    std::uint32_t colour = blend(kPanelColour, kPanelAlpha, backdrop);
    if (gy == -3 && insideX) return blend(kBorderTop, kBorderAlpha, colour);
    if (gy == h + 2 && insideX) return blend(kBorderBottom, kBorderAlpha, colour);
    if ((gx == -3 || gx == w + 2) && gy >= -2 && gy < h + 2) {
        const int top = origin - 2 * kTooltipScale;
        const int span = (h + 4) * kTooltipScale;
        return blend(mix(kBorderTop, kBorderBottom, y - top, span), kBorderAlpha, colour);
    }
    return colour;
}

// The unicode glyphs' italic slant: the top two pixels right, the bottom two left.
int italicShift(int row) { return 2 - (4 * row + 2 + 8) / 16; }

struct Placed {
    char32_t shown;
    int x;
    int advance;
    const TextStyle* style;
};

void drawGlyph(Clip& clip, const Glyph& glyph, int x, int y, bool italic, std::uint32_t colour) {
    for (int row = 0; row < kGlyphRows; ++row) {
        if (!glyph.rows[row]) continue;
        const int shift = italic ? italicShift(row) : 0;
        for (int column = glyph.inkLeft; column < glyph.width; ++column) {
            if (glyph.inked(column, row)) clip.put(x + column - glyph.inkLeft + shift, y + row, colour);
        }
    }
}

void drawPass(Clip& clip, const std::vector<Placed>& placed, const PixelFont& font, int top, bool shadow) {
    // The glyphs' shadows lie half a game pixel off, the lines' a whole one.
    const int glyphOffset = shadow ? 1 : 0;
    const int lineOffset = shadow ? kTooltipScale : 0;
    for (const Placed& p : placed) {
        const TextStyle& style = *p.style;
        const std::uint32_t colour = shadow ? shadowColour(style.colour) : style.colour;
        if (p.shown != U' ') {
            const Glyph& glyph = font.glyph(p.shown);
            drawGlyph(clip, glyph, p.x + glyphOffset, top + glyphOffset, style.italic, colour);
            if (style.bold) drawGlyph(clip, glyph, p.x + glyphOffset + 1, top + glyphOffset, style.italic, colour);
        }
        const int x = p.x + lineOffset;
        if (style.strikethrough) {
            const int y = top + lineOffset + 3 * kTooltipScale;
            clip.fill(x, y, x + p.advance, y + kTooltipScale, colour);
        }
        if (style.underline) {
            const int y = top + lineOffset + 8 * kTooltipScale;
            clip.fill(x - kTooltipScale, y, x + p.advance, y + kTooltipScale, colour);
        }
    }
}

int characterAdvance(const PixelFont& font, char32_t ch, const TextStyle& style) {
    return font.advance(ch) + (style.bold ? kTooltipScale : 0);
}

}  // namespace

TooltipLine layoutTooltipLine(std::string_view text, const PixelFont& font) {
    TooltipLine line;
    line.runs = parseFormatCodes(text);
    for (const StyledRun& run : line.runs) {
        line.obfuscated = line.obfuscated || run.style.obfuscated;
        for (char32_t ch : run.text) line.width += characterAdvance(font, ch, run.style);
    }
    return line;
}

TooltipGeometry tooltipGeometry(std::span<const TooltipLine> lines) {
    TooltipGeometry g;
    g.lineCount = static_cast<int>(lines.size());
    for (const TooltipLine& line : lines) g.textWidth = std::max(g.textWidth, line.width);
    return g;
}

void paintTooltip(PixelImage& image, std::span<const TooltipLine> lines, const TooltipGeometry& geometry,
                  const PixelFont& font, std::mt19937& random, std::uint32_t backdrop, int rowFrom, int rowTo) {
    rowFrom = std::max(rowFrom, 0);
    rowTo = std::min(rowTo, image.height);
    for (int y = rowFrom; y < rowTo; ++y) {
        std::uint32_t* row = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) row[x] = panelPixel(geometry, x, y, backdrop);
    }
    Clip clip{image, rowFrom, rowTo};
    std::vector<Placed> placed;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const int top = geometry.lineTop(i);
        if (top >= rowTo) break;
        if (geometry.lineRowsEnd(i) <= rowFrom) continue;
        placed.clear();
        int x = geometry.textLeft();
        for (const StyledRun& run : lines[i].runs) {
            for (char32_t ch : run.text) {
                if (x >= image.width) break;  // the rest lies outside the image
                const int advance = characterAdvance(font, ch, run.style);
                char32_t shown = ch;
                if (run.style.obfuscated) {
                    const std::span<const char32_t> same = font.charactersOfAdvance(font.advance(ch));
                    if (!same.empty()) shown = same[random() % same.size()];
                }
                placed.push_back({shown, x, advance, &run.style});
                x += advance;
            }
        }
        drawPass(clip, placed, font, top, true);
        drawPass(clip, placed, font, top, false);
    }
}

}  // namespace editor
