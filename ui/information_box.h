// The program's information messages: a modal box with the information icon,
// an OK button and the caption "信息：", owned by no window.
#pragma once

#include <windows.h>

#include <string_view>

namespace ui {

void showInformation(std::string_view text);

// Tests put a recorder in place of the real box; returns the one replaced.
using InformationBox = void (*)(std::string_view text);
InformationBox replaceInformationBox(InformationBox box);

inline constexpr wchar_t kInformationCaption[] = L"信息：";

// The question before a form with unsaved changes is replaced: a box in the
// same style (information icon, caption "信息：") whose buttons read 保存,
// 不保存 and 取消 (Esc), owned by `owner`.
enum class SaveAnswer { Save, Discard, Cancel };
SaveAnswer askToSaveChanges(HWND owner, std::string_view text);

// Tests put a recorder in place of the real question; returns the one replaced.
using SaveQuestion = SaveAnswer (*)(HWND owner, std::string_view text);
SaveQuestion replaceSaveQuestion(SaveQuestion question);

}  // namespace ui
