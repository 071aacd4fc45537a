// The game's item tooltip drawn into pixels: its dark panel and gradient
// border, and styled text in its pixel font with shadows, at the usual
// interface scale of two screen pixels to a game pixel.
#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <string_view>
#include <vector>

#include "editor/format_codes.h"
#include "editor/pixel_font.h"

namespace editor {

inline constexpr int kTooltipScale = 2;   // screen pixels per game pixel
inline constexpr int kTooltipMargin = 8;  // backdrop around the panel, screen pixels
inline constexpr std::uint32_t kPanelColour = 0x100010;
inline constexpr int kPanelAlpha = 0xF0;  // of 255
inline constexpr std::uint32_t kBorderTop = 0x5000FF;
inline constexpr std::uint32_t kBorderBottom = 0x28007F;
inline constexpr int kBorderAlpha = 0x50;

// 0xRRGGBB pixels, row by row from the top.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    PixelImage() = default;
    PixelImage(int w, int h, std::uint32_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct TooltipLine {
    std::vector<StyledRun> runs;
    int width = 0;  // screen pixels the pen moves over the line
    bool obfuscated = false;
};

TooltipLine layoutTooltipLine(std::string_view text, const PixelFont& font);

// Where things lie in the tooltip's image (screen pixels).
struct TooltipGeometry {
    int textWidth = 0;  // the widest line
    int lineCount = 0;
    int gameWidth() const { return (textWidth + 1) / 2; }
    int gameHeight() const { return lineCount > 1 ? 8 + 2 + (lineCount - 1) * 10 : 8; }
    int imageWidth() const { return (gameWidth() + 8) * kTooltipScale + 2 * kTooltipMargin; }
    int imageHeight() const { return (gameHeight() + 8) * kTooltipScale + 2 * kTooltipMargin; }
    int textLeft() const { return kTooltipMargin + 4 * kTooltipScale; }
    // The top of a line's glyph cells; the name stands apart from the rest.
    int lineTop(int line) const {
        return kTooltipMargin + 4 * kTooltipScale + (line * 10 + (line > 0 ? 2 : 0)) * kTooltipScale;
    }
    // The rows a line's pixels (shadows and underline included) may touch.
    int lineRowsEnd(int line) const { return lineTop(line) + 9 * kTooltipScale + 2; }
};

TooltipGeometry tooltipGeometry(std::span<const TooltipLine> lines);

// Paints rows [rowFrom, rowTo) of the tooltip into `image` (which may be
// smaller than the whole tooltip: what lies outside is left out): the
// backdrop, the panel over it and the lines' text. Obfuscated characters
// are drawn as characters of the same advance picked with `random`.
void paintTooltip(PixelImage& image, std::span<const TooltipLine> lines, const TooltipGeometry& geometry,
                  const PixelFont& font, std::mt19937& random, std::uint32_t backdrop, int rowFrom, int rowTo);

}  // namespace editor
