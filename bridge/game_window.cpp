#include "bridge/game_window.h"

#include <tlhelp32.h>

#include <memory>

#include "editor/unicode.h"

namespace bridge {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using ScopedHandle = std::unique_ptr<void, HandleCloser>;

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM list) {
    WindowInfo info;
    info.handle = reinterpret_cast<WindowId>(hwnd);
    DWORD processId = 0;
    info.threadId = GetWindowThreadProcessId(hwnd, &processId);
    info.processId = processId;
    wchar_t title[256];
    title[GetWindowTextW(hwnd, title, 256)] = L'\0';
    info.title = editor::fromWide(title);
    wchar_t className[50];
    className[GetClassNameW(hwnd, className, 50)] = L'\0';
    info.className = editor::fromWide(className);
    reinterpret_cast<std::vector<WindowInfo>*>(list)->push_back(std::move(info));
    return TRUE;  // always on to the next window
}

}  // namespace

DWORD findProcessId(std::string_view exeName, bool exactMatch) {
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
        snapshot.release();
        return 0;
    }
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        entry.szExeFile[MAX_PATH - 1] = L'\0';
        if (processNameMatches(editor::fromWide(entry.szExeFile), exeName, exactMatch)) return entry.th32ProcessID;
    }
    return 0;
}

std::vector<WindowInfo> enumerateTopLevelWindows() {
    std::vector<WindowInfo> windows;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND findProcessWindow(DWORD processId, std::string_view titlePart, bool useTitle, std::string_view classPart,
                       bool useClass) {
    const std::vector<WindowInfo> windows = enumerateTopLevelWindows();
    const WindowId found = selectWindow(windows, {processId, titlePart, useTitle, classPart, useClass},
                                        [](WindowId w) { return IsWindowVisible(reinterpret_cast<HWND>(w)) != FALSE; });
    return reinterpret_cast<HWND>(found);
}

HWND findGameWindow() {
    const DWORD processId = findProcessId(kGameExecutable, false);
    if (processId == 0) return noGameProcess();
    return findProcessWindow(processId, "", false, "", false);
}

}  // namespace bridge
