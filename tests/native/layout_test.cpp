#include "editor/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using editor::Control;
using editor::ControlKind;

const Control& get(std::string_view name) {
    const Control* c = editor::findControl(name);
    if (c == nullptr) ADD_FAILURE() << "no control named " << name;
    static const Control kNone{};
    return c ? *c : kNone;
}

std::vector<std::string_view> childrenOf(std::string_view parent) {
    std::vector<std::string_view> names;
    for (const Control& c : editor::controls()) {
        if (c.parent == parent) names.push_back(c.name);
    }
    return names;
}

TEST(Layout, NamesAreUnique) {
    std::set<std::string_view> seen;
    for (const Control& c : editor::controls()) {
        EXPECT_FALSE(c.name.empty());
        EXPECT_TRUE(seen.insert(c.name).second) << "duplicate " << c.name;
    }
    EXPECT_EQ(seen.size(), 160u);
}

TEST(Layout, FindLooksUpByName) {
    const Control* c = editor::findControl("编辑框1");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->name, "编辑框1");
    EXPECT_EQ(editor::findControl("编辑框0"), nullptr);
    EXPECT_EQ(editor::findControl(""), nullptr);
}

TEST(Layout, EveryParentIsAnEarlierGroupBox) {
    std::set<std::string_view> groupsSoFar;
    for (const Control& c : editor::controls()) {
        if (!c.parent.empty()) {
            EXPECT_TRUE(groupsSoFar.count(c.parent)) << c.name << " in " << c.parent;
            EXPECT_NE(c.kind, ControlKind::GroupBox) << "group boxes are not nested: " << c.name;
        }
        if (c.kind == ControlKind::GroupBox) groupsSoFar.insert(c.name);
    }
    EXPECT_EQ(groupsSoFar.size(), 12u);
}

TEST(Layout, ClientAreaComesFirstInStackingOrder) {
    const auto all = editor::controls();
    const std::vector<std::string_view> client = childrenOf("");
    ASSERT_EQ(client.size(), 35u);
    for (std::size_t i = 0; i < client.size(); ++i) EXPECT_EQ(all[i].name, client[i]) << i;

    const std::vector<std::string_view> top = {"图片框1", "编辑框24", "图片框_颜色", "剑雨", "按钮9", "超文本浏览框1"};
    const std::vector<std::string_view> bottom = {"分组框4", "分组框3", "分组框_药水", "编辑框1", "按钮1"};
    EXPECT_TRUE(std::equal(top.begin(), top.end(), client.begin()));
    EXPECT_TRUE(std::equal(bottom.begin(), bottom.end(), client.end() - bottom.size()));

    auto at = [&](std::string_view name) { return std::find(client.begin(), client.end(), name) - client.begin(); };
    EXPECT_LT(at("剑雨"), at("分组框7"));
    EXPECT_LT(at("通用对话框1"), at("时钟1"));
}

TEST(Layout, GroupsFollowInTheirOrder) {
    std::vector<std::string_view> parents;
    for (const Control& c : editor::controls()) {
        if (!c.parent.empty() && (parents.empty() || parents.back() != c.parent)) parents.push_back(c.parent);
    }
    const std::vector<std::string_view> expected = {
        "剑雨",        "分组框7",      "分组框5",     "分组框1", "分组框6", "分组框2",
        "分组框_技能", "分组框_药水1", "分组框_掉落", "分组框4", "分组框3", "分组框_药水",
    };
    EXPECT_EQ(parents, expected);
}

TEST(Layout, StackingInsideGroups) {
    const std::vector<std::string_view> rain = {"按钮10",     "剑雨数量",   "剑雨延迟",   "透明标签63",
                                                "剑雨威力",   "剑雨高度",   "剑雨半径",   "透明标签62",
                                                "透明标签61", "透明标签60", "透明标签59", "透明标签58"};
    EXPECT_EQ(childrenOf("剑雨"), rain);
    const std::vector<std::string_view> tip = {"透明标签36"};
    EXPECT_EQ(childrenOf("分组框6"), tip);

    const auto potion = childrenOf("分组框_药水");
    ASSERT_EQ(potion.size(), 24u);
    EXPECT_EQ(potion.front(), "透明标签29");
    EXPECT_EQ(potion.back(), "组合框_类型");
    auto at = [&](std::string_view name) { return std::find(potion.begin(), potion.end(), name) - potion.begin(); };
    EXPECT_LT(at("组合框_药水"), at("组合框_类型"));

    const auto skill = childrenOf("分组框4");
    auto at4 = [&](std::string_view name) { return std::find(skill.begin(), skill.end(), name) - skill.begin(); };
    EXPECT_LT(at4("透明标签持续时间"), at4("透明标签40"));
}

struct Sample {
    std::string_view name;
    ControlKind kind;
    std::string_view parent;
    int left, top, width, height;
};

TEST(Layout, SampleControlsHaveTheirPlaces) {
    const Sample samples[] = {
        {"透明标签32", ControlKind::Label, "", 27, 3, 205, 24},
        {"分组框_药水", ControlKind::GroupBox, "", 593, 30, 471, 177},
        {"剑雨", ControlKind::GroupBox, "", 300, 521, 290, 136},
        {"编辑框1", ControlKind::Edit, "", 594, 279, 350, 313},
        {"按钮1", ControlKind::Button, "", 680, 600, 192, 32},
        {"时钟1", ControlKind::Timer, "", 1048, 272, 0, 0},
        {"通用对话框1", ControlKind::FileDialog, "", 952, 280, 0, 0},
        {"超文本浏览框1", ControlKind::WebView, "", 664, 632, 72, 16},
        {"编辑框2", ControlKind::Edit, "分组框1", 52, 21, 200, 24},
        {"编辑框13", ControlKind::Edit, "分组框2", 8, 40, 266, 160},
        {"选择框5", ControlKind::CheckBox, "分组框3", 197, 48, 89, 24},
        {"组合框5", ControlKind::ComboEditable, "分组框5", 376, 36, 86, 20},
        {"透明标签29", ControlKind::Label, "分组框_药水", 9, -4, 31, 24},
        {"透明标签37", ControlKind::Label, "分组框_药水", 160, 82, 32, 24},
        {"单选框4", ControlKind::Radio, "分组框_药水", 144, 88, 16, 16},
        {"组合框_类型", ControlKind::ComboList, "分组框_药水", 34, 17, 196, 22},
        {"透明标签39", ControlKind::Label, "分组框_药水1", 34, 17, 65, 24},
        {"列表框_技能", ControlKind::ListBox, "分组框_技能", 15, 64, 256, 97},
        {"透明标签13", ControlKind::Label, "分组框_掉落", 266, 60, 19, 24},
        {"透明标签持续时间", ControlKind::Label, "分组框4", 61, 10, 51, 24},
        {"组合框4", ControlKind::ComboEditable, "分组框7", 62, 110, 222, 20},
        {"剑雨数量", ControlKind::Edit, "剑雨", 219, 56, 44, 24},
        {"透明标签36", ControlKind::Label, "分组框6", 8, 11, 104, 206},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(std::string(s.name));
        const Control& c = get(s.name);
        EXPECT_EQ(c.kind, s.kind);
        EXPECT_EQ(c.parent, s.parent);
        EXPECT_EQ(c.left, s.left);
        EXPECT_EQ(c.top, s.top);
        EXPECT_EQ(c.width, s.width);
        EXPECT_EQ(c.height, s.height);
    }
}

TEST(Layout, CaptionsColoursAndFonts) {
    EXPECT_EQ(get("透明标签32").text, "『Qelvo』 RPGitem4.0.9 编辑器");
    EXPECT_EQ(get("透明标签32").font.face, "微软雅黑");
    EXPECT_EQ(get("透明标签32").font.pixelHeight, 14);
    EXPECT_EQ(get("透明标签32").font.weight, 700);
    EXPECT_EQ(get("按钮3").text, "添    加");
    EXPECT_EQ(get("透明标签1").text, "△ ID");
    EXPECT_EQ(get("透明标签1").textColour, 0xFF0000u);
    EXPECT_EQ(get("透明标签8").textColour, 0xFF5080u);
    EXPECT_EQ(get("透明标签14").textColour, 0xFF8000u);
    EXPECT_EQ(get("透明标签13").textColour, 0x0000FFu);
    EXPECT_EQ(get("分组框2").text, "        ");
    EXPECT_EQ(get("分组框_掉落").text, "    ");
    EXPECT_TRUE(get("分组框4").text.empty());
    EXPECT_EQ(get("编辑框2").textColour, 0xFF8000u);
    EXPECT_EQ(get("编辑框18").textColour, editor::kBlack);
    EXPECT_EQ(get("剑雨半径").textColour, editor::kBlack);
    EXPECT_EQ(get("单选框2").text, "△右击");
    EXPECT_EQ(get("单选框2").textColour, 0x9000FFu);
    EXPECT_EQ(get("透明标签18").font.face, "");
    EXPECT_EQ(get("透明标签18").font.pixelHeight, 14);
    EXPECT_TRUE(get("按钮8").font.isDefault());
}

TEST(Layout, InitialState) {
    EXPECT_TRUE(get("选择框4").checked);
    EXPECT_TRUE(get("单选框1").checked);
    EXPECT_TRUE(get("单选框5").checked);
    EXPECT_FALSE(get("单选框4").checked);
    EXPECT_FALSE(get("编辑框16").enabled);
    EXPECT_EQ(get("编辑框16").text, "×××××");
    EXPECT_EQ(get("剑雨延迟").text, "0:39");
    EXPECT_EQ(get("剑雨数量").text, "8:60");
    EXPECT_TRUE(get("编辑框1").text.empty());

    EXPECT_FALSE(get("剑雨").visible);
    EXPECT_TRUE(get("分组框7").visible);
    for (std::string_view name : childrenOf("剑雨")) EXPECT_TRUE(get(name).visible) << name;
    for (std::string_view name : childrenOf("分组框7")) EXPECT_FALSE(get(name).visible) << name;
    for (std::string_view name : childrenOf("分组框4")) EXPECT_EQ(get(name).visible, name == "按钮4") << name;
    for (std::string_view name : {"图片框1", "编辑框24", "图片框_颜色", "组合框_类型", "列表框_命令"}) {
        EXPECT_FALSE(get(name).visible) << name;
    }
    EXPECT_TRUE(get("组合框_药水").visible);
    EXPECT_EQ(get("时钟1").timerIntervalMs, 800);
    EXPECT_EQ(get("图片框1").picture, editor::Picture::Tutorial);
    EXPECT_EQ(get("图片框_颜色").picture, editor::Picture::ColourChart);
}

TEST(Layout, EditModes) {
    EXPECT_EQ(get("编辑框12").inputMode, editor::InputMode::IntegerOnly);
    EXPECT_EQ(get("编辑框20").inputMode, editor::InputMode::IntegerOnly);
    EXPECT_EQ(get("编辑框_掉落").inputMode, editor::InputMode::DecimalText);
    EXPECT_EQ(get("编辑框8").inputMode, editor::InputMode::Normal);
    EXPECT_EQ(get("编辑框1").editStyle,
              unsigned{editor::kMultiLine | editor::kHScroll | editor::kVScroll | editor::kWantReturn});
    EXPECT_EQ(get("编辑框13").editStyle, unsigned{editor::kMultiLine | editor::kVScroll | editor::kWrap});
    EXPECT_EQ(get("编辑框24").editStyle, unsigned{editor::kMultiLine | editor::kWrap});
}

TEST(Layout, ItemLists) {
    const auto triggers = editor::triggerItems();
    const auto effects = editor::potionEffectItems();
    const auto creatures = editor::creatureItems();
    const auto skills = editor::skillItems();
    ASSERT_EQ(triggers.size(), 59u);
    ASSERT_EQ(effects.size(), 20u);
    ASSERT_EQ(creatures.size(), 30u);
    ASSERT_EQ(skills.size(), 18u);
    EXPECT_EQ(triggers.front(), "tick|持续");
    EXPECT_EQ(triggers.back(), "enchant|附魔时");
    EXPECT_EQ(effects.front(), "speed|加速");
    EXPECT_EQ(effects.back(), "wither|凋零");
    EXPECT_EQ(creatures[19], "洞穴蜘蛛 (CaveSpider)");
    EXPECT_EQ(creatures.back(), "僵尸巨人(Giant)");
    EXPECT_EQ(skills[9], "9.TNT [随意]");
    EXPECT_EQ(skills.back(), "17.剑雨[随意]");

    for (std::string_view name : {"组合框_触发", "组合框_触发1", "组合框_触发2"}) {
        EXPECT_EQ(get(name).items.data(), triggers.data()) << name;
        EXPECT_EQ(get(name).items.size(), 59u) << name;
    }
    EXPECT_EQ(get("组合框_药水").items.data(), effects.data());
    EXPECT_EQ(get("组合框_掉落").items.data(), creatures.data());
    EXPECT_EQ(get("组合框_技能").items.data(), skills.data());
    ASSERT_EQ(get("组合框_类型").items.size(), 3u);
    EXPECT_EQ(get("组合框_类型").items[1], "bebuff|负面效果");
    ASSERT_EQ(get("组合框3").items.size(), 6u);
    EXPECT_EQ(get("组合框3").items[5], "fishhook|鱼钩");
}

TEST(Layout, DyeListText) {
    const std::string_view text = editor::dyeListText();
    EXPECT_EQ(get("编辑框24").text, text);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(0, 2), "\r\n");
    EXPECT_TRUE(text.ends_with("如果不行,那么是某些插件造成的"));
    EXPECT_TRUE(text.starts_with("\r\n墨囊——1644825\r\n\r\n玫瑰红——10040115\r\n"));
    EXPECT_NE(text.find("橙色染料——14188339\r\n\r\n淡灰色染料——10066329\r\n"), std::string_view::npos);
    EXPECT_NE(text.find("骨粉——16777215\r\n\r\n在材质后面加上,上面的数字即可\r\n如果不行"), std::string_view::npos);

    std::vector<std::string_view> lines;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find("\r\n", from);
        lines.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) break;
        from = at + 2;
    }
    // Leading empty line, 16 entries each followed by an empty line, two hints.
    ASSERT_EQ(lines.size(), 1u + 16u * 2u + 2u);
    EXPECT_TRUE(lines[0].empty());
    int entries = 0;
    for (std::size_t i = 1; i < 33; i += 2) {
        EXPECT_NE(lines[i].find("——"), std::string_view::npos) << i;
        EXPECT_TRUE(lines[i + 1].empty()) << i;
        ++entries;
    }
    EXPECT_EQ(entries, 16);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](std::string_view l) { return l.find("——") != std::string_view::npos; }),
              16);
}

TEST(Layout, UndoTipText) {
    EXPECT_EQ(editor::undoTipText(),
              "怕输出的内容不正确？\r\n没事！不要怕~\r\n可以自己更改里面的内容\r\n\r\n怕改错了？没事！\r\n"
              "按Ctrl+X撤回！\r\n\r\n不小心撤回多了？\r\n没事！不要怕\r\n按Ctrl+Y恢复！\r\n");
    EXPECT_EQ(get("透明标签36").text, editor::undoTipText());
}

TEST(Layout, PopupMenus) {
    const auto menus = editor::popupMenus();
    ASSERT_EQ(menus.size(), 4u);
    const std::string_view titles[] = {"药水", "技能", "消耗", "掉落"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(menus[i].title, titles[i]);
        EXPECT_EQ(menus[i].item, "删除");
    }
}

}  // namespace
