// Empties the process's own working set after the application is
// deactivated: a worker thread asks the system directly; nothing is written
// to disk and no other program is started. One worker runs at a time; a
// request that arrives while it runs makes it trim once more.
#include <windows.h>

#include <atomic>

#include "skin/skin_engine.h"

namespace skin {

namespace {

std::atomic<long> g_pending{0};
std::atomic<bool> g_running{false};
std::atomic<long> g_trims{0};

DWORD WINAPI trimmer(void*) {
    for (;;) {
        // One pass per deactivation, however many came in meanwhile.
        for (long n = g_pending.exchange(0); n > 0; --n) {
            SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
            ++g_trims;
        }
        g_running = false;
        // A request made between the last pass and the flag going down.
        if (g_pending.load() == 0 || g_running.exchange(true)) return 0;
    }
}

}  // namespace

void requestWorkingSetTrim() {
    ++g_pending;
    if (g_running.exchange(true)) return;  // the running worker picks it up
    HANDLE thread = CreateThread(nullptr, 0, trimmer, nullptr, 0, nullptr);
    if (thread) {
        CloseHandle(thread);
    } else {
        g_pending = 0;  // no worker: the request is dropped
        g_running = false;
    }
}

long workingSetTrims() { return g_trims.load(); }

bool waitForWorkingSetTrims(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (g_running.load() || g_pending.load() > 0) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(5);
    }
    return true;
}

}  // namespace skin
