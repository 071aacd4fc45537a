// The skin engine: the one object that gives skinned top-level windows their
// owner-drawn frame, surface and caption buttons. It subclasses existing
// windows (wide-character procedures), keeps its links in window
// properties, and passes every message it does not consume on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "skin/backdrop_cache.h"
#include "skin/gdiplus_owners.h"
#include "skin/subclass.h"
#include "skin/window_registry.h"

namespace skin {

// The window procedure a skinned top-level window gets: the engine's
// FrameWindowProc, or straight on while no engine exists.
LRESULT CALLBACK frameProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

struct SkinSettings {
    COLORREF themeColour = 0x00DDCA22;
    COLORREF baseColour = 0;                // COLOR_BTNFACE at construction
    int pictureMode = kPictureMirrorTiled;  // a PictureMode
    Picture themePicture;                   // the picture bytes, or the prepared texture of the faded modes
    bool skinChildren = true;
    int veilAlpha = 160;
    bool veilEnabled = false;
    int trackBarStyle = 1;
    bool firstSizePending = true;
    HICON appIcon = nullptr;
};

struct ThemeArgs {
    std::wstring fileName;
    std::vector<BYTE> pictureBytes;
    std::optional<COLORREF> baseColour;
    COLORREF themeColour = 0x00DDCA22;      // 0xFFFFFFFF: the resulting base colour
    int pictureMode = kPictureMirrorTiled;  // a PictureMode
};

struct AttachOptions {
    bool framed = true;
    bool resizable = true;
    bool helpButton = false;
    bool menuButton = false;
    bool showTitle = true;
    bool captionGloss = false;
    int statusBarHeight = 0;
    std::vector<int> statusPanelWidths;
    std::vector<BYTE> ownPicture;
    std::optional<int> ownPictureMode;
};

// Caption-button pictures (PNG bytes); an empty one keeps the current picture.
struct CaptionImages {
    std::vector<BYTE> minimize, maximize, restore, close;
};

class SkinEngine {
public:
    // Starts GDI+ (reference-counted by GDI+ itself: safe while another
    // session runs), loads the icon and sets the defaults.
    SkinEngine();
    // Releases every record, destroys the icon and shuts GDI+ down.
    ~SkinEngine();
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // The single instance, or nullptr outside its lifetime.
    static SkinEngine* current();

    // The skin's operations.
    void SetTheme(const ThemeArgs& args);
    void SetOptions(bool skinChildren, std::optional<int> veilAlpha = std::nullopt, int trackBarStyle = 1);
    bool AttachWindow(HWND hwnd, int captionHeight, const AttachOptions& options = {});
    void CaptionCommand(int windowIndex, int buttonIndex);

    // Window surface.
    void ComposeWindow(int windowIndex, HDC dc, bool present);
    void PresentWindow(int windowIndex, HDC dc);
    void DrawBackground(Gdiplus::GpGraphics* g, int windowIndex);
    void DrawBorder(int windowIndex, Gdiplus::GpGraphics* g);
    bool SetWindowPicture(HWND hwnd, const std::vector<BYTE>& bytes, std::optional<int> mode = std::nullopt);
    static void ApplyRoundRegion(HWND hwnd);
    // Clips the window's opaque children out of `dc`; returns `dc`.
    HDC ExcludeChildrenDC(HWND hwnd, HDC dc);
    void RefreshChildren(int windowIndex);

    // Caption buttons.
    void LayoutCaptionButtons(int windowIndex);
    int HitTestCaptionButtons(int windowIndex, int x, int y) const;
    int FindMaximizeButton(int windowIndex) const;
    void DrawCaptionButton(int windowIndex, int button, Gdiplus::GpGraphics* g, bool compose, bool pressed, int alpha);
    void DrawCaptionButtonFade(Gdiplus::GpGraphics* g, int windowIndex, int button, int alpha);
    void DrawButtonSeparators(int windowIndex, int button, Gdiplus::GpGraphics* g);
    void RestoreCaptionRect(int windowIndex, const RECT& r);
    void RestoreStatusRect(int windowIndex, const RECT& r);
    bool AddCaptionButton(HWND hwnd, const std::vector<BYTE>& picture, const std::wstring& label,
                          std::function<void()> handler);
    bool SetCaptionImages(HWND hwnd, const CaptionImages& images);
    void SetHelpHandler(HWND hwnd, std::function<void()> handler);
    void SetMenuHandler(HWND hwnd, std::function<void()> handler);

    // Title, status bar, moving and sizing.
    void DrawTitle(int windowIndex, Gdiplus::GpGraphics* g, bool compose, const wchar_t* text = nullptr);
    bool SetTitleStyle(HWND hwnd, std::optional<std::wstring> font = {}, std::optional<int> size = {},
                       std::optional<COLORREF> colour = {}, std::optional<COLORREF> halo = {},
                       std::optional<int> bold = {});
    void SetStatusBar(int windowIndex, int height, const std::vector<int>& widths, bool rebuild);
    void LayoutStatusBar(int windowIndex);
    void DrawStatusPanel(Gdiplus::GpGraphics* g, int windowIndex, bool compose, int panel = 1);
    bool SetStatusPanel(HWND hwnd, int panel, const std::wstring& text, std::optional<std::vector<BYTE>> picture = {},
                        std::optional<COLORREF> colour = {});
    bool SetStatusStyle(HWND hwnd, bool invert = true, bool glow = false, COLORREF textColour = 0,
                        COLORREF glowColour = 0x00FFFFFF, std::optional<std::wstring> font = {},
                        std::optional<int> size = {});
    // Text with a halo: drawn in `halo` at alpha 150 four times, moved by
    // `offset` right, left, down and up, then once in `colour`; the size is
    // in world units.
    void DrawHaloText(Gdiplus::GpGraphics* g, const std::wstring& text, const Gdiplus::RectF& layout, COLORREF colour,
                      COLORREF halo, int offset = 1, const std::wstring& fontName = L"宋体", bool bold = false,
                      float size = 13, Gdiplus::StringAlignment horizontal = Gdiplus::StringAlignmentNear,
                      Gdiplus::StringAlignment vertical = Gdiplus::StringAlignmentNear);
    // Text over a soft glow in `glow`: the text shrunk by the blur factor and
    // scaled back up, laid half a blur factor up and to the left, with the
    // text in `colour` over it; the size is in world units.
    void DrawGlowText(Gdiplus::GpGraphics* g, const std::wstring& text, const Gdiplus::RectF& rect, COLORREF colour,
                      COLORREF glow, int blur, const std::wstring& fontName = L"宋体",
                      int style = Gdiplus::FontStyleRegular, float size = 12,
                      Gdiplus::StringAlignment horizontal = Gdiplus::StringAlignmentNear,
                      Gdiplus::StringAlignment vertical = Gdiplus::StringAlignmentNear);
    void BeginMoveOrSize(int windowIndex, LPARAM point, const RECT& client);
    void UpdateSizingCursor(int windowIndex, LPARAM point, const RECT& client);
    RECT GetCaptionStripRect(int windowIndex) const;

    // Picture buttons (owner-drawn): one picture beside or above the caption,
    // or four pictures (normal, hot, pressed, disabled; an empty one falls
    // back to the normal picture in a frame) without caption; `tip` empty
    // leaves the tooltip as it is. False when the button has no skinned owner.
    bool SetButtonPicture(HWND button, const std::vector<BYTE>& picture, bool beside, const std::wstring& tip);
    bool SetButtonPictures(HWND button, const std::vector<BYTE>& normal, const std::vector<BYTE>& hot,
                           const std::vector<BYTE>& pressed, const std::vector<BYTE>& disabled,
                           const std::wstring& tip);
    // Skins a container inside a skinned window and the controls in it;
    // its 1-based index in the container list, 0 when it has no skinned owner.
    int SkinContainer(HWND container, bool enabled = true, COLORREF tintColour = 0, int tintAlpha = 255,
                      bool frameOutline = false);
    void SetContainerAlpha(HWND container, int alpha);
    // A transparent window (WS_EX_TRANSPARENT) about to paint: the skinned
    // containers beneath it that still wait for their paint are painted
    // first. Painted after it, a container would cover it and have it
    // painted a second time.
    void PaintContainersBeneath(HWND transparent);
    // Lays another common control (month calendar, tab control, toolbar,
    // status bar, rich edit, ...) over the skin's backdrop, its `keyColour`
    // (default COLOR_BTNFACE) left out; a control with child windows is also
    // a container (not painted by the skin) with the tint for its children.
    // The container's index, or 0.
    int SkinOtherControl(HWND control, std::optional<COLORREF> keyColour = std::nullopt, COLORREF tintColour = 0,
                         int tintAlpha = 255);
    // Called by the frame on WM_SIZE for the window's docked children.
    void LayoutDockedChildren(int windowIndex);
    // The text colour of a skinned control (of the edit part of a combo box).
    void SetControlTextColour(HWND control, COLORREF colour);
    // The colour SetControlTextColour gave the control, black included;
    // nullopt while none was given (the owner's WM_CTLCOLOR* answer stands).
    std::optional<COLORREF> chosenTextColour(HWND control) const;
    COLORREF GetBaseColour() const;

    // The frame window procedure, for frameProcedure: `frame` is the
    // window's subclass (its record's index and previous procedure).
    LRESULT FrameWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const Subclass& frame);

    SkinSettings& settings() { return settings_; }
    const SkinSettings& settings() const { return settings_; }
    WindowRegistry& registry() { return registry_; }
    WindowRecord* record(int windowIndex) const { return registry_.at(windowIndex); }
    int stripMargin() const { return stripMargin_; }
    int hoverIndex() const { return hoverIndex_; }

    // A font family by name, created once (its lookup is slow); the
    // generic sans-serif family for a face the system lacks.
    Gdiplus::GpFontFamily* fontFamily(const std::wstring& name);

    // WM_COMMAND from a skinned child (of a window or a container): the
    // notices that move text over a veiled background repaint the control.
    void onCommand(WPARAM wParam, LPARAM lParam);
    // The answers to WM_CTLCOLOR* for skinned children of `top` (a skinned
    // window or a container): nullopt when the message is to be passed on.
    std::optional<LRESULT> onControlColour(HWND top, UINT msg, WPARAM wParam, LPARAM lParam);
    // The veiled pattern brush and the hollow brush handed to a control; the
    // objects live until the next answer for it or releaseVeil.
    LRESULT veiledBrush(HWND top, HDC dc, HWND control);
    LRESULT hollowBrush(HWND top, HDC dc, HWND control);
    void releaseVeil(HWND control);

    // A picture built into the program (an RCDATA resource), decoded on
    // first use and kept until the engine goes.
    const Picture& builtInPicture(int resourceId);

    // Live brushes and bitmaps handed to controls (for tests).
    size_t veiledControls() const { return veils_.size(); }

    // Average colour of a decoded picture (2000 random samples).
    COLORREF AverageColour(Gdiplus::GpBitmap* picture);
    // The faded modes' texture: the picture fading into `colour` around it.
    std::vector<BYTE> PrepareTexture(Gdiplus::GpBitmap* picture, int mode, COLORREF colour);

private:
    // First member: GDI+ stays up until every other member has gone.
    GdiplusSession gdiplus_;
    // One function per frame message.
    void onSize(WindowRecord& r);
    void onSetText(int i, WindowRecord& r, LPARAM lParam);
    void onPaint(int i, WindowRecord& r);
    void onShowWindow(int i, WindowRecord& r, WPARAM wParam);
    void onGetMinMaxInfo(WindowRecord& r, LPARAM lParam);
    void onDrawItem(int i, LPARAM lParam);
    void onWindowPosChanged(int i, WindowRecord& r);
    void onSysCommand(WindowRecord& r, WPARAM wParam);
    void onTimer(int i, WindowRecord& r);
    void onMouseMove(int i, WindowRecord& r, LPARAM lParam);
    void onLeftButtonDown(int i, WindowRecord& r, LPARAM lParam);
    void onLeftButtonUp(int i, WindowRecord& r);
    void onLeftButtonDoubleClick(int i, WindowRecord& r, LPARAM lParam);
    void onMouseLeave(int i, WindowRecord& r);
    void onNcDestroy(HWND hwnd, int i);

    void drawFadeSteps(int i, const std::vector<FadeDraw>& draws);
    std::uint64_t captionKey(const WindowRecord& r, int width, int bandHeight) const;
    void composeCaption(int windowIndex, WindowRecord& r, Gdiplus::GpGraphics* g, int width, int height);
    void runFromCaption(int windowIndex, const std::function<void()>& handler);
    void addTooltips(WindowRecord& r);
    void setControlTextColour(HWND top, UINT msg, HDC dc, HWND control);

    // The brush and bitmap last handed to each control for WM_CTLCOLOR*,
    // also named by its Kj_dxjb and Kj_wtjb properties.
    struct VeilObjects {
        HWND top = nullptr;
        GdiObject brush;
        GdiObject bitmap;
        // The veiled brush is made again only when its picture would differ.
        bool kept = false;
        BackdropStamp stamp;
    };
    std::map<HWND, VeilObjects> veils_;
    // Colours given by SetControlTextColour, kept apart from the Kj_Ztys
    // value (0 there is also the value of a control given none), until the
    // top-level window goes.
    struct ChosenColour {
        HWND top = nullptr;
        COLORREF colour = 0;
    };
    std::map<HWND, ChosenColour> textColours_;
    std::map<std::wstring, FontFamily> families_;
    std::map<int, Picture> builtInPictures_;

    SkinSettings settings_;
    WindowRegistry registry_;
    int stripMargin_ = kStripMargin;
    int hoverIndex_ = 0;
    std::mt19937 random_;
};

// Picture bytes as an owned 32-bit ARGB bitmap (empty on failure): PNG, JPEG,
// BMP and GIF decoded in-process, other formats by the system's codecs.
Bitmap decodeBitmap(std::span<const BYTE> bytes);
// Decodes a picture's bytes into its bitmap and size (empty on failure).
bool decodePicture(Picture& picture);
// Picture bytes as a Picture (decoded).
Picture pictureFrom(const std::vector<BYTE>& bytes);
// Encodes an image as PNG bytes (empty on failure).
std::vector<BYTE> encodePng(Gdiplus::GpImage* image);
// A 32-bit ARGB memory bitmap (all pixels 0) as a GDI bitmap.
HBITMAP createMemoryBitmap(int width, int height);
// Bytes of an RCDATA resource of the running module (empty when missing).
std::vector<BYTE> resourceBytes(int id);

// The taskbar's height, 0 when there is none.
int taskbarHeight();

// Working-set trimmer: empties the process's working set on a worker
// thread; one worker at a time, a request while it runs makes it go again.
void requestWorkingSetTrim();
// Completed trims since start (for tests).
long workingSetTrims();
// Waits (up to `milliseconds`) until no trim is pending or running.
bool waitForWorkingSetTrims(DWORD milliseconds);

}  // namespace skin
