// The skin's records: one WindowRecord per skinned top-level window, kept in
// attach order; a window's 1-based position is its index in the window
// properties of the window and of its skinned controls.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/caption_layout.h"
#include "skin/gdiplus_owners.h"

namespace skin {

// Window property keys (values are indices or handles).
inline constexpr wchar_t kPropIndex[] = L"Hw_lbID";          // window index / list index of a control
inline constexpr wchar_t kPropOwnerIndex[] = L"Hw_FuID";     // a control's window index
inline constexpr wchar_t kPropPreviousProc[] = L"Hw_hProc";  // procedure before the skin
inline constexpr wchar_t kPropTextColour[] = L"Kj_Ztys";
inline constexpr wchar_t kPropBrush[] = L"Kj_dxjb";
inline constexpr wchar_t kPropVeilBitmap[] = L"Kj_wtjb";
inline constexpr wchar_t kPropCommonOwner[] = L"Kj_FuID";
inline constexpr wchar_t kPropCommonIndex[] = L"Kj_lbID";
inline constexpr wchar_t kPropCommonProc[] = L"Kj_hProc";
inline constexpr wchar_t kPropSurfaceInitial[] = L"Ck_Ycjdx";
inline constexpr wchar_t kPropSurfaceBitmap[] = L"Ck_wtjbdx";
inline constexpr wchar_t kPropProvider[] = L"Mb_zpf";
inline constexpr wchar_t kPropBackdropDC[] = L"Wxk_Cj";
inline constexpr wchar_t kPropProvides[] = L"Wxk_Zpf";

int indexProperty(HWND hwnd, const wchar_t* key);
void setIndexProperty(HWND hwnd, const wchar_t* key, int value);

// The backdrop links: a window that provides its own backdrop (Wxk_Zpf = 1)
// keeps it in a DC (Wxk_Cj), and a container names its nearest provider
// (Mb_zpf). Providers may be any code's windows, so these are read from the
// windows themselves.
bool providesBackdrop(HWND hwnd);
HDC providedBackdrop(HWND provider);
HWND backdropProviderOf(HWND container);
// A window's children, top first, as listed once per backdrop generation
// (a child made since is listed in the next one; one gone is no longer a
// window).
std::vector<HWND> childrenOf(HWND parent);

// Every per-kind entry starts with the control and its previous procedure.
struct ControlEntry {
    HWND hwnd = nullptr;
    WNDPROC previous = nullptr;
};
// Kinds of skinned BUTTON controls (the numbers are the skin's own).
enum ControlButtonKind : int {
    kPushButton = 0,
    kOnePictureButton = 1,   // one picture beside or above the caption
    kFourPictureButton = 3,  // normal, hot, pressed and disabled pictures, no caption
    kRadioButton = 4,
    kCheckBox = 5,
};
struct ButtonEntry : ControlEntry {
    ControlButtonKind kind = kPushButton;
    std::vector<BYTE> normalPicture, hotPicture, pressedPicture, disabledPicture;
    bool pictureBeside = false;  // kind 1: the picture stands left of the caption
    std::wstring caption;
    bool focused = false;
    HWND tooltip = nullptr;
    std::wstring fontFamily;
    float fontSize = 0;
    int fontStyle = 0;
};
struct EditEntry : ControlEntry {
    bool focused = false;
    bool buttonDown = false;
};
struct ComboEntry : ControlEntry {
    bool focused = false;
    std::wstring selectedText;  // the item selected at registration
};
struct FrameEntry : ControlEntry {
    bool focused = false;
    bool hot = false;
    bool keyboardScrolling = false;
};
struct TrackBarEntry : ControlEntry {
    bool vertical = false;        // TBS_VERT
    int tickPlacement = 1;        // 0 top/left, 1 default, 2 both, 3 none
    bool hot = false;             // the mouse is over the control
    bool selectionRange = false;  // TBS_ENABLESELRANGE
};
struct ProgressEntry : ControlEntry {
    bool vertical = false;  // PBS_VERTICAL
};
struct UpDownEntry : ControlEntry {
    bool hot = false;
    int hotHalf = 0;  // half under the mouse at the last move: 0 top or left, 1 bottom or right
    bool pressed = false;
    bool horizontal = false;  // UDS_HORZ
    LPARAM lastMouse = 0;     // client point of the last press or release
};
// A header control: the column bar of a list view, or one placed directly.
struct ListViewEntry : ControlEntry {
    bool hot = false;
    int hotColumn = 0;     // 1-based column under the mouse, 0 none
    int shownColumn = 0;   // column drawn with the hot overlay, 0 none
    bool buttons = false;  // HDS_BUTTONS
    int pressedColumn = 0;
    bool pressed = false;
    std::wstring fontName;
    int fontStyle = 0;
    float fontSize = 0;
    HIMAGELIST imageList = nullptr;  // the header's own list; its owner releases it
};
// Another common control laid over the skin's backdrop.
struct CommonEntry : ControlEntry {
    COLORREF keyColour = 0;  // the control's own background, left out when laid over the backdrop
};
struct ContainerEntry : ControlEntry {
    bool enabled = true;
    COLORREF tint = 0;
    int tintAlpha = 255;
    bool outline = false;
    bool dirty = true;
    bool isGroupBox = false;
    std::wstring captionFamily;
    float captionSize = 0;
    int captionStyle = 0;
    std::vector<HWND> dockedChildren;
    // Whether laying the tint changes a pixel: a colour of 0 is no tint,
    // and a fully transparent fill leaves every pixel as it was.
    bool showsTint() const { return tint != 0 && tintAlpha != 0; }
};

// A decoded picture held as a 32-bit bitmap, with the bytes it came from.
struct Picture {
    std::vector<BYTE> bytes;
    Bitmap decoded;
    int width = 0, height = 0;
    bool empty() const { return bytes.empty(); }
};

struct CaptionButtonArt {
    Picture image;
    Picture altImage;  // the restore picture of a maximize button
    std::wstring label;
    std::function<void()> handler;
};

struct StatusPanel {
    std::wstring text;
    Picture picture;
    COLORREF colour = 0;
    int requestedWidth = 0;  // -1: the rest of the bar
};

struct WindowRecord {
    HWND hwnd = nullptr;
    int captionHeight = kMinimumCaptionHeight;
    bool helpButton = false;
    bool menuButton = false;
    bool hasMinimize = false;
    bool hasMaximize = false;
    bool closeButton = true;
    bool showTitle = true;
    bool captionGloss = false;
    WNDPROC previous = nullptr;
    Picture ownPicture;
    int ownPictureMode = kPictureMirrorTiled;  // a PictureMode
    COLORREF ownBackColour = 0;
    // Caption buttons: geometry and art, index for index.
    std::vector<ButtonGeometry> buttons;
    std::vector<CaptionButtonArt> buttonArt;
    Strip strip;
    bool maximized = false;
    bool minimized = false;
    SIZE minTrack{200, 150};
    SIZE maxTrack{0, 0};
    bool resizable = true;
    bool framed = true;
    COLORREF titleColour = 0x00FFFFFF;
    COLORREF titleHaloColour = 0x00808080;
    std::wstring titleFontName = L"宋体";
    int titleFontSize = 12;
    int titleBold = 1;
    std::function<void()> helpHandler;
    std::function<void()> menuHandler;
    int statusBarHeight = 0;
    IntRect statusBar;
    std::vector<StatusPanel> statusPanels;
    std::vector<IntRect> statusPanelRects;
    bool statusInvert = false;
    bool statusGlow = false;
    COLORREF statusTextColour = 0x00000000;
    COLORREF statusGlowColour = 0x00FFFFFF;
    std::wstring statusFontName = L"宋体";
    int statusFontSize = 12;
    std::vector<ButtonEntry> buttonEntries;
    std::vector<EditEntry> editEntries;
    std::vector<FrameEntry> frameEntries;
    std::vector<TrackBarEntry> trackBarEntries;
    std::vector<ProgressEntry> progressEntries;
    std::vector<ComboEntry> comboEntries;
    std::vector<UpDownEntry> upDownEntries;
    std::vector<ListViewEntry> listViewEntries;
    std::vector<CommonEntry> commonEntries;
    std::vector<ContainerEntry> containerEntries;
    bool recomposeNeeded = false;
    MemoryCanvas surface;
    SIZE regionSize{-1, -1};  // client size the window region was made for
    // The background picture scaled to the client size, kept while neither
    // the picture nor the size changes (scaling is the costly step).
    struct ScaledBackground {
        const void* source = nullptr;
        int width = 0, height = 0;
        std::vector<std::uint32_t> pixels;
    } scaledBackground;
    // The frame layer: background, rounded mask and border, the same for
    // every composition until the size or the picture changes.
    MemoryCanvas frameLayer;
    SIZE frameLayerSize{-1, -1};
    std::uint64_t frameLayerVersion = 0;  // counts the frame layers drawn
    // What lies beneath the title, the buttons and the panels: the frame
    // layer's pixels there, copied again when the layer or the bands change.
    MemoryCanvas captionCache;
    SIZE captionCacheSize{-1, -1};
    MemoryCanvas statusCache;
    IntRect statusCacheRect{-1, -1, -1, -1};
    // The caption band as the last composition drew it (title and buttons at
    // rest), and everything that drawing depended on, folded into one key.
    MemoryCanvas composedCaption;
    std::uint64_t composedCaptionKey = 0;
    // What has been drawn on the surface over the frame layer since it was
    // last laid whole: the last composition's own drawing, part by part, and
    // (through the surface DC's bounds) whatever was drawn on it afterwards.
    // A composition lays the frame layer again there only.
    bool surfaceBoundsKept = false;
    std::vector<RECT> drawnOverFrameLayer;
    bool attached = false;
    FadeMachine fades;  // hover fades, the last hovered button, tracking and timer flags
    int hotKind = 0;
    int hotControl = 0;
    int lastMovedControl = 0;
    HWND hotEditParent = nullptr;  // tells an edit part of a combo box from a free-standing edit
    HWND tipWindow = nullptr;
};

class WindowRegistry {
public:
    // Appends a record; its 1-based position.
    int add(std::unique_ptr<WindowRecord> record);
    // The record at a 1-based index, or nullptr.
    WindowRecord* at(int index) const;
    // 1-based index of the window's record, 0 when not registered.
    int indexOf(HWND hwnd) const;
    int size() const { return static_cast<int>(records_.size()); }
    // Removes a record: frees its surface and caches, and renumbers the properties of every later window and
    // of their controls.
    void remove(int index);
    void clear() { records_.clear(); }

private:
    std::vector<std::unique_ptr<WindowRecord>> records_;
};

}  // namespace skin
