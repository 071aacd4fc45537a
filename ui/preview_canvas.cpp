#include "ui/preview_canvas.h"

#include <algorithm>

#include "res/resource_ids.h"
#include "skin/handle_owners.h"
#include "skin/picture_pixels.h"
#include "skin/skin_engine.h"

namespace ui {

namespace {

constexpr wchar_t kCanvasClass[] = L"RPGitemPreviewCanvas";
constexpr UINT_PTR kObfuscationTimer = 1;
// Widths grow in steps: typing in the widest line resizes the window seldom.
constexpr int kWidthStep = 32;
constexpr int kMinimumWidth = 160;

bool registerCanvasClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW existing{sizeof(existing)};
    if (GetClassInfoExW(instance, kCanvasClass, &existing)) return true;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kCanvasClass;
    return RegisterClassExW(&wc) != 0;
}

// The largest canvas: what the work area holds beside a window frame.
SIZE largestCanvas() {
    RECT work{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {std::max<LONG>(kMinimumWidth, (work.right - work.left) * 2 / 3),
            std::max<LONG>(100, work.bottom - work.top - 60)};
}

editor::PixelFont loadPreviewFont() {
    const std::vector<BYTE> packed = skin::resourceBytes(IDR_UNIFONT_GLYPHS);
    const auto bytes = skin::inflateZlib(packed);
    if (!bytes) return {};
    return editor::PixelFont::parse(*bytes).value_or(editor::PixelFont{});
}

}  // namespace

const editor::PixelFont& previewFont() {
    static const editor::PixelFont font = loadPreviewFont();
    return font;
}

PreviewCanvas::PreviewCanvas(HWND parent, int left, int top) : random_(GetTickCount()) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!registerCanvasClass(instance, windowProc)) return;
    hwnd_ =
        CreateWindowExW(0, kCanvasClass, L"", WS_CHILD | WS_VISIBLE, left, top, 0, 0, parent, nullptr, instance, this);
    setTexts({});
}

PreviewCanvas::~PreviewCanvas() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool PreviewCanvas::setTexts(const std::vector<std::string>& texts) {
    if (!hwnd_ || (texts == texts_ && !image_.pixels.empty())) return false;
    const editor::PixelFont& font = previewFont();
    std::vector<editor::TooltipLine> lines;
    lines.reserve(texts.size());
    std::vector<int> changed;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i < texts_.size() && texts_[i] == texts[i]) {
            lines.push_back(std::move(lines_[i]));
        } else {
            lines.push_back(editor::layoutTooltipLine(texts[i], font));
            changed.push_back(static_cast<int>(i));
        }
    }
    texts_ = texts;
    lines_ = std::move(lines);
    const editor::TooltipGeometry before = geometry_;
    geometry_ = editor::tooltipGeometry(lines_);
    const bool panelChanged = geometry_.gameWidth() != before.gameWidth() || geometry_.lineCount != before.lineCount;
    const SIZE largest = largestCanvas();
    const int width = std::min<int>(
        largest.cx, std::max(kMinimumWidth, (geometry_.imageWidth() + kWidthStep - 1) / kWidthStep * kWidthStep));
    const int height = std::min<int>(largest.cy, geometry_.imageHeight());
    const bool resized = width != image_.width || height != image_.height;
    if (resized || panelChanged) {
        // The panel itself changes: everything is painted again.
        if (resized) image_ = editor::PixelImage(width, height);
        SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        repaintRows(0, height);
    } else {
        for (int line : changed) repaintLine(line);
    }
    updateTimer();
    return resized;
}

void PreviewCanvas::repaintLine(int line) { repaintRows(geometry_.lineTop(line) - 2, geometry_.lineRowsEnd(line)); }

void PreviewCanvas::repaintRows(int from, int to) {
    from = std::max(from, 0);
    to = std::min(to, image_.height);
    if (from >= to) return;
    editor::paintTooltip(image_, lines_, geometry_, previewFont(), random_, kBackdrop, from, to);
    const RECT band{0, from, image_.width, to};
    InvalidateRect(hwnd_, &band, FALSE);
}

bool PreviewCanvas::anyObfuscated() const {
    return std::any_of(lines_.begin(), lines_.end(), [](const editor::TooltipLine& l) { return l.obfuscated; });
}

void PreviewCanvas::setAnimated(bool animated) {
    animated_ = animated;
    updateTimer();
}

void PreviewCanvas::updateTimer() {
    const bool wanted = animated_ && anyObfuscated();
    if (wanted == timerRunning_ || !hwnd_) return;
    timerRunning_ = wanted;
    if (wanted) {
        SetTimer(hwnd_, kObfuscationTimer, kObfuscationIntervalMs, nullptr);
    } else {
        KillTimer(hwnd_, kObfuscationTimer);
    }
}

void PreviewCanvas::onObfuscationTick() {
    if (!animated_ || !IsWindowVisible(hwnd_)) return;
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        if (lines_[i].obfuscated) repaintLine(i);
    }
    ++frames_;
}

void PreviewCanvas::paint() {
    const skin::PaintDC paint(hwnd_);
    const RECT& dirty = paint.dirty();
    const int from = std::clamp<int>(dirty.top, 0, image_.height);
    const int to = std::clamp<int>(dirty.bottom, 0, image_.height);
    if (from >= to) return;
    // Only the dirty rows go to the screen: a top-down bitmap of the band.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image_.width;
    info.bmiHeader.biHeight = -(to - from);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(paint.get(), 0, from, static_cast<DWORD>(image_.width), static_cast<DWORD>(to - from), 0, 0, 0,
                      static_cast<UINT>(to - from),
                      image_.pixels.data() + static_cast<size_t>(from) * static_cast<size_t>(image_.width), &info,
                      DIB_RGB_COLORS);
}

LRESULT CALLBACK PreviewCanvas::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<PreviewCanvas*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<PreviewCanvas*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT:
        self->paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // every pixel comes from the image
    case WM_TIMER:
        if (wParam == kObfuscationTimer) self->onObfuscationTick();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace ui
