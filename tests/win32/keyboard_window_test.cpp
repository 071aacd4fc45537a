// The keyboard in the main window: Tab and Shift+Tab through the form in
// reading order, the output box's own Tab, and the keyboard back in its
// control after a message box.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/win32/modal_watch.h"
#include "tests/win32/window_fixture.h"
#include "ui/information_box.h"

namespace {

class KeyboardTest : public EditorWindowTest {
protected:
    // Tab as the keyboard delivers it, with the modifier keys held.
    void pressTab(bool shift = false, bool ctrl = false) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
        PostMessageW(GetFocus(), WM_KEYUP, VK_TAB, 0xC00F0001);
        pumpMessages();
        keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
    // The form control holding the keyboard (a combo box for its edit part).
    std::string focused() const {
        for (HWND h = GetFocus(); h && h != window_->hwnd(); h = GetParent(h)) {
            const std::string_view name = window_->nameOf(h);
            if (!name.empty()) return std::string(name);
        }
        return "(none)";
    }
    void focus(std::string_view name) {
        SetFocus(control(name));
        pumpMessages();
    }
};

TEST_F(KeyboardTest, TabAndShiftTabFollowTheFormInReadingOrder) {
    struct Step {
        const char* from;
        const char* next;
    };
    // Group by group: the item group top left, the attributes beside it,
    // the potion group at the right; hidden controls (the effect-class box
    // beside the effect box, the arrow-rain boxes) and disabled ones are
    // passed over.
    const Step steps[] = {
        {"编辑框2", "编辑框3"},     {"编辑框6", "编辑框8"},         {"编辑框12", "按钮7"},
        {"选择框4", "组合框_药水"}, {"组合框_药水", "组合框_触发"}, {"编辑框15", "单选框4"},
        {"单选框2", "编辑框17"},    {"单选框3", "编辑框13"},        {"编辑框13", "单选框5"},
        {"按钮3", "编辑框18"},      {"列表框_技能", "组合框_掉落"}, {"编辑框_掉落", "按钮4"},
        {"按钮4", "按钮8"},         {"按钮9", "选择框6"},           {"选择框6", "编辑框2"},
    };
    for (const Step& step : steps) {
        focus(step.from);
        pressTab();
        EXPECT_EQ(focused(), step.next) << "Tab from " << step.from;
        pressTab(true);
        EXPECT_EQ(focused(), step.from) << "Shift+Tab back to " << step.from;
    }
}

TEST_F(KeyboardTest, TabWalksEveryShownControlOnceAndSkipsDisabledOnes) {
    EnableWindow(control("编辑框3"), FALSE);
    focus("编辑框2");
    std::vector<std::string> walked{focused()};
    for (int i = 0; i < 200; ++i) {
        pressTab(false, true);
        if (focused() == walked.front()) break;
        walked.push_back(focused());
    }
    ASSERT_EQ(focused(), walked.front()) << "Tab comes back round to the first control";
    for (const std::string& name : walked) {
        HWND hwnd = control(name);
        EXPECT_TRUE(IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) << name;
        EXPECT_NE(name, "编辑框3");
    }
    std::vector<std::string> sorted = walked;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a control visited twice";
    EXPECT_EQ(walked[1], "编辑框4");
    EXPECT_EQ(walked.back(), "选择框6");
}

TEST_F(KeyboardTest, TheOutputBoxKeepsTabAndCtrlTabLeavesIt) {
    focus("组合框5");
    pressTab();
    EXPECT_EQ(focused(), "编辑框1");
    pressTab();
    pressTab(true);
    EXPECT_EQ(focused(), "编辑框1") << "Tab and Shift+Tab are the output box's own";
    pressTab(false, true);
    EXPECT_EQ(focused(), "组合框_技能") << "Ctrl+Tab goes on in the form's order";
    focus("编辑框1");
    pressTab(true, true);
    EXPECT_EQ(focused(), "组合框5");
}

TEST_F(KeyboardTest, TheKeyboardIsBackInItsControlAfterAMessageBox) {
    focus("编辑框3");
    HWND before = GetFocus();
    MessageBoxSeen seen;
    HWND owner = nullptr;
    ModalWatch watch(L"#32770", [&](HWND box) {
        owner = GetWindow(box, GW_OWNER);
        seen = readAndConfirm(box);
    });
    ui::showWarning("测试消息");
    ASSERT_TRUE(watch.finish());
    pumpMessages(50);
    EXPECT_EQ(owner, window_->hwnd()) << "the main window owns the box";
    EXPECT_EQ(seen.caption, "信息：");
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_EQ(GetFocus(), before);
    EXPECT_TRUE(IsWindowEnabled(window_->hwnd()));
}

}  // namespace
