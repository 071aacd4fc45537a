// The texts a run to servers shows: its progress line and the result view's
// report (per server: lines sent, the first failure with the line reached,
// and every response). Responses are shown as plain text, never interpreted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/rcon_runner.h"

namespace bridge {

// Where a run stands: the progress window's text and its bar show the same
// numbers (a server that stopped early counts the lines it sent).
struct RunProgress {
    std::size_t serversDone = 0;
    std::size_t servers = 0;
    std::size_t linesSent = 0;
    std::size_t lines = 0;  // every line to every server
};
RunProgress runProgress(const std::vector<ServerRunState>& states, std::size_t lineCount);

// Follows an answer longer than kMaxAnswerBytes, of which only the start is kept.
inline constexpr char kCutNote[] = "（回应超过 1 MiB，只保留了开头部分，其余已舍去）";

// "已完成 2/3 台服务器，已发送 150/300 条指令"
std::string runProgressText(const std::vector<ServerRunState>& states, std::size_t lineCount);

// The whole report, CR LF line breaks. `states` and `servers` are in the same order.
std::string runReport(const std::vector<ServerEntry>& servers, const std::vector<std::string>& lines,
                      const std::vector<ServerRunState>& states);

// A server's answer as the report shows it: every line break CR LF, other
// control characters as blanks.
std::string displayableResponse(std::string_view response);

}  // namespace bridge
