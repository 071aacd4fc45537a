// What the command-line tool needs from the system: whole files, code page
// 936, sockets, the servers file's place and the console. One
// implementation per system (platform_posix.cpp, platform_win32.cpp).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/rcon_session.h"
#include "bridge/server_list.h"

namespace rpgitem {

struct FileBytes {
    std::optional<std::string> bytes;
    std::string problem;  // a Chinese sentence; empty when the bytes were read
};

// The whole file; one above `maxBytes` is refused before reading.
FileBytes readFileBytes(const std::string& path, std::size_t maxBytes);
// Standard input to its end; refused past `maxBytes`.
FileBytes readStandardInput(std::size_t maxBytes);
// Through a temporary file beside `path` put in its place in one step: the
// problem, or "" (the old file stays as it was on failure).
std::string writeFileBytes(const std::string& path, std::string_view bytes);

// Code page 936 for item and command files (nullopt: not valid there) and
// for servers.
std::optional<std::string> cp936ToUtf8(std::string_view bytes);
bridge::GbkConverter gbkConverter();

std::unique_ptr<bridge::RconTransport> newTransport();
bridge::PasswordProtector passwordProtector();
std::optional<std::string> environmentVariable(std::string_view name);
// The window's servers file for this user ("" when there is no such place).
std::string defaultServersFile();
// A warning when the file's passwords can be read by other users; "" else.
std::string serversFileWarning(const std::string& path);

// The arguments in UTF-8, without the program's name.
std::vector<std::string> arguments(int argc, char** argv);
// Bytes to stdout / stderr as they are (UTF-8; a Windows console shows them
// as text whatever its code page).
void writeOut(std::string_view text);
void writeError(std::string_view text);
bool errorIsTerminal();

}  // namespace rpgitem
