// Pure geometry and colour arithmetic of the skin: no Windows headers, so
// every figure can be checked natively. Colours are COLORREF 0x00BBGGRR
// unless called ARGB (0xAARRGGBB). Real values become integers by
// truncation toward zero.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace skin {

// (COLORREF, alpha) -> GDI+ ARGB: red and blue exchanged, alpha on top.
// Alphas outside 0..255 are clamped.
std::uint32_t argb(std::uint32_t colorref, int alpha = 255);

// Corner sizes of the rounded paths are clamped to 1..100.
int clampCorner(int corner);

// The skin's minimum caption height.
inline constexpr int kMinimumCaptionHeight = 25;
int effectiveCaptionHeight(int requested);

// One piece of a GDI+ path outline: a straight line from (x1, y1) to
// (x2, y2), or an arc in the box (x, y, w, h) from `start` sweeping `sweep`
// degrees.
struct PathPiece {
    enum Kind { Line, Arc } kind;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // line
    float x = 0, y = 0, w = 0, h = 0;      // arc box
    float start = 0, sweep = 0;
    bool operator==(const PathPiece&) const = default;
};

struct PathOutline {
    std::vector<PathPiece> pieces;
    bool closed = false;
};

// Closed rectangle with four corner arcs (corner = the arcs' square size).
PathOutline roundedPath(float x, float y, float width, float height, int corner);
// Open outline with rounded top corners only.
PathOutline topRoundedPath(float x, float y, float width, float height, float corner);
// Open outline of the close button: only its top-right corner rounded.
PathOutline closeShapePath(float x, float y, float width, float height, float corner);

// Sizing zones of a skinned frame, tested in order; zone 0 is none.
struct SizingZone {
    int zone = 0;      // 1..8 in test order, 0 outside every zone
    int cursorId = 0;  // IDC_SIZEWE 32644, IDC_SIZENS 32645, IDC_SIZENWSE 32642, IDC_SIZENESW 32643
    int command = 0;   // 0xF001..0xF008 (SC_SIZE + edge)
};
inline constexpr int kCornerZone = 10;
SizingZone sizingZoneAt(int x, int y, int clientWidth, int clientHeight, int margin);

// What a left-button press at (x, y) starts.
enum class PressAction { Nothing, Move, Size };
struct PressOutcome {
    PressAction action = PressAction::Nothing;
    SizingZone zone;
};
struct StripBox {
    int left = 0, top = 0, width = 0, height = 0;
};
PressOutcome pressOutcome(int x, int y, int clientWidth, int clientHeight, int margin, int captionHeight, bool framed,
                          bool resizable, const StripBox& strip);

// How a window's background picture is laid on its surface (the values of
// the skin's `pictureMode` settings). The two faded modes use a texture of
// the picture fading into the base colour towards its free sides.
enum PictureMode : int {
    kPictureFadedLeft = 0,    // natural size at the top left
    kPictureFadedRight = 1,   // natural size at the top right
    kPictureCentred = 2,      // natural size in the middle
    kPictureStretched = 3,    // stretched over the whole surface
    kPictureMirrorTiled = 4,  // side by side, every second copy mirrored
};
inline bool isFadedPictureMode(int mode) { return mode == kPictureFadedLeft || mode == kPictureFadedRight; }

// Picture placement of the surface background for the modes up to
// kPictureStretched (stretch size for it, natural size otherwise);
// kPictureMirrorTiled has its own tiling.
struct Placement {
    bool draw = false;
    int x = 0, y = 0, width = 0, height = 0;
};
Placement placePicture(int mode, int pictureWidth, int pictureHeight, int clientWidth, int clientHeight);
// kPictureMirrorTiled: left edges of the copies; copy n is mirrored when n is odd.
std::vector<int> mirrorTileOffsets(int pictureWidth, int clientWidth);

// Average colour (COLORREF) of `samples` pixels at uniform random positions.
// `pixel` returns 0x00RRGGBB for a position. An empty picture gives 0.
std::uint32_t averageColour(int width, int height, const std::function<std::uint32_t(int, int)>& pixel,
                            std::mt19937& random, int samples = 2000);

// Size of a maximized window that leaves a bottom taskbar visible.
struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};
Size maximizedSize(int screenWidth, int screenHeight, int taskbarHeight);

// Gradient rectangles of a prepared faded texture: q = 0.3 W.
struct TextureBands {
    int q = 0;
    int sideX = 0, sideWidth = 0;  // horizontal fade band
    int bottomY = 0, bottomHeight = 0;
};
TextureBands textureBands(int mode, int width, int height);

// Bilinear scaling of 32-bit pixels (each channel on its own), sampling at
// pixel centres with the edges held, as a graphics library's bilinear mode
// does. `source` holds sourceWidth x sourceHeight pixels row by row.
std::vector<std::uint32_t> scaleBilinear(const std::uint32_t* source, int sourceWidth, int sourceHeight, int width,
                                         int height);
// One piece of a row of the scaled picture: row y, columns [x0, x1).
struct RowSpan {
    int y = 0, x0 = 0, x1 = 0;
};
// The same pixels for the given pieces only (each within width x height),
// written to target(y, x0), which points at where pixel (x0, y) goes; the
// rest of the row piece follows it.
void scaleBilinearSpans(const std::uint32_t* source, int sourceWidth, int sourceHeight, int width, int height,
                        const std::vector<RowSpan>& spans,
                        const std::function<std::uint32_t*(int y, int x0)>& target);

// Client area of a control inside its window rectangle (veiled bitmap).
struct Border {
    int horizontal = 0, vertical = 0;
};
Border controlBorder(int windowWidth, int windowHeight, int clientWidth, int clientHeight, bool vScroll, bool hScroll);

}  // namespace skin
