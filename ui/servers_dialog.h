// 服务器设置…: the servers file as a list the user edits. Fields of the chosen
// server on the right; 添加 adds the fields as a new server, 修改 stores them
// into the chosen one, 删除 removes it, 测试连接 logs in with the fields and
// reports; 保存 writes the file (passwords protected, never plain) and
// closes, 取消 or Esc closes without writing.
#pragma once

#include <windows.h>

namespace ui {

// Modal: the owner is disabled until the dialog closes.
void openServersDialog(HWND owner);

// The dialog without its modal loop (tests drive it with messages).
HWND createServersDialog(HWND owner);

inline constexpr wchar_t kServersDialogClass[] = L"RPGitemServersDialog";
enum ServersDialogId : int {
    kServerListId = 301,
    kServerNameId,
    kServerHostId,
    kServerPortId,
    kServerPasswordId,
    kServerEncodingId,
    kServerTimeoutId,
    kServerEnabledId,
    kServerAddId,
    kServerUpdateId,
    kServerRemoveId,
    kServerTestId,
};

}  // namespace ui
