#include "ui/item_preview.h"

#include <algorithm>

#include "editor/control_names.h"
#include "editor/format_codes.h"
#include "skin/skin_engine.h"
#include "ui/editor_window.h"
#include "ui/subclass.h"
#include "ui/user_settings.h"

namespace ui {

namespace {

constexpr wchar_t kTitle[] = L"物品预览";
constexpr int kCaptionHeight = 25;
constexpr int kSideMargin = 6;  // the canvas inside the skin's frame
constexpr int kBottomMargin = 6;
// Of the main window's height, this much stays beside the preview when the
// user drags it up or down.
constexpr int kKeptBeside = 40;

bool registerPreviewClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW existing{sizeof(existing)};
    if (GetClassInfoExW(instance, kItemPreviewClass, &existing)) return true;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kItemPreviewClass;
    return RegisterClassExW(&wc) != 0;
}

RECT workAreaOf(HWND hwnd) {
    MONITORINFO monitor{sizeof(monitor)};
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// The main window moves or changes its size: the preview goes with it.
LRESULT followOwner(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC previous, std::uintptr_t data) {
    const LRESULT result = CallWindowProcW(previous, hwnd, msg, wParam, lParam);
    if (msg == WM_WINDOWPOSCHANGED) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        auto* preview = reinterpret_cast<ItemPreview*>(data);
        if (preview && (~pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) && preview->visible()) preview->dock();
    }
    return result;
}

}  // namespace

ItemPreview::ItemPreview(EditorWindow& owner) : owner_(owner) {}

ItemPreview::~ItemPreview() {
    if (owner_.hwnd()) subclassWindow<followOwner>(owner_.hwnd(), 0);
    canvas_.reset();
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool ItemPreview::create() {
    if (hwnd_) return true;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_.hwnd(), GWLP_HINSTANCE));
    if (!registerPreviewClass(instance, windowProc)) return false;
    // A tool window of its own: no taskbar button, owned by the main window
    // (above it, minimised and closed with it), its frame drawn by the skin.
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kItemPreviewClass, kTitle, WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0,
                            240, 120, owner_.hwnd(), nullptr, instance, this);
    if (!hwnd_) return false;
    if (skin::SkinEngine* engine = skin::SkinEngine::current()) {
        skin::AttachOptions options;
        options.resizable = false;
        engine->AttachWindow(hwnd_, kCaptionHeight, options);
    }
    canvas_ = std::make_unique<PreviewCanvas>(hwnd_, kSideMargin, kCaptionHeight);
    subclassWindow<followOwner>(owner_.hwnd(), reinterpret_cast<std::uintptr_t>(this));
    return true;
}

void ItemPreview::show(bool visible) {
    PreviewPlace& place = owner_.itemFiles().preview;
    if (visible && create()) {
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        refresh();
        dock();
        canvas_->setAnimated(true);
    } else if (hwnd_) {
        canvas_->setAnimated(false);
        ShowWindow(hwnd_, SW_HIDE);
    }
    if (place.visible != visible) {
        place.visible = visible;
        saveUserSettings(owner_.itemFiles());
    }
}

void ItemPreview::refresh() {
    if (!visible() || !canvas_) return;
    const std::vector<std::string> texts = editor::tooltipLines(
        owner_.text(editor::kDisplayNameBox), owner_.text(editor::kTypeBox), owner_.text(editor::kHandBox),
        owner_.text(editor::kLoreBox), owner_.text(editor::kDescriptionBox));
    if (canvas_->setTexts(texts)) fitToCanvas();
}

void ItemPreview::fitToCanvas() {
    const SIZE canvas = canvas_->size();
    SetWindowPos(hwnd_, nullptr, 0, 0, canvas.cx + 2 * kSideMargin, kCaptionHeight + canvas.cy + kBottomMargin,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    dock();
}

void ItemPreview::dock() {
    if (!hwnd_ || docking_) return;
    const PreviewPlace& place = owner_.itemFiles().preview;
    RECT main, own;
    GetWindowRect(owner_.hwnd(), &main);
    GetWindowRect(hwnd_, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    const RECT work = workAreaOf(owner_.hwnd());
    const bool rightFits = main.right + width <= work.right;
    const bool leftFits = main.left - width >= work.left;
    const bool left = place.left ? (leftFits || !rightFits) : (!rightFits && leftFits);
    int x = left ? main.left - width : main.right;
    int y = main.top + place.top;
    x = std::clamp<int>(x, work.left, std::max<int>(work.left, work.right - width));
    y = std::clamp<int>(y, work.top, std::max<int>(work.top, work.bottom - height));
    if (x == own.left && y == own.top) return;
    docking_ = true;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    docking_ = false;
}

void ItemPreview::onMovedByUser() {
    // Dropped somewhere: it docks again on the nearer side, at that height.
    RECT main, own;
    GetWindowRect(owner_.hwnd(), &main);
    GetWindowRect(hwnd_, &own);
    PreviewPlace& place = owner_.itemFiles().preview;
    const PreviewPlace before = place;
    place.left = (own.left + own.right) < (main.left + main.right);
    place.top = std::clamp<int>(own.top - main.top, -(own.bottom - own.top) + kKeptBeside,
                                std::max<int>(0, main.bottom - main.top - kKeptBeside));
    dock();
    if (!(place == before)) saveUserSettings(owner_.itemFiles());
}

LRESULT CALLBACK ItemPreview::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<ItemPreview*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ItemPreview*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->handleMessage(msg, wParam, lParam);
}

LRESULT ItemPreview::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        show(false);  // the close button hides it; the main window's closing destroys it
        return 0;
    case WM_EXITSIZEMOVE:
        onMovedByUser();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // the focus stays in the form
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void toggleItemPreview(EditorWindow& window) { window.preview().show(!window.preview().visible()); }

void restoreItemPreview(EditorWindow& window) {
    if (window.itemFiles().preview.visible) window.preview().show(true);
}

bool isItemPreviewWindow(HWND hwnd) {
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    return std::wstring_view(className) == kItemPreviewClass;
}

}  // namespace ui
