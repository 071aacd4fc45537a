#include "ui/editor_window.h"

#include <commctrl.h>

#include <algorithm>

#include "editor/control_names.h"
#include "res/resource_ids.h"
#include "ui/event_wiring.h"
#include "ui/form_controls.h"
#include "ui/information_box.h"
#include "ui/input_modes.h"
#include "ui/item_files.h"
#include "ui/item_preview.h"
#include "ui/main_menu.h"
#include "ui/main_window_skin.h"
#include "ui/startup_trace.h"
#include "ui/static_controls.h"
#include "ui/win_text.h"

namespace ui {

namespace {

constexpr int kFirstControlId = 1000;
constexpr UINT kFirstMenuItemId = 0xE100;
constexpr UINT_PTR kSizeGuardTimer = 1;
// Posted after control events: one comparison of the form with the file per burst.
constexpr UINT kCheckFormMessage = WM_APP + 0x11;

COLORREF toColorRef(std::uint32_t rrggbb) { return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF); }

constexpr int kMinimumDroppedListHeight = 160;

bool isPopupMenuTitle(std::string_view name) {
    const auto menus = editor::popupMenus();
    return std::any_of(menus.begin(), menus.end(),
                       [name](const editor::PopupMenu& menu) { return menu.title == name; });
}

bool isCombo(editor::ControlKind kind) {
    return kind == editor::ControlKind::ComboEditable || kind == editor::ControlKind::ComboList;
}

struct WindowClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowClassAndStyle classAndStyle(const editor::Control& spec) {
    using editor::ControlKind;
    switch (spec.kind) {
    case ControlKind::Edit: {
        DWORD style = WS_TABSTOP;
        if (spec.editStyle & editor::kMultiLine) {
            style |= ES_MULTILINE | ES_AUTOVSCROLL;
            if (!(spec.editStyle & editor::kWrap)) style |= ES_AUTOHSCROLL;
            if (spec.editStyle & editor::kVScroll) style |= WS_VSCROLL;
            if (spec.editStyle & editor::kHScroll) style |= WS_HSCROLL;
            if (spec.editStyle & editor::kWantReturn) style |= ES_WANTRETURN;
        } else {
            style |= ES_AUTOHSCROLL;
        }
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::Radio:
        return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
    case ControlKind::ComboEditable:
        return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::ComboList:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::ListBox:
        return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Label:
        // Transparent: painted after the siblings beneath it, over their pixels.
        return {kLabelClass, 0, WS_EX_TRANSPARENT};
    case ControlKind::PictureBox:
        return {kPictureClass, 0, 0};
    case ControlKind::WebView:
        return {L"STATIC", 0, 0};
    case ControlKind::Timer:
    case ControlKind::FileDialog:
        break;
    }
    return {nullptr, 0, 0};
}

bool registerMainClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW existing{sizeof(existing)};
    if (GetClassInfoExW(instance, kEditorWindowClass, &existing)) return true;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    // The icon's own 48 x 48 image, not one scaled to the system's icon size.
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 48, 48, LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kEditorWindowClass;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

EditorWindow::EditorWindow(HINSTANCE instance, const Options& options)
    : instance_(instance), options_(options), editBackground_(CreateSolidBrush(RGB(255, 255, 255))) {}

std::unique_ptr<EditorWindow> EditorWindow::create(HINSTANCE instance, const Options& options) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    if (!registerMainClass(instance, windowProc) || !registerStaticControlClasses(instance)) return nullptr;
    std::unique_ptr<EditorWindow> window(new EditorWindow(instance, options));
    // No caption of the platform's own: the title is a label of the layout,
    // the client area spans the whole window, and the skin draws the frame.
    HWND hwnd = CreateWindowExW(0, kEditorWindowClass, L"",
                                WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPSIBLINGS,
                                editor::kWindowLeft, editor::kWindowTop, editor::kWindowWidth, editor::kWindowHeight,
                                nullptr, nullptr, instance, window.get());
    startupMark("main window created");
    if (!hwnd || !window->build()) return nullptr;
    startupMark("controls created");
    onMainWindowCreated(*window);
    startupMark("skinned");
    startItemFiles(*window, options.userFolder);
    // Painted here, before the message loop: painted from the loop, the
    // transparent labels would be drawn in another order over the controls
    // they overlap.
    if (options.show) {
        ShowWindow(hwnd, SW_SHOW);
        startupMark("window shown (surface composed)");
        UpdateWindow(hwnd);
        startupMark("first paint done");
        restoreItemPreview(*window);
    }
    startupMark("shown");
    return window;
}

EditorWindow::~EditorWindow() {
    webView_.reset();  // the browser lets go of its host window first
    if (hwnd_ && IsWindow(hwnd_)) {
        options_.quitOnClose = false;
        DestroyWindow(hwnd_);
    }
    for (auto& [title, menu] : menus_) DestroyMenu(menu);
}

bool EditorWindow::build() {
    const auto specs = editor::controls();
    for (size_t i = 0; i < specs.size(); ++i) {
        const editor::Control& spec = specs[i];
        if (spec.kind == editor::ControlKind::Timer || spec.kind == editor::ControlKind::FileDialog) continue;
        HWND created = createControl(spec, kFirstControlId + static_cast<int>(i));
        if (!created) return false;
        byName_.emplace(std::string(spec.name), created);
        byHandle_.emplace(created, &spec);
        configureControl(created, spec);
    }
    output_ = std::make_unique<OutputBox>(control(editor::kOutputBox), [this] {
        dispatch({EventKind::ContentChanged, editor::kOutputBox});
    });
    itemFiles_ = std::make_unique<ItemFileSession>();
    createPopupMenus();
    installEventReporters();
    SetTimer(hwnd_, kSizeGuardTimer, editor::kSizeGuardIntervalMs, nullptr);
    setMessageOwner(hwnd_);
    return true;
}

HWND EditorWindow::createControl(const editor::Control& spec, int id) {
    const auto [className, kindStyle, exStyle] = classAndStyle(spec);
    if (!className) return nullptr;
    HWND parent = spec.parent.empty() ? hwnd_ : control(spec.parent);
    if (!parent) return nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kindStyle;
    // A hidden combo box ignores a new item height: it is hidden only once
    // configured (see configureControl).
    if (spec.visible || isCombo(spec.kind)) style |= WS_VISIBLE;
    if (!spec.enabled) style |= WS_DISABLED;
    // A combo box's window height includes its dropped list; the margin
    // covers the list's own border.
    const int height = isCombo(spec.kind) ? spec.height + kMinimumDroppedListHeight + 8 : spec.height;
    // Child windows are linked below their earlier siblings, so creating in
    // layout order stacks the first control on top.
    return CreateWindowExW(exStyle, className, wide(spec.text).c_str(), style, spec.left, spec.top, spec.width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
}

void EditorWindow::configureControl(HWND hwnd, const editor::Control& spec) {
    using editor::ControlKind;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.get(spec.font)), FALSE);
    for (std::string_view item : spec.items) {
        const UINT add = spec.kind == ControlKind::ListBox ? LB_ADDSTRING : CB_ADDSTRING;
        SendMessageW(hwnd, add, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
    }
    switch (spec.kind) {
    case ControlKind::Edit:
        SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no 32K limit on any field
        applyInputMode(hwnd, spec.inputMode);
        break;
    case ControlKind::CheckBox:
    case ControlKind::Radio:
        SendMessageW(hwnd, BM_SETCHECK, spec.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::ComboEditable:
    case ControlKind::ComboList: {
        // The closed box keeps the layout's height whatever the font.
        RECT rc;
        GetWindowRect(hwnd, &rc);
        const auto itemHeight = static_cast<int>(SendMessageW(hwnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        const int wanted = itemHeight + spec.height - (rc.bottom - rc.top);
        if (wanted > 0) SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
        fitDroppedWidthWhenNeeded(hwnd);
        if (!spec.visible) ShowWindow(hwnd, SW_HIDE);
        break;
    }
    case ControlKind::Label:
        setLabelColour(hwnd, toColorRef(spec.textColour));
        break;
    case ControlKind::PictureBox:
        setPictureResource(hwnd, spec.picture == editor::Picture::Tutorial ? IDR_TUTORIAL_PNG : IDR_COLOUR_CHART_JPG);
        break;
    case ControlKind::GroupBox:
        forwardChildNotifications(hwnd);
        break;
    default:
        break;
    }
}

void EditorWindow::installEventReporters() {
    for (const Binding& binding : bindings()) {
        if (isPopupMenuTitle(binding.control)) continue;  // a context menu's item, not a control
        HWND target = control(binding.control);
        if (!target) continue;
        reportControlEvents(target, binding.kind == EventKind::LeftPressed, binding.kind == EventKind::RightPressed,
                            binding.kind == EventKind::KeyDown);
    }
}

void EditorWindow::createPopupMenus() {
    UINT id = kFirstMenuItemId;
    for (const editor::PopupMenu& menu : editor::popupMenus()) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, id++, wide(menu.item).c_str());
        menus_.emplace_back(menu.title, popup);
    }
}

ItemPreview& EditorWindow::preview() {
    if (!preview_) preview_ = std::make_unique<ItemPreview>(*this);
    return *preview_;
}

WebView& EditorWindow::webView() {
    if (!webView_) webView_ = std::make_unique<WebView>(control(editor::kWebView));
    return *webView_;
}

HWND EditorWindow::control(std::string_view name) const {
    auto found = byName_.find(name);
    if (found != byName_.end()) return found->second;
    editor::controlNamed(name);  // throws for a name the layout does not have
    return nullptr;              // the timer and the file dialog have no window
}

std::string_view EditorWindow::nameOf(HWND hwnd) const {
    auto found = byHandle_.find(hwnd);
    return found == byHandle_.end() ? std::string_view() : found->second->name;
}

HMENU EditorWindow::popupMenu(std::string_view title) const {
    for (const auto& [menuTitle, menu] : menus_) {
        if (menuTitle == title) return menu;
    }
    return nullptr;
}

std::string EditorWindow::text(std::string_view name) const {
    HWND hwnd = control(name);
    return hwnd ? windowText(hwnd) : std::string();
}

bool EditorWindow::isChecked(std::string_view name) const {
    HWND hwnd = control(name);
    return hwnd && SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int EditorWindow::selection(std::string_view name) const {
    HWND hwnd = control(name);
    return hwnd ? static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)) : -1;
}

std::string EditorWindow::selectedItemText(std::string_view name) const {
    HWND hwnd = control(name);
    const int index = selection(name);
    if (!hwnd || index < 0) return {};
    const auto length = SendMessageW(hwnd, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    item.resize(static_cast<size_t>(SendMessageW(hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()))));
    return utf8(item);
}

std::vector<std::string> EditorWindow::listItems(std::string_view name) const {
    std::vector<std::string> items;
    HWND hwnd = control(name);
    if (!hwnd) return items;
    const auto count = SendMessageW(hwnd, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(hwnd, LB_GETTEXTLEN, i, 0);
        if (length == LB_ERR) continue;
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        item.resize(static_cast<size_t>(SendMessageW(hwnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(utf8(item));
    }
    return items;
}

void EditorWindow::dispatch(const ControlEvent& event) {
    if (eventsHeld_) return;
    if (const Binding* binding = findBinding(event.control, event.kind)) binding->handler(*this, event);
    if (event.kind != EventKind::Tick) watchForFormChanges();
}

void EditorWindow::watchForFormChanges() {
    if (formCheckPosted_ || !hwnd_) return;
    formCheckPosted_ = PostMessageW(hwnd_, kCheckFormMessage, 0, 0) != FALSE;
}

LRESULT CALLBACK EditorWindow::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<EditorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<EditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        if (messageOwner() == hwnd) setMessageOwner(nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->handleMessage(msg, wParam, lParam);
}

LRESULT EditorWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return 0;
    case kControlEventMessage:
        onControlEvent(*reinterpret_cast<const ControlEvent*>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return onControlColour(msg, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_TIMER:
        if (wParam == kSizeGuardTimer) dispatch({EventKind::Tick, editor::kSizeGuardClock});
        return 0;
    case kCheckFormMessage:
        formCheckPosted_ = false;
        showFileState(*this);
        if (preview_) preview_->refresh();
        return 0;
    case WM_ACTIVATE:
        if (onActivate(LOWORD(wParam) != WA_INACTIVE)) return 0;
        break;
    case WM_DROPFILES:
        onFilesDropped(*this, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        keepRecoveryFile(*this);
        break;
    case WM_ENDSESSION:
        if (wParam) keepRecoveryFile(*this);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, kSizeGuardTimer);
        if (options_.quitOnClose) PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// The keyboard goes back to the control that had it when the window is
// activated again (after a message box, a dialog or another program).
bool EditorWindow::onActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return false;
    }
    if (!lastFocus_ || !IsWindow(lastFocus_) || !IsChild(hwnd_, lastFocus_) || !IsWindowVisible(lastFocus_) ||
        !IsWindowEnabled(lastFocus_) || IsIconic(hwnd_)) {
        return false;
    }
    SetFocus(lastFocus_);
    return true;
}

EditorWindow* EditorWindow::fromHandle(HWND hwnd) {
    wchar_t className[64] = {};
    if (!hwnd || !GetClassNameW(hwnd, className, 64) || std::wstring_view(className) != kEditorWindowClass) {
        return nullptr;
    }
    return reinterpret_cast<EditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void EditorWindow::onCommand(WPARAM wParam, LPARAM lParam) {
    const WORD code = HIWORD(wParam);
    auto* source = reinterpret_cast<HWND>(lParam);
    if (!source) {
        const UINT id = LOWORD(wParam);
        if (runMainMenuItem(*this, id)) return;
        if (code == 0 && id >= kFirstMenuItemId && id < kFirstMenuItemId + menus_.size()) {
            dispatch({EventKind::MenuItemChosen, menus_[id - kFirstMenuItemId].first});
        }
        return;
    }
    auto found = byHandle_.find(source);
    if (found == byHandle_.end()) return;
    const editor::Control& spec = *found->second;
    switch (spec.kind) {
    case editor::ControlKind::Edit:
        if (code != EN_CHANGE) return;
        if (source == output_->hwnd()) {
            output_->onPlatformChange();
        } else {
            dispatch({EventKind::ContentChanged, spec.name});
        }
        return;
    case editor::ControlKind::Button:
    case editor::ControlKind::CheckBox:
    case editor::ControlKind::Radio:
        if (code == BN_CLICKED) dispatch({EventKind::Click, spec.name});
        return;
    case editor::ControlKind::ComboEditable:
    case editor::ControlKind::ComboList:
        if (code == CBN_DROPDOWN) fitDroppedWidthBeforeDrop(source);
        if (code == CBN_SELCHANGE) dispatch({EventKind::SelectionChanged, spec.name});
        return;
    default:
        return;
    }
}

void EditorWindow::onControlEvent(const ControlEvent& reported, HWND source) {
    const std::string_view name = nameOf(source);
    if (name.empty()) return;
    ControlEvent event = reported;
    event.control = name;
    dispatch(event);
}

LRESULT EditorWindow::onControlColour(UINT msg, HDC dc, HWND source) {
    auto found = byHandle_.find(source);
    // The edit part of a combo box asks on behalf of the combo box.
    if (found == byHandle_.end()) found = byHandle_.find(GetParent(source));
    const COLORREF colour = found == byHandle_.end() ? RGB(0, 0, 0) : toColorRef(found->second->textColour);
    SetTextColor(dc, colour);
    if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) {
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(editBackground_.get());
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace ui
