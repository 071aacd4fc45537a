#include "bridge/rcon_report.h"

namespace bridge {
namespace {

std::string fraction(std::size_t done, std::size_t total) { return std::to_string(done) + "/" + std::to_string(total); }

const char kIndent[] = "    ";

}  // namespace

RunProgress runProgress(const std::vector<ServerRunState>& states, std::size_t lineCount) {
    RunProgress progress;
    progress.servers = states.size();
    progress.lines = lineCount * states.size();
    for (const ServerRunState& state : states) {
        if (state.finished) ++progress.serversDone;
        progress.linesSent += state.finished ? state.result.linesSent : state.linesDone;
    }
    return progress;
}

std::string runProgressText(const std::vector<ServerRunState>& states, std::size_t lineCount) {
    const RunProgress progress = runProgress(states, lineCount);
    return "已完成 " + fraction(progress.serversDone, progress.servers) + " 台服务器，已发送 " +
           fraction(progress.linesSent, progress.lines) + " 条指令";
}

std::string displayableResponse(std::string_view response) {
    std::string shown;
    for (std::size_t i = 0; i < response.size(); ++i) {
        const char c = response[i];
        if (c == '\r' && i + 1 < response.size() && response[i + 1] == '\n') continue;  // CR LF: the LF writes it
        if (c == '\n' || c == '\r') {
            shown += "\r\n";
        } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            shown += ' ';
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string runReport(const std::vector<ServerEntry>& servers, const std::vector<std::string>& lines,
                      const std::vector<ServerRunState>& states) {
    std::size_t failed = 0;
    for (const ServerRunState& state : states) {
        if (state.result.error) ++failed;
    }
    std::string report = "发送到 " + std::to_string(servers.size()) + " 台服务器，每台 " +
                         std::to_string(lines.size()) + " 条指令：" + std::to_string(servers.size() - failed) +
                         " 台全部成功，" + std::to_string(failed) + " 台失败。\r\n";
    for (std::size_t s = 0; s < servers.size() && s < states.size(); ++s) {
        const ServerEntry& server = servers[s];
        const RconResult& result = states[s].result;
        report += "\r\n【" + server.name + "】 " + server.endpoint.host + ":" + std::to_string(server.endpoint.port) +
                  "  已发送 " + fraction(result.linesSent, lines.size()) + " 条指令\r\n";
        if (result.error) {
            report +=
                (result.error->kind == RconFailure::BadEntry ? "跳过：" : "失败：") + result.error->message + "\r\n";
        } else {
            report += "全部发送成功。\r\n";
        }
        for (std::size_t n = 0; n < result.responses.size() && n < lines.size(); ++n) {
            report += "第" + std::to_string(n + 1) + "条 /" + lines[n] + "\r\n";
            const std::string answer = displayableResponse(result.responses[n]);
            if (answer.empty()) {
                report += std::string(kIndent) + "（无回应）\r\n";
                continue;
            }
            std::size_t from = 0;
            for (std::size_t at; (at = answer.find("\r\n", from)) != std::string::npos; from = at + 2) {
                report += kIndent + answer.substr(from, at - from) + "\r\n";
            }
            report += kIndent + answer.substr(from) + "\r\n";
            if (n < result.cut.size() && result.cut[n]) report += std::string(kIndent) + kCutNote + "\r\n";
        }
    }
    return report;
}

}  // namespace bridge
