// Code page 936 for the tests, converted as the program converts it on
// Windows (MultiByteToWideChar / WideCharToMultiByte with code page 936);
// elsewhere through iconv's GBK.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gbk_codec {

// nullopt when the bytes are not code page 936 text.
std::optional<std::string> toUtf8(std::string_view gbk);
// A character code page 936 cannot hold becomes "?" (as on Windows).
std::string fromUtf8(std::string_view utf8);
// nullopt when a character cannot be held.
std::optional<std::string> fromUtf8Exact(std::string_view utf8);

}  // namespace gbk_codec
