#include "editor/tab_order.h"

#include <algorithm>
#include <map>

namespace editor {

namespace {

bool takesKeyboard(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit:
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::Radio:
    case ControlKind::ComboEditable:
    case ControlKind::ComboList:
    case ControlKind::ListBox:
        return true;
    default:
        return false;
    }
}

struct Place {
    int left = 0;
    int top = 0;
};

bool holds(const Control& group, const Control& c) {
    return c.left >= group.left && c.top >= group.top && c.left + c.width <= group.left + group.width &&
           c.top + c.height <= group.top + group.height;
}

// Items in reading order: sorted by top, cut into rows of nearly equal tops,
// each row from left to right. Stable, so equal places keep layout order.
template <class Item>
void sortReadingOrder(std::vector<Item>& items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.place.top < b.place.top; });
    auto rowStart = items.begin();
    while (rowStart != items.end()) {
        auto rowEnd = rowStart;
        while (rowEnd != items.end() && rowEnd->place.top - rowStart->place.top < kTabRowTolerance) ++rowEnd;
        std::stable_sort(rowStart, rowEnd, [](const Item& a, const Item& b) { return a.place.left < b.place.left; });
        rowStart = rowEnd;
    }
}

struct Member {
    Place place;
    std::string_view name;
};

struct Unit {
    Place place;
    std::vector<Member> members;
};

}  // namespace

std::vector<std::string_view> tabOrder(std::span<const Control> controls) {
    std::map<std::string_view, Unit> groups;
    std::vector<Unit> loose;
    for (const Control& c : controls) {
        if (c.kind == ControlKind::GroupBox) groups[c.name].place = {c.left, c.top};
    }
    for (const Control& c : controls) {
        if (!takesKeyboard(c.kind)) continue;
        const Member member{{c.left, c.top}, c.name};
        std::string_view group = c.parent;
        if (group.empty()) {
            // Visually inside a group box though placed on the client area.
            for (const Control& box : controls) {
                if (box.kind == ControlKind::GroupBox && box.parent.empty() && holds(box, c)) {
                    group = box.name;
                    break;
                }
            }
        }
        auto found = group.empty() ? groups.end() : groups.find(group);
        if (found == groups.end()) {
            loose.push_back({member.place, {member}});
        } else {
            // A group's controls are placed inside it: on the client area,
            // they move into its coordinates.
            Member inside = member;
            if (c.parent.empty()) inside.place = {c.left - found->second.place.left, c.top - found->second.place.top};
            found->second.members.push_back(inside);
        }
    }
    std::vector<Unit> units = std::move(loose);
    for (auto& [name, unit] : groups) {
        if (!unit.members.empty()) units.push_back(std::move(unit));
    }
    sortReadingOrder(units);
    std::vector<std::string_view> order;
    for (Unit& unit : units) {
        sortReadingOrder(unit.members);
        for (const Member& m : unit.members) order.push_back(m.name);
    }
    return order;
}

std::span<const std::string_view> mainTabOrder() {
    static const std::vector<std::string_view> order = tabOrder(controls());
    return order;
}

}  // namespace editor
