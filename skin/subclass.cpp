#include "skin/subclass.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace skin {

namespace {

using Subclasses = std::vector<std::pair<WNDPROC, Subclass>>;

std::unordered_map<HWND, Subclasses>& table() {
    static std::unordered_map<HWND, Subclasses> windows;
    return windows;
}

}  // namespace

Subclass* findSubclass(HWND hwnd, WNDPROC procedure) {
    auto window = table().find(hwnd);
    if (window == table().end()) return nullptr;
    for (auto& [installed, subclass] : window->second) {
        if (installed == procedure) return &subclass;
    }
    return nullptr;
}

Subclass& installSubclass(HWND hwnd, WNDPROC procedure, const Subclass& values) {
    if (Subclass* found = findSubclass(hwnd, procedure)) {
        const WNDPROC previous = found->previous;
        *found = values;
        found->previous = previous;
        return *found;
    }
    // Listed before the procedure goes in: it may see a message at once.
    table()[hwnd].emplace_back(procedure, values).second.previous = nullptr;
    const auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    Subclass& added = *findSubclass(hwnd, procedure);
    added.previous = previous;
    return added;
}

void forgetSubclass(HWND hwnd, WNDPROC procedure) {
    auto window = table().find(hwnd);
    if (window == table().end()) return;
    std::erase_if(window->second, [procedure](const auto& installed) { return installed.first == procedure; });
    if (window->second.empty()) table().erase(window);
}

void setSubclassOwner(HWND hwnd, int owner) {
    auto window = table().find(hwnd);
    if (window == table().end()) return;
    for (auto& [installed, subclass] : window->second) {
        if (subclass.owner) subclass.owner = owner;
    }
}

}  // namespace skin
