// The tooltip wrapper's operations, read back from the tooltip window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "skin/tooltip.h"
#include "tests/win32/test_window.h"
#include "tests/win32/window_fixture.h"

namespace {

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class TooltipTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = createTopLevelTestWindow(L"RPGitemTooltipOwner", ownerProc, L"提示", WS_POPUP, 40, 40, 300, 200);
        ASSERT_TRUE(owner_);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        pumpMessages();
    }
    // The tool as the tooltip window keeps it; false when it has none of that id.
    bool tool(HWND tip, UINT_PTR id, RECT* rect = nullptr, std::wstring* text = nullptr) const {
        wchar_t buffer[80] = {};
        TOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V1_SIZE;
        info.hwnd = owner_;
        info.uId = id;
        info.lpszText = buffer;
        if (!SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) return false;
        if (rect) *rect = info.rect;
        if (text) {
            info.lpszText = buffer;
            SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
            *text = buffer;
        }
        return true;
    }
    HWND owner_ = nullptr;
};

}  // namespace

TEST_F(TooltipTest, CreatedOwnedByTheWindowAsATipOrABalloon) {
    for (const bool balloon : {false, true}) {
        SCOPED_TRACE(balloon ? "balloon" : "tip");
        const skin::Tooltip tips = skin::Tooltip::create(owner_, balloon);
        ASSERT_TRUE(tips);
        wchar_t className[64] = {};
        GetClassNameW(tips.window(), className, 64);
        EXPECT_EQ(std::wstring(className), std::wstring(TOOLTIPS_CLASSW));
        EXPECT_EQ(GetWindow(tips.window(), GW_OWNER), owner_);
        const LONG style = GetWindowLongW(tips.window(), GWL_STYLE);
        EXPECT_TRUE(style & TTS_ALWAYSTIP);
        EXPECT_EQ((style & TTS_BALLOON) != 0, balloon);
        DestroyWindow(tips.window());
    }
}

TEST_F(TooltipTest, ToolsAreAddedMovedRelabelledAndDeletedByTheirIds) {
    skin::Tooltip tips = skin::Tooltip::create(owner_);
    ASSERT_TRUE(tips);
    EXPECT_TRUE(tips.addTool({0, 0, 20, 10}, L"最小化", 1));
    EXPECT_TRUE(tips.addTool({30, 0, 50, 10}, L"关闭", 2));
    EXPECT_EQ(SendMessageW(tips.window(), TTM_GETTOOLCOUNT, 0, 0), 2);
    RECT rect{};
    std::wstring text;
    ASSERT_TRUE(tool(tips.window(), 2, &rect, &text));
    EXPECT_EQ(text, L"关闭");
    tips.moveTool(2, {60, 4, 98, 22});
    tips.changeText(2, L"关闭窗口");
    ASSERT_TRUE(tool(tips.window(), 2, &rect, &text));
    EXPECT_EQ(rect.left, 60);
    EXPECT_EQ(rect.top, 4);
    EXPECT_EQ(rect.right, 98);
    EXPECT_EQ(rect.bottom, 22);
    EXPECT_EQ(text, L"关闭窗口");
    ASSERT_TRUE(tool(tips.window(), 1, nullptr, &text));
    EXPECT_EQ(text, L"最小化") << "the other tool is untouched";
    tips.deleteTool(1);
    EXPECT_EQ(SendMessageW(tips.window(), TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_FALSE(tool(tips.window(), 1));
    EXPECT_TRUE(tool(tips.window(), 2));
    DestroyWindow(tips.window());
}

TEST_F(TooltipTest, ColoursAndMaximumWidthReachTheTooltipWindow) {
    skin::Tooltip tips = skin::Tooltip::create(owner_, true);
    ASSERT_TRUE(tips);
    tips.setBackgroundColour(RGB(255, 255, 225));
    tips.setTextColour(RGB(10, 20, 30));
    tips.setMaximumWidth(150);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tips.window(), TTM_GETTIPBKCOLOR, 0, 0)), RGB(255, 255, 225));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tips.window(), TTM_GETTIPTEXTCOLOR, 0, 0)), RGB(10, 20, 30));
    EXPECT_EQ(SendMessageW(tips.window(), TTM_GETMAXTIPWIDTH, 0, 0), 150);
    DestroyWindow(tips.window());
}

TEST_F(TooltipTest, AnEmptyTooltipDoesNothing) {
    skin::Tooltip none;
    EXPECT_FALSE(none);
    EXPECT_FALSE(none.addTool({0, 0, 1, 1}, L"x", 1));
    none.setBackgroundColour(0);
    none.setTextColour(0);
    none.setMaximumWidth(10);
    none.moveTool(1, {});
    none.changeText(1, L"y");
    none.deleteTool(1);
    EXPECT_EQ(none.window(), nullptr);
}
