// Server delivery against keyboard delivery, side by side in one run:
//  1. a 100-line item to one local fake RCON server over Winsock, against the
//     keyboard path's time for the same item (the sum of its pauses);
//  2. the same item to 10 local fake servers at once, against one;
// each against servers that answer at once, 2 ms late, and servers that read
// as the game server's console thread does, whose commands take 3 ms to run.
// The fake servers are the native build's Linux program, started through
// Wine:  server_bench.exe [fake server's Linux path]  (default: the
// environment's FAKE_RCON_SERVER).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "bridge/delivery.h"
#include "bridge/rcon_runner.h"
#include "bridge/win32_rcon_platform.h"
#include "bridge/win32_rcon_transport.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

constexpr int kLines = 100;
constexpr int kServers = 10;
constexpr int kRounds = 5;

std::string item() {
    std::string text;
    for (int i = 1; i <= kLines; ++i) {
        text += "/rpgitem bench lore 第" + std::to_string(i) + "行 §a说明文字 with some words\r\n";
    }
    return text;
}

// The keyboard path over a platform that finds a game and only adds up the
// run's waits: its length as planned, without the waits' overshoot.
class PauseCounter : public bridge::GamePlatform {
public:
    bridge::GameLookup findGame() override { return {bridge::GameStatus::Found, 1}; }
    bool isWindow(bridge::WindowId) override { return true; }
    bool isMinimised(bridge::WindowId) override { return false; }
    void setTitle(bridge::WindowId, std::string_view) override {}
    void activate(bridge::WindowId) override {}
    void forceForeground(bridge::WindowId) override {}
    bool isForeground(bridge::WindowId) override { return true; }
    void synthesiseKey(unsigned) override {}
    std::string encodeLine(std::string_view utf8Text) override { return std::string(utf8Text); }
    bool postChar(bridge::WindowId, std::uintptr_t, std::intptr_t) override { return true; }
    bool wait(int milliseconds) override {
        totalMs += milliseconds;
        return true;
    }
    void showMessage(std::string_view) override {}
    long totalMs = 0;
};

std::wstring windowsPath(const std::string& unixPath) {
    std::wstring path = L"Z:" + wide(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// The kinds of server measured: a name and the fake server's options.
struct Kind {
    const char* name;
    const char* options;
};
constexpr Kind kKinds[] = {
    {"servers answering at once", ""},
    {"servers answering 2 ms late", "--mode slow --delay-ms 2"},
    {"game servers (console thread, 3 ms per command)", "--mode console --command-ms 3"},
};

// Starts a fake server on a free port (it ends by itself); its port or 0.
int startServer(const std::string& program, int index, int kind) {
    const std::string portFile = "/tmp/rpgitem-bench-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(index) + "-" + std::to_string(kind) + ".port";
    DeleteFileW(windowsPath(portFile).c_str());
    std::wstring commandLine = wide("\"" + program + "\" --port 0 --password bench --lifetime-ms 60000 --port-file " +
                                    portFile + " " + kKinds[kind].options);
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(windowsPath(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &info);
    if (!started) return 0;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    for (int i = 0; i < 200; ++i) {
        HANDLE f = CreateFileW(windowsPath(portFile).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            char buffer[16] = {};
            DWORD read = 0;
            ReadFile(f, buffer, sizeof buffer - 1, &read, nullptr);
            CloseHandle(f);
            if (const int port = std::atoi(buffer); port > 0) return port;
        }
        Sleep(25);
    }
    return 0;
}

// One run to the servers; its wall time in ms, or -1 when a server failed.
double runOnce(const std::vector<int>& ports, const std::vector<std::string>& lines) {
    std::vector<bridge::ServerEntry> servers;
    for (const int port : ports) {
        bridge::ServerEntry server;
        server.name = "s" + std::to_string(port);
        server.endpoint.host = "127.0.0.1";
        server.endpoint.port = static_cast<std::uint16_t>(port);
        server.endpoint.password = "bench";
        servers.push_back(server);
    }
    const double start = nowMs();
    bridge::ConcurrentRconRun run(servers, lines, [] { return std::make_unique<bridge::WinsockTransport>(); },
                                  bridge::win32GbkConverter(), {});
    while (!run.finished()) Sleep(1);
    const double elapsed = nowMs() - start;
    for (const auto& state : run.states()) {
        if (state.result.error || state.result.linesSent != lines.size()) {
            std::printf("  run to %zu server(s) failed: %s\n", ports.size(),
                        state.result.error ? state.result.error->message.c_str() : "lines missing");
            return -1;
        }
    }
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const char* fromEnvironment = std::getenv("FAKE_RCON_SERVER");
    const std::string program = argc > 1 ? argv[1] : fromEnvironment ? fromEnvironment : "";
    if (program.empty()) {
        std::printf("usage: server_bench.exe <Linux path of fake_rcon_server>\n");
        return 2;
    }
    const std::string text = item();
    const std::vector<std::string> lines = bridge::rconLines(text);

    PauseCounter keyboard;
    bridge::deliverCommands(keyboard, text);

    std::printf("%d-line item, median of %d rounds\n", kLines, kRounds);
    std::printf("  keyboard into the game (its pauses):  %8.0f ms\n", static_cast<double>(keyboard.totalMs));
    // On loopback the run is bound by this machine's processors; with a
    // server's network latency it is bound by the round trips, as in use.
    int failures = 0;
    for (int kind = 0; kind < static_cast<int>(std::size(kKinds)); ++kind) {
        std::vector<int> ports;
        for (int i = 0; i < kServers; ++i) {
            const int port = startServer(program, i, kind);
            if (!port) {
                std::printf("fake server %d did not start\n", i);
                return 3;
            }
            ports.push_back(port);
        }
        std::printf(" %s:\n", kKinds[kind].name);
        std::vector<double> one;
        std::vector<double> ten;
        for (int round = 0; round < kRounds; ++round) {
            one.push_back(runOnce({ports[0]}, lines));
            ten.push_back(runOnce(ports, lines));
            if (one.back() < 0 || ten.back() < 0) break;
        }
        if (one.back() < 0 || ten.back() < 0) {
            ++failures;
            continue;
        }
        const double oneMs = median(one);
        const double tenMs = median(ten);
        std::printf("  RCON to 1 local fake server:          %8.1f ms   (%.0fx faster than the keyboard)\n", oneMs,
                    static_cast<double>(keyboard.totalMs) / oneMs);
        std::printf("  RCON to %d local fake servers at once: %8.1f ms   (%.2fx the time of one; goal <= 1.5x)\n",
                    kServers, tenMs, tenMs / oneMs);
    }
    return failures ? 4 : 0;
}
