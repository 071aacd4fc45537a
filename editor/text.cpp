#include "editor/text.h"

#include <limits>

namespace editor {

namespace {

// Decodes one UTF-8 sequence at `pos`; returns its code point and advances.
// Malformed bytes decode as themselves one at a time, which can never be
// mistaken for a full-width form.
char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length <= 1 || pos + length > s.size()) {
        ++pos;
        return lead < 0x80 ? lead : 0xFFFD;
    }
    char32_t cp = lead & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(s[pos + i]);
        if ((c & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    pos += length;
    return cp;
}

// Full-width ASCII forms (the GBK row of full-width characters) and the
// ideographic space read as their ASCII forms; 0 for anything else.
char asciiForm(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0xFF01 && cp <= 0xFF5E) return static_cast<char>(cp - 0xFF01 + 0x21);
    if (cp == 0x3000) return ' ';
    if (cp == 0xFFE5) return '$';  // the full-width yen sign stands in the dollar's place
    if (cp == 0xFFE3) return '~';  // the full-width macron stands in the tilde's place
    return 0;
}

bool isContinuationByte(std::string_view s, std::size_t pos) {
    return pos < s.size() && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80;
}

// Finds `marker` only where it starts and ends on character boundaries, so
// that it never matches the bytes inside one character.
std::size_t findWholeCharacters(std::string_view s, std::string_view marker, std::size_t from) {
    for (std::size_t at = s.find(marker, from); at != std::string_view::npos; at = s.find(marker, at + 1)) {
        if (!isContinuationByte(s, at) && !isContinuationByte(s, at + marker.size())) return at;
    }
    return std::string_view::npos;
}

}  // namespace

std::string_view itemKey(std::string_view item) { return item.substr(0, item.find('|')); }

std::int64_t readInteger(std::string_view s) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    std::size_t pos = 0;
    char c = 0;
    auto advance = [&] {
        if (pos >= s.size()) return c = 0;
        return c = asciiForm(nextCodePoint(s, pos));
    };
    advance();
    while (c == ' ' || c == '\t') advance();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        advance();
    }
    std::int64_t value = 0;
    for (; c >= '0' && c <= '9'; advance()) {
        const int digit = c - '0';
        if (negative) {
            value = value < (kMin + digit) / 10 ? kMin : value * 10 - digit;
        } else {
            value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
        }
    }
    return value;
}

std::int32_t toInteger(std::string_view s) {
    const std::int64_t v = readInteger(s);
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v < lo ? lo : v > hi ? hi : v);
}

std::string formatNumber(std::int64_t value) { return std::to_string(value); }

std::string textBetween(std::string_view s, std::string_view front, std::string_view back) {
    const std::size_t start = findWholeCharacters(s, front, 0);
    if (start == std::string_view::npos) return {};
    const std::size_t from = start + front.size();
    const std::size_t end = findWholeCharacters(s, back, from);
    if (end == std::string_view::npos) return {};
    return std::string(s.substr(from, end - from));
}

std::vector<std::string> splitLines(std::string_view s) {
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (std::size_t at; (at = s.find(kLineBreak, from)) != std::string_view::npos; from = at + kLineBreak.size()) {
        pieces.emplace_back(s.substr(from, at - from));
    }
    if (from < s.size()) pieces.emplace_back(s.substr(from));
    return pieces;
}

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        char32_t cp;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, cp = lead & 0x07;
        } else {
            return false;
        }
        if (s.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
        if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
        i += length;
    }
    return true;
}

}  // namespace editor
