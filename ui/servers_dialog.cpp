#include "ui/servers_dialog.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "bridge/rcon_runner.h"
#include "bridge/server_list.h"
#include "bridge/win32_rcon_platform.h"
#include "ui/application.h"
#include "ui/form_controls.h"
#include "ui/information_box.h"
#include "ui/server_delivery.h"
#include "ui/tool_window.h"
#include "ui/win_text.h"

namespace ui {

namespace {

constexpr UINT kTestFinishedMessage = WM_APP + 0x32;

struct DialogState {
    std::vector<bridge::ServerEntry> servers;
    std::unique_ptr<std::thread> test;
    std::atomic<bool> cancelTest{false};  // set when the dialog goes during a test
    bridge::RconResult testResult;
    std::string testedName;
    int shownIndex = -1;      // the server whose values the fields were filled with; -1: a new one
    std::string shownFields;  // the fields as they were filled, to see whether the user typed
};

DialogState* stateOf(HWND dialog) { return reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA)); }

std::string listLine(const bridge::ServerEntry& server) {
    const char* state = !server.problem.empty() ? "[有误] " : server.enabled ? "[启用] " : "[停用] ";
    return state + server.name + "  —  " + server.endpoint.host + ":" + std::to_string(server.endpoint.port);
}

void fillList(HWND dialog, int select) {
    HWND list = GetDlgItem(dialog, kServerListId);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const bridge::ServerEntry& server : stateOf(dialog)->servers) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(listLine(server)).c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, select, 0);
}

int selected(HWND dialog) {
    return static_cast<int>(SendMessageW(GetDlgItem(dialog, kServerListId), LB_GETCURSEL, 0, 0));
}

std::string field(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

void showEntry(HWND dialog, const bridge::ServerEntry& server) {
    setWindowText(GetDlgItem(dialog, kServerNameId), server.name);
    setWindowText(GetDlgItem(dialog, kServerHostId), server.endpoint.host);
    setWindowText(GetDlgItem(dialog, kServerPortId), std::to_string(server.endpoint.port));
    setWindowText(GetDlgItem(dialog, kServerPasswordId), server.endpoint.password);
    SendMessageW(GetDlgItem(dialog, kServerEncodingId), CB_SETCURSEL,
                 server.endpoint.encoding == bridge::ServerEncoding::Gbk ? 1 : 0, 0);
    setWindowText(GetDlgItem(dialog, kServerTimeoutId), std::to_string(server.endpoint.timeoutMs));
    SendMessageW(GetDlgItem(dialog, kServerEnabledId), BM_SETCHECK, server.enabled ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Every field's text at once: what the user may have typed.
std::string fieldsSnapshot(HWND dialog) {
    std::string all;
    for (int id : {kServerNameId, kServerHostId, kServerPortId, kServerPasswordId, kServerTimeoutId}) {
        all += field(dialog, id) + '\n';
    }
    all += std::to_string(SendMessageW(GetDlgItem(dialog, kServerEncodingId), CB_GETCURSEL, 0, 0));
    all += std::to_string(SendMessageW(GetDlgItem(dialog, kServerEnabledId), BM_GETCHECK, 0, 0));
    return all;
}

// The fields filled with the chosen server, or with the defaults of a new
// one when none is chosen.
void showChosen(HWND dialog) {
    DialogState* state = stateOf(dialog);
    const int index = selected(dialog);
    if (index >= 0 && index < static_cast<int>(state->servers.size())) {
        showEntry(dialog, state->servers[static_cast<std::size_t>(index)]);
    } else {
        showEntry(dialog, bridge::ServerEntry{});
        setWindowText(GetDlgItem(dialog, kServerNameId), "");
    }
    state->shownIndex = index;
    state->shownFields = fieldsSnapshot(dialog);
}

// Choosing another server fills the fields anew: what the user typed and
// did not store with 添加 or 修改 goes only when they say so.
void onServerChosen(HWND dialog) {
    DialogState* state = stateOf(dialog);
    if (selected(dialog) == state->shownIndex) return;
    if (fieldsSnapshot(dialog) != state->shownFields &&
        !confirm("『Qelvo』右边填写的内容还没有用「添加」或「修改」存入列表。\r\n换到另一台服务器会丢掉这些内容，要换吗"
                 "？")) {
        SendMessageW(GetDlgItem(dialog, kServerListId), LB_SETCURSEL, state->shownIndex, 0);
        return;
    }
    showChosen(dialog);
}

// A number field: digits only, else -1 (refused by the entry check).
long numberField(HWND dialog, int id) {
    const std::string text = field(dialog, id);
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stol(text);
}

// The fields as an entry; an empty result after telling the user why not.
std::optional<bridge::ServerEntry> entryFromFields(HWND dialog, int self) {
    bridge::ServerEntry entry;
    entry.name = field(dialog, kServerNameId);
    entry.enabled = SendMessageW(GetDlgItem(dialog, kServerEnabledId), BM_GETCHECK, 0, 0) == BST_CHECKED;
    entry.endpoint.host = field(dialog, kServerHostId);
    entry.endpoint.password = field(dialog, kServerPasswordId);
    entry.endpoint.encoding = SendMessageW(GetDlgItem(dialog, kServerEncodingId), CB_GETCURSEL, 0, 0) == 1
                                  ? bridge::ServerEncoding::Gbk
                                  : bridge::ServerEncoding::Utf8;
    const long port = numberField(dialog, kServerPortId);
    if (port < 1 || port > 65535) {
        showWarning("『Qelvo』端口必须是 1 到 65535 之间的整数！");
        return std::nullopt;
    }
    entry.endpoint.port = static_cast<std::uint16_t>(port);
    entry.endpoint.timeoutMs = static_cast<int>(numberField(dialog, kServerTimeoutId));
    const std::string problem = bridge::entryProblem(entry, stateOf(dialog)->servers, self);
    if (!problem.empty()) {
        showWarning("『Qelvo』" + problem);
        return std::nullopt;
    }
    return entry;
}

void addServer(HWND dialog) {
    auto entry = entryFromFields(dialog, -1);
    if (!entry) return;
    auto& servers = stateOf(dialog)->servers;
    servers.push_back(*entry);
    fillList(dialog, static_cast<int>(servers.size()) - 1);
    showChosen(dialog);
}

void updateServer(HWND dialog) {
    const int index = selected(dialog);
    if (index < 0) {
        showWarning("『Qelvo』请先在列表中选择要修改的服务器！");
        return;
    }
    auto entry = entryFromFields(dialog, index);
    if (!entry) return;
    bridge::ServerEntry& stored = stateOf(dialog)->servers[static_cast<std::size_t>(index)];
    // A stored password this user cannot read stays, unusable, until a new one is typed.
    if (entry->endpoint.password.empty() && !stored.unreadablePassword.empty()) {
        entry->unreadablePassword = stored.unreadablePassword;
        entry->problem = bridge::unreadablePasswordProblem(entry->name);
    }
    stored = *entry;
    fillList(dialog, index);
    showChosen(dialog);
}

void removeServer(HWND dialog) {
    const int index = selected(dialog);
    if (index < 0) return;
    auto& servers = stateOf(dialog)->servers;
    if (!confirm("『Qelvo』要从列表中删除服务器「" + servers[static_cast<std::size_t>(index)].name +
                 "」吗？\r\n（按「保存」后才会写入文件）")) {
        return;
    }
    servers.erase(servers.begin() + index);
    fillList(dialog, std::min(index, static_cast<int>(servers.size()) - 1));
    showChosen(dialog);
}

// Logs in with the fields on a thread of its own; the dialog stays usable.
void testConnection(HWND dialog) {
    DialogState* state = stateOf(dialog);
    if (state->test) return;
    const int index = selected(dialog);
    auto entry = entryFromFields(dialog, index);
    if (!entry) return;
    EnableWindow(GetDlgItem(dialog, kServerTestId), FALSE);
    setWindowText(GetDlgItem(dialog, kServerTestId), "正在测试…");
    state->testedName = entry->name;
    state->test = std::make_unique<std::thread>([dialog, state, tested = *entry] {
        state->testResult =
            bridge::runOneServer(tested, {}, makeRconTransport, state->cancelTest, {}, bridge::win32GbkConverter());
        PostMessageW(dialog, kTestFinishedMessage, 0, 0);
    });
}

void reportTest(HWND dialog) {
    DialogState* state = stateOf(dialog);
    if (!state->test) return;
    state->test->join();
    state->test.reset();
    HWND button = GetDlgItem(dialog, kServerTestId);
    setWindowText(button, "测试连接");
    EnableWindow(button, TRUE);
    const auto& error = state->testResult.error;
    if (error) {
        showError("『Qelvo』「" + state->testedName + "」连接失败：" + error->message);
    } else {
        showInformation("『Qelvo』「" + state->testedName + "」连接成功，RCON 登录通过！");
    }
}

void save(HWND dialog) {
    const std::string problem = bridge::saveServersFile(stateOf(dialog)->servers);
    if (!problem.empty()) {
        showError("『Qelvo』" + problem);
        return;
    }
    DestroyWindow(dialog);
}

void onCommand(HWND dialog, int id, int code) {
    switch (id) {
    case kServerListId:
        if (code == LBN_SELCHANGE) onServerChosen(dialog);
        break;
    case kServerAddId:
        addServer(dialog);
        break;
    case kServerUpdateId:
        updateServer(dialog);
        break;
    case kServerRemoveId:
        removeServer(dialog);
        break;
    case kServerTestId:
        testConnection(dialog);
        break;
    case IDOK:
        save(dialog);
        break;
    case IDCANCEL:
        DestroyWindow(dialog);
        break;
    }
}

LRESULT CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        onCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case kTestFinishedMessage:
        reportTest(hwnd);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_NCDESTROY:
        if (DialogState* state = stateOf(hwnd)) {
            state->cancelTest = true;  // the test's every wait ends within a slice
            if (state->test) state->test->join();
            delete state;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        }
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void addLabelled(HWND dialog, int row, std::string_view label, const wchar_t* windowClass, DWORD style, int id,
                 int width = 200) {
    const int top = 14 + row * 32;
    addControl(dialog, L"STATIC", label, SS_RIGHT, {252, top + 4, 344, top + 24}, 0);
    addControl(dialog, windowClass, "", WS_TABSTOP | style, {348, top, 348 + width, top + 24}, id,
               std::wstring_view(windowClass) == L"EDIT" ? WS_EX_CLIENTEDGE : 0);
}

// The controls are placed as in a plain dialog, from (12, 12): they move
// below the skin's caption, to the window's area for controls.
void moveBelowCaption(HWND dialog) {
    const POINT origin = contentOrigin();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + origin.x - 12, r.top + origin.y - 12, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

HWND createServersDialog(HWND owner) {
    if (!registerWindowClass(kServersDialogClass, dialogProc)) return nullptr;
    // 保存 is the default button: Enter outside a push button saves.
    HWND dialog = createToolWindow(owner, {.className = kServersDialogClass,
                                           .title = "服务器设置",
                                           .contentWidth = 548,
                                           .contentHeight = 322,
                                           .defaultButton = IDOK});
    if (!dialog) return nullptr;
    auto* state = new DialogState;
    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    bridge::ServersFile file = bridge::loadServersFile();
    state->servers = file.list.servers;

    addControl(dialog, L"LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, {12, 12, 250, 262},
               kServerListId, WS_EX_CLIENTEDGE);
    addControl(dialog, L"BUTTON", "添加", WS_TABSTOP, {12, 270, 88, 298}, kServerAddId);
    addControl(dialog, L"BUTTON", "修改", WS_TABSTOP, {93, 270, 169, 298}, kServerUpdateId);
    addControl(dialog, L"BUTTON", "删除", WS_TABSTOP, {174, 270, 250, 298}, kServerRemoveId);
    addLabelled(dialog, 0, "名称：", L"EDIT", ES_AUTOHSCROLL, kServerNameId);
    addLabelled(dialog, 1, "主机：", L"EDIT", ES_AUTOHSCROLL, kServerHostId);
    addLabelled(dialog, 2, "端口：", L"EDIT", ES_AUTOHSCROLL | ES_NUMBER, kServerPortId, 80);
    addLabelled(dialog, 3, "RCON 密码：", L"EDIT", ES_AUTOHSCROLL | ES_PASSWORD, kServerPasswordId);
    addLabelled(dialog, 4, "编码：", L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, kServerEncodingId, 120);
    addLabelled(dialog, 5, "超时（毫秒）：", L"EDIT", ES_AUTOHSCROLL | ES_NUMBER, kServerTimeoutId, 80);
    HWND encoding = GetDlgItem(dialog, kServerEncodingId);
    SetWindowPos(encoding, nullptr, 0, 0, 120, 120, SWP_NOMOVE | SWP_NOZORDER);  // room for the drop-down
    for (const wchar_t* name : {L"utf-8", L"gbk"})
        SendMessageW(encoding, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    addControl(dialog, L"BUTTON", "启用（发送到服务器时包括它）", WS_TABSTOP | BS_AUTOCHECKBOX, {348, 206, 560, 230},
               kServerEnabledId);
    addControl(dialog, L"BUTTON", "测试连接", WS_TABSTOP, {348, 238, 448, 266}, kServerTestId);
    addControl(dialog, L"STATIC", "保存到 " + utf8(bridge::serversFilePath()), SS_LEFT | SS_PATHELLIPSIS,
               {12, 312, 380, 332}, 0);
    addControl(dialog, L"BUTTON", "保存", WS_TABSTOP | BS_DEFPUSHBUTTON, {384, 306, 468, 334}, IDOK);
    addControl(dialog, L"BUTTON", "取消", WS_TABSTOP, {476, 306, 560, 334}, IDCANCEL);

    moveBelowCaption(dialog);
    fillList(dialog, state->servers.empty() ? -1 : 0);
    showChosen(dialog);
    showToolWindow(dialog, GetDlgItem(dialog, kServerListId));
    if (!file.error.empty()) {
        // Saving would replace a file that could not be read: not from here.
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        showError("『Qelvo』" + file.error);
    }
    // Entries that cannot be used as written: named with their problems in one message.
    std::string problems;
    for (const std::string& problem : file.list.problems) problems += problem + "\r\n";
    for (const bridge::ServerEntry& server : state->servers) {
        if (!server.problem.empty()) problems += server.problem + "\r\n";
    }
    if (!problems.empty()) {
        showWarning("『Qelvo』服务器列表中以下设置有误，标为 [有误] 的服务器在改正前不会被连接：\r\n" + problems);
    }
    return dialog;
}

void openServersDialog(HWND owner) {
    HWND dialog = createServersDialog(owner);
    if (!dialog) return;
    if (owner) EnableWindow(owner, FALSE);
    MSG msg;
    while (IsWindow(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
            break;
        }
        processMessage(msg);
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (IsWindow(dialog)) DestroyWindow(dialog);
}

}  // namespace ui
