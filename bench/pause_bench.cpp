// How long the delivery's 300 ms waits really last: pumpingDelay(300) timed
// with the performance counter, idle and with a busy message queue (a 10 ms
// timer and posted messages), overshoot reported as median and maximum.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/bench_clock.h"
#include "bridge/win32_game_platform.h"

namespace {

constexpr int kDelayMs = 300;
constexpr int kRounds = 20;

LRESULT CALLBACK busyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER || msg == WM_APP) return 0;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void measure(const char* label, HWND busy) {
    std::vector<double> overshoot;
    for (int i = 0; i < kRounds; ++i) {
        if (busy) {
            for (int m = 0; m < 50; ++m) PostMessageW(busy, WM_APP, 0, 0);
        }
        const double start = nowMs();
        bridge::pumpingDelay(kDelayMs);
        overshoot.push_back(nowMs() - start - kDelayMs);
    }
    std::sort(overshoot.begin(), overshoot.end());
    std::printf("pumping_delay_%d %s rounds=%d overshoot_ms min=%.2f median=%.2f max=%.2f\n", kDelayMs, label, kRounds,
                overshoot.front(), overshoot[overshoot.size() / 2], overshoot.back());
}

}  // namespace

int main() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = busyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PauseBenchBusy";
    RegisterClassW(&wc);
    HWND busy = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    measure("idle", nullptr);
    SetTimer(busy, 1, 10, nullptr);
    measure("busy_queue", busy);
    KillTimer(busy, 1);
    DestroyWindow(busy);
    return 0;
}
