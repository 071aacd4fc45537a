#include <windows.h>

#include <shellapi.h>

#include "bridge/win32_rcon_platform.h"
#include "bridge/win32_rcon_transport.h"
#include "editor/unicode.h"
#include "tools/rpgitem/platform.h"
#include "ui/file_access.h"

namespace rpgitem {
namespace {

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode);
}

// A console shows UTF-16 whatever its code page; a pipe or file gets the UTF-8 bytes.
void writeTo(DWORD which, std::string_view text) {
    const HANDLE handle = GetStdHandle(which);
    if (text.empty() || handle == INVALID_HANDLE_VALUE || handle == nullptr) return;
    if (isConsole(handle)) {
        const std::wstring wide = editor::toWide(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) || written == 0) return;
        text.remove_prefix(written);
    }
}

FileBytes fromUi(ui::FileBytes file) { return {std::move(file.bytes), std::move(file.problem)}; }

}  // namespace

FileBytes readFileBytes(const std::string& path, std::size_t maxBytes) {
    return fromUi(ui::readWholeFile(editor::toWide(path), maxBytes));
}

FileBytes readStandardInput(std::size_t maxBytes) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(input, buffer, sizeof buffer, &got, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) break;
            return {std::nullopt, "读取失败（错误代码 " + std::to_string(error) + "）。"};
        }
        if (got == 0) break;
        bytes.append(buffer, got);
        if (bytes.size() > maxBytes) {
            return {std::nullopt,
                    "文件太大（超过 " + std::to_string(maxBytes / (1024 * 1024)) + " MB），不是物品文件。"};
        }
    }
    return {std::move(bytes), {}};
}

std::string writeFileBytes(const std::string& path, std::string_view bytes) {
    return ui::writeFileInOneStep(editor::toWide(path), bytes);
}

std::optional<std::string> cp936ToUtf8(std::string_view bytes) { return ui::cp936ToUtf8(bytes); }

bridge::GbkConverter gbkConverter() { return bridge::win32GbkConverter(); }

std::unique_ptr<bridge::RconTransport> newTransport() { return std::make_unique<bridge::WinsockTransport>(); }

bridge::PasswordProtector passwordProtector() { return bridge::win32PasswordProtector(); }

std::optional<std::string> environmentVariable(std::string_view name) {
    const std::wstring wideName = editor::toWide(name);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(wideName.c_str(), value.data(), size));
    return editor::fromWide(value);
}

std::string defaultServersFile() { return editor::fromWide(bridge::serversFilePath()); }

// %APPDATA% belongs to its user: no warning to give.
std::string serversFileWarning(const std::string&) { return {}; }

std::vector<std::string> arguments(int, char**) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(editor::fromWide(wide[i]));
    if (wide) LocalFree(wide);
    return args;
}

void writeOut(std::string_view text) { writeTo(STD_OUTPUT_HANDLE, text); }

void writeError(std::string_view text) { writeTo(STD_ERROR_HANDLE, text); }

bool errorIsTerminal() { return isConsole(GetStdHandle(STD_ERROR_HANDLE)); }

}  // namespace rpgitem
