#include "editor/command_import.h"

#include <algorithm>
#include <array>

#include "editor/effect_powers.h"
#include "editor/layout.h"
#include "editor/skill_powers.h"
#include "editor/text.h"

namespace editor {

namespace {

constexpr std::string_view kCommandPrefix = "/rpgitem ";

// Sub-commands that carry one field verbatim: word + value.
struct WordField {
    std::string_view word;
    std::string ItemForm::*field;
};

constexpr std::array kWordFields{
    WordField{"display ", &ItemForm::displayName},     WordField{"hand ", &ItemForm::hand},
    WordField{"type ", &ItemForm::itemType},           WordField{"lore ", &ItemForm::lore},
    WordField{"disappear  ", &ItemForm::disappear},    WordField{"costexp ", &ItemForm::costExp},
    WordField{"costmoney ", &ItemForm::costMoney},     WordField{"level ", &ItemForm::level},
    WordField{"repairprice ", &ItemForm::repairPrice}, WordField{"damage ", &ItemForm::damage},
    WordField{"armour ", &ItemForm::armour},           WordField{"durability ", &ItemForm::durability},
};

struct PowerKind {
    std::string prefix;  // the pattern's text before its first placeholder
    std::vector<std::string> ItemForm::*list;
};

std::vector<PowerKind> powerKinds() {
    std::vector<PowerKind> kinds;
    const auto add = [&](const std::vector<std::string_view>& patterns, std::vector<std::string> ItemForm::*list) {
        for (std::string_view pattern : patterns)
            kinds.push_back({std::string(pattern.substr(0, pattern.find('{'))), list});
    };
    add(skillPatterns(), &ItemForm::skillPowers);
    add(potionPatterns(), &ItemForm::potionPowers);
    add(consumePatterns(), &ItemForm::consumePowers);
    return kinds;
}

// The drop combo's item whose text holds "(" + mob + ")".
int dropSelectionOf(std::string_view mob) {
    const auto items = creatureItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (textBetween(items[i], "(", ")") == mob) return static_cast<int>(i);
    }
    return -1;
}

class Importer {
public:
    Importer() { form_.giveItem = false; }

    // Sets the field `subCommand` stands for; false when it stands for none,
    // or only for fields an earlier line already set (it would be lost).
    bool read(std::string_view sub) {
        if (sub == "remove") return claim(removeSeen_);
        if (sub == "create") return claim(createSeen_);
        // "durability togglebar" may also be a durability value of that name.
        ++lineNumber_;
        if (sub == "durability togglebar" && claim(form_.showDurabilityBar)) {
            barLine_ = lineNumber_;
            return true;
        }
        if (sub == "durability infinite" && claim(form_.infiniteDurability)) {
            infiniteLine_ = lineNumber_;
            return true;
        }
        if (sub == "recipe 1") return claim(form_.customRecipe);
        if (sub == "removerecipe") return claim(form_.removeRecipe);
        if (sub == "give") return claim(form_.giveItem);
        if (sub == "keep enchant true") return claimSelection(form_.keepEnchant, 0);
        if (sub == "keep enchant false") return claimSelection(form_.keepEnchant, 1);
        if (sub.starts_with("description desc add ")) {
            descriptionLines_.emplace_back(sub.substr(21));
            return true;
        }
        if (sub.starts_with("permission ")) return readPermission(sub.substr(11));
        if (sub.starts_with("item ")) return readMaterial(sub.substr(5));
        if (sub.starts_with("drop ")) return readDrop(sub.substr(5));
        if (sub.starts_with("power ")) return readPower(sub.substr(6));
        for (const WordField& word : kWordFields) {
            if (sub.starts_with(word.word)) return claimText(form_.*word.field, sub.substr(word.word.size()));
        }
        return false;
    }

    ItemForm finish() {
        // The composer writes a durability value before both flags, so an
        // "infinite" ahead of the bar flag was the value of that name.
        if (infiniteLine_ && barLine_ && infiniteLine_ < barLine_ && form_.durability.empty()) {
            form_.durability = "infinite";
            form_.infiniteDurability = false;
        }
        // splitLines drops the empty piece after a final break, so a last
        // empty line needs that break written out.
        for (std::size_t i = 0; i < descriptionLines_.size(); ++i) {
            if (i > 0) form_.description += kLineBreak;
            form_.description += descriptionLines_[i];
        }
        if (!descriptionLines_.empty() && descriptionLines_.back().empty()) form_.description += kLineBreak;
        return std::move(form_);
    }

private:
    static bool claim(bool& flag) { return !flag && (flag = true); }

    static bool claimText(std::string& field, std::string_view value) {
        if (!field.empty() || value.empty()) return false;
        field = value;
        return true;
    }

    static bool claimSelection(int& selection, int value) {
        if (selection != -1) return false;
        selection = value;
        return true;
    }

    // "permission " + value + " true"
    bool readPermission(std::string_view rest) {
        constexpr std::string_view kTail = " true";
        if (rest.size() <= kTail.size() || !rest.ends_with(kTail)) return false;
        return claimText(form_.permission, rest.substr(0, rest.size() - kTail.size()));
    }

    // "item " + material + " " + data value; the material is never empty.
    bool readMaterial(std::string_view rest) {
        const std::size_t blank = rest.find(' ', 1);
        if (blank == std::string_view::npos || !form_.materialId.empty()) return false;
        form_.materialId = rest.substr(0, blank);
        form_.dataValue = rest.substr(blank + 1);
        return true;
    }

    // "drop " + mob + " " + chance
    bool readDrop(std::string_view rest) {
        const std::size_t blank = rest.find(' ');
        if (blank == std::string_view::npos || form_.dropSelection != -1) return false;
        const int selection = dropSelectionOf(rest.substr(0, blank));
        const std::string_view chance = rest.substr(blank + 1);
        if (selection == -1 || chance.empty()) return false;
        form_.dropSelection = selection;
        form_.dropItemText = creatureItems()[static_cast<std::size_t>(selection)];
        form_.dropChance = chance;
        return true;
    }

    bool readPower(std::string_view entry) {
        const PowerKind* best = nullptr;
        for (const PowerKind& kind : kinds_) {
            if (entry.starts_with(kind.prefix) && (!best || kind.prefix.size() > best->prefix.size())) best = &kind;
        }
        if (!best) return false;
        (form_.*best->list).emplace_back(entry);
        return true;
    }

    ItemForm form_;
    std::vector<PowerKind> kinds_ = powerKinds();
    std::vector<std::string> descriptionLines_;
    std::size_t lineNumber_ = 0;
    std::size_t barLine_ = 0;
    std::size_t infiniteLine_ = 0;
    bool removeSeen_ = false;
    bool createSeen_ = false;
};

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        from = end + 1;
    }
    return lines;
}

}  // namespace

ImportedItem importCommands(std::string_view text) {
    ImportedItem result;
    Importer importer;
    bool haveId = false;
    for (std::string_view line : linesOf(text)) {
        std::string_view command = line.substr(std::min(line.find_first_not_of(" \t"), line.size()));
        if (command.empty()) continue;
        bool matched = false;
        if (command.starts_with(kCommandPrefix)) {
            command.remove_prefix(kCommandPrefix.size());
            const std::size_t blank = command.find(' ');
            const std::string_view id = command.substr(0, blank);
            if (blank != std::string_view::npos && !id.empty() && (!haveId || id == result.id)) {
                if (!haveId) result.id = id;
                haveId = true;
                matched = importer.read(command.substr(blank + 1));
            }
        }
        if (!matched) result.unmatched.emplace_back(line);
    }
    result.form = importer.finish();
    result.form.id = result.id;
    return result;
}

}  // namespace editor
