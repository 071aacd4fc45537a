#include "bridge/iconv_code_page.h"

#include <iconv.h>

#include <cerrno>

namespace bridge {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

enum class OnBadInput { Fail, QuestionMark, Replacement };

// The length of the UTF-8 character that starts at `text` (1 for a stray byte).
std::size_t utf8CharLength(std::string_view text) {
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) ++length;
    return length;
}

std::optional<std::string> convert(const char* to, const char* from, std::string_view text, OnBadInput bad) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    out.reserve(text.size() * 3 / 2 + 4);
    char buffer[4096];
    std::string in(text);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    bool failed = false;
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // An invalid or cut sequence: refused, or replaced and stepped over.
        if (bad == OnBadInput::Fail) {
            failed = true;
            break;
        }
        if (bad == OnBadInput::QuestionMark) {
            out += '?';
            const std::size_t skip = utf8CharLength(std::string_view(inPtr, inLeft));
            inPtr += skip;
            inLeft -= skip;
        } else {
            out += kReplacementUtf8;
            ++inPtr;  // one byte: a GBK lead byte with a bad trail byte keeps the trail byte's own meaning
            --inLeft;
        }
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    if (failed) return std::nullopt;
    return out;
}

}  // namespace

GbkConverter iconvGbkConverter() {
    return {[](std::string_view utf8) {
                return convert("GBK", "UTF-8", utf8, OnBadInput::QuestionMark).value_or(std::string());
            },
            [](std::string_view gbk) {
                return convert("UTF-8", "GBK", gbk, OnBadInput::Replacement).value_or(std::string());
            }};
}

std::optional<std::string> iconvCp936ToUtf8(std::string_view bytes) {
    return convert("UTF-8", "GBK", bytes, OnBadInput::Fail);
}

}  // namespace bridge
