#include "editor/text_encoding.h"

#include "editor/text.h"

namespace editor {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

enum class Reading { Ascii, Utf8, Gbk, Neither };

bool isAscii(std::string_view line) {
    for (char c : line) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Lead bytes 0x81-0xFE, each followed by a trail byte 0x40-0x7E or 0x80-0xFE.
bool isGbkShaped(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto lead = static_cast<unsigned char>(line[i]);
        if (lead < 0x80) continue;
        if (lead == 0x80 || lead == 0xFF || i + 1 == line.size()) return false;
        const auto trail = static_cast<unsigned char>(line[++i]);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
    }
    return true;
}

// Whether valid UTF-8 holds only characters of U+0100-U+07FF beyond ASCII:
// two-byte sequences with a lead byte of 0xC4-0xDF.
bool onlyTwoByteLettersAboveLatin1(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x80) continue;
        if (c < 0xC4 || c > 0xDF) return false;
        ++i;
    }
    return true;
}

Reading readingOf(std::string_view line) {
    if (isAscii(line)) return Reading::Ascii;
    const bool utf8 = isValidUtf8(line), gbk = isGbkShaped(line);
    if (utf8 && gbk) return onlyTwoByteLettersAboveLatin1(line) ? Reading::Gbk : Reading::Utf8;
    if (utf8) return Reading::Utf8;
    return gbk ? Reading::Gbk : Reading::Neither;
}

std::string lineName(std::size_t number) { return "第 " + std::to_string(number) + " 行"; }

}  // namespace

DecodedText decodeText(std::string_view bytes, const Cp936ToUtf8& cp936ToUtf8) {
    const bool marked = bytes.starts_with(kByteOrderMark);
    if (marked) bytes.remove_prefix(kByteOrderMark.size());
    if (marked && isValidUtf8(bytes)) return {std::string(bytes), {}};
    std::size_t firstUtf8 = 0, firstGbk = 0, number = 0;
    for (std::size_t from = 0; from <= bytes.size();) {
        std::size_t end = bytes.find('\n', from);
        if (end == std::string_view::npos) end = bytes.size();
        ++number;
        const std::string_view line = bytes.substr(from, end - from);
        from = end + 1;
        if (marked && !isValidUtf8(line)) {
            return {std::nullopt, "文件以 UTF-8 标记开头，" + lineName(number) + "却不是有效的 UTF-8 文本。"};
        }
        switch (readingOf(line)) {
        case Reading::Ascii:
            break;
        case Reading::Utf8:
            if (!firstUtf8) firstUtf8 = number;
            break;
        case Reading::Gbk:
            if (!firstGbk) firstGbk = number;
            break;
        case Reading::Neither:
            return {std::nullopt, lineName(number) + "既不是有效的 UTF-8 文本，也不是 GBK（代码页 936）文本。"};
        }
    }
    if (firstUtf8 && firstGbk) {
        return {std::nullopt, "文件没有 UTF-8 标记，无法确定它的编码：" + lineName(firstUtf8) + "像 UTF-8 文本，" +
                                  lineName(firstGbk) +
                                  "却像 GBK（代码页 936）文本。请把文件另存为带标记的 UTF-8 后再打开。"};
    }
    if (!firstGbk) return {std::string(bytes), {}};
    if (cp936ToUtf8) {
        if (auto converted = cp936ToUtf8(bytes)) return {std::move(converted), {}};
    }
    return {std::nullopt, lineName(firstGbk) + "不是有效的 GBK（代码页 936）文本。"};
}

}  // namespace editor
