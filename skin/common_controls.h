// What the painters of the common controls share: finding a control's
// entry from its properties, the owner of a control, its font as GDI+ sees
// it, an owned icon and the paint counters that tests read.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/gdiplus_owners.h"
#include "skin/skin_engine.h"
#include "skin/window_registry.h"

namespace skin {

// Paints done by each painter since start (for tests and benchmarks).
struct PaintCounts {
    long trackBar = 0;
    long progress = 0;
    long upDown = 0;
    long header = 0;
    long other = 0;
    long pictureButton = 0;
};
PaintCounts& paintCounts();

// The entry of `control` in the list `member` of its owner's record, named by
// the control's owner and index properties; nullptr when they name no entry
// of this control.
template <typename Entry>
Entry* entryOf(HWND control, std::vector<Entry> WindowRecord::*member, const wchar_t* ownerKey = kPropOwnerIndex,
               const wchar_t* indexKey = kPropIndex) {
    SkinEngine* engine = SkinEngine::current();
    WindowRecord* r = engine ? engine->record(indexProperty(control, ownerKey)) : nullptr;
    if (!r) return nullptr;
    const int k = indexProperty(control, indexKey);
    std::vector<Entry>& list = r->*member;
    if (k < 1 || k > static_cast<int>(list.size())) return nullptr;
    Entry& entry = list[static_cast<size_t>(k - 1)];
    return entry.hwnd == control ? &entry : nullptr;
}

// The entry at (window index, 1-based control index), or nullptr.
template <typename Entry>
Entry* entryAt(int windowIndex, int control, std::vector<Entry> WindowRecord::*member) {
    SkinEngine* engine = SkinEngine::current();
    WindowRecord* r = engine ? engine->record(windowIndex) : nullptr;
    if (!r || control < 1 || control > static_cast<int>((r->*member).size())) return nullptr;
    Entry& entry = (r->*member)[static_cast<size_t>(control - 1)];
    return entry.hwnd ? &entry : nullptr;
}

// Index of the nearest skinned top-level window among `control`'s
// ancestors (the control itself excluded), 0 when there is none.
int skinnedOwnerOf(SkinEngine& engine, HWND control);

// A control's font (WM_GETFONT, or the default GUI font) as GDI+ names it:
// family, size in world units (pixels) and style bits.
struct FontDescription {
    std::wstring family;
    float size = 0;
    int style = 0;
};
FontDescription describeFont(HWND control);
// A GDI+ font of the description in `unit`; empty when none can be made.
Font makeFont(const FontDescription& font, Gdiplus::Unit unit);

// An icon handed out by the system for us to destroy (ImageList_GetIcon).
class OwnedIcon {
public:
    OwnedIcon() = default;
    explicit OwnedIcon(HICON icon) : icon_(icon) {
        if (icon_) ++liveObjects().gdi;
    }
    ~OwnedIcon() {
        if (icon_) {
            DestroyIcon(icon_);
            --liveObjects().gdi;
        }
    }
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    HICON get() const { return icon_; }

private:
    HICON icon_ = nullptr;
};


}  // namespace skin
