// The item preview in the real program: the game's colours with their
// shadows, a form that changes, obfuscated text that changes only while
// shown, docking, the F2 key and the settings.
#include <windows.h>

#include <algorithm>
#include <set>

#include "editor/format_codes.h"
#include "tests/win32/item_file_fixture.h"
#include "tests/win32/screenshot.h"
#include "ui/item_files.h"
#include "ui/item_preview.h"
#include "ui/main_menu.h"

namespace {

// The command of the main menu's 物品预览 row.
UINT previewCommand() {
    for (const ui::MenuRow& row : ui::mainMenuRows()) {
        if (row.text == "物品预览") return row.id;
    }
    return 0;
}

// The canvas's pixels as the screen shows them, 0xRRGGBB row by row.
struct Capture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    size_t count(std::uint32_t colour) const { return std::count(pixels.begin(), pixels.end(), colour); }
};

Capture capture(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    Capture c{rc.right - rc.left, rc.bottom - rc.top, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), c.width, -c.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, c.width, c.height, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < c.width * c.height; ++i) c.pixels.push_back(p[i] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

class ItemPreviewTest : public ItemFileTest {
protected:
    void SetUp() override {
        ItemFileTest::SetUp();
        moveMain(-500, 0);  // room for the preview on the right of the 1280-pixel screen
        runMenuCommand(previewCommand());
        settle();
    }
    void settle() {
        pumpMessages(150);
        if (HWND canvas = canvasWindow()) RedrawWindow(canvas, nullptr, nullptr, RDW_UPDATENOW);
    }
    ui::ItemPreview& preview() { return window_->preview(); }
    void moveMain(int x, int y) {
        SetWindowPos(window_->hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pumpMessages(50);
    }
    RECT mainRect() {
        RECT rc;
        GetWindowRect(window_->hwnd(), &rc);
        return rc;
    }
    HWND canvasWindow() { return preview().canvas() ? preview().canvas()->hwnd() : nullptr; }
    Capture canvasPixels() { return capture(canvasWindow()); }
    RECT previewRect() {
        RECT rc;
        GetWindowRect(preview().hwnd(), &rc);
        return rc;
    }
};

TEST_F(ItemPreviewTest, RedTextIsFF5555WithItsShadowAQuarterOfIt) {
    ASSERT_TRUE(preview().visible());
    setText("编辑框3", "§c霜之刃 Frost");
    settle();
    const Capture c = canvasPixels();
    size_t glyphPixels = 0, shadowed = 0;
    for (int y = 0; y + 1 < c.height; ++y) {
        for (int x = 0; x + 1 < c.width; ++x) {
            if (c.at(x, y) != 0xFF5555) continue;
            ++glyphPixels;
            const std::uint32_t below = c.at(x + 1, y + 1);
            EXPECT_TRUE(below == 0xFF5555 || below == 0x3F1515) << x << "," << y << ": " << std::hex << below;
            shadowed += below == 0x3F1515;
        }
    }
    EXPECT_GT(glyphPixels, 100u);
    EXPECT_GT(shadowed, 30u);
    EXPECT_EQ(c.count(0x55FFFF), 0u);
}

TEST_F(ItemPreviewTest, FollowsTheForm) {
    setText("编辑框5", "§b双手剑");
    settle();
    Capture c = canvasPixels();
    EXPECT_GT(c.count(0x55FFFF), 50u);
    EXPECT_GT(c.count(0x153F3F), 30u);  // its shadow
    EXPECT_EQ(c.count(0xFF5555), 0u);
    setText("编辑框5", "");
    setText("编辑框13", "第一行\r\n§c第二行");
    settle();
    c = canvasPixels();
    EXPECT_EQ(c.count(0x55FFFF), 0u);
    EXPECT_GT(c.count(0xFF5555), 50u);
    EXPECT_GT(c.count(0xFFFFFF), 50u);  // the first line, white as text without a code
}

TEST_F(ItemPreviewTest, FollowsAnOpenedFile) {
    writeFileBytes(files_.file(L"item.ini"), "[file]\r\nformat=1\r\n[item]\r\nid=x\r\ndisplay=§b霜之刃\r\n");
    ASSERT_TRUE(ui::openItemFile(*window_, files_.file(L"item.ini")));
    settle();
    EXPECT_GT(canvasPixels().count(0x55FFFF), 50u);
}

TEST_F(ItemPreviewTest, ObfuscatedTextChangesOnlyWhileShown) {
    setText("编辑框3", "§kABCDEFGH§r 名字");
    settle();
    const Capture first = canvasPixels();
    pumpMessages(600);
    RedrawWindow(canvasWindow(), nullptr, nullptr, RDW_UPDATENOW);
    const Capture second = canvasPixels();
    EXPECT_NE(first.pixels, second.pixels);
    EXPECT_GT(preview().canvas()->obfuscationFrames(), 2u);

    runMenuCommand(previewCommand());  // hides it
    pumpMessages(50);
    ASSERT_FALSE(preview().visible());
    const unsigned frames = preview().canvas()->obfuscationFrames();
    pumpMessages(600);
    EXPECT_EQ(preview().canvas()->obfuscationFrames(), frames);

    runMenuCommand(previewCommand());
    pumpMessages(600);
    EXPECT_GT(preview().canvas()->obfuscationFrames(), frames);
}

TEST_F(ItemPreviewTest, DocksBesideTheMainWindowAndMovesWithIt) {
    moveMain(-500, 0);
    RECT main = mainRect(), own = previewRect();
    const int width = own.right - own.left;
    EXPECT_EQ(own.left, main.right);
    EXPECT_EQ(own.top, main.top);
    moveMain(-480, 30);
    main = mainRect();
    own = previewRect();
    EXPECT_EQ(own.left, main.right);
    EXPECT_EQ(own.top, 30);
    // No room on the right (the screen is 1280 wide): it goes to the left.
    moveMain(500, 40);
    own = previewRect();
    EXPECT_EQ(own.right, 500);
    EXPECT_EQ(own.top, 40);
    // Dropped lower: it docks at that height.
    SetWindowPos(preview().hwnd(), nullptr, 100, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(preview().hwnd(), WM_EXITSIZEMOVE, 0, 0);
    own = previewRect();
    EXPECT_EQ(own.right, 500);
    EXPECT_EQ(own.top, 140);
    // Its side is the left now, but only the right has room.
    moveMain(-500, 40);
    own = previewRect();
    EXPECT_EQ(own.left, mainRect().right);
    EXPECT_EQ(own.top, 140);
    // Room on neither side: it stays on the screen.
    moveMain(-50, 40);
    own = previewRect();
    EXPECT_GE(own.left, 0);
    EXPECT_LE(own.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(own.right - own.left, width);
}

TEST_F(ItemPreviewTest, TheSettingsRememberItAndF2TogglesIt) {
    moveMain(500, 40);
    SetWindowPos(preview().hwnd(), nullptr, 10, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(preview().hwnd(), WM_EXITSIZEMOVE, 0, 0);
    const std::string settings = readFileBytes(userFolder_.file(L"settings.ini"));
    EXPECT_NE(settings.find("[preview]\r\nvisible=true\r\nside=left\r\ntop=60\r\n"), std::string::npos) << settings;

    // A new window with these settings shows it at the same place.
    window_.reset();
    window_ = ui::EditorWindow::create(GetModuleHandleW(nullptr), options_);
    ASSERT_TRUE(window_);
    moveMain(500, 40);
    ASSERT_TRUE(preview().visible());
    RECT own = previewRect();
    EXPECT_EQ(own.right, 500);
    EXPECT_EQ(own.top, 100);

    // F2 in a field of the form hides and shows it; in the preview too.
    PostMessageW(control("编辑框3"), WM_KEYDOWN, VK_F2, 1);
    pumpMessages(50);
    EXPECT_FALSE(preview().visible());
    EXPECT_NE(readFileBytes(userFolder_.file(L"settings.ini")).find("visible=false"), std::string::npos);
    PostMessageW(control("编辑框3"), WM_KEYDOWN, VK_F2, 1);
    pumpMessages(50);
    ASSERT_TRUE(preview().visible());
    PostMessageW(preview().hwnd(), WM_KEYDOWN, VK_F2, 1);
    pumpMessages(50);
    EXPECT_FALSE(preview().visible());
}

// For looking at: the main window and the preview with every code.
TEST_F(ItemPreviewTest, Screenshot) {
    if (screenshotDirectory().empty()) GTEST_SKIP() << "RPGITEM_SCREENSHOT_DIR not set";
    // The screen (1280 wide) has no room for both: part of the main window lies off it.
    moveMain(-330, 0);
    setText("编辑框2", "frost_blade");
    setText("编辑框3", "§b§l霜之刃 §r§7(§kXX§7)");
    setText("编辑框5", "§9双手剑");
    setText("编辑框4", "§8主手");
    setText("编辑框6", "§6§o北境的传说");
    setText("编辑框13",
            "§0黑§1深蓝§2深绿§3湖蓝§4深红§5紫§6金§7灰\r\n§8深灰§9蓝§a绿§b天蓝§c红§d粉红§e黄§f白\r\n"
            "§l粗体 §o斜体 §n下划线§r §m删除线§r §kmagic§r 还原\r\n§C大写 §L代码§z未知§ 结尾§");
    settle();
    EXPECT_TRUE(saveWindowScreenshot(GetDesktopWindow(), L"main-with-preview"));
    EXPECT_TRUE(saveWindowScreenshot(preview().hwnd(), L"item-preview"));
}

}  // namespace
