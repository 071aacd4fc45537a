// The power editors in the real window: the skill parameters shown per
// skill, the add buttons, the potion modes, and deleting powers through the
// lists' popup menus.
#include <algorithm>

#include "editor/skill_powers.h"
#include "tests/win32/modal_watch.h"
#include "tests/win32/window_fixture.h"
#include "ui/information_box.h"
#include "ui/win_text.h"

using namespace ui;

using Lines = std::vector<std::string>;

namespace {

Lines messagesShown;

void recordMessage(std::string_view text) { messagesShown.emplace_back(text); }

}  // namespace

class PowerWindowTest : public EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        messagesShown.clear();
        previousBox_ = replaceInformationBox(recordMessage);
    }

    void TearDown() override {
        replaceInformationBox(previousBox_);
        EditorWindowTest::TearDown();
    }

    // A new window for the next case of a table.
    void freshWindow() {
        EditorWindowTest::TearDown();
        EditorWindowTest::SetUp();
        messagesShown.clear();
    }

    // Chooses a combo box's item as the user does: a new selection, notified.
    void choose(std::string_view combo, int index) {
        HWND box = control(combo);
        SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box));
        pumpMessages();
    }

    void chooseItem(std::string_view combo, std::string_view item) {
        const auto index = SendMessageW(control(combo), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(wide(item).c_str()));
        ASSERT_NE(index, CB_ERR) << item;
        choose(combo, static_cast<int>(index));
    }

    // Writes a box whether or not it is enabled.
    void fill(std::string_view box, std::string_view content) {
        setWindowText(control(box), content);
        pumpMessages();
    }

    bool shown(std::string_view name) const { return (GetWindowLongW(control(name), GWL_STYLE) & WS_VISIBLE) != 0; }

    bool enabled(std::string_view name) const { return IsWindowEnabled(control(name)) != FALSE; }

    Lines entries(std::string_view list) const { return window_->listItems(list); }

    Lines powerLines() const {
        Lines powers;
        for (const std::string& line : outputLines()) {
            if (line.starts_with("/rpgitem x power ")) powers.push_back(line.substr(17));
        }
        return powers;
    }

    POINT entryCentre(std::string_view list, int index) const {
        RECT item{};
        SendMessageW(control(list), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    }

    void leftClickEntry(std::string_view list, int index) {
        const POINT at = entryCentre(list, index);
        SendMessageW(control(list), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(control(list), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        pumpMessages();
    }

    struct MenuSeen {
        bool opened = false;
        HMENU menu = nullptr;
        RECT rect{};
        std::string item;
        POINT cursor{};
    };

    // Presses the right button over an entry; when the popup menu opens, reads
    // it and presses `key` in it (VK_RETURN chooses its item, VK_ESCAPE closes it).
    MenuSeen rightClickEntry(std::string_view list, int index, UINT key) {
        MenuSeen seen;
        ModalWatch watch(L"#32768", [&seen, key](HWND menuWindow) {
            GetWindowRect(menuWindow, &seen.rect);
            seen.menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
            wchar_t item[32] = {};
            GetMenuStringW(seen.menu, 0, item, 32, MF_BYPOSITION);
            seen.item = utf8(item);
            if (key == VK_RETURN) PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
        });
        POINT at = entryCentre(list, index);
        SendMessageW(control(list), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
        seen.opened = watch.finish();
        pumpMessages();
        ClientToScreen(control(list), &at);
        seen.cursor = at;
        return seen;
    }

    void addAoe(std::string_view power) {
        fill("编辑框威力", power);
        click("按钮4");
    }

    InformationBox previousBox_ = nullptr;
};

TEST_F(PowerWindowTest, EverySkillShowsItsOwnParameterControls) {
    for (std::string_view name : editor::skillParameterControls()) EXPECT_FALSE(shown(name)) << name << " at start";
    type("编辑框2", "x");
    setText("编辑框1", "typed by hand");
    for (int index = 0; index < editor::kSkillCount; ++index) {
        choose("组合框_技能", index);
        const auto expected = editor::shownSkillParameters(index);
        ASSERT_TRUE(expected);
        for (std::string_view name : editor::skillParameterControls()) {
            const bool listed = std::find(expected->begin(), expected->end(), name) != expected->end();
            EXPECT_EQ(shown(name), listed) << "skill " << index << ": " << name;
        }
        EXPECT_TRUE(shown("分组框4") && shown("分组框7")) << index;
    }
    EXPECT_EQ(output(), "typed by hand") << "choosing a skill does not recompose";
}

TEST_F(PowerWindowTest, ArrowRainCoversTheSkillGroup) {
    RECT group;
    GetWindowRect(control("分组框7"), &group);
    POINT centre{(group.left + group.right) / 2, (group.top + group.bottom) / 2};
    ScreenToClient(window_->hwnd(), &centre);
    const auto topmostAtCentre = [&] { return ChildWindowFromPointEx(window_->hwnd(), centre, CWP_SKIPINVISIBLE); };
    choose("组合框_技能", 17);
    EXPECT_EQ(topmostAtCentre(), control("剑雨"));
    choose("组合框_技能", 6);
    EXPECT_EQ(topmostAtCentre(), control("分组框7"));
}

TEST_F(PowerWindowTest, ClearingTheSkillChoiceChangesNothing) {
    choose("组合框_技能", 1);
    choose("组合框_技能", -1);
    EXPECT_TRUE(shown("编辑框几率"));
    EXPECT_TRUE(shown("编辑框时间"));
}

TEST_F(PowerWindowTest, AddsTheChosenSkillFromTheBoxes) {
    type("编辑框2", "x");
    choose("组合框_技能", 4);
    chooseItem("组合框_触发1", "tick|持续");
    chooseItem("组合框3", "snowball|雪球");
    type("编辑框数量", "3");
    type("编辑框威力", "5");
    type("编辑框时间", "2");
    type("编辑框距离", "9");  // hidden for this skill: not used
    click("按钮4");
    click("按钮4");  // the boxes keep their contents
    EXPECT_EQ(entries("列表框_技能"), (Lines{"projectile tick snowball 3 5 40", "projectile tick snowball 3 5 40"}));
    EXPECT_EQ(powerLines(), entries("列表框_技能"));
    EXPECT_TRUE(messagesShown.empty());
}

TEST_F(PowerWindowTest, TextTypedIntoAChoiceIsNeverRead) {
    choose("组合框_技能", 4);
    chooseItem("组合框_触发1", "tick|持续");
    chooseItem("组合框3", "snowball|雪球");
    HWND typedPart = FindWindowExW(control("组合框3"), nullptr, L"Edit", nullptr);
    ASSERT_TRUE(typedPart);
    SetFocus(typedPart);
    SendMessageW(typedPart, EM_SETSEL, 0, -1);
    for (wchar_t ch : std::wstring(L"egg|x")) typeChar(typedPart, ch);
    pumpMessages();
    click("按钮4");
    // Typing leaves the combo box without a current item: the choice is asked for.
    EXPECT_TRUE(entries("列表框_技能").empty());
    EXPECT_EQ(messagesShown, Lines{"请先选择弹射的技能类型，再添加。"});
}

TEST_F(PowerWindowTest, ArrowRainFromItsInitialDelayAndCount) {
    choose("组合框_技能", 17);
    chooseItem("组合框_触发1", "tick|持续");
    click("按钮4");
    EXPECT_EQ(entries("列表框_技能"), Lines{"arrowrain tick 0 0 0 0|8 0 0"});
}

TEST_F(PowerWindowTest, NoSkillChosenAddsNothingButRecomposes) {
    type("编辑框2", "x");
    chooseItem("组合框_触发1", "tick|持续");
    setText("编辑框1", "typed by hand");
    click("按钮4");
    EXPECT_TRUE(entries("列表框_技能").empty());
    EXPECT_EQ(outputLines(), (Lines{"/rpgitem x remove", "/rpgitem x create", "/rpgitem x give"}));
    EXPECT_TRUE(messagesShown.empty());
}

TEST_F(PowerWindowTest, MissingChoiceRefusesWithAMessageAndRecomposes) {
    struct Case {
        const char* radioOrSkill;  // the radio button to click, or "" to add a skill
        int skill;
        const char* chosen[2];  // combo box, item
        const char* button;
        const char* list;
        const char* message;
    };
    const Case cases[] = {
        {"", 0, {nullptr, nullptr}, "按钮4", "列表框_技能", "请先选择技能的触发方式，再添加。"},
        {"", 4, {"组合框_触发1", "tick|持续"}, "按钮4", "列表框_技能", "请先选择弹射的技能类型，再添加。"},
        {"单选框1", 0, {"组合框_触发", "damage|攻击时"}, "按钮2", "列表框_药水", "请先选择药水效果，再添加。"},
        {"单选框2", 0, {"组合框_药水", "poison|中毒"}, "按钮2", "列表框_药水", "请先选择药水的方式，再添加。"},
        {"单选框6", 0, {nullptr, nullptr}, "按钮3", "列表框_消耗", "请先选择消耗的方式，再添加。"},
    };
    for (const Case& c : cases) {
        freshWindow();
        type("编辑框2", "x");
        if (*c.radioOrSkill) {
            click(c.radioOrSkill);
        } else {
            choose("组合框_技能", c.skill);
        }
        if (c.chosen[0]) chooseItem(c.chosen[0], c.chosen[1]);
        setText("编辑框1", "typed by hand");
        click(c.button);
        EXPECT_TRUE(entries(c.list).empty()) << c.message;
        EXPECT_EQ(messagesShown, Lines{c.message});
        EXPECT_EQ(outputLines().size(), 3u) << "recomposed all the same";
    }
}

TEST_F(PowerWindowTest, RadioButtonsClearAndDisableTheValueBoxes) {
    struct Case {
        const char* radio;
        const char* box14;  // "" for emptied and enabled, "×××××" for unused and disabled
        const char* box15;
        const char* box16;
        const char* box17;
        bool effectClassShown;
    };
    const Case cases[] = {
        {"单选框2", "×××××", "", "×××××", "", true}, {"单选框3", "×××××", "×××××", "", "×××××", false},
        {"单选框4", "×××××", "", "", "", false},     {"单选框1", "", "", "×××××", "", false},
        {"单选框1", "", "", "×××××", "", false},  // clicking the checked button clears all the same
    };
    type("编辑框2", "x");
    setText("编辑框1", "typed by hand");
    for (const Case& c : cases) {
        for (const char* box : {"编辑框14", "编辑框15", "编辑框16", "编辑框17"}) fill(box, "7");
        click(c.radio);
        EXPECT_TRUE(isChecked(c.radio));
        const std::pair<const char*, const char*> boxes[] = {
            {"编辑框14", c.box14}, {"编辑框15", c.box15}, {"编辑框16", c.box16}, {"编辑框17", c.box17}};
        for (auto [box, expected] : boxes) {
            EXPECT_EQ(text(box), expected) << c.radio << " " << box;
            EXPECT_EQ(enabled(box), *expected == '\0') << c.radio << " " << box;
        }
        EXPECT_EQ(shown("组合框_类型"), c.effectClassShown) << c.radio;
        EXPECT_EQ(shown("组合框_药水"), !c.effectClassShown) << c.radio;
    }
    EXPECT_FALSE(isChecked("单选框2") || isChecked("单选框3") || isChecked("单选框4"));
    EXPECT_EQ(output(), "typed by hand") << "switching modes does not recompose";
}

TEST_F(PowerWindowTest, AddsPotionPowersPerMode) {
    chooseItem("组合框_触发", "damage|攻击时");
    chooseItem("组合框_药水", "poison|中毒");
    type("编辑框14", "30");
    type("编辑框15", "5");
    click("按钮2");
    click("单选框2");
    chooseItem("组合框_类型", "bebuff|负面效果");
    click("按钮2");
    click("单选框4");
    type("编辑框17", "1");
    type("编辑框15", "２");  // full-width two
    type("编辑框16", "3");
    click("按钮2");
    EXPECT_EQ(entries("列表框_药水"), (Lines{"potionhit damage 100 0 poison 30", "potionpurge damage 0 bebuff 0",
                                             "potionself damage 20 40 3 poison"}));
    EXPECT_TRUE(messagesShown.empty());
}

TEST_F(PowerWindowTest, ChoosingAnEffectRecomposesOnly) {
    type("编辑框2", "x");
    setText("编辑框1", "typed by hand");
    chooseItem("组合框_药水", "poison|中毒");
    EXPECT_EQ(outputLines(), (Lines{"/rpgitem x remove", "/rpgitem x create", "/rpgitem x give"}));
    EXPECT_TRUE(entries("列表框_药水").empty());
}

TEST_F(PowerWindowTest, AddsConsumeAndFoodPowers) {
    chooseItem("组合框_触发2", "rightclick|右击");
    click("按钮3");
    click("单选框6");
    EXPECT_FALSE(isChecked("单选框5"));
    click("按钮3");  // an empty saturation box leaves the blank
    type("编辑框20", "5");
    click("按钮3");
    EXPECT_EQ(entries("列表框_消耗"), (Lines{"consume rightclick", "food rightclick ", "food rightclick 5"}));
}

TEST_F(PowerWindowTest, DeletesTheSelectedEntryThroughEachListsMenu) {
    struct Case {
        const char* list;
        const char* menu;
        std::function<void(const char*)> add;
        Lines added;
    };
    const Case cases[] = {
        {"列表框_技能", "技能", [this](const char* n) { addAoe(n); }, {"aoe tick 1", "aoe tick 2", "aoe tick 3"}},
        {"列表框_药水",
         "药水",
         [this](const char* n) {
             fill("编辑框16", n);
             click("按钮2");
         },
         {"potionthrow tick 1 speed", "potionthrow tick 2 speed", "potionthrow tick 3 speed"}},
        {"列表框_消耗",
         "消耗",
         [this](const char* n) {
             fill("编辑框20", n);
             click("按钮3");
         },
         {"food tick 1", "food tick 2", "food tick 3"}},
    };
    for (const Case& c : cases) {
        freshWindow();
        type("编辑框2", "x");
        choose("组合框_技能", 16);
        for (const char* trigger : {"组合框_触发1", "组合框_触发", "组合框_触发2"}) choose(trigger, 0);
        choose("组合框_药水", 0);
        click("单选框3");
        click("单选框6");
        for (const char* n : {"1", "2", "3"}) c.add(n);
        ASSERT_EQ(entries(c.list), c.added);

        leftClickEntry(c.list, 1);
        const MenuSeen seen = rightClickEntry(c.list, 0, VK_RETURN);  // the right button does not select
        ASSERT_TRUE(seen.opened) << c.menu;
        EXPECT_EQ(seen.menu, window_->popupMenu(c.menu));
        EXPECT_EQ(seen.item, "删除");
        EXPECT_EQ(seen.rect.left, seen.cursor.x + 3) << c.menu;
        EXPECT_EQ(seen.rect.top, seen.cursor.y + 3) << c.menu;
        const Lines remaining{c.added[0], c.added[2]};
        EXPECT_EQ(entries(c.list), remaining);
        EXPECT_EQ(powerLines(), remaining) << "the other lines keep their order";

        setText("编辑框1", "typed by hand");
        ASSERT_TRUE(rightClickEntry(c.list, 1, VK_RETURN).opened);  // nothing selected now
        EXPECT_EQ(entries(c.list), remaining);
        EXPECT_EQ(powerLines(), remaining) << "recomposed all the same";

        leftClickEntry(c.list, 0);
        ASSERT_TRUE(rightClickEntry(c.list, 0, VK_ESCAPE).opened);
        EXPECT_EQ(entries(c.list), remaining) << "a closed menu deletes nothing";
    }
}

TEST_F(PowerWindowTest, ComposesAllThreeListsInCommandOrder) {
    type("编辑框2", "x");
    choose("组合框_技能", 16);
    chooseItem("组合框_触发1", "tick|持续");
    addAoe("4");
    chooseItem("组合框_触发", "damage|攻击时");
    chooseItem("组合框_药水", "poison|中毒");
    click("按钮2");
    chooseItem("组合框_触发2", "rightclick|右击");
    click("按钮3");
    choose("组合框_掉落", 0);
    type("编辑框_掉落", "2.5");
    EXPECT_EQ(outputLines(), (Lines{"/rpgitem x remove", "/rpgitem x create", "/rpgitem x power aoe tick 4",
                                    "/rpgitem x power potionhit damage 0 0 poison 0", "/rpgitem x drop Player 2.5",
                                    "/rpgitem x power consume rightclick", "/rpgitem x give"}));
}

TEST_F(PowerWindowTest, ArrowRainTipIsARealInformationBox) {
    replaceInformationBox(previousBox_);
    choose("组合框_技能", 17);  // shows the arrow-rain group with its tip button
    MessageBoxSeen seen;
    ModalWatch watch(L"#32770", [&seen](HWND box) { seen = readAndConfirm(box); });
    click("按钮10");
    ASSERT_TRUE(watch.finish()) << "no message box appeared";
    EXPECT_EQ(seen.caption, "信息：");
    EXPECT_EQ(seen.texts, Lines{std::string(editor::kArrowRainTip)});
    EXPECT_TRUE(seen.hasIcon);
}
