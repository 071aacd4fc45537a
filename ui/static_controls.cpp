#include "ui/static_controls.h"

#include "skin/gdiplus_owners.h"
#include "skin/handle_owners.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"
#include "ui/win_text.h"

namespace ui {

namespace {

// Each window of these classes keeps its state behind GWLP_USERDATA, made
// when the window is made and deleted when it goes.
template <class State>
State* stateOf(HWND hwnd) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

template <class State>
void keepState(HWND hwnd, UINT msg) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new State));
    } else if (msg == WM_NCDESTROY) {
        delete stateOf<State>(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
}

struct LabelState {
    HFONT font = nullptr;
    COLORREF colour = RGB(0, 0, 0);
};

LabelState* labelState(HWND hwnd) { return stateOf<LabelState>(hwnd); }

void paintLabel(HWND hwnd) {
    skin::PaintDC paint(hwnd);
    const LabelState* state = labelState(hwnd);
    if (!state) return;
    RECT rc;
    GetClientRect(hwnd, &rc);
    const std::wstring text = windowTextW(hwnd);
    skin::Selection font(paint.get(), state->font ? state->font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(paint.get(), TRANSPARENT);
    SetTextColor(paint.get(), state->colour);
    const bool multiLine = text.find(L'\n') != std::wstring::npos;
    const UINT format = multiLine ? DT_WORDBREAK | DT_NOPREFIX : DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    DrawTextW(paint.get(), text.c_str(), static_cast<int>(text.size()), &rc, format);
}

LRESULT CALLBACK labelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    keepState<LabelState>(hwnd, msg);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // no background: whatever lies beneath shows through
    case WM_PAINT:
        paintLabel(hwnd);
        return 0;
    case WM_SETFONT:
        if (auto* state = labelState(hwnd)) state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        if (auto* state = labelState(hwnd)) return reinterpret_cast<LRESULT>(state->font);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        // The old text lies in the parent's pixels: have the parent repaint.
        RECT rc;
        GetWindowRect(hwnd, &rc);
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
        InvalidateRect(GetParent(hwnd), &rc, TRUE);
        return result;
    }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The picture is decoded when first needed (painted or measured): a picture
// box hidden at start costs no decoding then.
struct PictureState {
    int resourceId = 0;
    bool decoded = false;
    skin::Picture picture;

    // Null when the resource is missing or not a picture.
    const skin::Picture* decodedPicture() {
        if (!decoded) {
            picture = skin::pictureFrom(skin::resourceBytes(resourceId));
            decoded = true;
        }
        return picture.decoded ? &picture : nullptr;
    }
};

PictureState* pictureState(HWND hwnd) { return stateOf<PictureState>(hwnd); }

bool resourceExists(int resourceId) {
    return FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), RT_RCDATA) != nullptr;
}

void paintPicture(HWND hwnd) {
    skin::PaintDC paint(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(paint.get(), &rc, GetSysColorBrush(COLOR_BTNFACE));
    PictureState* state = pictureState(hwnd);
    const skin::Picture* picture = state ? state->decodedPicture() : nullptr;
    if (!picture) return;
    skin::Graphics graphics = skin::graphicsOn(paint.get());
    // Explicit size: the natural pixel size, whatever resolution the file states.
    skin::gp::GdipDrawImageRectI(graphics.get(), picture->decoded.image(), 0, 0, picture->width, picture->height);
}

LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    keepState<PictureState>(hwnd, msg);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // the paint fills the whole box
    case WM_PAINT:
        paintPicture(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool registerStaticControlClasses(HINSTANCE instance) {
    WNDCLASSEXW label{sizeof(label)};
    label.lpfnWndProc = labelProc;
    label.hInstance = instance;
    label.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    label.lpszClassName = kLabelClass;
    WNDCLASSEXW picture = label;
    picture.lpfnWndProc = pictureProc;
    picture.lpszClassName = kPictureClass;
    WNDCLASSEXW existing{sizeof(existing)};
    const bool haveLabel = GetClassInfoExW(instance, kLabelClass, &existing) || RegisterClassExW(&label);
    const bool havePicture = GetClassInfoExW(instance, kPictureClass, &existing) || RegisterClassExW(&picture);
    return haveLabel && havePicture;
}

void setLabelColour(HWND label, COLORREF colour) {
    if (auto* state = labelState(label)) state->colour = colour;
    InvalidateRect(label, nullptr, FALSE);
}

bool setPictureResource(HWND pictureBox, int resourceId) {
    auto* state = pictureState(pictureBox);
    if (!state) return false;
    state->resourceId = resourceId;
    state->decoded = false;
    state->picture = {};
    InvalidateRect(pictureBox, nullptr, FALSE);
    return resourceExists(resourceId);
}

SIZE pictureSize(HWND pictureBox) {
    auto* state = pictureState(pictureBox);
    const skin::Picture* picture = state ? state->decodedPicture() : nullptr;
    if (!picture) return {0, 0};
    return {picture->width, picture->height};
}

}  // namespace ui
