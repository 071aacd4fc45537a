#include "tests/native/gbk_codec.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace gbk_codec {
namespace {

#ifdef _WIN32
constexpr UINT kGbk = 936;

std::optional<std::wstring> wide(UINT codePage, std::string_view text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, out.data(), length);
    return out;
}

std::optional<std::string> narrow(UINT codePage, const std::wstring& text, bool exact) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    BOOL* lossyFlag = codePage == CP_UTF8 ? nullptr : &lossy;
    const int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, lossyFlag);
    if (length <= 0 || (exact && lossy)) return std::nullopt;
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

std::optional<std::string> convert(std::string_view text, bool toGbk, bool exact) {
    const auto middle = wide(toGbk ? CP_UTF8 : kGbk, text);
    if (!middle) return std::nullopt;
    return narrow(toGbk ? kGbk : CP_UTF8, *middle, exact);
}
#else
std::optional<std::string> convert(std::string_view text, bool toGbk, bool exact) {
    iconv_t cd = toGbk ? iconv_open("GBK", "UTF-8") : iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in(text), out(text.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    bool failed = false;
    while (inLeft > 0 && iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        if (exact || !toGbk) {
            failed = true;
            break;
        }
        // Step over the whole UTF-8 character the other side cannot hold.
        *outPtr++ = '?';
        --outLeft;
        do {
            ++inPtr;
            --inLeft;
        } while (inLeft > 0 && (static_cast<unsigned char>(*inPtr) & 0xC0) == 0x80);
    }
    iconv_close(cd);
    if (failed) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}
#endif

}  // namespace

std::optional<std::string> toUtf8(std::string_view gbk) { return convert(gbk, false, true); }

std::string fromUtf8(std::string_view utf8) { return convert(utf8, true, false).value_or(std::string()); }

std::optional<std::string> fromUtf8Exact(std::string_view utf8) { return convert(utf8, true, true); }

}  // namespace gbk_codec
