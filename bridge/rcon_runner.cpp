#include "bridge/rcon_runner.h"

namespace bridge {

ConcurrentRconRun::ConcurrentRconRun(std::vector<ServerEntry> servers, std::vector<std::string> lines,
                                     TransportFactory transports, GbkConverter gbk, std::function<void()> changed)
    : servers_(std::move(servers)), lines_(std::move(lines)), changed_(std::move(changed)), states_(servers_.size()) {
    threads_.reserve(servers_.size());
    for (std::size_t i = 0; i < servers_.size(); ++i) {
        threads_.emplace_back([this, i, transports, gbk] { runOne(i, transports, gbk); });
    }
}

ConcurrentRconRun::~ConcurrentRconRun() {
    cancel_ = true;
    for (std::thread& thread : threads_) thread.join();
}

void ConcurrentRconRun::runOne(std::size_t index, TransportFactory transports, GbkConverter gbk) {
    const auto report = [this, index](std::size_t done) {
        {
            std::lock_guard lock(mutex_);
            states_[index].linesDone = done;
        }
        if (changed_) changed_();
    };
    RconResult result = runOneServer(servers_[index], lines_, transports, cancel_, report, gbk);
    {
        std::lock_guard lock(mutex_);
        states_[index].finished = true;
        states_[index].result = std::move(result);
    }
    if (changed_) changed_();
}

RconResult runOneServer(const ServerEntry& server, const std::vector<std::string>& lines,
                        const ConcurrentRconRun::TransportFactory& transports, const std::atomic<bool>& cancel,
                        const std::function<void(std::size_t linesDone)>& progress, const GbkConverter& gbk) noexcept {
    std::size_t linesDone = 0;
    // Built before anything can fail: returning it needs no memory.
    RconResult failed;
    failed.error.emplace();
    failed.error->kind = RconFailure::Internal;
    try {
        if (!server.problem.empty()) {
            failed.error->kind = RconFailure::BadEntry;
            failed.error->message = server.problem + "；" + rconMessage(RconFailure::BadEntry, 0, server.endpoint);
            return failed;
        }
        failed.error->message = rconMessage(RconFailure::Internal, 0, server.endpoint);
        const auto counted = [&](std::size_t done) {
            linesDone = done;
            if (progress) progress(done);
        };
        std::unique_ptr<RconTransport> transport = transports();
        RconResult result = runRcon(*transport, server.endpoint, lines, cancel, counted, gbk);
        transport->close();
        return result;
    } catch (...) {
        // The lines whose answers were in when it happened went through.
        failed.linesSent = linesDone;
        failed.error->line = linesDone + 1;
        return failed;
    }
}

std::vector<ServerRunState> ConcurrentRconRun::states() const {
    std::lock_guard lock(mutex_);
    return states_;
}

bool ConcurrentRconRun::finished() const {
    std::lock_guard lock(mutex_);
    for (const ServerRunState& state : states_) {
        if (!state.finished) return false;
    }
    return true;
}

std::vector<ServerEntry> enabledServers(const std::vector<ServerEntry>& servers) {
    std::vector<ServerEntry> enabled;
    for (const ServerEntry& server : servers) {
        if (server.enabled) enabled.push_back(server);
    }
    return enabled;
}

}  // namespace bridge
