// Timings of the skin on the real main window under Wine: a full surface
// composition of 1069 x 671 (with and without presenting), one
// caption-button fade step, one push-button repaint, check-box and
// radio-button repaints, one group-box composition, an edit box's border and
// a combo box, and one repaint of each common-control kind on the gallery
// window. Prints medians; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/bench_clock.h"
#include "skin/buttons.h"
#include "skin/combo_boxes.h"
#include "skin/containers.h"
#include "skin/control_borders.h"
#include "skin/control_fonts.h"
#include "skin/control_kinds.h"
#include "skin/edit_boxes.h"
#include "skin/framed_controls.h"
#include "skin/headers.h"
#include "skin/other_controls.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"
#include "skin/track_bars.h"
#include "skin/up_downs.h"
#include "tests/win32/gallery_window.h"
#include "ui/editor_window.h"

using namespace ui;

namespace {

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Prints the median and returns it.
template <typename Step>
double report(const char* name, int rounds, Step step) {
    std::vector<double> samples;
    for (int n = 0; n < rounds; ++n) {
        const double t0 = nowMs();
        step(n);
        samples.push_back(nowMs() - t0);
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%s rounds=%d median_ms=%.3f p90_ms=%.3f max_ms=%.3f\n", name, rounds, samples[samples.size() / 2],
                samples[samples.size() * 9 / 10], samples.back());
    return samples[samples.size() / 2];
}

// Where a composition's time goes: each of its layers drawn on a canvas of
// the surface's size.
void composeBreakdown(skin::SkinEngine& engine, int i) {
    skin::WindowRecord& r = *engine.record(i);
    RECT client;
    GetClientRect(r.hwnd, &client);
    skin::MemoryCanvas canvas;
    canvas.select(skin::createMemoryBitmap(client.right, client.bottom));
    skin::Graphics g = skin::graphicsOn(canvas.dc());
    report("  layer_background", 50, [&](int) { engine.DrawBackground(g.get(), i); });
    report("  layer_border", 50, [&](int) { engine.DrawBorder(i, g.get()); });
    report("  layer_title", 50, [&](int) { engine.DrawTitle(i, g.get(), true); });
    report("  layer_caption_buttons", 50, [&](int) {
        for (int n = 1; n <= static_cast<int>(r.buttons.size()); ++n)
            engine.DrawCaptionButton(i, n, g.get(), true, false, 0);
    });
    report("  new_surface_bitmap", 50, [&](int) {
        skin::MemoryCanvas fresh;
        fresh.select(skin::createMemoryBitmap(client.right, client.bottom));
    });
}

// One repaint of each common-control kind on the gallery window.
void benchCommonControls() {
    auto gallery = GalleryWindow::create();
    if (!gallery) return;
    pump();
    const int i = gallery->index;
    skin::WindowRecord& r = *skin::SkinEngine::current()->record(i);
    const auto index = [](HWND control) { return skin::indexProperty(control, skin::kPropIndex); };
    const int track = index(gallery->trackSelection), header = index(gallery->listHeader);
    const int progress = index(gallery->progressHorizontal), upDown = index(gallery->upDownVertical);
    report("track_bar_repaint_200x40", 2000, [&](int n) {
        r.trackBarEntries[static_cast<size_t>(track - 1)].hot = n & 1;
        skin::DrawTrackBar(i, track);
    });
    report("header_repaint_3_columns", 2000, [&](int) { skin::DrawHeader(i, header, nullptr); });
    report("progress_repaint_200x18", 2000, [&](int) { skin::DrawProgressBar(i, progress); });
    report("up_down_repaint_18x22", 2000,
           [&](int n) { skin::DrawUpDown(i, upDown, true, false, MAKELPARAM(4, n % 22)); });
    report("month_calendar_repaint", 300, [&](int) {
        InvalidateRect(gallery->monthCalendar, nullptr, FALSE);
        UpdateWindow(gallery->monthCalendar);
    });
    report("tab_control_repaint", 300, [&](int) {
        InvalidateRect(gallery->tab, nullptr, FALSE);
        UpdateWindow(gallery->tab);
    });
    const skin::ButtonEntry& four = r.buttonEntries[static_cast<size_t>(index(gallery->fourPictureButton) - 1)];
    RECT rect;
    GetClientRect(gallery->fourPictureButton, &rect);
    HDC dc = GetDC(gallery->fourPictureButton);
    report("four_picture_button_paint_hot", 2000,
           [&](int) { skin::PaintPictureButton(four, gallery->fourPictureButton, dc, 64, rect); });
    ReleaseDC(gallery->fourPictureButton, dc);
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
    const double compose = report("compose_1069x671", 200, [&](int) { engine.ComposeWindow(i, nullptr, false); });
    // As after a size change: the background picture is scaled again.
    report("compose_1069x671_new_size", 100, [&](int) {
        r->scaledBackground = {};
        r->frameLayer.reset();
        engine.ComposeWindow(i, nullptr, false);
    });
    report("compose_and_present_1069x671", 100, [&](int) { engine.ComposeWindow(i, nullptr, true); });
    const double present = report("present_1069x671", 200, [&](int) { engine.PresentWindow(i, nullptr); });
    std::printf("ratio_compose_to_present=%.1f (goal <= 3)\n", compose / present);
    composeBreakdown(engine, i);
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
    // Skinned controls: the first of each button kind, and a group box.
    HWND kinds[3] = {};
    for (const skin::ButtonEntry& e : r->buttonEntries) {
        if (e.kind == skin::kPushButton && !kinds[0]) kinds[0] = e.hwnd;
        if (e.kind == skin::kCheckBox && !kinds[1]) kinds[1] = e.hwnd;
        if (e.kind == skin::kRadioButton && !kinds[2]) kinds[2] = e.hwnd;
    }
    const char* names[3] = {"repaint_push_button", "repaint_check_box", "repaint_radio_button"};
    for (int k = 0; k < 3; ++k) {
        if (!kinds[k]) continue;
        RECT rc;
        GetClientRect(kinds[k], &rc);
        std::printf("%s size %ldx%ld\n", names[k], rc.right, rc.bottom);
        report(names[k], 1000, [&](int n) { skin::RepaintButton(kinds[k], 0, n % 2 == 0); });
    }
    if (!r->containerEntries.empty()) {
        RECT rc;
        GetClientRect(r->containerEntries[0].hwnd, &rc);
        std::printf("group box size %ldx%ld\n", rc.right, rc.bottom);
        report("compose_group_box", 1000, [&](int) { skin::ComposeContainer(engine, i, 1, nullptr); });
    }
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
    pump();
    benchCommonControls();
    OleUninitialize();
    return 0;
}
