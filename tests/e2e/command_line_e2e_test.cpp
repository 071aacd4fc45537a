// End to end under Wine: `rpgitem-editor.exe FILE` started as its own
// process opens FILE, and closing it keeps the form in the recovery file.
// Every wait has a time limit; the editor is killed if the test fails early.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "editor/item_file.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace e2e;

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
    const editor::ItemFileField* id = editor::itemFileFieldOf("编辑框2");
    const editor::ItemFileField* name = editor::itemFileFieldOf("编辑框3");
    ASSERT_TRUE(id && name);
    ASSERT_EQ(id->section, name->section);
    const std::string bytes = "[" + std::string(id->section) + "]\r\n" + std::string(id->key) + "=cmdline_sword\r\n" +
                              std::string(name->key) + "=命令行之剑\r\n";
    HANDLE file = CreateFileW(item.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);

    Child editor;
    HWND window = e2e::startEditor(editor, L"\"" + item + L"\"");
    const bool shown = window != nullptr;
    EXPECT_TRUE(shown) << "the editor's window did not appear or answer";
    if (shown) {
        auto controlText = [&](std::string_view control) { return textOf(controlNamed(window, control)); };
        EXPECT_TRUE(waitUntil([&] { return controlText("编辑框2") == "cmdline_sword"; }, kStepTimeoutMs))
            << controlText("编辑框2");
        EXPECT_EQ(controlText("编辑框3"), "命令行之剑");
        EXPECT_NE(controlText("透明标签32").find("命令行 物品.ini"), std::string::npos) << controlText("透明标签32");
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(editor.process(), kStartTimeoutMs) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "closing asks nothing";
    const std::string kept = fileBytes(recovery);
    EXPECT_NE(kept.find("cmdline_sword"), std::string::npos) << kept;
    EXPECT_NE(kept.find("命令行 物品.ini"), std::string::npos) << "the open file is named";
    DeleteFileW(item.c_str());
}

}  // namespace
