// One delivery run to one server over RCON, as logic over a transport
// interface (Win32: Winsock; tests: a scripted fake or the fake server).
//
// The run: connect; log in (type 3; answered with id -1 means refused); for
// each line: check the cancel flag, send it as a command (type 2) and wait
// for the first packet of its answer; only then send an empty response
// packet (type 0) with another id, the end marker, and read until its echo:
// every command answer before it belongs to the line (a long answer comes
// over several packets and is joined). A server that never echoes the
// marker ends the answer by a quiet period instead. Then progress, then the
// next line. One packet is in flight at a time: the game servers' console
// thread reads one packet per read and hangs up when two arrive together.
// Every wait for the server, connecting included, is bounded by the
// server's timeout and watches the cancel flag.
//
// Every line is encoded and checked against kMaxCommandBody before anything
// is sent: a line too long means nothing at all goes to that server.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bridge {

enum class ConnectStatus {
    Connected,
    NotResolved,  // the host name has no address
    Refused,      // nothing listens there, or the host is unreachable
    Timeout,
    Cancelled,  // the cancel flag was set while resolving or connecting
    Error,
};

enum class IoStatus {
    Ok,
    Timeout,  // receive only: nothing arrived in time
    Closed,   // the peer closed the connection
    Error,
};

struct Received {
    IoStatus status = IoStatus::Error;
    std::size_t size = 0;  // bytes written into the buffer when Ok (at least 1)
};

// A TCP connection. One object per server and run; used by one thread.
class RconTransport {
public:
    virtual ~RconTransport() = default;

    // Resolves the name and connects within timeoutMs; returns Cancelled
    // within kCancelPollMs of `cancel` being set, whatever it waits for.
    virtual ConnectStatus connect(const std::string& host, std::uint16_t port, int timeoutMs,
                                  const std::atomic<bool>& cancel) = 0;
    // Sends all bytes: Ok, Closed or Error.
    virtual IoStatus send(std::string_view bytes) = 0;
    // Waits at most timeoutMs for bytes.
    virtual Received receive(char* buffer, std::size_t capacity, int timeoutMs) = 0;
    virtual void close() = 0;
};

enum class ServerEncoding { Utf8, Gbk };

// UTF-8 <-> code page 936 (Win32: WideCharToMultiByte / MultiByteToWideChar
// with 936; native tests: iconv). A character the code page cannot hold
// becomes "?"; a malformed byte sequence from the server becomes U+FFFD.
struct GbkConverter {
    std::function<std::string(std::string_view utf8)> fromUtf8;
    std::function<std::string(std::string_view gbk)> toUtf8;
};

struct RconEndpoint {
    std::string host;
    std::uint16_t port = 25575;
    std::string password;  // plain, in memory only
    ServerEncoding encoding = ServerEncoding::Utf8;
    int timeoutMs = 5000;
};

enum class RconFailure {
    NotResolved,
    Refused,  // connection refused or host unreachable
    LoginRefused,
    Timeout,      // connecting, logging in or waiting for an answer
    Closed,       // the server closed the connection (mid-run: line reached)
    LineTooLong,  // nothing was sent; `line` names the first such line
    BadPacket,    // malformed or oversized packet from the server
    NetworkError,
    Cancelled,        // lines from `line` on were not sent
    PasswordTooLong,  // nothing was sent; `detail` of rconMessage: the encoded length
    BadEntry,         // the servers file's entry cannot be used as written: not contacted
    Internal,         // a fault in this program (out of memory, ...): the server's run stopped
};

struct RconError {
    RconFailure kind = RconFailure::NetworkError;
    std::size_t line = 0;  // the line reached, from 1; 0: before the first line
    std::string message;   // Chinese, for the user; never holds the password
};

struct RconResult {
    std::size_t linesSent = 0;           // lines written to the server
    std::vector<std::string> responses;  // one per line sent, UTF-8 text; the last one cut short on a failure
    std::vector<bool> cut;               // per response: longer than kMaxAnswerBytes, only its start kept
    std::optional<RconError> error;      // the first failure; empty when every line went through
};

// Runs `lines` (already without their leading "/") on one server. With no
// lines it only logs in: the servers dialog's connection test.
// `progress` hears the number of lines done (answer in) after each one, on
// the calling thread. The cancel flag stops the run before the next line or
// while waiting for an answer. `gbk` is used only for servers with ServerEncoding::Gbk.
RconResult runRcon(RconTransport& transport, const RconEndpoint& server, const std::vector<std::string>& lines,
                   const std::atomic<bool>& cancel, const std::function<void(std::size_t linesDone)>& progress,
                   const GbkConverter& gbk);

// The lines sent to servers: the output box's text split at CR LF, each
// line without one leading "/", empty lines (and a lone "/") left out.
std::vector<std::string> rconLines(std::string_view outputText);

// The message of a failure, as runRcon puts it into RconError::message.
// `detail`: the encoded length for LineTooLong, the lines sent for Cancelled.
std::string rconMessage(RconFailure kind, std::size_t line, const RconEndpoint& server, std::size_t detail = 0);

// How long one wait for the server lasts at most before the cancel flag is
// looked at again.
inline constexpr int kCancelPollMs = 50;
// How much of one line's answer is kept (bytes as the server sent them):
// a server that floods must not grow memory without bound.
inline constexpr std::size_t kMaxAnswerBytes = 1024 * 1024;
// A server that never echoes the end marker (it ignores packet types it does
// not know): the answer ends after this long without a packet, or three
// login round trips on a slower connection.
inline constexpr int kQuietMs = 200;

}  // namespace bridge
