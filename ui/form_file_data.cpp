#include "ui/form_file_data.h"

#include "editor/compose.h"
#include "editor/effect_powers.h"
#include "editor/skill_powers.h"
#include "ui/editor_window.h"
#include "ui/item_editor.h"
#include "ui/layout.h"
#include "ui/power_editor.h"
#include "ui/win_text.h"

namespace {

std::string composedOutput(const EditorWindow& w) {
    const ItemForm form = readItemForm(w);
    std::string text;
    for (const std::string& subCommand : composeCommands(form)) text += commandLine(form.id, subCommand);
    return text;
}

void writeList(HWND list, const std::vector<std::string>& items) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide(item).c_str()));
    }
}

void writeField(EditorWindow& w, const ItemFileField& field, const ItemFileData& data) {
    HWND hwnd = w.control(field.control);
    if (!hwnd) return;
    switch (field.kind) {
    case ItemFileKind::Text:
        if (auto found = data.texts.find(field.control); found != data.texts.end()) setWindowText(hwnd, found->second);
        return;
    case ItemFileKind::Check:
        if (auto found = data.checks.find(field.control); found != data.checks.end()) {
            SendMessageW(hwnd, BM_SETCHECK, found->second ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        return;
    case ItemFileKind::Selection:
        if (auto found = data.selections.find(field.control); found != data.selections.end()) {
            SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(found->second), 0);
        }
        return;
    case ItemFileKind::List:
        if (auto found = data.lists.find(field.control); found != data.lists.end()) writeList(hwnd, found->second);
        return;
    }
}

// The editors' controls as the layout creates them: shown or hidden,
// enabled or not, before the file's choices act on them.
void restoreEditorsLook(EditorWindow& w) {
    std::vector<std::string_view> names(skills::parameterControls().begin(), skills::parameterControls().end());
    for (std::string_view box : potions::enableWriteOrder()) names.push_back(box);
    names.push_back(potions::kEffectCombo);
    names.push_back(potions::kEffectClassCombo);
    for (std::string_view name : names) {
        const layout::Control* spec = layout::find(name);
        HWND hwnd = w.control(name);
        if (!spec || !hwnd) continue;
        ShowWindow(hwnd, spec->visible ? SW_SHOWNA : SW_HIDE);
        EnableWindow(hwnd, spec->enabled);
    }
}

// The checked potion mode sets its boxes up before the file's values go in.
void applyPotionMode(EditorWindow& w, const ItemFileData& data) {
    for (const potions::PotionMode& mode : potions::modes()) {
        auto found = data.checks.find(mode.radio);
        if (found != data.checks.end() && found->second) {
            setPotionMode(w, {EventKind::Click, mode.radio});
        }
    }
}

}  // namespace

ItemFileData readFormData(EditorWindow& w) {
    ItemFileData data;
    for (const ItemFileField& field : itemFileFields()) {
        const std::string name(field.control);
        switch (field.kind) {
        case ItemFileKind::Text:
            data.texts[name] = w.text(field.control);
            break;
        case ItemFileKind::Check:
            data.checks[name] = w.isChecked(field.control);
            break;
        case ItemFileKind::Selection:
            data.selections[name] = w.selection(field.control);
            break;
        case ItemFileKind::List:
            data.lists[name] = w.listItems(field.control);
            break;
        }
    }
    if (w.output().text() != composedOutput(w)) data.handEditedOutput = w.output().text();
    return data;
}

void showFormData(EditorWindow& w, const ItemFileData& data) {
    {
        EditorWindow::EventsHeld held(w);
        restoreEditorsLook(w);
        applyPotionMode(w, data);
        for (const ItemFileField& field : itemFileFields()) writeField(w, field, data);
        showSkillParameters(w, {EventKind::SelectionChanged, skills::kSkillCombo});
    }
    refreshOutput(w);
    if (data.handEditedOutput) w.output().setText(*data.handEditedOutput);
}

bool sameFormData(const ItemFileData& a, const ItemFileData& b) {
    return a.texts == b.texts && a.checks == b.checks && a.selections == b.selections && a.lists == b.lists &&
           a.handEditedOutput == b.handEditedOutput;
}
