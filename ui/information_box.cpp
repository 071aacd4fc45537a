#include "ui/information_box.h"

#include <utility>

#include "ui/win_text.h"

namespace ui {

namespace {

HWND fallbackOwner = nullptr;
MessageIcon lastIcon = MessageIcon::Information;

UINT iconStyle(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Warning:
        return MB_ICONWARNING;
    case MessageIcon::Error:
        return MB_ICONERROR;
    case MessageIcon::Information:
        break;
    }
    return MB_ICONINFORMATION;
}

int ownedBox(HWND owner, std::string_view text, UINT style) {
    // The owner is disabled while the box shows and activated again after
    // it, which puts the keyboard on the owner itself: it goes back to the
    // control that had it.
    HWND focus = GetFocus();
    const int answer =
        MessageBoxW(owner, wide(text).c_str(), kInformationCaption, style | (owner ? MB_APPLMODAL : MB_TASKMODAL));
    if (focus && IsWindow(focus) && IsWindowEnabled(focus) && IsWindowVisible(focus)) SetFocus(focus);
    return answer;
}

void messageBox(std::string_view text) { ownedBox(messageOwner(), text, MB_OK | iconStyle(lastIcon)); }

bool yesNoBox(std::string_view text) { return ownedBox(messageOwner(), text, MB_YESNO | MB_ICONQUESTION) == IDYES; }

InformationBox current = messageBox;
ConfirmBox currentConfirm = yesNoBox;

// The box's buttons get their names when it is activated the first time.
HHOOK questionHook = nullptr;

LRESULT CALLBACK nameQuestionButtons(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const auto box = reinterpret_cast<HWND>(wParam);
        SetDlgItemTextW(box, IDYES, L"保存");
        SetDlgItemTextW(box, IDNO, L"不保存");
        SetDlgItemTextW(box, IDCANCEL, L"取消");
        UnhookWindowsHookEx(std::exchange(questionHook, nullptr));
        return 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

SaveAnswer questionBox(HWND owner, std::string_view text) {
    questionHook = SetWindowsHookExW(WH_CBT, nameQuestionButtons, nullptr, GetCurrentThreadId());
    const int answer = ownedBox(owner ? owner : messageOwner(), text, MB_YESNOCANCEL | MB_ICONINFORMATION);
    if (questionHook) UnhookWindowsHookEx(std::exchange(questionHook, nullptr));
    if (answer == IDYES) return SaveAnswer::Save;
    return answer == IDNO ? SaveAnswer::Discard : SaveAnswer::Cancel;
}

SaveQuestion currentQuestion = questionBox;

}  // namespace

void showInformation(std::string_view text, MessageIcon icon) {
    lastIcon = icon;
    current(text);
}

void setMessageOwner(HWND window) { fallbackOwner = window; }

HWND messageOwner() {
    // The window of this thread the user works in: a dialog of the program
    // or the main window. A disabled one is waiting for a modal window that
    // is not active (a message shown while nothing is active).
    HWND active = GetActiveWindow();
    if (active && IsWindowEnabled(active)) return active;
    if (fallbackOwner && IsWindow(fallbackOwner)) {
        // The main window is disabled while one of its dialogs is open:
        // the dialog, the enabled window it owns, takes the message.
        if (IsWindowEnabled(fallbackOwner)) return fallbackOwner;
        HWND popup = GetWindow(fallbackOwner, GW_ENABLEDPOPUP);
        return popup ? popup : fallbackOwner;
    }
    return nullptr;
}

InformationBox replaceInformationBox(InformationBox box) {
    const InformationBox previous = current;
    current = box ? box : messageBox;
    return previous;
}

bool confirm(std::string_view text) { return currentConfirm(text); }

ConfirmBox replaceConfirmBox(ConfirmBox box) {
    const ConfirmBox previous = currentConfirm;
    currentConfirm = box ? box : yesNoBox;
    return previous;
}

MessageIcon lastMessageIcon() { return lastIcon; }

SaveAnswer askToSaveChanges(HWND owner, std::string_view text) { return currentQuestion(owner, text); }

SaveQuestion replaceSaveQuestion(SaveQuestion question) {
    const SaveQuestion previous = currentQuestion;
    currentQuestion = question ? question : questionBox;
    return previous;
}

}  // namespace ui
