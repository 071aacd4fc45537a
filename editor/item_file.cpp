#include "editor/item_file.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "editor/compose.h"
#include "editor/control_names.h"
#include "editor/layout.h"
#include "editor/text.h"

namespace editor {

namespace {

using enum ItemFileKind;

constexpr std::array kFields{
    ItemFileField{"item", "id", kIdBox, Text},
    ItemFileField{"item", "display", kDisplayNameBox, Text},
    ItemFileField{"item", "hand", kHandBox, Text},
    ItemFileField{"item", "type", kTypeBox, Text},
    ItemFileField{"item", "lore", kLoreBox, Text},
    ItemFileField{"item", "description", kDescriptionBox, Text},
    ItemFileField{"attributes", "material", kMaterialBox, Text},
    ItemFileField{"attributes", "data", kDataValueBox, Text},
    ItemFileField{"attributes", "damage", kDamageBox, Text},
    ItemFileField{"attributes", "armour", kArmourBox, Text},
    ItemFileField{"attributes", "durability", kDurabilityBox, Text},
    ItemFileField{"attributes", "durability_bar", kDurabilityBarCheck, Check},
    ItemFileField{"attributes", "infinite_durability", kInfiniteDurabilityCheck, Check},
    ItemFileField{"attributes", "disappear", kDisappearBox, Text},
    ItemFileField{"attributes", "custom_recipe", kCustomRecipeCheck, Check},
    ItemFileField{"attributes", "remove_recipe", kRemoveRecipeCheck, Check},
    ItemFileField{"attributes", "give", kGiveCheck, Check},
    ItemFileField{"usage", "cost_exp", kCostExpBox, Text},
    ItemFileField{"usage", "cost_money", kCostMoneyBox, Text},
    ItemFileField{"usage", "level", kLevelBox, Text},
    ItemFileField{"usage", "repair_price", kRepairPriceBox, Text},
    ItemFileField{"usage", "permission", kPermissionBox, Text},
    ItemFileField{"usage", "keep_enchant", kKeepEnchantCombo, Selection},
    ItemFileField{"skills", "", kSkillList, List},
    ItemFileField{"potions", "", kPotionList, List},
    ItemFileField{"drop", "mob", kDropMobCombo, Selection},
    ItemFileField{"drop", "chance", kDropChanceBox, Text},
    ItemFileField{"consumes", "", kConsumeList, List},
    ItemFileField{"skill_editor", "skill", kSkillCombo, Selection},
    ItemFileField{"skill_editor", "trigger", kSkillTriggerCombo, Selection},
    ItemFileField{"skill_editor", "time", kSkillTimeBox, Text},
    ItemFileField{"skill_editor", "chance", kSkillChanceBox, Text},
    ItemFileField{"skill_editor", "power", kSkillPowerBox, Text},
    ItemFileField{"skill_editor", "material", kSkillMaterialBox, Text},
    ItemFileField{"skill_editor", "distance", kSkillDistanceBox, Text},
    ItemFileField{"skill_editor", "multiplier", kSkillMultiplierBox, Text},
    ItemFileField{"skill_editor", "count", kSkillCountBox, Text},
    ItemFileField{"skill_editor", "delay", kSkillDelayBox, Text},
    ItemFileField{"skill_editor", "projectile", kProjectileCombo, Selection},
    ItemFileField{"skill_editor", "breaks_blocks", kBreaksBlocksCombo, Selection},
    ItemFileField{"skill_editor", "sets_fire", kSetsFireCombo, Selection},
    ItemFileField{"skill_editor", "block_kind", kBlockKindCombo, Selection},
    ItemFileField{"skill_editor", "rain_radius", kRainRadiusBox, Text},
    ItemFileField{"skill_editor", "rain_height", kRainHeightBox, Text},
    ItemFileField{"skill_editor", "rain_power", kRainPowerBox, Text},
    ItemFileField{"skill_editor", "rain_delay", kRainDelayBox, Text},
    ItemFileField{"skill_editor", "rain_count", kRainCountBox, Text},
    ItemFileField{"potion_editor", "hit", kPotionHitRadio, Check},
    ItemFileField{"potion_editor", "purge", kPotionPurgeRadio, Check},
    ItemFileField{"potion_editor", "throw", kPotionThrowRadio, Check},
    ItemFileField{"potion_editor", "self", kPotionSelfRadio, Check},
    ItemFileField{"potion_editor", "effect", kPotionEffectCombo, Selection},
    ItemFileField{"potion_editor", "effect_class", kPotionEffectClassCombo, Selection},
    ItemFileField{"potion_editor", "trigger", kPotionTriggerCombo, Selection},
    ItemFileField{"potion_editor", "chance", kPotionChanceBox, Text},
    ItemFileField{"potion_editor", "duration", kPotionDurationBox, Text},
    ItemFileField{"potion_editor", "level", kPotionLevelBox, Text},
    ItemFileField{"potion_editor", "cooldown", kPotionCooldownBox, Text},
    ItemFileField{"consume_editor", "consume", kConsumeRadio, Check},
    ItemFileField{"consume_editor", "food", kFoodRadio, Check},
    ItemFileField{"consume_editor", "trigger", kConsumeTriggerCombo, Selection},
    ItemFileField{"consume_editor", "saturation", kSaturationBox, Text},
};

constexpr std::string_view kFileSection = "file";
constexpr std::string_view kFormatKey = "format";
constexpr std::string_view kFormat = "1";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isListKey(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Numeric order of digit strings of any length.
bool listKeyLess(std::string_view a, std::string_view b) {
    const auto significant = [](std::string_view k) { return k.substr(std::min(k.find_first_not_of('0'), k.size())); };
    a = significant(a), b = significant(b);
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::span<const std::string_view> itemsOf(std::string_view control) { return controlNamed(control).items; }

bool isMultiLine(std::string_view control) { return (controlNamed(control).editStyle & kMultiLine) != 0; }

std::string keyName(const ItemFileField& field) { return std::string(field.section) + "." + std::string(field.key); }

std::string quoted(std::string_view value) {
    constexpr std::size_t kShown = 40;
    std::string shown(value.substr(0, kShown));
    while (!shown.empty() && !isValidUtf8(shown)) shown.pop_back();  // never cut a character in two
    return "“" + shown + (value.size() > kShown ? "…" : "") + "”";
}

std::optional<bool> readCheck(std::string_view value) {
    if (value == "true" || value == "1") return true;
    if (value == "false" || value == "0") return false;
    return std::nullopt;
}

// The item's index: its whole text, or else its key; -1 for "".
std::optional<int> readSelection(std::string_view control, std::string_view value) {
    if (value.empty()) return -1;
    const auto items = itemsOf(control);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == value) return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (itemKey(items[i]) == value) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string selectionText(std::string_view control, int index) {
    const auto items = itemsOf(control);
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return {};
    return std::string(items[static_cast<std::size_t>(index)]);
}

// The list's entries in number order; a message when one holds a line break.
std::string readList(const ItemFileField& field, const IniDocument::Section& section, std::vector<std::string>& items) {
    std::vector<const IniDocument::Entry*> numbered;
    for (const auto& entry : section.entries) {
        if (isListKey(entry.key)) numbered.push_back(&entry);
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto* a, const auto* b) { return listKeyLess(a->key, b->key); });
    items.reserve(numbered.size());
    for (const auto* entry : numbered) {
        // An LF, alone or after CR, would compose into a line of its own.
        if (entry->value.find('\n') != std::string::npos) {
            return "键 " + std::string(field.section) + "." + entry->key + " 的值含有换行，但列表的一项只能有一行。";
        }
        items.push_back(entry->value);
    }
    return {};
}

// Reads one field into `data`; a message when its value is of the wrong kind.
std::string readField(const ItemFileField& field, const IniDocument& document, ItemFileData& data) {
    const std::string control(field.control);
    if (field.kind == List) {
        const auto* section = document.section(field.section);
        return section ? readList(field, *section, data.lists[control]) : std::string();
    }
    const auto value = document.value(field.section, field.key);
    if (!value) return {};
    switch (field.kind) {
    case Text:
        // A lone CR or LF is a character the box holds; CR LF is a line break.
        if (!isMultiLine(field.control) && value->find(kLineBreak) != std::string_view::npos) {
            return "键 " + keyName(field) + " 的值含有换行，但它只能有一行。";
        }
        data.texts[control] = std::string(*value);
        return {};
    case Check:
        if (const auto check = readCheck(*value)) {
            data.checks[control] = *check;
            return {};
        }
        return "键 " + keyName(field) + " 的值" + quoted(*value) + "不是 true 或 false。";
    case Selection:
        if (const auto index = readSelection(field.control, *value)) {
            data.selections[control] = *index;
            return {};
        }
        return "键 " + keyName(field) + " 的值" + quoted(*value) + "不是可选的项目。";
    case List:
        break;
    }
    return {};
}

// The control's state in a new form, for a field the file leaves out.
void addNewFormState(const ItemFileField& field, ItemFileData& data) {
    const Control& control = controlNamed(field.control);
    const std::string name(field.control);
    switch (field.kind) {
    case Text:
        data.texts.try_emplace(name, control.text);
        break;
    case Check:
        data.checks.try_emplace(name, control.checked);
        break;
    case Selection:
        data.selections.try_emplace(name, -1);
        break;
    case List:
        data.lists.try_emplace(name);
        break;
    }
}

bool hasItemSection(const IniDocument& document) {
    if (document.section(kItemFileOutputSection) || document.section(kFileSection)) return true;
    return std::any_of(kFields.begin(), kFields.end(), [&](const auto& f) { return document.section(f.section); });
}

bool isBinary(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f';
    });
}

std::string megabytes(std::size_t bytes) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return buffer;
}

// In place of the old entries, so that their comments and their order among
// the section's other keys stay.
void writeList(IniDocument& document, std::string_view section, const std::vector<std::string>& items) {
    std::vector<std::pair<std::string, std::string>> numbered;
    numbered.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) numbered.emplace_back(std::to_string(i + 1), items[i]);
    document.replaceKeysIf(section, isListKey, numbered);
}

// The form's fields by control name, in one place for both directions.
struct FormBinding {
    std::string_view control;
    std::string ItemForm::*text = nullptr;
    bool ItemForm::*check = nullptr;
    int ItemForm::*selection = nullptr;
    std::vector<std::string> ItemForm::*list = nullptr;
};

const std::array kFormBindings{
    FormBinding{kIdBox, &ItemForm::id},
    FormBinding{kDisplayNameBox, &ItemForm::displayName},
    FormBinding{kHandBox, &ItemForm::hand},
    FormBinding{kTypeBox, &ItemForm::itemType},
    FormBinding{kLoreBox, &ItemForm::lore},
    FormBinding{kDisappearBox, &ItemForm::disappear},
    FormBinding{kCostExpBox, &ItemForm::costExp},
    FormBinding{kCostMoneyBox, &ItemForm::costMoney},
    FormBinding{kLevelBox, &ItemForm::level},
    FormBinding{kRepairPriceBox, &ItemForm::repairPrice},
    FormBinding{kPermissionBox, &ItemForm::permission},
    FormBinding{kDescriptionBox, &ItemForm::description},
    FormBinding{kMaterialBox, &ItemForm::materialId},
    FormBinding{kDataValueBox, &ItemForm::dataValue},
    FormBinding{kDamageBox, &ItemForm::damage},
    FormBinding{kArmourBox, &ItemForm::armour},
    FormBinding{kDurabilityBox, &ItemForm::durability},
    FormBinding{kDropChanceBox, &ItemForm::dropChance},
    FormBinding{.control = kDurabilityBarCheck, .check = &ItemForm::showDurabilityBar},
    FormBinding{.control = kInfiniteDurabilityCheck, .check = &ItemForm::infiniteDurability},
    FormBinding{.control = kCustomRecipeCheck, .check = &ItemForm::customRecipe},
    FormBinding{.control = kRemoveRecipeCheck, .check = &ItemForm::removeRecipe},
    FormBinding{.control = kGiveCheck, .check = &ItemForm::giveItem},
    FormBinding{.control = kKeepEnchantCombo, .selection = &ItemForm::keepEnchant},
    FormBinding{.control = kDropMobCombo, .selection = &ItemForm::dropSelection},
    FormBinding{.control = kSkillList, .list = &ItemForm::skillPowers},
    FormBinding{.control = kPotionList, .list = &ItemForm::potionPowers},
    FormBinding{.control = kConsumeList, .list = &ItemForm::consumePowers},
};

}  // namespace

std::span<const ItemFileField> itemFileFields() { return kFields; }

const ItemFileField* itemFileFieldOf(std::string_view control) {
    for (const auto& field : kFields) {
        if (field.control == control) return &field;
    }
    return nullptr;
}

ParsedItemFile parseItemFile(std::string_view bytes, const Cp936ToUtf8& cp936ToUtf8) {
    if (bytes.size() > kMaxItemFileBytes) {
        return {std::nullopt,
                "文件太大（" + megabytes(bytes.size()) + "），物品文件不能超过 " + megabytes(kMaxItemFileBytes) + "。"};
    }
    std::string_view body = bytes.starts_with(kByteOrderMark) ? bytes.substr(kByteOrderMark.size()) : bytes;
    if (body.find_first_not_of(" \t\r\n") == std::string_view::npos) return {std::nullopt, "文件是空的。"};
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return {std::nullopt, "文件是 UTF-16 编码的，请把它另存为 UTF-8 后再打开。"};
    }
    if (isBinary(bytes)) return {std::nullopt, "文件含有二进制数据，不是文本文件。"};

    DecodedText text = decodeText(bytes, cp936ToUtf8);
    if (!text.text) return {std::nullopt, std::move(text.error)};
    IniDocument::Parsed ini = IniDocument::parse(*text.text);
    if (!ini.document) return {std::nullopt, "文件已损坏或不完整：" + ini.error};
    if (!hasItemSection(*ini.document)) return {std::nullopt, "文件里没有物品的任何一节（如 [item]），不是物品文件。"};
    if (const auto format = ini.document->value(kFileSection, kFormatKey); format && *format != kFormat) {
        return {std::nullopt,
                "文件的格式版本" + quoted(*format) + "不是本程序能读的版本 " + std::string(kFormat) + "。"};
    }

    ItemFileData data;
    for (const auto& field : kFields) {
        if (std::string problem = readField(field, *ini.document, data); !problem.empty()) {
            return {std::nullopt, std::move(problem)};
        }
        addNewFormState(field, data);
    }
    if (const auto output = ini.document->value(kItemFileOutputSection, kItemFileOutputKey)) {
        data.handEditedOutput = std::string(*output);
    }
    data.document = std::move(*ini.document);
    return {std::move(data), {}};
}

std::string serializeItemFile(const ItemFileData& data) {
    IniDocument document = data.document;
    document.setValue(kFileSection, kFormatKey, kFormat);
    for (const auto& field : kFields) {
        switch (field.kind) {
        case Text:
            if (auto found = data.texts.find(field.control); found != data.texts.end()) {
                document.setValue(field.section, field.key, found->second);
            }
            break;
        case Check:
            if (auto found = data.checks.find(field.control); found != data.checks.end()) {
                document.setValue(field.section, field.key, found->second ? "true" : "false");
            }
            break;
        case Selection:
            if (auto found = data.selections.find(field.control); found != data.selections.end()) {
                document.setValue(field.section, field.key, selectionText(field.control, found->second));
            }
            break;
        case List:
            if (auto found = data.lists.find(field.control); found != data.lists.end()) {
                writeList(document, field.section, found->second);
            }
            break;
        }
    }
    if (data.handEditedOutput) {
        document.setValue(kItemFileOutputSection, kItemFileOutputKey, *data.handEditedOutput);
    } else {
        document.removeKey(kItemFileOutputSection, kItemFileOutputKey);
        if (const auto* output = document.section(kItemFileOutputSection); output && output->entries.empty()) {
            document.removeSection(kItemFileOutputSection);
        }
    }
    return document.serialize();
}

ItemFileData itemFileDataOf(const ItemForm& form) {
    ItemFileData data;
    for (const FormBinding& b : kFormBindings) {
        const std::string control(b.control);
        if (b.text) data.texts[control] = form.*b.text;
        if (b.check) data.checks[control] = form.*b.check;
        if (b.selection) data.selections[control] = form.*b.selection;
        if (b.list) data.lists[control] = form.*b.list;
    }
    return data;
}

ItemForm itemFormOf(const ItemFileData& data) {
    ItemForm form;
    for (const FormBinding& b : kFormBindings) {
        if (auto t = data.texts.find(b.control); b.text && t != data.texts.end()) form.*b.text = t->second;
        if (auto c = data.checks.find(b.control); b.check && c != data.checks.end()) form.*b.check = c->second;
        if (auto s = data.selections.find(b.control); b.selection && s != data.selections.end()) {
            form.*b.selection = s->second;
        }
        if (auto l = data.lists.find(b.control); b.list && l != data.lists.end()) form.*b.list = l->second;
    }
    form.dropItemText = selectionText(kDropMobCombo, form.dropSelection);
    return form;
}

std::string outputTextOf(const ItemFileData& data) {
    return data.handEditedOutput ? *data.handEditedOutput : composeText(itemFormOf(data));
}

}  // namespace editor
