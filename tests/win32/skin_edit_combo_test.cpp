// Skinned edit boxes and combo boxes on a test window: border pixels while
// hot, focused and resting, the veiled background and when it is laid
// again, the combo box painter, registration, and leaks over many cycles.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "skin/buttons.h"
#include "skin/combo_boxes.h"
#include "skin/containers.h"
#include "skin/control_borders.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/edit_boxes.h"
#include "skin/framed_controls.h"
#include "skin/headers.h"
#include "skin/other_controls.h"
#include "skin/painting_kit.h"
#include "skin/track_bars.h"
#include "skin/up_downs.h"
#include "tests/win32/skin_veil_fixture.h"

namespace {

using skin_test::SkinControlTest;

class EditBoxTest : public SkinControlTest {};
class ComboBoxTest : public SkinControlTest {};

bool updatePending(HWND hwnd, RECT* area = nullptr) {
    RECT r{};
    const bool pending = GetUpdateRect(hwnd, &r, FALSE) != 0;
    if (area) *area = r;
    return pending;
}

bool wholeClientPending(HWND hwnd) {
    RECT pending, client;
    GetClientRect(hwnd, &client);
    return updatePending(hwnd, &pending) && EqualRect(&pending, &client);
}

TEST_F(EditBoxTest, HotBorderIsTwoThemePixelsAndLeavingGoesBackToOne) {
    struct Case {
        bool focused;
        bool outerThemedAfterLeave;
    };
    for (const Case c : {Case{false, false}, Case{true, true}}) {
        SCOPED_TRACE(c.focused ? "focused" : "not focused");
        HWND hwnd = createWindow();
        HWND edit = addControl(hwnd, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 40, 60, 160, 24, L"边框");
        HWND other = addControl(hwnd, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 40, 120, 160, 24);
        const int i = attach(hwnd);
        ASSERT_GT(i, 0);
        SetFocus(c.focused ? edit : other);
        pumpMessages();
        ASSERT_EQ(GetFocus(), c.focused ? edit : other);
        const int y = windowSize(edit).cy / 2;
        const COLORREF ring = windowPixel(edit, 1, y);

        SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(rec(i).hotKind, 1);
        EXPECT_EQ(rec(i).hotControl, skin::indexProperty(edit, skin::kPropIndex));
        EXPECT_EQ(rec(i).hotEditParent, hwnd);
        EXPECT_TRUE(themed(windowPixel(edit, 0, y))) << std::hex << windowPixel(edit, 0, y);
        EXPECT_TRUE(themed(windowPixel(edit, 1, y))) << std::hex << windowPixel(edit, 1, y);
        EXPECT_TRUE(themed(windowPixel(edit, windowSize(edit).cx - 1, y)));

        SendMessageW(edit, WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(rec(i).hotControl, 0);
        const COLORREF outer = windowPixel(edit, 0, y);
        const COLORREF inner = windowPixel(edit, 1, y);
        EXPECT_EQ(themed(outer), c.outerThemedAfterLeave) << std::hex << outer;
        EXPECT_FALSE(themed(inner)) << "one pixel only: " << std::hex << inner;
        if (!c.focused) {
            EXPECT_LT(brightness(outer), brightness(inner)) << "a dark line";
        }
        EXPECT_TRUE(similar(inner, ring, 6)) << "the ring is the veiled surface again";
        DestroyWindow(hwnd);
        pumpMessages();
    }
}

TEST_F(EditBoxTest, TheRingIsTheVeiledSurfaceAndTheTextAreaIsTheControls) {
    HWND hwnd = createWindow();
    HWND edit = addControl(hwnd, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 40, 60, 160, 24, L"文字");
    attach(hwnd);
    const int y = windowSize(edit).cy / 2;
    EXPECT_TRUE(similar(windowPixel(edit, 1, y), veiled(surfaceUnder(edit, 1, y))))
        << std::hex << windowPixel(edit, 1, y) << " " << surfaceUnder(edit, 1, y);
}

TEST_F(EditBoxTest, KeyPressRelaysTheVeilOnlyWithoutScrollBars) {
    struct Case {
        DWORD style;
        bool relaid;
    };
    HWND hwnd = createWindow();
    const Case cases[] = {{ES_AUTOHSCROLL, true},
                          {ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, false},
                          {ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL, false}};
    std::vector<HWND> edits;
    int y = 40;
    for (const Case& c : cases) {
        edits.push_back(addControl(hwnd, L"EDIT", c.style, WS_EX_CLIENTEDGE, 40, y, 200, 60));
        y += 70;
    }
    attach(hwnd);
    for (size_t n = 0; n < edits.size(); ++n) {
        SCOPED_TRACE(n);
        ValidateRect(edits[n], nullptr);
        SendMessageW(edits[n], WM_KEYDOWN, VK_SHIFT, 1);
        EXPECT_EQ(wholeClientPending(edits[n]), cases[n].relaid);
        SendMessageW(edits[n], WM_KEYUP, VK_SHIFT, 0xC0000001);
        // Scrolling re-lays it whatever the style.
        ValidateRect(edits[n], nullptr);
        SendMessageW(edits[n], WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_TRUE(updatePending(edits[n]));
    }
}

TEST_F(EditBoxTest, SelectingWithTheMouseRelaysTheVeilOnlyWithoutScrollBars) {
    struct Case {
        DWORD style;
        bool relaid;
    };
    const Case cases[] = {{ES_AUTOHSCROLL, true}, {ES_MULTILINE | WS_VSCROLL, false}};
    HWND hwnd = createWindow();
    std::vector<HWND> edits;
    for (const Case& c : cases) {
        edits.push_back(addControl(hwnd, L"EDIT", c.style, WS_EX_CLIENTEDGE, 40,
                                   40 + 80 * static_cast<int>(edits.size()), 200, 60, L"选择这些文字"));
    }
    attach(hwnd);
    for (size_t n = 0; n < edits.size(); ++n) {
        SCOPED_TRACE(n);
        HWND edit = edits[n];
        ValidateRect(edit, nullptr);
        SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(wholeClientPending(edit), cases[n].relaid) << "press";
        pumpMessages();
        ValidateRect(edit, nullptr);
        SendMessageW(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 5));
        EXPECT_EQ(wholeClientPending(edit), cases[n].relaid) << "drag";
        SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(40, 5));
        pumpMessages();
        ValidateRect(edit, nullptr);
        SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(41, 5));
        EXPECT_FALSE(wholeClientPending(edit)) << "moving without the button";
        // Moving the control re-lays it as well.
        ValidateRect(edit, nullptr);
        RECT r;
        GetWindowRect(edit, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(edit, nullptr, r.left + 1, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(wholeClientPending(edit)) << "moved";
        pumpMessages();
    }
}

TEST_F(EditBoxTest, EraseLaysTheVeilOnlyWithTheVeilOn) {
    struct Case {
        bool veil;
    };
    for (const Case c : {Case{true}, Case{false}}) {
        SCOPED_TRACE(c.veil ? "veil on" : "veil off");
        engine_->SetOptions(true, c.veil ? std::optional<int>(100) : std::nullopt);
        HWND hwnd = createWindow();
        HWND edit = addControl(hwnd, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 40, 60, 160, 24);
        attach(hwnd);
        RECT client;
        GetClientRect(edit, &client);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(memory, &client, magenta);
        SendMessageW(edit, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
        const COLORREF after = GetPixel(memory, client.right / 2, client.bottom / 2);
        if (c.veil) {
            POINT at{client.right / 2, client.bottom / 2};
            EXPECT_TRUE(similar(after, veiled(surfaceUnder(edit, at.x + 2, at.y + 2)))) << std::hex << after;
        } else {
            EXPECT_EQ(after, RGB(255, 0, 255)) << "left to the control";
        }
        // WM_CTLCOLOREDIT: the veiled pattern brush, or the window's own answer.
        HDC dc = GetDC(edit);
        const auto brush =
            SendMessageW(hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
        ReleaseDC(edit, dc);
        EXPECT_EQ(GetPropW(edit, skin::kPropBrush) == reinterpret_cast<HANDLE>(brush), c.veil);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteObject(magenta);
        DeleteDC(memory);
        DestroyWindow(hwnd);
        pumpMessages();
    }
}

TEST_F(EditBoxTest, ScrollBarsStayTheSystemsAndTheBorderTheSkins) {
    HWND hwnd = createWindow();
    HWND edit = addControl(hwnd, L"EDIT", ES_MULTILINE | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, 40, 40, 200, 120);
    attach(hwnd);
    SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageW(edit, WM_NCPAINT, 1, 0);
    const SIZE size = windowSize(edit);
    EXPECT_TRUE(themed(windowPixel(edit, 0, size.cy / 2))) << "the non-client paint keeps the skin's border";
    SCROLLBARINFO bar{sizeof(bar)};
    ASSERT_TRUE(GetScrollBarInfo(edit, OBJID_VSCROLL, &bar));
    RECT window;
    GetWindowRect(edit, &window);
    const COLORREF scroll = windowPixel(edit, (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2 - window.left,
                                        (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2 - window.top);
    EXPECT_FALSE(similar(scroll, veiled(surfaceUnder(edit, 0, 0)), 10))
        << "drawn by the system: " << std::hex << scroll;
    const COLORREF corner = windowPixel(edit, size.cx - 4, size.cy - 4);
    EXPECT_NE(corner, RGB(0, 0, 0)) << "the square between the bars is painted";
}

// Ink (dark pixels) of the text area of a combo box's window.
struct Ink {
    int count = 0, top = 1000, bottom = -1, left = 1000;
};
Ink inkIn(HWND combo, int x0, int x1) {
    Ink ink;
    RECT window;
    GetWindowRect(combo, &window);
    HDC dc = GetWindowDC(combo);
    for (int y = 2; y < window.bottom - window.top - 2; ++y) {
        for (int x = x0; x < x1; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if ((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3 < 90) {
                ++ink.count;
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ink.left = std::min(ink.left, x);
            }
        }
    }
    ReleaseDC(combo, dc);
    return ink;
}

TEST_F(ComboBoxTest, DropButtonWidthFollowsTheStyle) {
    struct Case {
        DWORD style;
        int buttonWidth;
    };
    for (const Case c : {Case{CBS_DROPDOWNLIST, 17}, Case{CBS_DROPDOWN, 18}}) {
        SCOPED_TRACE(c.buttonWidth);
        HWND hwnd = createWindow();
        HWND combo = addControl(hwnd, L"COMBOBOX", c.style | WS_VSCROLL, 0, 40, 60, 180, 200);
        attach(hwnd);
        const SIZE size = windowSize(combo);
        const int left = size.cx - c.buttonWidth - 2;
        skin::PaintComboBox(combo, true, false);
        const int y = size.cy / 2;
        EXPECT_TRUE(themed(windowPixel(combo, left, y))) << "the hot button's outline";
        EXPECT_FALSE(themed(windowPixel(combo, left - 1, y)));
        EXPECT_TRUE(themed(windowPixel(combo, left + c.buttonWidth - 1, y)));
        EXPECT_TRUE(themed(windowPixel(combo, 0, y))) << "the hot frame";
        DestroyWindow(hwnd);
        pumpMessages();
    }
}

TEST_F(ComboBoxTest, DropDownListDrawsItsSelectedTextInSongTiTwelve) {
    HWND hwnd = createWindow();
    HWND combo = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0, 40, 60, 180, 200);
    // A large font of the control's own: the skin does not use it.
    HFONT big = CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"中文项"));
    attach(hwnd);
    const SIZE size = windowSize(combo);
    skin::PaintComboBox(combo, false, false);
    EXPECT_EQ(inkIn(combo, 2, size.cx - 20).count, 0) << "nothing selected, no text";
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    skin::PaintComboBox(combo, false, false);
    const Ink ink = inkIn(combo, 2, size.cx - 20);
    EXPECT_GT(ink.count, 20);
    EXPECT_GE(ink.left, 2);
    EXPECT_LE(ink.bottom - ink.top + 1, 17) << "12 points, not the control's 30-pixel font";
    EXPECT_GE(ink.bottom - ink.top + 1, 8);
    DestroyWindow(hwnd);
    DeleteObject(big);
    pumpMessages();
}

TEST_F(ComboBoxTest, DropDownComboLeavesItsEditPartUntouched) {
    HWND hwnd = createWindow();
    HWND combo = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL, 0, 40, 60, 180, 200);
    attach(hwnd);
    HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(edit);
    RECT editRect, comboRect;
    GetWindowRect(edit, &editRect);
    GetWindowRect(combo, &comboRect);
    HDC dc = GetDC(edit);
    RECT client;
    GetClientRect(edit, &client);
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    FillRect(dc, &client, green);
    ReleaseDC(edit, dc);
    DeleteObject(green);
    skin::PaintComboBox(combo, true, true);
    const int x = (editRect.left + editRect.right) / 2 - comboRect.left;
    const int y = (editRect.top + editRect.bottom) / 2 - comboRect.top;
    EXPECT_EQ(windowPixel(combo, x, y), RGB(0, 200, 0));
    EXPECT_TRUE(themed(windowPixel(combo, 0, y))) << "the frame around it is the skin's";
}

TEST_F(ComboBoxTest, EditPartIsSkinnedOnlyWithTheVeil) {
    for (const bool veil : {true, false}) {
        SCOPED_TRACE(veil);
        engine_->SetOptions(true, veil ? std::optional<int>(100) : std::nullopt);
        HWND hwnd = createWindow();
        HWND combo = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWN, 0, 40, 60, 180, 200);
        const int i = attach(hwnd);
        HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
        ASSERT_EQ(rec(i).comboEntries.size(), 1u);
        EXPECT_EQ(rec(i).comboEntries[0].hwnd, combo);
        EXPECT_EQ(skin::isListed(rec(i).editEntries, edit), veil);
        EXPECT_EQ(GetPropW(edit, skin::kPropPreviousProc) != nullptr, veil);
        DestroyWindow(hwnd);
        pumpMessages();
    }
}

TEST_F(ComboBoxTest, TypingInTheEditPartRelaysItsBackground) {
    HWND hwnd = createWindow();
    HWND combo = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 40, 60, 180, 200);
    attach(hwnd);
    HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(edit);
    // The notification alone re-lays the whole edit part.
    ValidateRect(edit, nullptr);
    SendMessageW(combo, WM_COMMAND, MAKEWPARAM(1001, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
    EXPECT_TRUE(wholeClientPending(edit));
    // Typing sends it.
    pumpMessages();
    ValidateRect(edit, nullptr);
    SendMessageW(edit, WM_CHAR, L'字', 1);
    EXPECT_TRUE(wholeClientPending(edit));
    pumpMessages();
    wchar_t text[16] = {};
    GetWindowTextW(combo, text, 16);
    EXPECT_EQ(std::wstring(text), L"字") << "the text reads back through the skinned procedures";
    // The edit part's colour answer is the veiled brush, kept on the edit part.
    HDC dc = GetDC(edit);
    const auto brush =
        SendMessageW(combo, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    ReleaseDC(edit, dc);
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetPropW(edit, skin::kPropBrush), reinterpret_cast<HANDLE>(brush));
}

TEST_F(ComboBoxTest, HoverLightsFrameAndButtonFocusOnlyTheFrame) {
    struct Case {
        const char* name;
        bool hover;
        bool focus;
        bool frameThemed;
        bool buttonThemed;
    };
    const Case cases[] = {
        {"resting", false, false, false, false},
        {"hover", true, false, true, true},
        {"focus", false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hwnd = createWindow();
        HWND combo = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWNLIST, 0, 40, 60, 180, 200);
        HWND other = addControl(hwnd, L"EDIT", 0, WS_EX_CLIENTEDGE, 40, 150, 100, 24);
        const int i = attach(hwnd);
        SetFocus(c.focus ? combo : other);
        pumpMessages();
        if (c.hover) {
            SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            EXPECT_EQ(rec(i).hotKind, 3);
        } else {
            SendMessageW(combo, WM_PAINT, 0, 0);
            RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        const SIZE size = windowSize(combo);
        const int y = size.cy / 2;
        EXPECT_EQ(themed(windowPixel(combo, 0, y)), c.frameThemed) << std::hex << windowPixel(combo, 0, y);
        EXPECT_EQ(themed(windowPixel(combo, size.cx - 19, y)), c.buttonThemed)
            << std::hex << windowPixel(combo, size.cx - 19, y);
        if (c.hover) {
            SendMessageW(combo, WM_MOUSELEAVE, 0, 0);
            EXPECT_FALSE(themed(windowPixel(combo, size.cx - 19, y))) << "left: the button rests";
            EXPECT_EQ(rec(i).hotControl, 0);
        }
        DestroyWindow(hwnd);
        pumpMessages();
    }
}

TEST_F(ComboBoxTest, NoControlIsHookedTwice) {
    HWND hwnd = createWindow();
    HWND edit = addControl(hwnd, L"EDIT", 0, WS_EX_CLIENTEDGE, 20, 40, 100, 24);
    HWND combo = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWN, 0, 20, 80, 150, 200);
    HWND list = addControl(hwnd, L"LISTBOX", LBS_NOTIFY, WS_EX_CLIENTEDGE, 200, 40, 120, 100);
    const int i = attach(hwnd);
    const size_t edits = rec(i).editEntries.size(), combos = rec(i).comboEntries.size(),
                 frames = rec(i).frameEntries.size();
    EXPECT_EQ(edits, 2u) << "the edit box and the combo box's edit part";
    EXPECT_EQ(combos, 1u);
    EXPECT_EQ(frames, 2u) << "the list box and the combo box's drop-down list";
    const LONG_PTR procedures[] = {GetWindowLongPtrW(edit, GWLP_WNDPROC), GetWindowLongPtrW(combo, GWLP_WNDPROC),
                                   GetWindowLongPtrW(list, GWLP_WNDPROC)};
    const HANDLE previous[] = {GetPropW(edit, skin::kPropPreviousProc), GetPropW(combo, skin::kPropPreviousProc),
                               GetPropW(list, skin::kPropPreviousProc)};
    skin::runControlHooks(*engine_, i, hwnd);
    EXPECT_FALSE(engine_->AttachWindow(hwnd, 25));
    EXPECT_EQ(rec(i).editEntries.size(), edits);
    EXPECT_EQ(rec(i).comboEntries.size(), combos);
    EXPECT_EQ(rec(i).frameEntries.size(), frames);
    const HWND controls[] = {edit, combo, list};
    for (size_t n = 0; n < 3; ++n) {
        EXPECT_EQ(GetWindowLongPtrW(controls[n], GWLP_WNDPROC), procedures[n]) << n;
        EXPECT_EQ(GetPropW(controls[n], skin::kPropPreviousProc), previous[n]) << n;
    }
}

TEST_F(ComboBoxTest, ControlsInsideAGroupBoxGoIntoTheWindowsRecord) {
    HWND hwnd = createWindow();
    HWND group = addControl(hwnd, L"BUTTON", BS_GROUPBOX, 0, 10, 30, 300, 200, L"组");
    HWND edit = addControl(group, L"EDIT", 0, WS_EX_CLIENTEDGE, 20, 30, 100, 24);
    HWND combo = addControl(group, L"COMBOBOX", CBS_DROPDOWNLIST, 0, 20, 70, 150, 200);
    HWND list = addControl(group, L"LISTBOX", 0, WS_EX_CLIENTEDGE, 180, 30, 100, 100);
    const int i = attach(hwnd);
    skin::runControlHooks(*engine_, i, group);  // as a container does for its children
    EXPECT_TRUE(skin::isListed(rec(i).editEntries, edit));
    EXPECT_TRUE(skin::isListed(rec(i).comboEntries, combo));
    EXPECT_TRUE(skin::isListed(rec(i).frameEntries, list));
    for (HWND control : {edit, combo, list}) EXPECT_EQ(skin::indexProperty(control, skin::kPropOwnerIndex), i);
    SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(themed(windowPixel(edit, 0, windowSize(edit).cy / 2)));
    EXPECT_EQ(rec(i).hotEditParent, group);
}

TEST_F(ComboBoxTest, NoLeaksOverTenThousandHoverAndRepaintCycles) {
    HWND hwnd = createWindow(360, 260);
    HWND edit = addControl(hwnd, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 20, 40, 120, 24, L"abc");
    HWND scrolled = addControl(hwnd, L"EDIT", ES_MULTILINE | WS_VSCROLL, WS_EX_CLIENTEDGE, 20, 80, 120, 60);
    HWND list = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWNLIST, 0, 160, 40, 150, 200);
    HWND combo = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWN, 0, 160, 80, 150, 200);
    HWND box = addControl(hwnd, L"LISTBOX", LBS_NOTIFY | WS_VSCROLL, WS_EX_CLIENTEDGE, 160, 120, 150, 80);
    const size_t veilsBeforeAttach = engine_->veiledControls();
    for (HWND c : {list, combo}) SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"项目"));
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    for (int n = 0; n < 12; ++n) SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"行"));
    attach(hwnd);
    const HWND controls[] = {edit, scrolled, list, combo, box};
    auto cycle = [&](int n) {
        HWND c = controls[n % 5];
        switch ((n / 5) % 3) {
        case 0:
            SendMessageW(c, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
            SendMessageW(c, WM_MOUSELEAVE, 0, 0);
            break;
        case 1:
            RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
            break;
        default:
            SendMessageW(c, WM_KEYDOWN, VK_DOWN, 1);
            SendMessageW(c, WM_KEYUP, VK_DOWN, 0xC0000001);
            pumpMessages();
            break;
        }
    };
    for (int n = 0; n < 30; ++n) cycle(n);  // the pictures kept for the whole run are loaded
    const skin::LiveObjects before = skin::liveObjects();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const size_t veils = engine_->veiledControls();
    for (int n = 0; n < 10000; ++n) cycle(n);
    const skin::LiveObjects after = skin::liveObjects();
    EXPECT_EQ(after.gdiplus, before.gdiplus);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(skin::capturedBackgrounds(), 0);
    EXPECT_EQ(engine_->veiledControls(), veils) << "one brush per control, replaced, never piled up";
    const DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (gdiBefore != 0) {
        EXPECT_LE(gdiAfter, gdiBefore + 4) << "the system's own count";
    }
    // Destroying the window gives the veils back.
    DestroyWindow(hwnd);
    pumpMessages();
    EXPECT_EQ(engine_->veiledControls(), veilsBeforeAttach);
}

}  // namespace
