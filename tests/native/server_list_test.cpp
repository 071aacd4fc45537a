// The servers file: reading as documented, defaults, hand-written plain
// passwords, never writing one, and saving through the file as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/server_list.h"

namespace {

using bridge::ServerEncoding;
using bridge::ServerEntry;

// Reversible and recognisable; "unreadable" stands for another user's data.
const bridge::PasswordProtector kProtector{
    [](std::string_view plain) -> std::optional<std::string> {
        std::string out = "sealed:";
        for (auto it = plain.rbegin(); it != plain.rend(); ++it) out += *it;
        return out;
    },
    [](std::string_view stored) -> std::optional<std::string> {
        if (stored.substr(0, 7) != "sealed:") return std::nullopt;
        return std::string(stored.rbegin(), stored.rend() - 7);
    },
};

const bridge::PasswordProtector kFailingProtector{
    [](std::string_view) -> std::optional<std::string> { return std::nullopt; },
    kProtector.unprotect,
};

constexpr std::string_view kExample =
    "; servers the editor sends to\r\n"
    "[大厅]\r\n"
    "host=lobby.example.org\r\n"
    "port=25580\r\n"
    "password=s3cret\r\n"
    "enabled=1\r\n"
    "encoding=gbk\r\n"
    "timeout_ms=8000\r\n"
    "\r\n"
    "[Survival]\r\n"
    "host=127.0.0.1\r\n";

TEST(ServerList, ReadsEveryKeyAndTheDefaults) {
    const bridge::ServerListRead read = bridge::readServerList(kExample, kProtector);
    EXPECT_TRUE(read.fileError.empty());
    EXPECT_TRUE(read.problems.empty());
    ASSERT_EQ(read.servers.size(), 2u);
    const ServerEntry& lobby = read.servers[0];
    EXPECT_EQ(lobby.name, "大厅");
    EXPECT_TRUE(lobby.enabled);
    EXPECT_EQ(lobby.endpoint.host, "lobby.example.org");
    EXPECT_EQ(lobby.endpoint.port, 25580);
    EXPECT_EQ(lobby.endpoint.password, "s3cret");
    EXPECT_EQ(lobby.endpoint.encoding, ServerEncoding::Gbk);
    EXPECT_EQ(lobby.endpoint.timeoutMs, 8000);
    const ServerEntry& survival = read.servers[1];
    EXPECT_EQ(survival.name, "Survival");
    EXPECT_TRUE(survival.enabled);
    EXPECT_EQ(survival.endpoint.port, 25575);
    EXPECT_EQ(survival.endpoint.password, "");
    EXPECT_EQ(survival.endpoint.encoding, ServerEncoding::Utf8);
    EXPECT_EQ(survival.endpoint.timeoutMs, 5000);
}

TEST(ServerList, NeverWritesAPlainPasswordAndReadsItsOwnFormBack) {
    const bridge::ServerListRead read = bridge::readServerList(kExample, kProtector);
    const std::optional<std::string> written = bridge::writeServerList(read.servers, kProtector, kExample);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->find("s3cret"), std::string::npos);
    EXPECT_EQ(written->find("password="), std::string::npos);
    EXPECT_NE(written->find("password_protected=sealed:terc3s"), std::string::npos);
    const bridge::ServerListRead again = bridge::readServerList(*written, kProtector);
    ASSERT_EQ(again.servers.size(), 2u);
    EXPECT_EQ(again.servers[0].endpoint.password, "s3cret");
    EXPECT_EQ(again.servers[1].endpoint.password, "");
    EXPECT_EQ(written->find("password_protected", written->find("[Survival]")), std::string::npos)
        << "no key for an empty password";
}

TEST(ServerList, KeepsCommentsAndUnknownKeysAndFollowsTheList) {
    const std::string before =
        "; servers the editor sends to\r\n"
        "[A]\r\nhost=a.example\r\n; the lobby's own key\r\nmotd=hello\r\n\r\n"
        "[B]\r\nhost=b.example\r\n";
    std::vector<ServerEntry> servers = bridge::readServerList(before, kProtector).servers;
    ASSERT_EQ(servers.size(), 2u);
    servers[0].enabled = false;
    servers[0].endpoint.port = 25599;
    servers.erase(servers.begin() + 1);
    ServerEntry added;
    added.name = "C";
    added.endpoint.host = "c.example";
    servers.push_back(added);
    const std::optional<std::string> written = bridge::writeServerList(servers, kProtector, before);
    ASSERT_TRUE(written);
    EXPECT_NE(written->find("; servers the editor sends to"), std::string::npos);
    EXPECT_NE(written->find("; the lobby's own key\r\nmotd=hello"), std::string::npos);
    EXPECT_EQ(written->find("[B]"), std::string::npos);
    const bridge::ServerListRead again = bridge::readServerList(*written, kProtector);
    ASSERT_EQ(again.servers.size(), 2u);
    EXPECT_EQ(again.servers[0].name, "A");
    EXPECT_FALSE(again.servers[0].enabled);
    EXPECT_EQ(again.servers[0].endpoint.port, 25599);
    EXPECT_EQ(again.servers[1].name, "C");
    EXPECT_EQ(again.servers[1].endpoint.host, "c.example");
    EXPECT_TRUE(again.problems.empty());
}

TEST(ServerList, APasswordOfAnotherUserIsKeptAsItWasUntilReplaced) {
    const std::string before = "[A]\r\nhost=a\r\npassword_protected=from-another-machine\r\n";
    const bridge::ServerListRead read = bridge::readServerList(before, kProtector);
    ASSERT_EQ(read.servers.size(), 1u);
    EXPECT_EQ(read.servers[0].endpoint.password, "");
    EXPECT_TRUE(read.problems.empty());
    EXPECT_NE(read.servers[0].problem.find("「A」的密码无法解密"), std::string::npos) << "never sent an empty one";
    const std::optional<std::string> kept = bridge::writeServerList(read.servers, kProtector, before);
    ASSERT_TRUE(kept);
    EXPECT_NE(kept->find("password_protected=from-another-machine"), std::string::npos);
    std::vector<ServerEntry> replaced = read.servers;
    replaced[0].endpoint.password = "new";
    replaced[0].unreadablePassword.clear();
    replaced[0].problem.clear();
    const std::optional<std::string> written = bridge::writeServerList(replaced, kProtector, before);
    ASSERT_TRUE(written);
    EXPECT_NE(written->find("password_protected=sealed:wen"), std::string::npos);
}

TEST(ServerList, NothingIsWrittenWhenAPasswordCannotBeProtected) {
    const bridge::ServerListRead read = bridge::readServerList(kExample, kProtector);
    EXPECT_FALSE(bridge::writeServerList(read.servers, kFailingProtector, kExample));
}

// An entry that cannot be read as written is never contacted (a default
// would send the password to another port or host): it carries its problem,
// naming it, the key and the value, and a save leaves its section alone.
TEST(ServerList, AnEntryThatCannotBeReadAsWrittenIsMarkedWithItsProblem) {
    struct Case {
        std::string lines;
        std::string_view inProblem;
    };
    const Case cases[] = {
        {"port=0", "port=0"},
        {"port=65536", "port=65536"},
        {"port=25x", "port=25x"},
        {"port=", "port="},
        {"enabled=maybe", "enabled=maybe"},
        {"encoding=latin1", "encoding=latin1"},
        {"timeout_ms=99", "timeout_ms=99"},
        {"timeout_ms=-5", "timeout_ms=-5"},
        {"password=" + std::string(1447, 'p'), "1447 字节"},
    };
    for (const Case& c : cases) {
        const std::string text = "[S]\r\nhost=h\r\n" + c.lines + "\r\n";
        const bridge::ServerListRead read = bridge::readServerList(text, kProtector);
        ASSERT_EQ(read.servers.size(), 1u) << c.lines;
        EXPECT_TRUE(read.problems.empty()) << c.lines;
        const std::string& problem = read.servers[0].problem;
        EXPECT_NE(problem.find("「S」"), std::string::npos) << problem;
        EXPECT_NE(problem.find(c.inProblem), std::string::npos) << problem;
        const std::optional<std::string> written = bridge::writeServerList(read.servers, kProtector, text);
        ASSERT_TRUE(written) << c.lines;
        EXPECT_EQ(written->substr(written->find("[S]")), text) << "a save changed an entry it could not read";
    }
    for (const std::string text : {"[S]\r\nport=25575\r\n", "[S]\r\nhost=  \r\n"}) {
        const bridge::ServerListRead read = bridge::readServerList(text, kProtector);
        ASSERT_EQ(read.servers.size(), 1u) << text;
        EXPECT_NE(read.servers[0].problem.find("没有填写 host"), std::string::npos) << read.servers[0].problem;
    }
    const bridge::ServerListRead accepted = bridge::readServerList(
        "[S]\r\nhost= h \r\nport= 1 \r\nenabled=0\r\nencoding=GBK\r\ntimeout_ms=100\r\npassword=" +
            std::string(1446, 'p') + "\r\n",
        kProtector);
    EXPECT_EQ(accepted.servers[0].problem, "");
    EXPECT_EQ(accepted.servers[0].endpoint.host, "h");
    EXPECT_EQ(accepted.servers[0].endpoint.port, 1);
    EXPECT_FALSE(accepted.servers[0].enabled);
    EXPECT_EQ(accepted.servers[0].endpoint.encoding, ServerEncoding::Gbk);
    EXPECT_EQ(accepted.servers[0].endpoint.timeoutMs, 100);
}

TEST(ServerList, AnEmptyPlainPasswordLeavesTheProtectedOneInForce) {
    const std::string text = "[S]\r\nhost=h\r\npassword=\r\npassword_protected=sealed:terces\r\n";
    const bridge::ServerListRead read = bridge::readServerList(text, kProtector);
    ASSERT_EQ(read.servers.size(), 1u);
    EXPECT_EQ(read.servers[0].problem, "");
    EXPECT_EQ(read.servers[0].endpoint.password, "secret");
    const std::optional<std::string> written = bridge::writeServerList(read.servers, kProtector, text);
    ASSERT_TRUE(written);
    EXPECT_NE(written->find("password_protected=sealed:terces"), std::string::npos) << "a save dropped it";
    EXPECT_EQ(written->find("\npassword="), std::string::npos);
}

TEST(ServerList, APasswordFromTheEnvironmentForTheCommandLine) {
    const bridge::EnvironmentLookup environment = [](std::string_view name) -> std::optional<std::string> {
        if (name == "RCON_PW") return "from-env";
        if (name == "EMPTY") return "";
        if (name == "LONG") return std::string(1447, 'p');
        return std::nullopt;
    };
    struct Case {
        std::string lines;
        std::string password;        // when the entry can be used
        std::string_view inProblem;  // else
    };
    const Case cases[] = {
        {"password_env=RCON_PW", "from-env", ""},
        {"password_env= RCON_PW ", "from-env", ""},
        {"password=plain\r\npassword_env=RCON_PW", "plain", ""},
        {"password_env=RCON_PW\r\npassword_protected=sealed:terces", "from-env", ""},
        {"password_env=MISSING", "", "环境变量 MISSING 没有设置"},
        {"password_env=EMPTY", "", "环境变量 EMPTY 没有设置或为空"},
        {"password_env=LONG", "", "1447 字节"},
    };
    for (const Case& c : cases) {
        const std::string text = "[S]\r\nhost=h\r\n" + c.lines + "\r\n";
        const bridge::ServerListRead read = bridge::readServerList(text, kProtector, environment);
        ASSERT_EQ(read.servers.size(), 1u) << c.lines;
        if (c.inProblem.empty()) {
            EXPECT_EQ(read.servers[0].problem, "") << c.lines;
            EXPECT_EQ(read.servers[0].endpoint.password, c.password) << c.lines;
        } else {
            EXPECT_NE(read.servers[0].problem.find(c.inProblem), std::string::npos) << read.servers[0].problem;
        }
    }
    // The window reads no environment: such an entry is neither used nor rewritten.
    const std::string text = "[S]\r\nhost=h\r\npassword_env=RCON_PW\r\n";
    const bridge::ServerListRead read = bridge::readServerList(text, kProtector);
    EXPECT_NE(read.servers[0].problem.find("rpgitem"), std::string::npos) << read.servers[0].problem;
    const std::optional<std::string> written = bridge::writeServerList(read.servers, kProtector, text);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->substr(written->find("[S]")), text) << "a save changed an entry it could not read";
}

TEST(ServerList, WithoutProtectionAProtectedPasswordSaysWhatToUseInstead) {
    const std::string text = "[S]\r\nhost=h\r\npassword_protected=sealed:terces\r\n";
    const bridge::ServerListRead read = bridge::readServerList(text, bridge::PasswordProtector{});
    ASSERT_EQ(read.servers.size(), 1u);
    EXPECT_NE(read.servers[0].problem.find("password_env"), std::string::npos) << read.servers[0].problem;
    EXPECT_NE(read.servers[0].problem.find("password="), std::string::npos) << read.servers[0].problem;
    EXPECT_EQ(read.servers[0].endpoint.password, "");
}

TEST(ServerList, AFileThatIsNoTextIsReportedAndNeverOverwritten) {
    const std::string broken = "[S]\r\nhost=\xFF\xFE\r\n";
    const bridge::ServerListRead read = bridge::readServerList(broken, kProtector);
    EXPECT_FALSE(read.fileError.empty());
    EXPECT_TRUE(read.servers.empty());
    EXPECT_FALSE(bridge::writeServerList({}, kProtector, broken));
}

TEST(ServerList, EntryProblems) {
    const auto entry = [](std::string name, std::string host, int port = 25575, int timeoutMs = 5000) {
        ServerEntry e;
        e.name = std::move(name);
        e.endpoint.host = std::move(host);
        e.endpoint.port = static_cast<std::uint16_t>(port);
        e.endpoint.timeoutMs = timeoutMs;
        return e;
    };
    const std::vector<ServerEntry> list = {entry("A", "a"), entry("B", "b")};
    struct Case {
        ServerEntry candidate;
        int self;
        std::string_view problem;  // "" when fine
    };
    const Case cases[] = {
        {entry("C", "c"), -1, ""},
        {entry("A", "a2"), 0, ""},
        {entry("A", "a2"), -1, "已有名为「A」的服务器"},
        {entry("B", "b"), 0, "已有名为「B」的服务器"},
        {entry("", "c"), -1, "请填写服务器名称"},
        {entry("x]y", "c"), -1, "不能包含"},
        {entry("[x", "c"), -1, "不能包含"},
        {entry(" x", "c"), -1, "不能包含"},
        {entry("C", ""), -1, "请填写服务器地址"},
        {entry("C", "a b"), -1, "不能包含空格"},
        {entry("C", "c", 0), -1, "端口"},
        {entry("C", "c", 25575, 99), -1, "超时"},
        {entry("C", "c", 25575, 600001), -1, "超时"},
    };
    for (const Case& c : cases) {
        const std::string problem = bridge::entryProblem(c.candidate, list, c.self);
        if (c.problem.empty()) {
            EXPECT_EQ(problem, "") << c.candidate.name;
        } else {
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.candidate.name << ": " << problem;
        }
    }
}

}  // namespace
