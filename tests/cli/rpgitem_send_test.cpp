// The command-line tool's send, run as a process against fake RCON servers
// on loopback.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "editor/compose.h"
#include "editor/item_file.h"
#include "tests/cli/tool_process.h"
#include "tests/rcon/fake_server_process.h"

namespace {

using cli_test::runTool;
using cli_test::ScratchFolder;
using rcon_test::FakeServer;

std::string itemFile(const ScratchFolder& folder, const std::string& id, const std::string& display) {
    editor::ItemForm form;
    form.id = id;
    form.displayName = display;
    return folder.write(id + ".ini", editor::serializeItemFile(editor::itemFileDataOf(form)));
}

// What the fake server logs for an item: its lines without "/", each with "\n".
std::string logged(const std::string& id, const std::string& display) {
    editor::ItemForm form;
    form.id = id;
    form.displayName = display;
    std::string log;
    for (const std::string& sub : editor::composeCommands(form)) log += "rpgitem " + id + " " + sub + "\n";
    return log;
}

std::string section(const std::string& name, std::uint16_t port, const std::string& more) {
    return "[" + name + "]\nhost=127.0.0.1\nport=" + std::to_string(port) + "\ntimeout_ms=3000\n" + more;
}

std::string serversFile(const ScratchFolder& folder, const std::string& text) {
    const std::string path = folder.write("servers.ini", text);
    ::chmod(path.c_str(), 0600);
    return path;
}

TEST(RpgitemSend, EveryItemGoesFileAfterFileToEveryEnabledServer) {
    const ScratchFolder folder;
    FakeServer lobby({});
    FakeServer survival({"--mode", "console"});
    FakeServer disabled({});
    const std::string servers =
        serversFile(folder, section("大厅", lobby.port(), "password=pw\n") +
                                section("生存", survival.port(), "password_env=RCON_PW_TEST\n") +
                                section("停用", disabled.port(), "password=pw\nenabled=0\n"));
    const std::string sword = itemFile(folder, "剑", "&a绿色的剑");
    const std::string bow = itemFile(folder, "bow", "长弓");
    const cli_test::ToolRun run = runTool({"send", sword, bow, "--servers", servers}, "", {"RCON_PW_TEST=pw"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string both = logged("剑", "&a绿色的剑") + logged("bow", "长弓");
    EXPECT_EQ(lobby.log(), both);
    EXPECT_EQ(survival.log(), both);
    EXPECT_EQ(disabled.log(), "");
    const std::string lobbyName = "服务器「大厅」(127.0.0.1:" + std::to_string(lobby.port()) + ")";
    EXPECT_NE(run.out.find(lobbyName + " " + sword + "：已发送 4/4 行\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(lobbyName + " " + bow + "：已发送 4/4 行\n"), std::string::npos) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 4) << "one line per server and item";
    // stderr is no terminal here: plain progress lines, no bar.
    EXPECT_NE(run.err.find("[2/2] " + bow + " → 服务器「生存」"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\r'), std::string::npos);
}

TEST(RpgitemSend, AFailingServerIsReportedAndTheOthersStillGetEverything) {
    const ScratchFolder folder;
    FakeServer good({});
    FakeServer refusing({"--mode", "refuse"});
    std::uint16_t closedPort = 0;
    {
        FakeServer gone({});
        closedPort = gone.port();
    }
    const std::string servers = serversFile(folder, section("好", good.port(), "password=pw\n") +
                                                        section("密码错", refusing.port(), "password=wrong\n") +
                                                        section("关闭", closedPort, "password=pw\n"));
    const std::string sword = itemFile(folder, "sword", "");
    const cli_test::ToolRun run = runTool({"send", sword, "--servers", servers});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(good.log(), logged("sword", ""));
    EXPECT_EQ(refusing.log(), "");
    EXPECT_NE(
        run.out.find("服务器「好」(127.0.0.1:" + std::to_string(good.port()) + ") " + sword + "：已发送 3/3 行\n"),
        std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("服务器「密码错」(127.0.0.1:" + std::to_string(refusing.port()) + ") " + sword +
                           "：已发送 0/3 行；"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("密码"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("服务器「关闭」(127.0.0.1:" + std::to_string(closedPort) + ") " + sword +
                           "：已发送 0/3 行；无法连接"),
              std::string::npos)
        << run.out;
}

TEST(RpgitemSend, NamedServersOnlyAndADryRunConnectsNowhere) {
    const ScratchFolder folder;
    FakeServer first({});
    FakeServer second({});
    const std::string servers = serversFile(folder, section("一", first.port(), "password=pw\n") +
                                                        section("二", second.port(), "password=pw\nenabled=0\n"));
    const std::string sword = itemFile(folder, "sword", "");
    const cli_test::ToolRun dry = runTool({"send", sword, "--servers", servers, "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out, sword + " → 服务器「一」(127.0.0.1:" + std::to_string(first.port()) + ")：3 行（未连接）\n");
    EXPECT_EQ(first.log(), "");
    const cli_test::ToolRun named = runTool({"send", sword, "--servers", servers, "--server", "二"});
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(first.log(), "");
    EXPECT_EQ(second.log(), logged("sword", ""));
    const cli_test::ToolRun unknown = runTool({"send", sword, "--servers", servers, "--server", "三"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("没有名为「三」的服务器"), std::string::npos) << unknown.err;
    EXPECT_EQ(second.log(), logged("sword", "")) << "nothing more was sent";
    const std::string empty = folder.write("empty.ini", editor::serializeItemFile(editor::itemFileDataOf({})));
    const cli_test::ToolRun nothing = runTool({"send", empty, sword, "--servers", servers});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.err.find(empty + ": 没有可发送的指令。"), std::string::npos) << nothing.err;
    EXPECT_EQ(first.log(), logged("sword", "")) << "the other item was still sent";
}

TEST(RpgitemSend, ServersFileRulesOfThisSystem) {
    const ScratchFolder folder;
    FakeServer server({});
    const std::string sword = itemFile(folder, "sword", "");
    // The default place under XDG_CONFIG_HOME; readable by others: a warning, and it still works.
    ::mkdir(folder.path("config").c_str(), 0700);
    ::mkdir(folder.path("config/rpgitem").c_str(), 0700);
    const std::string defaultFile =
        folder.write("config/rpgitem/servers.ini", section("S", server.port(), "password=pw\n"));
    ::chmod(defaultFile.c_str(), 0644);
    const cli_test::ToolRun warned = runTool({"send", sword}, "", {"XDG_CONFIG_HOME=" + folder.path("config")});
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_NE(warned.err.find("警告：服务器列表文件 " + defaultFile + " 可被其他用户读取（权限 0644）"),
              std::string::npos)
        << warned.err;
    EXPECT_EQ(server.log(), logged("sword", ""));
    ::chmod(defaultFile.c_str(), 0600);
    EXPECT_EQ(runTool({"send", sword}, "", {"XDG_CONFIG_HOME=" + folder.path("config")}).err.find("警告"),
              std::string::npos);
    const std::string twice = logged("sword", "") + logged("sword", "");
    EXPECT_EQ(server.log(), twice);

    struct Case {
        std::string keys;
        std::vector<std::string> environment;
        std::string inOut;
    };
    const Case cases[] = {
        {"password_protected=AQAAANCMnd8BFdERjHoAwE\n", {}, "password_env=环境变量名"},
        {"password_env=RPGITEM_UNSET_PW\n", {}, "环境变量 RPGITEM_UNSET_PW 没有设置"},
    };
    for (const Case& c : cases) {
        const std::string servers = serversFile(folder, section("S", server.port(), c.keys));
        const cli_test::ToolRun run = runTool({"send", sword, "--servers", servers}, "", c.environment);
        EXPECT_EQ(run.status, 1) << c.keys;
        EXPECT_NE(run.out.find(c.inOut), std::string::npos) << run.out;
    }
    EXPECT_EQ(server.log(), twice) << "entries that cannot be used are not contacted";
    const cli_test::ToolRun missing = runTool({"send", sword, "--servers", folder.path("none.ini")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find(folder.path("none.ini") + ": 无法读取服务器列表文件：文件不存在。"), std::string::npos)
        << missing.err;
}

}  // namespace
