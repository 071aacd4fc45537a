// Server delivery's Windows side inside one process: the Winsock transport
// against a listener of our own, protected passwords, code page 936, and
// 发送到服务器 / 服务器设置… on the real main window over in-memory servers.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "bridge/rcon_packet.h"
#include "bridge/win32_rcon_platform.h"
#include "bridge/win32_rcon_transport.h"
#include "editor/item_file.h"
#include "tests/win32/modal_watch.h"
#include "tests/win32/screenshot.h"
#include "tests/win32/window_fixture.h"
#include "ui/file_dialogs.h"
#include "ui/information_box.h"
#include "ui/run_result_view.h"
#include "ui/server_commands.h"
#include "ui/server_delivery.h"
#include "ui/servers_dialog.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

using bridge::ConnectStatus;
using bridge::IoStatus;

// A listening socket on 127.0.0.1 whose one accepted connection runs `serve`.
class Listener {
public:
    explicit Listener(std::function<void(SOCKET)> serve) {
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int size = sizeof address;
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        listen(socket_, 1);
        thread_ = std::thread([this, serve] {
            SOCKET client = accept(socket_, nullptr, nullptr);
            if (client != INVALID_SOCKET) {
                serve(client);
                closesocket(client);
            }
        });
    }
    ~Listener() {
        closesocket(socket_);
        thread_.join();
    }
    std::uint16_t port() const { return port_; }

private:
    SOCKET socket_;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

const std::atomic<bool> kNever{false};

TEST(WinsockTransport, ConnectsSendsReceivesAndSeesTheCloseAndTheTimeout) {
    bridge::WinsockTransport started;  // starts Winsock for the listener too
    std::string got;
    Listener listener([&](SOCKET client) {
        char buffer[16];
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n > 0) got.assign(buffer, static_cast<std::size_t>(n));
        Sleep(300);  // the client's first wait runs out meanwhile
        send(client, "answer", 6, 0);
    });
    bridge::WinsockTransport transport;
    ASSERT_EQ(transport.connect("127.0.0.1", listener.port(), 2000, kNever), ConnectStatus::Connected);
    EXPECT_EQ(transport.send("hello"), IoStatus::Ok);
    char buffer[64];
    EXPECT_EQ(transport.receive(buffer, sizeof buffer, 50).status, IoStatus::Timeout);
    const bridge::Received answer = transport.receive(buffer, sizeof buffer, 3000);
    ASSERT_EQ(answer.status, IoStatus::Ok);
    EXPECT_EQ(std::string(buffer, answer.size), "answer");
    EXPECT_EQ(transport.receive(buffer, sizeof buffer, 3000).status, IoStatus::Closed);
    EXPECT_EQ(got, "hello");
}

TEST(WinsockTransport, NamesWhyItCannotConnect) {
    bridge::WinsockTransport transport;
    std::uint16_t closedPort = 0;
    {
        Listener listener([](SOCKET) {});
        closedPort = listener.port();
        bridge::WinsockTransport once;  // lets the listener's thread end
        once.connect("127.0.0.1", closedPort, 2000, kNever);
    }
    EXPECT_EQ(transport.connect("127.0.0.1", closedPort, 2000, kNever), ConnectStatus::Refused);
    EXPECT_EQ(transport.connect("no-such-host.invalid", 25575, 2000, kNever), ConnectStatus::NotResolved);
    char buffer[4];
    EXPECT_EQ(transport.receive(buffer, sizeof buffer, 10).status, IoStatus::Error) << "not connected";
}

TEST(WinsockTransport, ACancelEndsAConnectThatIsNeverAnswered) {
    bridge::WinsockTransport transport;
    // A listener whose queue is full of its own connections: a further
    // connect gets no answer at all.
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    listen(listener, 0);
    std::vector<SOCKET> fillers;
    for (int i = 0; i < 8; ++i) {
        fillers.push_back(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        u_long nonBlocking = 1;
        ioctlsocket(fillers.back(), FIONBIO, &nonBlocking);
        connect(fillers.back(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    Sleep(200);
    std::atomic<bool> cancel{false};
    std::thread canceller([&] {
        Sleep(100);
        cancel = true;
    });
    // Only the cancel can end it within the test's time.
    EXPECT_EQ(transport.connect("127.0.0.1", ntohs(address.sin_port), 600000, cancel), ConnectStatus::Cancelled);
    canceller.join();
    for (const SOCKET s : fillers) closesocket(s);
    closesocket(listener);
}

TEST(ServerPasswords, AreProtectedForThisUserAsBase64AndComeBackIntact) {
    const bridge::PasswordProtector protector = bridge::win32PasswordProtector();
    for (const std::string& plain : std::vector<std::string>{"secret", "Pa55 中文 §a", std::string(300, 'p')}) {
        const auto stored = protector.protect(plain);
        ASSERT_TRUE(stored) << plain;
        EXPECT_EQ(stored->find(plain), std::string::npos);
        EXPECT_EQ(stored->find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
                  std::string::npos)
            << "not one line of base64";
        EXPECT_EQ(protector.unprotect(*stored), plain);
    }
    EXPECT_FALSE(protector.unprotect("bm90IGEgYmxvYg=="));  // base64, but no protected data
    EXPECT_FALSE(protector.unprotect("%%%"));
}

TEST(ServerEncoding, Gbk936BothWays) {
    const bridge::GbkConverter gbk = bridge::win32GbkConverter();
    EXPECT_EQ(gbk.fromUtf8("rpgitem 中 §a"),
              "rpgitem \xD6\xD0 \xA1\xEC"
              "a");
    EXPECT_EQ(gbk.toUtf8("ok \xD6\xD0"), "ok 中");
    EXPECT_EQ(gbk.fromUtf8("a😀b"), "a?b");
}

// An in-memory Minecraft server per connection (password "pw"); every
// command body is kept by host. Hosts starting with "slow" answer nothing.
struct MemoryServers {
    std::mutex mutex;
    std::map<std::string, std::vector<std::string>> commands;
};

class MemoryServer : public bridge::RconTransport {
public:
    explicit MemoryServer(MemoryServers& all) : all_(all) {}
    ConnectStatus connect(const std::string& host, std::uint16_t, int, const std::atomic<bool>&) override {
        host_ = host;
        return ConnectStatus::Connected;
    }
    IoStatus send(std::string_view bytes) override {
        decoder_.feed(bytes);
        while (auto p = decoder_.next()) {
            std::string body = p->type == 3 ? "" : p->type == 2 ? "ok: " + p->body : "Unknown request 0";
            const std::int32_t id = p->type == 3 && p->body != "pw" ? -1 : p->id;
            if (p->type == 2) {
                std::lock_guard lock(all_.mutex);
                all_.commands[host_].push_back(p->body);
                if (host_.rfind("slow", 0) == 0) silent_ = true;  // from the first command on
            }
            for (std::int32_t v : {static_cast<std::int32_t>(body.size() + 10), id, p->type == 3 ? 2 : 0}) {
                for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<char>((v >> shift) & 0xFF));
            }
            out_ += body + std::string(2, '\0');
        }
        return IoStatus::Ok;
    }
    bridge::Received receive(char* buffer, std::size_t capacity, int timeoutMs) override {
        if (out_.empty() || silent_) {
            Sleep(static_cast<DWORD>(std::min(timeoutMs, 5)));
            return {IoStatus::Timeout, 0};
        }
        const std::size_t n = std::min(capacity, out_.size());
        out_.copy(buffer, n);
        out_.erase(0, n);
        return {IoStatus::Ok, n};
    }
    void close() override {}

private:
    MemoryServers& all_;
    std::string host_;
    bridge::RconDecoder decoder_{1 << 20};
    std::string out_;
    bool silent_ = false;
};

std::vector<std::string> recorded;
void recordMessage(std::string_view text) { recorded.emplace_back(text); }
bool answerYes(std::string_view) { return true; }

class ServerCommandsTest : public EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        appData_ = std::wstring(temp) + L"rpgitem_servers_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(appData_.c_str(), nullptr);
        SetEnvironmentVariableW(L"APPDATA", appData_.c_str());
        DeleteFileW(bridge::serversFilePath().c_str());
        useRconTransportsForTesting([this] { return std::make_unique<MemoryServer>(servers_); });
        recorded.clear();
        previousBox_ = replaceInformationBox(recordMessage);
        previousQuestion_ = replaceConfirmBox(answerYes);
    }
    void TearDown() override {
        replaceInformationBox(previousBox_);
        replaceConfirmBox(previousQuestion_);
        useRconTransportsForTesting({});
        if (HWND view = lastRunResultView()) DestroyWindow(view);
        EditorWindowTest::TearDown();
    }
    void writeServers(std::string_view text) {
        CreateDirectoryW((appData_ + L"\\RPGitemEditor").c_str(), nullptr);
        std::ofstream(bridge::serversFilePath().c_str(), std::ios::binary) << text;
    }
    std::string serversFileText() {
        std::ifstream in(bridge::serversFilePath().c_str(), std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }
    // Pumps until the run has ended (bounded).
    bool waitForRunEnd() {
        for (int i = 0; i < 500 && serverRunInProgress(); ++i) pumpMessages(10);
        return !serverRunInProgress();
    }
    void sendCommand(ServerCommand command) {
        SendMessageW(window_->hwnd(), kServerCommandMessage, static_cast<WPARAM>(command), 0);
    }

    std::wstring appData_;
    MemoryServers servers_;
    InformationBox previousBox_ = nullptr;
    ConfirmBox previousQuestion_ = nullptr;
};

TEST_F(ServerCommandsTest, SendsEveryLineToEveryEnabledServerAndShowsTheResult) {
    installServerCommands(*window_);
    writeServers(
        "[一]\r\nhost=one\r\npassword=pw\r\n[二]\r\nhost=two\r\npassword=bad\r\n"
        "[三]\r\nhost=three\r\npassword=pw\r\nenabled=0\r\n");
    setText("编辑框1", "/rpgitem a remove\r\n\r\n/rpgitem a give\r\n");
    sendCommand(ServerCommand::SendToServers);
    EXPECT_TRUE(serverRunInProgress());
    ASSERT_TRUE(waitForRunEnd());
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(servers_.commands["one"], (std::vector<std::string>{"rpgitem a remove", "rpgitem a give"}));
    EXPECT_EQ(servers_.commands.count("two"), 0u);
    EXPECT_EQ(servers_.commands.count("three"), 0u) << "a disabled server took part";
    HWND view = lastRunResultView();
    ASSERT_TRUE(view);
    const std::string report = windowText(GetDlgItem(view, kRunResultTextId));
    EXPECT_NE(report.find("1 台全部成功，1 台失败"), std::string::npos) << report;
    EXPECT_NE(report.find("    ok: rpgitem a give\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("RCON 密码错误"), std::string::npos) << report;
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(view, kRunResultTextId), GWL_STYLE) & ES_READONLY);
}

std::vector<std::wstring> chosenFiles;
std::vector<std::wstring> chooseRecorded(HWND, const std::wstring&) { return chosenFiles; }

TEST_F(ServerCommandsTest, SeveralItemFilesGoFileAfterFileToEveryEnabledServerAfterTheBadOnesAreNamed) {
    installServerCommands(*window_);
    writeServers(
        "[一]\r\nhost=one\r\npassword=pw\r\n[二]\r\nhost=two\r\npassword=pw\r\n"
        "[三]\r\nhost=three\r\npassword=pw\r\nenabled=0\r\n");
    editor::ItemForm sword;
    sword.id = "剑";
    sword.displayName = "&a绿色的剑";
    editor::ItemFileData edited = editor::itemFileDataOf(editor::ItemForm{});
    edited.handEditedOutput = "/rpgitem bow create\r\n/say 你好\r\n";
    const auto write = [&](const std::wstring& name, const std::string& bytes) {
        const std::wstring path = appData_ + L"\\" + name;
        std::ofstream(path.c_str(), std::ios::binary) << bytes;
        return path;
    };
    chosenFiles = {write(L"剑.ini", editor::serializeItemFile(editor::itemFileDataOf(sword))),
                   write(L"坏.ini", "[item]\r\nid=a\r\nid=b\r\n"), write(L"弓.ini", editor::serializeItemFile(edited))};
    const FilesChooser previous = replaceFilesChooser(chooseRecorded);
    sendCommand(ServerCommand::SendItemFiles);
    replaceFilesChooser(previous);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_NE(recorded[0].find("以下文件无法读取，已跳过："), std::string::npos) << recorded[0];
    EXPECT_NE(recorded[0].find("坏.ini”："), std::string::npos) << recorded[0];
    EXPECT_EQ(recorded[0].find("剑.ini"), std::string::npos) << recorded[0];
    ASSERT_TRUE(waitForRunEnd());
    const std::vector<std::string> expected = {
        "rpgitem 剑 remove", "rpgitem 剑 create",  "rpgitem 剑 display &a绿色的剑",
        "rpgitem 剑 give",   "rpgitem bow create", "say 你好"};
    EXPECT_EQ(servers_.commands["one"], expected);
    EXPECT_EQ(servers_.commands["two"], expected);
    EXPECT_EQ(servers_.commands.count("three"), 0u);
    HWND view = lastRunResultView();
    ASSERT_TRUE(view);
    const std::string report = windowText(GetDlgItem(view, kRunResultTextId));
    const std::size_t first = report.find("物品「剑.ini」：");
    const std::size_t second = report.find("物品「弓.ini」：");
    EXPECT_NE(first, std::string::npos) << report;
    EXPECT_NE(second, std::string::npos) << report;
    EXPECT_LT(first, second) << report;
    EXPECT_NE(report.find("    ok: say 你好\r\n"), std::string::npos) << report;
    for (const std::wstring& path : chosenFiles) DeleteFileW(path.c_str());
}

TEST_F(ServerCommandsTest, EscOnTheProgressWindowCancelsWhileTheWindowStaysResponsive) {
    writeServers("[慢]\r\nhost=slow\r\npassword=pw\r\ntimeout_ms=60000\r\n");
    setText("编辑框1", "/rpgitem a remove\r\n/rpgitem a create\r\n/rpgitem a give\r\n");
    sendToServers(*window_);
    HWND progress = serverRunProgressWindow();
    ASSERT_TRUE(progress);
    for (int i = 0; i < 200; ++i) {
        {
            std::lock_guard lock(servers_.mutex);
            if (!servers_.commands["slow"].empty()) break;
        }
        pumpMessages(10);
    }
    type("编辑框2", "x");  // the form still recomposes during the run
    EXPECT_EQ(outputLines().front(), "/rpgitem x remove");
    sendToServers(*window_);  // a second F5 starts nothing
    postKey(GetDlgItem(progress, IDCANCEL), VK_ESCAPE);
    ASSERT_TRUE(waitForRunEnd());
    EXPECT_FALSE(IsWindow(progress));
    EXPECT_EQ(servers_.commands["slow"], std::vector<std::string>{"rpgitem a remove"});
    ASSERT_TRUE(lastRunResultView());
    const std::string report = windowText(GetDlgItem(lastRunResultView(), kRunResultTextId));
    EXPECT_NE(report.find("已取消"), std::string::npos) << report;
}

TEST_F(ServerCommandsTest, NoServerOrNoneEnabledOrNothingToSendGetsItsMessage) {
    struct Case {
        const char* file;  // nullptr: no file
        const char* output;
        std::string_view message;
    };
    const Case cases[] = {
        {nullptr, "/rpgitem a give\r\n", kNoServersMessage},
        {"; nothing yet\r\n", "/rpgitem a give\r\n", kNoServersMessage},
        {"[a]\r\nhost=h\r\nenabled=0\r\n", "/rpgitem a give\r\n", kNoEnabledServerMessage},
        {"[a]\r\nhost=h\r\n", "\r\n\r\n", kNothingToSendMessage},
    };
    for (const Case& c : cases) {
        DeleteFileW(bridge::serversFilePath().c_str());
        if (c.file) writeServers(c.file);
        setText("编辑框1", c.output);
        recorded.clear();
        sendToServers(*window_);
        EXPECT_FALSE(serverRunInProgress());
        EXPECT_EQ(recorded, std::vector<std::string>{std::string(c.message)}) << (c.file ? c.file : "no file");
    }
}

TEST_F(ServerCommandsTest, TheDialogAddsEditsRemovesAndSavesWithoutAPlainPassword) {
    writeServers("; servers of the lobby\r\n[旧]\r\nhost=old.example\r\npassword=oldpw\r\nmotd=kept\r\n");
    HWND dialog = createServersDialog(window_->hwnd());
    ASSERT_TRUE(dialog);
    auto set = [&](int id, std::string_view value) { setWindowText(GetDlgItem(dialog, id), value); };
    auto press = [&](int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); };
    EXPECT_EQ(windowText(GetDlgItem(dialog, kServerHostId)), "old.example") << "the first server is shown";
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, kServerListId), LB_GETCOUNT, 0, 0), 1);

    set(kServerNameId, "新服");
    set(kServerHostId, "new.example");
    set(kServerPortId, "25580");
    set(kServerPasswordId, "newpw");
    SendMessageW(GetDlgItem(dialog, kServerEncodingId), CB_SETCURSEL, 1, 0);
    press(kServerAddId);
    set(kServerNameId, "新服");  // a second one of that name is refused
    press(kServerAddId);
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, kServerListId), LB_GETCOUNT, 0, 0), 2);
    ASSERT_EQ(recorded.size(), 1u);

    SendMessageW(GetDlgItem(dialog, kServerListId), LB_SETCURSEL, 0, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kServerListId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, kServerListId)));
    SendMessageW(GetDlgItem(dialog, kServerEnabledId), BM_SETCHECK, BST_UNCHECKED, 0);
    press(kServerUpdateId);
    press(IDOK);
    EXPECT_FALSE(IsWindow(dialog));

    const std::string file = serversFileText();
    EXPECT_EQ(file.find("oldpw"), std::string::npos) << file;
    EXPECT_EQ(file.find("newpw"), std::string::npos) << file;
    EXPECT_NE(file.find("motd=kept"), std::string::npos) << "a key the editor does not know was lost";
    const bridge::ServersFile read = bridge::loadServersFile();
    ASSERT_EQ(read.list.servers.size(), 2u);
    EXPECT_FALSE(read.list.servers[0].enabled);
    EXPECT_EQ(read.list.servers[0].endpoint.password, "oldpw");
    EXPECT_EQ(read.list.servers[1].name, "新服");
    EXPECT_EQ(read.list.servers[1].endpoint.port, 25580);
    EXPECT_EQ(read.list.servers[1].endpoint.password, "newpw");
    EXPECT_EQ(read.list.servers[1].endpoint.encoding, bridge::ServerEncoding::Gbk);

    dialog = createServersDialog(window_->hwnd());  // 删除, then 取消 keeps the file
    press(kServerRemoveId);
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, kServerListId), LB_GETCOUNT, 0, 0), 1);
    press(IDCANCEL);
    EXPECT_EQ(serversFileText(), file);
}

TEST_F(ServerCommandsTest, TestingAConnectionLogsInAndReports) {
    HWND dialog = createServersDialog(window_->hwnd());
    setWindowText(GetDlgItem(dialog, kServerNameId), "测");
    setWindowText(GetDlgItem(dialog, kServerHostId), "one");
    for (const char* password : {"pw", "wrong"}) {
        setWindowText(GetDlgItem(dialog, kServerPasswordId), password);
        recorded.clear();
        SendMessageW(GetDlgItem(dialog, kServerTestId), BM_CLICK, 0, 0);
        for (int i = 0; i < 300 && recorded.empty(); ++i) pumpMessages(10);
        ASSERT_EQ(recorded.size(), 1u) << password;
        const bool good = std::string(password) == "pw";
        EXPECT_NE(recorded[0].find(good ? "连接成功" : "RCON 密码错误"), std::string::npos) << recorded[0];
    }
    EXPECT_TRUE(servers_.commands.empty()) << "a connection test sent a command";
    DestroyWindow(dialog);
}

// Screenshots of the servers dialog and of a result view (only when
// RPGITEM_SCREENSHOT_DIR is set).
TEST_F(ServerCommandsTest, ScreenshotsOfTheServersDialogAndAResultView) {
    if (screenshotDirectory().empty()) GTEST_SKIP() << "RPGITEM_SCREENSHOT_DIR not set";
    writeServers(
        "[大厅]\r\nhost=one\r\npassword=pw\r\n[生存服]\r\nhost=two\r\nport=25580\r\npassword=bad\r\n"
        "encoding=gbk\r\n[创造服]\r\nhost=three\r\npassword=pw\r\nenabled=0\r\n");
    HWND dialog = createServersDialog(window_->hwnd());
    ASSERT_TRUE(dialog);
    pumpMessages(400);
    EXPECT_TRUE(saveWindowScreenshot(dialog, L"servers-dialog"));
    DestroyWindow(dialog);

    type("编辑框2", "fire_sword");
    type("编辑框3", "§c烈焰之剑");
    sendToServers(*window_);
    ASSERT_TRUE(waitForRunEnd());
    HWND view = lastRunResultView();
    ASSERT_TRUE(view);
    pumpMessages(400);
    EXPECT_TRUE(saveWindowScreenshot(view, L"server-run-result"));
}

}  // namespace
