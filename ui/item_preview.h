// The item preview (「物品预览」): a tool window owned by the main window and
// docked beside it, showing the item's texts as the game's tooltip draws
// them. It follows the form, moves with the main window, stays on the
// screen, and settings.ini remembers whether it shows and where it docks.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/preview_canvas.h"

namespace ui {

class EditorWindow;

inline constexpr wchar_t kItemPreviewClass[] = L"RPGitemPreviewWindow";

class ItemPreview {
public:
    explicit ItemPreview(EditorWindow& owner);
    ~ItemPreview();
    ItemPreview(const ItemPreview&) = delete;
    ItemPreview& operator=(const ItemPreview&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    // Shows or hides it (without taking the focus) and remembers that.
    void show(bool visible);
    // Reads the form's texts and repaints what changed; nothing while hidden.
    void refresh();
    // Puts it beside the main window, on the remembered side (the other one
    // when that side lies off the screen), inside the work area.
    void dock();
    PreviewCanvas* canvas() { return canvas_.get(); }

private:
    bool create();
    void fitToCanvas();
    void onMovedByUser();
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    EditorWindow& owner_;
    HWND hwnd_ = nullptr;
    std::unique_ptr<PreviewCanvas> canvas_;
    bool docking_ = false;
};

// The main menu's 「物品预览」: shows the preview, or hides it.
void toggleItemPreview(EditorWindow& window);
// At start-up: shows the preview when the settings say it was showing.
void restoreItemPreview(EditorWindow& window);
// True for the preview window (its keys are the main menu's too).
bool isItemPreviewWindow(HWND hwnd);

}  // namespace ui
