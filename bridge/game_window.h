// Finding the game client: the first javaw.exe process of the process
// snapshot and the first visible top-level window of that process in Z
// order. Only the snapshot and the window enumeration are used; the process
// is never opened.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "bridge/lookup.h"

namespace bridge {

inline constexpr std::string_view kGameExecutable = "javaw.exe";

// findGameWindow's answer when no game process runs.
inline HWND noGameProcess() { return reinterpret_cast<HWND>(static_cast<INT_PTR>(-1)); }

// The id of the first process, in snapshot order, whose executable name
// matches (ignoring ASCII case unless `exactMatch`); 0 when there is none or
// the snapshot cannot be taken or read.
DWORD findProcessId(std::string_view exeName, bool exactMatch);

// Every top-level window, top of the Z order first, read afresh.
std::vector<WindowInfo> enumerateTopLevelWindows();

// The first visible top-level window of the process whose title and class
// contain the given parts where asked (see bridge::selectWindow); nullptr
// when there is none.
HWND findProcessWindow(DWORD processId, std::string_view titlePart, bool useTitle, std::string_view classPart,
                       bool useClass);

// The game's window: noGameProcess() without a game process, nullptr when
// the game shows no visible top-level window, otherwise its handle (a
// minimised window counts: it is still visible).
HWND findGameWindow();

}  // namespace bridge
