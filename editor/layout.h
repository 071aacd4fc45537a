// The main window's layout as plain data: every control with its parent,
// place, look and initial state. Free of Windows headers so that the data
// can be checked natively; ui/main_window.cpp turns it into windows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace editor {

enum class ControlKind {
    Edit,
    Button,
    CheckBox,
    Radio,
    ComboEditable,  // drop-down whose edit part the user may type into
    ComboList,      // drop-down list: choose only
    ListBox,
    GroupBox,
    Label,  // transparent label: text without a background
    PictureBox,
    Timer,
    FileDialog,
    WebView,
};

enum class InputMode { Normal, IntegerOnly, DecimalText };

// Edit box styles beyond a plain single-line box.
enum EditStyle : unsigned {
    kSingleLine = 0,
    kMultiLine = 1u << 0,
    kVScroll = 1u << 1,
    kHScroll = 1u << 2,
    kWrap = 1u << 3,        // long lines wrap (no horizontal auto-scroll)
    kWantReturn = 1u << 4,  // Enter inserts a line break
};

enum class Picture { None, Tutorial, ColourChart };

struct Font {
    std::string_view face;  // empty: the default interface font
    int pixelHeight = 0;    // character height in pixels
    int weight = 400;       // 400 normal, 700 bold

    bool isDefault() const { return face.empty() && pixelHeight == 0; }
};

inline constexpr std::uint32_t kBlack = 0x000000;

struct Control {
    std::string_view name;
    ControlKind kind;
    std::string_view parent;  // empty: the window's client area
    int left, top, width, height;
    std::string_view text;              // caption, initial text or hidden caption (UTF-8)
    std::uint32_t textColour = kBlack;  // 0xRRGGBB
    Font font{};
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    unsigned editStyle = kSingleLine;
    InputMode inputMode = InputMode::Normal;
    std::span<const std::string_view> items{};
    Picture picture = Picture::None;
    int timerIntervalMs = 0;
};

struct PopupMenu {
    std::string_view title;
    std::string_view item;
};

// Every control in layout order: the client area's children first, in their
// stacking order (first on top), then each group box's children in theirs.
std::span<const Control> controls();

// The four context menus, each with its single item.
std::span<const PopupMenu> popupMenus();

// Looks a control up by name; nullptr when there is none.
const Control* findControl(std::string_view name);

// The control of that name. The program names controls through
// editor/control_names.h, so an unknown name is a fault in the program, not
// in its input: it throws std::logic_error naming the control.
const Control& controlNamed(std::string_view name);

// Shared item lists.
std::span<const std::string_view> triggerItems();
std::span<const std::string_view> potionEffectItems();
std::span<const std::string_view> creatureItems();
std::span<const std::string_view> skillItems();

// The text of the dye colour list and of the undo tip, exactly as shown.
std::string_view dyeListText();
std::string_view undoTipText();

// Outer size the window keeps and its stored position.
inline constexpr int kWindowWidth = 1069;
inline constexpr int kWindowHeight = 671;
inline constexpr int kWindowLeft = 50;
inline constexpr int kWindowTop = 50;
inline constexpr int kSizeGuardIntervalMs = 800;

}  // namespace editor
