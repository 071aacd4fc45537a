#include "ui/event_wiring.h"

#include "editor/control_names.h"
#include "ui/delivery_handler.h"
#include "ui/editor_window.h"
#include "ui/help_and_music.h"
#include "ui/item_editor.h"
#include "ui/output_editor.h"
#include "ui/power_editor.h"

namespace ui {

namespace {

void recompose(EditorWindow& window, const ControlEvent&) { refreshOutput(window); }

void keepSize(EditorWindow& window, const ControlEvent&) { sizeGuard(window); }

void deliver(EditorWindow& window, const ControlEvent&) { startKeyboardDelivery(window); }

template <void (*Operation)(EditorWindow&)>
void run(EditorWindow& window, const ControlEvent&) {
    Operation(window);
}

void snapshot(EditorWindow& window, const ControlEvent&) { recordSnapshot(window); }

void undo(EditorWindow& window, const ControlEvent&) { undoOutput(window); }

void redo(EditorWindow& window, const ControlEvent&) { redoOutput(window); }

using enum EventKind;

constexpr Binding kBindings[] = {
    {editor::kSizeGuardClock, Tick, keepSize},
    {editor::kIdBox, ContentChanged, recompose},
    {editor::kDisplayNameBox, ContentChanged, recompose},
    {editor::kHandBox, ContentChanged, recompose},
    {editor::kTypeBox, ContentChanged, recompose},
    {editor::kLoreBox, ContentChanged, recompose},
    {editor::kDescriptionBox, ContentChanged, recompose},
    {editor::kMaterialBox, ContentChanged, recompose},
    {editor::kDataValueBox, ContentChanged, recompose},
    {editor::kDamageBox, ContentChanged, recompose},
    {editor::kDurabilityBox, ContentChanged, recompose},
    {editor::kArmourBox, ContentChanged, recompose},
    {editor::kDisappearBox, ContentChanged, recompose},
    {editor::kCostExpBox, ContentChanged, recompose},
    {editor::kCostMoneyBox, ContentChanged, recompose},
    {editor::kLevelBox, ContentChanged, recompose},
    {editor::kRepairPriceBox, ContentChanged, recompose},
    {editor::kPermissionBox, ContentChanged, recompose},
    {editor::kSaturationBox, ContentChanged, recompose},
    {editor::kDropChanceBox, ContentChanged, recompose},
    {editor::kDurabilityBarCheck, Click, recompose},
    {editor::kInfiniteDurabilityCheck, Click, recompose},
    {editor::kCustomRecipeCheck, Click, recompose},
    {editor::kRemoveRecipeCheck, Click, recompose},
    {editor::kDropMobCombo, SelectionChanged, recompose},
    {editor::kPotionEffectCombo, SelectionChanged, recompose},
    {editor::kKeepEnchantLabel, LeftPressed, recompose},
    {editor::kSkillCombo, SelectionChanged, showSkillParameters},
    {editor::kAddSkillButton, Click, addSkillPower},
    {editor::kArrowRainTipButton, Click, showArrowRainTip},
    {editor::kPotionHitRadio, Click, setPotionMode},
    {editor::kPotionPurgeRadio, Click, setPotionMode},
    {editor::kPotionThrowRadio, Click, setPotionMode},
    {editor::kPotionSelfRadio, Click, setPotionMode},
    {editor::kAddPotionButton, Click, addPotionPower},
    {editor::kAddConsumeButton, Click, addConsumePower},
    {editor::kSkillList, RightPressed, openPowerMenu},
    {editor::kPotionList, RightPressed, openPowerMenu},
    {editor::kConsumeList, RightPressed, openPowerMenu},
    {"技能", MenuItemChosen, deleteSelectedPower},
    {"药水", MenuItemChosen, deleteSelectedPower},
    {"消耗", MenuItemChosen, deleteSelectedPower},
    {editor::kOutputBox, ContentChanged, snapshot},
    {editor::kOutputBox, KeyDown, onOutputKeyDown},
    {editor::kUndoButton, Click, undo},
    {editor::kRedoButton, Click, redo},
    {editor::kDeliverButton, Click, deliver},
    {editor::kPlayMusicButton, Click, run<playMusic>},
    {editor::kChatGroupButton, Click, run<openChatGroupPage>},
    {editor::kTutorialButton, Click, run<toggleTutorial>},
    {editor::kDyeButton, Click, run<toggleDyeList>},
    {editor::kColourChartCheck, Click, run<followColourChartBox>},
};

}  // namespace

std::span<const Binding> bindings() { return kBindings; }

const Binding* findBinding(std::string_view control, EventKind kind) {
    for (const Binding& binding : kBindings) {
        if (binding.kind == kind && binding.control == control) return &binding;
    }
    return nullptr;
}

}  // namespace ui
