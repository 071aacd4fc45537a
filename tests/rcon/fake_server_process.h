// The fake RCON server (tests/rcon/fake_rcon_server.cpp) as a process of a
// native test: started on a free port of 127.0.0.1 with the password "pw"
// and a log of the commands it ran, ended with the object.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace rcon_test {

std::string readFile(const std::string& path);

class FakeServer {
public:
    // `options`: more of the server's options (--mode, --after, ...).
    explicit FakeServer(std::vector<std::string> options);
    ~FakeServer();
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    std::uint16_t port() const { return port_; }
    // The bodies of the command packets run, each followed by "\n".
    std::string log() const { return readFile(log_); }

private:
    pid_t pid_ = 0;
    std::uint16_t port_ = 0;
    std::string log_;
};

}  // namespace rcon_test
