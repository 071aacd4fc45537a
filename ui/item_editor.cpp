#include "ui/item_editor.h"

#include "editor/compose.h"
#include "editor/control_names.h"
#include "ui/editor_window.h"

namespace ui {

editor::ItemForm readItemForm(const EditorWindow& w) {
    editor::ItemForm form;
    form.id = w.text(editor::kIdBox);
    form.displayName = w.text(editor::kDisplayNameBox);
    form.hand = w.text(editor::kHandBox);
    form.itemType = w.text(editor::kTypeBox);
    form.lore = w.text(editor::kLoreBox);
    form.disappear = w.text(editor::kDisappearBox);
    form.costExp = w.text(editor::kCostExpBox);
    form.costMoney = w.text(editor::kCostMoneyBox);
    form.level = w.text(editor::kLevelBox);
    form.repairPrice = w.text(editor::kRepairPriceBox);
    form.permission = w.text(editor::kPermissionBox);
    form.description = w.text(editor::kDescriptionBox);
    form.materialId = w.text(editor::kMaterialBox);
    form.dataValue = w.text(editor::kDataValueBox);
    form.damage = w.text(editor::kDamageBox);
    form.armour = w.text(editor::kArmourBox);
    form.durability = w.text(editor::kDurabilityBox);
    form.showDurabilityBar = w.isChecked(editor::kDurabilityBarCheck);
    form.infiniteDurability = w.isChecked(editor::kInfiniteDurabilityCheck);
    form.customRecipe = w.isChecked(editor::kCustomRecipeCheck);
    form.removeRecipe = w.isChecked(editor::kRemoveRecipeCheck);
    form.keepEnchant = w.selection(editor::kKeepEnchantCombo);
    form.skillPowers = w.listItems(editor::kSkillList);
    form.potionPowers = w.listItems(editor::kPotionList);
    form.dropSelection = w.selection(editor::kDropMobCombo);
    form.dropItemText = w.selectedItemText(editor::kDropMobCombo);
    form.dropChance = w.text(editor::kDropChanceBox);
    form.consumePowers = w.listItems(editor::kConsumeList);
    form.giveItem = w.isChecked(editor::kGiveCheck);
    return form;
}

void emitCommand(EditorWindow& w, std::string_view subCommand) {
    w.output().append(editor::commandLine(w.text(editor::kIdBox), subCommand));
}

void refreshOutput(EditorWindow& w) {
    OutputBox& output = w.output();
    OutputBox::Batch batch(output);
    output.setText("");
    for (const std::string& subCommand : editor::composeCommands(readItemForm(w))) emitCommand(w, subCommand);
}

void sizeGuard(EditorWindow& w) {
    HWND hwnd = w.hwnd();
    RECT rc;
    GetWindowRect(hwnd, &rc);
    constexpr UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(hwnd, nullptr, 0, 0, editor::kWindowWidth, rc.bottom - rc.top, flags);
    SetWindowPos(hwnd, nullptr, 0, 0, editor::kWindowWidth, editor::kWindowHeight, flags);
}

}  // namespace ui
