#include "ui/item_editor.h"

#include "editor/compose.h"
#include "ui/editor_window.h"

ItemForm readItemForm(const EditorWindow& w) {
    ItemForm form;
    form.id = w.text("编辑框2");
    form.displayName = w.text("编辑框3");
    form.hand = w.text("编辑框4");
    form.itemType = w.text("编辑框5");
    form.lore = w.text("编辑框6");
    form.disappear = w.text("编辑框7");
    form.costExp = w.text("编辑框18");
    form.costMoney = w.text("编辑框19");
    form.level = w.text("编辑框21");
    form.repairPrice = w.text("编辑框22");
    form.permission = w.text("编辑框23");
    form.description = w.text("编辑框13");
    form.materialId = w.text("编辑框8");
    form.dataValue = w.text("编辑框12");
    form.damage = w.text("编辑框9");
    form.armour = w.text("编辑框11");
    form.durability = w.text("编辑框10");
    form.showDurabilityBar = w.isChecked("选择框1");
    form.infiniteDurability = w.isChecked("选择框2");
    form.customRecipe = w.isChecked("选择框3");
    form.removeRecipe = w.isChecked("选择框5");
    form.keepEnchant = w.selection("组合框5");
    form.skillPowers = w.listItems("列表框_技能");
    form.potionPowers = w.listItems("列表框_药水");
    form.dropSelection = w.selection("组合框_掉落");
    form.dropItemText = w.selectedItemText("组合框_掉落");
    form.dropChance = w.text("编辑框_掉落");
    form.consumePowers = w.listItems("列表框_消耗");
    form.giveItem = w.isChecked("选择框4");
    return form;
}

void emitCommand(EditorWindow& w, std::string_view subCommand) {
    w.output().append(commandLine(w.text("编辑框2"), subCommand));
}

void refreshOutput(EditorWindow& w) {
    OutputBox& output = w.output();
    OutputBox::Batch batch(output);
    output.setText("");
    for (const std::string& subCommand : composeCommands(readItemForm(w))) emitCommand(w, subCommand);
}

void sizeGuard(EditorWindow& w) {
    HWND hwnd = w.hwnd();
    RECT rc;
    GetWindowRect(hwnd, &rc);
    constexpr UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(hwnd, nullptr, 0, 0, layout::kWindowWidth, rc.bottom - rc.top, flags);
    SetWindowPos(hwnd, nullptr, 0, 0, layout::kWindowWidth, layout::kWindowHeight, flags);
}
