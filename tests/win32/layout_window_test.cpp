// The window as built from its layout: places, parents, stacking, looks and
// initial state of the real controls.
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <stdexcept>

#include "editor/control_names.h"
#include "editor/layout.h"
#include "tests/win32/window_fixture.h"
#include "ui/static_controls.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

bool isWindowControl(const editor::Control& spec) {
    return spec.kind != editor::ControlKind::Timer && spec.kind != editor::ControlKind::FileDialog;
}

bool isCombo(const editor::Control& spec) {
    return spec.kind == editor::ControlKind::ComboEditable || spec.kind == editor::ControlKind::ComboList;
}

RECT rectInParent(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

COLORREF colourOf(std::uint32_t rrggbb) { return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF); }

int distance(COLORREF a, COLORREF b) {
    const int r = GetRValue(a) - GetRValue(b), g = GetGValue(a) - GetGValue(b), bl = GetBValue(a) - GetBValue(b);
    return r * r + g * g + bl * bl;
}

// Counts the pixels of the control's client area, as shown, that are nearer
// to `target` than to any of `others` (smoothed text blends its colour with
// the background, so exact matches are rare).
int pixelsNearest(HWND hwnd, COLORREF target, std::initializer_list<COLORREF> others) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    HDC dc = GetDC(hwnd);
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const COLORREF seen = GetPixel(dc, x, y);
            bool nearest = true;
            for (COLORREF other : others) nearest = nearest && distance(seen, target) < distance(seen, other);
            count += nearest;
        }
    }
    ReleaseDC(hwnd, dc);
    return count;
}

}  // namespace

// Every read by name fails loudly on a name the layout does not have; the
// timer and the file dialog are controls without a window.
TEST_F(EditorWindowTest, AnUnknownControlNameThrowsAndWindowlessControlsHaveNoHandle) {
    for (const char* unknown : {"编辑框0", "", "技能"}) {
        EXPECT_THROW(window_->control(unknown), std::logic_error) << unknown;
        EXPECT_THROW(window_->text(unknown), std::logic_error) << unknown;
        EXPECT_THROW(window_->isChecked(unknown), std::logic_error) << unknown;
        EXPECT_THROW(window_->selection(unknown), std::logic_error) << unknown;
        EXPECT_THROW(window_->listItems(unknown), std::logic_error) << unknown;
    }
    EXPECT_EQ(window_->control(editor::kSizeGuardClock), nullptr);
    EXPECT_EQ(window_->control(editor::kItemFileDialog), nullptr);
    for (std::string_view name : editor::kControlNames) {
        const editor::ControlKind kind = editor::controlNamed(name).kind;
        if (kind == editor::ControlKind::Timer || kind == editor::ControlKind::FileDialog) continue;
        EXPECT_TRUE(IsWindow(window_->control(name))) << name;
    }
}

TEST_F(EditorWindowTest, WindowHasItsFixedSizeAndNoCaptionText) {
    RECT rc;
    GetWindowRect(window_->hwnd(), &rc);
    EXPECT_EQ(rc.right - rc.left, 1069);
    EXPECT_EQ(rc.bottom - rc.top, 671);
    EXPECT_EQ(GetWindowTextLengthW(window_->hwnd()), 0);
    RECT client;
    GetClientRect(window_->hwnd(), &client);
    EXPECT_EQ(client.right, 1069) << "controls are placed in a client area spanning the window";
}

TEST_F(EditorWindowTest, EveryControlStandsInItsParentAtItsPlace) {
    for (const editor::Control& spec : editor::controls()) {
        if (!isWindowControl(spec)) continue;
        SCOPED_TRACE(std::string(spec.name));
        HWND hwnd = control(spec.name);
        ASSERT_TRUE(hwnd);
        HWND expectedParent = spec.parent.empty() ? window_->hwnd() : control(spec.parent);
        EXPECT_EQ(GetParent(hwnd), expectedParent);
        const RECT rc = rectInParent(hwnd);
        EXPECT_EQ(rc.left, spec.left);
        EXPECT_EQ(rc.top, spec.top);
        EXPECT_EQ(rc.right - rc.left, spec.width);
        if (!isCombo(spec)) {
            EXPECT_EQ(rc.bottom - rc.top, spec.height);
        }
    }
}

TEST_F(EditorWindowTest, ClosedComboBoxesKeepTheirHeightAndDropAtLeast160Pixels) {
    for (const editor::Control& spec : editor::controls()) {
        if (!isCombo(spec)) continue;
        SCOPED_TRACE(std::string(spec.name));
        HWND combo = control(spec.name);
        COMBOBOXINFO info{sizeof(info)};
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        RECT rc;
        GetWindowRect(combo, &rc);
        // A box cannot be lower than its font needs: 2 pixels of play.
        EXPECT_GE(rc.bottom - rc.top, spec.height);
        EXPECT_LE(rc.bottom - rc.top, spec.height + 2);
        // Drop it and measure the list the user sees.
        ShowWindow(combo, SW_SHOW);
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        RECT list;
        GetWindowRect(info.hwndList, &list);
        EXPECT_TRUE(IsWindowVisible(info.hwndList));
        // A short list shrinks to its items, as the platform's lists do.
        const auto itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
        const int itemsHeight = itemHeight * static_cast<int>(spec.items.size());
        EXPECT_GE(list.bottom - list.top, std::min(160, itemsHeight));
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    }
}

TEST_F(EditorWindowTest, ChildrenAreStackedInLayoutOrderFirstOnTop) {
    std::vector<std::string_view> parents{""};
    for (const editor::Control& spec : editor::controls()) {
        if (spec.kind == editor::ControlKind::GroupBox) parents.push_back(spec.name);
    }
    for (std::string_view parentName : parents) {
        SCOPED_TRACE(std::string(parentName.empty() ? "client area" : parentName));
        std::vector<std::string_view> expected;
        for (const editor::Control& spec : editor::controls()) {
            if (spec.parent == parentName && isWindowControl(spec)) expected.push_back(spec.name);
        }
        HWND parent = parentName.empty() ? window_->hwnd() : control(parentName);
        std::vector<std::string_view> actual;
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            actual.push_back(window_->nameOf(child));
        }
        EXPECT_EQ(actual, expected);
    }
}

TEST_F(EditorWindowTest, InitialStateOfTheForm) {
    for (const editor::Control& spec : editor::controls()) {
        if (!isWindowControl(spec)) continue;
        SCOPED_TRACE(std::string(spec.name));
        HWND hwnd = control(spec.name);
        EXPECT_EQ((GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0, spec.visible);
        EXPECT_EQ(IsWindowEnabled(hwnd) != FALSE, spec.enabled);
        switch (spec.kind) {
        case editor::ControlKind::ComboEditable:
        case editor::ControlKind::ComboList:
            EXPECT_EQ(SendMessageW(hwnd, CB_GETCURSEL, 0, 0), CB_ERR);
            EXPECT_EQ(SendMessageW(hwnd, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(spec.items.size()));
            for (size_t i = 0; i < spec.items.size(); ++i) {
                wchar_t item[256] = {};
                SendMessageW(hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                EXPECT_EQ(utf8(item), spec.items[i]) << "item " << i;
            }
            break;
        case editor::ControlKind::ListBox:
            EXPECT_EQ(SendMessageW(hwnd, LB_GETCOUNT, 0, 0), 0);
            break;
        case editor::ControlKind::CheckBox:
        case editor::ControlKind::Radio:
            EXPECT_EQ(isChecked(spec.name), spec.checked);
            EXPECT_EQ(windowText(hwnd), spec.text);
            break;
        case editor::ControlKind::Edit:
        case editor::ControlKind::Button:
        case editor::ControlKind::Label:
        case editor::ControlKind::GroupBox:
            EXPECT_EQ(windowText(hwnd), spec.text);
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(output(), "");
    EXPECT_TRUE(isChecked("选择框4"));
    EXPECT_TRUE(isChecked("单选框1"));
    EXPECT_TRUE(isChecked("单选框5"));
    EXPECT_FALSE(IsWindowEnabled(control("编辑框16")));
    EXPECT_EQ(text("编辑框16"), "×××××");
}

TEST_F(EditorWindowTest, FontsAreTheLayoutsFacesInTheChineseCharacterSet) {
    for (const editor::Control& spec : editor::controls()) {
        if (!isWindowControl(spec) || spec.kind == editor::ControlKind::WebView ||
            spec.kind == editor::ControlKind::PictureBox) {
            continue;
        }
        SCOPED_TRACE(std::string(spec.name));
        auto font = reinterpret_cast<HFONT>(SendMessageW(control(spec.name), WM_GETFONT, 0, 0));
        ASSERT_TRUE(font);
        LOGFONTW lf{};
        ASSERT_TRUE(GetObjectW(font, sizeof(lf), &lf));
        EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
        if (spec.font.isDefault()) continue;
        EXPECT_EQ(lf.lfHeight, -spec.font.pixelHeight);
        EXPECT_EQ(lf.lfWeight, spec.font.weight);
        if (!spec.font.face.empty()) {
            EXPECT_EQ(utf8(lf.lfFaceName), spec.font.face);
        }
    }
}

TEST_F(EditorWindowTest, EditStylesAndKinds) {
    const LONG output = GetWindowLongW(control("编辑框1"), GWL_STYLE);
    EXPECT_TRUE(output & ES_MULTILINE);
    EXPECT_TRUE(output & WS_HSCROLL);
    EXPECT_TRUE(output & WS_VSCROLL);
    EXPECT_TRUE(output & ES_AUTOHSCROLL) << "output lines are not wrapped";
    EXPECT_TRUE(output & ES_WANTRETURN);
    const LONG description = GetWindowLongW(control("编辑框13"), GWL_STYLE);
    EXPECT_TRUE(description & ES_MULTILINE);
    EXPECT_TRUE(description & WS_VSCROLL);
    EXPECT_FALSE(description & ES_AUTOHSCROLL) << "long description lines wrap";
    const LONG dyes = GetWindowLongW(control("编辑框24"), GWL_STYLE);
    EXPECT_FALSE(dyes & (WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(GetWindowLongW(control("组合框5"), GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_EQ(GetWindowLongW(control("组合框_掉落"), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(GetWindowLongW(control("分组框1"), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_TRUE(GetWindowLongW(control("透明标签1"), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

TEST_F(EditorWindowTest, PicturesAreDecodedAtTheirNaturalSize) {
    const SIZE tutorial = pictureSize(control("图片框1"));
    EXPECT_EQ(tutorial.cx, 372);
    EXPECT_EQ(tutorial.cy, 363);
    const SIZE chart = pictureSize(control("图片框_颜色"));
    EXPECT_EQ(chart.cx, 228);
    EXPECT_EQ(chart.cy, 317);
}

TEST_F(EditorWindowTest, WindowCarriesTheProgramIcon) {
    auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(window_->hwnd(), GCLP_HICON));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 48);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(EditorWindowTest, FourPopupMenusWithOneDeleteItem) {
    for (const char* title : {"药水", "技能", "消耗", "掉落"}) {
        HMENU menu = window_->popupMenu(title);
        ASSERT_TRUE(menu) << title;
        ASSERT_EQ(GetMenuItemCount(menu), 1);
        wchar_t item[16] = {};
        GetMenuStringW(menu, 0, item, 16, MF_BYPOSITION);
        EXPECT_EQ(utf8(item), "删除");
    }
    EXPECT_FALSE(GetMenu(window_->hwnd())) << "no menu bar shows";
}

TEST_F(EditorWindowTest, RadioButtonsOfOneGroupAreExclusive) {
    click("单选框2");
    EXPECT_TRUE(isChecked("单选框2"));
    EXPECT_FALSE(isChecked("单选框1"));
    EXPECT_TRUE(isChecked("单选框5")) << "another group's set is untouched";
    click("单选框6");
    EXPECT_TRUE(isChecked("单选框6"));
    EXPECT_FALSE(isChecked("单选框5"));
    EXPECT_TRUE(isChecked("单选框2"));
}

TEST_F(EditorWindowTest, LabelsDrawTheirTextInTheirColourOverWhatLiesBeneath) {
    RedrawWindow(window_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(100);
    for (const char* name : {"透明标签1", "透明标签9", "透明标签20", "透明标签32", "透明标签13", "透明标签36"}) {
        const editor::Control* spec = editor::findControl(name);
        ASSERT_TRUE(spec);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const COLORREF colour = colourOf(spec->textColour);
        EXPECT_GT(pixelsNearest(control(name), colour, {face, RGB(0, 0, 0), RGB(255, 255, 255)}), 5) << name;
        // No background of its own: the rest is the face colour beneath.
        EXPECT_GT(pixelsNearest(control(name), face, {colour, RGB(255, 255, 255)}), 20) << name;
    }
}

TEST_F(EditorWindowTest, EditTextIsOrangeOrBlackAsTheGroupSays) {
    setText("编辑框2", "WWWW");
    setText("编辑框18", "8888");
    RedrawWindow(window_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(100);
    const COLORREF orange = RGB(0xFF, 0x80, 0x00), black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    EXPECT_GT(
        pixelsNearest(control("编辑框2"), orange,
                      {black, white, RGB(128, 128, 128), RGB(255, 160, 120), RGB(200, 90, 60), RGB(230, 200, 100)}),
        5);
    // Smoothing fringes may tint a few pixels; none comes close to orange.
    EXPECT_EQ(
        pixelsNearest(control("编辑框18"), orange,
                      {black, white, RGB(128, 128, 128), RGB(255, 160, 120), RGB(200, 90, 60), RGB(230, 200, 100)}),
        0);
    EXPECT_GT(pixelsNearest(control("编辑框18"), black, {orange, white}), 5);
    EXPECT_GT(pixelsNearest(control("编辑框18"), white, {orange, black}), 100) << "on white";
}

TEST_F(EditorWindowTest, SizeGuardRestoresTheSizeWithinOneTimerPeriod) {
    RECT before;
    GetWindowRect(window_->hwnd(), &before);
    SetWindowPos(window_->hwnd(), nullptr, 0, 0, 700, 400, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages(900);
    RECT after;
    GetWindowRect(window_->hwnd(), &after);
    EXPECT_EQ(after.right - after.left, 1069);
    EXPECT_EQ(after.bottom - after.top, 671);
    EXPECT_EQ(after.left, before.left) << "the position is not touched";
    EXPECT_EQ(after.top, before.top);
}

TEST_F(EditorWindowTest, ClosingEndsTheWindowWithoutAPrompt) {
    HWND hwnd = window_->hwnd();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    pumpMessages();
    EXPECT_FALSE(IsWindow(hwnd));
}
