// Skinned list boxes and the other framed controls on a test window: frame
// lines, items over the veiled background, owner-drawn lists, the combo box
// drop-down list, scrolling, and the pre-dispatch signal while an arrow key
// is held.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

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

class ListBoxTest : public SkinControlTest {};

bool wholeClientPending(HWND hwnd) {
    RECT pending{}, client;
    GetClientRect(hwnd, &client);
    return GetUpdateRect(hwnd, &pending, FALSE) && EqualRect(&pending, &client);
}

HWND addList(HWND parent, DWORD style, DWORD exStyle, int x, int y, int items = 2) {
    HWND list = SkinControlTest::addControl(parent, L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | style, exStyle, x,
                                            y, 140, 120);
    for (int n = 0; n < items; ++n) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"条目"));
    return list;
}

TEST_F(ListBoxTest, FrameLineOnlyWithABorderAndItemsOverTheVeil) {
    struct Case {
        const char* name;
        DWORD style, exStyle;
        bool frameLine;
    };
    const Case cases[] = {
        {"no border", 0, 0, false},
        {"WS_BORDER", WS_BORDER, 0, true},
        {"client edge", 0, WS_EX_CLIENTEDGE, true},
    };
    HWND hwnd = createWindow(520, 300);
    std::vector<HWND> lists;
    int x = 20;
    for (const Case& c : cases) {
        lists.push_back(addList(hwnd, c.style, c.exStyle, x, 60));
        x += 160;
    }
    const int i = attach(hwnd);
    for (size_t n = 0; n < lists.size(); ++n) {
        SCOPED_TRACE(cases[n].name);
        HWND list = lists[n];
        EXPECT_TRUE(skin::isListed(rec(i).frameEntries, list));
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        const SIZE size = windowSize(list);
        // Below the two items the client area shows the veiled surface.
        RECT client;
        GetClientRect(list, &client);
        POINT below{client.right / 2, client.bottom - 4};
        ClientToScreen(list, &below);
        RECT window;
        GetWindowRect(list, &window);
        const int wx = below.x - window.left, wy = below.y - window.top;
        EXPECT_TRUE(similar(windowPixel(list, wx, wy), veiled(surfaceUnder(list, wx, wy))))
            << std::hex << windowPixel(list, wx, wy) << " " << surfaceUnder(list, wx, wy);
        const COLORREF edge = windowPixel(list, 0, size.cy - 6);
        if (cases[n].frameLine) {
            EXPECT_LT(brightness(edge), brightness(veiled(surfaceUnder(list, 0, size.cy - 6))) - 10)
                << "a dark frame line: " << std::hex << edge;
            SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            EXPECT_TRUE(themed(windowPixel(list, 0, size.cy / 2)));
            // The second pixel of the two-pixel line lies inside a one-pixel border.
            if (skin::innerArea(list).left >= 2) {
                EXPECT_TRUE(themed(windowPixel(list, 1, size.cy / 2)));
            }
            EXPECT_FALSE(themed(windowPixel(list, skin::innerArea(list).left + 3, size.cy / 2)));
            EXPECT_EQ(rec(i).hotKind, 4);
            SendMessageW(list, WM_MOUSELEAVE, 0, 0);
            EXPECT_FALSE(themed(windowPixel(list, 0, size.cy / 2)));
        } else {
            EXPECT_TRUE(similar(edge, veiled(surfaceUnder(list, 0, size.cy - 6))))
                << "no frame line: " << std::hex << edge;
            SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            EXPECT_FALSE(themed(windowPixel(list, 0, size.cy - 6))) << "not even while hot";
            SendMessageW(list, WM_MOUSELEAVE, 0, 0);
        }
    }
}

TEST_F(ListBoxTest, VeilOffLeavesTheContentToTheListAndOnlyTheBorderChanges) {
    engine_->SetOptions(true);
    HWND hwnd = createWindow();
    HWND list = addList(hwnd, 0, WS_EX_CLIENTEDGE, 40, 60);
    const int i = attach(hwnd);
    ASSERT_TRUE(skin::isListed(rec(i).frameEntries, list));
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    RECT client;
    GetClientRect(list, &client);
    POINT below{client.right / 2, client.bottom - 4};
    ClientToScreen(list, &below);
    RECT window;
    GetWindowRect(list, &window);
    const int x = below.x - window.left, y = below.y - window.top;
    EXPECT_FALSE(similar(windowPixel(list, x, y), veiled(surfaceUnder(list, x, y)), 10))
        << "the list's own background: " << std::hex << windowPixel(list, x, y);
    // The frame's colour answers are the window's own.
    HDC dc = GetDC(list);
    const auto brush =
        SendMessageW(hwnd, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list));
    ReleaseDC(list, dc);
    EXPECT_NE(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    // The border is still the skin's, opaque white inside the frame line.
    const int mid = windowSize(list).cy / 2;
    EXPECT_EQ(windowPixel(list, 1, mid), RGB(255, 255, 255));
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(themed(windowPixel(list, 0, mid)));
    SendMessageW(list, WM_MOUSELEAVE, 0, 0);
    // Scrolling leaves the repainting to the list.
    ValidateRect(list, nullptr);
    SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_FALSE(wholeClientPending(list));
}

TEST_F(ListBoxTest, ComboDropDownListGetsNoFrameLineAndAVeiledErase) {
    HWND hwnd = createWindow();
    HWND combo = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0, 40, 60, 180, 200);
    for (int n = 0; n < 3; ++n) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"下拉"));
    const int i = attach(hwnd);
    COMBOBOXINFO info{sizeof(info)};
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    HWND list = info.hwndList;
    ASSERT_TRUE(list);
    EXPECT_TRUE(skin::isListed(rec(i).frameEntries, list));
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    pumpMessages(50);
    ASSERT_TRUE(IsWindowVisible(list));
    const COLORREF resting = windowPixel(list, 0, windowSize(list).cy / 2);
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    const COLORREF hot = windowPixel(list, 0, windowSize(list).cy / 2);
    EXPECT_FALSE(themed(hot)) << std::hex << hot;
    EXPECT_EQ(hot, resting) << "the skin draws no frame line on it";
    // Its background comes veiled through WM_ERASEBKGND.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 50, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 50, 20};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(memory, &all, magenta);
    SendMessageW(list, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_NE(GetPixel(memory, 10, 10), RGB(255, 0, 255));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteObject(magenta);
    DeleteDC(memory);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    pumpMessages();
}

TEST_F(ListBoxTest, OwnerDrawnListIsFramedButItsContentIsItsOwn) {
    HWND hwnd = createWindow();
    HWND list = addList(hwnd, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, WS_EX_CLIENTEDGE, 40, 60, 3);
    HWND plain = addList(hwnd, 0, WS_EX_CLIENTEDGE, 220, 60, 3);
    const int i = attach(hwnd);
    ASSERT_TRUE(skin::isListed(rec(i).frameEntries, list));
    skin_test::drawItemLog() = {};
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_GT(skin_test::drawItemLog().count, 0);
    EXPECT_EQ(skin_test::drawItemLog().lastDcType, static_cast<DWORD>(OBJ_DC)) << "drawn on the control's own DC";
    // The frame's colour answer is not the skin's hollow brush for it.
    HDC dc = GetDC(list);
    const auto brush =
        SendMessageW(hwnd, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list));
    const auto plainBrush =
        SendMessageW(hwnd, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(plain));
    ReleaseDC(list, dc);
    EXPECT_NE(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(plainBrush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    // Framed all the same.
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(themed(windowPixel(list, 0, windowSize(list).cy / 2)));
    SendMessageW(list, WM_MOUSELEAVE, 0, 0);
}

TEST_F(ListBoxTest, ScrollingRelaysTheVeil) {
    struct Case {
        const char* name;
        UINT msg;
        WPARAM wParam;
    };
    const Case cases[] = {
        {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
        {"scroll bar", WM_VSCROLL, SB_LINEDOWN},
        {"scroll bar thumb", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3)},
    };
    HWND hwnd = createWindow();
    HWND list = addList(hwnd, WS_VSCROLL, WS_EX_CLIENTEDGE, 40, 60, 30);
    attach(hwnd);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessageW(list, LB_SETTOPINDEX, 0, 0);
        pumpMessages();
        ValidateRect(list, nullptr);
        SendMessageW(list, c.msg, c.wParam, 0);
        EXPECT_TRUE(wholeClientPending(list));
        pumpMessages();
    }
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0) << "the list did scroll";
}

TEST_F(ListBoxTest, PreDispatchSignalInvalidatesWhileAnArrowKeyIsHeld) {
    HWND hwnd = createWindow();
    HWND list = addList(hwnd, WS_VSCROLL, WS_EX_CLIENTEDGE, 20, 40, 10);
    HWND view = addControl(hwnd, WC_LISTVIEWW, LVS_REPORT, WS_EX_CLIENTEDGE, 200, 40, 180, 120);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<wchar_t*>(L"列");
    SendMessageW(view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    const int i = attach(hwnd);
    ASSERT_TRUE(skin::isListed(rec(i).frameEntries, view));
    HWND header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(header);

    struct Case {
        const char* name;
        HWND control;
        HWND target;  // the queued message's window
        bool veil;
        bool held;
        bool invalidated;
    };
    const Case cases[] = {
        {"list, key held", list, list, true, true, true},
        {"list, key released", list, list, true, false, false},
        {"list, veil off", list, list, false, true, false},
        {"list view through its header", view, header, true, true, true},
        {"another window's message", list, hwnd, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine_->SetOptions(true, c.veil ? std::optional<int>(100) : std::nullopt);
        SendMessageW(c.control, WM_KEYDOWN, VK_DOWN, 1);
        if (!c.held) SendMessageW(c.control, WM_KEYUP, VK_DOWN, 0xC0000001);
        pumpMessages();
        ValidateRect(c.control, nullptr);
        ASSERT_TRUE(PostMessageW(c.target, WM_NULL, 0, 0));
        // The test's own loop takes the message: no dispatch needed.
        MSG msg;
        ASSERT_TRUE(PeekMessageW(&msg, c.target, WM_NULL, WM_NULL, PM_REMOVE));
        EXPECT_EQ(wholeClientPending(c.control), c.invalidated);
        // A GetMessage loop gives the same signal.
        ValidateRect(c.control, nullptr);
        PostMessageW(c.target, WM_NULL, 0, 0);
        ASSERT_TRUE(GetMessageW(&msg, c.target, WM_NULL, WM_NULL));
        EXPECT_EQ(wholeClientPending(c.control), c.invalidated);
        // Looking without taking is no signal.
        ValidateRect(c.control, nullptr);
        PostMessageW(c.target, WM_NULL, 0, 0);
        PeekMessageW(&msg, c.target, WM_NULL, WM_NULL, PM_NOREMOVE);
        EXPECT_FALSE(wholeClientPending(c.control));
        PeekMessageW(&msg, c.target, WM_NULL, WM_NULL, PM_REMOVE);
        SendMessageW(c.control, WM_KEYUP, VK_DOWN, 0xC0000001);
        pumpMessages();
    }
    engine_->SetOptions(true, 100);
    // Losing the focus while the key is down ends the signal too.
    SetFocus(list);
    SendMessageW(list, WM_KEYDOWN, VK_UP, 1);
    SetFocus(hwnd);
    pumpMessages();
    ValidateRect(list, nullptr);
    PostMessageW(list, WM_NULL, 0, 0);
    MSG msg;
    PeekMessageW(&msg, list, WM_NULL, WM_NULL, PM_REMOVE);
    EXPECT_FALSE(wholeClientPending(list));
}

TEST_F(ListBoxTest, ListViewAndTreeViewAreSetUpForTheVeil) {
    HWND hwnd = createWindow();
    HWND view = addControl(hwnd, WC_LISTVIEWW, LVS_REPORT, WS_EX_CLIENTEDGE, 20, 40, 180, 120);
    HWND tree = addControl(hwnd, WC_TREEVIEWW, TVS_HASLINES, WS_EX_CLIENTEDGE, 220, 40, 160, 120);
    TVINSERTSTRUCTW item{};
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT;
    item.item.pszText = const_cast<wchar_t*>(L"树");
    SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const int i = attach(hwnd);
    EXPECT_TRUE(skin::isListed(rec(i).frameEntries, view));
    EXPECT_TRUE(skin::isListed(rec(i).frameEntries, tree));
    EXPECT_EQ(SendMessageW(view, LVM_GETTEXTBKCOLOR, 0, 0), static_cast<LRESULT>(CLR_NONE));
    EXPECT_EQ(SendMessageW(tree, TVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(RGB(255, 0, 255)));
    // Below their items both show the veiled surface: the tree's magenta
    // background and the list view's colour-keyed picture are keyed out.
    for (HWND control : {tree, view}) {
        SCOPED_TRACE(control == tree ? "tree view" : "list view");
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        RECT client;
        GetClientRect(control, &client);
        POINT corner{client.right - 5, client.bottom - 5};
        ClientToScreen(control, &corner);
        RECT window;
        GetWindowRect(control, &window);
        const int x = corner.x - window.left, y = corner.y - window.top;
        EXPECT_TRUE(similar(windowPixel(control, x, y), veiled(surfaceUnder(control, x, y))))
            << std::hex << windowPixel(control, x, y);
    }
    // The list view's header repaints over the new picture: it is still there.
    HWND header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
    EXPECT_TRUE(header && IsWindowVisible(header));
}

// A dialog's own modal loop: the list's message is taken there.
struct ModalProbe {
    HWND list = nullptr;
    bool invalidated = false;
    bool ran = false;
};

INT_PTR CALLBACK probeDialog(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* probe = reinterpret_cast<ModalProbe*>(lParam);
        ValidateRect(probe->list, nullptr);
        PostMessageW(probe->list, WM_NULL, 0, 0);
        PostMessageW(dialog, WM_APP + 1, 0, 0);
        return TRUE;
    }
    if (msg == WM_APP + 1) {
        auto* probe = reinterpret_cast<ModalProbe*>(GetWindowLongPtrW(dialog, DWLP_USER));
        probe->ran = true;
        probe->invalidated = wholeClientPending(probe->list);
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

TEST_F(ListBoxTest, PreDispatchSignalReachesAModalLoopToo) {
    HWND hwnd = createWindow();
    HWND list = addList(hwnd, WS_VSCROLL, WS_EX_CLIENTEDGE, 20, 40, 10);
    attach(hwnd);
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    pumpMessages();
    // An empty dialog template: no menu, default class, no title, no items.
    alignas(4) WORD buffer[64] = {};
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialog->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    dialog->cx = 80;
    dialog->cy = 40;
    ModalProbe probe;
    probe.list = list;
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog, hwnd, probeDialog, reinterpret_cast<LPARAM>(&probe));
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(probe.ran);
    EXPECT_TRUE(probe.invalidated);
    SendMessageW(list, WM_KEYUP, VK_DOWN, 0xC0000001);
}

}  // namespace
