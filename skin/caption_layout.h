// The caption-button strip as pure arithmetic: layout, hit test, title band
// and the hover fades, free of Windows headers.
#pragma once

#include <vector>

#include "skin/skin_geometry.h"

namespace skin {

// Button kinds in the strip.
enum ButtonKind : int { kClose = 0, kMaximize = 1, kMinimize = 2, kMainMenu = 3, kHelp = 4, kUserButton = 5 };

inline constexpr int kButtonWidth = 26;
inline constexpr int kCloseWidth = 38;
inline constexpr int kCloseHitWidth = 40;
inline constexpr int kButtonHeight = 18;
inline constexpr int kStripHeight = 22;
inline constexpr int kButtonPitch = 27;
inline constexpr int kStripMargin = 3;

struct HitRect {
    float x = 0, y = 0, w = 0, h = 0;
};

struct ButtonGeometry {
    int kind = kClose;
    int width = kButtonWidth;
    int height = kButtonHeight;
    HitRect hit;
};

struct Strip {
    int left = 0, top = 0, width = 0, height = kStripHeight;
};

// The painted size of a button of `kind`.
ButtonGeometry buttonOfKind(int kind);

// Strip as attaching computes it: width = sum of widths + (count - 1) + 3.
Strip initialStrip(const std::vector<ButtonGeometry>& buttons, int clientWidth, int margin = kStripMargin);
// Places the strip at the right edge and every button's hit rectangle.
void layoutCaptionButtons(Strip& strip, std::vector<ButtonGeometry>& buttons, int clientWidth);
// 1-based index of the button under (x, y), 0 for none (strict edges).
int hitTestCaptionButtons(const Strip& strip, const std::vector<ButtonGeometry>& buttons, float x, float y);
// Index of the first maximize button, 0 for none.
int findMaximizeButton(const std::vector<ButtonGeometry>& buttons);
// The point lies in the strip for the hover timer's purpose.
bool inHoverStrip(const Strip& strip, int x, int y);

// Painted rectangle of button n (1-based): x = hit.x - 1, y = strip top + 1.
struct IntRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const IntRect&) const = default;
};
IntRect buttonPaintRect(const Strip& strip, const ButtonGeometry& button);

// Separators drawn with button n: at its own left edge (alpha 100 for the
// first button, 60 otherwise) and, unless last, at the next button's.
struct Separator {
    int x = 0;
    int alpha = 0;
};
std::vector<Separator> separatorsOf(const std::vector<ButtonGeometry>& buttons, int n);

// Title band: icon at (x, y - 3), text in (x + 20, y, width, 32).
IntRect titleBand(int clientWidth, int buttonsWidth, int margin = kStripMargin);
// Status bar rectangle: (m, H - h - m - 1, W - 2m, h).
IntRect statusBarRect(int clientWidth, int clientHeight, int barHeight, int margin = kStripMargin);
// Panel rectangles; a width of -1 takes the rest of the bar.
std::vector<IntRect> statusPanelRects(const IntRect& bar, const std::vector<int>& widths, int clientWidth,
                                      int margin = kStripMargin);

// The hover fades of one window's strip: a fade-in and a fade-out, eight
// steps of 30 each, driven by mouse moves, timer ticks and mouse leaves.
struct Fade {
    int button = 0;  // 1-based, 0 none
    int step = 0;    // 0..8
    bool operator==(const Fade&) const = default;
};

// A button to draw, with the hot look's strength (0 = resting look).
struct FadeDraw {
    int button = 0;
    int alpha = 0;
    bool operator==(const FadeDraw&) const = default;
};

class FadeMachine {
public:
    static constexpr int kSteps = 8;
    static constexpr int kAlphaStep = 30;

    struct MoveResult {
        bool startTimer = false;      // start the 20 ms timer now
        bool trackMouse = false;      // ask for hover/leave notices
        std::vector<FadeDraw> draws;  // immediate draws (resting looks)
    };
    // A mouse move over the window: `hovered` is the button under the point.
    MoveResult mouseMove(int hovered, bool inStrip);
    // A timer tick: the steps drawn, and whether the timer must stop.
    struct TickResult {
        std::vector<FadeDraw> draws;
        bool stopTimer = false;
    };
    TickResult tick();
    // The mouse left the window.
    std::vector<FadeDraw> mouseLeave();
    void hoverNotice() { tracking_ = true; }
    // A press stops the fade-in (the pressed look takes over).
    void press() { in_.button = 0; }
    // A size change forgets the last hovered button.
    void forgetHovered() { lastHovered_ = 0; }

    const Fade& fadeIn() const { return in_; }
    const Fade& fadeOut() const { return out_; }
    int lastHovered() const { return lastHovered_; }
    bool running() const { return running_; }
    bool timerActive() const { return timerActive_; }
    bool tracking() const { return tracking_; }

private:
    Fade in_, out_;
    int lastHovered_ = 0;
    bool running_ = false;      // the mouse is in the strip
    bool timerActive_ = false;  // the timer is set
    bool tracking_ = false;     // hover/leave notices requested
};

}  // namespace skin
