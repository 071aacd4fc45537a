// One delivery run to one server over RCON, as logic over a transport
// interface (Win32: Winsock; tests: a scripted fake or the fake server).
//
// The run: connect; log in (type 3; answered with id -1 means refused); for
// each line: check the cancel flag, send it as a command (type 2), send an
// empty response packet (type 0) with another id right after it, and read
// until that packet's echo: every command answer before it belongs to the
// line (a long answer comes over several packets and is joined). Then
// progress, then the next line. Every wait for the server is bounded by the
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

    virtual ConnectStatus connect(const std::string& host, std::uint16_t port, int timeoutMs) = 0;
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
    Cancelled,  // lines from `line` on were not sent
};

struct RconError {
    RconFailure kind = RconFailure::NetworkError;
    std::size_t line = 0;  // the line reached, from 1; 0: before the first line
    std::string message;   // Chinese, for the user; never holds the password
};

struct RconResult {
    std::size_t linesSent = 0;           // lines written to the server
    std::vector<std::string> responses;  // one per line sent, UTF-8 text; the last one cut short on a failure
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

}  // namespace bridge
