#include "ui/application.h"

#include <objidl.h>
#include <gdiplus.h>
#include <ole2.h>

#include "skin/skin_engine.h"
#include "ui/editor_window.h"
#include "ui/item_files.h"
#include "ui/keyboard_navigation.h"
#include "ui/main_menu.h"
#include "ui/server_commands.h"
#include "ui/startup_trace.h"
#include "ui/tool_window.h"

namespace ui {

OleSession::OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}

OleSession::~OleSession() {
    if (ok_) OleUninitialize();
}

void processMessage(MSG& msg) {
    if (translateMainMenuKeys(msg) || moveFocusOnTab(msg) || translateToolWindowKeys(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int runApplication(HINSTANCE instance) {
    startupMark("entered");
    OleSession ole;
    startupMark("OLE started");
    // The skin engine starts GDI+; it exists before the window and goes after it.
    skin::SkinEngine skin;
    startupMark("GDI+ started");
    auto window = EditorWindow::create(instance, {});
    if (!window) {
        MessageBoxW(nullptr, L"主窗口创建失败。", L"信息：", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
        return 1;
    }
    installServerCommands(*window);
    openCommandLineFile(*window, GetCommandLineW());
    startupMark("message loop");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) processMessage(msg);
    window.reset();
    return static_cast<int>(msg.wParam);
}

}  // namespace ui
