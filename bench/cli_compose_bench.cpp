// `rpgitem compose` over a folder of 1,000 generated item files: files per
// second of the tool as a process, against reading and composing the same
// files in this process (the tool's start and its output are the difference).
//   cli_compose_bench [FILES]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/iconv_code_page.h"
#include "editor/compose.h"
#include "editor/item_file.h"
#include "tests/cli/generated_forms.h"

extern char** environ;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    std::string folder = (std::filesystem::temp_directory_path() / "cli_compose_bench_XXXXXX").string();
    if (!::mkdtemp(folder.data())) return 1;
    std::mt19937 random(1000);
    std::vector<std::string> paths;
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i) {
        const std::string text = editor::serializeItemFile(editor::itemFileDataOf(cli_test::generatedForm(random)));
        paths.push_back(folder + "/item" + std::to_string(i) + ".ini");
        std::ofstream(paths.back(), std::ios::binary) << text;
        bytes += text.size();
    }

    // In this process: read, parse, compose.
    auto start = std::chrono::steady_clock::now();
    std::size_t composed = 0;
    for (const std::string& path : paths) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const auto parsed = editor::parseItemFile(text.str(), bridge::iconvCp936ToUtf8);
        if (parsed.data) composed += editor::outputTextOf(*parsed.data).size();
    }
    const double inProcess = secondsSince(start);

    // The tool, one process for the whole folder, its output into /dev/null.
    std::vector<std::string> args = {RPGITEM_TOOL, "compose"};
    args.insert(args.end(), paths.begin(), paths.end());
    std::vector<char*> argvTool;
    for (std::string& arg : args) argvTool.push_back(arg.data());
    argvTool.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 1;
    if (::posix_spawn(&pid, argvTool[0], &actions, nullptr, argvTool.data(), environ) == 0) ::waitpid(pid, &status, 0);
    const double tool = secondsSince(start);
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove_all(folder);

    std::printf("%d item files, %zu bytes, %zu bytes composed\n", count, bytes, composed);
    std::printf("in process:     %8.1f ms  %10.0f files/s\n", inProcess * 1000, count / inProcess);
    std::printf("rpgitem compose: %7.1f ms  %10.0f files/s  (exit %d)\n", tool * 1000, count / tool,
                WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    std::printf("ratio tool / in process: %.2f\n", tool / inProcess);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
