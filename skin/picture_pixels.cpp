#include "skin/picture_pixels.h"

#include <climits>
#include <memory>

// stb_image (libstb-dev): a well-kept single-header decoder. Only the
// formats the skin takes, and no file access of its own.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
// Large enough for any window picture; refuses absurd sizes before allocating.
#define STBI_MAX_DIMENSIONS 16384
// Included as a system header of the build: its warnings are not ours. The
// optimiser's own warnings about its inlined code come later and ignore that.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <stb_image.h>

namespace skin {

std::optional<PicturePixels> decodePicturePixels(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 4),
        stbi_image_free);
    if (!rgba || width <= 0 || height <= 0) return std::nullopt;
    PicturePixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.argb.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    const stbi_uc* in = rgba.get();
    for (std::uint32_t& out : pixels.argb) {
        out = static_cast<std::uint32_t>(in[3]) << 24 | static_cast<std::uint32_t>(in[0]) << 16 |
              static_cast<std::uint32_t>(in[1]) << 8 | in[2];
        in += 4;
    }
    return pixels;
}

std::optional<std::vector<std::uint8_t>> inflateZlib(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
    int length = 0;
    const std::unique_ptr<char, void (*)(void*)> out(
        stbi_zlib_decode_malloc(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), &length),
        stbi_image_free);
    if (!out || length < 0) return std::nullopt;
    const auto* first = reinterpret_cast<const std::uint8_t*>(out.get());
    return std::vector<std::uint8_t>(first, first + length);
}

}  // namespace skin
