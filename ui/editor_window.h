// The main window: created from the layout, it owns its controls' handles,
// fonts and menus, and routes every control event to the wiring table.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/layout.h"
#include "output/output_history.h"
#include "skin/handle_owners.h"
#include "ui/control_events.h"
#include "ui/font_cache.h"
#include "ui/item_file_session.h"
#include "ui/output_box.h"
#include "ui/web_view.h"

namespace ui {

class ItemPreview;

class EditorWindow {
public:
    struct Options {
        bool show = true;
        bool quitOnClose = true;  // end the message loop when the window goes
        // Settings and the recovery file; empty: %APPDATA%\RPGitemEditor.
        std::wstring userFolder;
    };

    static std::unique_ptr<EditorWindow> create(HINSTANCE instance, const Options& options);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The editor window behind a main window's handle; nullptr for any other window.
    static EditorWindow* fromHandle(HWND hwnd);
    // The control's window; nullptr for the timer and the file dialog. The
    // program names controls through editor/control_names.h: an unknown name
    // is a fault in the program and throws std::logic_error (editor::controlNamed).
    HWND control(std::string_view name) const;
    std::string_view nameOf(HWND control) const;
    HMENU popupMenu(std::string_view title) const;
    OutputBox& output() { return *output_; }
    output::OutputHistory& history() { return history_; }
    // Made on first use, its browser control on the first navigation: none
    // of it costs start-up time.
    WebView& webView();
    ItemFileSession& itemFiles() { return *itemFiles_; }
    // Made on first use; its window when first shown.
    ItemPreview& preview();

    // Reads of the controls, by name (an unknown name throws, as in control()).
    std::string text(std::string_view name) const;
    bool isChecked(std::string_view name) const;
    int selection(std::string_view name) const;
    std::string selectedItemText(std::string_view name) const;
    std::vector<std::string> listItems(std::string_view name) const;

    // Runs the handler bound to the event, if any.
    void dispatch(const ControlEvent& event);

    // While an object lives, control events run no handler: the program
    // fills many controls and recomposes once at the end.
    class EventsHeld {
    public:
        explicit EventsHeld(EditorWindow& window) : window_(window), outer_(!window.eventsHeld_) {
            window.eventsHeld_ = true;
        }
        // The form may have changed meanwhile: one check follows.
        ~EventsHeld() {
            if (!outer_) return;
            window_.eventsHeld_ = false;
            window_.watchForFormChanges();
        }
        EventsHeld(const EventsHeld&) = delete;
        EventsHeld& operator=(const EventsHeld&) = delete;

    private:
        EditorWindow& window_;
        bool outer_;
    };

private:
    EditorWindow(HINSTANCE instance, const Options& options);
    bool build();
    HWND createControl(const editor::Control& spec, int id);
    void configureControl(HWND hwnd, const editor::Control& spec);
    void installEventReporters();
    void createPopupMenus();

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void onCommand(WPARAM wParam, LPARAM lParam);
    bool onActivate(bool active);
    LRESULT onControlColour(UINT msg, HDC dc, HWND control);
    void onControlEvent(const ControlEvent& reported, HWND control);
    void watchForFormChanges();

    HINSTANCE instance_;
    Options options_;
    HWND hwnd_ = nullptr;
    FontCache fonts_;
    skin::GdiBrush editBackground_;
    std::map<std::string, HWND, std::less<>> byName_;
    std::map<HWND, const editor::Control*> byHandle_;
    std::vector<std::pair<std::string_view, HMENU>> menus_;
    std::unique_ptr<OutputBox> output_;
    output::OutputHistory history_;
    std::unique_ptr<WebView> webView_;
    std::unique_ptr<ItemFileSession> itemFiles_;
    std::unique_ptr<ItemPreview> preview_;
    bool eventsHeld_ = false;
    bool formCheckPosted_ = false;
    HWND lastFocus_ = nullptr;  // the control that had the keyboard when the window was deactivated
};

// Window class of the main window (for tools that look for it).
inline constexpr wchar_t kEditorWindowClass[] = L"RPGitemEditorWindow";

}  // namespace ui
