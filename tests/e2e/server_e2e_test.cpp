// End to end under Wine: the real editor sends to fake RCON servers (the
// native Linux program tests/rcon/fake_rcon_server.cpp, started from here:
// Wine starts Linux programs; they end by themselves after their lifetime).
// The servers file is written as the README documents it, in an APPDATA of
// the test's own. The fake server logs every command body it receives.
//
// Needs the environment variable FAKE_RCON_SERVER: the Linux path of the
// fake server (the native build's build/native/fake_rcon_server).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/rcon_session.h"
#include "tests/e2e/e2e_support.h"
#include "tests/rcon/fake_answers.h"
#include "ui/run_result_view.h"
#include "ui/server_commands.h"
#include "ui/servers_dialog.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

using namespace e2e;

// Long enough for a test; short, as the servers keep the runner's output
// open until they end.
constexpr int kServerLifetimeMs = 30000;

// A Linux path as Wine's drive Z: shows it.
std::wstring windowsPath(const std::string& unixPath) {
    std::wstring path = L"Z:" + wide(unixPath);
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool writeFile(const std::wstring& path, std::string_view bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

// The bodies a fake server logged, one per line.
std::vector<std::string> loggedCommands(const std::wstring& logPath) {
    std::vector<std::string> bodies;
    std::istringstream lines(readFile(logPath));
    for (std::string line; std::getline(lines, line);) bodies.push_back(line);
    return bodies;
}

std::string gbk(std::string_view utf8Text) {
    const std::wstring w = wide(utf8Text);
    const int n = WideCharToMultiByte(936, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(936, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

class ServerDeliveryEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        killLeftovers();
        const char* server = std::getenv("FAKE_RCON_SERVER");
        ASSERT_TRUE(server && *server) << "FAKE_RCON_SERVER must name the native fake_rcon_server";
        fakeServer_ = server;
        static int serial = 0;
        unixDir_ = "/tmp/rpgitem-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        dir_ = windowsPath(unixDir_);
        CreateDirectoryW(dir_.c_str(), nullptr);
        CreateDirectoryW((dir_ + L"\\appdata").c_str(), nullptr);
        CreateDirectoryW((dir_ + L"\\appdata\\RPGitemEditor").c_str(), nullptr);
        // The editor started from here finds its servers file under this APPDATA.
        SetEnvironmentVariableW(L"APPDATA", (dir_ + L"\\appdata").c_str());
        DeleteFileW(serversFile().c_str());  // Wine reuses process ids: an earlier run's file
    }
    void TearDown() override { editor_.stop(); }

    std::wstring serversFile() const { return dir_ + L"\\appdata\\RPGitemEditor\\servers.ini"; }
    std::wstring logOf(const std::string& name) const { return dir_ + L"\\" + wide(name) + L".log"; }

    // Starts a fake server on a free port; its port.
    int startServer(const std::string& name, const std::string& options) {
        const std::string portFile = unixDir_ + "/" + name + ".port";
        // Wine reuses process ids: a file of an earlier run may be there.
        DeleteFileW(windowsPath(portFile).c_str());
        DeleteFileW(logOf(name).c_str());
        std::wstring commandLine =
            wide("\"" + fakeServer_ + "\" --port 0 --port-file " + portFile + " --log " + unixDir_ + "/" + name +
                 ".log --lifetime-ms " + std::to_string(kServerLifetimeMs) + " " + options);
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION info{};
        const BOOL started = CreateProcessW(windowsPath(fakeServer_).c_str(), commandLine.data(), nullptr, nullptr,
                                            FALSE, 0, nullptr, nullptr, &startup, &info);
        if (!started) {
            ADD_FAILURE() << "the fake server did not start";
            return 0;
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        int port = 0;
        waitUntil([&] { return (port = std::atoi(readFile(windowsPath(portFile)).c_str())) > 0; }, kStartTimeoutMs);
        EXPECT_GT(port, 0) << "the fake server " << name << " did not listen";
        return port;
    }

    void startEditor() {
        ASSERT_TRUE((window_ = e2e::startEditor(editor_, L"")) != nullptr)
            << "the editor's window did not appear or answer";
        outputBox_ = controlNamed(window_, "编辑框1");
        ASSERT_TRUE(outputBox_);
    }

    void setOutput(std::string_view text) {
        DWORD_PTR result = 0;
        ASSERT_TRUE(sendTo(outputBox_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text).c_str()), &result));
    }

    void command(ServerCommand which) { PostMessageW(window_, kServerCommandMessage, static_cast<WPARAM>(which), 0); }

    // Waits for the run's result view; its text.
    std::string resultReport(DWORD timeoutMs = 30000) {
        HWND view = nullptr;
        waitUntil([&] { return (view = topLevelWindowOf(editor_.pid(), kRunResultClass)); }, timeoutMs);
        if (!view) return "<no result view>";
        // A long report may keep the view busy a while after it appears.
        std::string text;
        waitUntil([&] { return (text = textOf(GetDlgItem(view, kRunResultTextId))) != "<no answer>"; }, timeoutMs);
        return text;
    }

    std::string fakeServer_;
    std::string unixDir_;
    std::wstring dir_;
    Child editor_;
    HWND window_ = nullptr;
    HWND outputBox_ = nullptr;
};

const std::vector<std::string> kLines{
    "/rpgitem 剑 remove",      "/rpgitem 剑 create",      "/rpgitem 剑 display §a中文之剑",
    "/rpgitem 剑 lore 第一行", "/rpgitem 剑 damage 5 10", "/rpgitem 剑 give"};

std::string outputText() {
    std::string text;
    for (std::size_t i = 0; i < kLines.size(); ++i) {
        text += kLines[i] + "\r\n";
        if (i == 2) text += "\r\n";  // an empty line is left out
    }
    return text;
}

std::vector<std::string> withoutSlash(bool inGbk) {
    std::vector<std::string> bodies;
    for (const std::string& line : kLines) bodies.push_back(inGbk ? gbk(line.substr(1)) : line.substr(1));
    return bodies;
}

TEST_F(ServerDeliveryEndToEnd, F5SendsEveryLineInOrderToBothServersInTheirEncodings) {
    const int lobby = startServer("lobby", "--password lobbypw");
    const int game = startServer("game", "--password gamepw --mode split");
    ASSERT_TRUE(lobby && game);
    ASSERT_TRUE(writeFile(serversFile(),
                          "[大厅]\r\nhost=127.0.0.1\r\nport=" + std::to_string(lobby) +
                              "\r\npassword=lobbypw\r\n\r\n[游戏服]\r\nhost=localhost\r\nport=" + std::to_string(game) +
                              "\r\npassword=gamepw\r\nencoding=gbk\r\n"
                              "timeout_ms=8000\r\n\r\n[停用的]\r\nhost=127.0.0.1\r\nport=1\r\n"
                              "password=x\r\nenabled=0\r\n"));
    ASSERT_NO_FATAL_FAILURE(startEditor());
    ASSERT_NO_FATAL_FAILURE(setOutput(outputText()));
    SetForegroundWindow(window_);
    waitUntil([&] { return GetForegroundWindow() == window_; }, kStepTimeoutMs);
    keybd_event(VK_F5, 0, 0, 0);
    keybd_event(VK_F5, 0, KEYEVENTF_KEYUP, 0);

    const std::string report = resultReport();
    EXPECT_EQ(loggedCommands(logOf("lobby")), withoutSlash(false));
    EXPECT_EQ(loggedCommands(logOf("game")), withoutSlash(true)) << "the gbk server got other bytes";
    EXPECT_NE(report.find("2 台全部成功，0 台失败"), std::string::npos) << report;
    EXPECT_EQ(report.find("停用的"), std::string::npos) << "a disabled server took part";
    // The answers are in the view: the split one joined into one whole.
    EXPECT_NE(report.find("ok: rpgitem 剑 display §a中文之剑"), std::string::npos) << report;
    EXPECT_NE(report.find("    ok: rpgitem 剑 give " + std::string(9000, 'x') + "\r\n"), std::string::npos)
        << "the answer split over three packets is not whole";
}

TEST_F(ServerDeliveryEndToEnd, ARefusedPasswordAnUnreachablePortAndAClosingServerDoNotStopTheOthers) {
    const int good = startServer("good", "--password pw");
    const int refusing = startServer("refusing", "--password pw --mode refuse");
    const int closing = startServer("closing", "--password pw --mode close --after 2");
    ASSERT_TRUE(good && refusing && closing);
    const int unreachable = 1;  // nothing listens on port 1
    std::string ini;
    for (const auto& [name, port] :
         {std::pair{"好", good}, {"拒绝", refusing}, {"关闭", closing}, {"不通", unreachable}}) {
        ini += std::string("[") + name + "]\r\nhost=127.0.0.1\r\nport=" + std::to_string(port) + "\r\npassword=pw\r\n";
    }
    ASSERT_TRUE(writeFile(serversFile(), ini));
    ASSERT_NO_FATAL_FAILURE(startEditor());
    ASSERT_NO_FATAL_FAILURE(setOutput(outputText()));
    command(ServerCommand::SendToServers);

    const std::string report = resultReport();
    EXPECT_EQ(loggedCommands(logOf("good")), withoutSlash(false)) << "the good server missed lines";
    EXPECT_TRUE(loggedCommands(logOf("refusing")).empty());
    EXPECT_EQ(loggedCommands(logOf("closing")).size(), 3u) << "lines were sent after the server closed";
    bridge::RconEndpoint where;
    where.host = "127.0.0.1";
    where.port = static_cast<std::uint16_t>(unreachable);
    for (const std::string& message : {bridge::rconMessage(bridge::RconFailure::LoginRefused, 0, where),
                                       bridge::rconMessage(bridge::RconFailure::Refused, 0, where),
                                       bridge::rconMessage(bridge::RconFailure::Closed, 3, where)}) {
        EXPECT_NE(report.find("失败：" + message), std::string::npos) << message << "\n" << report;
    }
    EXPECT_NE(report.find("1 台全部成功，3 台失败"), std::string::npos) << report;
}

TEST_F(ServerDeliveryEndToEnd, TheDialogSavesNoPlainPasswordAndItsFileWorks) {
    const std::string password = "Pa55-word!";
    const int port = startServer("dialog", "--password " + password);
    ASSERT_TRUE(port);
    ASSERT_NO_FATAL_FAILURE(startEditor());
    command(ServerCommand::ServerSettings);
    HWND dialog = nullptr;
    ASSERT_TRUE(
        waitUntil([&] { return (dialog = topLevelWindowOf(editor_.pid(), kServersDialogClass)); }, kStepTimeoutMs));
    auto set = [&](int id, const std::string& value) {
        DWORD_PTR result = 0;
        sendTo(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(value).c_str()), &result);
    };
    set(kServerNameId, "测试服");
    set(kServerHostId, "127.0.0.1");
    set(kServerPortId, std::to_string(port));
    set(kServerPasswordId, password);
    auto click = [&](int id) {
        DWORD_PTR result = 0;
        sendTo(GetDlgItem(dialog, id), BM_CLICK, 0, 0, &result);
    };
    click(kServerAddId);
    click(IDOK);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, kStepTimeoutMs)) << "the dialog did not close";

    const std::string file = readFile(serversFile());
    EXPECT_NE(file.find("[测试服]"), std::string::npos) << file;
    EXPECT_NE(file.find("password_protected="), std::string::npos) << file;
    EXPECT_EQ(file.find(password), std::string::npos) << "the plain password is in the file";
    EXPECT_EQ(file.find("\npassword="), std::string::npos) << file;

    ASSERT_NO_FATAL_FAILURE(setOutput(outputText()));
    command(ServerCommand::SendToServers);
    const std::string report = resultReport();
    EXPECT_EQ(loggedCommands(logOf("dialog")), withoutSlash(false)) << report;
}

// The servers live 200 s, the result is awaited 190 s: room for a slow
// machine; ctest waits for the servers to end (they hold its output open).
// F5 with a 120-line item to ten servers of the kinds the plug-in runs on:
// game servers (their console thread, 3 ms per command), proxies, and
// servers that ignore the end marker; every tenth answer is 5000 Chinese
// characters long, more than one packet in each kind.
TEST_F(ServerDeliveryEndToEnd, ALongItemReachesTenServersOfMixedKindsWhole) {
    const char* const kinds[] = {"--mode console --command-ms 3", "--mode proxy", "--mode ignore"};
    constexpr int kLongEvery = 10;
    constexpr int kLongChars = 5000;
    std::string ini;
    std::vector<std::string> names;
    for (int i = 0; i < 10; ++i) {
        names.push_back("server" + std::to_string(i + 1));
        const int port = startServer(names.back(), std::string("--password pw --lifetime-ms 200000 --long-every 10 "
                                                               "--long-chars 5000 ") +
                                                       kinds[i % 3]);
        ASSERT_TRUE(port);
        ini += "[" + names.back() + "]\r\nhost=127.0.0.1\r\nport=" + std::to_string(port) + "\r\npassword=pw\r\n";
    }
    ASSERT_TRUE(writeFile(serversFile(), ini));
    std::string text;
    std::vector<std::string> bodies;
    for (int i = 1; i <= 120; ++i) {
        bodies.push_back("rpgitem 剑 lore 第" + std::to_string(i) + "行 §a说明文字");
        text += "/" + bodies.back() + "\r\n";
    }
    ASSERT_NO_FATAL_FAILURE(startEditor());
    ASSERT_NO_FATAL_FAILURE(setOutput(text));
    command(ServerCommand::SendToServers);

    const std::string report = resultReport(190000);
    EXPECT_NE(report.find("10 台全部成功，0 台失败"), std::string::npos) << report.substr(0, 2000);
    for (const std::string& name : names) {
        EXPECT_EQ(loggedCommands(logOf(name)), bodies) << name << ": every line once, in order";
    }
    // Every answer, the long ones whole, is in the view (once per server).
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        const std::string answer =
            "    " + fake_rcon::answerTo(bodies[i], static_cast<int>(i) + 1, kLongEvery, kLongChars) + "\r\n";
        std::size_t count = 0;
        for (std::size_t at = report.find(answer); at != std::string::npos; at = report.find(answer, at + 1)) ++count;
        EXPECT_EQ(count, 10u) << "line " << i + 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    killOnCloseJob();
    return RUN_ALL_TESTS();
}
