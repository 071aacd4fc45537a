#include "skin/control_geometry.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

// A horizontal track bar 0..100 whose channel runs from x 8 to 108 at y 10,
// 4 high, with the thumb's leading edge at `thumbLeft`.
TrackBarState horizontal(int position, int thumbLeft) {
    TrackBarState s;
    s.channelLeft = 8;
    s.channelTop = 10;
    s.channelRight = 108;
    s.channelBottom = 14;
    s.thumbLeft = thumbLeft;
    s.thumbTop = 2;
    s.position = position;
    s.rangeMax = 100;
    return s;
}

TEST(TrackBarFigure, ThumbDotAndValueLineAtZeroMiddleAndMaximum) {
    struct Case {
        int position, thumbLeft;
        RectF thumb, valueLine;
    };
    const Case cases[] = {
        {0, 3, {3, 9.5f, 4, 4}, {8, 11, -6, 1}},
        {50, 53, {53, 9.5f, 4, 4}, {8, 11, 44, 1}},
        // At the maximum the dot sits 8 pixels past the leading edge and the
        // line, 10 pixels longer, ends 9 pixels past it.
        {100, 103, {111, 9.5f, 4, 4}, {8, 11, 104, 1}},
    };
    for (const Case& c : cases) {
        const TrackBarFigure f = trackBarFigure(horizontal(c.position, c.thumbLeft));
        EXPECT_EQ(f.thumb, c.thumb) << c.position;
        EXPECT_EQ(f.valueLine, c.valueLine) << c.position;
        EXPECT_EQ(f.channel, (RectF{8, 10, 100, 4})) << c.position;
        EXPECT_FALSE(f.hasSelection);
    }
    const TrackBarFigure atMax = trackBarFigure(horizontal(100, 103));
    EXPECT_EQ(atMax.valueLine.x + atMax.valueLine.width, 103 + 9);
}

TEST(TrackBarFigure, HotThumbIsElevenPixelsAndMovesWithTheTicks) {
    struct Case {
        int ticks;
        float across;
    };
    for (const Case c : {Case{0, 8}, Case{1, 6}, Case{2, 7}, Case{3, 6}}) {
        TrackBarState s = horizontal(50, 53);
        s.hot = true;
        s.tickPlacement = c.ticks;
        EXPECT_EQ(trackBarFigure(s).thumb, (RectF{53, c.across, 11, 11})) << c.ticks;
    }
}

TEST(TrackBarFigure, VerticalBarExchangesTheAxes) {
    TrackBarState s = horizontal(50, 0);
    s.vertical = true;
    s.thumbTop = 53;
    const TrackBarFigure f = trackBarFigure(s);
    EXPECT_EQ(f.channel, (RectF{10, 8, 4, 100}));
    EXPECT_EQ(f.thumb, (RectF{9.5f, 53, 4, 4}));
    EXPECT_EQ(f.valueLine, (RectF{11, 8, 1, 44}));
}

TEST(TrackBarFigure, SelectionRangeNarrowsTheChannelToAStripAndScalesTheMark) {
    TrackBarState s = horizontal(50, 53);
    s.channelBottom = 20;  // 10 thick: the strip is 4 thick, 3 in
    s.selectionRange = true;
    s.selectionStart = 20;
    s.selectionEnd = 60;
    const TrackBarFigure f = trackBarFigure(s);
    EXPECT_EQ(f.channel, (RectF{8, 13, 100, 4}));
    ASSERT_TRUE(f.hasSelection);
    EXPECT_EQ(f.selection, (RectF{8 + 20 - 1, 14, 40, 1}));
    EXPECT_EQ(f.valueLine.y, 14);
    // The thumb keeps to the channel's own cross origin.
    EXPECT_EQ(f.thumb.y, 9.5f);
}

TEST(TrackBarFigure, EmptyRangeDrawsNoSelectionLength) {
    TrackBarState s = horizontal(0, 3);
    s.rangeMax = 0;
    s.selectionRange = true;
    s.selectionEnd = 5;
    EXPECT_EQ(trackBarFigure(s).selection.width, 0);
}

TEST(TrackBarTickPlacement, StyleBits) {
    EXPECT_EQ(trackBarTickPlacement(0x0), 1);
    EXPECT_EQ(trackBarTickPlacement(0x4), 0);
    EXPECT_EQ(trackBarTickPlacement(0x8), 2);
    EXPECT_EQ(trackBarTickPlacement(0x10 | 0x4), 3);
}

TEST(ProgressFill, LengthsHorizontalAndVertical) {
    struct Case {
        int w, h;
        bool vertical;
        int position, low, high;
        bool filled;
        RectF bar;
    };
    const Case cases[] = {
        {200, 20, false, 0, 0, 100, false, {}},
        {200, 20, false, 50, 0, 100, true, {1, 1, 97, 17}},
        // At the maximum the bar fills the panel less the 1-pixel inset.
        {200, 20, false, 100, 0, 100, true, {1, 1, 197, 17}},
        {20, 200, true, 50, 0, 100, true, {1, 101, 17, 97}},
        {20, 200, true, 100, 0, 100, true, {1, 1, 17, 197}},
        // Measured from the low bound; positions outside held to the range.
        {200, 20, false, 75, 50, 100, true, {1, 1, 97, 17}},
        {200, 20, false, 50, 50, 100, false, {}},
        {200, 20, false, 300, 0, 100, true, {1, 1, 197, 17}},
        {200, 20, false, 10, 10, 10, false, {}},
    };
    for (const Case& c : cases) {
        const ProgressFill f = progressFill(c.w, c.h, c.vertical, c.position, c.low, c.high);
        EXPECT_EQ(f.filled, c.filled) << c.position << "/" << c.high;
        if (c.filled) {
            EXPECT_EQ(f.bar, c.bar) << c.position << "/" << c.high;
        }
    }
}

TEST(UpDownHalves, TwentyHighSplitsAfterTen) {
    EXPECT_EQ(upDownHalfAt(16, 20, false, 5, 10), 0);
    EXPECT_EQ(upDownHalfAt(16, 20, false, 5, 11), 1);
    EXPECT_EQ(upDownHalfAt(16, 21, false, 5, 10), 0);
    EXPECT_EQ(upDownHalfAt(16, 21, false, 5, 11), 1);
    EXPECT_EQ(upDownHalfAt(30, 16, true, 15, 0), 0);
    EXPECT_EQ(upDownHalfAt(30, 16, true, 16, 0), 1);
    EXPECT_EQ(upDownHalf(16, 21, false, 0), (RectI{0, 0, 16, 10}));
    EXPECT_EQ(upDownHalf(16, 21, false, 1), (RectI{0, 10, 16, 10}));
    EXPECT_EQ(upDownHalf(31, 16, true, 1), (RectI{15, 0, 15, 16}));
}

TEST(HeaderColumnAt, FivePixelMarginsKeepTheDividersOffEveryColumn) {
    const std::vector<ColumnEdges> columns{{0, 100}, {100, 160}, {160, 300}};
    struct Case {
        int x, column;
    };
    for (const Case c : {Case{4, 0}, Case{5, 1}, Case{95, 1}, Case{96, 0}, Case{100, 0}, Case{104, 0}, Case{105, 2},
                         Case{155, 2}, Case{160, 0}, Case{165, 3}, Case{296, 0}, Case{-3, 0}}) {
        EXPECT_EQ(headerColumnAt(columns, c.x), c.column) << c.x;
    }
    EXPECT_EQ(headerColumnAt({}, 10), 0);
}

TEST(HeaderTextX, ThreeAlignmentsWithAndWithoutRoom) {
    struct Case {
        unsigned format;
        int width, icon, margin, text, x;
    };
    const Case cases[] = {
        {0x0, 100, 16, 3, 40, 3},   // left
        {0x1, 100, 16, 3, 40, 44},  // right: w - iw - tw
        {0x1, 50, 16, 3, 40, 3},    // right without room: the margin
        {0x2, 100, 16, 3, 40, 20},  // centre: (w - iw - margin - tw) / 2
        {0x2, 59, 16, 3, 40, 3},    // centre exactly full: the margin
        {0x2, 60, 0, 3, 40, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(headerTextX(c.format, c.width, c.icon, c.margin, c.text), c.x) << c.format << " " << c.width;
    }
}

}  // namespace
}  // namespace skin
