// Skinned BUTTON controls on a test window: which styles are taken, hover
// lighting, double-click and space bar, the disabled look, fonts, and no
// leak over many paints.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include <cstdlib>
#include <string>

#include "skin/buttons.h"
#include "skin/combo_boxes.h"
#include "skin/containers.h"
#include "skin/control_kinds.h"
#include "skin/edit_boxes.h"
#include "skin/framed_controls.h"
#include "skin/headers.h"
#include "skin/other_controls.h"
#include "skin/painting_kit.h"
#include "skin/track_bars.h"
#include "skin/up_downs.h"
#include "tests/win32/skin_control_fixture.h"

namespace {

using skin::buttonPaints;

bool nearColour(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool isGrey(COLORREF c, int low, int high) {
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) && GetRValue(c) >= low && GetRValue(c) <= high;
}

using ButtonTest = SkinControlTest;

TEST_F(ButtonTest, TakesPushButtonsCheckBoxesAndAutomaticRadioButtonsOnly) {
    struct Case {
        DWORD style;
        bool skinned;
        int kind;
        const char* name;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, true, skin::kPushButton, "push button"},
        {BS_DEFPUSHBUTTON, true, skin::kPushButton, "default push button"},
        {BS_CHECKBOX, true, skin::kCheckBox, "check box"},
        {BS_AUTOCHECKBOX, true, skin::kCheckBox, "automatic check box"},
        {BS_AUTORADIOBUTTON, true, skin::kRadioButton, "automatic radio button"},
        {BS_RADIOBUTTON, false, 0, "radio button"},
        {BS_3STATE, false, 0, "three-state check box"},
        {BS_AUTO3STATE, false, 0, "automatic three-state check box"},
        {BS_OWNERDRAW, false, 0, "owner-drawn button"},
        {BS_GROUPBOX, false, 0, "group box"},
    };
    HWND hwnd = window();
    std::vector<HWND> controls;
    int y = 30;
    for (const Case& c : cases) {
        controls.push_back(button(hwnd, c.style, 10, y, 120, 22));
        y += 26;
    }
    const int i = attach(hwnd);
    ASSERT_GT(i, 0);
    for (size_t n = 0; n < std::size(cases); ++n) {
        const Case& c = cases[n];
        HWND control = controls[n];
        const skin::ButtonEntry* entry = entryOf(i, control);
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        ASSERT_EQ(entry != nullptr, c.skinned) << c.name;
        if (!c.skinned) {
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<LONG>(c.style)) << c.name << ": style untouched";
            EXPECT_FALSE(GetPropW(control, skin::kPropPreviousProc)) << c.name;
            continue;
        }
        EXPECT_EQ(entry->kind, c.kind) << c.name;
        EXPECT_EQ(entry->caption, L"按钮") << c.name;
        EXPECT_EQ(skin::indexProperty(control, skin::kPropOwnerIndex), i) << c.name;
        EXPECT_EQ(&rec(i).buttonEntries[static_cast<size_t>(skin::indexProperty(control, skin::kPropIndex) - 1)], entry)
            << c.name;
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropW(control, skin::kPropPreviousProc)), entry->previous) << c.name;
        EXPECT_TRUE(IsWindowUnicode(control)) << c.name;
        if (c.kind == skin::kPushButton) {
            EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW) << c.name << " becomes owner-drawn";
        } else {
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<LONG>(c.style)) << c.name << " keeps its style";
        }
        EXPECT_EQ(entry->fontFamily, testFamily()) << c.name;
        EXPECT_FALSE(entry->fontFamily.empty()) << c.name;
        EXPECT_FLOAT_EQ(entry->fontSize, 12.0f) << c.name;
    }
}

TEST_F(ButtonTest, HoverLightsAPushButtonOnceUntilTheMouseLeaves) {
    HWND hwnd = window();
    HWND push = button(hwnd, BS_PUSHBUTTON, 40, 60, 100, 28);
    const int i = attach(hwnd);
    ASSERT_GT(i, 0);
    settle(hwnd);
    // The real pointer over the button, so that leave tracking holds.
    RECT rc;
    GetWindowRect(push, &rc);
    SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    pumpMessages(50);
    SendMessageW(push, WM_MOUSELEAVE, 0, 0);
    pumpMessages();
    const COLORREF normalEdge = screenPixel(push, 50, 0);
    const long before = buttonPaints();
    SendMessageW(push, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(buttonPaints(), before + 1) << "lit once";
    EXPECT_EQ(rec(i).hotKind, 0);
    EXPECT_EQ(rec(i).hotControl, skin::indexProperty(push, skin::kPropIndex));
    EXPECT_EQ(rec(i).lastMovedControl, rec(i).hotControl);
    const COLORREF hotEdge = screenPixel(push, 50, 0);
    EXPECT_EQ(hotEdge, kTheme) << "the hot outline is the theme colour";
    EXPECT_NE(normalEdge, hotEdge);
    const COLORREF hotBody = screenPixel(push, 50, 6);
    EXPECT_GT(GetBValue(hotBody), GetRValue(hotBody) + 10) << "the hot body is tinted with the theme colour";
    for (int x = 11; x < 30; ++x) SendMessageW(push, WM_MOUSEMOVE, 0, MAKELPARAM(x, 12));
    pumpMessages(30);
    EXPECT_EQ(buttonPaints(), before + 1) << "moving inside does not repaint";
    SendMessageW(push, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(buttonPaints(), before + 2) << "leaving paints it normal";
    EXPECT_EQ(rec(i).hotControl, 0);
    EXPECT_EQ(screenPixel(push, 50, 0), normalEdge);
    SendMessageW(push, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(buttonPaints(), before + 3) << "coming back lights it again";
    SendMessageW(push, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendMessageW(push, WM_MOUSEMOVE, 0, MAKELPARAM(11, 10));
    EXPECT_EQ(buttonPaints(), before + 4) << "after a release the next move lights it again";
}

TEST(ButtonFont, AnEmptyFamilyOrSizeFallsBackToSongTwelve) {
    struct Case {
        const wchar_t* readFamily;
        float readSize;
        int style;
        const wchar_t* family;
        float size;
    };
    const Case cases[] = {
        {L"", 0, 0, L"宋体", 12},
        {L"", 13, 1, L"宋体", 13},
        {L"Tahoma", 0, 2, L"Tahoma", 12},
        {L"Tahoma", 13, 0, L"Tahoma", 13},
    };
    for (const Case& c : cases) {
        skin::ControlFont read;
        read.family = c.readFamily;
        read.size = c.readSize;
        read.style = c.style;
        const skin::ControlFont font = skin::withPushButtonFallback(read);
        EXPECT_EQ(font.family, c.family);
        EXPECT_FLOAT_EQ(font.size, c.size);
        EXPECT_EQ(font.style, c.style);
    }
}

// What GDI+ makes of a font selected into a fresh DC of the window.
skin::ControlFont readDirectly(HWND hwnd, HFONT font) {
    skin::ControlFont result;
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    Gdiplus::GpFont* made = nullptr;
    skin::gp::GdipCreateFontFromDC(dc, &made);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    if (!made) return result;
    Gdiplus::GpFontFamily* family = nullptr;
    skin::gp::GdipGetFamily(made, &family);
    wchar_t name[LF_FACESIZE] = {};
    if (family) skin::gp::GdipGetFamilyName(family, name, LANG_NEUTRAL);
    result.family = name;
    skin::gp::GdipGetFontSize(made, &result.size);
    skin::gp::GdipGetFontStyle(made, &result.style);
    if (family) skin::gp::GdipDeleteFontFamily(family);
    skin::gp::GdipDeleteFont(made);
    return result;
}

// A font is read by what it describes, not by its handle: a font deleted
// and another made in its place (often under the same handle) reads as the
// new one, and two controls with fonts of one description read alike.
TEST_F(ButtonTest, TheFontReadFollowsItsDescriptionNotItsHandle) {
    HWND hwnd = window();
    HWND first = child(hwnd, L"BUTTON", L"一", BS_PUSHBUTTON, 20, 40, 90, 26, false);
    HWND second = child(hwnd, L"BUTTON", L"二", BS_PUSHBUTTON, 20, 80, 90, 26, false);
    const struct {
        const wchar_t* face;
        int height, weight;
    } fonts[] = {{L"宋体", -12, FW_NORMAL}, {L"Tahoma", -20, FW_BOLD}, {L"宋体", -16, FW_NORMAL}};
    std::vector<skin::ControlFont> reads;
    for (const auto& f : fonts) {
        HFONT font = CreateFontW(f.height, 0, 0, 0, f.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, f.face);
        HFONT same = CreateFontW(f.height, 0, 0, 0, f.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, f.face);
        SendMessageW(first, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageW(second, WM_SETFONT, reinterpret_cast<WPARAM>(same), FALSE);
        const skin::ControlFont expected = readDirectly(first, font);
        for (HWND control : {first, second}) {
            const skin::ControlFont read = skin::readControlFont(control);
            EXPECT_EQ(read.family, expected.family) << f.face << " " << f.height;
            EXPECT_FLOAT_EQ(read.size, expected.size) << f.face << " " << f.height;
            EXPECT_EQ(read.style, expected.style) << f.face << " " << f.height;
        }
        reads.push_back(expected);
        SendMessageW(first, WM_SETFONT, 0, FALSE);
        SendMessageW(second, WM_SETFONT, 0, FALSE);
        DeleteObject(font);
        DeleteObject(same);
    }
    // The fonts differ, so a read kept under a reused handle would show.
    EXPECT_NE(reads[0].size, reads[2].size);
    EXPECT_NE(reads[0].style, reads[1].style);
}

// A control that was never given a font draws with the system font. Where
// GDI+ cannot use that font (a raster font on Windows) the family reads
// empty; Wine's system font is a TrueType face (Tahoma 13) and is kept.
TEST_F(ButtonTest, AFontWithoutFamilyFallsBackToSongTwelveForPushButtonsOnly) {
    HWND hwnd = window();
    // No WM_SETFONT: the control draws with the system font.
    HWND push = child(hwnd, L"BUTTON", L"默认", BS_PUSHBUTTON, 20, 40, 90, 26, false);
    HWND check = child(hwnd, L"BUTTON", L"默认", BS_AUTOCHECKBOX, 20, 80, 90, 26, false);
    const skin::ControlFont system = skin::readControlFont(push);
    const int i = attach(hwnd);
    ASSERT_GT(i, 0);
    const skin::ButtonEntry* pushEntry = entryOf(i, push);
    const skin::ButtonEntry* checkEntry = entryOf(i, check);
    ASSERT_TRUE(pushEntry && checkEntry);
    if (system.family.empty()) {
        EXPECT_EQ(pushEntry->fontFamily, L"宋体");
        EXPECT_TRUE(checkEntry->fontFamily.empty()) << "check boxes take no fallback";
    } else {
        EXPECT_EQ(pushEntry->fontFamily, system.family);
    }
    if (system.size <= 0) {
        EXPECT_FLOAT_EQ(pushEntry->fontSize, 12.0f);
        EXPECT_FLOAT_EQ(checkEntry->fontSize, 0.0f);
    } else {
        EXPECT_FLOAT_EQ(pushEntry->fontSize, system.size);
    }
    // Either way the button paints, with its caption in a font that exists.
    const long before = buttonPaints();
    skin::RepaintButton(push, 0, false);
    EXPECT_EQ(buttonPaints(), before + 1);
}

TEST_F(ButtonTest, DoubleClickIsSwallowedSoNothingTogglesTwice) {
    struct Case {
        DWORD style;
        const char* name;
    };
    const Case cases[] = {{BS_AUTOCHECKBOX, "check box"}, {BS_AUTORADIOBUTTON, "radio button"}};
    for (const Case& c : cases) {
        HWND hwnd = window();
        HWND control = button(hwnd, c.style, 20, 40, 120, 22);
        ASSERT_GT(attach(hwnd), 0);
        const LPARAM at = MAKELPARAM(8, 10);
        // What the system sends for a double click.
        SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(control, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at), 0) << c.name;
        SendMessageW(control, WM_LBUTTONUP, 0, at);
        pumpMessages();
        EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), BST_CHECKED) << c.name << ": toggled once";
        EXPECT_EQ(GetCapture(), nullptr) << c.name;
    }
}

TEST_F(ButtonTest, SpaceChecksARadioButtonAndItIsRepaintedWithItsDot) {
    HWND hwnd = window();
    HWND first = button(hwnd, BS_AUTORADIOBUTTON | WS_GROUP, 20, 40, 120, 22);
    HWND second = button(hwnd, BS_AUTORADIOBUTTON, 20, 70, 120, 22);
    ASSERT_GT(attach(hwnd), 0);
    SendMessageW(first, BM_SETCHECK, BST_CHECKED, 0);
    settle(hwnd);
    // The dot: 6 x 6 at (x + 5, (h - 12) / 2 + 3), teal at its rim.
    auto dotShown = [](HWND radio) {
        int teal = 0;
        for (int y = 8; y < 14; ++y) {
            for (int x = 5; x < 11; ++x) {
                const COLORREF p = screenPixelOf(radio, x, y);
                if (GetGValue(p) > GetRValue(p) + 40 && GetBValue(p) > GetRValue(p) + 40) ++teal;
            }
        }
        return teal > 0;
    };
    EXPECT_TRUE(dotShown(first));
    EXPECT_FALSE(dotShown(second));
    const long before = buttonPaints();
    SendMessageW(second, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(second, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(SendMessageW(second, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(first, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "the group's other button lets go";
    EXPECT_GT(buttonPaints(), before);
    // The dot is drawn at once, without waiting for a WM_PAINT.
    EXPECT_TRUE(dotShown(second));
    EXPECT_FALSE(dotShown(first)) << "the other dot is gone";
}

TEST_F(ButtonTest, DisabledControlsShowTheDisabledLook) {
    struct Case {
        DWORD style;
        const char* name;
    };
    const Case cases[] = {
        {BS_AUTOCHECKBOX, "check box"}, {BS_AUTORADIOBUTTON, "radio button"}, {BS_PUSHBUTTON, "push button"}};
    const int top = (22 - 13) / 2;
    for (const Case& c : cases) {
        HWND hwnd = window();
        HWND control = child(hwnd, L"BUTTON", L"", c.style, 20, 40, 120, 22);
        ASSERT_GT(attach(hwnd), 0);
        settle(hwnd);
        // The top right corner lies outside the rounded shape: the plain fill.
        EXPECT_NE(screenPixel(control, 119, 0), RGB(0xC0, 0xC0, 0xC0)) << c.name;
        const COLORREF box = screenPixel(control, 6, top + 6);
        if (c.style == BS_AUTOCHECKBOX) {
            EXPECT_EQ(box, RGB(255, 255, 255)) << "the box picture";
        }
        EnableWindow(control, FALSE);
        settle(hwnd);
        EXPECT_EQ(screenPixel(control, 119, 0), RGB(0xC0, 0xC0, 0xC0)) << c.name;
        // Inside: 0xC0C0C0 under a faint white-black-white shade, no box.
        const COLORREF disabled = screenPixel(control, 6, top + 6);
        EXPECT_TRUE(isGrey(disabled, 0xA8, 0xD8)) << c.name << std::hex << " " << disabled;
        EnableWindow(control, TRUE);
        settle(hwnd);
        EXPECT_NE(screenPixel(control, 119, 0), RGB(0xC0, 0xC0, 0xC0)) << c.name << " enabled again";
    }
}

TEST_F(ButtonTest, AnEnabledCheckBoxShowsItsPictures) {
    HWND hwnd = window();
    HWND check = button(hwnd, BS_AUTOCHECKBOX, 20, 40, 120, 21);
    ASSERT_GT(attach(hwnd), 0);
    settle(hwnd);
    const int top = (21 - 13) / 2;
    EXPECT_EQ(screenPixel(check, 6, top + 6), RGB(255, 255, 255)) << "the empty box";
    EXPECT_TRUE(nearColour(screenPixel(check, 0, top + 6), RGB(0x33, 0x33, 0x33), 8)) << "its dark border";
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    bool tick = false;
    for (int y = top + 2; y < top + 11; ++y) {
        for (int x = 2; x < 11; ++x) {
            const COLORREF p = screenPixel(check, x, y);
            if (GetBValue(p) > GetRValue(p) + 80) tick = true;
        }
    }
    EXPECT_TRUE(tick) << "a blue tick right after BM_SETCHECK";
}

TEST_F(ButtonTest, CaptionFollowsTheTextAndFocusIsRemembered) {
    HWND hwnd = window();
    HWND push = button(hwnd, BS_PUSHBUTTON);
    const int i = attach(hwnd);
    SetWindowTextW(push, L"新的文字");
    EXPECT_EQ(entryOf(i, push)->caption, L"新的文字");
    SendMessageW(push, WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(entryOf(i, push)->focused);
    SendMessageW(push, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(entryOf(i, push)->focused);
    EXPECT_EQ(SendMessageW(push, WM_NCPAINT, 1, 0), 1);
}

TEST_F(ButtonTest, WithoutSkinnedChildrenNoButtonIsTaken) {
    engine_->settings().skinChildren = false;
    HWND hwnd = window();
    HWND push = button(hwnd, BS_PUSHBUTTON);
    const int i = attach(hwnd);
    EXPECT_EQ(entryOf(i, push), nullptr);
    EXPECT_EQ(GetWindowLongW(push, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

// Many hover and repaint cycles of every kind: the live GDI and GDI+
// objects, the captured backgrounds and the process's GDI handles stay flat.
TEST_F(ButtonTest, NoObjectLeaksOverManyHoverAndRepaintCycles) {
    HWND hwnd = window(420, 320);
    HWND push = button(hwnd, BS_PUSHBUTTON, 20, 30, 100, 26);
    HWND box = child(hwnd, L"BUTTON", L"分组", BS_GROUPBOX, 140, 30, 160, 110);
    HWND check = button(box, BS_AUTOCHECKBOX, 10, 30, 120, 22);
    HWND radio = button(box, BS_AUTORADIOBUTTON, 10, 60, 120, 22);
    const int i = attach(hwnd);
    ASSERT_GT(i, 0);
    const int k = engine_->SkinContainer(box, true, GetSysColor(COLOR_BTNFACE), 0);
    ASSERT_GT(k, 0);
    settle(hwnd);
    const HWND hovered[] = {push, check, radio};
    auto cycle = [&](int n) {
        if (n % 4 == 3) {
            if ((n / 4) % 2) {
                skin::ComposeContainer(*engine_, i, k, nullptr);
            } else {
                skin::PresentContainer(*engine_, i, k, box, nullptr);
            }
            return;
        }
        HWND control = hovered[n % 4];
        SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        SendMessageW(control, WM_MOUSELEAVE, 0, 0);
        if (n % 50 == 0) {
            InvalidateRect(control, nullptr, FALSE);
            UpdateWindow(control);
        }
    };
    for (int n = 0; n < 40; ++n) cycle(n);  // warm-up: caches of the system
    pumpMessages();
    const skin::LiveObjects live = skin::liveObjects();
    const DWORD gdiHandles = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const long paints = buttonPaints();
    constexpr int kCycles = 10000;
    for (int n = 0; n < kCycles; ++n) {
        cycle(n);
        if (n % 500 == 0) pumpMessages();
    }
    pumpMessages();
    EXPECT_GE(buttonPaints() - paints, kCycles / 4 * 3 * 2) << "every hover and leave painted";
    EXPECT_EQ(skin::liveObjects().gdiplus, live.gdiplus);
    EXPECT_EQ(skin::liveObjects().gdi, live.gdi);
    EXPECT_EQ(skin::liveObjects().dcs, live.dcs);
    EXPECT_EQ(skin::capturedBackgrounds(), 0);
    // Wine may answer 0; where it counts, the count stays put.
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiHandles + 5);
}

}  // namespace
