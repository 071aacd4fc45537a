// `rpgitem send` of 50 items of 20 lines to ten fake servers at once
// against the same items to one, each server in the game server's console
// mode (one read per packet): the ratio shows what sending to more servers
// costs (goal: at most 1.5). Game servers, as server_bench has them: each
// command takes 3 ms on the server's main thread. Then servers that answer
// at once, where the ratio is the client's own work on this machine's cores.
//   cli_send_bench [ROUNDS]
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "editor/compose.h"
#include "editor/item_file.h"
#include "tests/rcon/fake_server_process.h"

extern char** environ;

namespace {

constexpr int kItems = 50;
constexpr int kServers = 10;

// Seconds for one run of the tool; its exit status must be 0.
double sendOnce(const std::vector<std::string>& items, const std::string& servers) {
    std::vector<std::string> args = {RPGITEM_TOOL, "send", "--servers", servers};
    args.insert(args.end(), items.begin(), items.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) ::waitpid(pid, &status, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "rpgitem send failed\n");
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The items to one server and to ten at once, in one server mode; the ratio.
void measure(const char* title, const std::vector<std::string>& mode, const std::vector<std::string>& items,
             const std::string& folder, int rounds) {
    std::vector<std::unique_ptr<rcon_test::FakeServer>> servers;
    std::string one;
    std::string ten;
    for (int i = 0; i < kServers; ++i) {
        servers.push_back(std::make_unique<rcon_test::FakeServer>(mode));
        const std::string section = "[s" + std::to_string(i) +
                                    "]\nhost=127.0.0.1\nport=" + std::to_string(servers.back()->port()) +
                                    "\npassword=pw\n";
        if (i == 0) one = section;
        ten += section;
    }
    const std::string oneFile = folder + "/one.ini";
    const std::string tenFile = folder + "/ten.ini";
    std::ofstream(oneFile) << one;
    std::ofstream(tenFile) << ten;
    ::chmod(oneFile.c_str(), 0600);
    ::chmod(tenFile.c_str(), 0600);
    std::vector<double> toOne;
    std::vector<double> toTen;
    for (int round = 0; round < rounds; ++round) {
        toOne.push_back(sendOnce(items, oneFile));
        toTen.push_back(sendOnce(items, tenFile));
    }
    const double a = median(toOne);
    const double b = median(toTen);
    std::printf("%s\n", title);
    std::printf("  to 1 server:   %8.1f ms\n", a * 1000);
    std::printf("  to %d servers: %8.1f ms\n", kServers, b * 1000);
    std::printf("  ratio %d / 1: %.2f (goal: at most 1.5)\n", kServers, b / a);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string folder = (std::filesystem::temp_directory_path() / "cli_send_bench_XXXXXX").string();
    if (!::mkdtemp(folder.data())) return 1;
    // 20 lines each: remove, create, 17 description lines, give.
    std::vector<std::string> items;
    for (int i = 0; i < kItems; ++i) {
        editor::ItemForm form;
        form.id = "item" + std::to_string(i);
        for (int line = 0; line < 17; ++line) form.description += "第 " + std::to_string(line) + " 行\r\n";
        items.push_back(folder + "/" + form.id + ".ini");
        std::ofstream(items.back(), std::ios::binary) << editor::serializeItemFile(editor::itemFileDataOf(form));
    }
    std::printf("%d items of 20 lines, medians of %d runs\n", kItems, rounds);
    measure("game servers (console thread, 3 ms per command):", {"--mode", "console", "--command-ms", "3"}, items,
            folder, rounds);
    measure("servers answering at once (the client's own work):", {"--mode", "console"}, items, folder, rounds);
    std::filesystem::remove_all(folder);
    return 0;
}
