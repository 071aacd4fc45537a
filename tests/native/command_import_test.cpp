#include "editor/command_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editor/compose.h"
#include "editor/effect_powers.h"
#include "editor/layout.h"
#include "editor/skill_powers.h"
#include "editor/text.h"

using namespace editor;

namespace {

std::string composedText(const ItemForm& form) {
    std::string out;
    for (const std::string& sub : composeCommands(form)) out += commandLine(form.id, sub);
    return out;
}

// Random forms over every field and every power kind, the power entries
// built by the editors' own add operations.
class FormGenerator {
public:
    // `listsFromFiles`: the lists also hold entries an item file may give
    // them: any one-line text, of another list's kind or of none.
    explicit FormGenerator(unsigned seed, bool listsFromFiles = false)
        : random_(seed), listsFromFiles_(listsFromFiles) {}

    ItemForm next() {
        ItemForm f;
        f.id = pick(std::vector<std::string>{"sword", "剑_1", "a", "legendary_sword_of_the_north", "😀", "my sword",
                                             "x display", "give give", "a b c", "power aoe", " lead"});
        for (std::string* field :
             {&f.displayName, &f.hand, &f.itemType, &f.lore, &f.disappear, &f.costExp, &f.costMoney, &f.level,
              &f.repairPrice, &f.permission, &f.dataValue, &f.damage, &f.armour, &f.durability, &f.dropChance}) {
            *field = value();
        }
        f.materialId = chance(3) ? "" : pick(std::vector<std::string>{"276", "a b", " x", "diamond_sword", " "});
        f.description = description();
        for (bool* flag :
             {&f.showDurabilityBar, &f.infiniteDurability, &f.customRecipe, &f.removeRecipe, &f.giveItem}) {
            *flag = chance(2);
        }
        f.keepEnchant = below(3) - 1;
        f.dropSelection = chance(3) ? -1 : below(static_cast<int>(editor::creatureItems().size()));
        if (f.dropSelection != -1) {
            f.dropItemText = std::string(editor::creatureItems()[static_cast<std::size_t>(f.dropSelection)]);
        }
        for (int n = below(6); n > 0; --n)
            append(f.skillPowers, editor::skillAddition(below(editor::kSkillCount), inputs()));
        for (int n = below(6); n > 0; --n) {
            const auto& mode = editor::potionModes()[static_cast<std::size_t>(below(4))];
            append(f.potionPowers, editor::potionAddition(std::vector{mode.radio}, inputs()));
        }
        for (int n = below(4); n > 0; --n) {
            const auto& kind = editor::consumeKinds()[static_cast<std::size_t>(below(2))];
            append(f.consumePowers, editor::consumeAddition(std::vector{kind.radio}, inputs()));
        }
        if (listsFromFiles_) {
            for (auto* list : {&f.skillPowers, &f.potionPowers, &f.consumePowers}) {
                for (int n = below(3); n > 0; --n) {
                    const auto at = list->begin() + below(static_cast<int>(list->size()) + 1);
                    list->insert(at, pick(std::vector<std::string>{"hello", "", "potionhit tick 0 0 speed 1",
                                                                   "aoe tick 5", "consume tick", "food tick 5", "  x  ",
                                                                   "fly\rtick", "§6火焰"}));
                }
            }
        }
        return f;
    }

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int oneIn) { return below(oneIn) == 0; }
    template <typename T>
    T pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

    // Single-line values, among them words the sub-commands use.
    std::string value() {
        if (chance(3)) return "";
        return pick(std::vector<std::string>{"5", "-3", "１２", "a=b; c", "  lead", "trail  ", "togglebar", "infinite",
                                             "true", "x true", "§6金色的剑", "😀 𠀀", "€", "[x]", "desc add y",
                                             "power flame", "1"});
    }

    std::string description() {
        std::string d;
        for (int n = below(5); n > 0; --n) {
            d += pick(std::vector<std::string>{"", "第一行", "  indented", "a=b", "trailing  "});
            if (n > 1 || chance(3)) d += "\r\n";
        }
        return d;
    }

    editor::PowerInputs inputs() {
        editor::PowerInputs in;
        for (std::string_view combo : {"组合框_触发1", "组合框3", "组合框1", "组合框2", "组合框4", "组合框_触发",
                                       "组合框_药水", "组合框_类型", "组合框_触发2"}) {
            const auto items = editor::findControl(combo)->items;
            in.choices[std::string(combo)] =
                std::string(items[static_cast<std::size_t>(below(static_cast<int>(items.size())))]);
        }
        for (std::string_view box : {"编辑框时间", "编辑框几率", "编辑框威力", "编辑框材质", "编辑框距离", "编辑框倍数",
                                     "编辑框数量", "编辑框延迟", "剑雨半径", "剑雨高度", "剑雨威力", "剑雨延迟",
                                     "剑雨数量", "编辑框14", "编辑框15", "编辑框16", "编辑框17"}) {
            in.boxes[std::string(box)] =
                pick(std::vector<std::string>{"", "3", "-7", "99999999999", "１２", "×××××", "0:39"});
        }
        in.boxes["编辑框20"] = pick(std::vector<std::string>{"", "5", "a b", " 2 "});
        return in;
    }

    static void append(std::vector<std::string>& list, const editor::PowerAddition& addition) {
        ASSERT_FALSE(addition.refused());
        list.insert(list.end(), addition.entries.begin(), addition.entries.end());
    }

    std::mt19937 random_;
    bool listsFromFiles_;
};

// The lines in another order; description, power and durability lines keep
// their order among themselves (it is the lists' order, and it tells a
// durability value "infinite" from the flag).
std::string shuffledLines(const std::string& text, std::mt19937& random) {
    std::vector<std::string> ordered, free;
    for (const std::string& line : editor::splitLines(text)) {
        const bool keepsOrder = line.find(" description ") != std::string::npos ||
                                line.find(" power ") != std::string::npos ||
                                line.find(" durability ") != std::string::npos;
        (keepsOrder ? ordered : free).push_back(line);
    }
    std::shuffle(free.begin(), free.end(), random);
    std::string out;
    std::size_t o = 0, f = 0;
    while (o < ordered.size() || f < free.size()) {
        const bool takeOrdered = f == free.size() || (o < ordered.size() && random() % 2 == 0);
        out += (takeOrdered ? ordered[o++] : free[f++]) + "\r\n";
    }
    return out;
}

}  // namespace

TEST(ImportCommands, ComposingTheImportedFormGivesTheImportedText) {
    FormGenerator generate(20261210);
    std::mt19937 random(7);
    std::size_t skills = 0, potions = 0, consumes = 0;
    for (int round = 0; round < 3000; ++round) {
        const ItemForm form = generate.next();
        const std::string text = composedText(form);
        for (const std::string& input : {text, shuffledLines(text, random)}) {
            const ImportedItem imported = importCommands(input);
            ASSERT_EQ(composedText(imported.form), text) << "round " << round << "\n" << input;
            ASSERT_TRUE(imported.unmatched.empty()) << imported.unmatched.front();
            ASSERT_EQ(imported.id, form.id);
        }
        skills += form.skillPowers.size(), potions += form.potionPowers.size(), consumes += form.consumePowers.size();
    }
    // Every kind was exercised many times.
    EXPECT_GT(skills, 3000u);
    EXPECT_GT(potions, 3000u);
    EXPECT_GT(consumes, 1000u);
}

TEST(ImportCommands, ComposingTheImportOfAFormWithListsFromFilesGivesTheSameText) {
    FormGenerator generate(20261211, /*listsFromFiles=*/true);
    int blankIds = 0;
    for (int round = 0; round < 3000; ++round) {
        const ItemForm form = generate.next();
        const std::string text = composedText(form);
        const ImportedItem imported = importCommands(text);
        ASSERT_EQ(composedText(imported.form), text) << "round " << round << "\n" << text;
        ASSERT_TRUE(imported.unmatched.empty()) << imported.unmatched.front();
        ASSERT_EQ(imported.id, form.id);
        blankIds += form.id.find(' ') != std::string::npos;
    }
    EXPECT_GT(blankIds, 1000);
}

struct IdWithBlanks {
    std::string text;
    std::string id;
    std::size_t unmatched;
};

class ImportIdWithBlanks : public testing::TestWithParam<IdWithBlanks> {};

TEST_P(ImportIdWithBlanks, IsTheTextBeforeTheSubCommand) {
    const ImportedItem imported = importCommands(GetParam().text);
    EXPECT_EQ(imported.id, GetParam().id);
    EXPECT_EQ(imported.form.id, GetParam().id);
    EXPECT_EQ(imported.unmatched.size(), GetParam().unmatched);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportIdWithBlanks,
    testing::Values(
        IdWithBlanks{"/rpgitem my sword remove\r\n/rpgitem my sword create\r\n/rpgitem my sword display 剑\r\n",
                     "my sword", 0},
        IdWithBlanks{"/rpgitem my sword display 剑\r\n/rpgitem my sword give\r\n", "my sword", 0},
        IdWithBlanks{"/rpgitem x display remove\r\n/rpgitem x display create\r\n", "x display", 0},
        IdWithBlanks{"/rpgitem a b give\r\n/rpgitem a display x\r\n", "a b", 1},
        IdWithBlanks{"/rpgitem sword remove\r\n/rpgitem my sword create\r\n", "sword", 1},
        IdWithBlanks{"/rpgitem\r\n/rpgitem solo remove\r\n", "solo", 1}));

TEST(ImportCommands, PowerLinesGoToTheListOfTheirKind) {
    const ImportedItem imported = importCommands(
        "/rpgitem x power throw tick 5 t f 0 0\r\n/rpgitem x power arrowrain tick 0 0 0 0|8 0 0\r\n"
        "/rpgitem x power arrow tick 1 2\r\n/rpgitem x power potionthrow hit 0 speed\r\n"
        "/rpgitem x power potionhit tick 0 0 speed 1\r\n/rpgitem x power food tick 5\r\n"
        "/rpgitem x power consume tick\r\n");
    EXPECT_EQ(imported.form.skillPowers,
              (std::vector<std::string>{"throw tick 5 t f 0 0", "arrowrain tick 0 0 0 0|8 0 0", "arrow tick 1 2"}));
    EXPECT_EQ(imported.form.potionPowers,
              (std::vector<std::string>{"potionthrow hit 0 speed", "potionhit tick 0 0 speed 1"}));
    EXPECT_EQ(imported.form.consumePowers, (std::vector<std::string>{"food tick 5", "consume tick"}));
    EXPECT_TRUE(imported.unmatched.empty());
}

// A list filled from a file may hold any text, of another list's kind or of
// none: the lines keep their order, so that composing gives them back.
struct MixedPowers {
    std::string name;
    std::vector<std::string> skills, potions, consumes;
    std::string drop;  // a drop combo item, or ""
};

class ImportMixedPowers : public testing::TestWithParam<MixedPowers> {};

TEST_P(ImportMixedPowers, ComeBackInTheirOrder) {
    ItemForm form;
    form.id = "mixed item";
    form.skillPowers = GetParam().skills;
    form.potionPowers = GetParam().potions;
    form.consumePowers = GetParam().consumes;
    if (!GetParam().drop.empty()) {
        const auto items = editor::creatureItems();
        form.dropSelection = static_cast<int>(std::find(items.begin(), items.end(), GetParam().drop) - items.begin());
        form.dropItemText = GetParam().drop;
        form.dropChance = "5";
    }
    const std::string text = composedText(form);
    const ImportedItem imported = importCommands(text);
    EXPECT_EQ(composedText(imported.form), text);
    EXPECT_TRUE(imported.unmatched.empty());
    if (!GetParam().drop.empty()) {
        EXPECT_EQ(imported.form.consumePowers, GetParam().consumes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    FromFiles, ImportMixedPowers,
    testing::Values(MixedPowers{"PotionTextInSkills", {"potionhit tick 0 0 speed 1", "aoe tick 5"}, {}, {}, ""},
                    MixedPowers{"UnknownPowers", {"fly tick", ""}, {"hello"}, {"not a power"}, ""},
                    MixedPowers{"SkillTextInConsumesAfterDrop",
                                {"aoe tick 5"},
                                {"potionthrow hit 0 speed"},
                                {"arrow tick 1 2", "consume tick", "potionhit tick 0 0 speed 1"},
                                "蝙蝠(Bat)"},
                    MixedPowers{"ConsumeTextsBeforeDrop", {"food tick 5"}, {"consume tick"}, {}, "蝙蝠(Bat)"},
                    MixedPowers{"EverythingReversed",
                                {"consume tick", "potionthrow hit 0 speed"},
                                {"aoe tick 5", "food tick 5"},
                                {"throw tick 5 t f 0 0"},
                                "僵尸(Zombie)"}),
    [](const testing::TestParamInfo<MixedPowers>& param) { return param.param.name; });

TEST(ImportCommands, MapsEachSubCommandToItsField) {
    const ImportedItem imported = importCommands(
        "/rpgitem s give\n/rpgitem s keep enchant false\n/rpgitem s item 276 3\n/rpgitem s disappear  gone  \n"
        "/rpgitem s permission rpg.use true\n/rpgitem s drop Bat 20\n/rpgitem s durability togglebar\n"
        "/rpgitem s description desc add 第一行\n/rpgitem s description desc add \n/rpgitem s remove\n");
    const ItemForm& f = imported.form;
    EXPECT_EQ(f.id, "s");
    EXPECT_TRUE(f.giveItem);
    EXPECT_EQ(f.keepEnchant, 1);
    EXPECT_EQ(f.materialId, "276");
    EXPECT_EQ(f.dataValue, "3");
    EXPECT_EQ(f.disappear, "gone  ");
    EXPECT_EQ(f.permission, "rpg.use");
    EXPECT_EQ(f.dropItemText, "蝙蝠(Bat)");
    EXPECT_EQ(f.dropChance, "20");
    EXPECT_TRUE(f.showDurabilityBar);
    EXPECT_EQ(f.durability, "");
    EXPECT_EQ(f.description, "第一行\r\n\r\n");
    EXPECT_TRUE(imported.unmatched.empty());
}

TEST(ImportCommands, ReturnsLinesThatFitNoFieldInTheirOrder) {
    const ImportedItem imported = importCommands(
        "\r\n/rpgitem sword display 剑\r\n"
        "/rpgitem other display 别的\r\n"   // another id
        "/give @p diamond_sword\r\n"        // another command
        "/rpgitem sword dispaly typo\r\n"   // a typo
        "/rpgitem sword display again\r\n"  // the field is taken: it would be lost
        "/rpgitem sword give\r\n/rpgitem sword give\r\n"
        "/rpgitem sword drop Dragon 5\r\n"  // no such mob
        "/rpgitem sword drop Bat \r\n"      // no chance
        "/rpgitem sword keep enchant maybe\r\n"
        "/rpgitem sword display \r\n"  // nothing to set
        "/rpgitem sword permission x\r\n"
        "/rpgitem sword\r\n"
        "   /rpgitem sword lore 指环\r\n");  // leading blanks are tolerated
    EXPECT_EQ(imported.form.displayName, "剑");
    EXPECT_EQ(imported.form.lore, "指环");
    EXPECT_TRUE(imported.form.giveItem);
    EXPECT_EQ(imported.unmatched,
              (std::vector<std::string>{"/rpgitem other display 别的", "/give @p diamond_sword",
                                        "/rpgitem sword dispaly typo", "/rpgitem sword display again",
                                        "/rpgitem sword give", "/rpgitem sword drop Dragon 5",
                                        "/rpgitem sword drop Bat ", "/rpgitem sword keep enchant maybe",
                                        "/rpgitem sword display ", "/rpgitem sword permission x", "/rpgitem sword"}));
}

TEST(ImportCommands, NothingToImportGivesAnEmptyForm) {
    for (std::string_view text : {"", "\r\n\r\n", "hello"}) {
        const ImportedItem imported = importCommands(text);
        EXPECT_EQ(imported.id, "");
        EXPECT_TRUE(composeCommands(imported.form).empty());
    }
}
