// The result view of one run to servers: a window of its own per run, with
// the report in a read-only text box the user can select and copy from
// (Ctrl+A selects all), a button that copies everything, and 关闭.
#pragma once

#include <windows.h>

#include <string_view>

namespace ui {

// Creates and shows the view, owned by `owner` (which stays usable).
HWND showRunResult(HWND owner, std::string_view report);

inline constexpr wchar_t kRunResultClass[] = L"RPGitemRunResult";
inline constexpr int kRunResultTextId = 101;
inline constexpr int kRunResultCopyId = 102;

}  // namespace ui
