// A fake Minecraft RCON server for the tests (native Linux program, built in
// the native build as build/native/fake_rcon_server).
//
// Usage:
//   fake_rcon_server --port N [--password P] [--log FILE] [--port-file FILE]
//                    [--mode normal|console|proxy|ignore|split|refuse|slow|close|malformed|oversized|flood|unaccepting]
//                    [--delay-ms N] [--after N] [--command-ms N] [--long-every K] [--long-chars N]
//                    [--lifetime-ms N]
//
//   --port N         listens on 127.0.0.1:N (Wine programs reach it there); 0 picks a free port
//   --password P     the RCON password (default "secret")
//   --log FILE       appends the body of every command packet (type 2) run, in order, as raw
//                    bytes, each followed by "\n", flushed at once (the file is created empty at start)
//   --port-file FILE written (atomically, decimal port and "\n") once the server listens: wait for it
//   --lifetime-ms N  exits after N ms (default: runs until SIGTERM or SIGINT)
//   --command-ms N   every command takes N ms to run before its answer goes out; nothing is read
//                    from the connection meanwhile (default 0)
//   --long-every K, --long-chars N
//                    the answer to every Kth command gets a blank and N Chinese characters more
//                    (tests/rcon/fake_answers.h; default: none)
//   --mode           how it reads and answers (every mode logs in normally unless stated):
//     normal     reads a stream (any number of packets per read); the answer to a command is
//                "ok: " + its body, one packet
//     console    the vanilla game server's console thread (also Spigot, Paper, Purpur, Forge,
//                Fabric): one read of at most 1460 bytes per packet, and a read that does not
//                hold exactly one packet (two packets at once, or one cut in pieces) closes the
//                connection without running anything; a command before the login is answered
//                with id -1; the answer goes out in packets of at most 4096 UTF-16 units
//                (a character whose two units straddle a cut becomes "?" on both sides)
//     proxy      the RCON plug-ins of BungeeCord and Velocity: a stream, answers in packets of at
//                most 2048 UTF-16 units
//     ignore     a stream; packet types other than login (3) and command (2) get no answer
//     split      the answer is "ok: " + body + " " + 9000 filler bytes, sent as 4096-byte packets
//                (as a real server splits a long answer), each in its own write
//     refuse     every login is answered with id -1 (password refused)
//     slow       every answer comes --delay-ms (default 200) late
//     close      after --after N commands answered, the next command closes the connection
//     malformed  after --after N commands answered, the next answer has a length field of 5
//     oversized  after --after N commands answered, the next answer has a length field of 0x7FFFFFF0
//     flood      the answer to a command never ends: 4096-character packets of its id until the
//                client goes
//     unaccepting  listens but never accepts: its queue is full, so a connect hangs until the
//                client gives up
//   Except in ignore mode, any other packet type is answered like a real server does:
//   "Unknown request <type in hex>" with the packet's id. A client packet longer than 1446 body
//   bytes closes the connection.
//
// Prints "listening on 127.0.0.1:<port>" to stdout. Serves any number of connections at once,
// one thread each; the log keeps the order in which packets arrived.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/rcon/fake_answers.h"

namespace {

enum class Mode {
    Normal,
    Console,
    Proxy,
    Ignore,
    Split,
    Refuse,
    Slow,
    Close,
    Malformed,
    Oversized,
    Flood,
    Unaccepting
};

struct Options {
    int port = -1;
    std::string password = "secret";
    std::string logPath;
    std::string portFile;
    Mode mode = Mode::Normal;
    int delayMs = 200;
    int after = 0;
    int commandMs = 0;
    int longEvery = 0;
    int longChars = 0;
    long lifetimeMs = 0;
};

// The vanilla console thread's read buffer, and the longest body a client may send.
constexpr std::size_t kConsoleRead = 1460;
constexpr std::int32_t kMaxClientLength = 1446 + 10;

std::mutex logMutex;
FILE* logFile = nullptr;

void appendInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

std::int32_t readInt32(const unsigned char* bytes) {
    const std::uint32_t bits = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return static_cast<std::int32_t>(bits);
}

std::string packet(std::int32_t id, std::int32_t type, const std::string& body) {
    std::string out;
    appendInt32(out, static_cast<std::int32_t>(body.size() + 10));
    appendInt32(out, id);
    appendInt32(out, type);
    out += body;
    out.append(2, '\0');
    return out;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, unsigned char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::recv(fd, into + done, size - done, 0);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void logBody(const std::string& body) {
    if (!logFile) return;
    std::lock_guard<std::mutex> lock(logMutex);
    std::fwrite(body.data(), 1, body.size(), logFile);
    std::fputc('\n', logFile);
    std::fflush(logFile);
}

// Ends a connection with a FIN, never a reset (closing with unread bytes
// would reset it and the client could lose what was sent last): stop
// writing, read until the client closes (at most 2 s), then close.
void finish(int fd) {
    ::shutdown(fd, SHUT_WR);
    timeval wait{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char sink[4096];
    while (::recv(fd, sink, sizeof sink, 0) > 0) {}
    ::close(fd);
}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// UTF-8 decoded as Java does (a malformed sequence becomes U+FFFD).
std::vector<char32_t> codePoints(const std::string& utf8) {
    std::vector<char32_t> out;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        const int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        char32_t cp = extra == 0 ? c : extra == 1 ? c & 0x1F : extra == 2 ? c & 0x0F : c & 0x07;
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + static_cast<std::size_t>(k) >= n || (s[i + k] & 0xC0) != 0x80) {
                ok = false;
            } else {
                cp = cp << 6 | (s[i + k] & 0x3F);
            }
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The text cut every `units` UTF-16 code units, as Java's substring cuts a
// String; each piece encoded to UTF-8, where half a surrogate pair becomes "?".
std::vector<std::string> piecesOf(const std::string& utf8, std::size_t units) {
    std::vector<std::string> pieces(1);
    std::size_t used = 0;
    for (const char32_t cp : codePoints(utf8)) {
        const std::size_t width = cp >= 0x10000 ? 2 : 1;
        if (used + width <= units) {
            appendUtf8(pieces.back(), cp);
            used += width;
            if (used == units) {
                pieces.emplace_back();
                used = 0;
            }
            continue;
        }
        // A pair straddling the cut: each half alone is "?".
        pieces.back() += '?';
        pieces.emplace_back("?");
        used = 1;
    }
    if (pieces.size() > 1 && pieces.back().empty()) pieces.pop_back();
    return pieces;
}

// Sends an answer in packets of at most `units` UTF-16 units (an empty one
// still goes out as one empty packet).
bool sendPieces(int fd, std::int32_t id, const std::string& text, std::size_t units) {
    for (const std::string& piece : piecesOf(text, units)) {
        if (!writeAll(fd, packet(id, 0, piece))) return false;
    }
    return true;
}

// The answer to one command; false when the connection is to end.
bool answer(int fd, const Options& options, std::int32_t id, const std::string& body, int answered) {
    const bool misbehave = answered >= options.after;
    if (options.commandMs > 0) pause(options.commandMs);
    if (options.mode == Mode::Slow) pause(options.delayMs);
    const std::string text = fake_rcon::answerTo(body, answered + 1, options.longEvery, options.longChars);
    switch (options.mode) {
    case Mode::Console:
    case Mode::Ignore:
        return sendPieces(fd, id, text, 4096);
    case Mode::Proxy:
        return sendPieces(fd, id, text, 2048);
    case Mode::Close:
        if (misbehave) return false;
        break;
    case Mode::Malformed:
        if (misbehave) {
            std::string bad;
            appendInt32(bad, 5);
            appendInt32(bad, id);
            writeAll(fd, bad);
            return false;
        }
        break;
    case Mode::Oversized:
        if (misbehave) {
            std::string bad;
            appendInt32(bad, 0x7FFFFFF0);
            appendInt32(bad, id);
            appendInt32(bad, 0);
            bad += "ok";
            writeAll(fd, bad);
            return false;
        }
        break;
    case Mode::Split: {
        const std::string split = "ok: " + body + " " + std::string(9000, 'x');
        for (std::size_t at = 0; at < split.size(); at += 4096) {
            if (!writeAll(fd, packet(id, 0, split.substr(at, 4096)))) return false;
            pause(5);
        }
        return true;
    }
    case Mode::Flood: {
        const std::string piece = packet(id, 0, fake_rcon::longFiller(4096));
        while (writeAll(fd, piece)) {}
        return false;
    }
    default:
        break;
    }
    return writeAll(fd, packet(id, 0, text));
}

struct Received {
    std::int32_t id = 0;
    std::int32_t type = 0;
    std::string body;
};

// The next packet of a stream: any number may come in one read.
std::optional<Received> readFromStream(int fd) {
    unsigned char head[12];
    if (!readAll(fd, head, 4)) return std::nullopt;
    const std::int32_t length = readInt32(head);
    if (length < 10 || length > kMaxClientLength) return std::nullopt;
    if (!readAll(fd, head + 4, 8)) return std::nullopt;
    std::string rest(static_cast<std::size_t>(length) - 8, '\0');
    if (!readAll(fd, reinterpret_cast<unsigned char*>(rest.data()), rest.size())) return std::nullopt;
    return Received{readInt32(head + 4), readInt32(head + 8), rest.substr(0, rest.size() - 2)};
}

// The next packet as the vanilla console thread takes it: one read, which
// must hold exactly one packet. The body ends at its first NUL.
std::optional<Received> readAsConsole(int fd) {
    unsigned char buffer[kConsoleRead];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 10) return std::nullopt;
    if (readInt32(buffer) != n - 4) return std::nullopt;  // two packets, or a piece of one
    const auto* text = reinterpret_cast<const char*>(buffer + 12);
    const std::size_t room = static_cast<std::size_t>(n) - 12;
    return Received{readInt32(buffer + 4), readInt32(buffer + 8), std::string(text, strnlen(text, room))};
}

void serve(int fd, const Options& options) {
    const bool console = options.mode == Mode::Console;
    bool loggedIn = false;
    int answered = 0;
    for (;;) {
        const std::optional<Received> got = console ? readAsConsole(fd) : readFromStream(fd);
        if (!got) break;
        const auto& [id, type, body] = *got;
        if (type == 3) {
            loggedIn = options.mode != Mode::Refuse && !body.empty() && body == options.password;
            if (!writeAll(fd, packet(loggedIn ? id : -1, 2, ""))) break;
        } else if (type == 2 && !loggedIn) {
            if (!console) break;  // a stream server drops such a client
            if (!writeAll(fd, packet(-1, 2, ""))) break;
        } else if (type == 2) {
            logBody(body);
            if (!answer(fd, options, id, body, answered)) break;
            ++answered;
        } else if (!loggedIn && !console) {
            break;
        } else if (options.mode != Mode::Ignore) {
            char text[40];
            std::snprintf(text, sizeof text, "Unknown request %x", static_cast<unsigned>(type));
            if (!writeAll(fd, packet(id, 0, text))) break;
        }
    }
    finish(fd);
}

// Fills the listening socket's queue with connections of its own, so that
// a client's connect gets no answer; they stay open while the server runs.
void fillQueue(const sockaddr_in& address) {
    for (int i = 0; i < 8; ++i) {
        const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    pause(200);  // the handshakes complete, the queue is full
}

std::optional<Mode> modeNamed(const std::string& name) {
    const std::pair<const char*, Mode> modes[] = {
        {"normal", Mode::Normal}, {"console", Mode::Console},     {"proxy", Mode::Proxy},
        {"ignore", Mode::Ignore}, {"split", Mode::Split},         {"refuse", Mode::Refuse},
        {"slow", Mode::Slow},     {"close", Mode::Close},         {"malformed", Mode::Malformed},
        {"flood", Mode::Flood},   {"oversized", Mode::Oversized}, {"unaccepting", Mode::Unaccepting}};
    for (const auto& [text, mode] : modes) {
        if (name == text) return mode;
    }
    return std::nullopt;
}

[[noreturn]] void usage(const char* problem) {
    std::fprintf(stderr, "fake_rcon_server: %s\nsee the comment at the top of tests/rcon/fake_rcon_server.cpp\n",
                 problem);
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) usage(("missing value of " + name).c_str());
        const std::string value = argv[++i];
        if (name == "--port")
            options.port = std::atoi(value.c_str());
        else if (name == "--password")
            options.password = value;
        else if (name == "--log")
            options.logPath = value;
        else if (name == "--port-file")
            options.portFile = value;
        else if (name == "--delay-ms")
            options.delayMs = std::atoi(value.c_str());
        else if (name == "--after")
            options.after = std::atoi(value.c_str());
        else if (name == "--command-ms")
            options.commandMs = std::atoi(value.c_str());
        else if (name == "--long-every")
            options.longEvery = std::atoi(value.c_str());
        else if (name == "--long-chars")
            options.longChars = std::atoi(value.c_str());
        else if (name == "--lifetime-ms")
            options.lifetimeMs = std::atol(value.c_str());
        else if (name == "--mode") {
            const std::optional<Mode> mode = modeNamed(value);
            if (!mode) usage(("unknown mode " + value).c_str());
            options.mode = *mode;
        } else {
            usage(("unknown option " + name).c_str());
        }
    }
    if (options.port < 0 || options.port > 65535) usage("--port N is required (0 picks a free port)");
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    if (!options.logPath.empty()) {
        logFile = std::fopen(options.logPath.c_str(), "wb");
        if (!logFile) usage(("cannot write " + options.logPath).c_str());
    }
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(options.port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int backlog = options.mode == Mode::Unaccepting ? 0 : 64;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, backlog) != 0) {
        std::perror("fake_rcon_server: listen");
        return 1;
    }
    socklen_t size = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    const unsigned port = ntohs(address.sin_port);
    if (options.mode == Mode::Unaccepting) fillQueue(address);
    if (!options.portFile.empty()) {
        const std::string temporary = options.portFile + ".tmp";
        FILE* file = std::fopen(temporary.c_str(), "w");
        if (!file) usage(("cannot write " + options.portFile).c_str());
        std::fprintf(file, "%u\n", port);
        std::fclose(file);
        std::rename(temporary.c_str(), options.portFile.c_str());
    }
    std::printf("listening on 127.0.0.1:%u\n", port);
    std::fflush(stdout);
    if (options.lifetimeMs > 0) {
        std::thread([ms = options.lifetimeMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            std::_Exit(0);
        }).detach();
    }
    if (options.mode == Mode::Unaccepting) {
        for (;;) pause(1000);
    }
    for (;;) {
        const int client = ::accept(listener, nullptr, nullptr);
        if (client < 0) continue;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        std::thread(serve, client, std::cref(options)).detach();
    }
}
