// Picture files (PNG, JPEG, BMP, GIF) decoded in-process into plain pixels,
// without the system's codec components: under Wine each decode through them
// walks the registry and costs milliseconds, the first one tens.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace skin {

struct PicturePixels {
    int width = 0;
    int height = 0;
    // Rows top to bottom, 0xAARRGGBB (not premultiplied): the layout of a
    // 32-bit ARGB bitmap in memory.
    std::vector<std::uint32_t> argb;
};

// Empty for bytes that are not a picture of those formats (or are damaged).
std::optional<PicturePixels> decodePicturePixels(std::span<const std::uint8_t> bytes);

// A zlib stream (RFC 1950) unpacked with the same decoder the PNG pictures
// use; empty for a damaged stream.
std::optional<std::vector<std::uint8_t>> inflateZlib(std::span<const std::uint8_t> bytes);

}  // namespace skin
