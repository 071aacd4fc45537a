#include "tests/rcon/fake_server_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace rcon_test {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

FakeServer::FakeServer(std::vector<std::string> options) {
    static int count = 0;
    const std::string stem =
        ::testing::TempDir() + "fake_rcon_" + std::to_string(::getpid()) + "_" + std::to_string(++count);
    log_ = stem + ".log";
    const std::string portFile = stem + ".port";
    std::vector<std::string> args = {FAKE_RCON_SERVER, "--port", "0",           "--password", "pw",
                                     "--log",          log_,     "--port-file", portFile};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    EXPECT_EQ(::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    for (int i = 0; i < 500 && port_ == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        port_ = static_cast<std::uint16_t>(std::atoi(readFile(portFile).c_str()));
    }
    std::remove(portFile.c_str());
}

FakeServer::~FakeServer() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    std::remove(log_.c_str());
}

}  // namespace rcon_test
