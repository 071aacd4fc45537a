// The container tint in a captured background: over a backdrop that a
// window provides itself (the nearest enabled container between gives it),
// and the group-box outline as its shape only for real group boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/painting_kit.h"
#include "skin/window_registry.h"
#include "tests/win32/skin_control_fixture.h"

namespace {

using BackdropTintTest = SkinControlTest;

constexpr COLORREF kProvided = RGB(0, 200, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// `over` laid on `under` at `alpha`.
COLORREF blend(COLORREF over, COLORREF under, int alpha) {
    auto mix = [alpha](int o, int u) { return (o * alpha + u * (255 - alpha)) / 255; };
    return RGB(mix(GetRValue(over), GetRValue(under)), mix(GetGValue(over), GetGValue(under)),
               mix(GetBValue(over), GetBValue(under)));
}

bool closeTo(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 3 && std::abs(GetGValue(a) - GetGValue(b)) <= 3 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 3;
}

// A pixel of the background captured for the whole client area of `control`.
COLORREF capturedPixel(HWND control, int x, int y) {
    RECT client;
    GetClientRect(control, &client);
    const skin::CapturedBackground capture(control, client);
    return GetPixel(capture.dc(), x, y);
}

// A child window that provides its own backdrop: one flat colour.
class ProvidingPanel {
public:
    explicit ProvidingPanel(HWND panel) : panel_(panel) {
        RECT r;
        GetWindowRect(panel, &r);
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH fill = CreateSolidBrush(kProvided);
        const RECT all{0, 0, r.right - r.left, r.bottom - r.top};
        FillRect(dc_, &all, fill);
        DeleteObject(fill);
        skin::setIndexProperty(panel, skin::kPropProvides, 1);
        SetPropW(panel, skin::kPropBackdropDC, dc_);
    }
    ~ProvidingPanel() {
        RemovePropW(panel_, skin::kPropProvides);
        RemovePropW(panel_, skin::kPropBackdropDC);
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    ProvidingPanel(const ProvidingPanel&) = delete;
    ProvidingPanel& operator=(const ProvidingPanel&) = delete;

private:
    HWND panel_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

TEST_F(BackdropTintTest, OverAProvidedBackdropTheNearestEnabledContainerTints) {
    struct Case {
        const char* name;
        bool outerEnabled;    // blue at alpha 128, inside the panel
        bool innerContainer;  // red at alpha 200, disabled, inside the outer one
        bool tinted;          // blue expected over the provided green
    };
    const Case cases[] = {
        {"inside an enabled container", true, false, true},
        {"a disabled container between is passed over", true, true, true},
        {"no enabled container between", false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hwnd = window();
        const int i = attach(hwnd);
        ASSERT_GT(i, 0);
        HWND panel = child(hwnd, L"STATIC", L"", 0, 20, 40, 360, 240);
        const ProvidingPanel provides(panel);
        HWND outer = child(panel, L"STATIC", L"", 0, 10, 10, 300, 200);
        ASSERT_GT(engine_->SkinContainer(outer, c.outerEnabled, kBlue, 128), 0);
        EXPECT_EQ(reinterpret_cast<HWND>(GetPropW(outer, skin::kPropProvider)), panel);
        HWND parent = outer;
        if (c.innerContainer) {
            parent = child(outer, L"STATIC", L"", 0, 10, 10, 250, 150);
            ASSERT_GT(engine_->SkinContainer(parent, false, kRed, 200), 0);
        }
        HWND control = child(parent, L"STATIC", L"", 0, 20, 20, 80, 30);
        const COLORREF expected = c.tinted ? blend(kBlue, kProvided, 128) : kProvided;
        for (const POINT p : {POINT{0, 0}, POINT{40, 15}, POINT{79, 29}}) {
            const COLORREF seen = capturedPixel(control, p.x, p.y);
            EXPECT_TRUE(closeTo(seen, expected)) << std::hex << seen << " at " << std::dec << p.x << "," << p.y;
        }
        // A container over the provided backdrop lays its own tint over all of itself.
        const COLORREF outerCorner = capturedPixel(outer, 0, 0);
        EXPECT_TRUE(closeTo(outerCorner, blend(kBlue, kProvided, 128))) << std::hex << outerCorner;
        DestroyWindow(hwnd);
        pumpMessages();
    }
}

TEST_F(BackdropTintTest, OnlyAGroupBoxLaysItsOwnTintWithinItsOutline) {
    struct Case {
        const char* name;
        DWORD style;
        bool outlineShape;
    };
    const Case cases[] = {
        {"group box", BS_GROUPBOX, true},
        {"push button holding controls", BS_PUSHBUTTON, false},
        {"check box holding controls", BS_AUTOCHECKBOX, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hwnd = window();
        const int i = attach(hwnd);
        ASSERT_GT(i, 0);
        // Made after the window is attached: a container, not a skinned button.
        HWND box = child(hwnd, L"BUTTON", L"", c.style, 40, 40, 300, 200);
        ASSERT_GT(engine_->SkinContainer(box, true, kRed, 255), 0);
        EXPECT_EQ(capturedPixel(box, 150, 100), kRed) << "the middle is tinted";
        // Above the outline's top edge (y < 5) and in its rounded corner.
        for (const POINT p : {POINT{150, 2}, POINT{0, 5}, POINT{299, 199}}) {
            const COLORREF seen = capturedPixel(box, p.x, p.y);
            if (c.outlineShape) {
                EXPECT_NE(seen, kRed) << p.x << "," << p.y;
            } else {
                EXPECT_EQ(seen, kRed) << p.x << "," << p.y;
            }
        }
        DestroyWindow(hwnd);
        pumpMessages();
    }
}
