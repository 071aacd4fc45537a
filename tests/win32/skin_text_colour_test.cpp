// Text colours given with SetControlTextColour, black included, against the
// colour the owner window answers WM_CTLCOLOR* with.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "tests/win32/skin_veil_fixture.h"

namespace {

using skin_test::SkinControlTest;

constexpr wchar_t kOwnerColourClass[] = L"RPGitemSkinOwnerColourWindow";
// The owner window's own text colour, as the main window answers with its
// layout's colours.
constexpr COLORREF kOwnerColour = RGB(230, 0, 0);

LRESULT CALLBACK ownerColourProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(wParam), kOwnerColour);
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

class TextColourTest : public SkinControlTest {
protected:
    HWND ownerWindow() {
        HWND hwnd = createTopLevelTestWindow(kOwnerColourClass, ownerColourProc, L"文字颜色",
                                             WS_POPUP | WS_CLIPCHILDREN, 60, 60, 420, 240);
        windows_.push_back(hwnd);
        return hwnd;
    }
    // The text colour the colour message leaves in a DC: `to` is the window
    // that answers for `control`.
    static COLORREF answeredColour(HWND to, UINT msg, HWND control) {
        HDC dc = CreateCompatibleDC(nullptr);
        SetTextColor(dc, RGB(1, 2, 3));
        SendMessageW(to, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
        const COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        return colour;
    }
};

// Whether the control shows a dark (near-black) text pixel on screen.
bool showsBlackText(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    bool found = false;
    for (int y = 0; y < client.bottom && !found; ++y) {
        for (int x = 0; x < client.right && !found; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            found = std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) < 50;
        }
    }
    ReleaseDC(control, dc);
    return found;
}

}  // namespace

TEST_F(TextColourTest, BlackIsAColourAndNoColourLeavesTheOwnersAnswer) {
    HWND hwnd = ownerWindow();
    HWND edit = addControl(hwnd, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 20, 40, 160, 24, L"文字");
    HWND label = addControl(hwnd, L"STATIC", 0, 0, 20, 80, 160, 20, L"标签");
    HWND combo = addControl(hwnd, L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 20, 120, 160, 200);
    attach(hwnd);
    HWND comboEdit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(comboEdit);
    struct Case {
        const char* name;
        HWND colouredThrough;  // the control SetControlTextColour is given
        HWND asking;           // the control that asks for its colours
        HWND answering;        // the window that answers
        UINT msg;
    };
    const Case cases[] = {
        {"edit box", edit, edit, hwnd, WM_CTLCOLOREDIT},
        {"label", label, label, hwnd, WM_CTLCOLORSTATIC},
        {"edit part of a combo box", combo, comboEdit, combo, WM_CTLCOLOREDIT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answeredColour(c.answering, c.msg, c.asking), kOwnerColour) << "no colour given: the owner's";
        engine_->SetControlTextColour(c.colouredThrough, RGB(0, 0, 0));
        EXPECT_EQ(answeredColour(c.answering, c.msg, c.asking), RGB(0, 0, 0)) << "black is a colour";
        engine_->SetControlTextColour(c.colouredThrough, RGB(0, 0, 200));
        EXPECT_EQ(answeredColour(c.answering, c.msg, c.asking), RGB(0, 0, 200));
    }
}

TEST_F(TextColourTest, AnEditBoxGivenBlackShowsBlackText) {
    HWND hwnd = ownerWindow();
    HWND edit = addControl(hwnd, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 20, 40, 200, 28, L"黑黑黑黑");
    attach(hwnd);
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pumpMessages();
    EXPECT_FALSE(showsBlackText(edit)) << "the owner's red";
    engine_->SetControlTextColour(edit, RGB(0, 0, 0));
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pumpMessages();
    EXPECT_TRUE(showsBlackText(edit));
}

TEST_F(TextColourTest, AColourIsForgottenWithItsWindow) {
    HWND hwnd = ownerWindow();
    HWND edit = addControl(hwnd, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 20, 40, 160, 24);
    attach(hwnd);
    engine_->SetControlTextColour(edit, RGB(0, 0, 0));
    ASSERT_EQ(engine_->chosenTextColour(edit), std::optional<COLORREF>(RGB(0, 0, 0)));
    DestroyWindow(hwnd);
    pumpMessages();
    EXPECT_FALSE(engine_->chosenTextColour(edit).has_value()) << "a later window with this handle starts without";
}
