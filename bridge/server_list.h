// The servers file, %APPDATA%\RPGitemEditor\servers.ini (UTF-8): one section
// per server, the section name is its display name. Keys: host, port (25575),
// password (plain, accepted when written by hand), password_protected (the
// editor's form: the password protected for the current Windows user, then
// base64), password_env (the name of an environment variable holding the
// password: for the command-line tool, in scripts and CI), enabled (1/0,
// default 1), encoding (utf-8 (default) or gbk),
// timeout_ms (5000). Serialising never writes a plain password. Writing
// goes through the file as it was, so comments and keys this program does
// not know survive a save.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/rcon_session.h"

namespace bridge {

struct ServerEntry {
    std::string name;  // the section name, unique in a list
    bool enabled = true;
    RconEndpoint endpoint;
    // A stored password this user cannot unprotect (endpoint.password is then
    // empty): written back as it was until a new password is entered (the
    // dialog then clears this).
    std::string unreadablePassword;
    // Why the entry cannot be used as the file has it (Chinese, naming the
    // entry, the key and the value); empty when it can. Such an entry is
    // never contacted, and a save leaves its section as it was.
    std::string problem;
};

// Win32: CryptProtectData / CryptUnprotectData and base64. Each gives an
// empty result when it fails (unprotect: data of another user or machine).
// Where there is no such protection (Linux) both are empty functions: a
// protected password is then a problem of its entry that says what to use
// instead.
struct PasswordProtector {
    std::function<std::optional<std::string>(std::string_view plain)> protect;
    std::function<std::optional<std::string>(std::string_view stored)> unprotect;
};

struct ServerListRead {
    std::string fileError;             // the text is no INI file (Chinese); nothing else is read
    std::vector<ServerEntry> servers;  // in the file's order
    // Chinese messages about text that belongs to no server (the entries'
    // own problems are in ServerEntry::problem).
    std::vector<std::string> problems;
};

// The problem of an entry whose stored password this user cannot decrypt.
std::string unreadablePasswordProblem(const std::string& name);

// An environment variable's value; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// Without `environment` (the window), an entry whose password comes from
// password_env has a problem: it is neither contacted nor rewritten.
ServerListRead readServerList(std::string_view utf8Text, const PasswordProtector& protector,
                              const EnvironmentLookup& environment = {});

// The file's text: `previousText` (the file as read; "" for a new file) with
// the servers' values set, sections of servers no longer listed removed and
// new ones appended; the section of an entry with a problem stays as it was.
// Empty when a password could not be protected or the
// previous text is no INI file (nothing must then be written).
std::optional<std::string> writeServerList(const std::vector<ServerEntry>& servers, const PasswordProtector& protector,
                                           std::string_view previousText = {});

// Why an entry cannot be kept in `servers` (its own index `self`, or -1 for a
// new one): empty name, name not unique or holding "[", "]" or a line break,
// empty host, port 0, timeout outside 100..600000 ms. Empty when it is fine.
std::string entryProblem(const ServerEntry& entry, const std::vector<ServerEntry>& servers, int self);

}  // namespace bridge
