// Music, the chat-group page and the help overlays in the real window.
#include <vector>

#include "tests/win32/window_fixture.h"
#include "ui/web_addresses.h"

using namespace ui;

namespace {

bool visibleFlag(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

BOOL CALLBACK collectVisibleOfThisProcess(HWND hwnd, LPARAM out) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd)) {
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
    }
    return TRUE;
}

// Top-level windows of this process that are visible: a page or a dialog
// the hidden web view showed would be one of them.
std::vector<HWND> visibleTopLevelWindows() {
    std::vector<HWND> found;
    EnumWindows(collectVisibleOfThisProcess, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

TEST_F(EditorWindowTest, TutorialAndDyeListToggleTheirOwnOverlayOnly) {
    HWND tutorial = control("图片框1"), dyes = control("编辑框24"), chart = control("图片框_颜色");
    click("按钮11");
    EXPECT_TRUE(visibleFlag(tutorial));
    EXPECT_FALSE(visibleFlag(dyes));
    click("按钮7");
    EXPECT_TRUE(visibleFlag(dyes));
    EXPECT_TRUE(visibleFlag(tutorial)) << "both overlays at once";
    EXPECT_FALSE(visibleFlag(chart));
    click("按钮11");
    EXPECT_FALSE(visibleFlag(tutorial));
    EXPECT_TRUE(visibleFlag(dyes));
    click("按钮7");
    EXPECT_FALSE(visibleFlag(dyes)) << "two clicks restore";
}

TEST_F(EditorWindowTest, TutorialLiesAboveTheDyeListWhereTheyOverlap) {
    click("按钮11");
    click("按钮7");
    RECT tutorial, dyes, overlap;
    GetWindowRect(control("图片框1"), &tutorial);
    GetWindowRect(control("编辑框24"), &dyes);
    ASSERT_TRUE(IntersectRect(&overlap, &tutorial, &dyes));
    const POINT inBoth{overlap.left + 10, overlap.top + 10};
    HWND top = ChildWindowFromPointEx(
        window_->hwnd(),
        [&] {
            POINT p = inBoth;
            ScreenToClient(window_->hwnd(), &p);
            return p;
        }(),
        CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    EXPECT_EQ(top, control("图片框1"));
    EXPECT_EQ(WindowFromPoint(inBoth), control("图片框1"));
}

TEST_F(EditorWindowTest, ColourChartFollowsItsCheckBox) {
    HWND chart = control("图片框_颜色");
    click("选择框6");
    EXPECT_TRUE(isChecked("选择框6"));
    EXPECT_TRUE(visibleFlag(chart));
    click("选择框6");
    EXPECT_FALSE(visibleFlag(chart));
}

TEST_F(EditorWindowTest, MusicAndChatButtonsNavigateTheHiddenViewEachTime) {
    std::vector<std::string> addresses;
    window_->webView().refuseBrowser();  // no page is loaded in tests
    window_->webView().setNavigationObserver([&](std::string_view url) { addresses.emplace_back(url); });
    click("按钮9");
    click("按钮8");
    click("按钮8");
    ASSERT_EQ(addresses.size(), 3u);
    EXPECT_EQ(addresses[0], RPGITEM_CHAT_URL);
    EXPECT_EQ(addresses[1], RPGITEM_MUSIC_URL);
    EXPECT_EQ(addresses[2], RPGITEM_MUSIC_URL) << "a second click loads the page anew";
    EXPECT_FALSE(visibleFlag(control("超文本浏览框1")));
}

TEST_F(EditorWindowTest, WithoutABrowserEngineTheEditorWorksAndShowsNothing) {
    window_->webView().refuseBrowser();
    const auto before = visibleTopLevelWindows();
    click("按钮8");
    click("按钮9");
    pumpMessages(200);
    EXPECT_FALSE(window_->webView().available());
    EXPECT_EQ(visibleTopLevelWindows(), before) << "no page, no dialog";
    type("编辑框2", "x");
    EXPECT_EQ(outputLines().size(), 3u);
}

TEST_F(EditorWindowTest, TheRealBrowserControlNeverShowsAnythingOrBlocks) {
    // Whatever this system's browser engine does (none, or one without its
    // rendering engine), a click returns and nothing appears.
    const auto before = visibleTopLevelWindows();
    click("按钮8");
    pumpMessages(500);
    EXPECT_EQ(visibleTopLevelWindows(), before);
    EXPECT_FALSE(visibleFlag(control("超文本浏览框1")));
    type("编辑框2", "y");
    EXPECT_EQ(outputLines().size(), 3u);
}

TEST_F(EditorWindowTest, TheBrowserControlIsMadeOnTheFirstNavigationNotAtStart) {
    HWND host = control("超文本浏览框1");
    EXPECT_FALSE(GetWindow(host, GW_CHILD)) << "no browser control after start";
    EXPECT_FALSE(window_->webView().available());
    std::vector<std::string> addresses;
    window_->webView().setNavigationObserver([&](std::string_view url) { addresses.emplace_back(url); });
    click("按钮9");
    pumpMessages(200);
    ASSERT_EQ(addresses.size(), 1u);
    EXPECT_EQ(addresses[0], RPGITEM_CHAT_URL);
    // This system's engine, where it has one, is made now, in the host.
    EXPECT_EQ(window_->webView().available(), GetWindow(host, GW_CHILD) != nullptr);
    click("按钮8");
    ASSERT_EQ(addresses.size(), 2u);
    EXPECT_EQ(addresses[1], RPGITEM_MUSIC_URL);
    EXPECT_FALSE(visibleFlag(host));
}

TEST_F(EditorWindowTest, OverlayPicturesArePaintedWhenFirstShown) {
    click("按钮11");
    click("选择框6");
    pumpMessages(200);
    for (const char* name : {"图片框1", "图片框_颜色"}) {
        HWND box = control(name);
        ASSERT_TRUE(visibleFlag(box)) << name;
        RECT rc;
        GetClientRect(box, &rc);
        HDC dc = GetDC(box);
        // Sampled on a grid: a box that painted no picture is all face colour.
        int pictured = 0;
        for (int gx = 1; gx <= 8; ++gx) {
            for (int gy = 1; gy <= 8; ++gy) {
                const COLORREF pixel = GetPixel(dc, rc.right * gx / 9, rc.bottom * gy / 9);
                if (pixel != CLR_INVALID && pixel != GetSysColor(COLOR_BTNFACE)) ++pictured;
            }
        }
        ReleaseDC(box, dc);
        EXPECT_GT(pictured, 32) << name;
    }
}
