#include "bridge/win32_rcon_transport.h"

#include <ws2tcpip.h>

#include "ui/win_text.h"

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

timeval timeLeft(DWORD deadline) {
    const long left = static_cast<long>(deadline - GetTickCount());
    const long ms = left > 0 ? left : 0;
    return {ms / 1000, (ms % 1000) * 1000};
}

bool deadlinePassed(DWORD deadline) { return static_cast<long>(deadline - GetTickCount()) <= 0; }

bool isClosedError(int error) {
    return error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAESHUTDOWN || error == WSAENOTCONN;
}

// One address: a non-blocking connect awaited with select, then the socket
// back in blocking mode.
ConnectStatus connectOne(SOCKET s, const ADDRINFOW& address, DWORD deadline) {
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (::connect(s, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK && error != WSAEINPROGRESS) {
            return error == WSAECONNREFUSED || error == WSAENETUNREACH || error == WSAEHOSTUNREACH
                       ? ConnectStatus::Refused
                       : ConnectStatus::Error;
        }
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        timeval wait = timeLeft(deadline);
        const int ready = select(0, nullptr, &writable, &failed, &wait);
        if (ready == 0) return ConnectStatus::Timeout;
        if (ready < 0) return ConnectStatus::Error;
        int soError = 0;
        int size = sizeof soError;
        getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &size);
        if (FD_ISSET(s, &failed) || soError != 0) {
            return soError == WSAECONNREFUSED || soError == WSAENETUNREACH || soError == WSAEHOSTUNREACH || soError == 0
                       ? ConnectStatus::Refused
                       : ConnectStatus::Error;
        }
    }
    u_long blocking = 0;
    ioctlsocket(s, FIONBIO, &blocking);
    BOOL noDelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    return ConnectStatus::Connected;
}

}  // namespace

WinsockTransport::WinsockTransport() { winsockStarted(); }

WinsockTransport::~WinsockTransport() { close(); }

ConnectStatus WinsockTransport::connect(const std::string& host, std::uint16_t port, int timeoutMs) {
    close();
    if (!winsockStarted()) return ConnectStatus::Error;
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 0);
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* addresses = nullptr;
    const int looked = GetAddrInfoW(ui::wide(host).c_str(), std::to_wstring(port).c_str(), &hints, &addresses);
    if (looked != 0) {
        return looked == WSAHOST_NOT_FOUND || looked == WSANO_DATA || looked == WSATRY_AGAIN
                   ? ConnectStatus::NotResolved
                   : ConnectStatus::Error;
    }
    // Every address in turn while time is left; the last one's failure counts.
    ConnectStatus status = ConnectStatus::NotResolved;
    for (const ADDRINFOW* a = addresses; a; a = a->ai_next) {
        if (deadlinePassed(deadline)) {
            status = ConnectStatus::Timeout;
            break;
        }
        const SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == INVALID_SOCKET) {
            status = ConnectStatus::Error;
            continue;
        }
        status = connectOne(s, *a, deadline);
        if (status == ConnectStatus::Connected) {
            socket_ = s;
            break;
        }
        closesocket(s);
    }
    FreeAddrInfoW(addresses);
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
