// What server delivery needs from Windows besides the socket: code page 936,
// passwords protected for the current Windows user (CryptProtectData, then
// base64), and the servers file %APPDATA%\RPGitemEditor\servers.ini.
#pragma once

#include <string>
#include <vector>

#include "bridge/rcon_session.h"
#include "bridge/server_list.h"

namespace bridge {

GbkConverter win32GbkConverter();
PasswordProtector win32PasswordProtector();

// %APPDATA% (the environment's, else the shell's folder) + \RPGitemEditor\servers.ini
std::wstring serversFilePath();

struct ServersFile {
    bool exists = false;
    std::string error;    // the file exists but cannot be read (Chinese)
    ServerListRead list;  // its servers and the values that could not be read
};

ServersFile loadServersFile();

// Writes the list (folder created when missing) through a temporary file
// that replaces the old one in one step; the Chinese reason when it failed.
std::string saveServersFile(const std::vector<ServerEntry>& servers);

}  // namespace bridge
