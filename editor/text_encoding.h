// How a text file without a byte-order mark is read: as UTF-8 or as code
// page 936 (GBK), decided over its lines, and refused where they disagree.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace editor {

// Converts code page 936 bytes to UTF-8; nullopt when they are not valid.
using Cp936ToUtf8 = std::function<std::optional<std::string>(std::string_view)>;

struct DecodedText {
    std::optional<std::string> text;  // UTF-8, the byte-order mark dropped
    std::string error;                // a Chinese sentence naming the line; empty on success
};

// With a byte-order mark the text must be UTF-8. Without one, each line that
// is not plain ASCII speaks for one encoding: UTF-8 when it is valid UTF-8
// and not GBK-shaped, or when its UTF-8 reading holds a character outside
// U+0100-U+07FF (Chinese, Latin-1 such as "§", symbols, emoji); GBK when it
// is only GBK-shaped, or when its every character, read as UTF-8, would fall
// in U+0100-U+07FF (Latin Extended, Greek, Cyrillic, Hebrew, Arabic: what GBK
// Chinese looks like when taken for UTF-8). All lines agreeing decide the
// text; lines that disagree, or a line that is neither, refuse it.
DecodedText decodeText(std::string_view bytes, const Cp936ToUtf8& cp936ToUtf8);

}  // namespace editor
