#include "ui/power_editor.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "editor/effect_powers.h"
#include "editor/skill_powers.h"
#include "ui/editor_window.h"
#include "ui/information_box.h"
#include "ui/item_editor.h"
#include "ui/win_text.h"

namespace ui {

namespace {

// Each power list and the title of its popup menu.
struct PowerList {
    std::string_view list;
    std::string_view menu;
};

constexpr PowerList kPowerLists[] = {
    {editor::kSkillList, "技能"},
    {editor::kPotionList, "药水"},
    {editor::kConsumeList, "消耗"},
};

// The item at the combo box's current selection; typed text never counts.
std::optional<std::string> currentItem(const EditorWindow& w, std::string_view combo) {
    if (w.selection(combo) < 0) return std::nullopt;
    return w.selectedItemText(combo);
}

// Reads every control that the editor's patterns name.
editor::PowerInputs readInputs(const EditorWindow& w, const std::vector<std::string_view>& patterns,
                               std::string_view triggerCombo) {
    editor::PowerInputs inputs;
    for (std::string_view pattern : patterns) {
        for (const auto& [source, name] : editor::placeholdersOf(pattern, triggerCombo)) {
            if (source == editor::PlaceholderSource::Choice) {
                if (!inputs.choices.contains(name)) inputs.choices.emplace(name, currentItem(w, name));
            } else if (!inputs.boxes.contains(name)) {
                inputs.boxes.emplace(name, w.text(name));
            }
        }
    }
    return inputs;
}

// Appends the addition's entries to the list, or says what is missing; the
// output is recomposed either way.
void applyAddition(EditorWindow& w, std::string_view list, const editor::PowerAddition& addition) {
    if (addition.refused()) {
        showInformation(editor::missingChoiceMessage(addition.missingChoice));
    } else if (HWND box = w.control(list)) {
        for (const std::string& entry : addition.entries) {
            SendMessageW(box, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide(entry).c_str()));
        }
    }
    refreshOutput(w);
}

template <class Rows>
std::vector<std::string_view> checkedRadios(const EditorWindow& w, const Rows& rows) {
    std::vector<std::string_view> checked;
    for (const auto& row : rows) {
        if (w.isChecked(row.radio)) checked.push_back(row.radio);
    }
    return checked;
}

void show(HWND control, bool visible) {
    if (control) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

void showSkillParameters(EditorWindow& w, const ControlEvent&) {
    const auto shown = editor::shownSkillParameters(w.selection(editor::kSkillCombo));
    if (!shown) return;
    for (std::string_view name : editor::skillParameterControls()) {
        show(w.control(name), std::find(shown->begin(), shown->end(), name) != shown->end());
    }
}

void addSkillPower(EditorWindow& w, const ControlEvent&) {
    const auto inputs = readInputs(w, editor::skillPatterns(), editor::kSkillTriggerCombo);
    applyAddition(w, editor::kSkillList, editor::skillAddition(w.selection(editor::kSkillCombo), inputs));
}

void showArrowRainTip(EditorWindow&, const ControlEvent&) { showInformation(editor::kArrowRainTip); }

void setPotionMode(EditorWindow& w, const ControlEvent& event) {
    const editor::PotionMode* mode = editor::potionModeOf(event.control);
    if (!mode) return;
    for (std::string_view box : editor::potionContentWriteOrder()) {
        if (HWND hwnd = w.control(box))
            setWindowText(hwnd, editor::potionModeUses(*mode, box) ? "" : editor::kUnusedBoxText);
    }
    for (std::string_view box : editor::potionEnableWriteOrder()) {
        if (HWND hwnd = w.control(box)) EnableWindow(hwnd, editor::potionModeUses(*mode, box));
    }
    show(w.control(editor::kPotionEffectClassCombo), mode->showsEffectClass);
    show(w.control(editor::kPotionEffectCombo), !mode->showsEffectClass);
}

void addPotionPower(EditorWindow& w, const ControlEvent&) {
    const auto inputs = readInputs(w, editor::potionPatterns(), editor::kPotionTriggerCombo);
    applyAddition(w, editor::kPotionList, editor::potionAddition(checkedRadios(w, editor::potionModes()), inputs));
}

void addConsumePower(EditorWindow& w, const ControlEvent&) {
    const auto inputs = readInputs(w, editor::consumePatterns(), editor::kConsumeTriggerCombo);
    applyAddition(w, editor::kConsumeList, editor::consumeAddition(checkedRadios(w, editor::consumeKinds()), inputs));
}

void openPowerMenu(EditorWindow& w, const ControlEvent& event) {
    for (const PowerList& power : kPowerLists) {
        if (power.list != event.control) continue;
        if (HMENU menu = w.popupMenu(power.menu)) {
            // The chosen item arrives as WM_COMMAND and is dispatched by its menu title.
            TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, event.cursor.x + 3, event.cursor.y + 3,
                           0, w.hwnd(), nullptr);
        }
    }
}

void deleteSelectedPower(EditorWindow& w, const ControlEvent& event) {
    for (const PowerList& power : kPowerLists) {
        if (power.menu != event.control) continue;
        if (HWND list = w.control(power.list)) {
            const auto selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
            if (selected != LB_ERR) SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
        }
        refreshOutput(w);
    }
}

}  // namespace ui
