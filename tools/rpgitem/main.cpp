// rpgitem: the item editor's composer, item files, import and server
// delivery from the command line, for scripts and CI jobs.
#include "res/version.h"
#include "tools/rpgitem/cli.h"
#include "tools/rpgitem/platform.h"

namespace {

constexpr std::string_view kHelp =
    "用法: rpgitem <命令> [选项] [文件…]\n"
    "\n"
    "命令:\n"
    "  compose FILE.ini…        把每个物品文件的指令写到标准输出，与编辑器打开该文件后输出框中的内容相同\n"
    "                             （文件里保存的手工修改的输出也包括在内）\n"
    "      --form                 只按表单生成，不用手工修改的输出\n"
    "      --crlf                 行尾用 CR LF（默认 LF）\n"
    "  check FILE.ini…          按编辑器的规则读取每个文件，并报告超过聊天框 100 个字符的行、\n"
    "                             编码后超过 RCON 上限 1446 字节的行，以及手工修改的输出中无法导入的行\n"
    "  import [FILE|-] -o ITEM.ini [--keep-going]\n"
    "                           把指令列表（UTF-8 或 GBK；- 或省略表示标准输入）导入为新的物品文件；\n"
    "                             有无法导入的行时不写入，加 --keep-going 仍然写入\n"
    "  send FILE.ini… [--servers SERVERS.ini] [--server NAME]… [--dry-run]\n"
    "                           把每个物品依次发送到服务器列表中每台启用的服务器（或 --server 指定的服务器），\n"
    "                             各服务器同时进行；--dry-run 只列出将发送到哪里，不连接\n"
    "\n"
    "  --help                   显示本说明\n"
    "  --version                显示版本\n"
    "\n"
    "服务器列表文件: Windows 上为 %APPDATA%\\RPGitemEditor\\servers.ini；Linux 上为\n"
    "$XDG_CONFIG_HOME/rpgitem/servers.ini，否则 ~/.config/rpgitem/servers.ini。\n"
    "password_env=变量名 从环境变量读取密码（适合脚本和 CI）。\n"
    "\n"
    "退出状态: 0 全部成功，1 有文件或服务器失败，2 用法错误。\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace rpgitem;
    const std::vector<std::string> args = arguments(argc, argv);
    if (args.empty()) return usageError("缺少命令（compose、check、import 或 send）");
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        writeOut(kHelp);
        return kExitOk;
    }
    if (command == "--version") {
        writeOut("rpgitem " RPGITEM_VERSION_TEXT "\n");
        return kExitOk;
    }
    for (const std::string& arg : rest) {
        if (arg == "--help" || arg == "-h") {
            writeOut(kHelp);
            return kExitOk;
        }
    }
    if (command == "compose") return composeCommand(rest);
    if (command == "check") return checkCommand(rest);
    if (command == "import") return importCommand(rest);
    if (command == "send") return sendCommand(rest);
    return usageError("未知命令 " + command);
}
