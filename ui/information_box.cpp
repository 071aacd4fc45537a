#include "ui/information_box.h"

#include <utility>

#include "ui/win_text.h"

namespace ui {

namespace {

void messageBox(std::string_view text) {
    MessageBoxW(nullptr, wide(text).c_str(), kInformationCaption, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

InformationBox current = messageBox;

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
    const int answer = MessageBoxW(owner, wide(text).c_str(), kInformationCaption, MB_YESNOCANCEL | MB_ICONINFORMATION);
    if (questionHook) UnhookWindowsHookEx(std::exchange(questionHook, nullptr));
    if (answer == IDYES) return SaveAnswer::Save;
    return answer == IDNO ? SaveAnswer::Discard : SaveAnswer::Cancel;
}

SaveQuestion currentQuestion = questionBox;

}  // namespace

void showInformation(std::string_view text) { current(text); }

InformationBox replaceInformationBox(InformationBox box) {
    const InformationBox previous = current;
    current = box ? box : messageBox;
    return previous;
}

SaveAnswer askToSaveChanges(HWND owner, std::string_view text) { return currentQuestion(owner, text); }

SaveQuestion replaceSaveQuestion(SaveQuestion question) {
    const SaveQuestion previous = currentQuestion;
    currentQuestion = question ? question : questionBox;
    return previous;
}

}  // namespace ui
