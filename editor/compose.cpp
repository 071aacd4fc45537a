#include "editor/compose.h"

#include "editor/text.h"

namespace editor {

namespace {

void addIfSet(CommandList& out, std::string_view word, const std::string& value) {
    if (!value.empty()) out.push_back(std::string(word) + value);
}

void addPowers(CommandList& out, const std::vector<std::string>& powers) {
    for (const auto& power : powers) out.push_back("power " + power);
}

}  // namespace

CommandList composeCommands(const ItemForm& f) {
    CommandList out;
    if (f.id.empty()) return out;
    out.emplace_back("remove");
    out.emplace_back("create");
    addIfSet(out, "display ", f.displayName);
    addIfSet(out, "hand ", f.hand);
    addIfSet(out, "type ", f.itemType);
    addIfSet(out, "lore ", f.lore);
    addIfSet(out, "disappear  ", f.disappear);  // the plug-in's word takes two blanks
    addIfSet(out, "costexp ", f.costExp);
    addIfSet(out, "costmoney ", f.costMoney);
    addIfSet(out, "level ", f.level);
    addIfSet(out, "repairprice ", f.repairPrice);
    if (!f.permission.empty()) out.push_back("permission " + f.permission + " true");
    for (const auto& piece : splitLines(f.description)) out.push_back("description desc add " + piece);
    if (!f.materialId.empty()) out.push_back("item " + f.materialId + " " + f.dataValue);
    addIfSet(out, "damage ", f.damage);
    addIfSet(out, "armour ", f.armour);
    addIfSet(out, "durability ", f.durability);
    if (f.showDurabilityBar) out.emplace_back("durability togglebar");
    if (f.infiniteDurability) out.emplace_back("durability infinite");
    if (f.customRecipe) out.emplace_back("recipe 1");
    if (f.removeRecipe) out.emplace_back("removerecipe");
    if (f.keepEnchant == 0) out.emplace_back("keep enchant true");
    if (f.keepEnchant == 1) out.emplace_back("keep enchant false");
    addPowers(out, f.skillPowers);
    addPowers(out, f.potionPowers);
    if (f.dropSelection != -1 && !f.dropChance.empty()) {
        out.push_back("drop " + textBetween(f.dropItemText, "(", ")") + " " + f.dropChance);
    }
    addPowers(out, f.consumePowers);
    if (f.giveItem) out.emplace_back("give");
    return out;
}

std::string commandLine(std::string_view id, std::string_view subCommand) {
    std::string line;
    line.reserve(9 + id.size() + 1 + subCommand.size() + 2);
    line.append("/rpgitem ").append(id).append(" ").append(subCommand).append(kLineBreak);
    return line;
}

std::string composeText(const ItemForm& form) {
    std::string text;
    for (const std::string& subCommand : composeCommands(form)) text += commandLine(form.id, subCommand);
    return text;
}

}  // namespace editor
