#include "bridge/win32_rcon_transport.h"

#include <ws2tcpip.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "editor/unicode.h"

namespace bridge {
namespace {

// Winsock is started once for the process and left running until it ends.
bool winsockStarted() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

// What the next wait may take: up to kCancelPollMs, never past the deadline.
long sliceMs(DWORD deadline) {
    const long left = static_cast<long>(deadline - GetTickCount());
    return left <= 0 ? 0 : left < kCancelPollMs ? left : kCancelPollMs;
}

bool deadlinePassed(DWORD deadline) { return static_cast<long>(deadline - GetTickCount()) <= 0; }

bool isClosedError(int error) {
    return error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAESHUTDOWN || error == WSAENOTCONN;
}

// One address: a non-blocking connect awaited with select in slices that
// look at the cancel flag, then the socket back in blocking mode.
ConnectStatus connectOne(SOCKET s, const ADDRINFOW& address, DWORD deadline, const std::atomic<bool>& cancel) {
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (::connect(s, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK && error != WSAEINPROGRESS) {
            return error == WSAECONNREFUSED || error == WSAENETUNREACH || error == WSAEHOSTUNREACH
                       ? ConnectStatus::Refused
                       : ConnectStatus::Error;
        }
        for (;;) {
            if (cancel.load()) return ConnectStatus::Cancelled;
            if (deadlinePassed(deadline)) return ConnectStatus::Timeout;
            fd_set writable;
            fd_set failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(s, &writable);
            FD_SET(s, &failed);
            const long ms = sliceMs(deadline);
            timeval wait{ms / 1000, (ms % 1000) * 1000};
            const int ready = select(0, nullptr, &writable, &failed, &wait);
            if (ready < 0) return ConnectStatus::Error;
            if (ready == 0) continue;
            int soError = 0;
            int size = sizeof soError;
            getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &size);
            if (FD_ISSET(s, &failed) || soError != 0) {
                return soError == WSAECONNREFUSED || soError == WSAENETUNREACH || soError == WSAEHOSTUNREACH ||
                               soError == 0
                           ? ConnectStatus::Refused
                           : ConnectStatus::Error;
            }
            break;
        }
    }
    u_long blocking = 0;
    ioctlsocket(s, FIONBIO, &blocking);
    BOOL noDelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    return ConnectStatus::Connected;
}

// A name lookup on a thread of its own: GetAddrInfoW cannot be interrupted,
// so a cancelled or timed-out connect leaves it behind; whichever side
// finishes last frees the addresses.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int status = 0;
    ADDRINFOW* addresses = nullptr;
    ~Lookup() {
        if (addresses) FreeAddrInfoW(addresses);
    }
};

ADDRINFOW streamHints(int flags) {
    ADDRINFOW hints{};
    hints.ai_flags = flags;
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    return hints;
}

// The lookup's status (0: found, `addresses` filled) or why it stopped.
ConnectStatus resolve(const std::string& host, std::uint16_t port, DWORD deadline, const std::atomic<bool>& cancel,
                      std::shared_ptr<Lookup>& lookup) {
    lookup = std::make_shared<Lookup>();
    const std::wstring name = editor::toWide(host);
    const std::wstring service = std::to_wstring(port);
    // An address written as numbers needs no lookup thread: it cannot block.
    const ADDRINFOW numeric = streamHints(AI_NUMERICHOST);
    if (GetAddrInfoW(name.c_str(), service.c_str(), &numeric, &lookup->addresses) == 0) {
        lookup->finished = true;
        return ConnectStatus::Connected;
    }
    lookup->addresses = nullptr;
    std::thread([lookup, name, service] {
        const ADDRINFOW hints = streamHints(0);
        ADDRINFOW* found = nullptr;
        const int status = GetAddrInfoW(name.c_str(), service.c_str(), &hints, &found);
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
    return lookup->status == WSAHOST_NOT_FOUND || lookup->status == WSANO_DATA || lookup->status == WSATRY_AGAIN
               ? ConnectStatus::NotResolved
               : ConnectStatus::Error;
}

}  // namespace

WinsockTransport::WinsockTransport() { winsockStarted(); }

WinsockTransport::~WinsockTransport() { close(); }

ConnectStatus WinsockTransport::connect(const std::string& host, std::uint16_t port, int timeoutMs,
                                        const std::atomic<bool>& cancel) {
    close();
    if (!winsockStarted()) return ConnectStatus::Error;
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 0);
    std::shared_ptr<Lookup> lookup;
    if (const ConnectStatus found = resolve(host, port, deadline, cancel, lookup); found != ConnectStatus::Connected) {
        return found;
    }
    // Every address in turn while time is left; the last one's failure counts.
    ConnectStatus status = ConnectStatus::NotResolved;
    for (const ADDRINFOW* a = lookup->addresses; a; a = a->ai_next) {
        if (cancel.load()) return ConnectStatus::Cancelled;
        if (deadlinePassed(deadline)) return ConnectStatus::Timeout;
        const SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == INVALID_SOCKET) {
            status = ConnectStatus::Error;
            continue;
        }
        status = connectOne(s, *a, deadline, cancel);
        if (status == ConnectStatus::Connected) {
            socket_ = s;
            break;
        }
        closesocket(s);
        if (status == ConnectStatus::Cancelled) break;
    }
    return status;
}

IoStatus WinsockTransport::send(std::string_view bytes) {
    if (socket_ == INVALID_SOCKET) return IoStatus::Error;
    while (!bytes.empty()) {
        const int sent = ::send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent == SOCKET_ERROR) return isClosedError(WSAGetLastError()) ? IoStatus::Closed : IoStatus::Error;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return IoStatus::Ok;
}

Received WinsockTransport::receive(char* buffer, std::size_t capacity, int timeoutMs) {
    if (socket_ == INVALID_SOCKET || capacity == 0) return {IoStatus::Error, 0};
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    const int ms = timeoutMs > 0 ? timeoutMs : 0;
    timeval wait{ms / 1000, (ms % 1000) * 1000};
    const int ready = select(0, &readable, nullptr, nullptr, &wait);
    if (ready == 0) return {IoStatus::Timeout, 0};
    if (ready < 0) return {IoStatus::Error, 0};
    const int got = recv(socket_, buffer, static_cast<int>(capacity), 0);
    if (got == 0) return {IoStatus::Closed, 0};
    if (got < 0) return {isClosedError(WSAGetLastError()) ? IoStatus::Closed : IoStatus::Error, 0};
    return {IoStatus::Ok, static_cast<std::size_t>(got)};
}

void WinsockTransport::close() {
    if (socket_ == INVALID_SOCKET) return;
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

}  // namespace bridge
