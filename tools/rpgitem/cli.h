// The command-line tool's commands and what they share. Each command takes
// its arguments (after its name) and returns the exit status.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/item_file.h"

namespace rpgitem {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // some file or server failed
inline constexpr int kExitUsage = 2;

int composeCommand(const std::vector<std::string>& args);
int checkCommand(const std::vector<std::string>& args);
int importCommand(const std::vector<std::string>& args);
int sendCommand(const std::vector<std::string>& args);

// "rpgitem: <message>" and a pointer to --help on stderr; kExitUsage.
int usageError(std::string_view message);
// "<where>: <problem>" on stderr (where: a file, or "file:line").
void reportProblem(std::string_view where, std::string_view problem);
std::string lineLabel(std::string_view path, std::size_t line);

// An item file read as the window reads it (whole, all or nothing); the
// problem has been reported when there is no data.
std::optional<editor::ItemFileData> readItem(const std::string& path);

// The arguments split into options and operands: `flags` take no value,
// `valued` options take the next argument (also written --name=value).
// Anything else starting with "-" (but "-" itself, or after "--") is an
// unknown option: the message is in `error`.
struct ParsedArgs {
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> options;  // in order; flags have ""
    std::string error;
    bool has(std::string_view name) const;
    std::vector<std::string> values(std::string_view name) const;
};
ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<std::string_view>& flags,
                     const std::vector<std::string_view>& valued);

}  // namespace rpgitem
