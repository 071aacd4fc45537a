// List boxes, the drop-down lists of combo boxes, list views, tree views,
// IP-address and date-time controls: the system keeps drawing their content
// and scroll bars; the skin draws their border and, with the veil on, lays
// the veiled window surface behind the items of lists and trees.
#include <windows.h>

#include <commctrl.h>

#include <unordered_set>

#include "skin/control_borders.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/framed_controls.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

constexpr int kFramedHotKind = 4;

using FramePlace = ControlPlace<FrameEntry>;

// Framed controls with an arrow key held down: the pre-dispatch signal
// concerns only these.
std::unordered_set<HWND>& scrollingControls() {
    static std::unordered_set<HWND> controls;
    return controls;
}

HHOOK& preDispatchHook() {
    static HHOOK hook = nullptr;
    return hook;
}

enum class Content { ListBox, ListView, TreeView, OwnerDrawList, Other };

Content contentOf(HWND control) {
    const std::wstring kind = ClassNameOf(control);
    if (kind == L"ListBox") return IsOwnerDrawListBox(control) ? Content::OwnerDrawList : Content::ListBox;
    if (kind == WC_LISTVIEWW) return Content::ListView;
    if (kind == WC_TREEVIEWW) return Content::TreeView;
    return Content::Other;
}

// The skin draws a frame line only for a control with a border that is not
// a combo box's drop-down list.
bool skinDrawsBorder(HWND control) { return hasBorder(control) && ClassNameOf(control) != L"ComboLBox"; }

bool isHotFrame(const FramePlace& p) { return isHot(p, kFramedHotKind); }

// The border on the control's whole-window DC.
void paintFramedBorder(HWND control, bool focused, bool hot) {
    // Without a frame line the picture would be all colour key: nothing of
    // it would reach the screen.
    if (!skinDrawsBorder(control)) return;
    paintControlBorder(control, (hot || focused) ? argb(themeColour(), 200) : argb(0x00000000, 90), hot);
}

void paintCurrent(const FramePlace& p, HWND control) { paintFramedBorder(control, p.entry->focused, isHotFrame(p)); }

void setScrolling(const FramePlace& p, HWND control, bool scrolling) {
    p.entry->keyboardScrolling = scrolling;
    if (scrolling) {
        scrollingControls().insert(control);
    } else {
        scrollingControls().erase(control);
    }
}

void invalidateVisibleChildren(HWND control) {
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
    }
}

void layVeil(HDC dc, int w, int h) {
    Graphics g = graphicsOn(dc);
    Brush veil = solidBrush(argb(0x00FFFFFF, veilAlpha()));
    gp::GdipFillRectangleI(g.get(), veil.get(), 0, 0, w, h);
}

// The colour key written by GDI, as the controls' own drawing writes it (the
// key compares whole pixels: a GDI+ fill would differ in its alpha byte).
void fillColourKey(HDC dc, int w, int h) {
    GdiObject key(CreateSolidBrush(kColourKey));
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, key.brush());
}

// The two pictures a veiled paint works on: the control's own drawing, and the
// veiled background that drawing is keyed onto (the key is the background
// colour the control draws with meanwhile).
struct VeilPictures {
    explicit VeilPictures(HWND control)
        : client(clientRect(control)), area(VeiledArea(control)), drawn(control, area), veiled(control, area) {}
    explicit operator bool() const { return drawn.dc() && veiled.dc(); }
    void keyDrawingOntoVeil() const {
        layVeil(veiled.dc(), client.right, client.bottom);
        GdiTransparentBlt(veiled.dc(), 0, 0, client.right, client.bottom, drawn.dc(), 0, 0, client.right, client.bottom,
                       kColourKey);
    }
    static RECT clientRect(HWND control) {
        RECT r{};
        GetClientRect(control, &r);
        return r;
    }

    const RECT client;
    const RECT area;
    const CapturedBackground drawn;
    const CapturedBackground veiled;
};

// Lists and list views draw their items onto a colour-keyed picture, which
// is keyed onto the veiled background and copied to the screen in one go.
LRESULT paintListOverVeil(const FramePlace& p, HWND control, LPARAM lParam) {
    {
        const VeilPictures pictures(control);
        if (!pictures) return passOn(p, WM_PAINT, 0, lParam);
        const RECT& client = pictures.client;
        fillColourKey(pictures.drawn.dc(), client.right, client.bottom);
        const PaintDC paint(control);
        // Whatever state the control leaves on the picture's DC goes with it.
        const int saved = SaveDC(pictures.drawn.dc());
        setListPaintedOverVeil(control);
        passOn(p, WM_PAINT, reinterpret_cast<WPARAM>(pictures.drawn.dc()), 0);
        setListPaintedOverVeil(nullptr);
        RestoreDC(pictures.drawn.dc(), saved);
        pictures.keyDrawingOntoVeil();
        BitBlt(paint.get(), 0, 0, client.right, client.bottom, pictures.veiled.dc(), 0, 0, SRCCOPY);
    }
    invalidateVisibleChildren(control);
    return DefWindowProcW(control, WM_PAINT, 0, lParam);
}

// A tree view draws over its magenta background; the drawing is keyed onto
// the veiled background and copied around the tree's child windows.
LRESULT paintTreeOverVeil(const FramePlace& p, HWND control, LPARAM lParam) {
    {
        const VeilPictures pictures(control);
        if (!pictures) return passOn(p, WM_PAINT, 0, lParam);
        passOn(p, WM_PAINT, reinterpret_cast<WPARAM>(pictures.drawn.dc()), 0);
        pictures.keyDrawingOntoVeil();
        WindowDC dc(control);
        if (dc.get()) {
            POINT origin{0, 0};
            ClientToScreen(control, &origin);
            for (HWND child = FindWindowExW(control, nullptr, nullptr, nullptr); child;
                 child = FindWindowExW(control, child, nullptr, nullptr)) {
                RECT r;
                GetWindowRect(child, &r);
                OffsetRect(&r, -origin.x, -origin.y);
                ExcludeClipRect(dc.get(), r.left, r.top, r.right, r.bottom);
            }
            BitBlt(dc.get(), 0, 0, pictures.client.right, pictures.client.bottom, pictures.veiled.dc(), 0, 0, SRCCOPY);
        }
    }
    return DefWindowProcW(control, WM_PAINT, 0, lParam);
}

LRESULT onPaint(const FramePlace& p, HWND control, WPARAM wParam, LPARAM lParam) {
    paintCurrent(p, control);
    if (veilEnabled()) {
        switch (contentOf(control)) {
        case Content::ListBox:
        case Content::ListView:
            return paintListOverVeil(p, control, lParam);
        case Content::TreeView:
            return paintTreeOverVeil(p, control, lParam);
        default:
            break;
        }
    }
    return passOn(p, WM_PAINT, wParam, lParam);
}

LRESULT onEraseBackground(const FramePlace& p, HWND control, WPARAM wParam, LPARAM lParam) {
    const Content content = contentOf(control);
    if (!veilEnabled() || content == Content::OwnerDrawList) return passOn(p, WM_ERASEBKGND, wParam, lParam);
    auto dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    if (content != Content::Other) return 1;  // the background comes with WM_PAINT
    paintVeiledBackground(control, dc);
    return static_cast<LRESULT>(SetTextColor(dc, textColourOf(control)));
}

LRESULT onNcPaint(const FramePlace& p, HWND control, WPARAM wParam, LPARAM lParam) {
    // A control whose frame line the skin does not draw keeps the system's
    // non-client painting.
    if (!skinDrawsBorder(control)) return passOn(p, WM_NCPAINT, wParam, lParam);
    paintCurrent(p, control);
    return hasScrollBars(control) ? paintScrollBarsOnly(control, lParam) : 0;
}

void onFocus(const FramePlace& p, HWND control, bool focused) {
    p.entry->focused = focused;
    // A key released after the focus has gone is never seen here.
    if (!focused) setScrolling(p, control, false);
    paintCurrent(p, control);
}

void onKeyDown(const FramePlace& p, HWND control, WPARAM key) {
    if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) setScrolling(p, control, true);
}

void onKeyUp(const FramePlace& p, HWND control) {
    // Only a capture of this control's own is let go.
    if (GetCapture() == control) ReleaseCapture();
    setScrolling(p, control, false);
}

void onMouseOver(const FramePlace& p, HWND control, LPARAM) {
    if (!isHotFrame(p)) {
        p.entry->hot = true;
        paintFramedBorder(control, p.entry->focused, true);
        makeHot(p, kFramedHotKind);
    }
}

void onMouseLeave(const FramePlace& p, HWND control, LPARAM) {
    if (isHotFrame(p)) p.record->hotControl = 0;
    p.entry->hot = false;
    paintFramedBorder(control, p.entry->focused, false);
}

std::optional<LRESULT> onMessage(const FramePlace& p, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOVE:
        if (veilEnabled()) InvalidateRect(control, nullptr, TRUE);
        break;
    case WM_SETFOCUS:
        onFocus(p, control, true);
        break;
    case WM_KILLFOCUS:
        onFocus(p, control, false);
        break;
    case WM_PAINT:
        return onPaint(p, control, wParam, lParam);
    case WM_ERASEBKGND:
        return onEraseBackground(p, control, wParam, lParam);
    case WM_NCPAINT:
        return onNcPaint(p, control, wParam, lParam);
    case WM_KEYDOWN:
        onKeyDown(p, control, wParam);
        break;
    case WM_KEYUP:
        onKeyUp(p, control);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
        if (veilEnabled()) InvalidateRect(control, nullptr, TRUE);
        break;
    }
    return std::nullopt;
}

// The messages this procedure acts on; every other one goes straight on.
constexpr UINT kMessages[] = {WM_MOVE,    WM_SETFOCUS, WM_KILLFOCUS, WM_PAINT,   WM_ERASEBKGND, WM_NCPAINT,
                              WM_KEYDOWN, WM_KEYUP,    WM_HSCROLL,   WM_VSCROLL, WM_MOUSEWHEEL};

void onGone(HWND control) { scrollingControls().erase(control); }

LRESULT CALLBACK framedProcedure(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<FrameEntry, &WindowRecord::frameEntries, kMessages, onMessage, onMouseOver, onMouseLeave,
                            onGone>(framedProcedure, control, msg, wParam, lParam);
}

// Runs for every message a loop of this thread takes from its queue,
// before the loop dispatches it.
void registerFramed(int windowIndex, HWND control) {
    registerControl(windowIndex, control, &WindowRecord::frameEntries, framedProcedure);
}

LRESULT CALLBACK getMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && !scrollingControls().empty()) {
        if (const auto* msg = reinterpret_cast<const MSG*>(lParam)) {
            for (HWND w = msg->hwnd; w; w = GetParent(w)) {
                if (scrollingControls().count(w)) preDispatch(w);
            }
        }
    }
    return CallNextHookEx(preDispatchHook(), code, wParam, lParam);
}

// Combo boxes whose drop-down list draws its own items keep it unskinned.
constexpr LONG kComboOwnerDraw = CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE;

void registerComboList(int windowIndex, HWND combo) {
    if (GetWindowLongW(combo, GWL_STYLE) & kComboOwnerDraw) return;
    // The list of a drop-down combo box is a pop-up window, not a child:
    // the combo box names it.
    COMBOBOXINFO info{sizeof(info)};
    HWND list = GetComboBoxInfo(combo, &info) ? info.hwndList : nullptr;
    if (!list) list = FindWindowExW(combo, nullptr, L"ComboLBox", nullptr);
    if (list) registerFramed(windowIndex, list);
}

}  // namespace

void preDispatch(HWND target) {
    const FramePlace p = placeOf(target, framedProcedure, &WindowRecord::frameEntries);
    if (p && veilEnabled() && p.entry->keyboardScrolling) InvalidateRect(target, nullptr, FALSE);
}

void installPreDispatchHook() {
    if (preDispatchHook()) return;
    preDispatchHook() = SetWindowsHookExW(WH_GETMESSAGE, getMessageHook, nullptr, GetCurrentThreadId());
}

void removePreDispatchHook() {
    if (preDispatchHook()) UnhookWindowsHookEx(preDispatchHook());
    preDispatchHook() = nullptr;
    scrollingControls().clear();
}

void hookFramedControls(SkinEngine& engine, int windowIndex, HWND parent) {
    if (!engine.settings().skinChildren || !engine.record(windowIndex)) return;
    const bool veil = engine.settings().veilEnabled;
    forEachChildOfClass(parent, L"ListBox", [windowIndex](HWND list) { registerFramed(windowIndex, list); });
    forEachChildOfClass(parent, L"ComboBox", [windowIndex](HWND combo) { registerComboList(windowIndex, combo); });
    forEachChildOfClass(parent, WC_LISTVIEWW, [windowIndex, veil](HWND view) {
        if (GetWindowLongW(view, GWL_STYLE) & LVS_SORTASCENDING) return;
        if (veil) SendMessageW(view, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(CLR_NONE));
        registerFramed(windowIndex, view);
    });
    forEachChildOfClass(parent, WC_TREEVIEWW, [windowIndex, veil](HWND tree) {
        if (GetWindowLongW(tree, GWL_STYLE) & TVS_DISABLEDRAGDROP) return;
        if (veil) SendMessageW(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kColourKey));
        registerFramed(windowIndex, tree);
    });
    forEachChildOfClass(parent, WC_IPADDRESSW, [windowIndex](HWND ip) { registerFramed(windowIndex, ip); });
    forEachChildOfClass(parent, DATETIMEPICK_CLASSW,
                        [windowIndex](HWND picker) { registerFramed(windowIndex, picker); });
}

}  // namespace skin
