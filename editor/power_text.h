// Power texts as data: each power editor keeps its texts as patterns, and
// one builder fills them from what the controls hold.
//
// A pattern is literal text with placeholders in braces:
//   {T}          the key of the current item of the editor's trigger combo
//   {key:NAME}   the key (text before the first "|") of combo NAME's current item
//   {NAME}       the whole number in box NAME (toInteger), in decimal
//   {NAME*20}    that number times 20 (any factor), exact in 64 bits
//   {text:NAME}  box NAME's content, unchanged
// Everything else, blanks included, is copied as it stands.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

// What a power editor read from its controls.
struct PowerInputs {
    // Current item of each combo box; nullopt (or absent) when it has none.
    std::map<std::string, std::optional<std::string>, std::less<>> choices;
    // Content of each box as it stands; an absent box reads as "".
    std::map<std::string, std::string, std::less<>> boxes;
};

enum class PlaceholderSource { Choice, Box };

// A control a pattern reads: a combo box ({T}, {key:…}) or a box.
struct Placeholder {
    PlaceholderSource source;
    std::string_view control;
};

// The controls `pattern` reads, in pattern order; {T} names `triggerCombo`.
std::vector<Placeholder> placeholdersOf(std::string_view pattern, std::string_view triggerCombo);

// The entries one press of an add button appends, or the combo box whose
// missing current item refuses them all.
struct PowerAddition {
    std::vector<std::string> entries;
    std::string missingChoice;  // empty when nothing is missing

    bool refused() const { return !missingChoice.empty(); }
};

// Builds one entry per pattern, in order. When a combo box that a pattern
// needs has no current item, the first such box is reported and no entry
// is built.
PowerAddition buildPowers(const std::vector<std::string_view>& patterns, std::string_view triggerCombo,
                          const PowerInputs& inputs);

// The names of a blank-separated list ("编辑框14 编辑框15"), in order.
std::vector<std::string_view> splitNames(std::string_view blankSeparated);

// The message that refuses an addition for the missing choice `combo`.
std::string missingChoiceMessage(std::string_view combo);

}  // namespace editor
