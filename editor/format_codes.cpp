#include "editor/format_codes.h"

#include "editor/text.h"
#include "editor/unicode.h"

namespace editor {

namespace {

constexpr char32_t kSection = U'§';

// The code's place in "0123456789abcdefklmnor", either case; -1 for none.
int codeIndex(char32_t ch) {
    constexpr std::u32string_view kCodes = U"0123456789abcdefklmnor";
    if (ch >= U'A' && ch <= U'Z') ch += U'a' - U'A';
    const std::size_t found = kCodes.find(ch);
    return found == std::u32string_view::npos ? -1 : static_cast<int>(found);
}

void applyCode(int index, TextStyle& style, std::uint32_t startColour) {
    switch (index) {
    case 16:
        style.obfuscated = true;
        return;
    case 17:
        style.bold = true;
        return;
    case 18:
        style.strikethrough = true;
        return;
    case 19:
        style.underline = true;
        return;
    case 20:
        style.italic = true;
        return;
    case 21:
        style = TextStyle{startColour};
        return;
    default:
        // A colour code, or no code at all: the client reads the latter as white.
        style = TextStyle{index < 0 ? kWhite : codeColour(index)};
        return;
    }
}

}  // namespace

std::uint32_t codeColour(int index) {
    const int base = (index >> 3 & 1) * 85;
    int r = (index >> 2 & 1) * 170 + base;
    int g = (index >> 1 & 1) * 170 + base;
    int b = (index & 1) * 170 + base;
    if (index == 6) r += 85;  // gold, not the dark yellow the formula gives
    return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

std::uint32_t shadowColour(std::uint32_t colour) { return (colour & 0xFCFCFC) >> 2; }

std::vector<StyledRun> parseFormatCodes(std::string_view text, std::uint32_t startColour) {
    const std::u32string points = toUtf32(text);
    std::vector<StyledRun> runs;
    TextStyle style{startColour};
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i] == kSection && i + 1 < points.size()) {
            applyCode(codeIndex(points[++i]), style, startColour);
            continue;
        }
        if (runs.empty() || runs.back().style != style) runs.push_back({{}, style});
        runs.back().text += points[i];
    }
    return runs;
}

std::vector<std::string> tooltipLines(std::string_view display, std::string_view type, std::string_view hand,
                                      std::string_view lore, std::string_view description) {
    std::vector<std::string> lines;
    for (std::string_view text : {display, type, hand, lore}) {
        if (!text.empty()) lines.emplace_back(text);
    }
    for (std::string& line : splitLines(description)) {
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace editor
