// A delivery run to many servers at once: one thread per server, each with a
// transport of its own, all sharing one cancel flag. The user interface
// reads the progress whenever it is told something changed; the results are
// complete once every server has finished.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bridge/rcon_session.h"
#include "bridge/server_list.h"

namespace bridge {

struct ServerRunState {
    std::size_t linesDone = 0;
    bool finished = false;
    RconResult result;  // complete once finished
};

class ConcurrentRconRun {
public:
    using TransportFactory = std::function<std::unique_ptr<RconTransport>()>;

    // Starts one thread per server. `changed` is called from those threads
    // after every line and when a server finishes: it must be thread-safe and
    // quick (Win32: a posted message).
    ConcurrentRconRun(std::vector<ServerEntry> servers, std::vector<std::string> lines, TransportFactory transports,
                      GbkConverter gbk, std::function<void()> changed);
    // Cancels what is still running and waits for every thread.
    ~ConcurrentRconRun();
    ConcurrentRconRun(const ConcurrentRconRun&) = delete;
    ConcurrentRconRun& operator=(const ConcurrentRconRun&) = delete;

    // Lines not yet sent are not sent; each server stops before its next line.
    void cancel() { cancel_ = true; }
    bool cancelled() const { return cancel_; }

    const std::vector<ServerEntry>& servers() const { return servers_; }
    const std::vector<std::string>& lines() const { return lines_; }
    std::vector<ServerRunState> states() const;
    bool finished() const;

private:
    void runOne(std::size_t index, TransportFactory transports, GbkConverter gbk);

    const std::vector<ServerEntry> servers_;
    const std::vector<std::string> lines_;
    std::function<void()> changed_;
    std::atomic<bool> cancel_{false};
    mutable std::mutex mutex_;
    std::vector<ServerRunState> states_;
    std::vector<std::thread> threads_;
};

// The servers a run goes to: the enabled ones, in the file's order (an entry
// with a problem among them, to be reported as skipped).
std::vector<ServerEntry> enabledServers(const std::vector<ServerEntry>& servers);

// The whole run to one server as a thread runs it: an entry with a problem
// is not contacted (BadEntry, its problem named), and no exception leaves
// (out of memory and any other fault become an Internal failure).
RconResult runOneServer(const ServerEntry& server, const std::vector<std::string>& lines,
                        const ConcurrentRconRun::TransportFactory& transports, const std::atomic<bool>& cancel,
                        const std::function<void(std::size_t linesDone)>& progress, const GbkConverter& gbk) noexcept;

}  // namespace bridge
