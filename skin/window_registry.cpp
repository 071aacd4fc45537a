#include "skin/window_registry.h"

#include <map>
#include <utility>

#include "skin/backdrop_cache.h"
#include "skin/subclass.h"

namespace skin {

LiveObjects& liveObjects() {
    static LiveObjects live;
    return live;
}

int indexProperty(HWND hwnd, const wchar_t* key) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, key)));
}

void setIndexProperty(HWND hwnd, const wchar_t* key, int value) {
    SetPropW(hwnd, key, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)));
}

namespace {

// A backdrop property as the window holds it, read from the window once per
// backdrop generation: other code may set these, and then has the window
// repainted, which starts a new generation.
HANDLE backdropProperty(HWND hwnd, const wchar_t* key) {
    struct Read {
        std::uint64_t generation = 0;
        HANDLE value = nullptr;
    };
    static std::map<std::pair<HWND, const wchar_t*>, Read> reads;
    const std::uint64_t now = backdropGeneration();
    Read& read = reads[{hwnd, key}];
    if (read.generation != now) {
        read = {now, GetPropW(hwnd, key)};
        if (reads.size() > 4096) std::erase_if(reads, [now](const auto& r) { return r.second.generation != now; });
    }
    return read.value;
}

}  // namespace

bool providesBackdrop(HWND hwnd) { return reinterpret_cast<INT_PTR>(backdropProperty(hwnd, kPropProvides)) == 1; }

HDC providedBackdrop(HWND provider) { return static_cast<HDC>(backdropProperty(provider, kPropBackdropDC)); }

HWND backdropProviderOf(HWND container) { return static_cast<HWND>(backdropProperty(container, kPropProvider)); }

std::vector<HWND> childrenOf(HWND parent) {
    struct Listed {
        std::uint64_t generation = 0;
        std::vector<HWND> children;
    };
    static std::map<HWND, Listed> lists;
    const std::uint64_t now = backdropGeneration();
    Listed& listed = lists[parent];
    if (listed.generation != now) {
        listed.generation = now;
        listed.children.clear();
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            listed.children.push_back(child);
        }
        if (lists.size() > 1024) std::erase_if(lists, [now](const auto& l) { return l.second.generation != now; });
    }
    return lists[parent].children;
}

int WindowRegistry::add(std::unique_ptr<WindowRecord> record) {
    records_.push_back(std::move(record));
    return size();
}

WindowRecord* WindowRegistry::at(int index) const {
    if (index < 1 || index > size()) return nullptr;
    return records_[static_cast<size_t>(index - 1)].get();
}

int WindowRegistry::indexOf(HWND hwnd) const {
    if (!hwnd) return 0;
    for (size_t i = 0; i < records_.size(); ++i) {
        if (records_[i]->hwnd == hwnd) return static_cast<int>(i) + 1;
    }
    return 0;
}

namespace {

// A window or control of the window now at `index`: its property and its subclasses.
void renumber(HWND hwnd, const wchar_t* key, int index) {
    setIndexProperty(hwnd, key, index);
    setSubclassOwner(hwnd, index);
}

template <typename Entries>
void renumberControls(const Entries& entries, int index, const wchar_t* key = kPropOwnerIndex) {
    for (const auto& entry : entries) {
        if (entry.hwnd) renumber(entry.hwnd, key, index);
    }
}

}  // namespace

void WindowRegistry::remove(int index) {
    WindowRecord* record = at(index);
    if (!record) return;
    if (record->tipWindow && IsWindow(record->tipWindow)) DestroyWindow(record->tipWindow);
    records_.erase(records_.begin() + (index - 1));
    for (int i = index; i <= size(); ++i) {
        WindowRecord* moved = at(i);
        renumber(moved->hwnd, kPropIndex, i);
        renumberControls(moved->buttonEntries, i);
        renumberControls(moved->editEntries, i);
        renumberControls(moved->frameEntries, i);
        renumberControls(moved->trackBarEntries, i);
        renumberControls(moved->progressEntries, i);
        renumberControls(moved->comboEntries, i);
        renumberControls(moved->upDownEntries, i);
        renumberControls(moved->listViewEntries, i);
        renumberControls(moved->containerEntries, i);
        renumberControls(moved->commonEntries, i, kPropCommonOwner);
    }
}

}  // namespace skin
