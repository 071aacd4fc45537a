// Screenshots of the main window in its skin, in the states a user meets
// first: at rest, with a skill chosen, with the arrow-rain group, with the
// overlays shown. Runs only when RPGITEM_SCREENSHOT_DIR is set.
#include <windows.h>

#include "tests/win32/screenshot.h"
#include "tests/win32/window_fixture.h"
#include "ui/information_box.h"
#include "ui/item_files.h"

namespace {

class MainWindowScreenshots : public EditorWindowTest {
protected:
    void choose(std::string_view combo, int index) {
        HWND box = control(combo);
        SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box));
        settle();
    }
    void settle() {
        RedrawWindow(window_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pumpMessages(400);
    }
    void shoot(const wchar_t* name) { EXPECT_TRUE(saveWindowScreenshot(window_->hwnd(), name)) << "screenshot"; }
};

TEST_F(MainWindowScreenshots, SavesTheSkinnedWindowInItsMainStates) {
    if (screenshotDirectory().empty()) GTEST_SKIP() << "RPGITEM_SCREENSHOT_DIR not set";
    type("编辑框2", "fire_sword");
    type("编辑框3", "§c烈焰之剑");
    settle();
    shoot(L"main-at-rest");
    choose("组合框_技能", 4);
    shoot(L"main-skill-chosen");
    choose("组合框_技能", 17);
    shoot(L"main-arrow-rain");
    choose("组合框_技能", 1);
    click("按钮11");
    click("按钮7");
    click("选择框6");
    settle();
    shoot(L"main-overlays");
    click("按钮11");
    click("按钮7");
    click("选择框6");
    choose("组合框_技能", 4);
    choose("组合框_触发1", 3);
    const ui::SaveQuestion previous = ui::replaceSaveQuestion([](HWND, std::string_view) {
        return ui::SaveAnswer::Discard;  // 新建 over a changed form: 不保存
    });
    ui::newItem(*window_);
    ui::replaceSaveQuestion(previous);
    settle();
    shoot(L"main-after-new");
}

}  // namespace
