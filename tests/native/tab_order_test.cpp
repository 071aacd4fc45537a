#include "editor/tab_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using editor::Control;
using editor::ControlKind;

std::string joined(const std::vector<std::string_view>& names) {
    std::string text;
    for (std::string_view name : names) text += std::string(text.empty() ? "" : " ") + std::string(name);
    return text;
}

TEST(TabOrder, GoesGroupByGroupInReadingOrderAndSkipsWhatTakesNoKeys) {
    // Two columns of groups whose tops differ by a few pixels, controls
    // listed out of order, a label, a loose button below and one on the
    // client area inside the right group's rectangle.
    const Control controls[] = {
        {.name = "right",
         .kind = ControlKind::GroupBox,
         .parent = "",
         .left = 300,
         .top = 12,
         .width = 200,
         .height = 100,
         .text = ""},
        {.name = "left",
         .kind = ControlKind::GroupBox,
         .parent = "",
         .left = 0,
         .top = 10,
         .width = 200,
         .height = 100,
         .text = ""},
        {.name = "below",
         .kind = ControlKind::Button,
         .parent = "",
         .left = 10,
         .top = 200,
         .width = 50,
         .height = 20,
         .text = ""},
        {.name = "r2",
         .kind = ControlKind::ComboList,
         .parent = "right",
         .left = 10,
         .top = 50,
         .width = 50,
         .height = 20,
         .text = ""},
        {.name = "r1",
         .kind = ControlKind::Edit,
         .parent = "right",
         .left = 90,
         .top = 12,
         .width = 50,
         .height = 20,
         .text = ""},
        {.name = "r0",
         .kind = ControlKind::CheckBox,
         .parent = "right",
         .left = 10,
         .top = 10,
         .width = 50,
         .height = 20,
         .text = ""},
        {.name = "label",
         .kind = ControlKind::Label,
         .parent = "left",
         .left = 0,
         .top = 0,
         .width = 50,
         .height = 20,
         .text = ""},
        {.name = "l1",
         .kind = ControlKind::ListBox,
         .parent = "left",
         .left = 10,
         .top = 60,
         .width = 50,
         .height = 20,
         .text = ""},
        {.name = "l0",
         .kind = ControlKind::Radio,
         .parent = "left",
         .left = 10,
         .top = 20,
         .width = 50,
         .height = 20,
         .text = ""},
        {.name = "inRight",
         .kind = ControlKind::Button,
         .parent = "",
         .left = 310,
         .top = 90,
         .width = 20,
         .height = 20,
         .text = ""},
        {.name = "top",
         .kind = ControlKind::Edit,
         .parent = "",
         .left = 600,
         .top = 0,
         .width = 20,
         .height = 20,
         .text = ""},
    };
    EXPECT_EQ(joined(editor::tabOrder(controls)), "l0 l1 r0 r1 r2 inRight top below");
}

TEST(TabOrder, TheMainWindowBeginsWithTheItemGroupAndHoldsEveryKeyboardControlOnce) {
    const auto order = editor::mainTabOrder();
    ASSERT_GE(order.size(), 3u);
    // The item group at the top left: its id box comes first.
    const std::vector<std::string_view> first(order.begin(), order.begin() + 1);
    EXPECT_EQ(first[0], "编辑框2");
    std::vector<std::string_view> sorted(order.begin(), order.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a control twice";
    size_t keyboardControls = 0;
    for (const Control& c : editor::controls()) {
        switch (c.kind) {
        case ControlKind::Edit:
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::Radio:
        case ControlKind::ComboEditable:
        case ControlKind::ComboList:
        case ControlKind::ListBox:
            ++keyboardControls;
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(order.size(), keyboardControls);
}

}  // namespace
