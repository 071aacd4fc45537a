#include "tests/cli/generated_forms.h"

#include <string>
#include <vector>

#include "editor/control_names.h"
#include "editor/layout.h"

namespace cli_test {

namespace {

std::string pick(std::mt19937& random, const std::vector<std::string>& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
}

}  // namespace

editor::ItemForm generatedForm(std::mt19937& random) {
    const std::vector<std::string> words = {"",         "",    "剑",  "&a绿色的剑", "§c火焰 之刃", "10",
                                            "  空格  ", "a|b", "50%", "😀",          "<<<END",      "="};
    const auto word = [&] { return pick(random, words); };
    editor::ItemForm f;
    f.id = pick(random, {"sword", "剑", "long id 1"});
    f.displayName = word();
    f.hand = word();
    f.itemType = word();
    f.lore = word();
    f.disappear = word();
    f.costExp = word();
    f.costMoney = word();
    f.level = word();
    f.repairPrice = word();
    f.permission = word();
    f.description = pick(random, {"", "第一行", "第一行\r\n  第二行  \r\n", "a\r\n\r\nb"});
    f.materialId = word();
    f.dataValue = word();
    f.damage = word();
    f.armour = word();
    f.durability = word();
    f.showDurabilityBar = random() % 2;
    f.infiniteDurability = random() % 2;
    f.customRecipe = random() % 2;
    f.removeRecipe = random() % 2;
    f.keepEnchant = static_cast<int>(random() % 3) - 1;
    for (auto* list : {&f.skillPowers, &f.potionPowers, &f.consumePowers}) {
        for (std::size_t n = random() % 3; n > 0; --n)
            list->push_back(pick(random, {"arrow 20", "potionhit 2 5 SPEED 1", "consume"}));
    }
    const auto drops = editor::controlNamed(editor::kDropMobCombo).items;
    f.dropSelection = static_cast<int>(random() % (drops.size() + 1)) - 1;
    f.dropItemText = f.dropSelection < 0 ? "" : std::string(drops[static_cast<std::size_t>(f.dropSelection)]);
    f.dropChance = word();
    f.giveItem = random() % 2;
    return f;
}

}  // namespace cli_test
