// Text helpers shared by the composer, the power editors and the bridge.
// All texts are UTF-8; rules stated on characters (full-width digits, markers
// never matching inside a character) hold because UTF-8 is self-synchronising.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

// The key of a combo-box item written as value "|" label: the text before the
// first "|", or the whole text when there is none.
std::string_view itemKey(std::string_view item);

// Reads a whole number: full-width ASCII forms and the ideographic space are
// read as their ASCII forms; then optional leading blanks, an optional sign
// and decimal digits up to the first other character. No digits gives 0.
// The value saturates at the 64-bit limits instead of wrapping.
std::int64_t readInteger(std::string_view text);

// readInteger clamped to the signed 32-bit range.
std::int32_t toInteger(std::string_view text);

// Writes a whole number in decimal: no fraction, no exponent.
std::string formatNumber(std::int64_t value);

// The text between the first occurrence of `front` and the first occurrence
// of `back` after it; "" when either marker is missing.
std::string textBetween(std::string_view text, std::string_view front, std::string_view back);

// Splits at every CR LF, keeping empty pieces between two breaks and dropping
// the empty piece after a final break ("" gives no piece at all).
std::vector<std::string> splitLines(std::string_view text);

// True when `text` is well-formed UTF-8: shortest forms only, no surrogates,
// nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

inline constexpr std::string_view kLineBreak = "\r\n";

}  // namespace editor
