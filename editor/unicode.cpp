#include "editor/unicode.h"

namespace editor {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point starting at `pos`, rejecting overlong forms,
// surrogates and values past U+10FFFF.
char32_t decodeUtf8(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80) return lead;
    int extra;
    char32_t cp;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= s.size() || (static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) return kReplacement;
        cp = (cp << 6) | (static_cast<unsigned char>(s[pos++]) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t cp = decodeUtf8(utf8, pos);
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::u32string toUtf32(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) out += decodeUtf8(utf8, pos);
    return out;
}

std::string toUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::wstring toWide(std::string_view utf8) {
    std::wstring out;
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        const std::u16string utf16 = toUtf16(utf8);
        out.assign(utf16.begin(), utf16.end());
    } else {
        out.reserve(utf8.size());
        for (std::size_t pos = 0; pos < utf8.size();) out += static_cast<wchar_t>(decodeUtf8(utf8, pos));
    }
    return out;
}

std::string fromWide(std::wstring_view wide) {
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        const std::u16string utf16(wide.begin(), wide.end());
        return toUtf8(utf16);
    } else {
        std::string out;
        out.reserve(wide.size() * 3);
        for (const wchar_t c : wide) {
            const auto cp = static_cast<char32_t>(c);
            appendUtf8(out, cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) ? kReplacement : cp);
        }
        return out;
    }
}

}  // namespace editor
