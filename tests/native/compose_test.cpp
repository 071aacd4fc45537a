#include "editor/compose.h"

#include <gtest/gtest.h>

using namespace editor;

namespace {

ItemForm formWithId(std::string id = "sword") {
    ItemForm form;
    form.id = std::move(id);
    return form;
}

}  // namespace

TEST(Compose, FreshFormWithIdGivesRemoveCreateGive) {
    EXPECT_EQ(composeCommands(formWithId()), (CommandList{"remove", "create", "give"}));
}

TEST(Compose, EmptyIdGivesNothingWhateverElseIsFilled) {
    ItemForm form;
    form.displayName = "name";
    form.damage = "5";
    form.skillPowers = {"x"};
    form.customRecipe = true;
    EXPECT_TRUE(composeCommands(form).empty());
}

TEST(Compose, BlankIdIsNotEmpty) {
    ItemForm form = formWithId("  ");
    EXPECT_EQ(composeCommands(form).size(), 3u);
    EXPECT_EQ(commandLine(form.id, "create"), "/rpgitem    create\r\n");
}

TEST(Compose, EveryFieldInCommandOrder) {
    ItemForm f = formWithId();
    f.displayName = "&6神剑";
    f.hand = "单手";
    f.itemType = "剑";
    f.lore = "传说";
    f.disappear = "50";
    f.costExp = "1";
    f.costMoney = "2";
    f.level = "3";
    f.repairPrice = "4";
    f.permission = "rpg.sword";
    f.description = "第一行\r\n\r\n第三行\r\n";
    f.materialId = "276";
    f.dataValue = "7";
    f.damage = "10";
    f.armour = "20";
    f.durability = "300";
    f.showDurabilityBar = f.infiniteDurability = f.customRecipe = f.removeRecipe = true;
    f.keepEnchant = 0;
    f.consumePowers = {"consume leftclick"};
    f.potionPowers = {"potionhit 5 poison 30 1 damage"};
    f.skillPowers = {"flame 10 3 tick"};
    f.dropSelection = 0;
    f.dropItemText = "玩家(Player)";
    f.dropChance = "50";
    const CommandList expected{
        "remove",
        "create",
        "display &6神剑",
        "hand 单手",
        "type 剑",
        "lore 传说",
        "disappear  50",
        "costexp 1",
        "costmoney 2",
        "level 3",
        "repairprice 4",
        "permission rpg.sword true",
        "description desc add 第一行",
        "description desc add ",
        "description desc add 第三行",
        "item 276 7",
        "damage 10",
        "armour 20",
        "durability 300",
        "durability togglebar",
        "durability infinite",
        "recipe 1",
        "removerecipe",
        "keep enchant true",
        "power flame 10 3 tick",
        "power potionhit 5 poison 30 1 damage",
        "drop Player 50",
        "power consume leftclick",
        "give",
    };
    EXPECT_EQ(composeCommands(f), expected);
}

TEST(Compose, MaterialWithoutDataValueEndsInABlank) {
    ItemForm f = formWithId();
    f.materialId = "276";
    EXPECT_EQ(composeCommands(f)[2], "item 276 ");
}

TEST(Compose, DataValueAloneGivesNoItemLine) {
    ItemForm f = formWithId();
    f.dataValue = "3";
    EXPECT_EQ(composeCommands(f), (CommandList{"remove", "create", "give"}));
}

TEST(Compose, DescriptionPieces) {
    struct Case {
        const char* description;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one\r\n", {"description desc add one"}},
        {"a\r\n\r\nb", {"description desc add a", "description desc add ", "description desc add b"}},
        {"\r\n", {"description desc add "}},
        {"  ", {"description desc add   "}},
    };
    for (const Case& c : cases) {
        ItemForm f = formWithId();
        f.giveItem = false;
        f.description = c.description;
        CommandList expected{"remove", "create"};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        EXPECT_EQ(composeCommands(f), expected) << c.description;
    }
}

TEST(Compose, DropNeedsBothCreatureAndChance) {
    struct Case {
        int selection;
        const char* item;
        const char* chance;
        const char* line;  // nullptr: no drop line
    };
    const Case cases[] = {
        {0, "玩家(Player)", "50", "drop Player 50"},
        {19, "洞穴蜘蛛 (CaveSpider)", "2.5", "drop CaveSpider 2.5"},
        {0, "玩家(Player)", "", nullptr},
        {-1, "", "50", nullptr},
        {3, "no parenthesis", "5", "drop  5"},
    };
    for (const Case& c : cases) {
        ItemForm f = formWithId();
        f.giveItem = false;
        f.dropSelection = c.selection;
        f.dropItemText = c.item;
        f.dropChance = c.chance;
        const CommandList commands = composeCommands(f);
        if (c.line) {
            ASSERT_EQ(commands.size(), 3u) << c.item;
            EXPECT_EQ(commands[2], c.line);
        } else {
            EXPECT_EQ(commands.size(), 2u) << c.item;
        }
    }
}

TEST(Compose, KeepEnchantByIndexOnly) {
    const std::pair<int, const char*> cases[] = {
        {-1, nullptr}, {0, "keep enchant true"}, {1, "keep enchant false"}, {2, nullptr}};
    for (auto [index, line] : cases) {
        ItemForm f = formWithId();
        f.giveItem = false;
        f.keepEnchant = index;
        const CommandList commands = composeCommands(f);
        EXPECT_EQ(commands.size(), line ? 3u : 2u) << index;
        if (line && commands.size() == 3) {
            EXPECT_EQ(commands[2], line);
        }
    }
}

TEST(Compose, PowersInOrderSkillsPotionsDropConsume) {
    ItemForm f = formWithId();
    f.consumePowers = {"c1", "c2"};
    f.potionPowers = {"p1"};
    f.skillPowers = {"s2", "s1"};
    f.dropSelection = 1;
    f.dropItemText = "蝙蝠(Bat)";
    f.dropChance = "5";
    EXPECT_EQ(composeCommands(f), (CommandList{"remove", "create", "power s2", "power s1", "power p1", "drop Bat 5",
                                               "power c1", "power c2", "give"}));
}

TEST(Compose, TextsAreCopiedVerbatim) {
    ItemForm f = formWithId();
    f.displayName = " ";
    f.permission = "  ";
    f.damage = "abc";
    const CommandList commands = composeCommands(f);
    EXPECT_EQ(commands[2], "display  ");
    EXPECT_EQ(commands[3], "permission    true");
    EXPECT_EQ(commands[4], "damage abc");
}

TEST(Compose, HugeFieldComposesWhole) {
    ItemForm f = formWithId();
    f.lore = std::string(100000, 'x') + "\xF0\x9F\x98\x80";
    const CommandList commands = composeCommands(f);
    EXPECT_EQ(commands[2].size(), 5 + 100000 + 4);
}

TEST(CommandLine, PrefixIdAndBreak) {
    EXPECT_EQ(commandLine("sword", "give"), "/rpgitem sword give\r\n");
    EXPECT_EQ(commandLine("剑", "disappear  5"), "/rpgitem 剑 disappear  5\r\n");
}
