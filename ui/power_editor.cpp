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

namespace {

// Each power list and the title of its popup menu.
struct PowerList {
    std::string_view list;
    std::string_view menu;
};

constexpr PowerList kPowerLists[] = {
    {skills::kSkillList, "技能"},
    {potions::kPotionList, "药水"},
    {consume::kConsumeList, "消耗"},
};

// The item at the combo box's current selection; typed text never counts.
std::optional<std::string> currentItem(const EditorWindow& w, std::string_view combo) {
    if (w.selection(combo) < 0) return std::nullopt;
    return w.selectedItemText(combo);
}

// Reads every control that the editor's patterns name.
powers::PowerInputs readInputs(const EditorWindow& w, const std::vector<std::string_view>& patterns,
                               std::string_view triggerCombo) {
    powers::PowerInputs inputs;
    for (std::string_view pattern : patterns) {
        for (const auto& [source, name] : powers::placeholdersOf(pattern, triggerCombo)) {
            if (source == powers::Source::Choice) {
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
void applyAddition(EditorWindow& w, std::string_view list, const powers::Addition& addition) {
    if (addition.refused()) {
        showInformation(powers::missingChoiceMessage(addition.missingChoice));
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
    const auto shown = skills::shownParameters(w.selection(skills::kSkillCombo));
    if (!shown) return;
    for (std::string_view name : skills::parameterControls()) {
        show(w.control(name), std::find(shown->begin(), shown->end(), name) != shown->end());
    }
}

void addSkillPower(EditorWindow& w, const ControlEvent&) {
    const auto inputs = readInputs(w, skills::patterns(), skills::kTriggerCombo);
    applyAddition(w, skills::kSkillList, skills::addition(w.selection(skills::kSkillCombo), inputs));
}

void showArrowRainTip(EditorWindow&, const ControlEvent&) {
    showInformation(skills::kArrowRainTip);
}

void setPotionMode(EditorWindow& w, const ControlEvent& event) {
    const potions::PotionMode* mode = potions::modeOf(event.control);
    if (!mode) return;
    for (std::string_view box : potions::contentWriteOrder()) {
        if (HWND hwnd = w.control(box)) setWindowText(hwnd, potions::uses(*mode, box) ? "" : potions::kUnusedBoxText);
    }
    for (std::string_view box : potions::enableWriteOrder()) {
        if (HWND hwnd = w.control(box)) EnableWindow(hwnd, potions::uses(*mode, box));
    }
    show(w.control(potions::kEffectClassCombo), mode->showsEffectClass);
    show(w.control(potions::kEffectCombo), !mode->showsEffectClass);
}

void addPotionPower(EditorWindow& w, const ControlEvent&) {
    const auto inputs = readInputs(w, potions::patterns(), potions::kTriggerCombo);
    applyAddition(w, potions::kPotionList, potions::addition(checkedRadios(w, potions::modes()), inputs));
}

void addConsumePower(EditorWindow& w, const ControlEvent&) {
    const auto inputs = readInputs(w, consume::patterns(), consume::kTriggerCombo);
    applyAddition(w, consume::kConsumeList, consume::addition(checkedRadios(w, consume::kinds()), inputs));
}

void openPowerMenu(EditorWindow& w, const ControlEvent& event) {
    for (const PowerList& power : kPowerLists) {
        if (power.list != event.control) continue;
        if (HMENU menu = w.popupMenu(power.menu)) {
            // The chosen item arrives as WM_COMMAND and is dispatched by its menu title.
            TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, event.cursor.x + 3,
                           event.cursor.y + 3, 0, w.hwnd(), nullptr);
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
