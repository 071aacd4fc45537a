// The item preview's drawing surface: a child window showing the game's
// tooltip for a list of texts, repainting only the lines that change, with
// obfuscated characters changing while it is animated.
#pragma once

#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "editor/tooltip_raster.h"

namespace ui {

// GNU Unifont's glyphs built into the program, unpacked on first use (an
// empty font when the resource is missing or damaged: the panel without text).
const editor::PixelFont& previewFont();

class PreviewCanvas {
public:
    // How often obfuscated characters change: several times a second.
    static constexpr UINT kObfuscationIntervalMs = 100;
    // Behind the panel: the grey of the game's inventory screens.
    static constexpr std::uint32_t kBackdrop = 0xC6C6C6;

    PreviewCanvas(HWND parent, int left, int top);
    ~PreviewCanvas();
    PreviewCanvas(const PreviewCanvas&) = delete;
    PreviewCanvas& operator=(const PreviewCanvas&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Shows these texts, one a line; repaints the lines that changed. True
    // when the canvas changed its size.
    bool setTexts(const std::vector<std::string>& texts);
    SIZE size() const { return {image_.width, image_.height}; }
    // Obfuscated characters change only while animated (the window shows).
    void setAnimated(bool animated);
    // How many times obfuscated characters have changed (for tests).
    unsigned obfuscationFrames() const { return frames_; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void paint();
    void repaintRows(int from, int to);
    void repaintLine(int line);
    void onObfuscationTick();
    void updateTimer();
    bool anyObfuscated() const;

    HWND hwnd_ = nullptr;
    std::vector<std::string> texts_;
    std::vector<editor::TooltipLine> lines_;
    editor::TooltipGeometry geometry_;
    editor::PixelImage image_;
    std::mt19937 random_;
    bool animated_ = false;
    bool timerRunning_ = false;
    unsigned frames_ = 0;
};

}  // namespace ui
