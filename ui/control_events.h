// The events the main window routes to its handlers.
#pragma once

#include <windows.h>

#include <string_view>

namespace ui {

enum class EventKind {
    Click,
    ContentChanged,
    SelectionChanged,
    LeftPressed,
    RightPressed,
    KeyDown,
    Tick,
    MenuItemChosen,
};

// Modifier state of key and mouse events, added together.
enum Modifier : int { kCtrl = 1, kShift = 2, kAlt = 4 };

struct ControlEvent {
    EventKind kind;
    std::string_view control;  // control name, or the menu title for menu items
    POINT cursor{};            // screen position of a mouse press
    int modifiers = 0;
    UINT virtualKey = 0;
};

// Sent by a control's event reporter to the top-level window:
// wParam points at a ControlEvent (its control name left empty), lParam is
// the control's handle.
inline constexpr UINT kControlEventMessage = WM_APP + 0x10;

// Current modifier state from the keyboard.
int currentModifiers();

// Makes `control` report the given kinds (LeftPressed, RightPressed, KeyDown)
// to its top-level window. The control keeps its own behaviour.
void reportControlEvents(HWND control, bool leftPressed, bool rightPressed, bool keyDown);

// Group boxes do not pass their children's notifications on: forward them
// to the group's parent so that every handler is reached.
void forwardChildNotifications(HWND groupBox);

}  // namespace ui
