// Timings of the skin on the real main window under Wine: a full surface
// composition of 1069 x 671 (with and without presenting), one
// caption-button fade step, and one repaint of an edit box's border and of a
// combo box. Prints medians; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "skin/control_kit.h"
#include "skin/skin_engine.h"
#include "ui/editor_window.h"

namespace {

double nowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

template <typename Step>
void report(const char* name, int rounds, Step step) {
    std::vector<double> samples;
    for (int n = 0; n < rounds; ++n) {
        const double t0 = nowMs();
        step(n);
        samples.push_back(nowMs() - t0);
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%s rounds=%d median_ms=%.3f p90_ms=%.3f max_ms=%.3f\n", name, rounds, samples[samples.size() / 2],
                samples[samples.size() * 9 / 10], samples.back());
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    skin::SkinEngine engine;
    auto window = EditorWindow::create(GetModuleHandleW(nullptr), {.show = true, .quitOnClose = false});
    if (!window) return 1;
    pump();
    HWND hwnd = window->hwnd();
    const int i = engine.registry().indexOf(hwnd);
    skin::WindowRecord* r = engine.record(i);
    if (!r) return 2;
    RECT client;
    GetClientRect(hwnd, &client);
    std::printf("surface %ldx%ld, %zu caption buttons\n", client.right, client.bottom, r->buttons.size());
    report("compose_1069x671", 200, [&](int) { engine.ComposeWindow(i, nullptr, false); });
    report("compose_and_present_1069x671", 100, [&](int) { engine.ComposeWindow(i, nullptr, true); });
    report("present_1069x671", 200, [&](int) { engine.PresentWindow(i, nullptr); });
    // One fade step: one button redrawn hot at a new strength, onto the screen.
    report("fade_step_one_button", 1000,
           [&](int n) { engine.DrawCaptionButton(i, 1 + n % 5, nullptr, false, false, 30 * (1 + n % 8)); });
    // A timer tick while one button fades in and another out.
    const auto& one = r->buttons[0].hit;
    const auto& two = r->buttons[1].hit;
    report("timer_tick_two_fades", 400, [&](int n) {
        if (n % 8 == 0) {
            const auto& hit = (n / 8) % 2 ? one : two;
            SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<int>(hit.x) + 10, 10));
            SendMessageW(hwnd, WM_MOUSEHOVER, 0, 0);
        }
        SendMessageW(hwnd, WM_TIMER, reinterpret_cast<WPARAM>(hwnd), 0);
    });
    // The controls' painters, each onto the screen: the border ring of an
    // edit box (hot and resting in turn) and a whole combo box (editable
    // and drop-down list).
    HWND edit = window->control("编辑框2");
    HWND scrolledEdit = window->control("编辑框1");
    HWND combo = window->control("组合框4");
    HWND dropList = window->control("组合框_技能");
    if (edit && scrolledEdit && combo && dropList) {
        SendMessageW(dropList, CB_SETCURSEL, 0, 0);
        report("edit_border_repaint", 1000, [&](int n) { skin::PaintEditBorder(edit, false, n % 2 == 0); });
        report("edit_border_repaint_scroll_bars", 1000,
               [&](int n) { skin::PaintEditBorder(scrolledEdit, n % 3 == 0, n % 2 == 0); });
        report("combo_repaint", 1000, [&](int n) { skin::PaintComboBox(combo, n % 2 == 0, false); });
        report("combo_repaint_drop_list_with_text", 1000,
               [&](int n) { skin::PaintComboBox(dropList, n % 2 == 0, false); });
        // Through the skinned procedure of the output box: in and out again.
        report("edit_hover_enter_and_leave", 500, [&](int) {
            SendMessageW(scrolledEdit, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
            SendMessageW(scrolledEdit, WM_MOUSELEAVE, 0, 0);
        });
    }
    window.reset();
    OleUninitialize();
    return 0;
}
