// A plain test window whose controls are created before it is attached to
// the skin, with the veil on, a flat grey surface and a red theme colour so
// that border pixels can be told apart; the engine's settings come back
// after each test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "skin/skin_engine.h"
#include "tests/win32/test_window.h"
#include "tests/win32/window_fixture.h"

namespace skin_test {

inline constexpr wchar_t kControlTestClass[] = L"RPGitemSkinVeilTestWindow";
inline constexpr COLORREF kTheme = 0x000000FF;  // red
inline constexpr COLORREF kBase = 0x00505050;

// What the test window's own procedure saw of owner-drawn items.
struct DrawItemLog {
    int count = 0;
    DWORD lastDcType = 0;
};
inline DrawItemLog& drawItemLog() {
    static DrawItemLog log;
    return log;
}

inline LRESULT CALLBACK controlTestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        ++drawItemLog().count;
        drawItemLog().lastDcType = GetObjectType(item->hDC);
        return TRUE;
    }
    if (msg == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class SkinControlTest : public testing::Test {
public:
    static HWND addControl(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                           const wchar_t* text = L"") {
        return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }

protected:
    void SetUp() override {
        engine_ = skin::SkinEngine::current();
        ASSERT_TRUE(engine_);
        const skin::SkinSettings& s = engine_->settings();
        saved_.pictureBytes = s.themePicture.bytes;
        saved_.baseColour = s.baseColour;
        saved_.themeColour = s.themeColour;
        saved_.pictureMode = s.pictureMode;
        savedVeil_ = s.veilEnabled;
        savedAlpha_ = s.veilAlpha;
        skin::ThemeArgs flat;
        flat.baseColour = kBase;
        flat.themeColour = kTheme;
        engine_->SetTheme(flat);
        engine_->SetOptions(true, 100);
        drawItemLog() = {};
    }
    void TearDown() override {
        for (HWND hwnd : windows_) {
            if (IsWindow(hwnd)) DestroyWindow(hwnd);
        }
        pumpMessages();
        engine_->SetTheme(saved_);
        engine_->SetOptions(true, savedVeil_ ? std::optional<int>(savedAlpha_) : std::nullopt);
    }

    HWND createWindow(int width = 420, int height = 320) {
        HWND hwnd = createTopLevelTestWindow(kControlTestClass, controlTestProc, L"控件测试",
                                             WS_POPUP | WS_CLIPCHILDREN, 60, 60, width, height);
        windows_.push_back(hwnd);
        return hwnd;
    }
    // Attaches and shows the window; its index.
    int attach(HWND hwnd) {
        EXPECT_TRUE(engine_->AttachWindow(hwnd, 25));
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pumpMessages();
        return engine_->registry().indexOf(hwnd);
    }
    skin::WindowRecord& rec(int i) { return *engine_->record(i); }

    static COLORREF windowPixel(HWND hwnd, int x, int y) {
        HDC dc = GetWindowDC(hwnd);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(hwnd, dc);
        return c;
    }
    static SIZE windowSize(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    // The top-level window's surface pixel under the control's window
    // coordinates (x, y).
    COLORREF surfaceUnder(HWND control, int x, int y) {
        HWND top = GetAncestor(control, GA_ROOT);
        const skin::WindowRecord* r = engine_->record(engine_->registry().indexOf(top));
        if (!r || !r->surface.dc()) return CLR_INVALID;
        RECT window;
        GetWindowRect(control, &window);
        POINT origin{0, 0};
        ClientToScreen(top, &origin);
        return GetPixel(r->surface.dc(), window.left - origin.x + x, window.top - origin.y + y);
    }
    static COLORREF veiled(COLORREF c, int alpha = 100) {
        auto mix = [alpha](int v) { return v + (255 - v) * alpha / 255; };
        return RGB(mix(GetRValue(c)), mix(GetGValue(c)), mix(GetBValue(c)));
    }
    static bool similar(COLORREF a, COLORREF b, int tolerance = 4) {
        return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
               std::abs(GetGValue(a) - GetGValue(b)) <= tolerance && std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
    }
    // Red (the theme colour) dominates.
    static bool themed(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110; }
    static int brightness(COLORREF c) { return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3; }

    skin::SkinEngine* engine_ = nullptr;
    skin::ThemeArgs saved_;
    bool savedVeil_ = false;
    int savedAlpha_ = 160;
    std::vector<HWND> windows_;
};

}  // namespace skin_test
