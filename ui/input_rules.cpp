#include "ui/input_rules.h"

#include "editor/text.h"

namespace ui {

std::string integerBoxText(std::string_view text) {
    const std::int32_t value = editor::toInteger(text);
    return value == 0 ? std::string() : editor::formatNumber(value);
}

bool acceptsCharacter(editor::InputMode mode, char32_t ch) {
    const bool digitOrMinus = (ch >= U'0' && ch <= U'9') || ch == U'-';
    switch (mode) {
    case editor::InputMode::Normal:
        return true;
    case editor::InputMode::IntegerOnly:
        return digitOrMinus;
    case editor::InputMode::DecimalText:
        return digitOrMinus || ch == U'.';
    }
    return true;
}

}  // namespace ui
