#include <algorithm>

#include "tools/rpgitem/cli.h"
#include "tools/rpgitem/platform.h"

namespace rpgitem {

int usageError(std::string_view message) {
    writeError("rpgitem: " + std::string(message) + "\n用法见 rpgitem --help\n");
    return kExitUsage;
}

void reportProblem(std::string_view where, std::string_view problem) {
    writeError(std::string(where) + ": " + std::string(problem) + "\n");
}

std::string lineLabel(std::string_view path, std::size_t line) {
    return std::string(path) + ":" + std::to_string(line);
}

std::optional<editor::ItemFileData> readItem(const std::string& path) {
    const FileBytes file = readFileBytes(path, editor::kMaxItemFileBytes);
    if (!file.bytes) {
        reportProblem(path, file.problem);
        return std::nullopt;
    }
    editor::ParsedItemFile parsed = editor::parseItemFile(*file.bytes, cp936ToUtf8);
    if (!parsed.data) reportProblem(path, parsed.error);
    return std::move(parsed.data);
}

bool ParsedArgs::has(std::string_view name) const {
    return std::any_of(options.begin(), options.end(), [&](const auto& option) { return option.first == name; });
}

std::vector<std::string> ParsedArgs::values(std::string_view name) const {
    std::vector<std::string> found;
    for (const auto& [option, value] : options) {
        if (option == name) found.push_back(value);
    }
    return found;
}

ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<std::string_view>& flags,
                     const std::vector<std::string_view>& valued) {
    ParsedArgs parsed;
    const auto among = [](const std::vector<std::string_view>& names, std::string_view name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (among(flags, name) && equals == std::string::npos) {
            parsed.options.emplace_back(name, "");
        } else if (among(valued, name)) {
            if (equals != std::string::npos) {
                parsed.options.emplace_back(name, arg.substr(equals + 1));
            } else if (i + 1 < args.size()) {
                parsed.options.emplace_back(name, args[++i]);
            } else {
                parsed.error = "选项 " + name + " 需要一个值";
                return parsed;
            }
        } else {
            parsed.error = "未知选项 " + arg;
            return parsed;
        }
    }
    return parsed;
}

}  // namespace rpgitem
