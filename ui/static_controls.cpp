#include "ui/static_controls.h"

#include <algorithm>
#include <string>

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
    // The font the text is drawn in, chosen for the text and width it was
    // chosen for: the label's own font where the text fits, else `fitted`,
    // that font narrowed until the text fits. WM_SETFONT chooses again.
    skin::GdiFont fitted;
    HFONT chosen = nullptr;
    std::wstring chosenText;
    int chosenWidth = 0;
};

LabelState* labelState(HWND hwnd) { return stateOf<LabelState>(hwnd); }

// An "&" marks a mnemonic, as in every label of the platform ("&&" is one
// "&"); the mark is not underlined.
UINT labelFormat(const std::wstring& text) {
    return text.find(L'\n') != std::wstring::npos ? DT_WORDBREAK | DT_HIDEPREFIX
                                                  : DT_SINGLELINE | DT_VCENTER | DT_HIDEPREFIX;
}

int textWidth(HDC dc, HFONT font, const std::wstring& text) {
    const skin::Selection selected(dc, font);
    RECT need{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need, labelFormat(text) | DT_CALCRECT);
    return need.right;
}

void paintLabel(HWND hwnd) {
    skin::PaintDC paint(hwnd);
    const LabelState* state = labelState(hwnd);
    if (!state) return;
    RECT rc;
    GetClientRect(hwnd, &rc);
    const std::wstring text = windowTextW(hwnd);
    skin::Selection font(paint.get(), labelDrawingFont(hwnd));
    SetBkMode(paint.get(), TRANSPARENT);
    SetTextColor(paint.get(), state->colour);
    DrawTextW(paint.get(), text.c_str(), static_cast<int>(text.size()), &rc, labelFormat(text));
}

LRESULT CALLBACK labelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    keepState<LabelState>(hwnd, msg);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // no background: whatever lies beneath shows through
    case WM_PAINT:
        if (skin::SkinEngine* engine = skin::SkinEngine::current()) engine->PaintContainersBeneath(hwnd);
        paintLabel(hwnd);
        return 0;
    case WM_SETFONT:
        if (auto* state = labelState(hwnd)) {
            state->font = reinterpret_cast<HFONT>(wParam);
            state->chosen = nullptr;
        }
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

HFONT labelDrawingFont(HWND label) {
    LabelState* state = labelState(label);
    if (!state) return nullptr;
    const HFONT font = state->font ? state->font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring text = windowTextW(label);
    RECT rc;
    GetClientRect(label, &rc);
    if (text.find(L'\n') != std::wstring::npos || rc.right <= 0) return font;
    // Measured once per text and width: a measure takes a DC and a layout.
    if (state->chosen && state->chosenText == text && state->chosenWidth == rc.right) return state->chosen;
    state->chosenText = text;
    state->chosenWidth = rc.right;
    state->chosen = font;
    state->fitted.reset();
    const skin::WindowDC dc(label);
    const int need = textWidth(dc.get(), font, text);
    if (need <= rc.right) return font;
    // A face wider than the one the layout was made with (a substitute
    // font): the same face, as high, its characters narrowed until the text
    // fits its place.
    LOGFONTW shape{};
    GetObjectW(font, sizeof shape, &shape);
    TEXTMETRICW metrics{};
    {
        const skin::Selection selected(dc.get(), font);
        GetTextMetricsW(dc.get(), &metrics);
    }
    if (shape.lfHeight == 0) shape.lfHeight = -(metrics.tmHeight - metrics.tmInternalLeading);
    for (int width = std::max(1L, metrics.tmAveCharWidth * rc.right / need); width >= 1; --width) {
        shape.lfWidth = width;
        state->fitted.reset(CreateFontIndirectW(&shape));
        if (!state->fitted || textWidth(dc.get(), state->fitted.get(), text) <= rc.right) break;
    }
    if (state->fitted) state->chosen = state->fitted.get();
    return state->chosen;
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
