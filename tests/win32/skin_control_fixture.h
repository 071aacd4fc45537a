// A plain test window with child controls, attached to the skin: the
// ground of the tests of skinned buttons and containers.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/handle_owners.h"
#include "skin/skin_engine.h"
#include "tests/win32/test_window.h"
#include "tests/win32/window_fixture.h"

// A pixel of a window as the screen shows it.
inline COLORREF screenPixelOf(HWND hwnd, int x, int y) {
    skin::WindowDC dc(hwnd);
    return GetPixel(dc.get(), x, y);
}

class SkinControlTest : public testing::Test {
protected:
    void SetUp() override {
        engine_ = skin::SkinEngine::current();
        ASSERT_TRUE(engine_);
        const auto& s = engine_->settings();
        saved_ = {s.skinChildren, s.veilEnabled, s.veilAlpha, s.themeColour};
        engine_->settings().skinChildren = true;
        engine_->settings().veilEnabled = true;
        engine_->settings().veilAlpha = 100;
        engine_->settings().themeColour = kTheme;
        font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
    }
    void TearDown() override {
        for (HWND hwnd : windows_) {
            if (IsWindow(hwnd)) DestroyWindow(hwnd);
        }
        pumpMessages();
        auto& s = engine_->settings();
        s.skinChildren = saved_.skinChildren;
        s.veilEnabled = saved_.veilEnabled;
        s.veilAlpha = saved_.veilAlpha;
        s.themeColour = saved_.themeColour;
    }

    static LRESULT CALLBACK testProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }

    // A top-level test window, not yet shown or attached.
    HWND window(int width = 420, int height = 320) {
        HWND hwnd = createTopLevelTestWindow(L"RPGitemSkinButtonTestWindow", testProc, L"控件测试",
                                             WS_POPUP | WS_MINIMIZEBOX, 40, 40, width, height);
        windows_.push_back(hwnd);
        return hwnd;
    }
    // A child control with the test font (unless `withFont` is false).
    HWND child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int w, int h,
               bool withFont = true, DWORD exStyle = 0) {
        HWND hwnd = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, w,
                                    h, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (withFont) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return hwnd;
    }
    HWND button(HWND parent, DWORD style, int x = 20, int y = 40, int w = 90, int h = 26,
                const wchar_t* text = L"按钮") {
        return child(parent, L"BUTTON", text, style, x, y, w, h);
    }
    // Attaches and shows the window; its index.
    int attach(HWND hwnd) {
        EXPECT_TRUE(engine_->AttachWindow(hwnd, 25));
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
        pumpMessages();
        return engine_->registry().indexOf(hwnd);
    }
    // The family name GDI+ gives the test font (宋体 or the face the
    // system puts in its place).
    std::wstring testFamily() const {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font_.get());
        Gdiplus::GpFont* font = nullptr;
        Gdiplus::DllExports::GdipCreateFontFromDC(dc, &font);
        SelectObject(dc, old);
        DeleteDC(dc);
        std::wstring name;
        Gdiplus::GpFontFamily* family = nullptr;
        if (font && Gdiplus::DllExports::GdipGetFamily(font, &family) == Gdiplus::Ok) {
            wchar_t buffer[LF_FACESIZE] = {};
            Gdiplus::DllExports::GdipGetFamilyName(family, buffer, LANG_NEUTRAL);
            name = buffer;
            Gdiplus::DllExports::GdipDeleteFontFamily(family);
        }
        if (font) Gdiplus::DllExports::GdipDeleteFont(font);
        return name;
    }
    skin::WindowRecord& rec(int i) { return *engine_->record(i); }
    skin::ButtonEntry* entryOf(int i, HWND control) {
        for (auto& e : rec(i).buttonEntries) {
            if (e.hwnd == control) return &e;
        }
        return nullptr;
    }
    static COLORREF screenPixel(HWND hwnd, int x, int y) { return screenPixelOf(hwnd, x, y); }
    // Lets every pending paint happen.
    static void settle(HWND hwnd) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pumpMessages();
    }

    static constexpr COLORREF kTheme = 0x00FF0000;  // pure blue: easy to tell in a probe

    skin::SkinEngine* engine_ = nullptr;
    struct Saved {
        bool skinChildren;
        bool veilEnabled;
        int veilAlpha;
        COLORREF themeColour;
    } saved_{};
    skin::GdiFont font_;
    std::vector<HWND> windows_;
};
