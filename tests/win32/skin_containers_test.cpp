// Containers and group boxes: registration, see-through painting and
// tint, caption placement, moving, the controls inside them, and the main
// window's twelve group boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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
#include "ui/control_events.h"
#include "ui/main_window_skin.h"

using namespace ui;

namespace {

using ContainerTest = SkinControlTest;

// The owner surface's pixel under a point of a container.
COLORREF surfaceUnder(skin::WindowRecord& r, HWND container, int x, int y) {
    POINT p{x, y};
    MapWindowPoints(container, r.hwnd, &p, 1);
    return GetPixel(r.surface.dc(), p.x, p.y);
}

TEST_F(ContainerTest, RegistersOnceAndHooksEveryControlOnce) {
    HWND hwnd = window();
    HWND outside = button(hwnd, BS_PUSHBUTTON, 10, 30, 80, 24);
    HWND box = child(hwnd, L"BUTTON", L"  ", BS_GROUPBOX, 110, 30, 280, 220);
    HWND push = button(box, BS_PUSHBUTTON, 10, 25, 80, 24);
    HWND check = button(box, BS_AUTOCHECKBOX, 10, 60, 120, 22);
    HWND radio = button(box, BS_AUTORADIOBUTTON, 10, 90, 120, 22);
    const int i = attach(hwnd);
    ASSERT_GT(i, 0);
    ASSERT_EQ(rec(i).buttonEntries.size(), 1u) << "only the button on the window is skinned by the attach";
    EXPECT_EQ(rec(i).buttonEntries[0].hwnd, outside);
    EXPECT_FALSE(GetPropW(box, skin::kPropPreviousProc)) << "a group box is not a push button";

    const int k = engine_->SkinContainer(box, true, GetSysColor(COLOR_BTNFACE), 0);
    ASSERT_EQ(k, 1);
    const skin::ContainerEntry& entry = rec(i).containerEntries[0];
    EXPECT_EQ(entry.hwnd, box);
    EXPECT_TRUE(entry.isGroupBox);
    EXPECT_TRUE(entry.enabled);
    EXPECT_EQ(entry.tint, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(entry.tintAlpha, 0);
    EXPECT_FALSE(entry.outline);
    EXPECT_EQ(entry.captionFamily, testFamily());
    EXPECT_FALSE(entry.captionFamily.empty());
    EXPECT_FLOAT_EQ(entry.captionSize, 12.0f);
    EXPECT_EQ(skin::indexProperty(box, skin::kPropIndex), 1);
    EXPECT_EQ(skin::indexProperty(box, skin::kPropOwnerIndex), i);
    EXPECT_EQ(GetPropW(box, skin::kPropProvider), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropW(box, skin::kPropPreviousProc)), entry.previous);
    EXPECT_EQ(GetWindowLongPtrW(box, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&skin::ContainerProc));
    const HWND inside[] = {push, check, radio};
    for (HWND control : inside) {
        ASSERT_TRUE(entryOf(i, control)) << "skinned through the container";
        EXPECT_EQ(skin::indexProperty(control, skin::kPropOwnerIndex), i);
    }
    EXPECT_EQ(entryOf(i, push)->kind, skin::kPushButton);
    EXPECT_EQ(entryOf(i, check)->kind, skin::kCheckBox);
    EXPECT_EQ(entryOf(i, radio)->kind, skin::kRadioButton);

    // Again: nothing changes, no control is hooked a second time.
    std::vector<LONG_PTR> procedures;
    for (HWND control : {outside, push, check, radio, box}) {
        procedures.push_back(GetWindowLongPtrW(control, GWLP_WNDPROC));
    }
    EXPECT_EQ(engine_->SkinContainer(box, false, 0x000000FF, 255, true), 1);
    EXPECT_FALSE(engine_->AttachWindow(hwnd, 25));
    EXPECT_EQ(rec(i).containerEntries.size(), 1u);
    EXPECT_EQ(rec(i).buttonEntries.size(), 4u);
    EXPECT_TRUE(rec(i).containerEntries[0].enabled) << "the first registration stands";
    EXPECT_EQ(rec(i).containerEntries[0].tintAlpha, 0);
    size_t n = 0;
    for (HWND control : {outside, push, check, radio, box}) {
        EXPECT_EQ(GetWindowLongPtrW(control, GWLP_WNDPROC), procedures[n++]);
    }
    // A click still works through the one subclass.
    SendMessageW(check, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(check, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ContainerTest, AContainerOutsideASkinnedWindowIsNotRegistered) {
    HWND hwnd = window();
    HWND box = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 10, 30, 200, 100);
    EXPECT_EQ(engine_->SkinContainer(box), 0);
    EXPECT_FALSE(GetPropW(box, skin::kPropPreviousProc));
    EXPECT_EQ(engine_->SkinContainer(nullptr), 0);
}

TEST_F(ContainerTest, TintAndAlphaDecideWhatShowsThrough) {
    struct Case {
        COLORREF tint;
        int alpha;
        bool seeThrough;
        const char* name;
    };
    const Case cases[] = {
        {0x00000000, 255, true, "tint colour 0 means no tint, whatever the alpha"},
        {0x000000FF, 0, true, "alpha 0 lets the surface through"},
        {GetSysColor(COLOR_BTNFACE), 0, true, "the main window's setting"},
        {0x000000FF, 255, false, "an opaque red tint"},
    };
    for (const Case& c : cases) {
        HWND hwnd = window();
        HWND box = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 40, 40, 300, 200);
        const int i = attach(hwnd);
        ASSERT_GT(i, 0);
        ASSERT_GT(engine_->SkinContainer(box, true, c.tint, c.alpha), 0);
        settle(hwnd);
        for (POINT p : {POINT{150, 100}, POINT{30, 40}, POINT{280, 180}}) {
            const COLORREF shown = screenPixel(box, p.x, p.y);
            if (c.seeThrough) {
                EXPECT_EQ(shown, surfaceUnder(rec(i), box, p.x, p.y)) << c.name;
            } else {
                EXPECT_EQ(shown, RGB(255, 0, 0)) << c.name;
            }
        }
        // The outline is drawn in any case: darker than the surface beneath.
        const COLORREF outline = screenPixel(box, 150, 5);
        if (c.seeThrough) {
            EXPECT_NE(outline, surfaceUnder(rec(i), box, 150, 5)) << c.name;
        }
    }
}

TEST_F(ContainerTest, CaptionGapSitsWhereTheAlignmentSays) {
    struct Case {
        DWORD align;
        const char* name;
    };
    const Case cases[] = {{BS_LEFT, "left"}, {BS_RIGHT, "right"}, {BS_CENTER, "centre"}, {0, "no alignment"}};
    constexpr int kWidth = 300;
    for (const Case& c : cases) {
        HWND hwnd = window();
        // Blanks: the gap in the outline is the whole caption rectangle.
        HWND box = child(hwnd, L"BUTTON", L"        ", BS_GROUPBOX | c.align, 40, 40, kWidth, 150);
        const int i = attach(hwnd);
        ASSERT_GT(engine_->SkinContainer(box, true, GetSysColor(COLOR_BTNFACE), 0), 0);
        settle(hwnd);
        // The top outline (row 5) is cleared where the caption stands.
        int first = -1, last = -1;
        for (int x = 8; x < kWidth - 8; ++x) {
            if (screenPixel(box, x, 5) == surfaceUnder(rec(i), box, x, 5)) {
                if (first < 0) first = x;
                last = x;
            }
        }
        ASSERT_GE(first, 0) << c.name << ": a gap in the outline";
        const int tw = last - first + 1;
        EXPECT_EQ(first, skin::groupBoxCaptionX(GetWindowLongW(box, GWL_STYLE), kWidth, tw)) << c.name;
    }
    // The rule itself.
    EXPECT_EQ(skin::groupBoxCaptionX(BS_LEFT, 300, 40), 10);
    EXPECT_EQ(skin::groupBoxCaptionX(BS_RIGHT, 300, 40), 250);
    EXPECT_EQ(skin::groupBoxCaptionX(BS_CENTER, 300, 40), 130);
    EXPECT_EQ(skin::groupBoxCaptionX(0, 300, 40), 250);
}

TEST_F(ContainerTest, AVisibleCaptionIsDrawnInTheTextColour) {
    HWND hwnd = window();
    HWND box = child(hwnd, L"BUTTON", L"标题", BS_GROUPBOX | BS_LEFT, 40, 40, 300, 150);
    const int i = attach(hwnd);
    ASSERT_GT(engine_->SkinContainer(box, true, GetSysColor(COLOR_BTNFACE), 0), 0);
    settle(hwnd);
    int dark = 0;
    for (int y = 1; y < 16; ++y) {
        for (int x = 10; x < 40; ++x) {
            const COLORREF p = screenPixel(box, x, y);
            if (GetRValue(p) < 90 && GetGValue(p) < 90 && GetBValue(p) < 90 && p != surfaceUnder(rec(i), box, x, y)) {
                ++dark;
            }
        }
    }
    EXPECT_GT(dark, 10) << "black glyphs right of x = 10";
}

TEST_F(ContainerTest, MovingInvalidatesUnlessTheTintIsOpaque) {
    struct Case {
        int alpha;
        bool invalidated;
    };
    const Case cases[] = {{255, false}, {0, true}, {128, true}};
    for (const Case& c : cases) {
        HWND hwnd = window();
        HWND box = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 40, 40, 200, 120);
        attach(hwnd);
        ASSERT_GT(engine_->SkinContainer(box, true, 0x000000FF, c.alpha), 0);
        settle(hwnd);
        ValidateRect(box, nullptr);
        SetWindowPos(box, nullptr, 50, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        SendMessageW(box, WM_MOVE, 0, MAKELPARAM(50, 45));
        RECT update{};
        EXPECT_EQ(GetUpdateRect(box, &update, FALSE) != 0, c.invalidated) << "alpha " << c.alpha;
    }
}

TEST_F(ContainerTest, SetContainerAlphaOnlyForATintedRegisteredContainer) {
    HWND hwnd = window();
    HWND tinted = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 10, 30, 180, 100);
    HWND plain = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 200, 30, 180, 100);
    HWND loose = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 10, 150, 180, 100);
    const int i = attach(hwnd);
    const int a = engine_->SkinContainer(tinted, true, 0x000000FF, 255);
    const int b = engine_->SkinContainer(plain, true, 0, 255);
    engine_->SetContainerAlpha(tinted, 60);
    engine_->SetContainerAlpha(plain, 60);
    engine_->SetContainerAlpha(loose, 60);
    EXPECT_EQ(rec(i).containerEntries[static_cast<size_t>(a - 1)].tintAlpha, 60);
    EXPECT_EQ(rec(i).containerEntries[static_cast<size_t>(b - 1)].tintAlpha, 255);
    EXPECT_FALSE(GetPropW(loose, skin::kPropPreviousProc));
}

TEST_F(ContainerTest, TransparentWindowsOverTheContainerDrawAgainAfterIt) {
    HWND hwnd = window();
    // A transparent label placed on the window above the group box, one
    // inside it, and one on the window elsewhere.
    HWND above = child(hwnd, L"STATIC", L"标题", 0, 50, 32, 80, 20, true, WS_EX_TRANSPARENT);
    HWND box = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 40, 40, 300, 200);
    HWND away = child(hwnd, L"STATIC", L"别处", 0, 350, 260, 60, 20, true, WS_EX_TRANSPARENT);
    HWND inside = child(box, L"STATIC", L"里面", 0, 20, 30, 60, 20, true, WS_EX_TRANSPARENT);
    const int i = attach(hwnd);
    const int k = engine_->SkinContainer(box, true, GetSysColor(COLOR_BTNFACE), 0);
    settle(hwnd);
    for (bool compose : {true, false}) {
        for (HWND label : {above, away, inside}) ValidateRect(label, nullptr);
        if (compose) {
            skin::ComposeContainer(*engine_, i, k, nullptr);
        } else {
            skin::PresentContainer(*engine_, i, k, box, nullptr);
        }
        RECT update{};
        EXPECT_TRUE(GetUpdateRect(above, &update, FALSE)) << "compose " << compose;
        EXPECT_TRUE(GetUpdateRect(inside, &update, FALSE)) << "compose " << compose;
        EXPECT_FALSE(GetUpdateRect(away, &update, FALSE)) << "compose " << compose;
    }
    EXPECT_FALSE(rec(i).containerEntries[0].dirty) << "composing clears the flag";
    SendMessageW(box, WM_SIZE, 0, MAKELPARAM(300, 200));
    EXPECT_TRUE(rec(i).containerEntries[0].dirty) << "a new size composes again";
}

TEST_F(ContainerTest, AnOwnerDrawnButtonInsideIsPaintedOncePerDrawItem) {
    HWND hwnd = window();
    HWND box = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 40, 40, 300, 200);
    // As the program does it: the box forwards its children's notices to the window.
    forwardChildNotifications(box);
    HWND push = button(box, BS_PUSHBUTTON, 20, 30, 100, 26);
    const int i = attach(hwnd);
    ASSERT_GT(engine_->SkinContainer(box, true, GetSysColor(COLOR_BTNFACE), 0), 0);
    settle(hwnd);
    ASSERT_TRUE(entryOf(i, push));
    const long before = skin::buttonPaints();
    InvalidateRect(push, nullptr, FALSE);
    UpdateWindow(push);
    EXPECT_EQ(skin::buttonPaints(), before + 1);
    // The owner-draw item reaches the skin's painter: its normal outline.
    EXPECT_NE(screenPixel(push, 50, 0), kTheme);
}

TEST_F(ContainerTest, ADisabledContainerIsLeftToItsOwnPainting) {
    HWND hwnd = window();
    HWND box = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 40, 40, 300, 200);
    HWND check = button(box, BS_AUTOCHECKBOX, 20, 30, 100, 22);
    const int i = attach(hwnd);
    ASSERT_GT(engine_->SkinContainer(box, false), 0);
    EXPECT_TRUE(entryOf(i, check)) << "its controls are skinned all the same";
    const long before = skin::containerPaints();
    settle(hwnd);
    EXPECT_EQ(skin::containerPaints(), before);
}

TEST_F(ContainerTest, ANewWindowSurfaceRepaintsTheContainersAndTheirControls) {
    HWND hwnd = window();
    HWND box = child(hwnd, L"BUTTON", L"", BS_GROUPBOX, 40, 40, 300, 200);
    HWND check = button(box, BS_AUTOCHECKBOX, 20, 30, 100, 22);
    const int i = attach(hwnd);
    ASSERT_GT(engine_->SkinContainer(box, true, GetSysColor(COLOR_BTNFACE), 0), 0);
    settle(hwnd);
    // As after the first size change any skinned window gets.
    const bool firstSize = std::exchange(engine_->settings().firstSizePending, false);
    ValidateRect(box, nullptr);
    ValidateRect(check, nullptr);
    engine_->ComposeWindow(i, nullptr, true);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(box, &update, FALSE)) << "the box copies the surface";
    EXPECT_TRUE(GetUpdateRect(check, &update, FALSE)) << "and so do the controls in it";
    const long before = skin::containerPaints();
    pumpMessages();
    EXPECT_GT(skin::containerPaints(), before);
    engine_->settings().firstSizePending = firstSize;
}

// ------------------------------------------------------------ main window

TEST_F(EditorWindowTest, MainWindowSkinsItsTwelveGroupBoxesInOrder) {
    skin::SkinEngine* engine = skin::SkinEngine::current();
    ASSERT_TRUE(engine);
    const int i = engine->registry().indexOf(window_->hwnd());
    skin::WindowRecord* r = engine->record(i);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->containerEntries.size(), 12u);
    for (size_t n = 0; n < 12; ++n) {
        const skin::ContainerEntry& e = r->containerEntries[n];
        HWND box = control(kGroupBoxes[n]);
        EXPECT_EQ(e.hwnd, box) << kGroupBoxes[n];
        EXPECT_TRUE(e.isGroupBox) << kGroupBoxes[n];
        EXPECT_TRUE(e.enabled);
        EXPECT_EQ(e.tint, GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(e.tintAlpha, 0);
        EXPECT_FALSE(e.outline);
        EXPECT_EQ(skin::indexProperty(box, skin::kPropIndex), static_cast<int>(n) + 1);
        // Every push button, check box and automatic radio button inside is
        // skinned, through this box.
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (skin::ClassNameOf(c) != L"Button") continue;
            const LONG style = GetWindowLongW(c, GWL_STYLE);
            bool listed = false;
            for (const auto& b : r->buttonEntries) listed = listed || b.hwnd == c;
            EXPECT_TRUE(listed) << kGroupBoxes[n];
            EXPECT_EQ(skin::indexProperty(c, skin::kPropOwnerIndex), i);
            const auto* entry = &r->buttonEntries[static_cast<size_t>(skin::indexProperty(c, skin::kPropIndex) - 1)];
            EXPECT_EQ(entry->hwnd, c);
            if (entry->kind == skin::kPushButton) {
                EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
            }
        }
    }
    // Controls directly on the window came through the attach: the buttons
    // below the output box.
    size_t direct = 0;
    for (const auto& b : r->buttonEntries) direct += GetParent(b.hwnd) == window_->hwnd();
    EXPECT_GT(direct, 0u);
    EXPECT_GT(r->buttonEntries.size(), direct) << "and the rest through the group boxes";
    // No control is listed twice.
    for (size_t a = 0; a < r->buttonEntries.size(); ++a) {
        for (size_t b = a + 1; b < r->buttonEntries.size(); ++b) {
            EXPECT_NE(r->buttonEntries[a].hwnd, r->buttonEntries[b].hwnd);
        }
    }
}

TEST_F(EditorWindowTest, MainWindowGroupBoxesAreSeeThroughAndButtonsPaintOnce) {
    skin::SkinEngine* engine = skin::SkinEngine::current();
    const int i = engine->registry().indexOf(window_->hwnd());
    skin::WindowRecord* r = engine->record(i);
    ASSERT_TRUE(r);
    RedrawWindow(window_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages(100);
    HWND box = control("分组框4");
    RECT rc;
    GetClientRect(box, &rc);
    // Right of the box's one button, inside its outline.
    const POINT probe{rc.right - 20, rc.bottom / 2};
    EXPECT_EQ(screenPixelOf(box, probe.x, probe.y), surfaceUnder(*r, box, probe.x, probe.y));
    // A push button inside a group box: one paint per WM_DRAWITEM, though
    // the box forwards its children's notices to the window.
    HWND add = nullptr;
    for (HWND c = GetWindow(box, GW_CHILD); c && !add; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) add = c;
    }
    ASSERT_TRUE(add);
    const long before = skin::buttonPaints();
    InvalidateRect(add, nullptr, FALSE);
    UpdateWindow(add);
    EXPECT_EQ(skin::buttonPaints(), before + 1);
}

}  // namespace
