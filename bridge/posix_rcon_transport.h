// The RCON transport over POSIX sockets (Linux), with the Winsock
// transport's behaviour: connect and receive bounded in time and
// cancellable, Nagle's delay off, a name lookup that cannot be interrupted
// left behind on its own thread.
#pragma once

#include "bridge/rcon_session.h"

namespace bridge {

class PosixTransport : public RconTransport {
public:
    PosixTransport() = default;
    ~PosixTransport() override;
    PosixTransport(const PosixTransport&) = delete;
    PosixTransport& operator=(const PosixTransport&) = delete;

    ConnectStatus connect(const std::string& host, std::uint16_t port, int timeoutMs,
                          const std::atomic<bool>& cancel) override;
    IoStatus send(std::string_view bytes) override;
    Received receive(char* buffer, std::size_t capacity, int timeoutMs) override;
    void close() override;

private:
    int fd_ = -1;
};

}  // namespace bridge
