#include "editor/command_import.h"

#include <algorithm>
#include <array>
#include <optional>

#include "editor/compose.h"
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

    ItemForm finish(bool powersByOrder) {
        placePowers(powersByOrder);
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
        dropAfterPowers_ = powers_.size();
        form_.dropItemText = creatureItems()[static_cast<std::size_t>(selection)];
        form_.dropChance = chance;
        return true;
    }

    // Every power line is taken; finish() decides its list.
    bool readPower(std::string_view entry) {
        const PowerKind* best = nullptr;
        for (const PowerKind& kind : kinds()) {
            if (entry.starts_with(kind.prefix) && (!best || kind.prefix.size() > best->prefix.size())) best = &kind;
        }
        powers_.push_back({std::string(entry), best ? best->list : nullptr});
        return true;
    }

    // Each power to the list of its kind when that keeps their order as the
    // composer writes them (skills, potions, then consumes) and `byOrder` is
    // false; otherwise (a list filled from a file holds any text) the lines
    // are cut into three runs in their order, where most of them meet their
    // kind, the consume run starting after the drop line when there is one.
    void placePowers(bool byOrder) {
        const std::array lists{&ItemForm::skillPowers, &ItemForm::potionPowers, &ItemForm::consumePowers};
        const auto rank = [&](const Power& p) {
            return static_cast<int>(std::find(lists.begin(), lists.end(), p.list) - lists.begin());
        };
        const bool inOrder = std::is_sorted(powers_.begin(), powers_.end(),
                                            [&](const Power& a, const Power& b) { return rank(a) < rank(b); }) &&
                             std::none_of(powers_.begin(), powers_.end(), [](const Power& p) { return !p.list; });
        if (inOrder && !byOrder) {
            for (Power& p : powers_) (form_.*p.list).push_back(std::move(p.entry));
            return;
        }
        const std::size_t n = powers_.size();
        std::vector<std::size_t> count[3];  // count[r][t]: powers of rank r among the first t
        for (auto& c : count) c.assign(n + 1, 0);
        for (std::size_t t = 0; t < n; ++t) {
            for (int r = 0; r < 3; ++r) count[r][t + 1] = count[r][t] + (rank(powers_[t]) == r ? 1 : 0);
        }
        std::size_t bestI = 0, bestJ = n, bestScore = 0, runI = 0;
        for (std::size_t j = 0; j <= n; ++j) {
            // The best skill run for a potion run ending at j.
            if (count[0][j] - count[1][j] > count[0][runI] - count[1][runI]) runI = j;
            if (dropAfterPowers_ && j != *dropAfterPowers_) continue;
            const std::size_t score = count[0][runI] + (count[1][j] - count[1][runI]) + (count[2][n] - count[2][j]);
            if (score >= bestScore) bestScore = score, bestI = runI, bestJ = j;
        }
        for (std::size_t t = 0; t < n; ++t) {
            auto list = lists[t < bestI ? 0 : t < bestJ ? 1 : 2];
            (form_.*list).push_back(std::move(powers_[t].entry));
        }
    }

    static const std::vector<PowerKind>& kinds() {
        static const std::vector<PowerKind> all = powerKinds();
        return all;
    }

    struct Power {
        std::string entry;
        std::vector<std::string> ItemForm::*list;  // by its kind; nullptr for none
    };

    ItemForm form_;
    std::vector<Power> powers_;
    std::optional<std::size_t> dropAfterPowers_;  // power lines before the drop line
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

std::string composedText(const ItemForm& form) {
    std::string out;
    for (const std::string& sub : composeCommands(form)) out += commandLine(form.id, sub);
    return out;
}

// The line without its leading blanks.
std::string_view commandOf(std::string_view line) {
    return line.substr(std::min(line.find_first_not_of(" \t"), line.size()));
}

// How many of the lines an import with `id` would place.
std::size_t placedWith(std::string_view id, const std::vector<std::string_view>& lines) {
    Importer trial;
    std::size_t placed = 0;
    for (std::string_view line : lines) {
        std::string_view command = commandOf(line);
        if (!command.starts_with(kCommandPrefix)) continue;
        command.remove_prefix(kCommandPrefix.size());
        if (command.size() > id.size() && command.starts_with(id) && command[id.size()] == ' ' &&
            trial.read(command.substr(id.size() + 1))) {
            ++placed;
        }
    }
    return placed;
}

// The id: the text between "/rpgitem " and the sub-command, the same on
// every line. An id may hold blanks ("my sword"), so each way of cutting the
// first command line whose rest is a sub-command is tried over all lines,
// and the one that places the most lines wins (the shorter on a tie).
std::string_view idOf(const std::vector<std::string_view>& lines) {
    for (std::string_view line : lines) {
        std::string_view command = commandOf(line);
        if (!command.starts_with(kCommandPrefix)) continue;
        command.remove_prefix(kCommandPrefix.size());
        std::string_view best;
        std::size_t bestPlaced = 0;
        for (std::size_t blank = command.find(' '); blank != std::string_view::npos;
             blank = command.find(' ', blank + 1)) {
            const std::string_view id = command.substr(0, blank);
            if (id.empty()) continue;
            Importer single;
            if (!single.read(command.substr(blank + 1))) continue;
            const std::size_t placed = placedWith(id, lines);
            if (placed > bestPlaced) best = id, bestPlaced = placed;
        }
        // A line of no known sub-command still names the id by its first word.
        if (best.empty()) best = command.substr(0, std::min(command.find(' '), command.size()));
        if (!best.empty() && best.size() < command.size()) return best;
    }
    return {};
}

}  // namespace

ImportedItem importCommands(std::string_view text) {
    ImportedItem result;
    const std::vector<std::string_view> lines = linesOf(text);
    result.id = idOf(lines);
    Importer importer;
    for (std::string_view line : lines) {
        std::string_view command = commandOf(line);
        if (command.empty()) continue;
        bool matched = false;
        if (!result.id.empty() && command.starts_with(kCommandPrefix)) {
            command.remove_prefix(kCommandPrefix.size());
            if (command.size() > result.id.size() && command.starts_with(result.id) &&
                command[result.id.size()] == ' ') {
                matched = importer.read(command.substr(result.id.size() + 1));
            }
        }
        if (!matched) result.unmatched.emplace_back(line);
    }
    Importer byOrder = importer;
    result.form = importer.finish(false);
    result.form.id = result.id;
    // Lists filled from files may hold powers of another list's kind next to
    // the drop line: the text the composer wrote comes back by their order.
    if (result.unmatched.empty() && composedText(result.form) != text) {
        ItemForm other = byOrder.finish(true);
        other.id = result.id;
        if (composedText(other) == text) result.form = std::move(other);
    }
    return result;
}

}  // namespace editor
