// The main window handed to the skin: its frame, caption and buttons, the
// size guard, and closing through the skin's close button.
#include <windows.h>

#include <gtest/gtest.h>

#include "editor/layout.h"
#include "skin/skin_engine.h"
#include "tests/win32/window_fixture.h"

namespace {

skin::WindowRecord* mainRecord(HWND hwnd, int* index = nullptr) {
    skin::SkinEngine* engine = skin::SkinEngine::current();
    const int i = engine ? engine->registry().indexOf(hwnd) : 0;
    if (index) *index = i;
    return engine ? engine->record(i) : nullptr;
}

TEST_F(EditorWindowTest, MainWindowIsAttachedWithItsCaptionButtons) {
    skin::SkinEngine* engine = skin::SkinEngine::current();
    ASSERT_TRUE(engine);
    skin::WindowRecord* r = mainRecord(window_->hwnd());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->captionHeight, 25) << "15 is raised to the minimum";
    EXPECT_TRUE(r->framed);
    EXPECT_TRUE(r->resizable);
    EXPECT_TRUE(r->showTitle);
    EXPECT_FALSE(r->captionGloss);
    ASSERT_EQ(r->buttons.size(), 5u);
    const int kinds[] = {skin::kHelp, skin::kMainMenu, skin::kMinimize, skin::kMaximize, skin::kClose};
    for (size_t n = 0; n < 5; ++n) EXPECT_EQ(r->buttons[n].kind, kinds[n]) << n;
    EXPECT_EQ(r->buttonArt[0].label, L"帮助");
    EXPECT_EQ(r->buttonArt[4].label, L"关闭");
    EXPECT_EQ(engine->settings().baseColour, 0x00000000u);
    EXPECT_EQ(engine->settings().themeColour, 0x00C0C0C0u);
    EXPECT_EQ(engine->settings().pictureMode, 3);
    EXPECT_TRUE(engine->settings().veilEnabled);
    EXPECT_EQ(engine->settings().veilAlpha, 100);
    EXPECT_TRUE(GetPropW(window_->hwnd(), skin::kPropPreviousProc));
    // The strip sits at the right end of the 1069-pixel client area.
    EXPECT_EQ(r->strip.left, 1069 - r->strip.width + 1);
}

TEST_F(EditorWindowTest, MainWindowShowsTheThemeAndTheRoundedFrame) {
    int i = 0;
    skin::WindowRecord* r = mainRecord(window_->hwnd(), &i);
    ASSERT_TRUE(r);
    RedrawWindow(window_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages(100);
    ASSERT_TRUE(r->surface.dc());
    HDC surface = r->surface.dc();
    EXPECT_EQ(GetPixel(surface, 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(surface, 1068, 670), RGB(255, 0, 255));
    // The stretched theme picture is light where no control stands.
    const COLORREF inside = GetPixel(surface, 500, 30);
    EXPECT_GT(GetRValue(inside), 150);
    // What the screen shows in the caption band is the surface.
    HDC screen = GetDC(window_->hwnd());
    EXPECT_EQ(GetPixel(screen, 500, 5), GetPixel(surface, 500, 5));
    ReleaseDC(window_->hwnd(), screen);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window_->hwnd(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 534, 335));
    DeleteObject(region);
}

TEST_F(EditorWindowTest, SizeGuardRestoresTheSizeAfterMaximize) {
    int i = 0;
    skin::WindowRecord* r = mainRecord(window_->hwnd(), &i);
    ASSERT_TRUE(r);
    SendMessageW(window_->hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(500, 10));
    pumpMessages();
    EXPECT_TRUE(r->maximized);
    for (int waited = 0; waited < 3000; waited += 50) {
        RECT rc;
        GetWindowRect(window_->hwnd(), &rc);
        if (rc.right - rc.left == editor::kWindowWidth && rc.bottom - rc.top == editor::kWindowHeight) break;
        pumpMessages(50);
    }
    RECT rc;
    GetWindowRect(window_->hwnd(), &rc);
    EXPECT_EQ(rc.right - rc.left, editor::kWindowWidth);
    EXPECT_EQ(rc.bottom - rc.top, editor::kWindowHeight);
}

TEST(MainWindowSkin, ClosingThroughTheSkinEndsTheProgramWithoutAPrompt) {
    auto window = ui::EditorWindow::create(GetModuleHandleW(nullptr), {.show = true, .quitOnClose = true});
    ASSERT_TRUE(window);
    HWND hwnd = window->hwnd();
    pumpMessages();
    int i = 0;
    skin::WindowRecord* r = mainRecord(hwnd, &i);
    ASSERT_TRUE(r);
    const auto& hit = r->buttons.back().hit;
    const LPARAM at = MAKELPARAM(static_cast<int>(hit.x) + 20, static_cast<int>(hit.y) + 9);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(IsWindow(hwnd)) << "closed at once, no question asked";
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the message loop ends";
    window.reset();
}

}  // namespace
