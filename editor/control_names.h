// The names of the layout's controls that the program uses, as the layout
// writes them (editor/layout.cpp). Code names a control through these;
// tests may spell them out.
#pragma once

#include <string_view>

namespace editor {

// The output box, delivery, history and the other tools
inline constexpr std::string_view kOutputBox = "编辑框1";    // the composed command lines, editable by hand
inline constexpr std::string_view kDeliverButton = "按钮1";  // 「输出到客户端」: types the output into the game
inline constexpr std::string_view kUndoButton = "按钮6";     // steps back through the output box's history
inline constexpr std::string_view kRedoButton = "按钮5";     // steps forward again
inline constexpr std::string_view kHistoryGroup = "分组框6";        // the history buttons' frame
inline constexpr std::string_view kTitleLabel = "透明标签32";       // the title line: program name and open file
inline constexpr std::string_view kSizeGuardClock = "时钟1";        // puts the window back to its size
inline constexpr std::string_view kItemFileDialog = "通用对话框1";  // the open and save dialogs' filter and extension
inline constexpr std::string_view kWebView = "超文本浏览框1";       // the hidden web view (music, chat group)
inline constexpr std::string_view kPlayMusicButton = "按钮8";       // plays the music page
inline constexpr std::string_view kChatGroupButton = "按钮9";       // opens the chat group's page
inline constexpr std::string_view kTutorialButton = "按钮11";       // shows or hides the tutorial
inline constexpr std::string_view kTutorialPicture = "图片框1";     // the tutorial
inline constexpr std::string_view kDyeButton = "按钮7";             // shows or hides the dye colour values
inline constexpr std::string_view kDyeList = "编辑框24";            // the dye colour values
inline constexpr std::string_view kColourChartCheck = "选择框6";    // shows the colour-code chart while ticked
inline constexpr std::string_view kColourChartPicture = "图片框_颜色";  // the colour-code chart

// The item
inline constexpr std::string_view kItemGroup = "分组框1";           // id, display name, hand, type, lore
inline constexpr std::string_view kIdBox = "编辑框2";               // the item's id
inline constexpr std::string_view kDisplayNameBox = "编辑框3";      // display name
inline constexpr std::string_view kHandBox = "编辑框4";             // hand
inline constexpr std::string_view kTypeBox = "编辑框5";             // type
inline constexpr std::string_view kLoreBox = "编辑框6";             // lore
inline constexpr std::string_view kDescriptionGroup = "分组框2";    // the description's frame
inline constexpr std::string_view kDescriptionBox = "编辑框13";     // description, one line per description line
inline constexpr std::string_view kAttributesGroup = "分组框3";     // material, damage, armour, durability, recipes
inline constexpr std::string_view kMaterialBox = "编辑框8";         // material id
inline constexpr std::string_view kDataValueBox = "编辑框12";       // data value
inline constexpr std::string_view kDamageBox = "编辑框9";           // damage
inline constexpr std::string_view kArmourBox = "编辑框11";          // armour
inline constexpr std::string_view kDurabilityBox = "编辑框10";      // durability
inline constexpr std::string_view kDurabilityBarCheck = "选择框1";  // shows the durability bar
inline constexpr std::string_view kInfiniteDurabilityCheck = "选择框2";  // infinite durability
inline constexpr std::string_view kDisappearBox = "编辑框7";             // disappear
inline constexpr std::string_view kCustomRecipeCheck = "选择框3";        // custom recipe
inline constexpr std::string_view kRemoveRecipeCheck = "选择框5";        // removes the recipe
inline constexpr std::string_view kGiveCheck = "选择框4";                // gives the item
inline constexpr std::string_view kUsageGroup = "分组框5";        // costs, level, repair price, permission, enchantment
inline constexpr std::string_view kCostExpBox = "编辑框18";       // experience cost
inline constexpr std::string_view kCostMoneyBox = "编辑框19";     // money cost
inline constexpr std::string_view kLevelBox = "编辑框21";         // level
inline constexpr std::string_view kRepairPriceBox = "编辑框22";   // repair price
inline constexpr std::string_view kPermissionBox = "编辑框23";    // permission
inline constexpr std::string_view kKeepEnchantCombo = "组合框5";  // keeps enchantments or not
inline constexpr std::string_view kKeepEnchantLabel = "透明标签64";  // the keep-enchantment combo box's label
inline constexpr std::string_view kDropGroup = "分组框_掉落";        // the mob drop's frame
inline constexpr std::string_view kDropMobCombo = "组合框_掉落";     // the mob that drops the item
inline constexpr std::string_view kDropChanceBox = "编辑框_掉落";    // drop chance

// Skills
inline constexpr std::string_view kSkillGroup = "分组框_技能";          // skill, trigger and list
inline constexpr std::string_view kSkillCombo = "组合框_技能";          // the skill to add
inline constexpr std::string_view kSkillTriggerCombo = "组合框_触发1";  // the skill's trigger
inline constexpr std::string_view kSkillList = "列表框_技能";           // the skill powers
inline constexpr std::string_view kSkillParametersGroup = "分组框4";    // the add button and the common parameters
inline constexpr std::string_view kAddSkillButton = "按钮4";            // adds the skill power
inline constexpr std::string_view kSkillTimeBox = "编辑框时间";         // cooldown or duration
inline constexpr std::string_view kSkillChanceBox = "编辑框几率";       // chance
inline constexpr std::string_view kSkillPowerBox = "编辑框威力";        // power
inline constexpr std::string_view kSkillMaterialBox = "编辑框材质";     // material
inline constexpr std::string_view kCooldownLabel = "透明标签40";        // 「冷却时间」
inline constexpr std::string_view kChanceLabel = "透明标签41";          // 「激活几率」
inline constexpr std::string_view kSkillPowerLabel = "透明标签42";      // 「技能威力」
inline constexpr std::string_view kMaterialLabel = "透明标签43";        // 「物品材质」
inline constexpr std::string_view kDurationLabel = "透明标签持续时间";  // 「持续时间」
inline constexpr std::string_view kSkillExtrasGroup = "分组框7";        // the parameters of some skills only
inline constexpr std::string_view kSkillDistanceBox = "编辑框距离";     // distance
inline constexpr std::string_view kSkillMultiplierBox = "编辑框倍数";   // multiplier
inline constexpr std::string_view kSkillCountBox = "编辑框数量";        // count
inline constexpr std::string_view kSkillDelayBox = "编辑框延迟";        // delay
inline constexpr std::string_view kProjectileCombo = "组合框3";         // the projectile
inline constexpr std::string_view kBreaksBlocksCombo = "组合框1";       // breaks blocks or not
inline constexpr std::string_view kSetsFireCombo = "组合框2";           // sets fire or not
inline constexpr std::string_view kBlockKindCombo = "组合框4";          // the block kind
inline constexpr std::string_view kDistanceLabel = "透明标签50";        // 「技能距离」
inline constexpr std::string_view kBreaksBlocksLabel = "透明标签51";    // 「破坏方块」
inline constexpr std::string_view kMultiplierLabel = "透明标签52";      // 「倍数」
inline constexpr std::string_view kProjectileLabel = "透明标签53";      // 「技能类型」 of the projectile
inline constexpr std::string_view kSetsFireLabel = "透明标签54";        // 「方块着火」
inline constexpr std::string_view kCountLabel = "透明标签55";           // 「射出数量」
inline constexpr std::string_view kBlockKindLabel = "透明标签56";       // 「技能类型」 of the block
inline constexpr std::string_view kDelayLabel = "透明标签57";           // 「延迟」
inline constexpr std::string_view kArrowRainGroup = "剑雨";             // the arrow rain's own boxes
inline constexpr std::string_view kArrowRainTipButton = "按钮10";  // 「提示」: how to finish an arrow rain line
inline constexpr std::string_view kRainRadiusBox = "剑雨半径";     // radius
inline constexpr std::string_view kRainHeightBox = "剑雨高度";     // height
inline constexpr std::string_view kRainPowerBox = "剑雨威力";      // power
inline constexpr std::string_view kRainDelayBox = "剑雨延迟";      // delay
inline constexpr std::string_view kRainCountBox = "剑雨数量";      // count

// Potion effects
inline constexpr std::string_view kPotionGroup = "分组框_药水";             // mode, effect, trigger, values and list
inline constexpr std::string_view kPotionHitRadio = "单选框1";              // potionhit
inline constexpr std::string_view kPotionPurgeRadio = "单选框2";            // potionpurge
inline constexpr std::string_view kPotionThrowRadio = "单选框3";            // potionthrow
inline constexpr std::string_view kPotionSelfRadio = "单选框4";             // potionself
inline constexpr std::string_view kPotionEffectCombo = "组合框_药水";       // the effect
inline constexpr std::string_view kPotionEffectClassCombo = "组合框_类型";  // the effect class (purge)
inline constexpr std::string_view kPotionTriggerCombo = "组合框_触发";      // the trigger
inline constexpr std::string_view kPotionChanceBox = "编辑框14";            // chance
inline constexpr std::string_view kPotionDurationBox = "编辑框15";          // duration
inline constexpr std::string_view kPotionLevelBox = "编辑框16";             // level
inline constexpr std::string_view kPotionCooldownBox = "编辑框17";          // cooldown
inline constexpr std::string_view kAddPotionButton = "按钮2";               // adds the potion power
inline constexpr std::string_view kPotionList = "列表框_药水";              // the potion powers

// Consume and food
inline constexpr std::string_view kConsumeGroup = "分组框_药水1";         // kind, trigger, saturation and list
inline constexpr std::string_view kConsumeRadio = "单选框5";              // consume
inline constexpr std::string_view kFoodRadio = "单选框6";                 // food
inline constexpr std::string_view kConsumeTriggerCombo = "组合框_触发2";  // the trigger
inline constexpr std::string_view kSaturationBox = "编辑框20";            // saturation (food)
inline constexpr std::string_view kAddConsumeButton = "按钮3";            // adds the consume or food power
inline constexpr std::string_view kConsumeList = "列表框_消耗";           // the consume and food powers

// Every name above, for the check that each is a control of the layout.
// clang-format off
inline constexpr std::string_view kControlNames[] = {
    kOutputBox, kDeliverButton, kUndoButton, kRedoButton, kHistoryGroup, kTitleLabel, kSizeGuardClock,
    kItemFileDialog, kWebView, kPlayMusicButton, kChatGroupButton, kTutorialButton, kTutorialPicture, kDyeButton,
    kDyeList, kColourChartCheck, kColourChartPicture, kItemGroup, kIdBox, kDisplayNameBox, kHandBox, kTypeBox,
    kLoreBox, kDescriptionGroup, kDescriptionBox, kAttributesGroup, kMaterialBox, kDataValueBox, kDamageBox,
    kArmourBox, kDurabilityBox, kDurabilityBarCheck, kInfiniteDurabilityCheck, kDisappearBox, kCustomRecipeCheck,
    kRemoveRecipeCheck, kGiveCheck, kUsageGroup, kCostExpBox, kCostMoneyBox, kLevelBox, kRepairPriceBox,
    kPermissionBox, kKeepEnchantCombo, kKeepEnchantLabel, kDropGroup, kDropMobCombo, kDropChanceBox, kSkillGroup,
    kSkillCombo, kSkillTriggerCombo, kSkillList, kSkillParametersGroup, kAddSkillButton, kSkillTimeBox,
    kSkillChanceBox, kSkillPowerBox, kSkillMaterialBox, kCooldownLabel, kChanceLabel, kSkillPowerLabel,
    kMaterialLabel, kDurationLabel, kSkillExtrasGroup, kSkillDistanceBox, kSkillMultiplierBox, kSkillCountBox,
    kSkillDelayBox, kProjectileCombo, kBreaksBlocksCombo, kSetsFireCombo, kBlockKindCombo, kDistanceLabel,
    kBreaksBlocksLabel, kMultiplierLabel, kProjectileLabel, kSetsFireLabel, kCountLabel, kBlockKindLabel, kDelayLabel,
    kArrowRainGroup, kArrowRainTipButton, kRainRadiusBox, kRainHeightBox, kRainPowerBox, kRainDelayBox, kRainCountBox,
    kPotionGroup, kPotionHitRadio, kPotionPurgeRadio, kPotionThrowRadio, kPotionSelfRadio, kPotionEffectCombo,
    kPotionEffectClassCombo, kPotionTriggerCombo, kPotionChanceBox, kPotionDurationBox, kPotionLevelBox,
    kPotionCooldownBox, kAddPotionButton, kPotionList, kConsumeGroup, kConsumeRadio, kFoodRadio, kConsumeTriggerCombo,
    kSaturationBox, kAddConsumeButton, kConsumeList,
};
// clang-format on

}  // namespace editor
