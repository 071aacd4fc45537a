// A snapshot of the item form: what the composer reads, nothing else.
#pragma once

#include <string>
#include <vector>

namespace editor {

struct ItemForm {
    std::string id;
    std::string displayName;
    std::string hand;
    std::string itemType;
    std::string lore;
    std::string disappear;
    std::string costExp;
    std::string costMoney;
    std::string level;
    std::string repairPrice;
    std::string permission;
    std::string description;  // several lines, CR LF between them
    std::string materialId;
    std::string dataValue;
    std::string damage;
    std::string armour;
    std::string durability;
    bool showDurabilityBar = false;
    bool infiniteDurability = false;
    bool customRecipe = false;
    bool removeRecipe = false;
    int keepEnchant = -1;  // selection index: -1 none, 0 true, 1 false
    std::vector<std::string> skillPowers;
    std::vector<std::string> potionPowers;
    int dropSelection = -1;
    std::string dropItemText;
    std::string dropChance;
    std::vector<std::string> consumePowers;
    bool giveItem = true;
};

// Ordered command lines, each without a line break.
using CommandList = std::vector<std::string>;

}  // namespace editor
