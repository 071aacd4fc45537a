// rpgitem.exe as its own console process under Windows: compose writes the
// composer's bytes for generated forms saved as files, UTF-8 through a pipe
// whatever the system's code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/compose.h"
#include "editor/item_file.h"
#include "editor/unicode.h"
#include "tests/cli/generated_forms.h"

namespace {

std::wstring folderOfThisProgram() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

struct ToolRun {
    DWORD status = 1000;
    std::string out;
};

// Runs the tool with its output into a pipe read to the end.
ToolRun runTool(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ToolRun run;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    const std::wstring exe = folderOfThisProgram() + L"\\rpgitem.exe";
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) run.out.append(buffer, got);
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &run.status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return run;
}

TEST(RpgitemExe, ComposeWritesTheComposersBytesForGeneratedFormsSavedAsFiles) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"rpgitem_exe_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    std::mt19937 random(7);
    std::wstring arguments = L"compose --crlf";
    std::vector<std::wstring> files;
    std::string expected;
    for (int i = 0; i < 20; ++i) {
        const editor::ItemForm form = cli_test::generatedForm(random);
        // A Chinese file name: the arguments reach the tool as UTF-16.
        files.push_back(folder + L"\\物品" + std::to_wstring(i) + L".ini");
        const std::string bytes = editor::serializeItemFile(editor::itemFileDataOf(form));
        HANDLE file = CreateFileW(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        arguments += L" \"" + files.back() + L"\"";
        expected += editor::composeText(form);
    }
    const ToolRun run = runTool(arguments);
    EXPECT_EQ(run.status, 0u) << run.out;
    EXPECT_EQ(run.out, expected);
    const ToolRun missing = runTool(L"compose \"" + folder + L"\\没有.ini\"");
    EXPECT_EQ(missing.status, 1u);
    EXPECT_NE(missing.out.find(editor::fromWide(folder) + "\\没有.ini: 文件不存在。"), std::string::npos)
        << missing.out;
    const ToolRun usage = runTool(L"frobnicate");
    EXPECT_EQ(usage.status, 2u);
    for (const std::wstring& file : files) DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
