// The one place where text changes encoding between the program (UTF-8) and
// the controls (UTF-16). Malformed input becomes U+FFFD, never a crash.
#pragma once

#include <string>
#include <string_view>

namespace editor {

std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);
// One element per code point, for code that draws characters.
std::u32string toUtf32(std::string_view utf8);

// The system's wide strings: UTF-16 where wchar_t has 16 bits (Windows),
// UTF-32 where it has 32.
std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view wide);

}  // namespace editor
