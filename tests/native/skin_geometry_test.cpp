#include "skin/skin_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "skin/caption_layout.h"

namespace {

using namespace skin;

TEST(SkinArgb, ExchangesRedAndBlueAndPutsAlphaOnTop) {
    struct Case {
        std::uint32_t colour;
        int alpha;
        std::uint32_t expected;
    } cases[] = {
        {0x00FFFFFF, 120, 0x78FFFFFF}, {0x00C0C0C0, 255, 0xFFC0C0C0}, {0x00DDCA22, 30, 0x1E22CADD},
        {0x000000FF, 255, 0xFFFF0000}, {0x00FF0000, 0, 0x000000FF},   {0x00123456, 300, 0xFF563412},
        {0x00123456, -5, 0x00563412},
    };
    for (const Case& c : cases) EXPECT_EQ(argb(c.colour, c.alpha), c.expected) << std::hex << c.colour;
    EXPECT_EQ(argb(0x00C0C0C0), 0xFFC0C0C0u) << "no alpha given means opaque";
}

TEST(SkinRoundedPath, FourArcsInOrderAndClosed) {
    const PathOutline p = roundedPath(10, 20, 100, 50, 8);
    ASSERT_EQ(p.pieces.size(), 4u);
    EXPECT_TRUE(p.closed);
    const float expected[4][6] = {
        {102, 20, 8, 8, 270, 90}, {101, 61, 9, 9, 0, 90}, {10, 62, 8, 8, 90, 90}, {10, 20, 8, 8, 180, 90}};
    for (int i = 0; i < 4; ++i) {
        const PathPiece& a = p.pieces[static_cast<size_t>(i)];
        EXPECT_EQ(a.kind, PathPiece::Arc);
        EXPECT_FLOAT_EQ(a.x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(a.y, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(a.w, expected[i][2]) << i;
        EXPECT_FLOAT_EQ(a.h, expected[i][3]) << i;
        EXPECT_FLOAT_EQ(a.start, expected[i][4]) << i;
        EXPECT_FLOAT_EQ(a.sweep, expected[i][5]) << i;
    }
}

TEST(SkinRoundedPath, CornerIsClampedToOneThroughHundred) {
    struct Case {
        int corner, used;
    } cases[] = {{0, 1}, {-7, 1}, {1, 1}, {5, 5}, {100, 100}, {150, 100}};
    for (const Case& c : cases) {
        const PathOutline p = roundedPath(0, 0, 300, 300, c.corner);
        EXPECT_FLOAT_EQ(p.pieces[0].w, static_cast<float>(c.used)) << c.corner;
        EXPECT_FLOAT_EQ(p.pieces[0].x, 300.0f - static_cast<float>(c.used)) << c.corner;
        EXPECT_FLOAT_EQ(p.pieces[1].w, static_cast<float>(c.used + 1)) << c.corner;
    }
}

TEST(SkinRoundedPath, TopRoundedAndCloseShapesAreOpenOutlines) {
    const PathOutline top = topRoundedPath(5, 0, 26, 18, 1);
    ASSERT_EQ(top.pieces.size(), 5u);
    EXPECT_FALSE(top.closed);
    EXPECT_EQ(top.pieces[0], (PathPiece{PathPiece::Line, 5, 18, 5, 1}));
    EXPECT_FLOAT_EQ(top.pieces[1].start, 180);
    EXPECT_EQ(top.pieces[2], (PathPiece{PathPiece::Line, 6, 0, 30, 0}));
    EXPECT_FLOAT_EQ(top.pieces[3].x, 30);
    EXPECT_FLOAT_EQ(top.pieces[3].start, 270);
    EXPECT_EQ(top.pieces[4], (PathPiece{PathPiece::Line, 31, 1, 31, 18}));

    const PathOutline close = closeShapePath(100, 1, 38, 18, 5);
    ASSERT_EQ(close.pieces.size(), 4u);
    EXPECT_EQ(close.pieces[0], (PathPiece{PathPiece::Line, 100, 19, 100, 1}));
    EXPECT_EQ(close.pieces[1], (PathPiece{PathPiece::Line, 100, 1, 133, 1}));
    EXPECT_EQ(close.pieces[2].kind, PathPiece::Arc);
    EXPECT_FLOAT_EQ(close.pieces[2].x, 133);
    EXPECT_FLOAT_EQ(close.pieces[2].w, 5);
    EXPECT_EQ(close.pieces[3], (PathPiece{PathPiece::Line, 138, 6, 138, 19}));
}

TEST(SkinCaption, HeightIsAtLeastTwentyFive) {
    EXPECT_EQ(effectiveCaptionHeight(15), 25);
    EXPECT_EQ(effectiveCaptionHeight(24), 25);
    EXPECT_EQ(effectiveCaptionHeight(25), 25);
    EXPECT_EQ(effectiveCaptionHeight(30), 30);
    EXPECT_EQ(effectiveCaptionHeight(-3), 25);
}

std::vector<ButtonGeometry> mainWindowButtons() {
    return {buttonOfKind(kHelp), buttonOfKind(kMainMenu), buttonOfKind(kMinimize), buttonOfKind(kMaximize),
            buttonOfKind(kClose)};
}

TEST(SkinCaptionLayout, StripOfTheMainWindow) {
    auto buttons = mainWindowButtons();
    Strip strip = initialStrip(buttons, 1069);
    EXPECT_EQ(strip.width, 4 * 26 + 38 + 4 + 3);
    EXPECT_EQ(strip.left, 1069 - 3 - strip.width - 2);
    layoutCaptionButtons(strip, buttons, 1069);
    EXPECT_EQ(strip.left, 1069 - 149 + 1);
    EXPECT_EQ(strip.height, 22);
    const float xs[] = {923, 950, 977, 1004, 1031};
    for (size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_FLOAT_EQ(buttons[i].hit.x, xs[i]) << i;
        EXPECT_FLOAT_EQ(buttons[i].hit.y, 1);
        EXPECT_FLOAT_EQ(buttons[i].hit.w, i == 4 ? 40 : 26) << i;
        EXPECT_FLOAT_EQ(buttons[i].hit.h, 18);
    }
    EXPECT_EQ(buttonPaintRect(strip, buttons[4]), (IntRect{1030, 1, 38, 18}));
    EXPECT_EQ(buttonPaintRect(strip, buttons[0]), (IntRect{922, 1, 26, 18}));
    EXPECT_EQ(findMaximizeButton(buttons), 4);
}

TEST(SkinCaptionLayout, HitTestIsStrictAtEveryEdge) {
    auto buttons = mainWindowButtons();
    Strip strip = initialStrip(buttons, 1069);
    layoutCaptionButtons(strip, buttons, 1069);
    struct Case {
        float x, y;
        int expected;
    } cases[] = {
        {923, 10, 0},                       // left edge of help
        {923.5f, 10, 1},                    // just inside
        {949, 10, 0},                       // right edge of help
        {948.9f, 10, 1},  {936, 1, 0},      // top edge
        {936, 19, 0},                       // bottom edge
        {936, 18.5f, 1},  {950.5f, 10, 2},  // main menu
        {1004.5f, 10, 4},                   // maximize
        {1069, 10, 5},                      // the close rectangle is 40 wide: two pixels past the painted 38
        {1070, 10, 5},    {1071, 10, 0},    // right edge of the close hit rectangle
        {1050, 25, 0},                      // below the strip
        {900, 10, 0},                       // left of the strip
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hitTestCaptionButtons(strip, buttons, c.x, c.y), c.expected) << c.x << "," << c.y;
    }
}

TEST(SkinCaptionLayout, AddedButtonBecomesFirstAndMaximizeMovesUp) {
    auto buttons = mainWindowButtons();
    Strip strip = initialStrip(buttons, 800);
    buttons.insert(buttons.begin(), buttonOfKind(kUserButton));
    strip.width += kButtonPitch;
    layoutCaptionButtons(strip, buttons, 800);
    EXPECT_EQ(findMaximizeButton(buttons), 5);
    EXPECT_EQ(hitTestCaptionButtons(strip, buttons, buttons[0].hit.x + 5, 10), 1);
    std::vector<ButtonGeometry> onlyClose{buttonOfKind(kClose)};
    EXPECT_EQ(findMaximizeButton(onlyClose), 0);
}

TEST(SkinCaptionLayout, SeparatorsLeftOfFirstAreDarker) {
    auto buttons = mainWindowButtons();
    Strip strip = initialStrip(buttons, 1069);
    layoutCaptionButtons(strip, buttons, 1069);
    const auto first = separatorsOf(buttons, 1);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].x, 921);
    EXPECT_EQ(first[0].alpha, 100);
    EXPECT_EQ(first[1].x, 948);
    EXPECT_EQ(first[1].alpha, 60);
    const auto last = separatorsOf(buttons, 5);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].alpha, 60);
    EXPECT_TRUE(separatorsOf(buttons, 0).empty());
    EXPECT_TRUE(separatorsOf(buttons, 6).empty());
}

TEST(SkinCaptionLayout, HoverStripReachesTwoPixelsLeft) {
    Strip strip{900, 0, 149, 22};
    EXPECT_TRUE(inHoverStrip(strip, 898, 0));
    EXPECT_FALSE(inHoverStrip(strip, 897, 5));
    EXPECT_TRUE(inHoverStrip(strip, 1049, 22));
    EXPECT_FALSE(inHoverStrip(strip, 1050, 5));
    EXPECT_FALSE(inHoverStrip(strip, 950, 23));
    EXPECT_FALSE(inHoverStrip(strip, 950, -1));
}

TEST(SkinTitleAndStatus, RectanglesFollowTheMargin) {
    EXPECT_EQ(titleBand(1069, 149), (IntRect{9, 8, 1069 - 149 - 10 - 6, 32}));
    const IntRect bar = statusBarRect(800, 600, 22);
    EXPECT_EQ(bar, (IntRect{3, 600 - 22 - 3 - 1, 794, 22}));
    const auto panels = statusPanelRects(bar, {100, -1, 50}, 800);
    ASSERT_EQ(panels.size(), 3u);
    EXPECT_EQ(panels[0], (IntRect{3, bar.y, 100, 22}));
    EXPECT_EQ(panels[1], (IntRect{103, bar.y, 800 - 3 - 103, 22}));
    EXPECT_EQ(panels[2].x, 103 + 694);
    const auto wider = statusPanelRects(statusBarRect(1000, 600, 22), {100, -1}, 1000);
    EXPECT_EQ(wider[1].w, 1000 - 3 - 103) << "the rest grows with the window";
}

TEST(SkinSizing, ZonesInTheirOrder) {
    const int W = 1069, H = 671, m = 3;
    struct Case {
        int x, y, zone, cursor, command;
    } cases[] = {
        {0, 300, 1, 32644, 0xF001},  {3, 11, 1, 32644, 0xF001},
        {3, 10, 5, 32642, 0xF004},   {1066, 300, 2, 32644, 0xF002},
        {100, 3, 3, 32645, 0xF003},  {11, 3, 3, 32645, 0xF003},
        {5, 3, 5, 32642, 0xF004},    {1058, 3, 3, 32645, 0xF003},
        {1059, 3, 6, 32643, 0xF005}, {100, 668, 4, 32645, 0xF006},
        {5, 665, 7, 32643, 0xF007},  {1065, 665, 8, 32642, 0xF008},
        {100, 20, 0, 0, 0},          {4, 300, 0, 0, 0},
        {3, 661, 7, 32643, 0xF007},
    };
    for (const Case& c : cases) {
        const SizingZone z = sizingZoneAt(c.x, c.y, W, H, m);
        EXPECT_EQ(z.zone, c.zone) << c.x << "," << c.y;
        EXPECT_EQ(z.cursorId, c.cursor) << c.x << "," << c.y;
        EXPECT_EQ(z.command, c.command) << c.x << "," << c.y;
    }
}

TEST(SkinSizing, PressOutcomes) {
    const StripBox strip{921, 0, 149, 22};
    const int W = 1069, H = 671;
    EXPECT_EQ(pressOutcome(100, 20, W, H, 3, 25, true, true, strip).action, PressAction::Move);
    EXPECT_EQ(pressOutcome(100, 3, W, H, 3, 25, true, true, strip).zone.command, 0xF003);
    EXPECT_EQ(pressOutcome(5, 3, W, H, 3, 25, true, true, strip).zone.command, 0xF004);
    EXPECT_EQ(pressOutcome(1000, 10, W, H, 3, 25, true, true, strip).action, PressAction::Nothing) << "strip";
    EXPECT_EQ(pressOutcome(100, 300, W, H, 3, 25, true, true, strip).action, PressAction::Nothing);
    EXPECT_EQ(pressOutcome(100, 3, W, H, 3, 25, false, true, strip).action, PressAction::Nothing) << "unframed";
    // Not resizable: the caption band moves, the edges below it still size.
    EXPECT_EQ(pressOutcome(100, 3, W, H, 3, 25, true, false, strip).action, PressAction::Move);
    const PressOutcome below = pressOutcome(0, 300, W, H, 3, 25, true, false, strip);
    EXPECT_EQ(below.action, PressAction::Size);
    EXPECT_EQ(below.zone.command, 0xF001);
}

TEST(SkinSurface, PicturePlacementByMode) {
    EXPECT_EQ(placePicture(0, 235, 163, 1069, 671).x, 0);
    const Placement right = placePicture(1, 235, 163, 1069, 671);
    EXPECT_EQ(right.x, 1069 - 235);
    EXPECT_EQ(right.width, 235);
    const Placement centre = placePicture(2, 235, 163, 1069, 671);
    EXPECT_EQ(centre.x, (1069 - 235) / 2);
    EXPECT_EQ(centre.y, (671 - 163) / 2);
    const Placement stretch = placePicture(3, 235, 163, 1069, 671);
    EXPECT_EQ(stretch.width, 1069);
    EXPECT_EQ(stretch.height, 671);
    EXPECT_FALSE(placePicture(4, 235, 163, 1069, 671).draw);
    EXPECT_FALSE(placePicture(7, 235, 163, 1069, 671).draw);
}

TEST(SkinSurface, MirrorTilingCopies) {
    EXPECT_EQ(mirrorTileOffsets(500, 300), (std::vector<int>{0}));
    EXPECT_EQ(mirrorTileOffsets(100, 300), (std::vector<int>{0, 100, 200}));
    EXPECT_EQ(mirrorTileOffsets(100, 301), (std::vector<int>{0, 100, 200, 300}));
    EXPECT_TRUE(mirrorTileOffsets(0, 300).empty());
}

TEST(SkinSurface, AverageColourOfSamples) {
    std::mt19937 random(7);
    // Uniform picture: its colour exactly, as COLORREF.
    EXPECT_EQ(averageColour(
                  20, 10, [](int, int) { return 0x00336699u; }, random),
              0x00996633u);
    // Left half black, right half white: about mid grey.
    const std::uint32_t grey = averageColour(
        100, 100, [](int x, int) { return x < 50 ? 0u : 0xFFFFFFu; }, random);
    EXPECT_NEAR(static_cast<int>(grey & 0xFF), 127, 12);
    EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
    EXPECT_EQ(averageColour(
                  0, 10, [](int, int) { return 0xFFFFFFu; }, random),
              0u);
    // Samples stay inside the picture.
    averageColour(
        3, 2,
        [](int x, int y) {
            EXPECT_GE(x, 0);
            EXPECT_LT(x, 3);
            EXPECT_GE(y, 0);
            EXPECT_LT(y, 2);
            return 0u;
        },
        random);
}

TEST(SkinSurface, MaximizedSizeLeavesTheTaskbar) {
    EXPECT_EQ(maximizedSize(1280, 800, 30), (Size{1280, 770}));
    EXPECT_EQ(maximizedSize(1280, 800, 0), (Size{1280, 800}));
    EXPECT_EQ(maximizedSize(1280, 800, 5000), (Size{1280, 0}));
}

TEST(SkinSurface, TextureBandsAndControlBorders) {
    const TextureBands one = textureBands(1, 235, 163);
    EXPECT_EQ(one.q, 70);
    EXPECT_EQ(one.sideX, 0);
    EXPECT_EQ(one.bottomY, 163 - 70 + 1);
    EXPECT_EQ(textureBands(0, 235, 163).sideX, 235 - 70 + 1);
    const Border b = controlBorder(104, 24, 100, 20, false, false);
    EXPECT_EQ(b.horizontal, 2);
    EXPECT_EQ(b.vertical, 2);
    const Border scrolled = controlBorder(121, 24, 100, 20, true, false);
    EXPECT_EQ(scrolled.horizontal, 2);
    EXPECT_EQ(controlBorder(10, 10, 20, 20, true, true).horizontal, 0) << "never negative";
}

// The fades, step by step.
TEST(SkinFades, HoverFadesInOverEightTicks) {
    FadeMachine f;
    auto move = f.mouseMove(2, true);
    EXPECT_TRUE(move.startTimer);
    EXPECT_TRUE(move.trackMouse);
    EXPECT_TRUE(move.draws.empty());
    f.hoverNotice();
    for (int step = 1; step <= 8; ++step) {
        const auto t = f.tick();
        ASSERT_EQ(t.draws.size(), 1u) << step;
        EXPECT_EQ(t.draws[0], (FadeDraw{2, step * 30}));
        EXPECT_FALSE(t.stopTimer);
    }
    EXPECT_TRUE(f.tick().draws.empty()) << "full strength reached";
    EXPECT_FALSE(f.mouseMove(2, true).startTimer) << "timer already running";
}

TEST(SkinFades, MovingToTheNextButtonFadesBothAtOnce) {
    FadeMachine f;
    f.mouseMove(1, true);
    f.hoverNotice();
    for (int i = 0; i < 3; ++i) f.tick();
    const auto move = f.mouseMove(2, true);
    EXPECT_TRUE(move.draws.empty()) << "no earlier fade-out to cut short";
    EXPECT_EQ(f.fadeOut(), (Fade{1, 0}));
    EXPECT_EQ(f.fadeIn(), (Fade{2, 0}));
    for (int step = 1; step <= 8; ++step) {
        const auto t = f.tick();
        ASSERT_EQ(t.draws.size(), 2u);
        EXPECT_EQ(t.draws[0], (FadeDraw{2, step * 30}));
        EXPECT_EQ(t.draws[1], (FadeDraw{1, 240 - step * 30}));
    }
    // A third button while the second's fade-out runs cuts it to rest.
    f.mouseMove(3, true);
    f.tick();
    const auto cut = f.mouseMove(1, true);
    ASSERT_EQ(cut.draws.size(), 1u);
    EXPECT_EQ(cut.draws[0], (FadeDraw{2, 0}));
    EXPECT_EQ(f.fadeOut(), (Fade{3, 0}));
}

TEST(SkinFades, LeavingFadesOutThenStopsTheTimer) {
    FadeMachine f;
    f.mouseMove(4, true);
    f.hoverNotice();
    for (int i = 0; i < 8; ++i) f.tick();
    const auto leave = f.mouseLeave();
    EXPECT_TRUE(leave.empty()) << "the fade-in had finished";
    EXPECT_FALSE(f.tracking());
    EXPECT_EQ(f.fadeOut(), (Fade{4, 0}));
    EXPECT_EQ(f.lastHovered(), 0);
    for (int step = 1; step <= 7; ++step) {
        const auto t = f.tick();
        EXPECT_EQ(t.draws.back(), (FadeDraw{4, 240 - step * 30}));
        EXPECT_FALSE(t.stopTimer) << step;
    }
    const auto last = f.tick();
    EXPECT_EQ(last.draws.back(), (FadeDraw{4, 0}));
    EXPECT_TRUE(last.stopTimer);
    EXPECT_FALSE(f.timerActive());
    EXPECT_EQ(f.fadeIn(), (Fade{}));
    EXPECT_EQ(f.fadeOut(), (Fade{}));
}

TEST(SkinFades, LeavingMidFadeRestsTheButtonAndDropsTheFadeIn) {
    FadeMachine f;
    f.mouseMove(1, true);
    f.hoverNotice();
    f.tick();
    f.tick();
    const auto leave = f.mouseLeave();
    EXPECT_TRUE(leave.empty()) << "no fade-out button yet";
    EXPECT_EQ(f.fadeIn(), (Fade{}));
    EXPECT_EQ(f.fadeOut(), (Fade{1, 0}));
    EXPECT_TRUE(f.mouseLeave().empty()) << "a second leave with nothing hovered changes nothing";
}

TEST(SkinFades, OutsideTheStripTheTimerStopsWhenFadesEnd) {
    FadeMachine f;
    f.mouseMove(0, false);
    EXPECT_FALSE(f.running());
    const auto t = f.tick();
    EXPECT_TRUE(t.stopTimer) << "nothing to fade";
    f.mouseMove(2, true);
    f.hoverNotice();
    f.mouseMove(0, false);  // off the strip onto the caption
    EXPECT_EQ(f.fadeOut(), (Fade{2, 0}));
    int ticks = 0;
    while (!f.tick().stopTimer && ticks < 20) ++ticks;
    EXPECT_EQ(ticks, 7) << "eight ticks: seven running, the eighth stops";
    f.press();
    EXPECT_EQ(f.fadeIn().button, 0);
}

}  // namespace

namespace skin {
namespace {

TEST(ScaleBilinear, SameSizeKeepsEveryPixel) {
    const std::vector<std::uint32_t> source{0x11223344, 0x55667788, 0x99AABBCC, 0xDDEEFF00, 0x01020304, 0xF0E0D0C0};
    EXPECT_EQ(scaleBilinear(source.data(), 3, 2, 3, 2), source);
}

TEST(ScaleBilinear, DoublingBlendsNeighboursAtPixelCentresAndHoldsTheEdges) {
    // Each channel on its own: 0x00 and 0xFF at the two source pixels.
    const std::vector<std::uint32_t> source{0x00000000, 0xFFFFFFFF};
    const std::vector<std::uint32_t> expected{0x00000000, 0x40404040, 0xBFBFBFBF, 0xFFFFFFFF};
    EXPECT_EQ(scaleBilinear(source.data(), 2, 1, 4, 1), expected);
    // The same down a column.
    EXPECT_EQ(scaleBilinear(source.data(), 1, 2, 1, 4), expected);
}

// Every channel of every pixel blended on its own, in plain arithmetic.
std::vector<std::uint32_t> scaledChannelByChannel(const std::vector<std::uint32_t>& source, int sw, int sh, int w,
                                                  int h) {
    auto tap = [](int sourceSize, int targetSize, int t, int& first, int& second) {
        double at = (t + 0.5) * sourceSize / targetSize - 0.5;
        at = std::clamp(at, 0.0, static_cast<double>(sourceSize - 1));
        first = static_cast<int>(at);
        second = std::min(first + 1, sourceSize - 1);
        return static_cast<int>((at - first) * 256.0 + 0.5);
    };
    auto mix = [](std::uint32_t a, std::uint32_t b, int weight) {
        std::uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
            out |= static_cast<std::uint32_t>((ca * (256 - weight) + cb * weight + 128) >> 8) << shift;
        }
        return out;
    };
    std::vector<std::uint32_t> out;
    for (int y = 0; y < h; ++y) {
        int y0 = 0, y1 = 0;
        const int wy = tap(sh, h, y, y0, y1);
        for (int x = 0; x < w; ++x) {
            int x0 = 0, x1 = 0;
            const int wx = tap(sw, w, x, x0, x1);
            const std::uint32_t top = mix(source[y0 * sw + x0], source[y0 * sw + x1], wx);
            const std::uint32_t bottom = mix(source[y1 * sw + x0], source[y1 * sw + x1], wx);
            out.push_back(mix(top, bottom, wy));
        }
    }
    return out;
}

TEST(ScaleBilinear, EveryChannelIsBlendedOnItsOwnWithoutCarriesBetweenThem) {
    std::mt19937 random(7);
    const struct {
        int sw, sh, w, h;
    } sizes[] = {{235, 163, 1069, 671}, {7, 5, 3, 2}, {3, 9, 40, 17}, {16, 16, 17, 15}};
    for (const auto& size : sizes) {
        std::vector<std::uint32_t> source(static_cast<size_t>(size.sw * size.sh));
        for (std::uint32_t& pixel : source) pixel = random();
        // Extremes too: full channels beside empty ones.
        source.front() = 0xFF00FF00;
        source.back() = 0x00FF00FF;
        EXPECT_EQ(scaleBilinear(source.data(), size.sw, size.sh, size.w, size.h),
                  scaledChannelByChannel(source, size.sw, size.sh, size.w, size.h))
            << size.sw << "x" << size.sh << " to " << size.w << "x" << size.h;
    }
}

// Pieces of rows give the whole scaled picture's pixels where they lie and
// touch nothing else; pieces outside the picture are left out.
TEST(ScaleBilinear, RowPiecesGiveTheWholePicturesPixelsAndNothingElse) {
    std::mt19937 random(11);
    const int sw = 23, sh = 17, w = 97, h = 61;
    std::vector<std::uint32_t> source(static_cast<size_t>(sw * sh));
    for (std::uint32_t& pixel : source) pixel = random();
    const std::vector<std::uint32_t> whole = scaleBilinear(source.data(), sw, sh, w, h);
    const std::vector<RowSpan> spans = {{0, 0, w}, {5, 3, 4}, {5, 90, 97}, {60, 10, 50}, {30, 0, 1},
                                        {-1, 0, 5}, {61, 0, 5}, {7, 20, 98}, {8, 9, 9}};
    constexpr std::uint32_t kUntouched = 0x12345678;
    std::vector<std::uint32_t> target(static_cast<size_t>(w * h), kUntouched);
    scaleBilinearSpans(source.data(), sw, sh, w, h, spans,
                       [&](int y, int x0) { return target.data() + static_cast<size_t>(y * w + x0); });
    auto inSpan = [&](int x, int y) {
        for (const RowSpan& s : spans) {
            if (s.y == y && x >= s.x0 && x < s.x1 && s.x1 <= w && s.y >= 0 && s.y < h) return true;
        }
        return false;
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y * w + x);
            ASSERT_EQ(target[i], inSpan(x, y) ? whole[i] : kUntouched) << x << "," << y;
        }
    }
}

TEST(ScaleBilinear, UniformPictureStaysUniformAtAnySize) {
    const std::vector<std::uint32_t> source(235 * 163, 0xFF336699);
    const std::vector<std::uint32_t> scaled = scaleBilinear(source.data(), 235, 163, 1069, 671);
    ASSERT_EQ(scaled.size(), 1069u * 671u);
    EXPECT_TRUE(std::all_of(scaled.begin(), scaled.end(), [](std::uint32_t p) { return p == 0xFF336699; }));
}

TEST(ScaleBilinear, EmptyInputGivesNothing) {
    const std::uint32_t one = 1;
    EXPECT_TRUE(scaleBilinear(nullptr, 1, 1, 4, 4).empty());
    EXPECT_TRUE(scaleBilinear(&one, 0, 1, 4, 4).empty());
    EXPECT_TRUE(scaleBilinear(&one, 1, 1, 0, 4).empty());
}

}  // namespace
}  // namespace skin
