#include "ui/information_box.h"

#include "ui/win_text.h"

namespace ui {

namespace {

void messageBox(std::string_view text) {
    MessageBoxW(nullptr, wide(text).c_str(), kInformationCaption, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

InformationBox current = messageBox;

}  // namespace

void showInformation(std::string_view text) { current(text); }

InformationBox replaceInformationBox(InformationBox box) {
    const InformationBox previous = current;
    current = box ? box : messageBox;
    return previous;
}

}  // namespace ui
