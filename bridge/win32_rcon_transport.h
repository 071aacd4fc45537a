// The RCON transport over Winsock: one TCP connection, connect and receive
// bounded in time and cancellable, Nagle's delay off (each packet goes out at
// once: the session waits for its answer before sending the next).
#pragma once

#include <winsock2.h>

#include "bridge/rcon_session.h"

namespace bridge {

class WinsockTransport : public RconTransport {
public:
    WinsockTransport();
    ~WinsockTransport() override;
    WinsockTransport(const WinsockTransport&) = delete;
    WinsockTransport& operator=(const WinsockTransport&) = delete;

    ConnectStatus connect(const std::string& host, std::uint16_t port, int timeoutMs,
                          const std::atomic<bool>& cancel) override;
    IoStatus send(std::string_view bytes) override;
    Received receive(char* buffer, std::size_t capacity, int timeoutMs) override;
    void close() override;

private:
    SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace bridge
