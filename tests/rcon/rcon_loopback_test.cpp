// Our RCON run over real sockets against the fake server (the program the
// Windows tests use), through the POSIX transport: the two must agree with
// each other, as the peer test makes the fake agree with an independent
// client.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bridge/posix_rcon_transport.h"
#include "bridge/rcon_runner.h"
#include "bridge/rcon_session.h"
#include "tests/rcon/fake_answers.h"
#include "tests/rcon/fake_server_process.h"

namespace {

using bridge::PosixTransport;
using bridge::RconFailure;
using rcon_test::FakeServer;

const bridge::GbkConverter kNoGbk{};

bridge::RconResult deliver(std::uint16_t port, const std::vector<std::string>& lines, int timeoutMs = 3000,
                           const std::atomic<bool>& cancel = std::atomic<bool>{false}) {
    PosixTransport transport;
    const bridge::RconEndpoint server{"127.0.0.1", port, "pw", bridge::ServerEncoding::Utf8, timeoutMs};
    return bridge::runRcon(transport, server, lines, cancel, {}, kNoGbk);
}

const std::vector<std::string> kLines = {"rpgitem 剑 create", "rpgitem 剑 display &a绿色的剑", "rpgitem 剑 give"};

TEST(RconLoopback, EveryLineArrivesInOrder) {
    FakeServer server({});
    const bridge::RconResult result = deliver(server.port(), kLines);
    ASSERT_FALSE(result.error) << result.error->message;
    EXPECT_EQ(result.responses.back(), "ok: rpgitem 剑 give");
    EXPECT_EQ(server.log(), "rpgitem 剑 create\nrpgitem 剑 display &a绿色的剑\nrpgitem 剑 give\n");
}

TEST(RconLoopback, SplitAnswersAreJoined) {
    FakeServer server({"--mode", "split"});
    const bridge::RconResult result = deliver(server.port(), kLines);
    ASSERT_FALSE(result.error) << result.error->message;
    EXPECT_EQ(result.responses[1], "ok: " + kLines[1] + " " + std::string(9000, 'x'));
}

TEST(RconLoopback, EachMisbehaviourHasItsFailure) {
    struct Case {
        std::vector<std::string> options;
        RconFailure kind;
        std::size_t line;
        std::string log;
    };
    const Case cases[] = {
        {{"--mode", "refuse"}, RconFailure::LoginRefused, 0, ""},
        {{"--mode", "close", "--after", "1"}, RconFailure::Closed, 2, kLines[0] + "\n" + kLines[1] + "\n"},
        {{"--mode", "malformed", "--after", "1"}, RconFailure::BadPacket, 2, kLines[0] + "\n" + kLines[1] + "\n"},
        {{"--mode", "oversized"}, RconFailure::BadPacket, 1, kLines[0] + "\n"},
        {{"--mode", "slow", "--delay-ms", "1500"}, RconFailure::Timeout, 1, kLines[0] + "\n"},
    };
    for (const Case& c : cases) {
        FakeServer server(c.options);
        const bridge::RconResult result = deliver(server.port(), kLines, 300);
        ASSERT_TRUE(result.error) << c.options[1];
        EXPECT_EQ(result.error->kind, c.kind) << c.options[1] << ": " << result.error->message;
        EXPECT_EQ(result.error->line, c.line) << c.options[1];
        EXPECT_EQ(server.log(), c.log) << c.options[1];
    }
}

TEST(RconLoopback, AClosedPortIsRefused) {
    std::uint16_t port = 0;
    {
        FakeServer server({});
        port = server.port();
    }
    const bridge::RconResult result = deliver(port, kLines);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->kind, RconFailure::Refused);
}

TEST(RconLoopback, TenServersAtOnceEachGetEveryLine) {
    std::vector<std::unique_ptr<FakeServer>> servers;
    for (int i = 0; i < 10; ++i) servers.push_back(std::make_unique<FakeServer>(std::vector<std::string>{}));
    std::vector<bridge::RconResult> results(servers.size());
    std::vector<std::thread> runs;
    for (std::size_t i = 0; i < servers.size(); ++i) {
        runs.emplace_back([&, i] { results[i] = deliver(servers[i]->port(), kLines); });
    }
    for (std::thread& run : runs) run.join();
    for (std::size_t i = 0; i < servers.size(); ++i) {
        EXPECT_FALSE(results[i].error) << i;
        EXPECT_EQ(servers[i]->log(), kLines[0] + "\n" + kLines[1] + "\n" + kLines[2] + "\n") << i;
    }
}

// An item of 120 lines; every 10th answer is 5000 Chinese characters long
// (more than one packet in every kind of server).
constexpr int kLongEvery = 10;
constexpr int kLongChars = 5000;
const std::vector<std::string> kLongOptions = {"--long-every", std::to_string(kLongEvery), "--long-chars",
                                               std::to_string(kLongChars)};

std::vector<std::string> bigItem() {
    std::vector<std::string> lines;
    for (int i = 1; i <= 120; ++i) lines.push_back("rpgitem 剑 lore 第" + std::to_string(i) + "行 §a说明");
    return lines;
}

std::string logOf(const std::vector<std::string>& lines) {
    std::string log;
    for (const std::string& line : lines) log += line + "\n";
    return log;
}

// The kinds of server modelled: the game server's console thread with a
// command that takes 2 ms, the proxies, a server that ignores the end marker.
const std::vector<std::vector<std::string>> kKinds = {
    {"--mode", "console", "--command-ms", "2"}, {"--mode", "proxy"}, {"--mode", "ignore"}};

void expectWhole(const bridge::RconResult& result, const std::vector<std::string>& lines, const std::string& log,
                 const std::string& kind) {
    ASSERT_FALSE(result.error) << kind << ": " << result.error->message;
    EXPECT_EQ(log, logOf(lines)) << kind << ": every line once, in order";
    ASSERT_EQ(result.responses.size(), lines.size()) << kind;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(result.responses[i], fake_rcon::answerTo(lines[i], static_cast<int>(i) + 1, kLongEvery, kLongChars))
            << kind << " line " << i + 1;
    }
}

TEST(RconLoopback, EveryKindOfServerTakesALongItemWithLongChineseAnswers) {
    const std::vector<std::string> lines = bigItem();
    std::vector<std::unique_ptr<FakeServer>> servers;
    for (std::vector<std::string> options : kKinds) {
        options.insert(options.end(), kLongOptions.begin(), kLongOptions.end());
        servers.push_back(std::make_unique<FakeServer>(options));
    }
    std::vector<bridge::RconResult> results(servers.size());
    std::vector<std::thread> runs;
    for (std::size_t i = 0; i < servers.size(); ++i) {
        runs.emplace_back([&, i] { results[i] = deliver(servers[i]->port(), lines); });
    }
    for (std::thread& run : runs) run.join();
    for (std::size_t i = 0; i < servers.size(); ++i) expectWhole(results[i], lines, servers[i]->log(), kKinds[i][1]);
}

TEST(RconLoopback, TenServersOfMixedKindsInOneRun) {
    const std::vector<std::string> lines = bigItem();
    std::vector<std::unique_ptr<FakeServer>> servers;
    std::vector<bridge::ServerEntry> entries;
    for (std::size_t i = 0; i < 10; ++i) {
        std::vector<std::string> options = kKinds[i % kKinds.size()];
        options.insert(options.end(), kLongOptions.begin(), kLongOptions.end());
        servers.push_back(std::make_unique<FakeServer>(options));
        bridge::ServerEntry entry;
        entry.name = "服务器" + std::to_string(i + 1);
        entry.endpoint = {"127.0.0.1", servers.back()->port(), "pw", bridge::ServerEncoding::Utf8, 3000};
        entries.push_back(entry);
    }
    bridge::ConcurrentRconRun run(entries, lines, [] { return std::make_unique<PosixTransport>(); }, kNoGbk, {});
    while (!run.finished()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::vector<bridge::ServerRunState> states = run.states();
    for (std::size_t i = 0; i < servers.size(); ++i) {
        expectWhole(states[i].result, lines, servers[i]->log(), entries[i].name + " " + kKinds[i % kKinds.size()][1]);
    }
}

TEST(RconLoopback, AFloodingServerIsCutAtTheCapAndStopped) {
    FakeServer server({"--mode", "flood"});
    const bridge::RconResult result = deliver(server.port(), kLines, 500);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->kind, RconFailure::Timeout);
    EXPECT_EQ(result.error->line, 1u);
    ASSERT_EQ(result.responses.size(), 1u);
    EXPECT_LE(result.responses[0].size(), bridge::kMaxAnswerBytes);
    EXPECT_EQ(result.responses[0].substr(0, 60), fake_rcon::longFiller(20));
    EXPECT_EQ(result.cut, std::vector<bool>{true});
    EXPECT_EQ(server.log(), kLines[0] + "\n") << "nothing after the flooded line";
}

TEST(RconLoopback, CancelEndsAConnectThatIsNeverAnswered) {
    FakeServer server({"--mode", "unaccepting"});
    std::atomic<bool> cancel{false};
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel = true;
    });
    // The timeout is far longer than the test's: only the cancel ends the connect.
    const bridge::RconResult result = deliver(server.port(), kLines, 600000, cancel);
    canceller.join();
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->kind, RconFailure::Cancelled) << result.error->message;
    EXPECT_EQ(result.linesSent, 0u);
}

}  // namespace
