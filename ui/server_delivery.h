// 发送到服务器 (F5): sends the output box's lines to every enabled server of
// the servers file at once, off the interface thread. A progress window
// shows servers and lines done and cancels with its button or Esc; at the end
// a result view opens for the run. One run at a time: F5 during a run brings
// its progress window forward.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "bridge/rcon_session.h"

namespace ui {

class EditorWindow;

void sendToServers(EditorWindow& window);
// 发送多个物品到服务器…: item files chosen in one open dialog, read first
// (those that cannot be are listed and skipped), then sent file after file,
// each to every enabled server at once, in one run with one result view.
void sendItemFilesToServers(EditorWindow& window);

bool serverRunInProgress();
// The progress window of the run in progress, or nullptr.
HWND serverRunProgressWindow();
// The result view the last finished run opened, or nullptr.
HWND lastRunResultView();

// A new connection for a run or a connection test: Winsock's, or the test's.
std::unique_ptr<bridge::RconTransport> makeRconTransport();

// Test seam: runs and connection tests use transports made by `factory` (an
// empty one puts the Winsock transport back).
void useRconTransportsForTesting(std::function<std::unique_ptr<bridge::RconTransport>()> factory);

inline constexpr wchar_t kSendProgressClass[] = L"RPGitemSendProgress";
inline constexpr int kSendProgressTextId = 201;
inline constexpr int kSendProgressBarId = 202;

// Messages of a run that cannot start.
inline constexpr std::string_view kNoServersMessage =
    "『Qelvo』还没有配置服务器！请在主菜单「服务器设置…」中添加服务器，"
    "或按说明编写 %APPDATA%\\RPGitemEditor\\servers.ini。";
inline constexpr std::string_view kNoEnabledServerMessage =
    "『Qelvo』没有启用的服务器！请在主菜单「服务器设置…」中启用至少一台服务器。";
inline constexpr std::string_view kNothingToSendMessage = "『Qelvo』输出框中没有可发送的指令！";

}  // namespace ui
