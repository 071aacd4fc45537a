// send: every item, file after file, to every chosen server at once (one
// thread per server, as the window's run), with progress on stderr and one
// result line per server and item.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>

#include "bridge/rcon_report.h"
#include "bridge/rcon_runner.h"
#include "tools/rpgitem/cli.h"
#include "tools/rpgitem/platform.h"

namespace rpgitem {
namespace {

// Larger files are not a servers list (as in the window).
constexpr std::size_t kMaxServersFile = 4 * 1024 * 1024;
constexpr int kBarWidth = 30;

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) { interrupted = true; }

struct Item {
    std::string path;
    std::vector<std::string> lines;
};

struct Servers {
    std::vector<bridge::ServerEntry> chosen;
    bool ok = false;
};

std::string serverLabel(const bridge::ServerEntry& server) {
    return "服务器「" + server.name + "」(" + server.endpoint.host + ":" + std::to_string(server.endpoint.port) + ")";
}

Servers readServers(const std::string& path, const std::vector<std::string>& names) {
    Servers servers;
    if (path.empty()) {
        reportProblem("rpgitem", "找不到用户的配置文件夹：请用 --servers 指定服务器列表文件");
        return servers;
    }
    const FileBytes file = readFileBytes(path, kMaxServersFile);
    if (!file.bytes) {
        reportProblem(path, "无法读取服务器列表文件：" + file.problem);
        return servers;
    }
    if (const std::string warning = serversFileWarning(path); !warning.empty()) writeError("警告：" + warning + "\n");
    const bridge::ServerListRead list = bridge::readServerList(*file.bytes, passwordProtector(), environmentVariable);
    if (!list.fileError.empty()) {
        reportProblem(path, list.fileError);
        return servers;
    }
    for (const std::string& problem : list.problems) reportProblem(path, problem);
    if (names.empty()) {
        servers.chosen = bridge::enabledServers(list.servers);
    } else {
        for (const std::string& name : names) {
            const auto found = std::find_if(list.servers.begin(), list.servers.end(),
                                            [&](const bridge::ServerEntry& s) { return s.name == name; });
            if (found == list.servers.end()) {
                reportProblem(path, "服务器列表中没有名为「" + name + "」的服务器，什么也没有发送");
                return servers;
            }
            if (std::none_of(servers.chosen.begin(), servers.chosen.end(),
                             [&](const bridge::ServerEntry& s) { return s.name == name; })) {
                servers.chosen.push_back(*found);
            }
        }
    }
    if (servers.chosen.empty()) {
        reportProblem(path, "服务器列表中没有启用的服务器，什么也没有发送");
        return servers;
    }
    servers.ok = true;
    return servers;
}

// Progress: a bar redrawn in place on a terminal, else a line per server
// as it finishes an item.
class Progress {
public:
    explicit Progress(std::size_t itemCount) : terminal_(errorIsTerminal()), items_(itemCount) {}

    void show(std::size_t item, const Item& current, const std::vector<bridge::ServerEntry>& servers,
              const std::vector<bridge::ServerRunState>& states) {
        if (terminal_) {
            std::size_t done = 0;
            for (const bridge::ServerRunState& s : states) done += s.finished ? current.lines.size() : s.linesDone;
            const std::size_t total = std::max<std::size_t>(1, current.lines.size() * states.size());
            const std::size_t filled =
                std::min<std::size_t>(kBarWidth, (item * total + done) * kBarWidth / (items_ * total));
            writeError("\r[" + std::string(filled, '#') + std::string(kBarWidth - filled, ' ') + "] 物品 " +
                       std::to_string(item + 1) + "/" + std::to_string(items_) + " " + current.path + "：" +
                       bridge::runProgressText(states, current.lines.size()) + "\x1B[K");
            return;
        }
        if (item != item_) {
            item_ = item;
            shown_.assign(states.size(), false);
        }
        for (std::size_t i = 0; i < states.size(); ++i) {
            if (!states[i].finished || shown_[i]) continue;
            shown_[i] = true;
            writeError("[" + std::to_string(item + 1) + "/" + std::to_string(items_) + "] " + current.path + " → " +
                       serverLabel(servers[i]) + "：" + (states[i].result.error ? "失败" : "完成") + "\n");
        }
    }
    void end() {
        if (terminal_) writeError("\n");
    }

private:
    bool terminal_;
    std::size_t items_;
    std::size_t item_ = static_cast<std::size_t>(-1);
    std::vector<bool> shown_;  // per server: its end of the current item was shown
};

// One item to every server; the servers' states when all have finished.
std::vector<bridge::ServerRunState> sendItem(std::size_t index, const Item& item,
                                             const std::vector<bridge::ServerEntry>& servers, Progress& progress) {
    std::mutex mutex;
    std::condition_variable changed;
    bool dirty = true;
    bridge::ConcurrentRconRun run(servers, item.lines, newTransport, gbkConverter(), [&] {
        std::lock_guard lock(mutex);
        dirty = true;
        changed.notify_one();
    });
    while (!run.finished()) {
        {
            std::unique_lock lock(mutex);
            changed.wait_for(lock, std::chrono::milliseconds(100), [&] { return dirty; });
            dirty = false;
        }
        if (interrupted && !run.cancelled()) run.cancel();
        progress.show(index, item, servers, run.states());
    }
    std::vector<bridge::ServerRunState> states = run.states();
    progress.show(index, item, servers, states);
    return states;
}

std::string resultLine(const bridge::ServerEntry& server, const Item& item, const bridge::ServerRunState& state) {
    std::string line = serverLabel(server) + " " + item.path + "：已发送 " + std::to_string(state.result.linesSent) +
                       "/" + std::to_string(item.lines.size()) + " 行";
    if (state.result.error) line += "；" + state.result.error->message;
    return line + "\n";
}

}  // namespace

int sendCommand(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {"--dry-run"}, {"--servers", "--server"});
    if (!parsed.error.empty()) return usageError(parsed.error);
    if (parsed.operands.empty()) return usageError("send 需要至少一个物品文件");
    const std::vector<std::string> serversFiles = parsed.values("--servers");
    if (serversFiles.size() > 1) return usageError("--servers 只能给一次");

    int status = kExitOk;
    // Every file is read before anything is sent; unreadable ones are skipped.
    std::vector<Item> items;
    for (const std::string& path : parsed.operands) {
        const std::optional<editor::ItemFileData> data = readItem(path);
        if (!data) {
            status = kExitFailed;
            continue;
        }
        Item item{path, bridge::rconLines(editor::outputTextOf(*data))};
        if (item.lines.empty()) {  // no id: nothing to send (the window skips such files too)
            reportProblem(path, "没有可发送的指令。");
            status = kExitFailed;
            continue;
        }
        items.push_back(std::move(item));
    }
    const Servers servers =
        readServers(serversFiles.empty() ? defaultServersFile() : serversFiles[0], parsed.values("--server"));
    if (!servers.ok) return kExitFailed;
    if (items.empty()) return kExitFailed;

    if (parsed.has("--dry-run")) {
        for (const Item& item : items) {
            for (const bridge::ServerEntry& server : servers.chosen) {
                std::string line = item.path + " → " + serverLabel(server) + "：" + std::to_string(item.lines.size()) +
                                   " 行（未连接）";
                if (!server.problem.empty()) {
                    line += "；不会连接：" + server.problem;
                    status = kExitFailed;
                }
                writeOut(line + "\n");
            }
        }
        return status;
    }

    std::signal(SIGINT, onInterrupt);
    Progress progress(items.size());
    std::vector<std::vector<bridge::ServerRunState>> results;
    for (std::size_t i = 0; i < items.size() && !interrupted; ++i) {
        results.push_back(sendItem(i, items[i], servers.chosen, progress));
    }
    progress.end();
    for (std::size_t s = 0; s < servers.chosen.size(); ++s) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i >= results.size()) {
                writeOut(serverLabel(servers.chosen[s]) + " " + items[i].path + "：已中断，未发送\n");
                status = kExitFailed;
                continue;
            }
            const bridge::ServerRunState& state = results[i][s];
            if (state.result.error) status = kExitFailed;
            writeOut(resultLine(servers.chosen[s], items[i], state));
        }
    }
    return status;
}

}  // namespace rpgitem
