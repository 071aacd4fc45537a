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

}  // namespace editor
