#include "ui/help_and_music.h"

#include "editor/control_names.h"
#include "ui/editor_window.h"
#include "ui/web_addresses.h"

namespace ui {

namespace {

// Addresses are build configuration (CMake cache variables).
constexpr char kMusicUrl[] = RPGITEM_MUSIC_URL;
constexpr char kChatGroupUrl[] = RPGITEM_CHAT_URL;

bool visibleFlag(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

void setVisible(HWND hwnd, bool visible) {
    if (hwnd) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void toggle(EditorWindow& window, std::string_view overlay) {
    HWND hwnd = window.control(overlay);
    if (hwnd) setVisible(hwnd, !visibleFlag(hwnd));
}

}  // namespace

void playMusic(EditorWindow& window) { window.webView().navigate(kMusicUrl); }

void openChatGroupPage(EditorWindow& window) { window.webView().navigate(kChatGroupUrl); }

void toggleTutorial(EditorWindow& window) { toggle(window, editor::kTutorialPicture); }

void toggleDyeList(EditorWindow& window) { toggle(window, editor::kDyeList); }

void followColourChartBox(EditorWindow& window) {
    setVisible(window.control(editor::kColourChartPicture), window.isChecked(editor::kColourChartCheck));
}

}  // namespace ui
