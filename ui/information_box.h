// The program's messages: a modal box with an icon, an OK button and the
// caption "信息：". It is owned by the window the user works in (the active
// window of the program, else the main window), which stays disabled while
// it shows, and the keyboard goes back to the control that had it.
#pragma once

#include <windows.h>

#include <string_view>

namespace ui {

enum class MessageIcon { Information, Warning, Error };

void showInformation(std::string_view text, MessageIcon icon = MessageIcon::Information);
inline void showWarning(std::string_view text) { showInformation(text, MessageIcon::Warning); }
inline void showError(std::string_view text) { showInformation(text, MessageIcon::Error); }

// A question with 是 and 否 (question icon, the same caption and owner);
// true for 是.
bool confirm(std::string_view text);

// The window that owns messages when none of the program's windows is
// active (the main window sets itself; nullptr clears it).
void setMessageOwner(HWND window);
// The owner the next message gets.
HWND messageOwner();

// Tests put a recorder in place of the real box; returns the one replaced.
using InformationBox = void (*)(std::string_view text);
InformationBox replaceInformationBox(InformationBox box);
using ConfirmBox = bool (*)(std::string_view text);
ConfirmBox replaceConfirmBox(ConfirmBox box);
// The icon of the last message shown or recorded (for tests).
MessageIcon lastMessageIcon();

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
