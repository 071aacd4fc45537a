#include "bridge/win32_rcon_platform.h"

#include <windows.h>

#include <shlobj.h>
#include <wincrypt.h>

#include <optional>

#include "bridge/win32_game_platform.h"
#include "editor/unicode.h"

namespace bridge {
namespace {

constexpr UINT kGbk = 936;
// Larger files are not a servers list: refused before reading.
constexpr LONGLONG kMaxServersFile = 4 * 1024 * 1024;

std::wstring toWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string toBase64(const BYTE* data, DWORD size) {
    DWORD length = 0;
    const DWORD flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
    if (!CryptBinaryToStringA(data, size, flags, nullptr, &length)) return {};
    std::string text(length, '\0');
    if (!CryptBinaryToStringA(data, size, flags, text.data(), &length)) return {};
    text.resize(length);
    std::string clean;  // no line breaks, whatever the system wrote
    for (char c : text) {
        if (c != '\r' && c != '\n' && c != '\0') clean += c;
    }
    return clean;
}

std::optional<std::string> fromBase64(std::string_view text) {
    DWORD size = 0;
    if (text.empty() || !CryptStringToBinaryA(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64,
                                              nullptr, &size, nullptr, nullptr)) {
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    if (!CryptStringToBinaryA(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64,
                              reinterpret_cast<BYTE*>(bytes.data()), &size, nullptr, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}

std::optional<std::string> protect(std::string_view plain) {
    DATA_BLOB in{static_cast<DWORD>(plain.size()), reinterpret_cast<BYTE*>(const_cast<char*>(plain.data()))};
    DATA_BLOB out{};
    if (!CryptProtectData(&in, L"RPGitem RCON", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
        return std::nullopt;
    }
    std::string stored = toBase64(out.pbData, out.cbData);
    LocalFree(out.pbData);
    if (stored.empty()) return std::nullopt;
    return stored;
}

std::optional<std::string> unprotect(std::string_view stored) {
    std::optional<std::string> blob = fromBase64(stored);
    if (!blob) return std::nullopt;
    DATA_BLOB in{static_cast<DWORD>(blob->size()), reinterpret_cast<BYTE*>(blob->data())};
    DATA_BLOB out{};
    if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
        return std::nullopt;
    }
    std::string plain(reinterpret_cast<const char*>(out.pbData), out.cbData);
    SecureZeroMemory(out.pbData, out.cbData);
    LocalFree(out.pbData);
    return plain;
}

std::wstring appDataFolder() {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(L"APPDATA", buffer, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2) return buffer;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return buffer;
    return L".";
}

std::wstring folderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

}  // namespace

GbkConverter win32GbkConverter() {
    return {[](std::string_view utf8Text) { return toCodePage936(utf8Text); },
            [](std::string_view gbk) { return editor::fromWide(toWide(gbk, kGbk)); }};
}

PasswordProtector win32PasswordProtector() { return {protect, unprotect}; }

std::wstring serversFilePath() { return appDataFolder() + L"\\RPGitemEditor\\servers.ini"; }

// The file's bytes; empty with `error` set when it exists but cannot be read.
std::optional<std::string> readWholeFile(const std::wstring& path, bool& exists, std::string& error) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        exists = code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND;
        if (exists)
            error = "无法读取服务器列表文件 " + editor::fromWide(path) + "（错误 " + std::to_string(code) + "）";
        return std::nullopt;
    }
    exists = true;
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    if (size.QuadPart > kMaxServersFile) {
        CloseHandle(h);
        error = "服务器列表文件 " + editor::fromWide(path) + " 过大，不是服务器列表";
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    const BOOL ok = bytes.empty() || ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    if (!ok) {
        error = "无法读取服务器列表文件 " + editor::fromWide(path);
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

ServersFile loadServersFile() {
    ServersFile file;
    const std::optional<std::string> bytes = readWholeFile(serversFilePath(), file.exists, file.error);
    if (!bytes) return file;
    file.list = readServerList(*bytes, win32PasswordProtector());
    if (!file.list.fileError.empty()) file.error = file.list.fileError;
    return file;
}

std::string saveServersFile(const std::vector<ServerEntry>& servers) {
    const std::wstring path = serversFilePath();
    // Written over the file as it is, so that its comments and unknown keys stay.
    bool exists = false;
    std::string error;
    const std::optional<std::string> previous = readWholeFile(path, exists, error);
    if (!error.empty()) return error + "，服务器列表未保存";
    const std::optional<std::string> text = writeServerList(servers, win32PasswordProtector(), previous.value_or(""));
    if (!text) return "无法加密服务器密码或读懂原文件，服务器列表未保存";
    const std::wstring folder = folderOf(path);
    CreateDirectoryW(folderOf(folder).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring temporary = path + L".new";
    HANDLE h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "无法写入服务器列表文件 " + editor::fromWide(path);
    DWORD written = 0;
    const BOOL ok = WriteFile(h, text->data(), static_cast<DWORD>(text->size()), &written, nullptr) &&
                    written == text->size() && FlushFileBuffers(h);
    CloseHandle(h);
    if (!ok || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return "无法写入服务器列表文件 " + editor::fromWide(path);
    }
    return {};
}

}  // namespace bridge
