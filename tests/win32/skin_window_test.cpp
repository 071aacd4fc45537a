// The skin on plain test windows: attach, surface and region, registry,
// caption-button fades, maximize by double click, settings, leaks and the
// working-set trimmer.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"
#include "tests/win32/test_window.h"
#include "tests/win32/window_fixture.h"

namespace {

using skin::SkinEngine;

constexpr wchar_t kTestClass[] = L"RPGitemSkinTestWindow";

LRESULT CALLBACK testProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND createTestWindow(int width = 400, int height = 300, DWORD style = WS_MINIMIZEBOX | WS_MAXIMIZEBOX) {
    return createTopLevelTestWindow(kTestClass, testProc, L"皮肤测试", WS_POPUP | style, 60, 60, width, height);
}

class SkinWindowTest : public testing::Test {
protected:
    void SetUp() override {
        engine_ = SkinEngine::current();
        ASSERT_TRUE(engine_);
        saved_ = engine_->settings().themePicture.bytes;
    }
    void TearDown() override {
        for (HWND hwnd : windows_) {
            if (IsWindow(hwnd)) DestroyWindow(hwnd);
        }
        pumpMessages();
    }
    // A shown, attached test window and its index.
    int attach(int caption = 15, int width = 400, int height = 300, DWORD style = WS_MINIMIZEBOX | WS_MAXIMIZEBOX) {
        HWND hwnd = createTestWindow(width, height, style);
        windows_.push_back(hwnd);
        skin::AttachOptions options;
        options.helpButton = true;
        options.menuButton = true;
        EXPECT_TRUE(engine_->AttachWindow(hwnd, caption, options));
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
        pumpMessages();
        return engine_->registry().indexOf(hwnd);
    }
    // A shown test window with a caption of 25 and a status bar of two
    // panels, the second one taking the rest; its index.
    int attachWithStatusBar(int width, int height, bool helpButton = false) {
        HWND hwnd = createTestWindow(width, height);
        windows_.push_back(hwnd);
        skin::AttachOptions options;
        options.helpButton = helpButton;
        options.statusBarHeight = 22;
        options.statusPanelWidths = {120, -1};
        EXPECT_TRUE(engine_->AttachWindow(hwnd, 25, options));
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        pumpMessages();
        return engine_->registry().indexOf(hwnd);
    }
    skin::WindowRecord& rec(int i) { return *engine_->record(i); }
    COLORREF surfacePixel(int i, int x, int y) { return GetPixel(rec(i).surface.dc(), x, y); }
    // Mouse messages as the system would send them to the window.
    void mouseMove(HWND hwnd, int x, int y) { SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    POINT buttonCentre(int i, int n) {
        const auto& hit = rec(i).buttons[static_cast<size_t>(n - 1)].hit;
        return {static_cast<LONG>(hit.x + 10), static_cast<LONG>(hit.y + 9)};
    }

    SkinEngine* engine_ = nullptr;
    std::vector<BYTE> saved_;
    std::vector<HWND> windows_;
};

TEST_F(SkinWindowTest, CaptionIsAtLeastTwentyFiveHigh) {
    const int a = attach(15);
    const int b = attach(30);
    EXPECT_EQ(rec(a).captionHeight, 25);
    EXPECT_EQ(rec(b).captionHeight, 30);
}

TEST_F(SkinWindowTest, AttachSubclassesWithTheWideProcedureAndKeepsThePrevious) {
    const int i = attach();
    HWND hwnd = rec(i).hwnd;
    EXPECT_EQ(skin::indexProperty(hwnd, skin::kPropIndex), i);
    // The previous procedure (the tooltips' subclass in front of testProc).
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, skin::kPropPreviousProc));
    EXPECT_TRUE(previous);
    EXPECT_EQ(rec(i).previous, previous);
    EXPECT_TRUE(IsWindowUnicode(hwnd));
    EXPECT_NE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&testProc));
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU);
    // Help, main menu, minimize, maximize, close.
    ASSERT_EQ(rec(i).buttons.size(), 5u);
    const int kinds[] = {skin::kHelp, skin::kMainMenu, skin::kMinimize, skin::kMaximize, skin::kClose};
    for (size_t n = 0; n < 5; ++n) EXPECT_EQ(rec(i).buttons[n].kind, kinds[n]) << n;
    EXPECT_TRUE(rec(i).buttonArt[4].image.decoded) << "the close picture is built in";
    EXPECT_TRUE(rec(i).buttonArt[3].altImage.decoded) << "so is the restore picture";
    // A second attach changes nothing.
    EXPECT_FALSE(engine_->AttachWindow(hwnd, 40));
    EXPECT_EQ(rec(i).captionHeight, 25);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropW(hwnd, skin::kPropPreviousProc)), previous);
}

TEST_F(SkinWindowTest, WindowWithoutBoxesGetsOnlyTheCloseButtonAndNoMaximizeByDoubleClick) {
    HWND hwnd = createTestWindow(300, 200, 0);
    windows_.push_back(hwnd);
    ASSERT_TRUE(engine_->AttachWindow(hwnd, 25));
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    pumpMessages();
    const int i = engine_->registry().indexOf(hwnd);
    ASSERT_EQ(rec(i).buttons.size(), 1u);
    EXPECT_EQ(engine_->FindMaximizeButton(i), 0);
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 10));
    pumpMessages();
    EXPECT_FALSE(rec(i).maximized);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 300);
}

TEST_F(SkinWindowTest, CornersAreMagentaInTheSurfaceAndCutByTheRegion) {
    const int i = attach(15, 400, 300);
    engine_->ComposeWindow(i, nullptr, false);
    const COLORREF magenta = RGB(255, 0, 255);
    EXPECT_EQ(surfacePixel(i, 0, 0), magenta);
    EXPECT_EQ(surfacePixel(i, 399, 0), magenta);
    EXPECT_EQ(surfacePixel(i, 0, 299), magenta);
    EXPECT_EQ(surfacePixel(i, 399, 299), magenta);
    EXPECT_NE(surfacePixel(i, 200, 150), magenta);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(rec(i).hwnd, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 399, 0));
    EXPECT_FALSE(PtInRegion(region, 0, 299));
    EXPECT_TRUE(PtInRegion(region, 200, 150));
    EXPECT_TRUE(PtInRegion(region, 5, 150));
    DeleteObject(region);
    // The surface properties name the bitmaps of the surface DC.
    EXPECT_EQ(GetPropW(rec(i).hwnd, skin::kPropSurfaceBitmap), rec(i).surface.bitmap());
    EXPECT_TRUE(GetPropW(rec(i).hwnd, skin::kPropSurfaceInitial));
}

// The frame's two outlines, as the graphics library draws them in one go
// over the whole window, pixel for pixel: over a background of varied
// colours and alpha, so that a pixel blended twice or missed shows.
TEST_F(SkinWindowTest, TheFrameOutlinesAreTheGraphicsLibrarysOwnPixels) {
    const int i = attach(15, 400, 300);
    RECT client;
    GetClientRect(rec(i).hwnd, &client);
    const int w = client.right, h = client.bottom;
    auto background = [&](HDC dc) {
        for (int y = 0; y < h; y += 10) {
            for (int x = 0; x < w; x += 10) {
                const RECT cell{x, y, x + 10, y + 10};
                HBRUSH brush = CreateSolidBrush(RGB(x % 256, y % 256, (x + y) % 256));
                FillRect(dc, &cell, brush);
                DeleteObject(brush);
            }
        }
    };
    skin::MemoryCanvas banded, whole;
    banded.select(skin::createMemoryBitmap(w, h));
    whole.select(skin::createMemoryBitmap(w, h));
    background(banded.dc());
    background(whole.dc());
    {
        skin::Graphics g = skin::graphicsOn(banded.dc());
        engine_->DrawBorder(i, g.get());
    }
    {
        skin::Graphics g = skin::graphicsOn(whole.dc());
        skin::Pen dark = skin::solidPen(skin::argb(0x00000000, 180));
        skin::Pen light = skin::solidPen(skin::argb(0x00FFFFFF, 180));
        skin::Path outer = skin::newPath(), inner = skin::newPath();
        skin::RoundedPath(outer.get(), 0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), 7);
        skin::RoundedPath(inner.get(), 1, 1, static_cast<float>(w - 3), static_cast<float>(h - 3), 6);
        skin::gp::GdipDrawPath(g.get(), dark.get(), outer.get());
        skin::gp::GdipDrawPath(g.get(), light.get(), inner.get());
    }
    int differing = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (GetPixel(banded.dc(), x, y) != GetPixel(whole.dc(), x, y) && differing++ < 5) {
                ADD_FAILURE() << "pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_NE(GetPixel(banded.dc(), w / 2, 0), RGB(w / 2 % 256, 0, w / 2 % 256)) << "the outline is drawn";
}

// Outlines along the edges drawn band by band, pixel for pixel as the
// graphics library draws them in one go, over a background of varied
// colours: the frame's and a group box's (starting 5 pixels down), at sizes
// with bands and at sizes too small for them.
TEST(StrokeAlongEdges, GivesTheGraphicsLibrarysOwnPixels) {
    const struct {
        int w, h, top;
        float corner;
    } cases[] = {{301, 187, 0, 7}, {180, 97, 5, 5}, {40, 33, 5, 5}, {20, 60, 0, 7}};
    for (const auto& c : cases) {
        skin::MemoryCanvas banded, whole;
        banded.select(skin::createMemoryBitmap(c.w, c.h));
        whole.select(skin::createMemoryBitmap(c.w, c.h));
        for (skin::MemoryCanvas* canvas : {&banded, &whole}) {
            for (int y = 0; y < c.h; ++y) {
                for (int x = 0; x < c.w; ++x) SetPixel(canvas->dc(), x, y, RGB(x * 5, y * 3, (x * y) % 256));
            }
        }
        const skin::Pen dark = skin::solidPen(skin::argb(0x00000000, 40));
        const skin::Pen light = skin::solidPen(skin::argb(0x00FFFFFF, 90));
        const float top = static_cast<float>(c.top);
        const skin::Path outer = skin::roundedShape(0, top, c.w - 1.0f, c.h - top - 1, static_cast<int>(c.corner));
        const skin::Path inner =
            skin::roundedShape(1, top + 1, c.w - 3.0f, c.h - top - 3, static_cast<int>(c.corner) - 2);
        {
            skin::Graphics g = skin::graphicsOn(banded.dc());
            skin::strokeAlongEdges(g.get(), {0, c.top, c.w, c.h}, 12,
                                   {{dark.get(), outer.get()}, {light.get(), inner.get()}});
        }
        {
            skin::Graphics g = skin::graphicsOn(whole.dc());
            skin::gp::GdipDrawPath(g.get(), dark.get(), outer.get());
            skin::gp::GdipDrawPath(g.get(), light.get(), inner.get());
        }
        int differing = 0;
        for (int y = 0; y < c.h; ++y) {
            for (int x = 0; x < c.w; ++x) {
                if (GetPixel(banded.dc(), x, y) != GetPixel(whole.dc(), x, y) && differing++ < 3) {
                    ADD_FAILURE() << c.w << "x" << c.h << ": pixel " << x << "," << y;
                }
            }
        }
        EXPECT_EQ(differing, 0) << c.w << "x" << c.h;
        const int x = c.w / 2, y = c.top;
        EXPECT_NE(GetPixel(banded.dc(), x, y), RGB(x * 5, y * 3, (x * y) % 256)) << "the outline is drawn";
    }
}

// The skin's clear and the graphics library's, byte for byte (alpha too),
// over a section of varied pixels: opaque and translucent colours, with and
// without a clip.
TEST(ClearGraphics, GivesTheGraphicsLibrarysOwnBytes) {
    constexpr int w = 37, h = 23;
    auto pixelsOf = [](skin::MemoryCanvas& canvas) {
        DIBSECTION section{};
        GetObjectW(canvas.bitmap(), sizeof(section), &section);
        const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
        return std::vector<std::uint32_t>(bits, bits + w * h);
    };
    const struct {
        std::uint32_t colour;
        bool clipped;
    } cases[] = {{0xFFFF00FF, false}, {0xFF102030, true}, {0x80FF8040, false}};
    for (const auto& c : cases) {
        skin::MemoryCanvas ours, library;
        ours.select(skin::createMemoryBitmap(w, h));
        library.select(skin::createMemoryBitmap(w, h));
        for (skin::MemoryCanvas* canvas : {&ours, &library}) {
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) SetPixel(canvas->dc(), x, y, RGB(x * 7, y * 11, x + y));
            }
            GdiFlush();
        }
        {
            skin::Graphics g = skin::graphicsOn(ours.dc());
            if (c.clipped) skin::gp::GdipSetClipRectI(g.get(), 3, 4, 10, 9, Gdiplus::CombineModeReplace);
            skin::clearGraphics(g.get(), c.colour);
        }
        {
            skin::Graphics g = skin::graphicsOn(library.dc());
            if (c.clipped) skin::gp::GdipSetClipRectI(g.get(), 3, 4, 10, 9, Gdiplus::CombineModeReplace);
            skin::gp::GdipGraphicsClear(g.get(), c.colour);
        }
        GdiFlush();
        EXPECT_EQ(pixelsOf(ours), pixelsOf(library)) << std::hex << c.colour << (c.clipped ? " clipped" : "");
    }
}

TEST_F(SkinWindowTest, DestroyingTheFirstOfTwoWindowsRenumbersTheSecond) {
    const int first = attach();
    const int second = attach();
    ASSERT_EQ(second, first + 1);
    HWND child = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 40, 40, 60, 20, rec(second).hwnd, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    skin::ButtonEntry entry;
    entry.hwnd = child;
    rec(second).buttonEntries.push_back(entry);
    skin::setIndexProperty(child, skin::kPropOwnerIndex, second);
    HWND secondWindow = rec(second).hwnd;
    DestroyWindow(rec(first).hwnd);
    pumpMessages();
    EXPECT_EQ(engine_->registry().indexOf(secondWindow), first);
    EXPECT_EQ(skin::indexProperty(secondWindow, skin::kPropIndex), first);
    EXPECT_EQ(skin::indexProperty(child, skin::kPropOwnerIndex), first);
    // The renumbered window still works through its procedure.
    SendMessageW(secondWindow, WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 10));
    EXPECT_TRUE(rec(first).maximized);
}

TEST_F(SkinWindowTest, HoverFadesOneButtonInAndTheNextOutInEightStepsEach) {
    const int i = attach();
    HWND hwnd = rec(i).hwnd;
    engine_->ComposeWindow(i, nullptr, false);
    const POINT one = buttonCentre(i, 1), two = buttonCentre(i, 2);
    const COLORREF restingOne = surfacePixel(i, one.x, one.y - 7);
    mouseMove(hwnd, one.x, one.y);
    SendMessageW(hwnd, WM_MOUSEHOVER, 0, MAKELPARAM(one.x, one.y));
    EXPECT_EQ(engine_->hoverIndex(), 1);
    EXPECT_TRUE(rec(i).fades.running());
    for (int step = 1; step <= 8; ++step) {
        SendMessageW(hwnd, WM_TIMER, reinterpret_cast<WPARAM>(hwnd), 0);
        EXPECT_EQ(rec(i).fades.fadeIn(), (skin::Fade{1, step}));
    }
    EXPECT_NE(surfacePixel(i, one.x, one.y - 7), restingOne) << "the hot look shows";
    mouseMove(hwnd, two.x, two.y);
    EXPECT_EQ(rec(i).fades.fadeOut(), (skin::Fade{1, 0}));
    EXPECT_EQ(rec(i).fades.fadeIn(), (skin::Fade{2, 0}));
    for (int step = 1; step <= 8; ++step) {
        SendMessageW(hwnd, WM_TIMER, reinterpret_cast<WPARAM>(hwnd), 0);
        EXPECT_EQ(rec(i).fades.fadeIn(), (skin::Fade{2, step}));
        EXPECT_EQ(rec(i).fades.fadeOut(), (skin::Fade{1, step}));
    }
    EXPECT_EQ(surfacePixel(i, one.x, one.y - 7), restingOne) << "faded out to its resting look";
    // Leaving the window fades the second out; the timer then stops.
    SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    for (int step = 1; step <= 8; ++step) SendMessageW(hwnd, WM_TIMER, reinterpret_cast<WPARAM>(hwnd), 0);
    EXPECT_FALSE(rec(i).fades.timerActive());
    EXPECT_EQ(rec(i).fades.fadeOut(), (skin::Fade{}));
}

TEST_F(SkinWindowTest, TheTwentyMillisecondTimerRunsTheFade) {
    const int i = attach();
    HWND hwnd = rec(i).hwnd;
    const POINT one = buttonCentre(i, 3);
    mouseMove(hwnd, one.x, one.y);
    SendMessageW(hwnd, WM_MOUSEHOVER, 0, 0);
    for (int waited = 0; waited < 3000 && rec(i).fades.fadeIn().step < 8; waited += 20) pumpMessages(20);
    EXPECT_EQ(rec(i).fades.fadeIn(), (skin::Fade{3, 8}));
    SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    for (int waited = 0; waited < 3000 && rec(i).fades.timerActive(); waited += 20) pumpMessages(20);
    EXPECT_FALSE(rec(i).fades.timerActive());
}

TEST_F(SkinWindowTest, DoubleClickOnTheCaptionTogglesMaximizeAndRestore) {
    const int i = attach(15, 400, 300);
    HWND hwnd = rec(i).hwnd;
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 26));
    EXPECT_FALSE(rec(i).maximized) << "below the caption";
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 10));
    pumpMessages();
    EXPECT_TRUE(rec(i).maximized);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    const skin::Size expected =
        skin::maximizedSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), skin::taskbarHeight());
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right - rc.left, expected.width);
    EXPECT_EQ(rc.bottom - rc.top, expected.height);
    EXPECT_GT(rec(i).strip.left, 400) << "the strip follows the right edge";
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 10));
    pumpMessages();
    EXPECT_FALSE(rec(i).maximized);
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 400);
    EXPECT_EQ(rc.bottom - rc.top, 300);
}

TEST_F(SkinWindowTest, MinimizeButtonMinimizesAndCloseButtonDestroys) {
    const int i = attach();
    HWND hwnd = rec(i).hwnd;
    const POINT minimize = buttonCentre(i, 3);
    mouseMove(hwnd, minimize.x, minimize.y);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(minimize.x, minimize.y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(minimize.x, minimize.y));
    pumpMessages();
    EXPECT_TRUE(IsIconic(hwnd));
    EXPECT_TRUE(rec(i).minimized);
    ShowWindow(hwnd, SW_RESTORE);
    pumpMessages();
    const POINT close = buttonCentre(i, 5);
    mouseMove(hwnd, close.x + 19, close.y);  // past the painted 38 pixels
    EXPECT_EQ(engine_->hoverIndex(), 5);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(close.x + 19, close.y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(close.x + 19, close.y));
    pumpMessages();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(engine_->registry().indexOf(hwnd), 0);
}

TEST_F(SkinWindowTest, SetOptionsCases) {
    engine_->SetOptions(true);
    EXPECT_TRUE(engine_->settings().skinChildren);
    EXPECT_FALSE(engine_->settings().veilEnabled);
    EXPECT_EQ(engine_->settings().veilAlpha, 160);
    EXPECT_EQ(engine_->settings().trackBarStyle, 1);
    engine_->SetOptions(true, 100);
    EXPECT_TRUE(engine_->settings().veilEnabled);
    EXPECT_EQ(engine_->settings().veilAlpha, 100);
    engine_->SetOptions(false, 300, 2);
    EXPECT_FALSE(engine_->settings().skinChildren);
    EXPECT_EQ(engine_->settings().veilAlpha, 255) << "clamped";
    EXPECT_EQ(engine_->settings().trackBarStyle, 2);
    engine_->SetOptions(true, 100);
}

TEST_F(SkinWindowTest, SetThemeCases) {
    const std::vector<BYTE> theme = skin::resourceBytes(IDR_THEME_PNG);
    ASSERT_FALSE(theme.empty());
    skin::ThemeArgs given;
    given.pictureBytes = theme;
    given.baseColour = 0x00000000;
    given.themeColour = 0x00C0C0C0;
    given.pictureMode = 3;
    engine_->SetTheme(given);
    EXPECT_EQ(engine_->settings().baseColour, 0x00000000u);
    EXPECT_EQ(engine_->settings().themeColour, 0x00C0C0C0u);
    EXPECT_EQ(engine_->settings().pictureMode, 3);
    EXPECT_EQ(engine_->settings().themePicture.bytes, theme) << "bytes stored unchanged in mode 3";
    EXPECT_EQ(engine_->settings().themePicture.width, 235);

    skin::ThemeArgs derived;
    derived.pictureBytes = theme;
    derived.themeColour = 0xFFFFFFFF;
    engine_->SetTheme(derived);
    const COLORREF average = engine_->settings().baseColour;
    EXPECT_NE(average, 0u) << "the theme picture is light";
    EXPECT_GT(GetRValue(average), 150);
    EXPECT_EQ(engine_->settings().themeColour, average) << "-1: the theme colour follows the base colour";
    EXPECT_EQ(engine_->settings().pictureMode, 4);

    skin::ThemeArgs textured = derived;
    textured.pictureMode = 1;
    textured.themeColour = 0x00DDCA22;
    engine_->SetTheme(textured);
    EXPECT_NE(engine_->settings().themePicture.bytes, theme) << "mode 1 stores a prepared texture";
    EXPECT_EQ(engine_->settings().themePicture.width, 235);

    skin::ThemeArgs colourOnly;
    colourOnly.themeColour = 0x00123456;
    engine_->SetTheme(colourOnly);
    EXPECT_EQ(engine_->settings().themeColour, 0x00123456u);
    EXPECT_FALSE(engine_->settings().themePicture.empty()) << "no picture and no base: nothing else changes";

    skin::ThemeArgs baseOnly;
    baseOnly.baseColour = 0x00112233;
    engine_->SetTheme(baseOnly);
    EXPECT_TRUE(engine_->settings().themePicture.empty());
    EXPECT_EQ(engine_->settings().baseColour, 0x00112233u);

    skin::ThemeArgs broken;
    broken.pictureBytes = {1, 2, 3, 4};
    broken.pictureMode = 3;
    engine_->SetTheme(broken);  // undecodable: a defined result, no crash
    EXPECT_FALSE(engine_->settings().themePicture.decoded);
    EXPECT_EQ(engine_->settings().baseColour, 0u);
    engine_->SetTheme(given);
}

// The stretched picture scaled straight into the layer's pixels gives the
// bytes (alpha too) that copying the scaled picture in gives, which is what
// happens on a DC with a clip region of its own.
TEST_F(SkinWindowTest, TheStretchedPictureScaledInIsTheCopiedOneByteForByte) {
    skin::ThemeArgs stretched;
    stretched.pictureBytes = skin::resourceBytes(IDR_THEME_PNG);
    stretched.baseColour = 0x00000000;
    stretched.themeColour = 0x00C0C0C0;
    stretched.pictureMode = 3;
    engine_->SetTheme(stretched);
    const int i = attach(15, 437, 291);
    RECT client;
    GetClientRect(rec(i).hwnd, &client);
    const int w = client.right, h = client.bottom;
    skin::MemoryCanvas scaled, copied;
    scaled.select(skin::createMemoryBitmap(w, h));
    copied.select(skin::createMemoryBitmap(w, h));
    HRGN everywhere = CreateRectRgn(0, 0, w, h);
    SelectClipRgn(copied.dc(), everywhere);  // not a plain memory DC: the picture is copied
    DeleteObject(everywhere);
    ASSERT_TRUE(skin::sectionOf(scaled.dc()));
    ASSERT_FALSE(skin::sectionOf(copied.dc()));
    for (skin::MemoryCanvas* canvas : {&scaled, &copied}) {
        skin::Graphics g = skin::graphicsOn(canvas->dc());
        engine_->DrawBackground(g.get(), i);
    }
    GdiFlush();
    auto bytesOf = [w, h](skin::MemoryCanvas& canvas) {
        DIBSECTION section{};
        GetObjectW(canvas.bitmap(), sizeof(section), &section);
        const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
        return std::vector<std::uint32_t>(bits, bits + w * h);
    };
    const std::vector<std::uint32_t> a = bytesOf(scaled), b = bytesOf(copied);
    int differing = 0;
    for (size_t n = 0; n < a.size(); ++n) {
        if (a[n] != b[n] && differing++ < 3) {
            ADD_FAILURE() << "pixel " << n % w << "," << n / w << std::hex << ": " << a[n] << " against " << b[n];
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(GetPixel(scaled.dc(), 0, 0), RGB(255, 0, 255)) << "the corner stays magenta";
    EXPECT_NE(GetPixel(scaled.dc(), w / 2, h / 2), RGB(255, 0, 255)) << "the picture is laid";
}

TEST_F(SkinWindowTest, SetWindowPictureAndBadInput) {
    const int i = attach();
    HWND hwnd = rec(i).hwnd;
    EXPECT_FALSE(engine_->SetWindowPicture(hwnd, {}));
    HWND plain = createTestWindow();
    windows_.push_back(plain);
    EXPECT_FALSE(engine_->SetWindowPicture(plain, skin::resourceBytes(IDR_THEME_PNG)));
    EXPECT_TRUE(engine_->SetWindowPicture(hwnd, skin::resourceBytes(IDR_CAPTION_CLOSE_PNG), 2));
    EXPECT_TRUE(rec(i).recomposeNeeded);
    EXPECT_EQ(rec(i).ownPictureMode, 2);
    EXPECT_FALSE(engine_->SetTitleStyle(plain, L"黑体"));
    EXPECT_TRUE(engine_->SetTitleStyle(hwnd, L"黑体", 14));
    EXPECT_FALSE(engine_->SetStatusPanel(hwnd, 1, L"x")) << "no status bar";
    EXPECT_FALSE(engine_->AddCaptionButton(plain, {}, L"x", nullptr));
    engine_->CaptionCommand(i, 0);   // nothing
    engine_->CaptionCommand(i, 99);  // nothing
    engine_->CaptionCommand(77, 1);  // nothing
}

TEST_F(SkinWindowTest, AddedCaptionButtonComesFirstAndRunsItsHandler) {
    const int i = attach();
    HWND hwnd = rec(i).hwnd;
    const int maximize = engine_->FindMaximizeButton(i);
    int calls = 0;
    ASSERT_TRUE(
        engine_->AddCaptionButton(hwnd, skin::resourceBytes(IDR_CAPTION_HELP_PNG), L"设置", [&calls] { ++calls; }));
    EXPECT_EQ(engine_->FindMaximizeButton(i), maximize + 1);
    EXPECT_EQ(rec(i).buttons.front().kind, skin::kUserButton);
    engine_->CaptionCommand(i, 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(SendMessageW(rec(i).tipWindow, TTM_GETTOOLCOUNT, 0, 0), 6) << "one tooltip per button";
}

TEST_F(SkinWindowTest, StatusBarPanelsFollowTheWindow) {
    const int i = attachWithStatusBar(500, 300);
    ASSERT_GT(i, 0);
    HWND hwnd = rec(i).hwnd;
    ASSERT_EQ(rec(i).statusPanelRects.size(), 2u);
    EXPECT_EQ(rec(i).statusPanelRects[1].w, 500 - 3 - 123);
    EXPECT_TRUE(engine_->SetStatusPanel(hwnd, 2, L"就绪"));
    EXPECT_TRUE(engine_->SetStatusStyle(hwnd, false, true));
    EXPECT_TRUE(engine_->SetStatusPanel(hwnd, 1, L"发光"));
    EXPECT_FALSE(engine_->SetStatusPanel(hwnd, 3, L"x"));
    SetWindowPos(hwnd, nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pumpMessages();
    EXPECT_EQ(rec(i).statusPanelRects[1].w, 600 - 3 - 123);
}

// The surface's pixels, row by row.
std::vector<COLORREF> surfacePixels(skin::WindowRecord& r) {
    BITMAP info{};
    GetObjectW(r.surface.bitmap(), sizeof(info), &info);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) pixels.push_back(GetPixel(r.surface.dc(), x, y));
    }
    return pixels;
}

// A composition lays the frame layer again only where something was drawn
// over it: what the skin itself drew (title, buttons, panels) and whatever
// other code drew on the surface since. It must come out as a composition
// that lays all of it.
TEST_F(SkinWindowTest, ACompositionCoversWhateverWasDrawnOnTheSurfaceSinceTheLast) {
    const int i = attachWithStatusBar(420, 260, true);
    ASSERT_GT(i, 0);
    HWND hwnd = rec(i).hwnd;
    ASSERT_TRUE(engine_->SetStatusPanel(hwnd, 2, L"就绪"));
    engine_->ComposeWindow(i, nullptr, false);
    const std::vector<COLORREF> composed = surfacePixels(rec(i));

    // Other code draws on the surface, through GDI and through the graphics library.
    HDC surface = rec(i).surface.dc();
    const RECT middle{150, 100, 230, 140}, corner{2, 240, 30, 258};
    FillRect(surface, &middle, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(surface, &corner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    {
        skin::Graphics g = skin::graphicsOn(surface);
        skin::Brush veil = skin::solidBrush(0x80FF0000);
        skin::gp::GdipFillRectangleI(g.get(), veil.get(), 300, 30, 60, 200);
    }
    TextOutW(surface, 10, 60, L"覆盖", 2);
    engine_->ComposeWindow(i, nullptr, false);
    EXPECT_TRUE(surfacePixels(rec(i)) == composed) << "everything drawn since is covered again";
    engine_->ComposeWindow(i, nullptr, false);
    EXPECT_TRUE(surfacePixels(rec(i)) == composed) << "nothing is drawn twice over itself";

    // The title, the buttons' looks and a panel change between compositions.
    SetWindowTextW(hwnd, L"另一个标题");
    ASSERT_TRUE(engine_->SetStatusPanel(hwnd, 1, L"发送中"));
    engine_->ComposeWindow(i, nullptr, false);
    const std::vector<COLORREF> changed = surfacePixels(rec(i));
    rec(i).frameLayer.reset();  // the next composition lays a new frame layer whole
    engine_->ComposeWindow(i, nullptr, false);
    EXPECT_TRUE(surfacePixels(rec(i)) == changed);
    EXPECT_FALSE(changed == composed) << "the change shows";
}

TEST_F(SkinWindowTest, LiveObjectsStayFlatOverTenThousandCompositionsAndFades) {
    const int i = attach(15, 240, 160);
    HWND hwnd = rec(i).hwnd;
    engine_->ComposeWindow(i, nullptr, true);
    // The veiled brush of a control, handed out again and again.
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 20, 60, 80, 20, hwnd, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    HDC editDC = GetDC(edit);
    SendMessageW(hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(editDC), reinterpret_cast<LPARAM>(edit));
    const skin::LiveObjects before = skin::liveObjects();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const POINT one = buttonCentre(i, 1), two = buttonCentre(i, 2);
    for (int n = 0; n < 10000; ++n) {
        engine_->ComposeWindow(i, nullptr, n % 100 == 0);
        mouseMove(hwnd, (n & 1) ? one.x : two.x, one.y);
        SendMessageW(hwnd, WM_TIMER, reinterpret_cast<WPARAM>(hwnd), 0);
        if (n % 50 == 0) {
            SendMessageW(hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(editDC), reinterpret_cast<LPARAM>(edit));
            SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(one.x, one.y));
        }
    }
    ReleaseDC(edit, editDC);
    const skin::LiveObjects after = skin::liveObjects();
    EXPECT_EQ(after.gdiplus, before.gdiplus);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(skin::capturedBackgrounds(), 0);
    const DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (gdiBefore != 0) {
        EXPECT_LE(gdiAfter, gdiBefore + 4) << "the system's own count";
    }
}

TEST_F(SkinWindowTest, DestroyingAWindowReleasesEverythingItHeld) {
    const skin::LiveObjects before = skin::liveObjects();
    const size_t veiledBefore = engine_->veiledControls();
    const int i = attach(15, 240, 160);
    HWND hwnd = rec(i).hwnd;
    engine_->ComposeWindow(i, nullptr, false);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 20, 60, 80, 20, hwnd, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    HDC dc = GetDC(edit);
    const auto brush =
        SendMessageW(hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    ReleaseDC(edit, dc);
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetPropW(edit, skin::kPropBrush), reinterpret_cast<HANDLE>(brush));
    EXPECT_TRUE(GetPropW(edit, skin::kPropVeilBitmap));
    DestroyWindow(hwnd);
    pumpMessages();
    const skin::LiveObjects after = skin::liveObjects();
    EXPECT_EQ(after.gdiplus, before.gdiplus);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(engine_->veiledControls(), veiledBefore);
}

TEST_F(SkinWindowTest, DeactivationTrimsTheWorkingSetWithoutWritingAFile) {
    const int i = attach();
    HWND hwnd = rec(i).hwnd;
    wchar_t windir[MAX_PATH] = {};
    GetEnvironmentVariableW(L"windir", windir, MAX_PATH);
    const std::wstring tool = std::wstring(windir) + L"\\empty.exe";
    DeleteFileW(tool.c_str());
    const long before = skin::workingSetTrims();
    SendMessageW(hwnd, WM_ACTIVATEAPP, FALSE, 0);
    SendMessageW(hwnd, WM_ACTIVATEAPP, FALSE, 0);
    SendMessageW(hwnd, WM_ACTIVATEAPP, TRUE, 0);  // activation does not trim
    ASSERT_TRUE(skin::waitForWorkingSetTrims(5000));
    EXPECT_EQ(skin::workingSetTrims(), before + 2) << "one trim per deactivation";
    EXPECT_EQ(GetFileAttributesW(tool.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing is written to disk";
}

TEST_F(SkinWindowTest, OnlyAFramedResizableWindowShowsSizingCursors) {
    struct Case {
        const char* name;
        bool framed;
        bool resizable;
        bool sizingCursors;
    };
    const Case cases[] = {
        {"framed, resizable", true, true, true},
        {"framed, fixed size", true, false, false},
        {"unframed, resizable", false, true, false},
    };
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hwnd = createTestWindow(400, 300);
        windows_.push_back(hwnd);
        skin::AttachOptions options;
        options.framed = c.framed;
        options.resizable = c.resizable;
        ASSERT_TRUE(engine_->AttachWindow(hwnd, 25, options));
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        pumpMessages();
        // The left edge, the bottom edge and the bottom-right corner.
        const struct {
            int x, y;
            const wchar_t* cursor;
        } spots[] = {{1, 150, IDC_SIZEWE}, {200, 298, IDC_SIZENS}, {398, 298, IDC_SIZENWSE}};
        for (const auto& spot : spots) {
            SetCursor(arrow);
            mouseMove(hwnd, spot.x, spot.y);
            EXPECT_EQ(GetCursor(), c.sizingCursors ? LoadCursorW(nullptr, spot.cursor) : arrow)
                << spot.x << "," << spot.y;
        }
    }
}

}  // namespace
