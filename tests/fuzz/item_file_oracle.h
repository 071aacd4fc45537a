// The round-trip oracle of the item file's reader and writer, shared by the
// libFuzzer target and the plain replay driver: for any bytes, reading never
// crashes; what was read, written and read again is the same document and
// the same item data, and writing it again gives the same bytes. A broken
// promise prints what broke and aborts.
#pragma once

#include <string_view>

namespace fuzz {

void checkItemFileRoundTrip(std::string_view bytes);

}  // namespace fuzz
