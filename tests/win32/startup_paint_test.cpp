// Start-up paints each window once: the main window's first complete paint
// (created, skinned, shown and painted as the program does, then every
// message handled) sends one WM_PAINT to each visible control and to the
// window itself, nothing drawn a second time.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/win32/window_fixture.h"
#include "ui/win_text.h"

namespace {

std::map<HWND, int> g_paints;

// WM_PAINT reaches a window two ways: sent while the window is updated at
// once (UpdateWindow), or taken from the queue and dispatched.
LRESULT CALLBACK countSentPaints(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_PAINT) ++g_paints[sent->hwnd];
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK countQueuedPaints(int code, WPARAM wParam, LPARAM lParam) {
    const auto* queued = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && queued->message == WM_PAINT) ++g_paints[queued->hwnd];
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string describe(HWND hwnd) {
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    return ui::utf8(className) + " 「" + ui::utf8(ui::windowTextW(hwnd)) + "」 id " +
           std::to_string(GetDlgCtrlID(hwnd));
}

// Each visible child painted once; counts the visible ones in *lParam.
BOOL CALLBACK checkPaintedOnce(HWND child, LPARAM lParam) {
    if (!IsWindowVisible(child)) return TRUE;
    ++*reinterpret_cast<int*>(lParam);
    EXPECT_EQ(g_paints[child], 1) << describe(child);
    return TRUE;
}

TEST(StartupPaint, EachWindowIsPaintedOnceUntilTheProgramWaitsForInput) {
    g_paints.clear();
    HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, countSentPaints, nullptr, GetCurrentThreadId());
    HHOOK queued = SetWindowsHookExW(WH_GETMESSAGE, countQueuedPaints, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(sent && queued);
    auto window = ui::EditorWindow::create(GetModuleHandleW(nullptr), {.show = true, .quitOnClose = false});
    ASSERT_TRUE(window);
    pumpMessages(300);
    UnhookWindowsHookEx(sent);
    UnhookWindowsHookEx(queued);

    HWND main = window->hwnd();
    EXPECT_EQ(g_paints[main], 1) << "the main window";
    int visible = 0;
    EnumChildWindows(main, checkPaintedOnce, reinterpret_cast<LPARAM>(&visible));
    EXPECT_GT(visible, 100) << "the layout's controls are shown";
    window.reset();
}

}  // namespace
