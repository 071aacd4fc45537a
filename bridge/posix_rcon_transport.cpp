#include "bridge/posix_rcon_transport.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace bridge {
namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

// What the next wait may take: up to kCancelPollMs, never past the deadline.
int sliceMs(Clock::time_point deadline) {
    const int left = msLeft(deadline);
    return left < kCancelPollMs ? left : kCancelPollMs;
}

bool deadlinePassed(Clock::time_point deadline) { return Clock::now() >= deadline; }

bool isClosedError(int error) {
    return error == ECONNRESET || error == ECONNABORTED || error == EPIPE || error == ENOTCONN || error == ESHUTDOWN;
}

bool isRefusal(int error) {
    return error == ECONNREFUSED || error == ENETUNREACH || error == EHOSTUNREACH || error == EHOSTDOWN;
}

bool setNonBlocking(int fd, bool on) {
    const int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0) return false;
    return fcntl(fd, F_SETFL, on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) == 0;
}

// One address: a non-blocking connect awaited with poll in slices that look
// at the cancel flag, then the socket back in blocking mode.
ConnectStatus connectOne(int fd, const addrinfo& address, Clock::time_point deadline, const std::atomic<bool>& cancel) {
    if (!setNonBlocking(fd, true)) return ConnectStatus::Error;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        if (errno != EINPROGRESS && errno != EINTR)
            return isRefusal(errno) ? ConnectStatus::Refused : ConnectStatus::Error;
        for (;;) {
            if (cancel.load()) return ConnectStatus::Cancelled;
            if (deadlinePassed(deadline)) return ConnectStatus::Timeout;
            pollfd waiting{fd, POLLOUT, 0};
            const int ready = ::poll(&waiting, 1, sliceMs(deadline));
            if (ready < 0 && errno == EINTR) continue;
            if (ready < 0) return ConnectStatus::Error;
            if (ready == 0) continue;
            int soError = 0;
            socklen_t size = sizeof soError;
            if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &size) != 0) return ConnectStatus::Error;
            if (soError != 0 || (waiting.revents & (POLLERR | POLLHUP))) {
                return soError == 0 || isRefusal(soError) ? ConnectStatus::Refused : ConnectStatus::Error;
            }
            break;
        }
    }
    if (!setNonBlocking(fd, false)) return ConnectStatus::Error;
    const int noDelay = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    return ConnectStatus::Connected;
}

// A name lookup on a thread of its own: getaddrinfo cannot be interrupted,
// so a cancelled or timed-out connect leaves it behind; whichever side
// finishes last frees the addresses.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int status = 0;
    addrinfo* addresses = nullptr;
    ~Lookup() {
        if (addresses) freeaddrinfo(addresses);
    }
};

addrinfo streamHints(int flags) {
    addrinfo hints{};
    hints.ai_flags = flags;
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    return hints;
}

ConnectStatus resolve(const std::string& host, std::uint16_t port, Clock::time_point deadline,
                      const std::atomic<bool>& cancel, std::shared_ptr<Lookup>& lookup) {
    lookup = std::make_shared<Lookup>();
    const std::string service = std::to_string(port);
    // An address written as numbers needs no lookup thread: it cannot block.
    const addrinfo numeric = streamHints(AI_NUMERICHOST);
    if (getaddrinfo(host.c_str(), service.c_str(), &numeric, &lookup->addresses) == 0) {
        lookup->finished = true;
        return ConnectStatus::Connected;
    }
    lookup->addresses = nullptr;
    std::thread([lookup, host, service] {
        const addrinfo hints = streamHints(0);
        addrinfo* found = nullptr;
        const int status = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
        std::lock_guard lock(lookup->mutex);
        lookup->status = status;
        lookup->addresses = status == 0 ? found : nullptr;
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    while (
        !lookup->done.wait_for(lock, std::chrono::milliseconds(sliceMs(deadline)), [&] { return lookup->finished; })) {
        if (cancel.load()) return ConnectStatus::Cancelled;
        if (deadlinePassed(deadline)) return ConnectStatus::Timeout;
    }
    if (lookup->status == 0) return ConnectStatus::Connected;
    return lookup->status == EAI_NONAME || lookup->status == EAI_NODATA || lookup->status == EAI_AGAIN ||
                   lookup->status == EAI_FAIL
               ? ConnectStatus::NotResolved
               : ConnectStatus::Error;
}

}  // namespace

PosixTransport::~PosixTransport() { close(); }

ConnectStatus PosixTransport::connect(const std::string& host, std::uint16_t port, int timeoutMs,
                                      const std::atomic<bool>& cancel) {
    close();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    std::shared_ptr<Lookup> lookup;
    if (const ConnectStatus found = resolve(host, port, deadline, cancel, lookup); found != ConnectStatus::Connected) {
        return found;
    }
    // Every address in turn while time is left; the last one's failure counts.
    ConnectStatus status = ConnectStatus::NotResolved;
    for (const addrinfo* a = lookup->addresses; a; a = a->ai_next) {
        if (cancel.load()) return ConnectStatus::Cancelled;
        if (deadlinePassed(deadline)) return ConnectStatus::Timeout;
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            status = ConnectStatus::Error;
            continue;
        }
        status = connectOne(fd, *a, deadline, cancel);
        if (status == ConnectStatus::Connected) {
            fd_ = fd;
            break;
        }
        ::close(fd);
        if (status == ConnectStatus::Cancelled) break;
    }
    return status;
}

IoStatus PosixTransport::send(std::string_view bytes) {
    if (fd_ < 0) return IoStatus::Error;
    while (!bytes.empty()) {
        // MSG_NOSIGNAL: a peer gone is a result here, not a SIGPIPE for the process.
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0) return isClosedError(errno) ? IoStatus::Closed : IoStatus::Error;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return IoStatus::Ok;
}

Received PosixTransport::receive(char* buffer, std::size_t capacity, int timeoutMs) {
    if (fd_ < 0 || capacity == 0) return {IoStatus::Error, 0};
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, msLeft(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return {IoStatus::Timeout, 0};
        if (ready < 0) return {IoStatus::Error, 0};
        break;
    }
    ssize_t got = 0;
    do {
        got = ::recv(fd_, buffer, capacity, 0);
    } while (got < 0 && errno == EINTR);
    if (got == 0) return {IoStatus::Closed, 0};
    if (got < 0) return {isClosedError(errno) ? IoStatus::Closed : IoStatus::Error, 0};
    return {IoStatus::Ok, static_cast<std::size_t>(got)};
}

void PosixTransport::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

}  // namespace bridge
