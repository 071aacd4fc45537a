// The run to one RCON server, over a scripted in-memory server that answers
// each client packet with whatever bytes a test wants.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bridge/rcon_packet.h"
#include "bridge/rcon_session.h"
#include "tests/native/gbk_codec.h"

namespace {

using bridge::ConnectStatus;
using bridge::IoStatus;
using bridge::RconFailure;
using bridge::RconPacket;
using bridge::RconResult;

std::string int32Bytes(std::int32_t value) {
    std::string out;
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((static_cast<std::uint32_t>(value) >> shift) & 0xFF));
    }
    return out;
}

std::string serverPacket(std::int32_t id, std::int32_t type, std::string_view body) {
    return int32Bytes(static_cast<std::int32_t>(body.size() + 10)) + int32Bytes(id) + int32Bytes(type) +
           std::string(body) + std::string(2, '\0');
}

// Answers like a Minecraft server unless a test replaces `reply`.
class ScriptedServer : public bridge::RconTransport {
public:
    ConnectStatus connectStatus = ConnectStatus::Connected;
    std::string password = "pw";
    std::size_t chunk = 1 << 20;  // at most this many bytes per receive
    // The bytes sent back for one client packet (the number of commands
    // received so far given); `closeAfterReply` ends the connection once
    // they have been read.
    std::function<std::string(const RconPacket&, int commandNumber)> reply;
    bool closeAfterReply = false;

    std::vector<RconPacket> received;
    std::vector<std::string> commands;      // bodies of type 2 packets
    std::vector<bool> commandAfterAnswers;  // per command: everything sent before had been read
    // Packets that arrived while the one before had an answer of which
    // nothing had been read yet: the game server's console thread would have
    // read them together with it and hung up.
    int packetsWhileBusy = 0;
    bool connectHangs = false;  // connect waits until cancelled
    int connects = 0;
    bool closed = false;

    std::string standardReply(const RconPacket& packet) const {
        if (packet.type == 3) return serverPacket(packet.body == password ? packet.id : -1, 2, "");
        if (packet.type == 2) return serverPacket(packet.id, 0, "ok: " + packet.body);
        return serverPacket(packet.id, 0, "Unknown request " + std::to_string(packet.type));
    }

    ConnectStatus connect(const std::string&, std::uint16_t, int, const std::atomic<bool>& cancel) override {
        ++connects;
        while (connectHangs) {
            if (cancel.load()) return ConnectStatus::Cancelled;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return connectStatus;
    }
    IoStatus send(std::string_view bytes) override {
        if (peerClosed_) return IoStatus::Closed;
        decoder_.feed(bytes);
        while (std::optional<RconPacket> packet = decoder_.next()) {
            if (lastReplyEnd_ > lastReplyStart_ && read_ <= lastReplyStart_) ++packetsWhileBusy;
            received.push_back(*packet);
            if (packet->type == 2) {
                commands.push_back(packet->body);
                commandAfterAnswers.push_back(read_ == outgoing_.size());
            }
            lastReplyStart_ = outgoing_.size();
            outgoing_ += reply ? reply(*packet, static_cast<int>(commands.size())) : standardReply(*packet);
            lastReplyEnd_ = outgoing_.size();
            if (closeAfterReply) closing_ = true;
        }
        EXPECT_EQ(decoder_.error(), bridge::DecodeError::None);
        return IoStatus::Ok;
    }
    bridge::Received receive(char* buffer, std::size_t capacity, int timeoutMs) override {
        if (read_ < outgoing_.size()) {
            const std::size_t n = std::min({chunk, capacity, outgoing_.size() - read_});
            outgoing_.copy(buffer, n, read_);
            read_ += n;
            return {IoStatus::Ok, n};
        }
        if (closing_) {
            peerClosed_ = true;
            return {IoStatus::Closed, 0};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return {IoStatus::Timeout, 0};
    }
    void close() override { closed = true; }

private:
    bridge::RconDecoder decoder_{10 + 1446};
    std::string outgoing_;
    std::size_t read_ = 0;
    std::size_t lastReplyStart_ = 0;
    std::size_t lastReplyEnd_ = 0;
    bool closing_ = false;
    bool peerClosed_ = false;
};

const bridge::GbkConverter kGbk{
    gbk_codec::fromUtf8,
    [](std::string_view gbk) { return gbk_codec::toUtf8(gbk).value_or(std::string()); },
};

struct Outcome {
    RconResult result;
    std::vector<std::size_t> progress;
};

Outcome run(ScriptedServer& server, const std::vector<std::string>& lines,
            bridge::ServerEncoding encoding = bridge::ServerEncoding::Utf8, int timeoutMs = 2000,
            const std::atomic<bool>* cancelFlag = nullptr) {
    bridge::RconEndpoint endpoint{"mc.example", 25575, "pw", encoding, timeoutMs};
    static const std::atomic<bool> never{false};
    Outcome out;
    out.result = bridge::runRcon(
        server, endpoint, lines, cancelFlag ? *cancelFlag : never,
        [&](std::size_t done) { out.progress.push_back(done); }, kGbk);
    return out;
}

TEST(RconSession, LogsInAndSendsEveryLineInOrderAfterThePreviousAnswer) {
    ScriptedServer server;
    const Outcome r = run(server, {"rpgitem a create", "rpgitem a damage 5 10", "rpgitem a give"});
    EXPECT_FALSE(r.result.error);
    EXPECT_EQ(r.result.linesSent, 3u);
    EXPECT_EQ(r.result.responses,
              (std::vector<std::string>{"ok: rpgitem a create", "ok: rpgitem a damage 5 10", "ok: rpgitem a give"}));
    EXPECT_EQ(r.progress, (std::vector<std::size_t>{1, 2, 3}));
    ASSERT_GE(server.received.size(), 1u);
    EXPECT_EQ(server.received[0].type, 3);
    EXPECT_EQ(server.received[0].body, "pw");
    const std::vector<std::string> lines = {"rpgitem a create", "rpgitem a damage 5 10", "rpgitem a give"};
    EXPECT_EQ(server.commands, lines);
    EXPECT_EQ(server.commandAfterAnswers, (std::vector<bool>{true, true, true})) << "one command at a time";
    EXPECT_EQ(server.packetsWhileBusy, 0) << "one packet at a time";
    EXPECT_TRUE(server.closed);
}

TEST(RconSession, RefusedLoginSendsNoCommand) {
    ScriptedServer server;
    server.password = "other";
    const Outcome r = run(server, {"rpgitem a create"});
    ASSERT_TRUE(r.result.error);
    EXPECT_EQ(r.result.error->kind, RconFailure::LoginRefused);
    EXPECT_EQ(r.result.error->line, 0u);
    EXPECT_EQ(r.result.error->message.find("pw"), std::string::npos) << "the password is never shown";
    EXPECT_TRUE(server.commands.empty());
    EXPECT_EQ(r.result.linesSent, 0u);
}

TEST(RconSession, WithoutLinesOnlyLogsIn) {
    ScriptedServer good;
    EXPECT_FALSE(run(good, {}).result.error);
    EXPECT_EQ(good.received.size(), 1u);
    ScriptedServer refusing;
    refusing.password = "other";
    EXPECT_EQ(run(refusing, {}).result.error->kind, RconFailure::LoginRefused);
}

TEST(RconSession, JoinsAnAnswerSplitOverPacketsAndReads) {
    ScriptedServer server;
    server.chunk = 7;
    server.reply = [&](const RconPacket& packet, int) {
        if (packet.type != 2) return server.standardReply(packet);
        return serverPacket(packet.id, 0, std::string(4096, 'a')) + serverPacket(packet.id, 0, std::string(4096, 'b')) +
               serverPacket(packet.id, 0, "end of " + packet.body);
    };
    const Outcome r = run(server, {"one", "two"});
    ASSERT_FALSE(r.result.error) << r.result.error->message;
    EXPECT_EQ(r.result.responses[0], std::string(4096, 'a') + std::string(4096, 'b') + "end of one");
    EXPECT_EQ(r.result.responses[1], std::string(4096, 'a') + std::string(4096, 'b') + "end of two");
}

TEST(RconSession, LeavesLateEchoesOfEarlierLinesAside) {
    // A server that answers the empty packet twice (as Source servers do):
    // the second echo arrives while the next line waits for its answer.
    ScriptedServer server;
    server.reply = [&](const RconPacket& packet, int) {
        if (packet.type != 0) return server.standardReply(packet);
        return serverPacket(packet.id, 0, "") + serverPacket(packet.id, 0, std::string("\0\0\x01\0\0", 5));
    };
    const Outcome r = run(server, {"one", "two", "three"});
    ASSERT_FALSE(r.result.error) << r.result.error->message;
    EXPECT_EQ(r.result.responses, (std::vector<std::string>{"ok: one", "ok: two", "ok: three"}));
}

TEST(RconSession, ALineTooLongStopsEverythingBeforeConnecting) {
    struct Case {
        std::string line;
        bridge::ServerEncoding encoding;
        bool fits;
        std::size_t encodedSize;
    };
    const auto many = [](std::string_view piece, int count) {
        std::string out;
        for (int i = 0; i < count; ++i) out += piece;
        return out;
    };
    using bridge::ServerEncoding;
    const Case cases[] = {
        {std::string(1446, 'x'), ServerEncoding::Utf8, true, 1446},
        {std::string(1447, 'x'), ServerEncoding::Utf8, false, 1447},
        {many("中", 482), ServerEncoding::Utf8, true, 1446},
        {many("中", 483), ServerEncoding::Utf8, false, 1449},
        {many("中", 723), ServerEncoding::Gbk, true, 1446},
        {many("中", 724), ServerEncoding::Gbk, false, 1448},
    };
    for (const Case& c : cases) {
        ScriptedServer server;
        const Outcome r = run(server, {"first", c.line, "third"}, c.encoding);
        if (c.fits) {
            EXPECT_FALSE(r.result.error) << c.encodedSize;
            EXPECT_EQ(server.commands.size(), 3u);
            continue;
        }
        ASSERT_TRUE(r.result.error) << c.encodedSize;
        EXPECT_EQ(r.result.error->kind, RconFailure::LineTooLong);
        EXPECT_EQ(r.result.error->line, 2u);
        EXPECT_NE(r.result.error->message.find(std::to_string(c.encodedSize)), std::string::npos);
        EXPECT_EQ(server.connects, 0) << "nothing at all goes to the server";
        EXPECT_EQ(r.result.linesSent, 0u);
    }
}

TEST(RconSession, StopsAtAMalformedOrOversizedPacket) {
    const std::string bad[] = {
        int32Bytes(5) + int32Bytes(2),                                  // shorter than any packet
        int32Bytes(0x7FFFFFF0) + int32Bytes(2) + int32Bytes(0) + "ok",  // a length no buffer is sized from
        int32Bytes(4096 * 3 + 11) + int32Bytes(2),                      // one byte over the server limit
        int32Bytes(12) + int32Bytes(2) + int32Bytes(0) + "okxy",        // body not closed by two NULs
    };
    for (const std::string& bytes : bad) {
        for (const int badAt : {0, 2}) {  // the answer to the login or to the second line
            ScriptedServer server;
            server.chunk = 3;
            server.reply = [&](const RconPacket& packet, int command) {
                const bool login = packet.type == 3;
                if ((login && badAt == 0) || (packet.type == 2 && command == badAt)) return bytes;
                return server.standardReply(packet);
            };
            const Outcome r = run(server, {"one", "two", "three"});
            ASSERT_TRUE(r.result.error);
            EXPECT_EQ(r.result.error->kind, RconFailure::BadPacket);
            EXPECT_EQ(r.result.error->line, static_cast<std::size_t>(badAt));
            EXPECT_EQ(r.result.linesSent, static_cast<std::size_t>(badAt));
            EXPECT_EQ(server.commands.size(), static_cast<std::size_t>(badAt)) << "nothing after the bad packet";
            if (badAt == 2) {
                EXPECT_EQ(r.result.responses[0], "ok: one");
            }
            EXPECT_TRUE(server.closed);
        }
    }
}

TEST(RconSession, AServerClosingMidRunNamesTheLineReached) {
    ScriptedServer server;
    server.reply = [&](const RconPacket& packet, int command) {
        if (command == 3) {
            server.closeAfterReply = true;
            return std::string();
        }
        return server.standardReply(packet);
    };
    const Outcome r = run(server, {"one", "two", "three", "four"});
    ASSERT_TRUE(r.result.error);
    EXPECT_EQ(r.result.error->kind, RconFailure::Closed);
    EXPECT_EQ(r.result.error->line, 3u);
    EXPECT_NE(r.result.error->message.find("第3条"), std::string::npos);
    EXPECT_EQ(r.result.linesSent, 3u);
    EXPECT_EQ(r.progress, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(server.commands, (std::vector<std::string>{"one", "two", "three"})) << "nothing resent, nothing after";
}

TEST(RconSession, ASilentServerTimesOut) {
    for (const int silentAt : {0, 2}) {  // the login or the second line
        ScriptedServer server;
        server.reply = [&](const RconPacket& packet, int command) {
            const bool silent = silentAt == 0 ? packet.type == 3 : command == silentAt;
            return silent ? std::string() : server.standardReply(packet);
        };
        const Outcome r = run(server, {"one", "two", "three"}, bridge::ServerEncoding::Utf8, 120);
        ASSERT_TRUE(r.result.error);
        EXPECT_EQ(r.result.error->kind, RconFailure::Timeout);
        EXPECT_EQ(r.result.error->line, static_cast<std::size_t>(silentAt));
        EXPECT_NE(r.result.error->message.find("120"), std::string::npos);
        EXPECT_EQ(server.commands.size(), static_cast<std::size_t>(silentAt));
    }
}

TEST(RconSession, ConnectionFailuresHaveTheirKindAndMessage) {
    struct Case {
        ConnectStatus status;
        RconFailure kind;
        std::string_view inMessage;
    };
    const Case cases[] = {
        {ConnectStatus::NotResolved, RconFailure::NotResolved, "mc.example"},
        {ConnectStatus::Refused, RconFailure::Refused, "mc.example:25575"},
        {ConnectStatus::Timeout, RconFailure::Timeout, "2000"},
        {ConnectStatus::Error, RconFailure::NetworkError, "网络错误"},
    };
    for (const Case& c : cases) {
        ScriptedServer server;
        server.connectStatus = c.status;
        const Outcome r = run(server, {"one"});
        ASSERT_TRUE(r.result.error);
        EXPECT_EQ(r.result.error->kind, c.kind);
        EXPECT_EQ(r.result.error->line, 0u);
        EXPECT_NE(r.result.error->message.find(c.inMessage), std::string::npos) << r.result.error->message;
        EXPECT_TRUE(server.received.empty());
    }
}

TEST(RconSession, CancelStopsBeforeTheNextLine) {
    ScriptedServer server;
    std::atomic<bool> cancel{false};
    bridge::RconEndpoint endpoint{"mc.example", 25575, "pw", bridge::ServerEncoding::Utf8, 2000};
    const RconResult result = bridge::runRcon(
        server, endpoint, {"one", "two", "three"}, cancel, [&](std::size_t done) { cancel = done == 1; }, kGbk);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->kind, RconFailure::Cancelled);
    EXPECT_EQ(result.error->line, 2u);
    EXPECT_EQ(result.linesSent, 1u);
    EXPECT_NE(result.error->message.find("已发送 1 条"), std::string::npos);
    EXPECT_EQ(server.commands, (std::vector<std::string>{"one"}));
}

TEST(RconSession, CancelEndsAWaitForASlowServer) {
    ScriptedServer server;
    server.reply = [&](const RconPacket& packet, int command) {
        return command == 1 ? std::string() : server.standardReply(packet);
    };
    std::atomic<bool> cancel{false};
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel = true;
    });
    // The server's timeout is far longer than the test: only the cancel can end the wait.
    const Outcome r = run(server, {"one", "two"}, bridge::ServerEncoding::Utf8, 600000, &cancel);
    canceller.join();
    ASSERT_TRUE(r.result.error);
    EXPECT_EQ(r.result.error->kind, RconFailure::Cancelled);
    EXPECT_EQ(server.commands, (std::vector<std::string>{"one"}));
}

TEST(RconSession, EncodesBodiesAndPasswordPerServer) {
    struct Case {
        bridge::ServerEncoding encoding;
        std::string body;
    };
    const Case cases[] = {
        {bridge::ServerEncoding::Utf8, "give \xE4\xB8\xAD"},
        {bridge::ServerEncoding::Gbk, "give \xD6\xD0"},
    };
    for (const Case& c : cases) {
        ScriptedServer server;
        server.password = c.body;
        bridge::RconEndpoint endpoint{"mc.example", 25575, "give 中", c.encoding, 2000};
        const std::atomic<bool> cancel{false};
        const RconResult result = bridge::runRcon(server, endpoint, {"give 中"}, cancel, {}, kGbk);
        ASSERT_FALSE(result.error) << result.error->message;
        EXPECT_EQ(server.commands, std::vector<std::string>{c.body});
        EXPECT_EQ(result.responses, std::vector<std::string>{"ok: give 中"}) << "answers come back as UTF-8";
    }
}

TEST(RconSession, AnswersBecomeWellFormedText) {
    ScriptedServer server;
    server.reply = [&](const RconPacket& packet, int) {
        if (packet.type != 2) return server.standardReply(packet);
        return serverPacket(packet.id, 0,
                            "\xC2\xA7"
                            "a\xFF\xFEok");  // § colour code, then two stray bytes
    };
    const Outcome r = run(server, {"one"});
    ASSERT_FALSE(r.result.error);
    EXPECT_EQ(r.result.responses, std::vector<std::string>{"\xC2\xA7"
                                                           "a\xEF\xBF\xBD\xEF\xBF\xBDok"});
}

std::string repeated(std::string_view piece, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) out += piece;
    return out;
}

TEST(RconSession, SendsOnePacketAtATimeToEveryKindOfServer) {
    // How servers end an answer: the game servers echo the marker as
    // "Unknown request 0"; Source-style servers echo it twice; some ignore it.
    enum class Marker { Unknown, Twice, Ignored };
    struct Case {
        const char* name;
        Marker marker;
        std::size_t chunk;       // bytes per receive
        std::size_t pieceUnits;  // answer split into packets of this many characters
    };
    const Case cases[] = {
        {"game server", Marker::Unknown, 1460, 4096},
        {"proxy", Marker::Unknown, 1 << 20, 2048},
        {"double echo", Marker::Twice, 7, 4096},
        {"ignores unknown types", Marker::Ignored, 1 << 20, 4096},
    };
    const std::string filler = repeated("中", 5000);
    for (const Case& c : cases) {
        ScriptedServer server;
        server.chunk = c.chunk;
        server.reply = [&](const RconPacket& packet, int) -> std::string {
            if (packet.type == 0) {
                if (c.marker == Marker::Ignored) return {};
                if (c.marker == Marker::Twice) {
                    return serverPacket(packet.id, 0, "") + serverPacket(packet.id, 0, std::string("\0\0\x01\0\0", 5));
                }
            }
            if (packet.type != 2) return server.standardReply(packet);
            const std::string text = "ok: " + packet.body + " " + filler;
            std::string out;
            for (std::size_t at = 0; at < text.size(); at += c.pieceUnits * 3) {
                out += serverPacket(packet.id, 0, text.substr(at, c.pieceUnits * 3));
            }
            return out;
        };
        std::vector<std::string> lines;
        for (int i = 1; i <= 5; ++i) lines.push_back("rpgitem 剑 lore 第" + std::to_string(i) + "行");
        const Outcome r = run(server, lines);
        ASSERT_FALSE(r.result.error) << c.name << ": " << r.result.error->message;
        EXPECT_EQ(server.commands, lines) << c.name;
        EXPECT_EQ(server.packetsWhileBusy, 0) << c.name << ": a packet went out before the one before was answered";
        ASSERT_EQ(r.result.responses.size(), lines.size()) << c.name;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(r.result.responses[i], "ok: " + lines[i] + " " + filler) << c.name << " line " << i + 1;
        }
        EXPECT_EQ(r.result.cut, std::vector<bool>(lines.size(), false)) << c.name;
    }
}

TEST(RconSession, AcceptsTheLargestPacketsServersSend) {
    // 4096 UTF-16 units of Chinese text: 12288 bytes once encoded.
    ScriptedServer server;
    server.chunk = 1000;
    const std::string full = repeated("中", 4096);
    server.reply = [&](const RconPacket& packet, int) {
        return packet.type == 2 ? serverPacket(packet.id, 0, full) : server.standardReply(packet);
    };
    const Outcome r = run(server, {"one"});
    ASSERT_FALSE(r.result.error) << r.result.error->message;
    EXPECT_EQ(r.result.responses, std::vector<std::string>{full});
}

TEST(RconSession, AFloodedAnswerKeepsItsStartAndTheRunGoesOn) {
    ScriptedServer server;
    const std::string piece = repeated("中", 4096);
    constexpr int kPieces = 100;  // 1.2 MB, above the cap
    server.reply = [&](const RconPacket& packet, int command) {
        if (packet.type != 2 || command != 1) return server.standardReply(packet);
        std::string out;
        for (int i = 0; i < kPieces; ++i) out += serverPacket(packet.id, 0, piece);
        return out;
    };
    const Outcome r = run(server, {"one", "two"});
    ASSERT_FALSE(r.result.error) << r.result.error->message;
    ASSERT_EQ(r.result.responses.size(), 2u);
    const std::string& first = r.result.responses[0];
    EXPECT_LE(first.size(), bridge::kMaxAnswerBytes);
    EXPECT_GT(first.size(), bridge::kMaxAnswerBytes - 3);
    EXPECT_EQ(first, repeated("中", first.size() / 3)) << "the start is kept, whole characters only";
    EXPECT_EQ(r.result.cut, (std::vector<bool>{true, false}));
    EXPECT_EQ(r.result.responses[1], "ok: two");
}

TEST(RconSession, CancelEndsAConnectThatGetsNoAnswer) {
    ScriptedServer server;
    server.connectHangs = true;
    std::atomic<bool> cancel{false};
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cancel = true;
    });
    // Only the cancel can end the connect: the test would hang otherwise.
    const Outcome r = run(server, {"one"}, bridge::ServerEncoding::Utf8, 600000, &cancel);
    canceller.join();
    ASSERT_TRUE(r.result.error);
    EXPECT_EQ(r.result.error->kind, RconFailure::Cancelled);
    EXPECT_EQ(r.result.error->line, 1u);
    EXPECT_EQ(r.result.linesSent, 0u);
    EXPECT_TRUE(server.received.empty());
}

TEST(RconSession, APasswordAboveTheLimitIsNeverSent) {
    for (const std::size_t size : {std::size_t{1446}, std::size_t{1447}}) {
        ScriptedServer server;
        server.password = std::string(size, 'p');
        bridge::RconEndpoint endpoint{"mc.example", 25575, server.password, bridge::ServerEncoding::Utf8, 2000};
        const std::atomic<bool> cancel{false};
        const RconResult result = bridge::runRcon(server, endpoint, {"one"}, cancel, {}, kGbk);
        if (size == 1446) {
            EXPECT_FALSE(result.error) << result.error->message;
            continue;
        }
        ASSERT_TRUE(result.error);
        EXPECT_EQ(result.error->kind, RconFailure::PasswordTooLong);
        EXPECT_NE(result.error->message.find("1447"), std::string::npos) << result.error->message;
        EXPECT_EQ(result.error->message.find(server.password), std::string::npos);
        EXPECT_EQ(server.connects, 0);
    }
}

TEST(RconSession, LinesAreTheNonEmptyOutputLinesWithoutTheirSlash) {
    struct Case {
        std::string_view text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\r\n\r\n", {}},
        {"/rpgitem a create\r\n\r\n/rpgitem a give\r\n", {"rpgitem a create", "rpgitem a give"}},
        {"rpgitem a create", {"rpgitem a create"}},
        {"//double\r\n/\r\n /space", {"/double", " /space"}},
    };
    for (const Case& c : cases) EXPECT_EQ(bridge::rconLines(c.text), c.lines) << c.text;
}

}  // namespace
