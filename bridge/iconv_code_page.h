// Code page 936 where there is no Win32 (Linux): through iconv's GBK, with
// the Windows conversions' results for what they cannot convert.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bridge/rcon_session.h"

namespace bridge {

// For servers: a character GBK cannot hold becomes "?", a malformed byte
// sequence from the server U+FFFD.
GbkConverter iconvGbkConverter();

// For files: nullopt when the bytes are not code page 936 text.
std::optional<std::string> iconvCp936ToUtf8(std::string_view bytes);

}  // namespace bridge
