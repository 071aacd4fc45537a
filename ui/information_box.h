// The program's information messages: a modal box with the information icon,
// an OK button and the caption "信息：", owned by no window.
#pragma once

#include <string_view>

namespace ui {

void showInformation(std::string_view text);

// Tests put a recorder in place of the real box; returns the one replaced.
using InformationBox = void (*)(std::string_view text);
InformationBox replaceInformationBox(InformationBox box);

inline constexpr wchar_t kInformationCaption[] = L"信息：";

}  // namespace ui
