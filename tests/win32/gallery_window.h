// A skinned test window holding one of each common control kind the skin
// draws: track bars, progress bars, up-down controls beside edit boxes, a
// list view with a button-style header and icons, a plain header, a tab
// control with pages, a month calendar, a toolbar, a status bar, a rich edit
// box, a combo box and the two picture buttons.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

class GalleryWindow {
public:
    // Creates, shows and attaches the window (children skinned, veil 100);
    // nullptr when the window cannot be made.
    static std::unique_ptr<GalleryWindow> create();
    ~GalleryWindow();
    GalleryWindow(const GalleryWindow&) = delete;
    GalleryWindow& operator=(const GalleryWindow&) = delete;

    HWND hwnd = nullptr;
    int index = 0;  // window index in the skin's registry

    HWND trackPlain = nullptr;      // horizontal, no ticks
    HWND trackSelection = nullptr;  // horizontal, ticks, selection range
    HWND trackVertical = nullptr;   // vertical, ticks on both sides
    HWND progressHorizontal = nullptr;
    HWND progressVertical = nullptr;
    HWND editVertical = nullptr, upDownVertical = nullptr;
    HWND editHorizontal = nullptr, upDownHorizontal = nullptr;
    HWND listView = nullptr, listHeader = nullptr;  // header with button columns and an icon
    HWND plainHeader = nullptr;                     // header placed on the window, no buttons
    HWND tab = nullptr;
    std::vector<HWND> tabPages;
    HWND pageTrackBar = nullptr, pageProgress = nullptr;
    HWND monthCalendar = nullptr;
    HWND toolbar = nullptr;
    HWND statusBar = nullptr;
    HWND richEdit = nullptr;
    HWND combo = nullptr;
    HWND onePictureButton = nullptr;
    HWND fourPictureButton = nullptr;

    // The dark backdrop colour of the window.
    static constexpr COLORREF kBackdrop = RGB(50, 50, 50);

private:
    GalleryWindow() = default;
    void createControls();
    void skinControls();
    HIMAGELIST images_ = nullptr;
    HIMAGELIST headerImages_ = nullptr;
    HMODULE richEditLibrary_ = nullptr;
};

// Picture bytes (PNG) of a small square glyph, for the picture buttons.
std::vector<BYTE> galleryPicture(int size, COLORREF colour, bool ring);
