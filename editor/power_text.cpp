#include "editor/power_text.h"

#include <cstdint>

#include "editor/control_names.h"
#include "editor/text.h"

namespace editor {

namespace {

enum class Kind { Literal, Trigger, Key, Number, Text };

struct Token {
    Kind kind;
    std::string_view text;  // the literal, or the control's name
    std::int64_t factor = 1;
};

Token placeholder(std::string_view body) {
    if (body == "T") return {Kind::Trigger, {}};
    if (body.starts_with("key:")) return {Kind::Key, body.substr(4)};
    if (body.starts_with("text:")) return {Kind::Text, body.substr(5)};
    const auto star = body.find('*');
    if (star == std::string_view::npos) return {Kind::Number, body};
    // The factors are the tables' own small constants (20, 100).
    return {Kind::Number, body.substr(0, star), readInteger(body.substr(star + 1))};
}

// Calls `visit` with each literal run and each placeholder, in order. A "{"
// without its "}" is literal text.
template <class Visit>
void scan(std::string_view pattern, Visit visit) {
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const auto open = pattern.find('{', pos);
        const auto close = open == std::string_view::npos ? open : pattern.find('}', open);
        if (close == std::string_view::npos) {
            visit(Token{Kind::Literal, pattern.substr(pos)});
            return;
        }
        if (open > pos) visit(Token{Kind::Literal, pattern.substr(pos, open - pos)});
        visit(placeholder(pattern.substr(open + 1, close - open - 1)));
        pos = close + 1;
    }
}

std::string_view boxText(const PowerInputs& inputs, std::string_view box) {
    const auto found = inputs.boxes.find(box);
    return found == inputs.boxes.end() ? std::string_view() : std::string_view(found->second);
}

const std::string* currentItem(const PowerInputs& inputs, std::string_view combo) {
    const auto found = inputs.choices.find(combo);
    return found == inputs.choices.end() || !found->second ? nullptr : &*found->second;
}

// What the user reads beside each choice combo box of the power editors.
struct ChoiceLabel {
    std::string_view combo;
    std::string_view label;
};

constexpr ChoiceLabel kChoiceLabels[] = {
    {kSkillTriggerCombo, "技能的触发方式"}, {kProjectileCombo, "弹射的技能类型"},
    {kBreaksBlocksCombo, "是否破坏方块"},   {kSetsFireCombo, "是否方块着火"},
    {kBlockKindCombo, "禁锢的技能类型"},    {kPotionTriggerCombo, "药水的方式"},
    {kPotionEffectCombo, "药水效果"},       {kPotionEffectClassCombo, "净化的效果类型"},
    {kConsumeTriggerCombo, "消耗的方式"},
};

}  // namespace

std::vector<Placeholder> placeholdersOf(std::string_view pattern, std::string_view triggerCombo) {
    std::vector<Placeholder> found;
    scan(pattern, [&](const Token& token) {
        switch (token.kind) {
        case Kind::Literal:
            break;
        case Kind::Trigger:
            found.push_back({PlaceholderSource::Choice, triggerCombo});
            break;
        case Kind::Key:
            found.push_back({PlaceholderSource::Choice, token.text});
            break;
        case Kind::Number:
        case Kind::Text:
            found.push_back({PlaceholderSource::Box, token.text});
            break;
        }
    });
    return found;
}

PowerAddition buildPowers(const std::vector<std::string_view>& patterns, std::string_view triggerCombo,
                          const PowerInputs& inputs) {
    PowerAddition addition;
    for (std::string_view pattern : patterns) {
        std::string entry;
        scan(pattern, [&](const Token& token) {
            if (addition.refused()) return;
            switch (token.kind) {
            case Kind::Literal:
                entry += token.text;
                break;
            case Kind::Trigger:
            case Kind::Key: {
                const std::string_view combo = token.kind == Kind::Trigger ? triggerCombo : token.text;
                if (const std::string* item = currentItem(inputs, combo)) {
                    entry += itemKey(*item);
                } else {
                    addition.missingChoice = combo;
                }
                break;
            }
            case Kind::Number:
                entry += formatNumber(std::int64_t{toInteger(boxText(inputs, token.text))} * token.factor);
                break;
            case Kind::Text:
                entry += boxText(inputs, token.text);
                break;
            }
        });
        if (addition.refused()) {
            addition.entries.clear();
            return addition;
        }
        addition.entries.push_back(std::move(entry));
    }
    return addition;
}

std::vector<std::string_view> splitNames(std::string_view rest) {
    std::vector<std::string_view> names;
    while (!rest.empty()) {
        const auto blank = rest.find(' ');
        if (blank != 0) names.push_back(rest.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
    return names;
}

std::string missingChoiceMessage(std::string_view combo) {
    std::string_view label = combo;
    for (const ChoiceLabel& known : kChoiceLabels) {
        if (known.combo == combo) label = known.label;
    }
    return "请先选择" + std::string(label) + "，再添加。";
}

}  // namespace editor
