// The game's formatting codes ("§" and one character) as the game client
// draws them: a text becomes runs of characters that share one style.
//
// As the client does: a colour code (0-9, a-f) sets its colour and ends
// every format before it; k, l, m, n, o switch on obfuscated, bold,
// strikethrough, underline and italic; r ends the formats and brings back
// the starting colour. Codes ignore case. A "§" followed by any other
// character is read as a colour code for white (formats end; both
// characters are hidden); a "§" that ends the text is drawn as a character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

inline constexpr std::uint32_t kWhite = 0xFFFFFF;

struct TextStyle {
    std::uint32_t colour = kWhite;  // 0xRRGGBB
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    bool obfuscated = false;
    bool operator==(const TextStyle&) const = default;
};

struct StyledRun {
    std::u32string text;  // code points, codes removed
    TextStyle style;
    bool operator==(const StyledRun&) const = default;
};

// The sixteen colours of codes 0-9 and a-f, 0xRRGGBB.
std::uint32_t codeColour(int index);
// The colour of a glyph's shadow: each channel a quarter of the colour's.
std::uint32_t shadowColour(std::uint32_t colour);

// The runs of a UTF-8 text, in order; a style change with no character
// after it makes no run, and neighbouring runs differ in style.
std::vector<StyledRun> parseFormatCodes(std::string_view text, std::uint32_t startColour = kWhite);

// The texts the game's item tooltip shows, in its order: the display name,
// then type, hand and lore, then each description line (split at CR LF);
// texts and lines that are empty are left out.
std::vector<std::string> tooltipLines(std::string_view display, std::string_view type, std::string_view hand,
                                      std::string_view lore, std::string_view description);

}  // namespace editor
