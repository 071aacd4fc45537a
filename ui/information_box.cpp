#include "ui/information_box.h"

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

int ownedBox(std::string_view text, UINT style) {
    HWND owner = messageOwner();
    // The owner is disabled while the box shows and activated again after
    // it, which puts the keyboard on the owner itself: it goes back to the
    // control that had it.
    HWND focus = GetFocus();
    const int answer =
        MessageBoxW(owner, wide(text).c_str(), kInformationCaption, style | (owner ? MB_APPLMODAL : MB_TASKMODAL));
    if (focus && IsWindow(focus) && IsWindowEnabled(focus) && IsWindowVisible(focus)) SetFocus(focus);
    return answer;
}

void messageBox(std::string_view text) { ownedBox(text, MB_OK | iconStyle(lastIcon)); }

bool questionBox(std::string_view text) { return ownedBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES; }

InformationBox current = messageBox;
ConfirmBox currentQuestion = questionBox;

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

bool confirm(std::string_view text) { return currentQuestion(text); }

ConfirmBox replaceConfirmBox(ConfirmBox box) {
    const ConfirmBox previous = currentQuestion;
    currentQuestion = box ? box : questionBox;
    return previous;
}

MessageIcon lastMessageIcon() { return lastIcon; }

}  // namespace ui
