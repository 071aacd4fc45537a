// The one window procedure of every skinned control kind (after System
// Informer's theme support): each kind subclasses its controls through
// skin/subclass.h, finds a control's entry in its window's records through
// placeOf, and acts on the messages of its own with one function per
// message; everything else goes on to the control's previous procedure.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "skin/backdrop_cache.h"
#include "skin/skin_engine.h"
#include "skin/subclass.h"
#include "skin/window_registry.h"

namespace skin {

// A skinned control's place: its window record and its entry.
template <typename Entry>
struct ControlPlace {
    SkinEngine* engine = nullptr;
    WindowRecord* record = nullptr;
    int windowIndex = 0;
    int entryIndex = 0;
    Entry* entry = nullptr;
    WNDPROC previous = nullptr;  // the control's procedure before the skin (inside its window procedure)
    explicit operator bool() const { return entry != nullptr; }
};

// The one way to a control's record: entry `index` (1-based) of `list` in
// the record of skinned window `owner`; empty when there is no such entry
// or it holds no control.
template <typename Entry>
ControlPlace<Entry> placeOf(int owner, int index, std::vector<Entry> WindowRecord::*list) {
    ControlPlace<Entry> place;
    place.engine = SkinEngine::current();
    place.record = place.engine ? place.engine->record(owner) : nullptr;
    if (!place.record) return place;
    std::vector<Entry>& entries = place.record->*list;
    if (index < 1 || index > static_cast<int>(entries.size())) return place;
    Entry& entry = entries[static_cast<size_t>(index - 1)];
    if (!entry.hwnd) return place;
    place.windowIndex = owner;
    place.entryIndex = index;
    place.entry = &entry;
    return place;
}

// The place of `control` as its subclass by `procedure` names it; empty
// when the control has no such subclass or the entry is another control's.
template <typename Entry>
ControlPlace<Entry> placeOf(HWND control, WNDPROC procedure, std::vector<Entry> WindowRecord::*list) {
    const Subclass* subclass = findSubclass(control, procedure);
    if (!subclass) return {};
    ControlPlace<Entry> place = placeOf(subclass->owner, subclass->index, list);
    if (!place || place.entry->hwnd != control) return {};
    place.previous = subclass->previous;
    return place;
}

// Passes a message on to the control's procedure before the skin.
template <typename Entry>
LRESULT passOn(const ControlPlace<Entry>& p, UINT msg, WPARAM wParam, LPARAM lParam) {
    return callPrevious(p.previous, p.entry->hwnd, msg, wParam, lParam);
}

// The mouse moved over a skinned control: the control hears when it leaves,
// and its window notes it as the control moved over last.
template <typename Entry>
void noteMouseOver(const ControlPlace<Entry>& p) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, p.entry->hwnd, 0};
    TrackMouseEvent(&track);
    p.record->lastMovedControl = p.entryIndex;
}

// Whether the control is the hot one of its window (the mouse is over it),
// `hotKind` telling the kinds apart; and making it so.
template <typename Entry>
bool isHot(const ControlPlace<Entry>& p, int hotKind) {
    return p.record->hotKind == hotKind && p.record->hotControl == p.entryIndex;
}
template <typename Entry>
void makeHot(const ControlPlace<Entry>& p, int hotKind) {
    p.record->hotControl = p.entryIndex;
    p.record->hotKind = hotKind;
}

// The window properties a kind's registration writes.
struct ControlKeys {
    const wchar_t* owner = kPropOwnerIndex;
    const wchar_t* index = kPropIndex;
    const wchar_t* previous = kPropPreviousProc;
};

// Registers `control` at entry `index` of window `owner` and puts
// `procedure` in front of it: the previous procedure into the entry and the
// `keys.previous` property, the indices into the table and the properties.
template <typename Entry>
void attachControl(Entry& entry, HWND control, int owner, int index, WNDPROC procedure, const ControlKeys& keys = {}) {
    entry.hwnd = control;
    setIndexProperty(control, keys.index, index);
    setIndexProperty(control, keys.owner, owner);
    entry.previous = installSubclass(control, procedure, {nullptr, 0, owner, index}).previous;
    SetPropW(control, keys.previous, reinterpret_cast<HANDLE>(entry.previous));
}

// True when `control` is already in `list`.
template <typename Entry>
bool isListed(const std::vector<Entry>& list, HWND control) {
    for (const Entry& e : list) {
        if (e.hwnd == control) return true;
    }
    return false;
}

// Appends `control` to `list` of window `owner` (a list holding one empty
// entry reuses it) and attaches it; the new entry, or nullptr when the
// window has no record or the control is listed already (a control keeps
// its one subclass: hooking it again would make the skin its own previous
// procedure).
template <typename Entry>
Entry* registerControl(int owner, HWND control, std::vector<Entry> WindowRecord::*list, WNDPROC procedure,
                       const ControlKeys& keys = {}) {
    SkinEngine* engine = SkinEngine::current();
    WindowRecord* r = engine ? engine->record(owner) : nullptr;
    if (!r) return nullptr;
    std::vector<Entry>& entries = r->*list;
    if (isListed(entries, control)) return nullptr;
    if (entries.size() != 1 || entries.front().hwnd) entries.emplace_back();
    Entry& entry = entries.back();
    attachControl(entry, control, owner, static_cast<int>(entries.size()), procedure, keys);
    return &entry;
}

// The messages a kind acts on: a list of them, or every message.
struct EveryMessage {};
inline constexpr EveryMessage kEveryMessage{};
inline bool actsOn(EveryMessage, UINT) { return true; }
template <size_t N>
bool actsOn(const UINT (&messages)[N], UINT msg) {
    for (const UINT m : messages) {
        if (m == msg) return true;
    }
    return false;
}

// What a kind does with a message it acts on (one function per message
// behind it): its answer, or nothing to have the message passed on; and
// what it does with a control on its WM_NCDESTROY (beyond the records).
template <typename Entry>
using OnControlMessage = std::optional<LRESULT> (*)(const ControlPlace<Entry>& p, HWND control, UINT msg, WPARAM wParam,
                                                    LPARAM lParam);
using OnControlGone = void (*)(HWND control);
// What a kind does when the mouse moves over one of its controls (the
// skeleton has noted it and asked to hear when it leaves) and when it has
// left; the message then goes on as any other.
template <typename Entry>
using OnControlMouse = void (*)(const ControlPlace<Entry>& p, HWND control, LPARAM lParam);

// The skeleton of every kind's procedure `self`: a kind's procedure is
// `controlProcedure<its entry, its list, its messages, its dispatcher, its
// hover handlers>` called with itself. Messages outside `Messages` (and the
// mouse's), and those for a control whose entry is gone, go straight on.
template <typename Entry, std::vector<Entry> WindowRecord::*List, const auto& Messages,
          OnControlMessage<Entry> OnMessage, OnControlMouse<Entry> OnMouseOver = nullptr,
          OnControlMouse<Entry> OnMouseLeave = nullptr, OnControlGone OnGone = nullptr>
LRESULT controlProcedure(WNDPROC self, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Subclass* found = findSubclass(control, self);
    const WNDPROC previous = found ? found->previous : nullptr;
    if (msg == WM_NCDESTROY) {
        const LRESULT result = callPrevious(previous, control, msg, wParam, lParam);
        if constexpr (OnGone != nullptr) OnGone(control);
        forgetSubclass(control, self);
        forgetPictures(control);
        return result;
    }
    constexpr bool hovers = OnMouseOver != nullptr && OnMouseLeave != nullptr;
    const bool mouse = hovers && (msg == WM_MOUSEMOVE || msg == WM_MOUSELEAVE);
    const bool acts = actsOn(Messages, msg);
    if (!mouse && !acts) return callPrevious(previous, control, msg, wParam, lParam);
    const ControlPlace<Entry> place = placeOf(control, self, List);
    if (place) {
        if constexpr (hovers) {
            if (msg == WM_MOUSEMOVE) {
                noteMouseOver(place);
                OnMouseOver(place, control, lParam);
            } else if (msg == WM_MOUSELEAVE) {
                OnMouseLeave(place, control, lParam);
            }
        }
        if (acts) {
            if (const std::optional<LRESULT> answer = OnMessage(place, control, msg, wParam, lParam)) return *answer;
        }
    }
    return callPrevious(previous, control, msg, wParam, lParam);
}

}  // namespace skin
