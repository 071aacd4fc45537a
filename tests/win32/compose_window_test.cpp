// The composer in the real window: what each field, tick and selection
// writes into the output box, and the input modes of the number boxes.
#include "tests/win32/window_fixture.h"
#include "ui/win_text.h"

using namespace ui;

using Lines = std::vector<std::string>;

TEST_F(EditorWindowTest, TypingAnIdGivesExactlyThreeLines) {
    type("编辑框2", "sword");
    EXPECT_EQ(output(), "/rpgitem sword remove\r\n/rpgitem sword create\r\n/rpgitem sword give\r\n");
}

TEST_F(EditorWindowTest, EachKeystrokeRecomposesFromScratch) {
    type("编辑框2", "ab");
    pressKey(control("编辑框2"), VK_BACK);  // the edit box deletes on WM_CHAR backspace
    typeChar(control("编辑框2"), L'\b');
    pumpMessages();
    EXPECT_EQ(outputLines(), (Lines{"/rpgitem a remove", "/rpgitem a create", "/rpgitem a give"}));
    typeChar(control("编辑框2"), L'\b');
    pumpMessages();
    EXPECT_EQ(output(), "") << "an empty id empties the output";
}

TEST_F(EditorWindowTest, EveryRecomposingFieldRecomposes) {
    struct Case {
        const char* field;
        const char* typed;
        const char* line;
    };
    const Case cases[] = {
        {"编辑框3", "名", "display 名"},
        {"编辑框4", "h", "hand h"},
        {"编辑框5", "t", "type t"},
        {"编辑框6", "l", "lore l"},
        {"编辑框7", "5", "disappear  5"},
        {"编辑框18", "1", "costexp 1"},
        {"编辑框19", "2", "costmoney 2"},
        {"编辑框21", "3", "level 3"},
        {"编辑框22", "4", "repairprice 4"},
        {"编辑框23", "p", "permission p true"},
        {"编辑框13", "d", "description desc add d"},
        {"编辑框8", "276", "item 276 "},
        {"编辑框12", "3", "item 276 3"},
        {"编辑框9", "9", "damage 9"},
        {"编辑框10", "100", "durability 100"},
        {"编辑框11", "7", "armour 7"},
    };
    type("编辑框2", "x");
    for (const Case& c : cases) {
        type(c.field, c.typed);
        const Lines lines = outputLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "/rpgitem x " + std::string(c.line)), lines.end())
            << c.field << " did not recompose";
    }
    // 编辑框20 is read by the consume editor, not here, but still recomposes.
    setText("编辑框1", "hand edit");
    type("编辑框20", "5");
    EXPECT_EQ(outputLines().front(), "/rpgitem x remove");
}

TEST_F(EditorWindowTest, TicksRecomposeAtOnce) {
    type("编辑框2", "x");
    const std::pair<const char*, const char*> ticks[] = {{"选择框1", "durability togglebar"},
                                                         {"选择框2", "durability infinite"},
                                                         {"选择框3", "recipe 1"},
                                                         {"选择框5", "removerecipe"}};
    for (auto [box, line] : ticks) {
        click(box);
        const Lines lines = outputLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "/rpgitem x " + std::string(line)), lines.end()) << box;
        click(box);
        const Lines after = outputLines();
        EXPECT_EQ(std::find(after.begin(), after.end(), "/rpgitem x " + std::string(line)), after.end()) << box;
    }
}

TEST_F(EditorWindowTest, DropNeedsCreatureAndChanceAndRecomposesOnSelection) {
    type("编辑框2", "x");
    type("编辑框_掉落", "2.5");
    EXPECT_EQ(outputLines().size(), 3u) << "no creature chosen yet";
    HWND creatures = control("组合框_掉落");
    SetFocus(creatures);
    pressKey(creatures, VK_DOWN);  // the keyboard chooses the first creature
    ASSERT_EQ(SendMessageW(creatures, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(outputLines(),
              (Lines{"/rpgitem x remove", "/rpgitem x create", "/rpgitem x drop Player 2.5", "/rpgitem x give"}));
}

TEST_F(EditorWindowTest, GiveAndKeepEnchantWaitForTheNextRecomposition) {
    type("编辑框2", "x");
    const std::string before = output();
    click("选择框4");
    EXPECT_FALSE(isChecked("选择框4"));
    HWND enchant = control("组合框5");
    SendMessageW(enchant, CB_SETCURSEL, 1, 0);
    SendMessageW(GetParent(enchant), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(enchant), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(enchant));
    pumpMessages();
    EXPECT_EQ(output(), before) << "neither control has a handler";
    click("透明标签64");  // a press on the enchant caption recomposes
    EXPECT_EQ(outputLines(), (Lines{"/rpgitem x remove", "/rpgitem x create", "/rpgitem x keep enchant false"}));
}

TEST_F(EditorWindowTest, IntegerBoxRefusesLettersAndRewritesOnLeaving) {
    type("编辑框12", "a1b-2c");
    EXPECT_EQ(text("编辑框12"), "1-2");
    struct Case {
        const char* typed;
        const char* after;
    };
    const Case cases[] = {{"007", "7"},
                          {"0", ""},
                          {"-", ""},
                          {"-0", ""},
                          {"-12", "-12"},
                          {"99999999999", "2147483647"},
                          {"-99999999999", "-2147483648"},
                          {"5-3", "5"}};
    for (const Case& c : cases) {
        setText("编辑框12", "");
        type("编辑框12", c.typed);
        leave("编辑框12");
        EXPECT_EQ(text("编辑框12"), c.after) << c.typed;
    }
}

TEST_F(EditorWindowTest, IntegerRewriteRecomposesOnlyWhenItChangesTheText) {
    type("编辑框2", "x");
    type("编辑框8", "1");
    type("编辑框12", "007");
    EXPECT_EQ(outputLines()[2], "/rpgitem x item 1 007");
    leave("编辑框12");
    EXPECT_EQ(outputLines()[2], "/rpgitem x item 1 7");
    setText("编辑框1", "untouched");
    leave("编辑框12");
    EXPECT_EQ(output(), "untouched") << "7 stays 7: no write, no recomposition";
}

TEST_F(EditorWindowTest, DecimalBoxFiltersButNeverRewrites) {
    type("编辑框_掉落", "a0.5x-");
    EXPECT_EQ(text("编辑框_掉落"), "0.5-");
    leave("编辑框_掉落");
    EXPECT_EQ(text("编辑框_掉落"), "0.5-");
    setText("编辑框_掉落", "");
    type("编辑框_掉落", "007");
    leave("编辑框_掉落");
    EXPECT_EQ(text("编辑框_掉落"), "007");
}

TEST_F(EditorWindowTest, SaturationBoxIsIntegerOnly) {
    type("编辑框20", "x12y");
    EXPECT_EQ(text("编辑框20"), "12");
}

TEST_F(EditorWindowTest, AnyTextComposesWithADefinedResult) {
    const std::string huge(100000, 'z');
    setText("编辑框2", "  ");
    setText("编辑框3", huge);
    setText("编辑框4", "😀 ♞ €");  // outside code page 936
    setText("编辑框9", "99999999999999999999");
    const Lines lines = outputLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2], "/rpgitem    display " + huge);
    EXPECT_EQ(lines[3], "/rpgitem    hand 😀 ♞ €");
    EXPECT_EQ(lines[4], "/rpgitem    damage 99999999999999999999");
}

TEST_F(EditorWindowTest, ChineseTextSurvivesTheControlsWhateverTheCodePage) {
    type("编辑框2", "神剑");
    type("编辑框13", "第一行");
    EXPECT_EQ(outputLines()[2], "/rpgitem 神剑 description desc add 第一行");
}

TEST_F(EditorWindowTest, DescriptionLinesFromTheMultiLineBox) {
    type("编辑框2", "x");
    setText("编辑框13", "a\r\n\r\nb\r\n");
    EXPECT_EQ(outputLines(),
              (Lines{"/rpgitem x remove", "/rpgitem x create", "/rpgitem x description desc add a",
                     "/rpgitem x description desc add ", "/rpgitem x description desc add b", "/rpgitem x give"}));
}
