// libFuzzer entry: the item file's reader and writer under the round-trip
// oracle (tests/fuzz/item_file_oracle.h).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/fuzz/item_file_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::checkItemFileRoundTrip(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
