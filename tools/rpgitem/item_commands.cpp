// compose, check and import: item files and command lists, read and
// composed as the window reads and composes them.
#include "bridge/delivery.h"
#include "bridge/rcon_packet.h"
#include "editor/command_import.h"
#include "editor/compose.h"
#include "editor/text.h"
#include "editor/text_encoding.h"
#include "tools/rpgitem/cli.h"
#include "tools/rpgitem/platform.h"

namespace rpgitem {
namespace {

// The lines of a text read from a file: LF or CR LF ends a line.
std::vector<std::string> fileLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The number (from 1) of each unmatched line among `lines`, in order: the
// import lists them in the order they stood.
std::vector<std::size_t> lineNumbers(const std::vector<std::string>& lines, const std::vector<std::string>& unmatched) {
    std::vector<std::size_t> numbers;
    std::size_t next = 0;
    for (const std::string& wanted : unmatched) {
        std::size_t at = next;
        while (at < lines.size() && lines[at] != wanted) ++at;
        numbers.push_back(at < lines.size() ? at + 1 : 0);
        if (at < lines.size()) next = at + 1;
    }
    return numbers;
}

// Problems of one item's output lines; the number of problems.
std::size_t checkLines(const std::string& path, const editor::ItemFileData& data) {
    std::size_t problems = 0;
    const std::string text = editor::outputTextOf(data);
    const std::vector<std::string> lines = editor::splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (const std::size_t length = bridge::chatLength(line); length > bridge::kChatLimit) {
            reportProblem(lineLabel(path, i + 1), "输出第 " + std::to_string(i + 1) + " 行有 " +
                                                      std::to_string(length) +
                                                      " 个字符，超过游戏聊天框的 100 个字符（输出到客户端会被截断）");
            ++problems;
        }
        const std::string_view body = line.starts_with('/') ? std::string_view(line).substr(1) : std::string_view(line);
        if (body.size() > bridge::kMaxCommandBody) {
            reportProblem(lineLabel(path, i + 1), "输出第 " + std::to_string(i + 1) + " 行编码后有 " +
                                                      std::to_string(body.size()) +
                                                      " 字节，超过 RCON 的上限 1446 字节（无法发送到服务器）");
            ++problems;
        }
    }
    if (data.handEditedOutput) {
        const editor::ImportedItem imported = editor::importCommands(*data.handEditedOutput);
        const std::vector<std::size_t> numbers = lineNumbers(lines, imported.unmatched);
        for (std::size_t i = 0; i < imported.unmatched.size(); ++i) {
            reportProblem(lineLabel(path, numbers[i]), "手工修改的输出第 " + std::to_string(numbers[i]) +
                                                           " 行无法导入（可能是笔误）：" + imported.unmatched[i]);
            ++problems;
        }
    }
    return problems;
}

}  // namespace

int composeCommand(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {"--form", "--crlf"}, {});
    if (!parsed.error.empty()) return usageError(parsed.error);
    if (parsed.operands.empty()) return usageError("compose 需要至少一个物品文件");
    const std::string_view lineEnd = parsed.has("--crlf") ? "\r\n" : "\n";
    int status = kExitOk;
    for (const std::string& path : parsed.operands) {
        const std::optional<editor::ItemFileData> data = readItem(path);
        if (!data) {
            status = kExitFailed;
            continue;
        }
        const std::string text =
            parsed.has("--form") ? editor::composeText(editor::itemFormOf(*data)) : editor::outputTextOf(*data);
        std::string out;
        for (const std::string& line : editor::splitLines(text)) out.append(line).append(lineEnd);
        writeOut(out);
    }
    return status;
}

int checkCommand(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, {});
    if (!parsed.error.empty()) return usageError(parsed.error);
    if (parsed.operands.empty()) return usageError("check 需要至少一个物品文件");
    int status = kExitOk;
    for (const std::string& path : parsed.operands) {
        const std::optional<editor::ItemFileData> data = readItem(path);
        if (!data || checkLines(path, *data) > 0) {
            status = kExitFailed;
            continue;
        }
        writeOut(path + ": 没有发现问题\n");
    }
    return status;
}

int importCommand(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {"--keep-going"}, {"-o", "--output"});
    if (!parsed.error.empty()) return usageError(parsed.error);
    if (parsed.operands.size() > 1) return usageError("import 只读一个指令文件（或用 - 表示标准输入）");
    std::vector<std::string> outputs = parsed.values("-o");
    for (const std::string& o : parsed.values("--output")) outputs.push_back(o);
    if (outputs.size() != 1 || outputs[0].empty()) return usageError("import 需要且只需要一个 -o 物品文件");
    const std::string source = parsed.operands.empty() ? "-" : parsed.operands[0];
    const std::string shownSource = source == "-" ? "（标准输入）" : source;

    const FileBytes file =
        source == "-" ? readStandardInput(editor::kMaxItemFileBytes) : readFileBytes(source, editor::kMaxItemFileBytes);
    if (!file.bytes) {
        reportProblem(shownSource, file.problem);
        return kExitFailed;
    }
    if (file.bytes->find('\0') != std::string::npos) {
        reportProblem(shownSource, "这不是文本文件。");
        return kExitFailed;
    }
    // Read as the item files are: UTF-8 or code page 936, by the same rule.
    const editor::DecodedText commands = editor::decodeText(*file.bytes, cp936ToUtf8);
    if (!commands.text) {
        reportProblem(shownSource, commands.error);
        return kExitFailed;
    }
    const editor::ImportedItem imported = editor::importCommands(*commands.text);
    if (imported.id.empty()) {
        reportProblem(shownSource, "没有可导入的指令：需要“/rpgitem 物品ID 指令”这样的行。");
        return kExitFailed;
    }
    const std::vector<std::size_t> numbers = lineNumbers(fileLines(*commands.text), imported.unmatched);
    for (std::size_t i = 0; i < imported.unmatched.size(); ++i) {
        reportProblem(lineLabel(shownSource, numbers[i]), "无法导入：" + imported.unmatched[i]);
    }
    const bool complete = imported.unmatched.empty();
    if (!complete && !parsed.has("--keep-going")) {
        writeError("有 " + std::to_string(imported.unmatched.size()) + " 行没有导入，未写入 " + outputs[0] +
                   "（加 --keep-going 仍然写入）\n");
        return kExitFailed;
    }
    const std::string problem =
        writeFileBytes(outputs[0], editor::serializeItemFile(editor::itemFileDataOf(imported.form)));
    if (!problem.empty()) {
        reportProblem(outputs[0], problem);
        return kExitFailed;
    }
    return complete ? kExitOk : kExitFailed;
}

}  // namespace rpgitem
