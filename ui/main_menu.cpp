#include "ui/main_menu.h"

#include <algorithm>

#include "skin/skin_engine.h"
#include "ui/editor_window.h"
#include "ui/item_files.h"
#include "ui/item_preview.h"
#include "ui/server_commands.h"
#include "ui/win_text.h"

namespace ui {

namespace {

void sendToServerCommand(EditorWindow& window) { runServerCommand(window, ServerCommand::SendToServers); }

void sendItemFilesCommand(EditorWindow& window) { runServerCommand(window, ServerCommand::SendItemFiles); }

void serverSettingsCommand(EditorWindow& window) { runServerCommand(window, ServerCommand::ServerSettings); }

void saveCommand(EditorWindow& window) { saveItem(window); }

void saveAsCommand(EditorWindow& window) { saveItemAs(window); }

constexpr MenuRow kRows[] = {
    {0xE201, "新建", 'N', FCONTROL, newItem},
    {0xE202, "打开…", 'O', FCONTROL, openItem},
    {0xE203, "保存", 'S', FCONTROL, saveCommand},
    {0xE204, "另存为…", 'S', FCONTROL | FSHIFT, saveAsCommand},
    {kMenuSeparator, ""},
    {0xE205, "从输出框导入", 'I', FCONTROL, importFromOutput},
    {kMenuSeparator, ""},
    {kRecentFilesItem, "（没有最近的文件）"},
    {kMenuSeparator, ""},
    {0xE206, "恢复上次关闭时的物品", 0, 0, recoverLastClosedItem},
    {0xE20A, "物品预览", VK_F2, 0, toggleItemPreview},
    {kMenuSeparator, ""},
    {0xE207, "发送到服务器", VK_F5, 0, sendToServerCommand},
    {0xE209, "发送多个物品到服务器…", 0, 0, sendItemFilesCommand},
    {0xE208, "服务器设置…", 0, 0, serverSettingsCommand},
};

std::wstring keyName(UINT key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    return L"?";
}

// "&1 D:\items\sword.ini": the number is the item's mnemonic.
std::wstring recentItemText(size_t index, const std::wstring& path) {
    std::wstring text = L"&" + std::to_wstring(index + 1) + L" ";
    for (wchar_t ch : path) text += ch == L'&' ? std::wstring(L"&&") : std::wstring(1, ch);
    return text;
}

void appendRecentFiles(HMENU menu, const MenuRow& row, const std::vector<std::wstring>& recentFiles) {
    if (recentFiles.empty()) {
        AppendMenuW(menu, MF_STRING | MF_GRAYED, kRecentFilesItem, wide(row.text).c_str());
        return;
    }
    const size_t count = std::min(recentFiles.size(), kMaxRecentFiles);
    for (size_t i = 0; i < count; ++i) {
        AppendMenuW(menu, MF_STRING, kFirstRecentFile + i, recentItemText(i, recentFiles[i]).c_str());
    }
}

// Where the menu's top right corner goes: under the 主菜单 button's right
// edge (the menu opens to the left, over the window), in screen coordinates.
POINT menuPlace(HWND hwnd) {
    POINT at;
    GetCursorPos(&at);
    skin::SkinEngine* engine = skin::SkinEngine::current();
    const skin::WindowRecord* r = engine ? engine->record(engine->registry().indexOf(hwnd)) : nullptr;
    if (!r) return at;
    for (const skin::ButtonGeometry& button : r->buttons) {
        if (button.kind != skin::kMainMenu) continue;
        at = {static_cast<LONG>(button.hit.x + button.hit.w), static_cast<LONG>(button.hit.y + button.hit.h)};
        ClientToScreen(hwnd, &at);
    }
    return at;
}

HACCEL accelerators() {
    // One table for the process: the rows never change.
    static const HACCEL table = [] {
        std::vector<ACCEL> keys;
        for (const MenuRow& row : kRows) {
            if (row.key)
                keys.push_back({static_cast<BYTE>(FVIRTKEY | row.modifiers), static_cast<WORD>(row.key),
                                static_cast<WORD>(row.id)});
        }
        return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
    }();
    return table;
}

}  // namespace

std::span<const MenuRow> mainMenuRows() { return kRows; }

std::wstring menuItemText(const MenuRow& row) {
    std::wstring text = wide(row.text);
    if (!row.key) return text;
    text += L"\t";
    if (row.modifiers & FCONTROL) text += L"Ctrl+";
    if (row.modifiers & FSHIFT) text += L"Shift+";
    if (row.modifiers & FALT) text += L"Alt+";
    return text + keyName(row.key);
}

HMENU buildMainMenu(const std::vector<std::wstring>& recentFiles) {
    HMENU menu = CreatePopupMenu();
    for (const MenuRow& row : kRows) {
        if (row.id == kMenuSeparator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (row.id == kRecentFilesItem) {
            appendRecentFiles(menu, row, recentFiles);
        } else {
            AppendMenuW(menu, MF_STRING, row.id, menuItemText(row).c_str());
        }
    }
    return menu;
}

void openMainMenu(EditorWindow& window) {
    HMENU menu = buildMainMenu(window.itemFiles().recentFiles);
    const POINT at = menuPlace(window.hwnd());
    // The chosen item arrives as WM_COMMAND once the menu has closed.
    TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, window.hwnd(), nullptr);
    DestroyMenu(menu);
}

bool runMainMenuItem(EditorWindow& window, UINT id) {
    if (id >= kFirstRecentFile && id < kFirstRecentFile + kMaxRecentFiles) {
        openRecentFile(window, id - kFirstRecentFile);
        return true;
    }
    for (const MenuRow& row : kRows) {
        if (row.id == id && row.run) {
            row.run(window);
            return true;
        }
    }
    return false;
}

bool translateMainMenuKeys(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    // The preview's keys are the main window's.
    if (top && isItemPreviewWindow(top)) top = GetWindow(top, GW_OWNER);
    return top && EditorWindow::fromHandle(top) && TranslateAcceleratorW(top, accelerators(), &msg);
}

}  // namespace ui
