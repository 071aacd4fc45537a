#include "editor/layout.h"

#include <array>
#include <stdexcept>
#include <string>

namespace editor {

namespace {

using namespace std::literals;

// The tables keep one entry per line: clang-format would pack them.
// clang-format off

constexpr std::uint32_t kOrange = 0xFF8000;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kPink = 0xFF5080;
constexpr std::uint32_t kPurple = 0x9000FF;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kSkyBlue = 0x44C2FF;

constexpr Font kYaHei12{"微软雅黑", 12, 400};
constexpr Font kYaHei14{"微软雅黑", 14, 400};
constexpr Font kYaHei14Bold{"微软雅黑", 14, 700};
constexpr Font kFangSong14{"仿宋", 14, 400};
constexpr Font kFangSong19Bold{"仿宋", 19, 700};
constexpr Font kKaiTi16Bold{"楷体", 16, 700};
constexpr Font kHeiTi14{"黑体", 14, 400};
constexpr Font kSystem14{"", 14, 400};
constexpr Font kBrushScript16{"华文行楷", 16, 400};

constexpr std::array kTriggers{
    "tick|持续"sv,
    "damage|攻击时"sv,
    "damaged|受到攻击时"sv,
    "sneak|切换潜行时"sv,
    "sneakon|开启潜行时"sv,
    "sneakoff|关闭潜行时"sv,
    "sprint|切换冲刺时"sv,
    "sprinton|开启冲刺时"sv,
    "sprintoff|关闭冲刺时"sv,
    "interact|左击/右击"sv,
    "rightclick|右击"sv,
    "leftclick|左击"sv,
    "rightclickair|右击空气"sv,
    "leftclickair|左击空气"sv,
    "rightclickblock|右击方块"sv,
    "leftclickblock|左击方块"sv,
    "rightclickentity|右击生物时"sv,
    "consume|进食时"sv,
    "kill|杀人时"sv,
    "killed|死亡时"sv,
    "blockbreak|挖矿时"sv,
    "blockplace|建筑时"sv,
    "arrowhit|射中时"sv,
    "arrowentity|射中生物时"sv,
    "fish|钓鱼时"sv,
    "weather|天气恶劣时"sv,
    "storm|暴雨时"sv,
    "thunder|雷霆时"sv,
    "bonegrow|骨粉催生时"sv,
    "levelup|等级提升时"sv,
    "respawn|重生时"sv,
    "tickground|在地面时持续"sv,
    "tickfly|在飞行时持续"sv,
    "tickliquid|游泳时持续"sv,
    "tickwater|在水中时持续"sv,
    "ticklava|在岩浆中时持续"sv,
    "ticksleep|睡觉时持续"sv,
    "ticksneak|潜行时持续"sv,
    "ticksprint|冲刺时持续"sv,
    "tickvehicle|骑乘时持续"sv,
    "tickweather|天气恶劣时持续"sv,
    "ticksun|晴天时持续"sv,
    "tickthunder|雷霆时持续"sv,
    "tickstorm|暴雨时持续"sv,
    "bed|上床/下床时"sv,
    "bedenter|上床时"sv,
    "bedleft|下床时"sv,
    "leash|拴绳时"sv,
    "unleash|解除拴绳时"sv,
    "editbook|书本签名时"sv,
    "regain|回复血量时"sv,
    "horsejump|骑马跳跃时"sv,
    "bucketempty|空桶时"sv,
    "bucketfill|装满桶时"sv,
    "itembreak|物品破裂时"sv,
    "teleport|传送时"sv,
    "combust|燃烧时"sv,
    "tame|驯服动物时"sv,
    "enchant|附魔时"sv,
};

constexpr std::array kPotionEffects{
    "speed|加速"sv,
    "slow|减速"sv,
    "fast_digging|快速挖掘"sv,
    "slow_digging|缓慢挖掘"sv,
    "increase_damage|伤害提升"sv,
    "heal|治疗"sv,
    "harm|伤害"sv,
    "jump|跳跃"sv,
    "confusion|反胃"sv,
    "regeneration|生命再生"sv,
    "damage_resistance|抗性"sv,
    "fire_resistance|抗火"sv,
    "water_breathing|水下呼吸"sv,
    "invisibility|隐身"sv,
    "blindness|失明"sv,
    "night_vision|夜视"sv,
    "hunger|饥饿"sv,
    "weakness|虚弱"sv,
    "poison|中毒"sv,
    "wither|凋零"sv,
};

constexpr std::array kCreatures{
    "玩家(Player)"sv,
    "蝙蝠(Bat)"sv,
    "鸡(Chicken)"sv,
    "牛(Cow)"sv,
    "哞菇(MushroomCow)"sv,
    "猪(Pig)"sv,
    "鱿鱼(Squid)"sv,
    "羊(Sheep)"sv,
    "村民(Villager)"sv,
    "末影人(Enderman)"sv,
    "僵尸猪人(PigZombie)"sv,
    "烈焰人(Blaze)"sv,
    "爬行者(Creeper)"sv,
    "恶魂(Ghast)"sv,
    "蠹虫(Silverfish)"sv,
    "骷髅/凋灵骷髅(Skeleton)"sv,
    "史莱姆(Slime)"sv,
    "岩浆怪(LavaSlime)"sv,
    "蜘蛛(Spider)"sv,
    "洞穴蜘蛛 (CaveSpider)"sv,  // the blank is part of the shipped list
    "女巫(Witch)"sv,
    "僵尸(Zombie)"sv,
    "马(EntityHorse)"sv,
    "豹猫(Ocelot)"sv,
    "狼(Wolf)"sv,
    "雪傀儡(SnowMan)"sv,
    "铁傀儡(VillagerGolem)"sv,
    "末影龙(EnderDragon)"sv,
    "凋灵(WitherBoss)"sv,
    "僵尸巨人(Giant)"sv,
};

// The number before "." is the skill's index; the skill editor relies on it.
constexpr std::array kSkills{
    "0.点燃[随意]"sv,
    "1.击飞[随意]"sv,
    "2.闪电[随意]"sv,
    "3.火箭[随意]"sv,
    "4.弹射[随意]"sv,
    "5.冰块[随意]"sv,
    "6.冲击[随意]"sv,
    "7.天钩[随意]"sv,
    "8.传送[随意]"sv,
    "9.TNT [随意]"sv,
    "10.彩虹[随意]"sv,
    "11.吸血[随意]"sv,
    "12.暴击[随意]"sv,
    "13.爆炸[随意]"sv,
    "14.禁锢[随意]"sv,
    "15.反刺[随意]"sv,
    "16.群攻[随意]"sv,
    "17.剑雨[随意]"sv,
};

constexpr std::array kBreaksBlocks{"t|可破坏"sv, "f|不可破坏"sv};
constexpr std::array kSetsFire{"t|可着火"sv, "f|不可着火"sv};
constexpr std::array kProjectiles{
    "smallfireball|普通的火球"sv,
    "bigfireball|恶魂的火球"sv,
    "snowball|雪球"sv,
    "egg|鸡蛋"sv,
    "witherskull|凋零头"sv,
    "fishhook|鱼钩"sv,
};
constexpr std::array kEffectKinds{"heal|治疗"sv, "buff|BUFF"sv, "rpgitem|静滞炸弹"sv};
constexpr std::array kKeepEnchant{"true|可以附魔"sv, "false|不可以附魔"sv};
constexpr std::array kEffectClasses{"buff|正面效果"sv, "bebuff|负面效果"sv, "all|全部效果"sv};

constexpr std::string_view kDyeList =
    "\r\n"
    "墨囊——1644825\r\n\r\n"
    "玫瑰红——10040115\r\n\r\n"
    "仙人掌绿——6717235\r\n\r\n"
    "可可豆——6704179\r\n\r\n"
    "青金石——3361970\r\n\r\n"
    "紫色染料——8339378\r\n\r\n"
    "青色染料——5013401\r\n\r\n"
    "橙色染料——14188339\r\n\r\n"
    "淡灰色染料——10066329\r\n\r\n"
    "灰色染料——5000268\r\n\r\n"
    "粉红色染料——15892389\r\n\r\n"
    "黄绿色染料——8375321\r\n\r\n"
    "蒲公英黄——15066419\r\n\r\n"
    "淡蓝色染料——6724056\r\n\r\n"
    "品红色染料——11685080\r\n\r\n"
    "骨粉——16777215\r\n\r\n"
    "在材质后面加上,上面的数字即可\r\n"
    "如果不行,那么是某些插件造成的";

constexpr std::string_view kUndoTip =
    "怕输出的内容不正确？\r\n"
    "没事！不要怕~\r\n"
    "可以自己更改里面的内容\r\n"
    "\r\n"
    "怕改错了？没事！\r\n"
    "按Ctrl+X撤回！\r\n"
    "\r\n"
    "不小心撤回多了？\r\n"
    "没事！不要怕\r\n"
    "按Ctrl+Y恢复！\r\n";

// Within one parent the rows run from the topmost control down.
constexpr Control kControls[] = {
    // The window's client area.
    {.name = "图片框1", .kind = ControlKind::PictureBox, .parent = "", .left = 592, .top = 32, .width = 376, .height = 368,
     .text = "", .visible = false, .picture = Picture::Tutorial},
    {.name = "编辑框24", .kind = ControlKind::Edit, .parent = "", .left = 593, .top = 32, .width = 144, .height = 456,
     .text = kDyeList, .textColour = kBlack, .visible = false, .editStyle = kMultiLine | kWrap},
    {.name = "图片框_颜色", .kind = ControlKind::PictureBox, .parent = "", .left = 848, .top = 332, .width = 232,
     .height = 320, .text = "", .visible = false, .picture = Picture::ColourChart},
    {.name = "剑雨", .kind = ControlKind::GroupBox, .parent = "", .left = 300, .top = 521, .width = 290, .height = 136,
     .text = "", .visible = false},
    {.name = "按钮9", .kind = ControlKind::Button, .parent = "", .left = 872, .top = 600, .width = 56, .height = 32,
     .text = "关闭音乐休息一会"},
    {.name = "超文本浏览框1", .kind = ControlKind::WebView, .parent = "", .left = 664, .top = 632, .width = 72, .height = 16,
     .text = "", .visible = false},
    {.name = "按钮8", .kind = ControlKind::Button, .parent = "", .left = 624, .top = 600, .width = 56, .height = 32,
     .text = "播放音乐轻松一下"},
    {.name = "分组框7", .kind = ControlKind::GroupBox, .parent = "", .left = 300, .top = 519, .width = 290, .height = 136,
     .text = ""},
    {.name = "选择框6", .kind = ControlKind::CheckBox, .parent = "", .left = 594, .top = 631, .width = 17, .height = 24,
     .text = ""},
    {.name = "透明标签33", .kind = ControlKind::Label, .parent = "", .left = 610, .top = 630, .width = 58, .height = 24,
     .text = "颜色代码", .textColour = kOrange},
    {.name = "分组框5", .kind = ControlKind::GroupBox, .parent = "", .left = 592, .top = 210, .width = 472, .height = 64,
     .text = ""},
    {.name = "透明标签32", .kind = ControlKind::Label, .parent = "", .left = 27, .top = 3, .width = 205, .height = 24,
     .text = "『Qelvo』 RPGitem4.0.9 编辑器", .textColour = kOrange, .font = kYaHei14Bold},
    {.name = "透明标签21", .kind = ControlKind::Label, .parent = "", .left = 308, .top = 25, .width = 48, .height = 24,
     .text = "基础设置", .textColour = kPink},
    {.name = "透明标签26", .kind = ControlKind::Label, .parent = "", .left = 308, .top = 205, .width = 48, .height = 24,
     .text = "其他", .textColour = kOrange, .font = kYaHei12},
    {.name = "透明标签25", .kind = ControlKind::Label, .parent = "", .left = 308, .top = 420, .width = 48, .height = 24,
     .text = "掉落", .textColour = kOrange, .font = kYaHei12},
    {.name = "透明标签24", .kind = ControlKind::Label, .parent = "", .left = 16, .top = 420, .width = 48, .height = 24,
     .text = "技能", .textColour = kOrange, .font = kYaHei12},
    {.name = "透明标签23", .kind = ControlKind::Label, .parent = "", .left = 15, .top = 202, .width = 48, .height = 24,
     .text = "备注设置", .textColour = kRed},
    // Configured but never opened; the filter is kept with it.
    {.name = "通用对话框1", .kind = ControlKind::FileDialog, .parent = "", .left = 952, .top = 280, .width = 0, .height = 0,
     .text = "配置文件（*.ini）|*.ini", .visible = false},
    {.name = "按钮6", .kind = ControlKind::Button, .parent = "", .left = 952, .top = 288, .width = 40, .height = 16,
     .text = "x", .visible = false},
    {.name = "按钮5", .kind = ControlKind::Button, .parent = "", .left = 992, .top = 288, .width = 40, .height = 16,
     .text = "y", .visible = false},
    {.name = "列表框1", .kind = ControlKind::ListBox, .parent = "", .left = 1032, .top = 248, .width = 48, .height = 16,
     .text = "", .visible = false},
    {.name = "时钟1", .kind = ControlKind::Timer, .parent = "", .left = 1048, .top = 272, .width = 0, .height = 0,
     .text = "", .timerIntervalMs = kSizeGuardIntervalMs},
    {.name = "透明标签20", .kind = ControlKind::Label, .parent = "", .left = 15, .top = 25, .width = 48, .height = 24,
     .text = "基础设置", .textColour = kPink},
    {.name = "透明标签5", .kind = ControlKind::Label, .parent = "", .left = 15, .top = 166, .width = 41, .height = 24,
     .text = "△注释", .textColour = kRed},
    {.name = "分组框1", .kind = ControlKind::GroupBox, .parent = "", .left = 6, .top = 31, .width = 288, .height = 177,
     .text = "       ", .textColour = kRed},
    {.name = "分组框6", .kind = ControlKind::GroupBox, .parent = "", .left = 946, .top = 280, .width = 120, .height = 216,
     .text = ""},
    {.name = "分组框2", .kind = ControlKind::GroupBox, .parent = "", .left = 6, .top = 208, .width = 288, .height = 216,
     .text = "        ", .textColour = kPink},
    {.name = "分组框_技能", .kind = ControlKind::GroupBox, .parent = "", .left = 7, .top = 423, .width = 289, .height = 161,
     .text = "     ", .textColour = kOrange, .font = kYaHei12},
    {.name = "分组框_药水1", .kind = ControlKind::GroupBox, .parent = "", .left = 299, .top = 208, .width = 290,
     .height = 216, .text = "     ", .textColour = kOrange, .font = kYaHei12},
    {.name = "分组框_掉落", .kind = ControlKind::GroupBox, .parent = "", .left = 299, .top = 423, .width = 290, .height = 96,
     .text = "    ", .textColour = kOrange, .font = kYaHei12},
    {.name = "分组框4", .kind = ControlKind::GroupBox, .parent = "", .left = 8, .top = 583, .width = 288, .height = 71,
     .text = ""},
    {.name = "分组框3", .kind = ControlKind::GroupBox, .parent = "", .left = 300, .top = 32, .width = 288, .height = 177,
     .text = "       ", .textColour = kRed},
    {.name = "分组框_药水", .kind = ControlKind::GroupBox, .parent = "", .left = 593, .top = 30, .width = 471, .height = 177,
     .text = "     ", .textColour = kOrange, .font = kYaHei12},
    {.name = "编辑框1", .kind = ControlKind::Edit, .parent = "", .left = 594, .top = 279, .width = 350, .height = 313,
     .text = "", .textColour = kOrange, .editStyle = kMultiLine | kHScroll | kVScroll | kWantReturn},
    {.name = "按钮1", .kind = ControlKind::Button, .parent = "", .left = 680, .top = 600, .width = 192, .height = 32,
     .text = "输出到客户端", .font = kKaiTi16Bold},

    // 剑雨: hidden as a whole at start; its children are visible within it.
    {.name = "按钮10", .kind = ControlKind::Button, .parent = "剑雨", .left = 212, .top = 95, .width = 56, .height = 24,
     .text = "提示"},
    {.name = "剑雨数量", .kind = ControlKind::Edit, .parent = "剑雨", .left = 219, .top = 56, .width = 44, .height = 24,
     .text = "8:60"},
    {.name = "剑雨延迟", .kind = ControlKind::Edit, .parent = "剑雨", .left = 176, .top = 56, .width = 44, .height = 24,
     .text = "0:39"},
    {.name = "透明标签63", .kind = ControlKind::Label, .parent = "剑雨", .left = 112, .top = 56, .width = 60, .height = 24,
     .text = "延迟和数量", .textColour = kOrange},
    {.name = "剑雨威力", .kind = ControlKind::Edit, .parent = "剑雨", .left = 139, .top = 96, .width = 56, .height = 24,
     .text = ""},
    {.name = "剑雨高度", .kind = ControlKind::Edit, .parent = "剑雨", .left = 40, .top = 96, .width = 56, .height = 24,
     .text = ""},
    {.name = "剑雨半径", .kind = ControlKind::Edit, .parent = "剑雨", .left = 40, .top = 56, .width = 56, .height = 24,
     .text = ""},
    {.name = "透明标签62", .kind = ControlKind::Label, .parent = "剑雨", .left = 111, .top = 96, .width = 28, .height = 24,
     .text = "威力", .textColour = kOrange},
    {.name = "透明标签61", .kind = ControlKind::Label, .parent = "剑雨", .left = 12, .top = 96, .width = 28, .height = 24,
     .text = "高度", .textColour = kOrange},
    {.name = "透明标签60", .kind = ControlKind::Label, .parent = "剑雨", .left = 12, .top = 56, .width = 28, .height = 24,
     .text = "半径", .textColour = kOrange},
    {.name = "透明标签59", .kind = ControlKind::Label, .parent = "剑雨", .left = 40, .top = 32, .width = 212, .height = 24,
     .text = "半径,高度,威力,延迟|数量,冷却,几率", .textColour = kOrange},
    {.name = "透明标签58", .kind = ControlKind::Label, .parent = "剑雨", .left = 80, .top = 8, .width = 124, .height = 24,
     .text = "剑雨专用编写框", .textColour = kOrange, .font = kBrushScript16},

    // 分组框7: the skill editor shows these per selected skill.
    {.name = "编辑框延迟", .kind = ControlKind::Edit, .parent = "分组框7", .left = 234, .top = 80, .width = 47, .height = 24,
     .text = "", .visible = false},
    {.name = "透明标签57", .kind = ControlKind::Label, .parent = "分组框7", .left = 208, .top = 80, .width = 36,
     .height = 24, .text = "延迟", .textColour = kOrange, .visible = false},
    {.name = "组合框4", .kind = ControlKind::ComboEditable, .parent = "分组框7", .left = 62, .top = 110, .width = 222,
     .height = 20, .text = "", .visible = false, .items = kEffectKinds},
    {.name = "透明标签56", .kind = ControlKind::Label, .parent = "分组框7", .left = 11, .top = 108, .width = 64,
     .height = 24, .text = "技能类型", .textColour = kOrange, .visible = false},
    {.name = "编辑框倍数", .kind = ControlKind::Edit, .parent = "分组框7", .left = 40, .top = 80, .width = 56, .height = 24,
     .text = "", .visible = false},
    {.name = "组合框3", .kind = ControlKind::ComboEditable, .parent = "分组框7", .left = 174, .top = 18, .width = 110,
     .height = 20, .text = "", .visible = false, .items = kProjectiles},
    {.name = "组合框2", .kind = ControlKind::ComboEditable, .parent = "分组框7", .left = 190, .top = 51, .width = 74,
     .height = 20, .text = "", .visible = false, .items = kSetsFire},
    {.name = "组合框1", .kind = ControlKind::ComboEditable, .parent = "分组框7", .left = 62, .top = 51, .width = 74,
     .height = 20, .text = "", .visible = false, .items = kBreaksBlocks},
    {.name = "编辑框数量", .kind = ControlKind::Edit, .parent = "分组框7", .left = 151, .top = 80, .width = 56, .height = 24,
     .text = "", .visible = false},
    {.name = "透明标签55", .kind = ControlKind::Label, .parent = "分组框7", .left = 100, .top = 80, .width = 64,
     .height = 24, .text = "射出数量", .textColour = kOrange, .visible = false},
    {.name = "透明标签54", .kind = ControlKind::Label, .parent = "分组框7", .left = 139, .top = 48, .width = 64,
     .height = 24, .text = "方块着火", .textColour = kOrange, .visible = false},
    {.name = "透明标签53", .kind = ControlKind::Label, .parent = "分组框7", .left = 123, .top = 16, .width = 64,
     .height = 24, .text = "技能类型", .textColour = kOrange, .visible = false},
    {.name = "透明标签52", .kind = ControlKind::Label, .parent = "分组框7", .left = 11, .top = 82, .width = 25, .height = 24,
     .text = "倍数", .textColour = kOrange, .visible = false},
    {.name = "透明标签51", .kind = ControlKind::Label, .parent = "分组框7", .left = 11, .top = 48, .width = 64, .height = 24,
     .text = "破坏方块", .textColour = kOrange, .visible = false},
    {.name = "透明标签50", .kind = ControlKind::Label, .parent = "分组框7", .left = 11, .top = 16, .width = 64, .height = 24,
     .text = "技能距离", .textColour = kOrange, .visible = false},
    {.name = "编辑框距离", .kind = ControlKind::Edit, .parent = "分组框7", .left = 62, .top = 18, .width = 56, .height = 24,
     .text = "", .visible = false},

    // 分组框5: costs, level, permission, enchanting.
    {.name = "透明标签64", .kind = ControlKind::Label, .parent = "分组框5", .left = 336, .top = 32, .width = 72,
     .height = 24, .text = "△附魔", .textColour = kOrange},
    {.name = "组合框5", .kind = ControlKind::ComboEditable, .parent = "分组框5", .left = 376, .top = 36, .width = 86,
     .height = 20, .text = "", .items = kKeepEnchant},
    {.name = "透明标签46", .kind = ControlKind::Label, .parent = "分组框5", .left = 336, .top = 9, .width = 72, .height = 24,
     .text = "△使用权限", .textColour = kOrange},
    {.name = "编辑框23", .kind = ControlKind::Edit, .parent = "分组框5", .left = 400, .top = 8, .width = 63, .height = 24,
     .text = ""},
    {.name = "透明标签45", .kind = ControlKind::Label, .parent = "分组框5", .left = 172, .top = 8, .width = 72, .height = 24,
     .text = "△修理价格", .textColour = kOrange},
    {.name = "编辑框22", .kind = ControlKind::Edit, .parent = "分组框5", .left = 236, .top = 8, .width = 96, .height = 24,
     .text = ""},
    {.name = "编辑框21", .kind = ControlKind::Edit, .parent = "分组框5", .left = 236, .top = 32, .width = 96, .height = 24,
     .text = ""},
    {.name = "透明标签44", .kind = ControlKind::Label, .parent = "分组框5", .left = 172, .top = 32, .width = 72,
     .height = 24, .text = "△使用等级", .textColour = kOrange},
    {.name = "编辑框19", .kind = ControlKind::Edit, .parent = "分组框5", .left = 72, .top = 33, .width = 96, .height = 24,
     .text = ""},
    {.name = "透明标签38", .kind = ControlKind::Label, .parent = "分组框5", .left = 8, .top = 32, .width = 72, .height = 24,
     .text = "△消耗金币", .textColour = kOrange},
    {.name = "透明标签34", .kind = ControlKind::Label, .parent = "分组框5", .left = 8, .top = 8, .width = 72, .height = 24,
     .text = "△消耗经验", .textColour = kOrange},
    {.name = "编辑框18", .kind = ControlKind::Edit, .parent = "分组框5", .left = 72, .top = 9, .width = 96, .height = 24,
     .text = ""},

    // 分组框1: item identity.
    {.name = "编辑框6", .kind = ControlKind::Edit, .parent = "分组框1", .left = 52, .top = 136, .width = 200, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "编辑框5", .kind = ControlKind::Edit, .parent = "分组框1", .left = 52, .top = 109, .width = 200, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "编辑框4", .kind = ControlKind::Edit, .parent = "分组框1", .left = 52, .top = 80, .width = 200, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "编辑框3", .kind = ControlKind::Edit, .parent = "分组框1", .left = 52, .top = 51, .width = 200, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "编辑框2", .kind = ControlKind::Edit, .parent = "分组框1", .left = 52, .top = 21, .width = 200, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "透明标签4", .kind = ControlKind::Label, .parent = "分组框1", .left = 8, .top = 110, .width = 42, .height = 24,
     .text = "△类型", .textColour = kRed},
    {.name = "透明标签3", .kind = ControlKind::Label, .parent = "分组框1", .left = 8, .top = 81, .width = 42, .height = 24,
     .text = "△描述", .textColour = kRed},
    {.name = "透明标签2", .kind = ControlKind::Label, .parent = "分组框1", .left = 8, .top = 51, .width = 42, .height = 24,
     .text = "△名字", .textColour = kRed},
    {.name = "透明标签1", .kind = ControlKind::Label, .parent = "分组框1", .left = 8, .top = 22, .width = 42, .height = 24,
     .text = "△ ID", .textColour = kRed},

    // 分组框6: the undo tip.
    {.name = "透明标签36", .kind = ControlKind::Label, .parent = "分组框6", .left = 8, .top = 11, .width = 104,
     .height = 206, .text = kUndoTip, .textColour = kSkyBlue, .font = kHeiTi14},

    // 分组框2: description lines.
    {.name = "编辑框13", .kind = ControlKind::Edit, .parent = "分组框2", .left = 8, .top = 40, .width = 266, .height = 160,
     .text = "", .textColour = kOrange, .font = kYaHei14, .editStyle = kMultiLine | kVScroll | kWrap},
    {.name = "透明标签8", .kind = ControlKind::Label, .parent = "分组框2", .left = 8, .top = 14, .width = 72, .height = 24,
     .text = "△备注", .textColour = kPink},

    // 分组框_技能: skill powers.
    {.name = "组合框_触发1", .kind = ControlKind::ComboList, .parent = "分组框_技能", .left = 118, .top = 24, .width = 153,
     .height = 20, .text = "", .font = kFangSong14, .items = kTriggers},
    {.name = "列表框_技能", .kind = ControlKind::ListBox, .parent = "分组框_技能", .left = 15, .top = 64, .width = 256,
     .height = 97, .text = "", .textColour = kOrange, .font = kYaHei14},
    {.name = "组合框_技能", .kind = ControlKind::ComboList, .parent = "分组框_技能", .left = 15, .top = 24, .width = 106,
     .height = 22, .text = "", .font = kFangSong14, .items = kSkills},

    // 分组框_药水1: consume powers.
    {.name = "透明标签49", .kind = ControlKind::Label, .parent = "分组框_药水1", .left = 214, .top = 16, .width = 53,
     .height = 24, .text = "↓饱和度", .textColour = kRed},
    {.name = "编辑框20", .kind = ControlKind::Edit, .parent = "分组框_药水1", .left = 208, .top = 43, .width = 66,
     .height = 24, .text = "", .textColour = kOrange, .inputMode = InputMode::IntegerOnly},
    {.name = "单选框6", .kind = ControlKind::Radio, .parent = "分组框_药水1", .left = 106, .top = 21, .width = 16,
     .height = 16, .text = "单选框"},
    {.name = "单选框5", .kind = ControlKind::Radio, .parent = "分组框_药水1", .left = 18, .top = 21, .width = 16,
     .height = 16, .text = "单选框", .checked = true},
    {.name = "透明标签39", .kind = ControlKind::Label, .parent = "分组框_药水1", .left = 34, .top = 17, .width = 65,
     .height = 24, .text = "使用后消耗", .textColour = kOrange},
    {.name = "透明标签10", .kind = ControlKind::Label, .parent = "分组框_药水1", .left = 122, .top = 17, .width = 65,
     .height = 24, .text = "增加饱和度", .textColour = kOrange},
    {.name = "列表框_命令", .kind = ControlKind::ListBox, .parent = "分组框_药水1", .left = 8, .top = 24, .width = 21,
     .height = 16, .text = "", .font = kYaHei14, .visible = false},
    {.name = "按钮3", .kind = ControlKind::Button, .parent = "分组框_药水1", .left = 49, .top = 186, .width = 184,
     .height = 24, .text = "添    加"},
    {.name = "列表框_消耗", .kind = ControlKind::ListBox, .parent = "分组框_药水1", .left = 12, .top = 72, .width = 264,
     .height = 112, .text = "", .textColour = kOrange, .font = kYaHei14},
    {.name = "组合框_触发2", .kind = ControlKind::ComboList, .parent = "分组框_药水1", .left = 41, .top = 45, .width = 164,
     .height = 22, .text = "", .font = kFangSong14, .items = kTriggers},
    {.name = "透明标签35", .kind = ControlKind::Label, .parent = "分组框_药水1", .left = 14, .top = 43, .width = 31,
     .height = 24, .text = "方式", .textColour = kRed},

    // 分组框_掉落: drops.
    {.name = "透明标签19", .kind = ControlKind::Label, .parent = "分组框_掉落", .left = 8, .top = 60, .width = 72,
     .height = 24, .text = "△掉落几率", .textColour = kRed, .font = kSystem14},
    {.name = "透明标签18", .kind = ControlKind::Label, .parent = "分组框_掉落", .left = 8, .top = 24, .width = 72,
     .height = 24, .text = "△生物掉落", .textColour = kRed, .font = kSystem14},
    {.name = "透明标签13", .kind = ControlKind::Label, .parent = "分组框_掉落", .left = 266, .top = 60, .width = 19,
     .height = 24, .text = "%", .textColour = kBlue, .font = kFangSong19Bold},
    {.name = "编辑框_掉落", .kind = ControlKind::Edit, .parent = "分组框_掉落", .left = 80, .top = 61, .width = 182,
     .height = 24, .text = "", .textColour = kOrange, .font = kYaHei14, .inputMode = InputMode::DecimalText},
    {.name = "组合框_掉落", .kind = ControlKind::ComboList, .parent = "分组框_掉落", .left = 80, .top = 24, .width = 200,
     .height = 28, .text = "", .font = kFangSong14, .items = kCreatures},

    // 分组框4: the skill editor shows these per selected skill; only the add button starts visible.
    {.name = "透明标签持续时间", .kind = ControlKind::Label, .parent = "分组框4", .left = 61, .top = 10, .width = 51,
     .height = 24, .text = "持续时间", .textColour = kOrange, .visible = false},
    {.name = "按钮4", .kind = ControlKind::Button, .parent = "分组框4", .left = 9, .top = 16, .width = 46, .height = 38,
     .text = "添加"},
    {.name = "透明标签43", .kind = ControlKind::Label, .parent = "分组框4", .left = 171, .top = 34, .width = 48,
     .height = 24, .text = "物品材质", .textColour = kOrange, .visible = false},
    {.name = "编辑框材质", .kind = ControlKind::Edit, .parent = "分组框4", .left = 218, .top = 34, .width = 56, .height = 24,
     .text = "", .visible = false},
    {.name = "编辑框威力", .kind = ControlKind::Edit, .parent = "分组框4", .left = 112, .top = 34, .width = 56, .height = 24,
     .text = "", .visible = false},
    {.name = "透明标签42", .kind = ControlKind::Label, .parent = "分组框4", .left = 62, .top = 34, .width = 48, .height = 24,
     .text = "技能威力", .textColour = kOrange, .visible = false},
    {.name = "编辑框几率", .kind = ControlKind::Edit, .parent = "分组框4", .left = 218, .top = 10, .width = 56, .height = 24,
     .text = "", .visible = false},
    {.name = "编辑框时间", .kind = ControlKind::Edit, .parent = "分组框4", .left = 112, .top = 10, .width = 56, .height = 24,
     .text = "", .visible = false},
    {.name = "透明标签41", .kind = ControlKind::Label, .parent = "分组框4", .left = 171, .top = 10, .width = 46,
     .height = 24, .text = "激活几率", .textColour = kOrange, .visible = false},
    {.name = "透明标签40", .kind = ControlKind::Label, .parent = "分组框4", .left = 61, .top = 10, .width = 70, .height = 24,
     .text = "冷却时间", .textColour = kOrange, .visible = false},

    // 分组框3: material, damage, durability, armour, recipe flags.
    {.name = "按钮11", .kind = ControlKind::Button, .parent = "分组框3", .left = 176, .top = 64, .width = 20, .height = 40,
     .text = "教程"},
    {.name = "按钮7", .kind = ControlKind::Button, .parent = "分组框3", .left = 232, .top = 18, .width = 48, .height = 24,
     .text = "皮革"},
    {.name = "选择框5", .kind = ControlKind::CheckBox, .parent = "分组框3", .left = 197, .top = 48, .width = 89,
     .height = 24, .text = "删除合成", .textColour = kOrange},
    {.name = "选择框3", .kind = ControlKind::CheckBox, .parent = "分组框3", .left = 197, .top = 74, .width = 88,
     .height = 24, .text = "自定义合成", .textColour = kOrange},
    {.name = "透明标签48", .kind = ControlKind::Label, .parent = "分组框3", .left = 164, .top = 136, .width = 36,
     .height = 24, .text = "1=100&", .textColour = kPink},
    {.name = "透明标签47", .kind = ControlKind::Label, .parent = "分组框3", .left = 11, .top = 134, .width = 72,
     .height = 24, .text = "△会消失", .textColour = kPink},
    {.name = "编辑框7", .kind = ControlKind::Edit, .parent = "分组框3", .left = 62, .top = 134, .width = 100, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "透明标签12", .kind = ControlKind::Label, .parent = "分组框3", .left = 163, .top = 18, .width = 8, .height = 24,
     .text = "：", .textColour = kRed},
    {.name = "编辑框12", .kind = ControlKind::Edit, .parent = "分组框3", .left = 173, .top = 19, .width = 57, .height = 24,
     .text = "", .textColour = kOrange, .inputMode = InputMode::IntegerOnly},
    {.name = "编辑框11", .kind = ControlKind::Edit, .parent = "分组框3", .left = 62, .top = 104, .width = 100, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "透明标签11", .kind = ControlKind::Label, .parent = "分组框3", .left = 12, .top = 104, .width = 72,
     .height = 24, .text = "△护甲", .textColour = kPink},
    {.name = "选择框4", .kind = ControlKind::CheckBox, .parent = "分组框3", .left = 197, .top = 148, .width = 80,
     .height = 24, .text = "给予物品", .textColour = kOrange, .checked = true},
    {.name = "选择框2", .kind = ControlKind::CheckBox, .parent = "分组框3", .left = 197, .top = 123, .width = 80,
     .height = 24, .text = "无限耐久", .textColour = kOrange},
    {.name = "选择框1", .kind = ControlKind::CheckBox, .parent = "分组框3", .left = 197, .top = 99, .width = 80,
     .height = 24, .text = "耐久显示", .textColour = kOrange},
    {.name = "编辑框10", .kind = ControlKind::Edit, .parent = "分组框3", .left = 62, .top = 76, .width = 100, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "编辑框9", .kind = ControlKind::Edit, .parent = "分组框3", .left = 62, .top = 47, .width = 100, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "编辑框8", .kind = ControlKind::Edit, .parent = "分组框3", .left = 62, .top = 19, .width = 100, .height = 24,
     .text = "", .textColour = kOrange},
    {.name = "透明标签6", .kind = ControlKind::Label, .parent = "分组框3", .left = 12, .top = 75, .width = 72, .height = 24,
     .text = "△耐久", .textColour = kPink},
    {.name = "透明标签7", .kind = ControlKind::Label, .parent = "分组框3", .left = 12, .top = 46, .width = 72, .height = 24,
     .text = "△伤害", .textColour = kPink},
    {.name = "透明标签9", .kind = ControlKind::Label, .parent = "分组框3", .left = 12, .top = 19, .width = 72, .height = 24,
     .text = "△材质ID", .textColour = kPink},

    // 分组框_药水: potion-effect powers. The radio buttons' own captions are cut off by
    // their size; the labels beside them carry the visible text.
    {.name = "透明标签29", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 9, .top = -4, .width = 31,
     .height = 24, .text = "药水", .textColour = kOrange},
    {.name = "透明标签37", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 160, .top = 82, .width = 32,
     .height = 24, .text = "右击", .textColour = kOrange},
    {.name = "单选框4", .kind = ControlKind::Radio, .parent = "分组框_药水", .left = 144, .top = 88, .width = 16,
     .height = 16, .text = "△左击", .textColour = kPurple},
    {.name = "透明标签22", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 160, .top = 105, .width = 32,
     .height = 24, .text = "左击", .textColour = kOrange},
    {.name = "透明标签31", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 159, .top = 147, .width = 32,
     .height = 24, .text = "投射", .textColour = kOrange},
    {.name = "透明标签30", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 159, .top = 126, .width = 32,
     .height = 24, .text = "净化", .textColour = kOrange},
    {.name = "透明标签28", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 236, .top = 16, .width = 31,
     .height = 24, .text = "方式", .textColour = kOrange},
    {.name = "透明标签27", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 9, .top = 16, .width = 31,
     .height = 24, .text = "效果", .textColour = kOrange},
    {.name = "组合框_触发", .kind = ControlKind::ComboList, .parent = "分组框_药水", .left = 263, .top = 18, .width = 196,
     .height = 20, .text = "", .font = kFangSong14, .items = kTriggers},
    {.name = "按钮2", .kind = ControlKind::Button, .parent = "分组框_药水", .left = 147, .top = 54, .width = 40,
     .height = 24, .text = "添加"},
    {.name = "透明标签17", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 8, .top = 144, .width = 72,
     .height = 24, .text = "△冷却时间", .textColour = kOrange},
    {.name = "透明标签16", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 8, .top = 109, .width = 72,
     .height = 24, .text = "△药水等级", .textColour = kOrange},
    {.name = "透明标签15", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 8, .top = 75, .width = 72,
     .height = 24, .text = "△持续时间", .textColour = kOrange},
    {.name = "透明标签14", .kind = ControlKind::Label, .parent = "分组框_药水", .left = 8, .top = 44, .width = 72,
     .height = 24, .text = "△触发几率", .textColour = kOrange},
    {.name = "编辑框17", .kind = ControlKind::Edit, .parent = "分组框_药水", .left = 72, .top = 147, .width = 71,
     .height = 20, .text = "", .textColour = kOrange},
    {.name = "编辑框16", .kind = ControlKind::Edit, .parent = "分组框_药水", .left = 72, .top = 112, .width = 71,
     .height = 20, .text = "×××××", .textColour = kOrange, .enabled = false},
    {.name = "编辑框14", .kind = ControlKind::Edit, .parent = "分组框_药水", .left = 72, .top = 45, .width = 71,
     .height = 20, .text = "", .textColour = kOrange},
    {.name = "编辑框15", .kind = ControlKind::Edit, .parent = "分组框_药水", .left = 72, .top = 78, .width = 71,
     .height = 20, .text = "", .textColour = kOrange},
    {.name = "单选框3", .kind = ControlKind::Radio, .parent = "分组框_药水", .left = 143, .top = 152, .width = 16,
     .height = 16, .text = "△手持", .textColour = kPurple},
    {.name = "单选框2", .kind = ControlKind::Radio, .parent = "分组框_药水", .left = 143, .top = 130, .width = 16,
     .height = 16, .text = "△右击", .textColour = kPurple},
    {.name = "列表框_药水", .kind = ControlKind::ListBox, .parent = "分组框_药水", .left = 199, .top = 42, .width = 264,
     .height = 128, .text = "", .textColour = kOrange, .font = kYaHei14},
    {.name = "组合框_药水", .kind = ControlKind::ComboList, .parent = "分组框_药水", .left = 34, .top = 17, .width = 196,
     .height = 22, .text = "", .font = kFangSong14, .items = kPotionEffects},
    {.name = "单选框1", .kind = ControlKind::Radio, .parent = "分组框_药水", .left = 143, .top = 110, .width = 16,
     .height = 16, .text = "△左击", .textColour = kPurple, .checked = true},
    // Shares its place with 组合框_药水; the potion editor shows one of the two.
    {.name = "组合框_类型", .kind = ControlKind::ComboList, .parent = "分组框_药水", .left = 34, .top = 17, .width = 196,
     .height = 22, .text = "", .visible = false, .items = kEffectClasses},
};

constexpr PopupMenu kPopupMenus[] = {
    {"药水", "删除"},
    {"技能", "删除"},
    {"消耗", "删除"},
    {"掉落", "删除"},
};

// clang-format on
}  // namespace

std::span<const Control> controls() { return kControls; }

std::span<const PopupMenu> popupMenus() { return kPopupMenus; }

const Control* findControl(std::string_view name) {
    for (const Control& c : kControls) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

const Control& controlNamed(std::string_view name) {
    if (const Control* found = findControl(name)) return *found;
    throw std::logic_error("no control named \"" + std::string(name) + "\" in the layout");
}

std::span<const std::string_view> triggerItems() { return kTriggers; }
std::span<const std::string_view> potionEffectItems() { return kPotionEffects; }
std::span<const std::string_view> creatureItems() { return kCreatures; }
std::span<const std::string_view> skillItems() { return kSkills; }

std::string_view dyeListText() { return kDyeList; }
std::string_view undoTipText() { return kUndoTip; }

}  // namespace editor
