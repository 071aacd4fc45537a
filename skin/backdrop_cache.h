// Pictures made from what lies behind a control (its captured background,
// its veil, its border), kept until that changes, so that a control painted
// in several steps (frame, erase, colour brush, paint) captures once. What
// lies behind changes when a skinned window's surface is drawn on or the
// window is painted (outside code may have drawn on the surface before
// invalidating it), or a container's tint changes: each of these calls
// backdropChanged(). A picture is also stale once its control has moved
// against its window or been resized. Backdrops a window of other code
// provides are never kept: their changes cannot be seen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>

namespace skin {

class MemoryCanvas;

// Everything a picture depends on: the backdrop's generation, the control's
// place in its top-level window, the rectangle drawn, and what the painter
// adds (colours, thickness, veil alpha).
struct BackdropStamp {
    std::uint64_t generation = 0;
    POINT place{};
    RECT rect{};
    std::uint64_t variant = 0;
    bool operator==(const BackdropStamp& other) const;
};

enum class KeptPicture { Background, Veil, Border, Container };

void backdropChanged();
// The current generation: memos of what other code may change (the backdrop
// properties, the lists of children) hold for one generation.
std::uint64_t backdropGeneration();
// A painter's inputs folded into one variant.
std::uint64_t variantOf(std::initializer_list<std::int64_t> inputs);
BackdropStamp stampOf(HWND control, const RECT& rect, std::uint64_t variant = 0);

// The kept picture for this stamp, or nullptr.
HDC keptPicture(HWND control, KeptPicture what, const BackdropStamp& stamp);
// Keeps `picture` (its size: the stamp's rectangle); its DC, or nullptr
// when there is no picture.
HDC keepPicture(HWND control, KeptPicture what, const BackdropStamp& stamp, std::unique_ptr<MemoryCanvas> picture);
// The control is gone: its pictures go with it.
void forgetPictures(HWND control);
// The top-level window is gone: the pictures of all its controls go.
void forgetPicturesOf(HWND top);
// Pictures kept and captures made since start (for tests and benchmarks).
int keptPictures();
long backdropCaptures();
void countBackdropCapture();

}  // namespace skin
