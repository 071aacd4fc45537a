#include "ui/startup_trace.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace ui {
namespace {

unsigned long long ticksOf(FILETIME time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The trace file, read once; empty when tracing is off.
const std::wstring& traceFile() {
    static const std::wstring file = [] {
        wchar_t path[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"RPGITEM_STARTUP_TRACE", path, MAX_PATH);
        return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
    }();
    return file;
}

}  // namespace

void startupMark(const char* what) {
    if (traceFile().empty()) return;
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    GetSystemTimePreciseAsFileTime(&now);
    const double ms = static_cast<double>(ticksOf(now) - ticksOf(created)) / 10000.0;
    if (FILE* out = _wfopen(traceFile().c_str(), L"a")) {
        std::fprintf(out, "%9.1f %s\n", ms, what);
        std::fclose(out);
    }
}

}  // namespace ui
