#include "ui/input_rules.h"

#include "editor/text.h"

std::string integerBoxText(std::string_view text) {
    const std::int32_t value = text::toInteger(text);
    return value == 0 ? std::string() : text::formatNumber(value);
}

bool acceptsCharacter(layout::InputMode mode, char32_t ch) {
    const bool digitOrMinus = (ch >= U'0' && ch <= U'9') || ch == U'-';
    switch (mode) {
    case layout::InputMode::Normal:
        return true;
    case layout::InputMode::IntegerOnly:
        return digitOrMinus;
    case layout::InputMode::DecimalText:
        return digitOrMinus || ch == U'.';
    }
    return true;
}
