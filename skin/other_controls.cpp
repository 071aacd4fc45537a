// Other common controls (month calendars, tab controls, toolbars, status
// bars, rich edit boxes and the like) laid over the skin's backdrop, and the
// small operations on single controls: text colour, base colour, docking.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cwchar>

#include "skin/control_fonts.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/other_controls.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"

namespace skin {

namespace {

using CommonPlace = ControlPlace<CommonEntry>;

// Registered with the common controls' own property names.
constexpr ControlKeys kCommonKeys{kPropCommonOwner, kPropCommonIndex, kPropCommonProc};

// Classes that paint themselves into the DC handed to them in WM_PAINT.
bool paintsIntoGivenDC(const std::wstring& name) {
    static const std::array<const wchar_t*, 6> classes{MONTHCAL_CLASSW,  WC_TABCONTROLW, TOOLBARCLASSNAMEW,
                                                       STATUSCLASSNAMEW, L"Button",      TRACKBAR_CLASSW};
    for (const wchar_t* c : classes) {
        if (name == c) return true;
    }
    return false;
}

bool isRichEdit(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 31);
    return wcsncmp(name, L"RichEdit20", 10) == 0;
}

// A page of a control: a plain child window holding controls of its own.
bool isPage(HWND child) {
    if (!FindWindowExW(child, nullptr, nullptr, nullptr)) return false;
    const std::wstring name = ClassNameOf(child);
    static const std::array<const wchar_t*, 6> controls{L"ComboBox",  WC_LISTVIEWW,         UPDOWN_CLASSW,
                                                        WC_TREEVIEWW, L"SysDateTimePick32", L"SysIPAddress32"};
    for (const wchar_t* c : controls) {
        if (name == c) return false;
    }
    return true;
}

HDC veiledCapture(HWND control, const RECT& client, int veilAlpha) {
    HDC capture = CaptureBackground(control, client);
    if (!capture) return nullptr;
    Graphics g = graphicsOn(capture);
    Brush veil = solidBrush(argb(0x00FFFFFF, veilAlpha));
    gp::GdipFillRectangleI(g.get(), veil.get(), 0, 0, client.right, client.bottom);
    return capture;
}

// The control paints into a capture of its plain backdrop; its drawing,
// less its background colour, is laid over the veiled backdrop.
LRESULT paintOverVeil(SkinEngine& engine, HWND control, const CommonEntry& e, LPARAM lParam) {
    RECT client;
    GetClientRect(control, &client);
    const int w = client.right, h = client.bottom;
    HDC plain = CaptureBackground(control, client);
    const PaintDC paint(control);
    HDC paintDC = paint.get();
    const LRESULT result = CallWindowProcW(e.previous, control, WM_PAINT, reinterpret_cast<WPARAM>(plain), lParam);
    HDC veiled = veiledCapture(control, client, engine.settings().veilAlpha);
    if (plain && veiled && w > 0 && h > 0) {
        GdiTransparentBlt(veiled, 0, 0, w, h, plain, 0, 0, w, h, e.keyColour);
        BitBlt(paintDC, 0, 0, w, h, veiled, 0, 0, SRCCOPY);
    }
    ReleaseBackground(veiled);
    ReleaseBackground(plain);
    return result;
}

// A control that paints on its own DC: what it drew in the update area,
// less its background colour, is laid over the plain backdrop.
LRESULT paintOverBackdrop(HWND control, const CommonEntry& e, LPARAM lParam) {
    RECT update{};
    GetUpdateRect(control, &update, FALSE);
    const int rw = update.right - update.left, rh = update.bottom - update.top;
    if (rw <= 0 || rh <= 0) return CallWindowProcW(e.previous, control, WM_PAINT, 0, lParam);
    WindowDC dc(control);
    HDC capture = CaptureBackground(control, update);
    const LRESULT result = CallWindowProcW(e.previous, control, WM_PAINT, reinterpret_cast<WPARAM>(capture), lParam);
    if (capture && dc.get()) {
        GdiTransparentBlt(capture, 0, 0, rw, rh, dc.get(), update.left, update.top, rw, rh, e.keyColour);
        BitBlt(dc.get(), update.left, update.top, rw, rh, capture, 0, 0, SRCCOPY);
    }
    ReleaseBackground(capture);
    for (HWND child = FindWindowExW(control, nullptr, nullptr, nullptr); child;
         child = FindWindowExW(control, child, nullptr, nullptr)) {
        if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
    }
    return result;
}

LRESULT onPaint(const CommonPlace& p, HWND control, WPARAM wParam, LPARAM lParam) {
    SkinEngine& engine = *p.engine;
    const CommonEntry& e = *p.entry;
    if (!engine.settings().skinChildren) return passOn(p, WM_PAINT, wParam, lParam);
    ++paintCounts().other;
    if (paintsIntoGivenDC(ClassNameOf(control))) return paintOverVeil(engine, control, e, lParam);
    return paintOverBackdrop(control, e, lParam);
}

// The messages this procedure acts on; every other one goes straight on.
constexpr UINT kMessages[] = {WM_PAINT, WM_ERASEBKGND, WM_MOVE, WM_HSCROLL, WM_VSCROLL};

std::optional<LRESULT> onMessage(const CommonPlace& p, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    const SkinSettings& s = p.engine->settings();
    switch (msg) {
    case WM_PAINT:
        return onPaint(p, control, wParam, lParam);
    case WM_ERASEBKGND:
        if (!s.veilEnabled) break;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_MOVE:
        if (s.veilEnabled) InvalidateRect(control, nullptr, FALSE);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (isRichEdit(control)) InvalidateRect(control, nullptr, FALSE);
        break;
    }
    return std::nullopt;
}

}  // namespace

LRESULT CALLBACK OtherControlProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return controlProcedure<CommonEntry, &WindowRecord::commonEntries, kMessages, onMessage>(OtherControlProc, control,
                                                                                             msg, wParam, lParam);
}

int SkinEngine::SkinOtherControl(HWND control, std::optional<COLORREF> keyColour, COLORREF tintColour, int tintAlpha) {
    if (!control || !IsWindow(control)) return 0;
    const int i = skinnedOwnerOf(*this, control);
    WindowRecord* r = record(i);
    // A control already laid over the skin keeps its one subclass.
    CommonEntry* e =
        r ? registerControl(i, control, &WindowRecord::commonEntries, OtherControlProc, kCommonKeys) : nullptr;
    if (!e) return 0;
    e->keyColour = keyColour.value_or(GetSysColor(COLOR_BTNFACE));
    if (!FindWindowExW(control, nullptr, nullptr, nullptr)) return 0;
    // Its children are skinned through it; pages (plain child windows that
    // hold controls, as a tab control's) are containers of their own, so
    // that the controls on them are skinned too.
    const int container = SkinContainer(control, false, tintColour, tintAlpha);
    for (HWND child = FindWindowExW(control, nullptr, nullptr, nullptr); child;
         child = FindWindowExW(control, child, nullptr, nullptr)) {
        if (isPage(child)) SkinContainer(child, true, tintColour, tintAlpha);
    }
    return container;
}

void SkinEngine::LayoutDockedChildren(int windowIndex) {
    // Docked children are listed per container, and no operation fills
    // those lists yet: there is nothing to move.
    (void)windowIndex;
}

void SkinEngine::SetControlTextColour(HWND control, COLORREF colour) {
    if (!control || !skinnedOwnerOf(*this, control)) return;
    HWND target = control;
    // A combo box shows its text in its edit part.
    if (ClassNameOf(control) == L"ComboBox") {
        if (HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr)) target = edit;
    }
    SetPropW(target, kPropTextColour, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(colour)));
    textColours_[target] = {GetAncestor(target, GA_ROOT), colour};
    InvalidateRect(target, nullptr, TRUE);
}

std::optional<COLORREF> SkinEngine::chosenTextColour(HWND control) const {
    const auto found = textColours_.find(control);
    if (found == textColours_.end()) return std::nullopt;
    return found->second.colour;
}

COLORREF SkinEngine::GetBaseColour() const { return settings_.baseColour; }

}  // namespace skin
