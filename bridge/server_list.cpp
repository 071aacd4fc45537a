#include "bridge/server_list.h"

#include <algorithm>
#include <cctype>

#include "bridge/rcon_packet.h"
#include "editor/ini_document.h"
#include "editor/text.h"

namespace bridge {
namespace {

constexpr int kMinTimeoutMs = 100;
constexpr int kMaxTimeoutMs = 600000;

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A whole number in [low, high], nothing else around it but blanks.
std::optional<long> numberIn(std::string_view text, long low, long high) {
    text = trimmed(text);
    if (text.empty() || text.size() > 9) return std::nullopt;
    long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::optional<bool> flag(std::string_view text) {
    const std::string value = lowered(trimmed(text));
    if (value == "1" || value == "true" || value == "yes") return true;
    if (value == "0" || value == "false" || value == "no") return false;
    return std::nullopt;
}

std::optional<ServerEncoding> encodingNamed(std::string_view text) {
    const std::string value = lowered(trimmed(text));
    if (value == "utf-8" || value == "utf8") return ServerEncoding::Utf8;
    if (value == "gbk" || value == "cp936") return ServerEncoding::Gbk;
    return std::nullopt;
}

std::string badValue(const std::string& server, std::string_view key, std::string_view value, std::string_view wanted) {
    return "服务器「" + server + "」的 " + std::string(key) + "=" + std::string(value) + " 无法识别（" +
           std::string(wanted) + "）";
}

std::string tooLongPassword(const std::string& server, std::size_t size) {
    return "服务器「" + server + "」的 password 长 " + std::to_string(size) + " 字节，超过 RCON 的上限 1446 字节";
}

ServerEntry readEntry(const editor::IniDocument::Section& section, const PasswordProtector& protector,
                      const EnvironmentLookup& environment) {
    std::vector<std::string> problems;
    ServerEntry entry;
    entry.name = section.name;
    const auto value = [&](std::string_view key) -> std::optional<std::string_view> {
        for (const editor::IniDocument::Entry& e : section.entries) {
            if (e.key == key) return std::string_view(e.value);
        }
        return std::nullopt;
    };
    if (const auto host = value("host")) entry.endpoint.host = std::string(trimmed(*host));
    if (entry.endpoint.host.empty()) problems.push_back("服务器「" + entry.name + "」没有填写 host（服务器地址）");
    if (const auto port = value("port")) {
        if (const auto number = numberIn(*port, 1, 65535)) {
            entry.endpoint.port = static_cast<std::uint16_t>(*number);
        } else {
            problems.push_back(badValue(entry.name, "port", *port, "端口须为 1 到 65535 之间的整数"));
        }
    }
    if (const auto enabled = value("enabled")) {
        if (const auto on = flag(*enabled)) {
            entry.enabled = *on;
        } else {
            problems.push_back(badValue(entry.name, "enabled", *enabled, "须为 1 或 0"));
        }
    }
    if (const auto encoding = value("encoding")) {
        if (const auto known = encodingNamed(*encoding)) {
            entry.endpoint.encoding = *known;
        } else {
            problems.push_back(badValue(entry.name, "encoding", *encoding, "须为 utf-8 或 gbk"));
        }
    }
    if (const auto timeout = value("timeout_ms")) {
        if (const auto number = numberIn(*timeout, kMinTimeoutMs, kMaxTimeoutMs)) {
            entry.endpoint.timeoutMs = static_cast<int>(*number);
        } else {
            problems.push_back(badValue(entry.name, "timeout_ms", *timeout, "须为 100 到 600000 之间的毫秒数"));
        }
    }
    // A plain password is only ever written by hand, so it is the newer one;
    // an empty one hides no other one.
    if (const auto plain = value("password"); plain && !plain->empty()) {
        entry.endpoint.password = std::string(*plain);
        if (plain->size() > kMaxCommandBody) problems.push_back(tooLongPassword(entry.name, plain->size()));
    } else if (const auto variable = value("password_env"); variable && !trimmed(*variable).empty()) {
        const std::string name(trimmed(*variable));
        std::optional<std::string> password = environment ? environment(name) : std::nullopt;
        if (!environment) {
            problems.push_back("服务器「" + entry.name + "」的密码取自环境变量 " + name +
                               "（password_env），只有命令行工具 rpgitem 读取它");
        } else if (!password || password->empty()) {
            problems.push_back("服务器「" + entry.name + "」的 password_env=" + name + "：环境变量 " + name +
                               " 没有设置或为空");
        } else {
            if (password->size() > kMaxCommandBody) problems.push_back(tooLongPassword(entry.name, password->size()));
            entry.endpoint.password = std::move(*password);
        }
    } else if (const auto stored = value("password_protected"); stored && !stored->empty()) {
        if (!protector.unprotect) {
            problems.push_back("服务器「" + entry.name +
                               "」的 password_protected 是编辑器在 Windows 上为当前用户加密的密码，这里无法解密；"
                               "请改用 password_env=环境变量名（密码放在该环境变量里）或 password=密码");
        } else if (std::optional<std::string> password = protector.unprotect(*stored)) {
            entry.endpoint.password = std::move(*password);
        } else {
            entry.unreadablePassword = std::string(*stored);
            problems.push_back(unreadablePasswordProblem(entry.name));
        }
    }
    for (const std::string& problem : problems) {
        entry.problem += (entry.problem.empty() ? "" : "；") + problem;
    }
    return entry;
}

}  // namespace

ServerListRead readServerList(std::string_view utf8Text, const PasswordProtector& protector,
                              const EnvironmentLookup& environment) {
    ServerListRead read;
    editor::IniDocument::Parsed parsed = editor::IniDocument::parse(utf8Text);
    if (!parsed.document) {
        read.fileError = "服务器列表文件无法读取：" + parsed.error;
        return read;
    }
    for (const editor::IniDocument::Section& section : parsed.document->sections()) {
        if (section.name.empty()) {
            if (!section.entries.empty()) read.problems.push_back("文件开头不属于任何服务器的设置已忽略");
            continue;
        }
        read.servers.push_back(readEntry(section, protector, environment));
    }
    return read;
}

std::optional<std::string> writeServerList(const std::vector<ServerEntry>& servers, const PasswordProtector& protector,
                                           std::string_view previousText) {
    editor::IniDocument::Parsed parsed = editor::IniDocument::parse(previousText);
    if (!parsed.document) return std::nullopt;
    editor::IniDocument& document = *parsed.document;

    std::vector<std::string> gone;
    for (const editor::IniDocument::Section& section : document.sections()) {
        const bool listed = std::any_of(servers.begin(), servers.end(),
                                        [&](const ServerEntry& entry) { return entry.name == section.name; });
        if (!section.name.empty() && !listed) gone.push_back(section.name);
    }
    for (const std::string& name : gone) document.removeSection(name);

    for (const ServerEntry& entry : servers) {
        const auto& sections = document.sections();
        const bool inFile = std::any_of(sections.begin(), sections.end(),
                                        [&](const editor::IniDocument::Section& s) { return s.name == entry.name; });
        if (!entry.problem.empty() && inFile) continue;  // its values were not read: kept as they are
        const RconEndpoint& server = entry.endpoint;
        std::string stored = entry.unreadablePassword;
        if (!server.password.empty()) {
            std::optional<std::string> protectedForm = protector.protect(server.password);
            if (!protectedForm) return std::nullopt;
            stored = std::move(*protectedForm);
        }
        bool written =
            document.setValue(entry.name, "host", server.host) &&
            document.setValue(entry.name, "port", std::to_string(server.port)) &&
            document.setValue(entry.name, "enabled", entry.enabled ? "1" : "0") &&
            document.setValue(entry.name, "encoding", server.encoding == ServerEncoding::Gbk ? "gbk" : "utf-8") &&
            document.setValue(entry.name, "timeout_ms", std::to_string(server.timeoutMs));
        if (stored.empty()) {
            document.removeKey(entry.name, "password_protected");
        } else {
            written = written && document.setValue(entry.name, "password_protected", stored);
        }
        document.removeKey(entry.name, "password");
        if (!written) return std::nullopt;
    }
    return document.serialize();
}

std::string unreadablePasswordProblem(const std::string& name) {
    return "服务器「" + name +
           "」的密码无法解密（可能由其他 Windows 用户或其他电脑保存），请在服务器设置中重新输入密码";
}

std::string entryProblem(const ServerEntry& entry, const std::vector<ServerEntry>& servers, int self) {
    if (trimmed(entry.name).empty()) return "请填写服务器名称";
    if (entry.name.find_first_of("[]\r\n") != std::string::npos ||
        !editor::IniDocument::isValidSectionName(entry.name)) {
        return "服务器名称不能以空格开头或结尾，也不能包含「[」「]」或换行";
    }
    for (std::size_t i = 0; i < servers.size(); ++i) {
        if (static_cast<int>(i) != self && servers[i].name == entry.name)
            return "已有名为「" + entry.name + "」的服务器";
    }
    if (trimmed(entry.endpoint.host).empty()) return "请填写服务器地址";
    if (entry.endpoint.host.find_first_of(" \t\r\n") != std::string::npos) return "服务器地址不能包含空格或换行";
    if (entry.endpoint.port == 0) return "端口必须在 1 到 65535 之间";
    if (entry.endpoint.timeoutMs < kMinTimeoutMs || entry.endpoint.timeoutMs > kMaxTimeoutMs) {
        return "超时必须在 100 到 600000 毫秒之间";
    }
    if (!editor::isValidUtf8(entry.endpoint.password)) return "密码包含无法识别的字符";
    if (entry.endpoint.password.size() > kMaxCommandBody) return "密码过长";
    return {};
}

}  // namespace bridge
