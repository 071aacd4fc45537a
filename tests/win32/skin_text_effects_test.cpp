// The engine's halo and glow texts, read back from the pixels they leave on
// a bitmap: where the halo lies and how strong it is, where the glow may
// reach, and the defaults of both operations.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "skin/gdiplus_owners.h"
#include "skin/skin_engine.h"

namespace {

using skin::gp::GdipBitmapGetPixel;

constexpr int kWidth = 240, kHeight = 80;
constexpr Gdiplus::ARGB kBackground = 0xFF000000;

struct Pixels {
    std::vector<Gdiplus::ARGB> argb;
    Gdiplus::ARGB at(int x, int y) const { return argb[static_cast<size_t>(y * kWidth + x)]; }
    bool operator==(const Pixels&) const = default;
};

// What `draw` leaves on an opaque black bitmap, text drawn one bit per
// pixel (no antialiasing) so that every glyph pixel is whole.
Pixels render(const std::function<void(Gdiplus::GpGraphics*)>& draw) {
    skin::Bitmap bitmap;
    skin::gp::GdipCreateBitmapFromScan0(kWidth, kHeight, 0, PixelFormat32bppARGB, nullptr, bitmap.out());
    bitmap.adopt();
    Pixels pixels;
    if (!bitmap) return pixels;
    {
        skin::Graphics g;
        skin::gp::GdipGetImageGraphicsContext(bitmap.image(), g.out());
        g.adopt();
        skin::gp::GdipGraphicsClear(g.get(), kBackground);
        skin::gp::GdipSetTextRenderingHint(g.get(), Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
        draw(g.get());
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Gdiplus::ARGB c = 0;
            GdipBitmapGetPixel(bitmap.get(), x, y, &c);
            pixels.argb.push_back(c);
        }
    }
    return pixels;
}

int red(Gdiplus::ARGB c) { return static_cast<int>((c >> 16) & 0xFF); }
int green(Gdiplus::ARGB c) { return static_cast<int>((c >> 8) & 0xFF); }
int blue(Gdiplus::ARGB c) { return static_cast<int>(c & 0xFF); }
bool closeTo(Gdiplus::ARGB a, Gdiplus::ARGB b, int tolerance) {
    return std::abs(red(a) - red(b)) <= tolerance && std::abs(green(a) - green(b)) <= tolerance &&
           std::abs(blue(a) - blue(b)) <= tolerance;
}

// The smallest rectangle holding every pixel that is not the background.
RECT inkBox(const Pixels& p) {
    RECT box{kWidth, kHeight, -1, -1};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (closeTo(p.at(x, y), kBackground, 2)) continue;
            box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
                   std::max<LONG>(box.bottom, y)};
        }
    }
    return box;
}

class TextEffectsTest : public testing::Test {
protected:
    void SetUp() override {
        engine_ = skin::SkinEngine::current();
        ASSERT_TRUE(engine_);
    }
    skin::SkinEngine* engine_ = nullptr;
    const std::wstring text_ = L"光环 Halo";
    const Gdiplus::RectF layout_{30, 20, 180, 40};
};

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlue = 0x00FF0000;
constexpr COLORREF kRed = 0x000000FF;

}  // namespace

TEST_F(TextEffectsTest, HaloIsFourMovedCopiesAtAlpha150UnderTheOpaqueText) {
    for (const int offset : {1, 2, 3}) {
        SCOPED_TRACE(offset);
        // The halo in the background's own colour leaves the bare text.
        // Large bold text: strokes wide enough to hold whole text pixels.
        const Pixels bare =
            render([&](auto* g) { engine_->DrawHaloText(g, text_, layout_, kWhite, 0, offset, L"宋体", true, 24); });
        const Pixels haloed = render(
            [&](auto* g) { engine_->DrawHaloText(g, text_, layout_, kWhite, kBlue, offset, L"宋体", true, 24); });
        const RECT text = inkBox(bare), halo = inkBox(haloed);
        ASSERT_LT(text.left, text.right) << "no text drawn";
        EXPECT_EQ(halo.left, text.left - offset);
        EXPECT_EQ(halo.right, text.right + offset);
        EXPECT_EQ(halo.top, text.top - offset);
        EXPECT_EQ(halo.bottom, text.bottom + offset);
        // The text lies, opaque, exactly where it lies without a halo.
        int textPixels = 0;
        for (size_t n = 0; n < bare.argb.size(); ++n) {
            const bool textPixel = bare.argb[n] == 0xFFFFFFFF;
            textPixels += textPixel;
            ASSERT_EQ(haloed.argb[n] == 0xFFFFFFFF, textPixel) << "pixel " << n;
        }
        EXPECT_GT(textPixels, 0);
        // Left of the text only the left copy reaches: translucent blue, never
        // stronger than one copy at alpha 150.
        int strongest = 0;
        for (int y = halo.top; y <= halo.bottom; ++y) {
            for (int x = halo.left; x < text.left; ++x) {
                const Gdiplus::ARGB c = haloed.at(x, y);
                EXPECT_EQ(red(c) + green(c), 0) << std::hex << c;
                strongest = std::max(strongest, blue(c));
            }
        }
        EXPECT_GT(strongest, 0);
        EXPECT_LE(strongest, 152);
    }
}

TEST_F(TextEffectsTest, HaloDefaultsAreOffsetOneSongTypefaceRegularThirteenNearNear) {
    const Pixels byDefault = render([&](auto* g) { engine_->DrawHaloText(g, text_, layout_, kWhite, kBlue); });
    const Pixels spelledOut = render([&](auto* g) {
        engine_->DrawHaloText(g, text_, layout_, kWhite, kBlue, 1, L"宋体", false, 13, Gdiplus::StringAlignmentNear,
                              Gdiplus::StringAlignmentNear);
    });
    EXPECT_TRUE(byDefault == spelledOut);
    const Pixels larger =
        render([&](auto* g) { engine_->DrawHaloText(g, text_, layout_, kWhite, kBlue, 1, L"宋体", false, 14); });
    EXPECT_FALSE(byDefault == larger) << "the comparison sees a size";
    const Pixels bold =
        render([&](auto* g) { engine_->DrawHaloText(g, text_, layout_, kWhite, kBlue, 1, L"宋体", true); });
    EXPECT_FALSE(byDefault == bold) << "and the weight";
}

TEST_F(TextEffectsTest, GlowSpreadsAroundTheTextWithinHalfABlurFactorUpAndLeft) {
    const int blur = 4;
    // A glow in the background's colour leaves the bare text.
    // Large bold text: strokes wide enough to hold whole text pixels.
    const auto glowText = [&](COLORREF glowColour) {
        return render([&](auto* g) {
            engine_->DrawGlowText(g, text_, layout_, kRed, glowColour, blur, L"宋体", Gdiplus::FontStyleBold, 24);
        });
    };
    const Pixels bare = glowText(0);
    const Pixels glowing = glowText(kWhite);
    const RECT text = inkBox(bare), glow = inkBox(glowing);
    ASSERT_LT(text.left, text.right) << "no text drawn";
    EXPECT_LT(glow.left, text.left);
    EXPECT_LT(glow.top, text.top);
    // The glow picture is laid at (x - d/2, y - 0.6 d): nothing above or left of it.
    EXPECT_GE(glow.left, static_cast<LONG>(layout_.X) - blur / 2);
    EXPECT_GE(glow.top, static_cast<LONG>(layout_.Y - 0.6f * blur));
    // The text itself is opaque red over the glow, where it lies bare; around
    // the text the glow is white laid over black at some strength: a grey.
    int textPixels = 0, glowPixels = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Gdiplus::ARGB c = glowing.at(x, y);
            if (bare.at(x, y) == 0xFFFF0000) {
                ++textPixels;
                EXPECT_EQ(c, 0xFFFF0000u) << x << "," << y;
            }
            const bool besideTheText = x < text.left || x > text.right || y < text.top || y > text.bottom;
            if (besideTheText && !closeTo(c, kBackground, 2)) {
                ++glowPixels;
                EXPECT_TRUE(std::abs(red(c) - green(c)) <= 2 && std::abs(green(c) - blue(c)) <= 2) << std::hex << c;
            }
        }
    }
    EXPECT_GT(textPixels, 0);
    EXPECT_GT(glowPixels, 0) << "the glow reaches beyond the text";
}

TEST_F(TextEffectsTest, GlowDefaultsAreSongTypefaceRegularTwelveNearNear) {
    const Pixels byDefault = render([&](auto* g) { engine_->DrawGlowText(g, text_, layout_, kRed, kWhite, 4); });
    const Pixels spelledOut = render([&](auto* g) {
        engine_->DrawGlowText(g, text_, layout_, kRed, kWhite, 4, L"宋体", Gdiplus::FontStyleRegular, 12,
                              Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
    });
    EXPECT_TRUE(byDefault == spelledOut);
    const Pixels larger = render([&](auto* g) {
        engine_->DrawGlowText(g, text_, layout_, kRed, kWhite, 4, L"宋体", Gdiplus::FontStyleRegular, 13);
    });
    EXPECT_FALSE(byDefault == larger) << "the comparison sees a size";
}
