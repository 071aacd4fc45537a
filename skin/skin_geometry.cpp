#include "skin/skin_geometry.h"

#include <algorithm>

namespace skin {

std::uint32_t argb(std::uint32_t colorref, int alpha) {
    const std::uint32_t a = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
    const std::uint32_t r = colorref & 0xFF, g = (colorref >> 8) & 0xFF, b = (colorref >> 16) & 0xFF;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

int clampCorner(int corner) { return std::clamp(corner, 1, 100); }

int effectiveCaptionHeight(int requested) { return std::max(requested, kMinimumCaptionHeight); }

namespace {

PathPiece line(float x1, float y1, float x2, float y2) {
    PathPiece p{PathPiece::Line};
    p.x1 = x1, p.y1 = y1, p.x2 = x2, p.y2 = y2;
    return p;
}

PathPiece arc(float x, float y, float w, float h, float start) {
    PathPiece p{PathPiece::Arc};
    p.x = x, p.y = y, p.w = w, p.h = h, p.start = start, p.sweep = 90;
    return p;
}

}  // namespace

PathOutline roundedPath(float x, float y, float width, float height, int corner) {
    const auto d = static_cast<float>(clampCorner(corner));
    PathOutline out;
    out.pieces = {
        arc(x + width - d, y, d, d, 270),
        arc(x + width - d - 1, y + height - d - 1, d + 1, d + 1, 0),
        arc(x, y + height - d, d, d, 90),
        arc(x, y, d, d, 180),
    };
    out.closed = true;
    return out;
}

PathOutline topRoundedPath(float x, float y, float width, float height, float d) {
    PathOutline out;
    out.pieces = {
        line(x, y + height, x, y + d),
        arc(x, y, d, d, 180),
        line(x + d, y, x + width - d, y),
        arc(x + width - d, y, d, d, 270),
        line(x + width, y + d, x + width, y + height),
    };
    return out;
}

PathOutline closeShapePath(float x, float y, float width, float height, float d) {
    PathOutline out;
    out.pieces = {
        line(x, y + height, x, y),
        line(x, y, x + width - d, y),
        arc(x + width - d, y, d, d, 270),
        line(x + width, y + d, x + width, y + height),
    };
    return out;
}

SizingZone sizingZoneAt(int x, int y, int W, int H, int m) {
    constexpr int we = 32644, ns = 32645, nwse = 32642, nesw = 32643;
    constexpr int z = kCornerZone;
    if (x <= m && y >= 11 && y < H - z) return {1, we, 0xF001};
    if (x >= W - m && y >= 11 && y < H - z) return {2, we, 0xF002};
    if (y <= m && x >= 11 && x < W - z) return {3, ns, 0xF003};
    if (y >= H - m && x >= 11 && x < W - z) return {4, ns, 0xF006};
    if (x <= z && y <= z) return {5, nwse, 0xF004};
    if (x >= W - z && y <= z) return {6, nesw, 0xF005};
    if (x <= z && y >= H - z) return {7, nesw, 0xF007};
    if (x >= W - z && y >= H - z) return {8, nwse, 0xF008};
    return {};
}

PressOutcome pressOutcome(int x, int y, int W, int H, int m, int captionHeight, bool framed, bool resizable,
                          const StripBox& strip) {
    if (x >= strip.left && x <= strip.left + strip.width && y >= 3 && y <= strip.height) return {};
    if (!framed) return {};
    if (!resizable && y <= captionHeight) return {PressAction::Move, {}};
    const SizingZone zone = sizingZoneAt(x, y, W, H, m);
    if (zone.zone != 0) return {PressAction::Size, zone};
    if (y <= captionHeight) return {PressAction::Move, {}};
    return {};
}

Placement placePicture(int mode, int pw, int ph, int cw, int ch) {
    switch (mode) {
    case kPictureFadedLeft:
        return {true, 0, 0, pw, ph};
    case kPictureFadedRight:
        return {true, cw - pw, 0, pw, ph};
    case kPictureCentred:
        return {true, (cw - pw) / 2, (ch - ph) / 2, pw, ph};
    case kPictureStretched:
        return {true, 0, 0, cw, ch};
    default:
        return {};
    }
}

std::vector<int> mirrorTileOffsets(int pictureWidth, int clientWidth) {
    std::vector<int> offsets;
    if (pictureWidth <= 0) return offsets;
    for (int x = 0;; x += pictureWidth) {
        offsets.push_back(x);
        if (x >= clientWidth || x + pictureWidth >= clientWidth) break;
    }
    return offsets;
}

std::uint32_t averageColour(int width, int height, const std::function<std::uint32_t(int, int)>& pixel,
                            std::mt19937& random, int samples) {
    if (width <= 0 || height <= 0 || samples <= 0) return 0;
    std::uniform_int_distribution<int> xs(0, width - 1), ys(0, height - 1);
    std::uint64_t r = 0, g = 0, b = 0;
    for (int i = 0; i < samples; ++i) {
        const int px = xs(random);
        const int py = ys(random);
        const std::uint32_t rgb = pixel(px, py);
        r += (rgb >> 16) & 0xFF;
        g += (rgb >> 8) & 0xFF;
        b += rgb & 0xFF;
    }
    const auto n = static_cast<std::uint64_t>(samples);
    return static_cast<std::uint32_t>((r / n) | ((g / n) << 8) | ((b / n) << 16));
}

Size maximizedSize(int screenWidth, int screenHeight, int taskbarHeight) {
    return {screenWidth, screenHeight - std::clamp(taskbarHeight, 0, screenHeight)};
}

TextureBands textureBands(int mode, int width, int height) {
    TextureBands bands;
    bands.q = static_cast<int>(0.3 * width);
    if (mode == kPictureFadedRight) {
        bands.sideX = 0;
    } else {
        bands.sideX = width - bands.q + 1;
    }
    bands.sideWidth = bands.q;
    bands.bottomY = height - bands.q + 1;
    bands.bottomHeight = bands.q;
    return bands;
}

Border controlBorder(int windowWidth, int windowHeight, int clientWidth, int clientHeight, bool vScroll, bool hScroll) {
    const int h = windowWidth - clientWidth - (vScroll ? 17 : 0);
    const int v = windowHeight - clientHeight - (hScroll ? 17 : 0);
    return {std::max(h, 0) / 2, std::max(v, 0) / 2};
}

namespace {

// Source index and 8-bit weight of the second neighbour for each target
// coordinate along one axis.
struct Tap {
    int first = 0, second = 0, weight = 0;
};

std::vector<Tap> taps(int sourceSize, int targetSize) {
    std::vector<Tap> result(static_cast<size_t>(targetSize));
    const double ratio = static_cast<double>(sourceSize) / targetSize;
    for (int t = 0; t < targetSize; ++t) {
        double at = (t + 0.5) * ratio - 0.5;
        if (at < 0) at = 0;
        if (at > sourceSize - 1) at = sourceSize - 1;
        const int first = static_cast<int>(at);
        result[static_cast<size_t>(t)] = {first, std::min(first + 1, sourceSize - 1),
                                          static_cast<int>((at - first) * 256.0 + 0.5)};
    }
    return result;
}

// Each 8-bit channel (c_a (256 - weight) + c_b weight + 128) >> 8, two
// channels at a time in 16-bit lanes: the largest lane value, 255 * 256 +
// 128, stays below 65536, so no lane carries into the next.
std::uint32_t blend(std::uint32_t a, std::uint32_t b, int weight) {
    const auto w = static_cast<std::uint32_t>(weight), keep = 256 - w;
    constexpr std::uint32_t kLanes = 0x00FF00FF, kHalf = 0x00800080;
    const std::uint32_t redBlue = (((a & kLanes) * keep + (b & kLanes) * w + kHalf) >> 8) & kLanes;
    const std::uint32_t alphaGreen = ((((a >> 8) & kLanes) * keep + ((b >> 8) & kLanes) * w + kHalf) >> 8) & kLanes;
    return redBlue | (alphaGreen << 8);
}

}  // namespace

void scaleBilinearSpans(const std::uint32_t* source, int sourceWidth, int sourceHeight, int width, int height,
                        const std::vector<RowSpan>& spans,
                        const std::function<std::uint32_t*(int y, int x0)>& target) {
    if (!source || sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return;
    const std::vector<Tap> across = taps(sourceWidth, width), down = taps(sourceHeight, height);
    // A source row blended across once for all the target rows that use it:
    // the two rows of the last span stay, as target rows mostly come in order.
    struct AcrossRow {
        int source = -1;
        std::vector<std::uint32_t> pixels;
    } rows[2];
    auto blendAcross = [&](AcrossRow& row, int sourceRow) {
        row.source = sourceRow;
        row.pixels.resize(static_cast<size_t>(width));
        const std::uint32_t* in = source + static_cast<size_t>(sourceRow) * static_cast<size_t>(sourceWidth);
        for (int x = 0; x < width; ++x) {
            const Tap& column = across[static_cast<size_t>(x)];
            row.pixels[static_cast<size_t>(x)] = blend(in[column.first], in[column.second], column.weight);
        }
    };
    // The slots holding source rows `a` and `b`, filled where missing.
    auto pairOf = [&](int a, int b) {
        AcrossRow* first = rows[0].source == a ? &rows[0] : rows[1].source == a ? &rows[1] : nullptr;
        if (!first) {
            first = rows[0].source == b ? &rows[1] : &rows[0];
            blendAcross(*first, a);
        }
        AcrossRow* second = rows[0].source == b ? &rows[0] : rows[1].source == b ? &rows[1] : nullptr;
        if (!second) {
            second = first == &rows[0] ? &rows[1] : &rows[0];
            blendAcross(*second, b);
        }
        return std::make_pair(first->pixels.data(), second->pixels.data());
    };
    for (const RowSpan& span : spans) {
        if (span.y < 0 || span.y >= height || span.x0 < 0 || span.x1 > width || span.x0 >= span.x1) continue;
        const Tap& row = down[static_cast<size_t>(span.y)];
        const auto [top, bottom] = pairOf(row.first, row.second);
        std::uint32_t* out = target(span.y, span.x0);
        for (int x = span.x0; x < span.x1; ++x) *out++ = blend(top[x], bottom[x], row.weight);
    }
}

std::vector<std::uint32_t> scaleBilinear(const std::uint32_t* source, int sourceWidth, int sourceHeight, int width,
                                         int height) {
    if (!source || sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return {};
    std::vector<std::uint32_t> scaled(static_cast<size_t>(width) * static_cast<size_t>(height));
    std::vector<RowSpan> rows;
    rows.reserve(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows.push_back({y, 0, width});
    scaleBilinearSpans(source, sourceWidth, sourceHeight, width, height, rows, [&](int y, int x0) {
        return scaled.data() + static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x0);
    });
    return scaled;
}

}  // namespace skin
