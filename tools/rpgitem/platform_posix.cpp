#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bridge/iconv_code_page.h"
#include "bridge/posix_rcon_transport.h"
#include "tools/rpgitem/platform.h"

namespace rpgitem {
namespace {

std::string problemOf(int error, bool writing) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return writing ? "文件夹不存在。" : "文件不存在。";
    case EACCES:
    case EPERM:
        return writing ? "没有写入这个位置的权限。" : "没有读取这个文件的权限。";
    case ENOSPC:
    case EDQUOT:
        return "磁盘空间不足。";
    case EISDIR:
        return "这是一个文件夹。";
    default:
        return (writing ? "写入失败（错误代码 " : "读取失败（错误代码 ") + std::to_string(error) + "）。";
    }
}

std::string tooLarge(std::size_t maxBytes) {
    return "文件太大（超过 " + std::to_string(maxBytes / (1024 * 1024)) + " MB），不是物品文件。";
}

// Reads `fd` to its end, refusing more than `maxBytes`.
FileBytes readAll(int fd, std::size_t maxBytes) {
    FileBytes file;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            file.problem = problemOf(errno, false);
            return file;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > maxBytes) {
            file.problem = tooLarge(maxBytes);
            return file;
        }
    }
    file.bytes = std::move(bytes);
    return file;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

FileBytes readFileBytes(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {std::nullopt, problemOf(errno, false)};
    struct stat info {};
    FileBytes file;
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        file.problem = problemOf(EISDIR, false);
    } else if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > maxBytes) {
        file.problem = tooLarge(maxBytes);
    } else {
        file = readAll(fd, maxBytes);
    }
    ::close(fd);
    return file;
}

FileBytes readStandardInput(std::size_t maxBytes) { return readAll(STDIN_FILENO, maxBytes); }

std::string writeFileBytes(const std::string& path, std::string_view bytes) {
    std::string temporary = folderOf(path) + "/.rpgitem-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return problemOf(errno, true);
    // The target's permissions stay; a new file gets the usual ones.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        ::fchmod(fd, info.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    std::string problem;
    while (!bytes.empty() && problem.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) problem = problemOf(written < 0 ? errno : EIO, true);
        if (written > 0) bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (problem.empty() && ::fsync(fd) != 0) problem = problemOf(errno, true);
    if (::close(fd) != 0 && problem.empty()) problem = problemOf(errno, true);
    if (problem.empty() && ::rename(temporary.c_str(), path.c_str()) != 0) problem = problemOf(errno, true);
    if (!problem.empty()) ::unlink(temporary.c_str());
    return problem;
}

std::optional<std::string> cp936ToUtf8(std::string_view bytes) { return bridge::iconvCp936ToUtf8(bytes); }

bridge::GbkConverter gbkConverter() { return bridge::iconvGbkConverter(); }

std::unique_ptr<bridge::RconTransport> newTransport() { return std::make_unique<bridge::PosixTransport>(); }

// Passwords protected for a Windows user cannot be read here.
bridge::PasswordProtector passwordProtector() { return {}; }

std::optional<std::string> environmentVariable(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

std::string defaultServersFile() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
        return std::string(config) + "/rpgitem/servers.ini";
    }
    if (const char* home = std::getenv("HOME"); home && home[0])
        return std::string(home) + "/.config/rpgitem/servers.ini";
    return {};
}

std::string serversFileWarning(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || (info.st_mode & 077) == 0) return {};
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    return "服务器列表文件 " + path + " 可被其他用户读取（权限 " + mode + "），其中的密码可能泄露：请执行 chmod 600 " +
           path;
}

std::vector<std::string> arguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

void writeOut(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void writeError(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

bool errorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace rpgitem
