// The command-line tool run as a process by the native tests: its
// arguments, standard input and extra environment in; exit status, stdout
// and stderr out. A folder of its own for each test's files.
#pragma once

#include <string>
#include <vector>

namespace cli_test {

struct ToolRun {
    int status = -1;  // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// `environment`: "NAME=value" entries added to this process's environment.
ToolRun runTool(const std::vector<std::string>& args, const std::string& input = {},
                const std::vector<std::string>& environment = {});

// A new empty folder under the test's temporary folder, removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // Writes `bytes` to the file `name` in the folder; its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    std::string path(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string readBytes(const std::string& path);
bool exists(const std::string& path);

}  // namespace cli_test
