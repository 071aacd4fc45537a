#include "ui/event_wiring.h"

#include "ui/delivery_handler.h"
#include "ui/editor_window.h"
#include "ui/help_and_music.h"
#include "ui/item_editor.h"
#include "ui/output_editor.h"
#include "ui/power_editor.h"

namespace wiring {
namespace {

void recompose(EditorWindow& window, const ControlEvent&) {
    refreshOutput(window);
}

void keepSize(EditorWindow& window, const ControlEvent&) {
    sizeGuard(window);
}

void deliver(EditorWindow& window, const ControlEvent&) {
    deliverCommands(window);
}

template <void (*Operation)(EditorWindow&)>
void run(EditorWindow& window, const ControlEvent&) {
    Operation(window);
}

void snapshot(EditorWindow& window, const ControlEvent&) {
    recordSnapshot(window);
}

void undo(EditorWindow& window, const ControlEvent&) {
    undoOutput(window);
}

void redo(EditorWindow& window, const ControlEvent&) {
    redoOutput(window);
}

using enum EventKind;

constexpr Binding kBindings[] = {
    {"时钟1", Tick, keepSize},
    {"编辑框2", ContentChanged, recompose},
    {"编辑框3", ContentChanged, recompose},
    {"编辑框4", ContentChanged, recompose},
    {"编辑框5", ContentChanged, recompose},
    {"编辑框6", ContentChanged, recompose},
    {"编辑框13", ContentChanged, recompose},
    {"编辑框8", ContentChanged, recompose},
    {"编辑框12", ContentChanged, recompose},
    {"编辑框9", ContentChanged, recompose},
    {"编辑框10", ContentChanged, recompose},
    {"编辑框11", ContentChanged, recompose},
    {"编辑框7", ContentChanged, recompose},
    {"编辑框18", ContentChanged, recompose},
    {"编辑框19", ContentChanged, recompose},
    {"编辑框21", ContentChanged, recompose},
    {"编辑框22", ContentChanged, recompose},
    {"编辑框23", ContentChanged, recompose},
    {"编辑框20", ContentChanged, recompose},
    {"编辑框_掉落", ContentChanged, recompose},
    {"选择框1", Click, recompose},
    {"选择框2", Click, recompose},
    {"选择框3", Click, recompose},
    {"选择框5", Click, recompose},
    {"组合框_掉落", SelectionChanged, recompose},
    {"组合框_药水", SelectionChanged, recompose},
    {"透明标签64", LeftPressed, recompose},
    {"组合框_技能", SelectionChanged, showSkillParameters},
    {"按钮4", Click, addSkillPower},
    {"按钮10", Click, showArrowRainTip},
    {"单选框1", Click, setPotionMode},
    {"单选框2", Click, setPotionMode},
    {"单选框3", Click, setPotionMode},
    {"单选框4", Click, setPotionMode},
    {"按钮2", Click, addPotionPower},
    {"按钮3", Click, addConsumePower},
    {"列表框_技能", RightPressed, openPowerMenu},
    {"列表框_药水", RightPressed, openPowerMenu},
    {"列表框_消耗", RightPressed, openPowerMenu},
    {"技能", MenuItemChosen, deleteSelectedPower},
    {"药水", MenuItemChosen, deleteSelectedPower},
    {"消耗", MenuItemChosen, deleteSelectedPower},
    {"编辑框1", ContentChanged, snapshot},
    {"编辑框1", KeyDown, onOutputKeyDown},
    {"按钮6", Click, undo},
    {"按钮5", Click, redo},
    {"按钮1", Click, deliver},
    {"按钮8", Click, run<playMusic>},
    {"按钮9", Click, run<openChatGroupPage>},
    {"按钮11", Click, run<toggleTutorial>},
    {"按钮7", Click, run<toggleDyeList>},
    {"选择框6", Click, run<followColourChartBox>},
};

}  // namespace

std::span<const Binding> bindings() {
    return kBindings;
}

const Binding* find(std::string_view control, EventKind kind) {
    for (const Binding& binding : kBindings) {
        if (binding.kind == kind && binding.control == control) return &binding;
    }
    return nullptr;
}

}  // namespace wiring
