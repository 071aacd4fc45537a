// The run to many servers at once over in-memory servers, and the texts the
// user sees of it (progress line, result report).
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "bridge/rcon_packet.h"
#include "bridge/rcon_report.h"
#include "bridge/rcon_runner.h"

namespace {

using bridge::ConnectStatus;
using bridge::IoStatus;
using bridge::RconFailure;

std::string serverPacket(std::int32_t id, std::int32_t type, std::string_view body) {
    std::string out;
    for (std::int32_t value : {static_cast<std::int32_t>(body.size() + 10), id, type}) {
        for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    return out + std::string(body) + std::string(2, '\0');
}

// What every in-memory server of one test saw, by the host it was given.
struct Servers {
    std::mutex mutex;
    std::map<std::string, std::vector<std::string>> commands;
    // Connections wait here until this many have connected (0: no wait).
    int meetAt = 0;
    int connected = 0;
    std::condition_variable met;
};

// Answers like a Minecraft server; the password is "pw". A server whose host
// starts with "slow" answers nothing until the run is cancelled.
class MemoryServer : public bridge::RconTransport {
public:
    explicit MemoryServer(Servers& servers) : servers_(servers) {}
    ConnectStatus connect(const std::string& host, std::uint16_t, int, const std::atomic<bool>&) override {
        host_ = host;
        std::unique_lock lock(servers_.mutex);
        ++servers_.connected;
        servers_.met.notify_all();
        const bool allThere = servers_.met.wait_for(lock, std::chrono::seconds(10),
                                                    [&] { return servers_.connected >= servers_.meetAt; });
        return allThere ? ConnectStatus::Connected : ConnectStatus::Timeout;
    }
    IoStatus send(std::string_view bytes) override {
        decoder_.feed(bytes);
        while (std::optional<bridge::RconPacket> p = decoder_.next()) {
            if (p->type == 3) {
                out_ += serverPacket(p->body == "pw" ? p->id : -1, 2, "");
            } else if (p->type == 2) {
                std::lock_guard lock(servers_.mutex);
                servers_.commands[host_].push_back(p->body);
                out_ += serverPacket(p->id, 0, "ok: " + p->body);
            } else {
                out_ += serverPacket(p->id, 0, "Unknown request 0");
            }
        }
        return IoStatus::Ok;
    }
    bridge::Received receive(char* buffer, std::size_t capacity, int timeoutMs) override {
        if (out_.empty() || (host_.rfind("slow", 0) == 0 && !servers_.commands[host_].empty())) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 5)));
            return {IoStatus::Timeout, 0};
        }
        const std::size_t n = std::min(capacity, out_.size());
        out_.copy(buffer, n);
        out_.erase(0, n);
        return {IoStatus::Ok, n};
    }
    void close() override {}

private:
    Servers& servers_;
    std::string host_;
    bridge::RconDecoder decoder_{1 << 20};
    std::string out_;
};

bridge::ServerEntry server(std::string name, std::string host, std::string password = "pw", bool enabled = true) {
    bridge::ServerEntry entry;
    entry.name = std::move(name);
    entry.enabled = enabled;
    entry.endpoint.host = std::move(host);
    entry.endpoint.password = std::move(password);
    entry.endpoint.timeoutMs = 60000;
    return entry;
}

bridge::GbkConverter noGbk() {
    return {[](std::string_view s) { return std::string(s); }, [](std::string_view s) { return std::string(s); }};
}

// Waits (bounded) until every server of the run has finished.
bool waitForEnd(const bridge::ConcurrentRconRun& run) {
    for (int i = 0; i < 2000 && !run.finished(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return run.finished();
}

TEST(ConcurrentRconRun, EveryServerGetsEveryLineInOrderAndAFailingOneStopsNoOther) {
    Servers seen;
    seen.meetAt = 3;  // each connection waits for the other two: the runs overlap
    std::atomic<int> changes{0};
    const std::vector<std::string> lines{"rpgitem a remove", "rpgitem a create", "rpgitem a give"};
    bridge::ConcurrentRconRun run(
        {server("大厅", "lobby"), server("生存", "survival", "wrong"), server("创造", "creative")}, lines,
        [&] { return std::make_unique<MemoryServer>(seen); }, noGbk(), [&] { ++changes; });
    ASSERT_TRUE(waitForEnd(run));
    const auto states = run.states();
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(seen.commands["lobby"], lines);
    EXPECT_EQ(seen.commands["creative"], lines);
    EXPECT_EQ(seen.commands.count("survival"), 0u) << "a refused login sent commands";
    EXPECT_EQ(states[0].result.linesSent, 3u);
    EXPECT_FALSE(states[0].result.error);
    EXPECT_EQ(states[0].result.responses,
              (std::vector<std::string>{"ok: " + lines[0], "ok: " + lines[1], "ok: " + lines[2]}));
    ASSERT_TRUE(states[1].result.error);
    EXPECT_EQ(states[1].result.error->kind, RconFailure::LoginRefused);
    EXPECT_EQ(states[2].linesDone, 3u);
    EXPECT_GE(changes.load(), 3 + 3 + 3) << "a change after every line and at every end";
}

TEST(ConcurrentRconRun, CancellingStopsEveryServerBeforeItsNextLine) {
    Servers seen;
    const std::vector<std::string> lines{"one", "two", "three"};
    bridge::ConcurrentRconRun run({server("A", "slowA"), server("B", "slowB")}, lines,
                                  [&] { return std::make_unique<MemoryServer>(seen); }, noGbk(), {});
    for (int i = 0; i < 2000; ++i) {  // both have sent their first line and wait for its answer
        {
            std::lock_guard lock(seen.mutex);
            if (seen.commands["slowA"].size() == 1 && seen.commands["slowB"].size() == 1) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.cancel();
    ASSERT_TRUE(waitForEnd(run));
    for (const auto& state : run.states()) {
        ASSERT_TRUE(state.result.error);
        EXPECT_EQ(state.result.error->kind, RconFailure::Cancelled);
        EXPECT_EQ(state.result.linesSent, 1u);
    }
    EXPECT_EQ(seen.commands["slowA"], std::vector<std::string>{"one"});
    EXPECT_EQ(seen.commands["slowB"], std::vector<std::string>{"one"});
}

// A transport whose every step fails as an allocation would.
class ExhaustedTransport : public bridge::RconTransport {
public:
    ConnectStatus connect(const std::string&, std::uint16_t, int, const std::atomic<bool>&) override {
        return ConnectStatus::Connected;
    }
    IoStatus send(std::string_view) override { throw std::bad_alloc(); }
    bridge::Received receive(char*, std::size_t, int) override { throw std::bad_alloc(); }
    void close() override {}
};

TEST(ConcurrentRconRun, AnEntryWithAProblemIsNeverContactedAndAFaultStopsOnlyItsServer) {
    Servers seen;
    std::atomic<int> transportsMade{0};
    bridge::ServerEntry broken = server("坏", "broken");
    broken.problem = "服务器「坏」的 port=25x 无法识别（端口须为 1 到 65535 之间的整数）";
    bridge::ConcurrentRconRun run({broken, server("满", "exhausted"), server("好", "good")}, {"one", "two"},
                                  [&]() -> std::unique_ptr<bridge::RconTransport> {
                                      if (++transportsMade == 1) return std::make_unique<ExhaustedTransport>();
                                      return std::make_unique<MemoryServer>(seen);
                                  },
                                  noGbk(), {});
    ASSERT_TRUE(waitForEnd(run));
    const auto states = run.states();
    EXPECT_EQ(transportsMade.load(), 2) << "the broken entry got a connection";
    ASSERT_TRUE(states[0].result.error);
    EXPECT_EQ(states[0].result.error->kind, RconFailure::BadEntry);
    EXPECT_NE(states[0].result.error->message.find(broken.problem), std::string::npos);
    EXPECT_EQ(states[0].result.linesSent, 0u);
    const std::string report = bridge::runReport(run.servers(), run.lines(), states);
    EXPECT_NE(report.find("跳过：" + broken.problem), std::string::npos) << report;
    // The exhausted one's fault stays in its thread; which of the two got it depends on the order they started.
    const bool firstExhausted = states[1].result.error && states[1].result.error->kind == RconFailure::Internal;
    const auto& exhausted = states[firstExhausted ? 1 : 2].result;
    const auto& good = states[firstExhausted ? 2 : 1].result;
    ASSERT_TRUE(exhausted.error);
    EXPECT_EQ(exhausted.error->kind, RconFailure::Internal);
    EXPECT_EQ(exhausted.linesSent, 0u);
    EXPECT_FALSE(good.error);
    EXPECT_EQ(good.linesSent, 2u);
}

TEST(ConcurrentRconRun, OnlyEnabledServersTakePartInFileOrder) {
    const auto enabled = bridge::enabledServers(
        {server("a", "h1"), server("b", "h2", "pw", false), server("c", "h3"), server("d", "h4", "pw", false)});
    ASSERT_EQ(enabled.size(), 2u);
    EXPECT_EQ(enabled[0].name, "a");
    EXPECT_EQ(enabled[1].name, "c");
    EXPECT_TRUE(bridge::enabledServers({server("x", "h", "pw", false)}).empty());
}

bridge::ServerRunState state(std::size_t done, bool finished, std::size_t sent = 0,
                             std::vector<std::string> responses = {}, std::optional<bridge::RconError> error = {}) {
    bridge::ServerRunState s;
    s.linesDone = done;
    s.finished = finished;
    s.result.linesSent = sent;
    s.result.responses = std::move(responses);
    s.result.error = std::move(error);
    return s;
}

TEST(RunReport, ProgressCountsFinishedServersAndLinesSent) {
    EXPECT_EQ(bridge::runProgressText({state(3, false), state(0, true, 2)}, 10),
              "已完成 1/2 台服务器，已发送 5/20 条指令");
    EXPECT_EQ(bridge::runProgressText({}, 10), "已完成 0/0 台服务器，已发送 0/0 条指令");
}

TEST(RunReport, TheBarCountsWhatTheTextCounts) {
    // A server that stopped after 1 of 7 lines counts 1, not 7: the bar
    // stands where the text says.
    const bridge::RunProgress progress = bridge::runProgress({state(0, true, 1), state(1, false)}, 7);
    EXPECT_EQ(progress.serversDone, 1u);
    EXPECT_EQ(progress.servers, 2u);
    EXPECT_EQ(progress.linesSent, 2u);
    EXPECT_EQ(progress.lines, 14u);
    EXPECT_EQ(bridge::runProgressText({state(0, true, 1), state(1, false)}, 7),
              "已完成 1/2 台服务器，已发送 2/14 条指令");
}

TEST(RunReport, NamesEachServersLinesFailureAndResponses) {
    const std::vector<std::string> lines{"rpgitem a remove", "rpgitem a give"};
    const bridge::RconError closed{RconFailure::Closed, 2, "服务器在第2条指令时关闭了连接，之后的指令未发送"};
    const std::string report =
        bridge::runReport({server("大厅", "lobby.example"), server("生存", "10.0.0.2")}, lines,
                          {state(2, true, 2, {"ok", "第一行\n第二行"}), state(1, true, 2, {"ok", ""}, closed)});
    EXPECT_EQ(report,
              "发送到 2 台服务器，每台 2 条指令：1 台全部成功，1 台失败。\r\n"
              "\r\n【大厅】 lobby.example:25575  已发送 2/2 条指令\r\n"
              "全部发送成功。\r\n"
              "第1条 /rpgitem a remove\r\n    ok\r\n"
              "第2条 /rpgitem a give\r\n    第一行\r\n    第二行\r\n"
              "\r\n【生存】 10.0.0.2:25575  已发送 2/2 条指令\r\n"
              "失败：服务器在第2条指令时关闭了连接，之后的指令未发送\r\n"
              "第1条 /rpgitem a remove\r\n    ok\r\n"
              "第2条 /rpgitem a give\r\n    （无回应）\r\n");
}

TEST(RunReport, AResponseIsShownAsPlainTextOnly) {
    struct Case {
        std::string response;
        std::string shown;
    };
    const Case cases[] = {
        {"§aok§r", "§aok§r"},                  // colour codes stay as they are
        {"a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd"},  // every break becomes CR LF
        {std::string("x\0y\x1b[31mz\x07", 10), "x y [31mz "},
        {"tab\there", "tab\there"},
    };
    for (const Case& c : cases) EXPECT_EQ(bridge::displayableResponse(c.response), c.shown) << c.response;
}

}  // namespace
