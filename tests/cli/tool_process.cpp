#include "tests/cli/tool_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace cli_test {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

ScratchFolder::ScratchFolder() {
    std::string pattern = ::testing::TempDir() + "rpgitem_cli_XXXXXX";
    if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "no temporary folder";
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() { std::filesystem::remove_all(path_); }

std::string ScratchFolder::write(const std::string& name, const std::string& bytes) const {
    const std::string file = path(name);
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

ToolRun runTool(const std::vector<std::string>& args, const std::string& input,
                const std::vector<std::string>& environment) {
    const ScratchFolder streams;
    const std::string in = streams.write("stdin", input);
    const std::string out = streams.path("stdout");
    const std::string err = streams.path("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> argStrings = {RPGITEM_TOOL};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // The given entries first: a variable's first entry is the one read.
    std::vector<std::string> envStrings = environment;
    for (char** e = environ; *e; ++e) envStrings.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& entry : envStrings) envp.push_back(entry.data());
    envp.push_back(nullptr);
    ToolRun run;
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << RPGITEM_TOOL;
        return run;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readBytes(out);
    run.err = readBytes(err);
    return run;
}

}  // namespace cli_test
