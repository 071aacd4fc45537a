#include "ui/form_file_data.h"

#include "editor/compose.h"
#include "editor/effect_powers.h"
#include "editor/layout.h"
#include "editor/skill_powers.h"
#include "ui/editor_window.h"
#include "ui/item_editor.h"
#include "ui/power_editor.h"
#include "ui/win_text.h"

namespace ui {

namespace {

std::string composedOutput(const EditorWindow& w) { return editor::composeText(readItemForm(w)); }

void writeList(HWND list, const std::vector<std::string>& items) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide(item).c_str()));
    }
}

void writeField(EditorWindow& w, const editor::ItemFileField& field, const editor::ItemFileData& data) {
    HWND hwnd = w.control(field.control);
    if (!hwnd) return;
    switch (field.kind) {
    case editor::ItemFileKind::Text:
        if (auto found = data.texts.find(field.control); found != data.texts.end()) setWindowText(hwnd, found->second);
        return;
    case editor::ItemFileKind::Check:
        if (auto found = data.checks.find(field.control); found != data.checks.end()) {
            SendMessageW(hwnd, BM_SETCHECK, found->second ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        return;
    case editor::ItemFileKind::Selection:
        if (auto found = data.selections.find(field.control); found != data.selections.end()) {
            SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(found->second), 0);
        }
        return;
    case editor::ItemFileKind::List:
        if (auto found = data.lists.find(field.control); found != data.lists.end()) writeList(hwnd, found->second);
        return;
    }
}

// The editors' controls as the layout creates them: shown or hidden,
// enabled or not, before the file's choices act on them.
void restoreEditorsLook(EditorWindow& w) {
    std::vector<std::string_view> names(editor::skillParameterControls().begin(),
                                        editor::skillParameterControls().end());
    for (std::string_view box : editor::potionEnableWriteOrder()) names.push_back(box);
    names.push_back(editor::kPotionEffectCombo);
    names.push_back(editor::kPotionEffectClassCombo);
    for (std::string_view name : names) {
        const editor::Control& spec = editor::controlNamed(name);
        HWND hwnd = w.control(name);
        if (!hwnd) continue;
        ShowWindow(hwnd, spec.visible ? SW_SHOWNA : SW_HIDE);
        EnableWindow(hwnd, spec.enabled);
    }
}

// The checked potion mode sets its boxes up before the file's values go in.
void applyPotionMode(EditorWindow& w, const editor::ItemFileData& data) {
    for (const editor::PotionMode& mode : editor::potionModes()) {
        auto found = data.checks.find(mode.radio);
        if (found != data.checks.end() && found->second) {
            setPotionMode(w, {EventKind::Click, mode.radio});
        }
    }
}

}  // namespace

editor::ItemFileData readFormData(EditorWindow& w) {
    editor::ItemFileData data;
    for (const editor::ItemFileField& field : editor::itemFileFields()) {
        const std::string name(field.control);
        switch (field.kind) {
        case editor::ItemFileKind::Text:
            data.texts[name] = w.text(field.control);
            break;
        case editor::ItemFileKind::Check:
            data.checks[name] = w.isChecked(field.control);
            break;
        case editor::ItemFileKind::Selection:
            data.selections[name] = w.selection(field.control);
            break;
        case editor::ItemFileKind::List:
            data.lists[name] = w.listItems(field.control);
            break;
        }
    }
    if (w.output().text() != composedOutput(w)) data.handEditedOutput = w.output().text();
    return data;
}

void showFormData(EditorWindow& w, const editor::ItemFileData& data) {
    {
        EditorWindow::EventsHeld held(w);
        restoreEditorsLook(w);
        applyPotionMode(w, data);
        for (const editor::ItemFileField& field : editor::itemFileFields()) writeField(w, field, data);
        showSkillParameters(w, {EventKind::SelectionChanged, editor::kSkillCombo});
    }
    refreshOutput(w);
    if (data.handEditedOutput) w.output().setText(*data.handEditedOutput);
}

bool sameFormData(const editor::ItemFileData& a, const editor::ItemFileData& b) {
    return a.texts == b.texts && a.checks == b.checks && a.selections == b.selections && a.lists == b.lists &&
           a.handEditedOutput == b.handEditedOutput;
}

}  // namespace ui
