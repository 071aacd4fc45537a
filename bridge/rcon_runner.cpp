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
    std::unique_ptr<RconTransport> transport = transports();
    RconResult result = runRcon(*transport, servers_[index].endpoint, lines_, cancel_, report, gbk);
    transport->close();
    {
        std::lock_guard lock(mutex_);
        states_[index].finished = true;
        states_[index].result = std::move(result);
    }
    if (changed_) changed_();
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
