// End to end under Wine: `rpgitem-editor.exe FILE` started as its own
// process opens FILE, and closing it keeps the form in the recovery file.
// Every wait has a time limit; the editor is killed if the test fails early.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "editor/item_file.h"
#include "ui/layout.h"
#include "ui/win_text.h"

namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr int kFirstControlId = 1000;  // a control's id: 1000 + its index in the layout

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

bool waitUntil(const std::function<bool()>& done) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < kTimeoutMs; Sleep(50)) {
        if (done()) return true;
    }
    return false;
}

struct Search {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (process == search->process && std::wstring_view(name) == L"RPGitemEditorWindow" && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::string controlText(HWND window, std::string_view name) {
    const auto controls = layout::controls();
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name != name) continue;
        // Controls may sit in group boxes: search the whole tree by id.
        std::function<HWND(HWND)> find = [&](HWND parent) -> HWND {
            for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                if (GetDlgCtrlID(child) == kFirstControlId + static_cast<int>(i)) return child;
                if (HWND inner = find(child)) return inner;
            }
            return nullptr;
        };
        HWND control = find(window);
        wchar_t text[1024] = {};
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
        return utf8(text);
    }
    return "<no control>";
}

std::string fileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

TEST(CommandLine, OpensTheNamedFileAndClosingKeepsItForRecovery) {
    wchar_t temp[MAX_PATH], appData[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
    const std::wstring item = std::wstring(temp) + L"命令行 物品.ini";
    const std::wstring recovery = std::wstring(appData) + L"\\RPGitemEditor\\recovery.ini";
    DeleteFileW(recovery.c_str());
    // Written by hand, as a script would: only the id and the display name.
    const ItemFileField* id = itemFileFieldOf("编辑框2");
    const ItemFileField* name = itemFileFieldOf("编辑框3");
    ASSERT_TRUE(id && name);
    ASSERT_EQ(id->section, name->section);
    const std::string bytes = "[" + std::string(id->section) + "]\r\n" + std::string(id->key) + "=cmdline_sword\r\n" +
                              std::string(name->key) + "=命令行之剑\r\n";
    HANDLE file = CreateFileW(item.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);

    const std::wstring exe = besideThisProgram(L"rpgitem-editor.exe");
    std::wstring commandLine = L"\"" + exe + L"\" \"" + item + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION editor{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &editor));
    Search search{editor.dwProcessId};
    const bool shown = waitUntil([&] {
        EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    EXPECT_TRUE(shown);
    if (shown) {
        EXPECT_TRUE(waitUntil([&] { return controlText(search.found, "编辑框2") == "cmdline_sword"; }))
            << controlText(search.found, "编辑框2");
        EXPECT_EQ(controlText(search.found, "编辑框3"), "命令行之剑");
        EXPECT_NE(controlText(search.found, "透明标签32").find("命令行 物品.ini"), std::string::npos)
            << controlText(search.found, "透明标签32");
        PostMessageW(search.found, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(editor.hProcess, kTimeoutMs) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "closing asks nothing";
    if (!ended) TerminateProcess(editor.hProcess, 99);
    CloseHandle(editor.hThread);
    CloseHandle(editor.hProcess);
    const std::string kept = fileBytes(recovery);
    EXPECT_NE(kept.find("cmdline_sword"), std::string::npos) << kept;
    EXPECT_NE(kept.find("命令行 物品.ini"), std::string::npos) << "the open file is named";
    DeleteFileW(item.c_str());
}

}  // namespace
