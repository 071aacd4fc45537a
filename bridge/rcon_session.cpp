#include "bridge/rcon_session.h"

#include <algorithm>
#include <chrono>

#include "bridge/rcon_packet.h"
#include "editor/text.h"
#include "editor/unicode.h"

namespace bridge {
namespace {

using Clock = std::chrono::steady_clock;

// What a wait for packets ended with.
enum class Wait { Packet, Timeout, Closed, BadPacket, NetworkError, Cancelled };

class Session {
public:
    Session(RconTransport& transport, const RconEndpoint& server, const std::atomic<bool>& cancel,
            const GbkConverter& gbk)
        : transport_(transport), server_(server), cancel_(cancel), gbk_(gbk) {}

    std::string toServer(std::string_view utf8) const {
        return server_.encoding == ServerEncoding::Gbk ? gbk_.fromUtf8(utf8) : std::string(utf8);
    }

    // Server text as well-formed UTF-8: shown, never interpreted.
    std::string fromServer(std::string_view bytes) const {
        const std::string utf8 = server_.encoding == ServerEncoding::Gbk ? gbk_.toUtf8(bytes) : std::string(bytes);
        return editor::toUtf8(editor::toUtf16(utf8));
    }

    // Sends one packet; the body was checked before.
    IoStatus send(std::int32_t id, RconType type, std::string_view body) {
        const std::optional<std::string> bytes = encodePacket(id, type, body);
        return bytes ? transport_.send(*bytes) : IoStatus::Error;
    }

    // The next packet before `deadline`.
    Wait receive(Clock::time_point deadline, RconPacket& packet) {
        for (;;) {
            if (std::optional<RconPacket> next = decoder_.next()) {
                packet = std::move(*next);
                return Wait::Packet;
            }
            if (decoder_.error() != DecodeError::None) return Wait::BadPacket;
            if (cancel_.load()) return Wait::Cancelled;
            const Clock::time_point now = Clock::now();
            if (now >= deadline) return Wait::Timeout;
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
            const int slice = static_cast<int>(std::min<long long>(left, kCancelPollMs));
            const Received received = transport_.receive(buffer_, sizeof buffer_, slice);
            switch (received.status) {
            case IoStatus::Ok:
                decoder_.feed(std::string_view(buffer_, std::min(received.size, sizeof buffer_)));
                break;
            case IoStatus::Timeout:
                break;
            case IoStatus::Closed:
                return Wait::Closed;
            case IoStatus::Error:
                return Wait::NetworkError;
            }
        }
    }

    Clock::time_point deadline() const { return after(server_.timeoutMs); }
    std::int32_t nextId() { return nextId_++; }
    // The quiet period that ends an answer whose end marker is not echoed.
    int quietMs() const { return quietMs_; }
    void measuredRoundTrip(Clock::duration roundTrip) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(roundTrip).count();
        quietMs_ = static_cast<int>(std::clamp<long long>(3 * ms, kQuietMs, std::max(server_.timeoutMs, kQuietMs)));
    }

    static Clock::time_point after(int ms) { return Clock::now() + std::chrono::milliseconds(ms); }

private:
    RconTransport& transport_;
    const RconEndpoint& server_;
    const std::atomic<bool>& cancel_;
    const GbkConverter& gbk_;
    RconDecoder decoder_;
    char buffer_[4096];
    std::int32_t nextId_ = 1;
    int quietMs_ = kQuietMs;
};

RconFailure failureOf(Wait wait) {
    switch (wait) {
    case Wait::Timeout:
        return RconFailure::Timeout;
    case Wait::Closed:
        return RconFailure::Closed;
    case Wait::BadPacket:
        return RconFailure::BadPacket;
    case Wait::Cancelled:
        return RconFailure::Cancelled;
    default:
        return RconFailure::NetworkError;
    }
}

RconFailure failureOf(IoStatus status) {
    return status == IoStatus::Closed ? RconFailure::Closed : RconFailure::NetworkError;
}

RconFailure failureOf(ConnectStatus status) {
    switch (status) {
    case ConnectStatus::NotResolved:
        return RconFailure::NotResolved;
    case ConnectStatus::Refused:
        return RconFailure::Refused;
    case ConnectStatus::Timeout:
        return RconFailure::Timeout;
    case ConnectStatus::Cancelled:
        return RconFailure::Cancelled;
    default:
        return RconFailure::NetworkError;
    }
}

// Logs in; empty when the server accepted the password.
std::optional<RconFailure> logIn(Session& session, const std::string& password) {
    const std::int32_t id = session.nextId();
    const Clock::time_point sentAt = Clock::now();
    if (const IoStatus sent = session.send(id, RconType::Login, password); sent != IoStatus::Ok) {
        return failureOf(sent);
    }
    const Clock::time_point deadline = session.deadline();
    for (;;) {
        RconPacket packet;
        if (const Wait wait = session.receive(deadline, packet); wait != Wait::Packet) return failureOf(wait);
        // Some servers send an empty response before the login answer (type 2).
        if (packet.type != static_cast<std::int32_t>(RconType::Command)) continue;
        session.measuredRoundTrip(Clock::now() - sentAt);
        if (packet.id == id) return std::nullopt;
        return packet.id == kLoginRefusedId ? RconFailure::LoginRefused : RconFailure::BadPacket;
    }
}

// Appends to a line's answer up to kMaxAnswerBytes; true once it was cut.
// The cut does not split a UTF-8 character.
bool appendCapped(std::string& answer, std::string_view piece) {
    std::size_t room = kMaxAnswerBytes - std::min(answer.size(), kMaxAnswerBytes);
    if (piece.size() <= room) {
        answer.append(piece);
        return false;
    }
    for (int back = 0; back < 3 && room > 0 && (static_cast<unsigned char>(piece[room]) & 0xC0) == 0x80; ++back) {
        --room;
    }
    answer.append(piece.substr(0, room));
    return true;
}

// Sends one command and collects its answer. The end marker goes out once
// the answer has begun (the server is then done with the command and reads
// the marker alone); the answer ends with the marker's echo, or after a
// quiet period when the server ignores the marker. Packets of earlier ids
// are late echoes, left aside.
std::optional<RconFailure> runLine(Session& session, const std::string& body, std::string& answer, bool& cut) {
    const std::int32_t commandId = session.nextId();
    const std::int32_t markerId = session.nextId();
    if (const IoStatus sent = session.send(commandId, RconType::Command, body); sent != IoStatus::Ok) {
        return failureOf(sent);
    }
    Clock::time_point deadline = session.deadline();
    bool markerSent = false;
    Clock::time_point quietEnd{};
    for (;;) {
        RconPacket packet;
        const Clock::time_point until = markerSent ? std::min(deadline, quietEnd) : deadline;
        const Wait wait = session.receive(until, packet);
        if (wait == Wait::Timeout && markerSent && Clock::now() >= quietEnd) {
            return std::nullopt;  // no echo: the answer has ended
        }
        if (wait != Wait::Packet) return failureOf(wait);
        if (packet.id == markerId && markerSent) return std::nullopt;
        if (packet.id != commandId) continue;
        cut = appendCapped(answer, packet.body) || cut;
        // A long answer may take long as a whole; a flood gets no more time.
        if (!cut) deadline = session.deadline();
        quietEnd = Session::after(session.quietMs());
        if (!markerSent) {
            if (const IoStatus sent = session.send(markerId, RconType::Response, {}); sent != IoStatus::Ok) {
                return failureOf(sent);
            }
            markerSent = true;
        }
    }
}

}  // namespace

RconResult runRcon(RconTransport& transport, const RconEndpoint& server, const std::vector<std::string>& lines,
                   const std::atomic<bool>& cancel, const std::function<void(std::size_t linesDone)>& progress,
                   const GbkConverter& gbk) {
    RconResult result;
    auto fail = [&](RconFailure kind, std::size_t line, std::size_t detail = 0) {
        result.error = RconError{kind, line, rconMessage(kind, line, server, detail)};
        return result;
    };
    Session session(transport, server, cancel, gbk);

    std::vector<std::string> bodies;
    bodies.reserve(lines.size());
    for (const std::string& line : lines) {
        bodies.push_back(session.toServer(line));
        if (!encodePacket(0, RconType::Command, bodies.back())) {
            return fail(RconFailure::LineTooLong, bodies.size(), bodies.back().size());
        }
    }
    const std::string password = session.toServer(server.password);
    if (!encodePacket(0, RconType::Login, password)) return fail(RconFailure::PasswordTooLong, 0, password.size());
    if (cancel.load()) return fail(RconFailure::Cancelled, lines.empty() ? 0 : 1, 0);

    const ConnectStatus connected = transport.connect(server.host, server.port, server.timeoutMs, cancel);
    if (connected == ConnectStatus::Cancelled) return fail(RconFailure::Cancelled, lines.empty() ? 0 : 1, 0);
    if (connected != ConnectStatus::Connected) return fail(failureOf(connected), 0);

    auto stop = [&](RconFailure kind, std::size_t line) {
        transport.close();
        return fail(kind, line, result.linesSent);
    };
    if (const std::optional<RconFailure> refused = logIn(session, password)) {
        return stop(*refused, 0);
    }
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        if (cancel.load()) return stop(RconFailure::Cancelled, i + 1);
        ++result.linesSent;
        result.responses.emplace_back();
        result.cut.push_back(false);
        std::string answer;
        bool cut = false;
        const std::optional<RconFailure> failure = runLine(session, bodies[i], answer, cut);
        result.responses.back() = session.fromServer(answer);
        result.cut.back() = cut;
        if (failure) return stop(*failure, i + 1);
        if (progress) progress(i + 1);
    }
    transport.close();
    return result;
}

std::vector<std::string> rconLines(std::string_view outputText) {
    std::vector<std::string> lines;
    for (std::string& line : editor::splitLines(outputText)) {
        if (!line.empty() && line.front() == '/') line.erase(0, 1);
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

std::string rconMessage(RconFailure kind, std::size_t line, const RconEndpoint& server, std::size_t detail) {
    const std::string n = std::to_string(line);
    const std::string wait = std::to_string(server.timeoutMs);
    switch (kind) {
    case RconFailure::NotResolved:
        return "找不到服务器地址「" + server.host + "」，请检查主机名";
    case RconFailure::Refused:
        return "无法连接到 " + server.host + ":" + std::to_string(server.port) +
               "（连接被拒绝或主机不可达），请检查地址、端口和服务器的 RCON 设置";
    case RconFailure::LoginRefused:
        return "RCON 密码错误，服务器拒绝登录";
    case RconFailure::Timeout:
        if (line == 0) return "连接或登录服务器超时（" + wait + " 毫秒）";
        return "等待第" + n + "条指令的回应超时（" + wait + " 毫秒），之后的指令未发送";
    case RconFailure::Closed:
        if (line == 0) return "服务器在登录时关闭了连接";
        return "服务器在第" + n + "条指令时关闭了连接，之后的指令未发送";
    case RconFailure::LineTooLong:
        return "第" + n + "条指令编码后长 " + std::to_string(detail) +
               " 字节，超过 RCON 的上限 1446 字节；没有向该服务器发送任何指令";
    case RconFailure::BadPacket:
        if (line == 0) return "服务器在登录时发来了格式错误或过长的数据包，已断开";
        return "服务器在第" + n + "条指令时发来了格式错误或过长的数据包，已停止向该服务器发送";
    case RconFailure::NetworkError:
        if (line == 0) return "连接服务器时发生网络错误";
        return "第" + n + "条指令时发生网络错误，之后的指令未发送";
    case RconFailure::Cancelled:
        return "已取消：已发送 " + std::to_string(detail) + " 条指令，其余未发送";
    case RconFailure::PasswordTooLong:
        return "RCON 密码编码后长 " + std::to_string(detail) + " 字节，超过 RCON 的上限 1446 字节；没有连接该服务器";
    case RconFailure::BadEntry:
        return "服务器列表中该服务器的设置有误，已跳过，没有向它发送任何内容";
    case RconFailure::Internal:
        return "程序内部出错（可能是内存不足），已停止向该服务器发送";
    }
    return {};
}

}  // namespace bridge
