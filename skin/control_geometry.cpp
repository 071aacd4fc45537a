#include "skin/control_geometry.h"

#include <algorithm>

namespace skin {

namespace {

// The values of commctrl.h's TBS_TOP, TBS_BOTH, TBS_NOTICKS, HDF_RIGHT and
// HDF_CENTER (this file builds without the Windows headers).
constexpr unsigned kTrackBarTop = 0x4, kTrackBarBoth = 0x8, kTrackBarNoTicks = 0x10;
constexpr unsigned kHeaderRight = 0x1, kHeaderCentre = 0x2;

}  // namespace

int trackBarTickPlacement(unsigned style) {
    if (style & kTrackBarNoTicks) return 3;
    if (style & kTrackBarTop) return 0;  // top or left
    if (style & kTrackBarBoth) return 2;
    return 1;
}

namespace {

// A box given along and across the channel, placed for the orientation.
RectF placed(bool vertical, float along, float across, float length, float thickness) {
    return vertical ? RectF{across, along, thickness, length} : RectF{along, across, length, thickness};
}

}  // namespace

TrackBarFigure trackBarFigure(const TrackBarState& s) {
    TrackBarFigure f;
    const float start = static_cast<float>(s.channelLeft);
    const float length = static_cast<float>(s.channelRight - s.channelLeft);
    const float cross = static_cast<float>(s.channelTop);
    float stripCross = cross;
    float thickness = static_cast<float>(s.channelBottom - s.channelTop);
    if (s.selectionRange) {
        stripCross = cross + (thickness - 4) / 2;
        thickness = 4;
    }
    f.channel = placed(s.vertical, start, stripCross, length, thickness);

    const bool atMax = s.position == s.rangeMax;
    // A range of 0 would divide by zero: the selection then has no length.
    const float scale = s.rangeMax > 0 ? length / static_cast<float>(s.rangeMax) : 0.0f;
    if (s.selectionRange) {
        f.hasSelection = true;
        const float selStart = start + static_cast<float>(s.selectionStart) * scale - 1;
        const float selLength = static_cast<float>(s.selectionEnd - s.selectionStart) * scale;
        f.selection = placed(s.vertical, selStart, stripCross + 1, selLength, 1);
    }

    const float leading = static_cast<float>(s.vertical ? s.thumbTop : s.thumbLeft);
    if (s.hot) {
        float across = cross - 4;
        if (s.tickPlacement == 0) across += 2;
        if (s.tickPlacement == 2) across += 1;
        f.thumb = placed(s.vertical, leading, across, 11, 11);
    } else {
        f.thumb = placed(s.vertical, leading + (atMax ? 8.0f : 0.0f), cross - 0.5f, 4, 4);
    }
    const float lineLength = leading - start - 1 + (atMax ? 10.0f : 0.0f);
    f.valueLine = placed(s.vertical, start, stripCross + 1, lineLength, 1);
    return f;
}

ProgressFill progressFill(int width, int height, bool vertical, int position, int low, int high) {
    ProgressFill fill;
    const int span = high - low;
    const int extent = vertical ? height : width;
    if (span <= 0) return fill;
    // Measured from the low bound, so that a range not starting at 0 fills
    // in proportion; positions outside the range are held to its ends.
    const long long along = std::clamp(position - low, 0, span);
    fill.length = static_cast<int>(along * extent / span);
    if (fill.length <= 0) return fill;
    fill.filled = true;
    const float len = static_cast<float>(fill.length);
    if (vertical) {
        fill.bar = {1, static_cast<float>(height - fill.length) + 1, static_cast<float>(width) - 3, len - 3};
    } else {
        fill.bar = {1, 1, len - 3, static_cast<float>(height) - 3};
    }
    return fill;
}

int upDownHalfAt(int width, int height, bool horizontal, int x, int y) {
    return horizontal ? (width / 2 < x ? 1 : 0) : (height / 2 < y ? 1 : 0);
}

RectI upDownHalf(int width, int height, bool horizontal, int half) {
    if (horizontal) return half == 0 ? RectI{0, 0, width / 2, height} : RectI{width / 2, 0, width / 2, height};
    return half == 0 ? RectI{0, 0, width, height / 2} : RectI{0, height / 2, width, height / 2};
}

int headerColumnAt(const std::vector<ColumnEdges>& columns, int x) {
    for (size_t n = 0; n < columns.size(); ++n) {
        if (columns[n].left + 5 <= x && x <= columns[n].right - 5) return static_cast<int>(n) + 1;
    }
    return 0;
}

int headerTextX(unsigned format, int width, int iconWidth, int margin, int textWidth) {
    const bool fits = iconWidth + margin + textWidth < width;
    if (format & kHeaderRight) return fits ? width - iconWidth - textWidth : margin;
    if (format & kHeaderCentre) return fits ? (width - iconWidth - margin - textWidth) / 2 : margin;
    return margin;
}

}  // namespace skin
