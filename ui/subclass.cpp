#include "ui/subclass.h"

#include <unordered_map>
#include <vector>

namespace ui {

namespace detail {
namespace {

using Entries = std::vector<std::pair<SubclassProc, Entry>>;

std::unordered_map<HWND, Entries>& table() {
    static std::unordered_map<HWND, Entries> windows;
    return windows;
}

}  // namespace

Entry* find(HWND hwnd, SubclassProc proc) {
    auto window = table().find(hwnd);
    if (window == table().end()) return nullptr;
    for (auto& [installed, entry] : window->second) {
        if (installed == proc) return &entry;
    }
    return nullptr;
}

void remember(HWND hwnd, SubclassProc proc, Entry entry) {
    table()[hwnd].emplace_back(proc, entry);
}

void forget(HWND hwnd, SubclassProc proc) {
    auto window = table().find(hwnd);
    if (window == table().end()) return;
    std::erase_if(window->second, [proc](const auto& installed) { return installed.first == proc; });
    if (window->second.empty()) table().erase(window);
}

}  // namespace detail

}  // namespace ui
