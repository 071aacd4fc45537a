#include "skin/caption_layout.h"

#include <algorithm>

namespace skin {

namespace {
constexpr float kTolerance = 1e-7f;
}

ButtonGeometry buttonOfKind(int kind) {
    ButtonGeometry b;
    b.kind = kind;
    b.width = kind == kClose ? kCloseWidth : kButtonWidth;
    b.height = kButtonHeight;
    return b;
}

Strip initialStrip(const std::vector<ButtonGeometry>& buttons, int clientWidth, int margin) {
    Strip strip;
    int sum = 0;
    for (const ButtonGeometry& b : buttons) sum += b.width;
    const int count = static_cast<int>(buttons.size());
    strip.width = sum + std::max(count - 1, 0) + 3;
    strip.height = kStripHeight;
    strip.top = 0;
    strip.left = clientWidth - margin - strip.width - 2;
    return strip;
}

void layoutCaptionButtons(Strip& strip, std::vector<ButtonGeometry>& buttons, int clientWidth) {
    strip.left = clientWidth - strip.width + 1;
    strip.height = kStripHeight;
    const float x0 = static_cast<float>(strip.left + 2);
    const float y0 = static_cast<float>(strip.top + 1);
    for (size_t i = 0; i < buttons.size(); ++i) {
        ButtonGeometry& b = buttons[i];
        const int w = b.kind == kClose ? kCloseHitWidth : kButtonWidth;
        b.hit = {x0 + static_cast<float>(kButtonPitch * static_cast<int>(i)), y0, static_cast<float>(w),
                 static_cast<float>(kButtonHeight)};
    }
}

int hitTestCaptionButtons(const Strip& strip, const std::vector<ButtonGeometry>& buttons, float x, float y) {
    if (x < static_cast<float>(strip.left) || y < static_cast<float>(strip.top) ||
        y > static_cast<float>(strip.top + strip.height)) {
        return 0;
    }
    for (size_t i = 0; i < buttons.size(); ++i) {
        const HitRect& r = buttons[i].hit;
        if (x - r.x > kTolerance && r.x + r.w - x > kTolerance && y - r.y > kTolerance && r.y + r.h - y > kTolerance) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

int findMaximizeButton(const std::vector<ButtonGeometry>& buttons) {
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].kind == kMaximize) return static_cast<int>(i) + 1;
    }
    return 0;
}

bool inHoverStrip(const Strip& strip, int x, int y) {
    return x >= strip.left - 2 && x <= strip.left + strip.width && y <= strip.height && y >= 0;
}

IntRect buttonPaintRect(const Strip& strip, const ButtonGeometry& button) {
    return {static_cast<int>(button.hit.x) - 1, strip.top + 1, button.width, button.height};
}

std::vector<Separator> separatorsOf(const std::vector<ButtonGeometry>& buttons, int n) {
    std::vector<Separator> out;
    if (n < 1 || n > static_cast<int>(buttons.size())) return out;
    out.push_back({static_cast<int>(buttons[static_cast<size_t>(n - 1)].hit.x) - 2, n == 1 ? 100 : 60});
    if (n < static_cast<int>(buttons.size())) {
        out.push_back({static_cast<int>(buttons[static_cast<size_t>(n)].hit.x) - 2, 60});
    }
    return out;
}

IntRect titleBand(int clientWidth, int buttonsWidth, int margin) {
    return {margin + 6, margin + 5, clientWidth - buttonsWidth - 10 - 2 * margin, 32};
}

IntRect statusBarRect(int clientWidth, int clientHeight, int barHeight, int margin) {
    return {margin, clientHeight - barHeight - margin - 1, clientWidth - 2 * margin, barHeight};
}

std::vector<IntRect> statusPanelRects(const IntRect& bar, const std::vector<int>& widths, int clientWidth, int margin) {
    std::vector<IntRect> rects;
    int x = margin;
    for (int w : widths) {
        const int width = w == -1 ? clientWidth - margin - x : std::max(w, 0);
        rects.push_back({x, bar.y, width, bar.h});
        x += width;
    }
    return rects;
}

FadeMachine::MoveResult FadeMachine::mouseMove(int hovered, bool inStrip) {
    MoveResult result;
    result.trackMouse = !tracking_;
    if (inStrip && !running_) {
        result.startTimer = true;
        running_ = true;
        timerActive_ = true;
    } else if (!inStrip) {
        running_ = false;
    }
    if (lastHovered_ >= 1 && lastHovered_ != hovered) {
        if (out_.step < kSteps && out_.button >= 1) result.draws.push_back({out_.button, 0});
        out_ = {lastHovered_, 0};
    }
    if (hovered >= 1 && hovered != lastHovered_) in_ = {hovered, 0};
    lastHovered_ = hovered;
    return result;
}

FadeMachine::TickResult FadeMachine::tick() {
    TickResult result;
    if (in_.button >= 1 && in_.step <= kSteps - 1) {
        ++in_.step;
        result.draws.push_back({in_.button, in_.step * kAlphaStep});
    }
    if (out_.button >= 1 && out_.step <= kSteps - 1) {
        ++out_.step;
        result.draws.push_back({out_.button, kSteps * kAlphaStep - out_.step * kAlphaStep});
    }
    if ((!tracking_ || !running_) && (out_.step > kSteps - 1 || out_.button == 0)) {
        running_ = false;
        timerActive_ = false;
        result.stopTimer = true;
        lastHovered_ = 0;
        in_ = {};
        out_ = {};
    }
    return result;
}

std::vector<FadeDraw> FadeMachine::mouseLeave() {
    std::vector<FadeDraw> draws;
    tracking_ = false;
    if (lastHovered_ >= 1) {
        if (out_.step < kSteps && in_.step < kSteps) {
            if (out_.button >= 1) draws.push_back({out_.button, 0});
            in_ = {};
        }
        out_ = {lastHovered_, 0};
        lastHovered_ = 0;
    }
    return draws;
}

}  // namespace skin
