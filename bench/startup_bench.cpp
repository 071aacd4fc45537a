// Start-up: from process creation to the first complete paint of the main
// window (the program waiting for input with every paint done), the editor
// against a bare Win32 window program, launched in turn in the same run;
// medians of 9 launches each (RPGITEM_STARTUP_ROUNDS to change). A third
// program, bare_controls, makes the same controls unskinned: the platform's
// own cost of such a window, printed beside the goal as the floor.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_clock.h"

namespace {

// The program's folder, where the benchmark's siblings are.
std::wstring besideMe(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK noteShownWindow(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == s->processId && IsWindowVisible(hwnd)) s->found = true;
    return !s->found;
}

// Whether the process shows a top-level window.
bool showsWindow(DWORD processId) {
    WindowSearch search{processId, false};
    EnumWindows(noteShownWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Milliseconds from CreateProcess to the program's first idle wait for
// input: its message queue is empty for the first time, so every window
// that was invalid (the main window and each control in it) has had its
// WM_PAINT; the program is then ended. Only a run where the program is
// still alive and shows its window counts: an ended process also satisfies
// the wait, and an idle wait before the window is made would end it early.
double firstPaintMs(const std::wstring& program) {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const double start = nowMs();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    const DWORD waited = WaitForInputIdle(process.hProcess, 20000);
    const double elapsed = nowMs() - start;
    const bool complete =
        waited == 0 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && showsWindow(process.dwProcessId);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return complete ? elapsed : -1;
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

}  // namespace

// Arguments: other builds of the editor (paths) to measure in the same
// rounds, e.g. an earlier one for a before-and-after comparison.
int wmain(int argc, wchar_t** argv) {
    // RPGITEM_STARTUP_ROUNDS: more launches where the machine is noisy.
    const char* asked = std::getenv("RPGITEM_STARTUP_ROUNDS");
    const int rounds = asked && std::atoi(asked) > 0 ? std::atoi(asked) : 9;
    std::vector<std::wstring> programs = {besideMe(L"bare_window.exe"), besideMe(L"rpgitem-editor.exe"),
                                          besideMe(L"bare_controls.exe")};
    for (int n = 1; n < argc; ++n) programs.emplace_back(argv[n]);
    std::vector<std::vector<double>> samples(programs.size());
    // One launch of each first, not counted: the first program started after
    // a while can go idle before its window exists while Wine warms up.
    for (const std::wstring& program : programs) firstPaintMs(program);
    for (int round = 0; round < rounds; ++round) {  // in turn, so that all see the same machine
        for (size_t p = 0; p < programs.size(); ++p) samples[p].push_back(firstPaintMs(programs[p]));
    }
    int failures = 0;
    for (size_t p = 0; p < programs.size(); ++p) {
        const auto failed = std::count_if(samples[p].begin(), samples[p].end(), [](double ms) { return ms < 0; });
        if (failed)
            std::printf("first_paint_ms: %ls: %d runs without a complete first paint\n", programs[p].c_str(),
                        static_cast<int>(failed));
        failures += static_cast<int>(failed);
    }
    if (failures) return 1;
    const double bare = median(samples[0]), editor = median(samples[1]), controls = median(samples[2]);
    std::printf("first_paint_ms editor=%.1f bare_window=%.1f ratio=%.2f\n", editor, bare, editor / bare);
    std::printf("first_paint_ms bare_controls=%.1f ratio=%.2f (the same controls unskinned)\n", controls,
                controls / bare);
    std::printf("editor/bare_controls=%.2f (goal <= 1.5)\n", editor / controls);
    for (size_t p = 3; p < programs.size(); ++p) {
        const double other = median(samples[p]);
        std::printf("first_paint_ms %ls=%.1f ratio=%.2f\n", programs[p].c_str(), other, other / bare);
    }
    return 0;
}
