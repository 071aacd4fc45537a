// Pure geometry of the skinned common controls (track bars, progress bars,
// up-down controls, headers): what the painters and hit tests compute from
// the numbers the controls report. No Windows headers.
#pragma once

#include <vector>

namespace skin {

struct RectF {
    float x = 0, y = 0, width = 0, height = 0;
    bool operator==(const RectF&) const = default;
};

struct RectI {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const RectI&) const = default;
};

// What a track bar reports, as TBM_GETCHANNELRECT, TBM_GETTHUMBRECT,
// TBM_GETPOS, TBM_GETRANGEMAX and TBM_GETSELSTART/END give it. A vertical
// track bar reports its channel in horizontal terms.
struct TrackBarState {
    int channelLeft = 0, channelTop = 0, channelRight = 0, channelBottom = 0;
    int thumbLeft = 0, thumbTop = 0;
    bool vertical = false;
    bool selectionRange = false;
    int tickPlacement = 1;  // 0 top/left, 1 default, 2 both, 3 none
    bool hot = false;
    int position = 0, rangeMax = 0;
    int selectionStart = 0, selectionEnd = 0;
};

struct TrackBarFigure {
    RectF channel;    // the rounded channel (or the 4-pixel strip)
    RectF thumb;      // the thumb ellipse's box
    RectF valueLine;  // 1 pixel thick, from the channel's start to the thumb
    bool hasSelection = false;
    RectF selection;  // 1 pixel thick selection mark
};

// Tick placement code of a track bar's style bits.
int trackBarTickPlacement(unsigned style);
TrackBarFigure trackBarFigure(const TrackBarState& state);

// The filled part of a progress bar of client size w x h, as the rounded
// rectangle drawn for it; none when nothing is filled.
struct ProgressFill {
    bool filled = false;
    int length = 0;  // filled pixels along the bar
    RectF bar;       // inset rectangle of the filled part
};
ProgressFill progressFill(int width, int height, bool vertical, int position, int low, int high);

// Up-down halves: 0 the first (top or left), 1 the second.
int upDownHalfAt(int width, int height, bool horizontal, int x, int y);
RectI upDownHalf(int width, int height, bool horizontal, int half);

// Header columns as their left and right edges: the 1-based column whose
// edges, less a 5-pixel margin on each side, contain x; 0 for none.
struct ColumnEdges {
    int left = 0, right = 0;
};
int headerColumnAt(const std::vector<ColumnEdges>& columns, int x);

// Left edge of a header caption inside its column of width w: `format` holds
// the HDF_ alignment bits (1 right, 2 centre), iconWidth the icon's width,
// margin the header's bitmap margin and textWidth the measured caption.
int headerTextX(unsigned format, int width, int iconWidth, int margin, int textWidth);

}  // namespace skin
