// A fake Minecraft RCON server for the tests (native Linux program, built in
// the native build as build/native/fake_rcon_server).
//
// Usage:
//   fake_rcon_server --port N [--password P] [--log FILE] [--port-file FILE]
//                    [--mode normal|split|refuse|slow|close|malformed|oversized]
//                    [--delay-ms N] [--after N] [--lifetime-ms N]
//
//   --port N         listens on 127.0.0.1:N (Wine programs reach it there); 0 picks a free port
//   --password P     the RCON password (default "secret")
//   --log FILE       appends the body of every command packet (type 2) received, in order, as raw
//                    bytes, each followed by "\n", flushed at once (the file is created empty at start)
//   --port-file FILE written (atomically, decimal port and "\n") once the server listens: wait for it
//   --lifetime-ms N  exits after N ms (default: runs until SIGTERM or SIGINT)
//   --mode           how it answers (every mode logs in normally unless stated):
//     normal     the answer to a command is "ok: " + its body, one packet
//     split      the answer is "ok: " + body + " " + 9000 filler bytes, sent as 4096-byte packets
//                (as a real server splits a long answer), each in its own write
//     refuse     every login is answered with id -1 (password refused)
//     slow       every answer comes --delay-ms (default 200) late
//     close      after --after N commands answered, the next command closes the connection
//     malformed  after --after N commands answered, the next answer has a length field of 5
//     oversized  after --after N commands answered, the next answer has a length field of 0x7FFFFFF0
//   Any other packet type is answered like a real server does: "Unknown request <type in hex>"
//   with the packet's id. A client packet longer than 1446 body bytes closes the connection.
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

namespace {

enum class Mode { Normal, Split, Refuse, Slow, Close, Malformed, Oversized };

struct Options {
    int port = -1;
    std::string password = "secret";
    std::string logPath;
    std::string portFile;
    Mode mode = Mode::Normal;
    int delayMs = 200;
    int after = 0;
    long lifetimeMs = 0;
};

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

// The answer to one command; false when the connection is to end.
bool answer(int fd, const Options& options, std::int32_t id, const std::string& body, int answered) {
    const bool misbehave = answered >= options.after;
    if (options.mode == Mode::Slow) pause(options.delayMs);
    switch (options.mode) {
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
        const std::string text = "ok: " + body + " " + std::string(9000, 'x');
        for (std::size_t at = 0; at < text.size(); at += 4096) {
            if (!writeAll(fd, packet(id, 0, text.substr(at, 4096)))) return false;
            pause(5);
        }
        return true;
    }
    default:
        break;
    }
    return writeAll(fd, packet(id, 0, "ok: " + body));
}

void serve(int fd, const Options& options) {
    bool loggedIn = false;
    int answered = 0;
    for (;;) {
        unsigned char head[12];
        if (!readAll(fd, head, 4)) break;
        const std::int32_t length = readInt32(head);
        if (length < 10 || length > 1446 + 10) break;
        if (!readAll(fd, head + 4, 8)) break;
        std::string rest(static_cast<std::size_t>(length) - 8, '\0');
        if (!readAll(fd, reinterpret_cast<unsigned char*>(rest.data()), rest.size())) break;
        const std::int32_t id = readInt32(head + 4);
        const std::int32_t type = readInt32(head + 8);
        const std::string body = rest.substr(0, rest.size() - 2);
        if (type == 3) {
            loggedIn = options.mode != Mode::Refuse && body == options.password;
            if (!writeAll(fd, packet(loggedIn ? id : -1, 2, ""))) break;
        } else if (!loggedIn) {
            break;  // as a real server: nothing before a login
        } else if (type == 2) {
            logBody(body);
            if (!answer(fd, options, id, body, answered)) break;
            ++answered;
        } else {
            char text[40];
            std::snprintf(text, sizeof text, "Unknown request %x", static_cast<unsigned>(type));
            if (!writeAll(fd, packet(id, 0, text))) break;
        }
    }
    finish(fd);
}

std::optional<Mode> modeNamed(const std::string& name) {
    const std::pair<const char*, Mode> modes[] = {
        {"normal", Mode::Normal}, {"split", Mode::Split},         {"refuse", Mode::Refuse},      {"slow", Mode::Slow},
        {"close", Mode::Close},   {"malformed", Mode::Malformed}, {"oversized", Mode::Oversized}};
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
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 64) != 0) {
        std::perror("fake_rcon_server: listen");
        return 1;
    }
    socklen_t size = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    const unsigned port = ntohs(address.sin_port);
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
    for (;;) {
        const int client = ::accept(listener, nullptr, nullptr);
        if (client < 0) continue;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        std::thread(serve, client, std::cref(options)).detach();
    }
}
