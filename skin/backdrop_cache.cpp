#include "skin/backdrop_cache.h"

#include <map>
#include <memory>
#include <utility>

#include "skin/handle_owners.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

std::uint64_t g_generation = 1;
long g_captures = 0;

struct Kept {
    HWND top = nullptr;
    BackdropStamp stamp;
    std::unique_ptr<MemoryCanvas> canvas;
};

std::map<std::pair<HWND, KeptPicture>, std::unique_ptr<Kept>>& kept() {
    static std::map<std::pair<HWND, KeptPicture>, std::unique_ptr<Kept>> table;
    return table;
}

}  // namespace

bool BackdropStamp::operator==(const BackdropStamp& other) const {
    return generation == other.generation && place.x == other.place.x && place.y == other.place.y &&
           EqualRect(&rect, &other.rect) && variant == other.variant;
}

void backdropChanged() { ++g_generation; }

std::uint64_t backdropGeneration() { return g_generation; }

std::uint64_t variantOf(std::initializer_list<std::int64_t> inputs) {
    std::uint64_t folded = 14695981039346656037ull;  // FNV-1a over the values
    for (const std::int64_t input : inputs) folded = (folded ^ static_cast<std::uint64_t>(input)) * 1099511628211ull;
    return folded;
}

BackdropStamp stampOf(HWND control, const RECT& rect, std::uint64_t variant) {
    BackdropStamp stamp;
    stamp.generation = g_generation;
    RECT own, top;
    GetWindowRect(control, &own);
    GetWindowRect(GetAncestor(control, GA_ROOT), &top);
    stamp.place = {own.left - top.left, own.top - top.top};
    stamp.rect = rect;
    // The control's size as well: a resized control lays out its parts anew.
    stamp.variant = variantOf({static_cast<std::int64_t>(variant), own.right - own.left, own.bottom - own.top});
    return stamp;
}

HDC keptPicture(HWND control, KeptPicture what, const BackdropStamp& stamp) {
    const auto found = kept().find({control, what});
    if (found == kept().end() || !(found->second->stamp == stamp)) return nullptr;
    return found->second->canvas->dc();
}

HDC keepPicture(HWND control, KeptPicture what, const BackdropStamp& stamp, std::unique_ptr<MemoryCanvas> picture) {
    if (!picture || !picture->dc()) {
        kept().erase({control, what});
        return nullptr;
    }
    std::unique_ptr<Kept>& slot = kept()[{control, what}];
    if (!slot) slot = std::make_unique<Kept>();
    slot->stamp = stamp;
    slot->top = GetAncestor(control, GA_ROOT);
    slot->canvas = std::move(picture);
    return slot->canvas->dc();
}

void forgetPictures(HWND control) {
    for (const KeptPicture what :
         {KeptPicture::Background, KeptPicture::Veil, KeptPicture::Border, KeptPicture::Container}) {
        kept().erase({control, what});
    }
}

void forgetPicturesOf(HWND top) {
    std::erase_if(kept(), [top](const auto& entry) { return entry.second->top == top; });
    backdropChanged();  // a window made later may be given the same handles
}

int keptPictures() { return static_cast<int>(kept().size()); }

long backdropCaptures() { return g_captures; }

void countBackdropCapture() { ++g_captures; }

}  // namespace skin
