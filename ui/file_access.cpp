#include "ui/file_access.h"

#include <windows.h>

#include "ui/win_text.h"

namespace ui {

namespace {

std::string problemOf(DWORD error, bool writing) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
        return writing ? "文件夹不存在。" : "文件不存在。";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        return "文件正被其他程序占用。";
    case ERROR_ACCESS_DENIED:
        return writing ? "没有写入这个位置的权限。" : "没有读取这个文件的权限。";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "磁盘空间不足。";
    default:
        return (writing ? "写入失败（错误代码 " : "读取失败（错误代码 ") + std::to_string(error) + "）。";
    }
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (ok()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

std::string tooLarge(std::size_t maxBytes) {
    return "文件太大（超过 " + std::to_string(maxBytes / (1024 * 1024)) + " MB），不是物品文件。";
}

// The path in its "\\?\" form, which no MAX_PATH limit applies to: the
// temporary name beside a file near the limit is longer than the file's.
std::wstring unlimited(const std::wstring& path) {
    if (path.starts_with(L"\\\\?\\")) return path;
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (!length) return path;
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// Writes all of `bytes`; a write that stops short is asked again, so that
// the error reported is the system's own (a full disk, a lost network).
std::string writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
            return problemOf(GetLastError(), true);
        }
        if (written == 0) return problemOf(ERROR_WRITE_FAULT, true);
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file) ? std::string() : problemOf(GetLastError(), true);
}

// The bytes into a new file beside `target` (its name in `temporary`): the
// problem, or "".
std::string writeTemporary(const std::wstring& target, std::string_view bytes, std::wstring& temporary) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[32];
        wsprintfW(suffix, L".~%04x%04x.tmp", GetCurrentProcessId() & 0xFFFF, ++counter & 0xFFFF);
        const std::wstring name = target + suffix;
        FileHandle file(
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.ok()) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            return problemOf(GetLastError(), true);
        }
        temporary = name;
        return writeAll(file.get(), bytes);
    }
    return problemOf(ERROR_FILE_EXISTS, true);
}

}  // namespace

FileBytes readWholeFile(const std::wstring& path, std::size_t maxBytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return {std::nullopt, problemOf(GetLastError(), false)};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return {std::nullopt, problemOf(GetLastError(), false)};
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return {std::nullopt, tooLarge(maxBytes)};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return {std::nullopt, problemOf(GetLastError(), false)};
    }
    bytes.resize(read);
    return {std::move(bytes), {}};
}

std::string writeFileInOneStep(const std::wstring& givenPath, std::string_view bytes) {
    const std::wstring path = unlimited(givenPath);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return "这是一个文件夹。";
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return "文件是只读的。";
    // A target another program holds is found before anything is written:
    // a failing ReplaceFileW may leave a file of its own behind (Wine's does).
    if (exists) {
        const FileHandle target(CreateFileW(path.c_str(), DELETE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        if (!target.ok()) return problemOf(GetLastError(), true);
    }
    std::wstring temporary;
    std::string problem = writeTemporary(path, bytes, temporary);
    // Within one folder the target is the old file or the new one, never a
    // mix; an existing file is replaced so that its attributes and
    // permissions stay.
    if (problem.empty() && exists &&
        !ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        problem = problemOf(GetLastError(), true);
    }
    // ReplaceFileW keeps the target's permissions; its attributes (hidden,
    // archive...) are put back here too, as not every ReplaceFileW does.
    if (problem.empty() && exists && GetFileAttributesW(path.c_str()) != attributes) {
        SetFileAttributesW(path.c_str(), attributes);
    }
    if (problem.empty() && !exists &&
        !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        problem = problemOf(GetLastError(), true);
    }
    if (!problem.empty() && !temporary.empty()) DeleteFileW(temporary.c_str());
    return problem;
}

std::optional<std::string> cp936ToUtf8(std::string_view bytes) {
    if (bytes.empty()) return std::string();
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
    return utf8(text);
}

std::wstring folderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace ui
