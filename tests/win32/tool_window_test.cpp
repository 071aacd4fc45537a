// The program's windows beside the main window: the servers dialog, the
// progress window and the result view are owned by the main window, open
// centred over it, wear the skin, and answer the keyboard as dialogs do.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <memory>

#include "bridge/rcon_packet.h"
#include "bridge/win32_rcon_platform.h"
#include "skin/skin_engine.h"
#include "tests/win32/screenshot.h"
#include "tests/win32/window_fixture.h"
#include "ui/information_box.h"
#include "ui/run_result_view.h"
#include "ui/server_delivery.h"
#include "ui/servers_dialog.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

// "fail…" hosts refuse the connection; any other host logs in ("pw") and
// then answers nothing: the run stays open until it is cancelled.
class QuietServer : public bridge::RconTransport {
public:
    bridge::ConnectStatus connect(const std::string& host, std::uint16_t, int, const std::atomic<bool>&) override {
        return host.rfind("fail", 0) == 0 ? bridge::ConnectStatus::Refused : bridge::ConnectStatus::Connected;
    }
    bridge::IoStatus send(std::string_view bytes) override {
        decoder_.feed(bytes);
        while (auto packet = decoder_.next()) {
            if (packet->type != 3) continue;
            for (std::int32_t v : {10, packet->id, 2}) {
                for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<char>((v >> shift) & 0xFF));
            }
            out_ += std::string(2, '\0');
        }
        return bridge::IoStatus::Ok;
    }
    bridge::Received receive(char* buffer, std::size_t capacity, int timeoutMs) override {
        if (out_.empty()) {
            Sleep(static_cast<DWORD>(std::min(timeoutMs, 5)));
            return {bridge::IoStatus::Timeout, 0};
        }
        const std::size_t n = std::min(capacity, out_.size());
        out_.copy(buffer, n);
        out_.erase(0, n);
        return {bridge::IoStatus::Ok, n};
    }
    void close() override {}

private:
    bridge::RconDecoder decoder_;
    std::string out_;
};

std::vector<std::string> questions;
bool answerYes = true;
bool recordQuestion(std::string_view text) {
    questions.emplace_back(text);
    return answerYes;
}
void ignoreMessage(std::string_view) {}

class ToolWindowTest : public EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        appData_ = std::wstring(temp) + L"rpgitem_tools_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(appData_.c_str(), nullptr);
        CreateDirectoryW((appData_ + L"\\RPGitemEditor").c_str(), nullptr);
        SetEnvironmentVariableW(L"APPDATA", appData_.c_str());
        DeleteFileW(bridge::serversFilePath().c_str());
        questions.clear();
        answerYes = true;
        previousQuestion_ = replaceConfirmBox(recordQuestion);
        previousBox_ = replaceInformationBox(ignoreMessage);
        useRconTransportsForTesting([] { return std::make_unique<QuietServer>(); });
    }
    void TearDown() override {
        useRconTransportsForTesting({});
        replaceConfirmBox(previousQuestion_);
        replaceInformationBox(previousBox_);
        if (HWND view = lastRunResultView()) DestroyWindow(view);
        EditorWindowTest::TearDown();
    }
    void writeServers(std::string_view text) {
        std::ofstream(bridge::serversFilePath().c_str(), std::ios::binary) << text;
    }
    // Owned by the main window, its centre on the main window's centre
    // (within a pixel), skinned.
    void expectOwnedCentredSkinned(HWND tool) {
        EXPECT_EQ(GetWindow(tool, GW_OWNER), window_->hwnd());
        RECT main, own;
        GetWindowRect(window_->hwnd(), &main);
        GetWindowRect(tool, &own);
        EXPECT_NEAR((own.left + own.right) / 2, (main.left + main.right) / 2, 1);
        EXPECT_NEAR((own.top + own.bottom) / 2, (main.top + main.bottom) / 2, 1);
        skin::SkinEngine* engine = skin::SkinEngine::current();
        ASSERT_TRUE(engine);
        EXPECT_NE(engine->registry().indexOf(tool), 0) << "drawn by the skin";
        EXPECT_FALSE(GetWindowLongW(tool, GWL_STYLE) & WS_CAPTION) << "the skin draws the caption";
    }
    HWND focusedIn(HWND tool) const {
        HWND focus = GetFocus();
        return focus && IsChild(tool, focus) ? focus : nullptr;
    }

    std::wstring appData_;
    ConfirmBox previousQuestion_ = nullptr;
    InformationBox previousBox_ = nullptr;
};

TEST_F(ToolWindowTest, TheResultViewWrapsAndAnswersEscTabAndEnter) {
    const std::string report = "服务器「大厅」：失败 " + std::string(400, 'x') + "\r\n第二行";
    HWND view = showRunResult(window_->hwnd(), report);
    ASSERT_TRUE(view);
    pumpMessages();
    expectOwnedCentredSkinned(view);
    HWND text = GetDlgItem(view, kRunResultTextId);
    EXPECT_FALSE(GetWindowLongW(text, GWL_STYLE) & (ES_AUTOHSCROLL | WS_HSCROLL)) << "long lines wrap";
    EXPECT_GT(SendMessageW(text, EM_GETLINECOUNT, 0, 0), 2) << "the long line took several rows";
    EXPECT_EQ(focusedIn(view), text);

    postKey(text, VK_TAB);
    EXPECT_EQ(focusedIn(view), GetDlgItem(view, kRunResultCopyId));
    postKey(GetFocus(), VK_TAB);
    EXPECT_EQ(focusedIn(view), GetDlgItem(view, IDCANCEL));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    postKey(GetFocus(), VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(focusedIn(view), GetDlgItem(view, kRunResultCopyId)) << "Shift+Tab goes back";

    // Enter in the text presses the default button, 关闭.
    SetFocus(text);
    postKey(text, VK_RETURN);
    EXPECT_FALSE(IsWindow(view));

    view = showRunResult(window_->hwnd(), report);
    postKey(GetDlgItem(view, kRunResultTextId), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(view)) << "Esc closes the view";
}

TEST_F(ToolWindowTest, CtrlASelectsEverythingInTheResultAndTheDialogsBoxes) {
    HWND view = showRunResult(window_->hwnd(), "第一行\r\n第二行");
    HWND text = GetDlgItem(view, kRunResultTextId);
    SendMessageW(text, EM_SETSEL, 0, 0);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    postKey(text, 'A');
    DWORD from = 1, to = 0;
    SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, static_cast<DWORD>(GetWindowTextLengthW(text)));

    HWND dialog = createServersDialog(window_->hwnd());
    HWND host = GetDlgItem(dialog, kServerHostId);
    setWindowText(host, "play.example.org");
    SetFocus(host);
    SendMessageW(host, EM_SETSEL, 3, 3);
    postKey(host, 'A');
    SendMessageW(host, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 16u);
    DestroyWindow(dialog);
}

TEST_F(ToolWindowTest, TheServersDialogAsksBeforeRemovingOrDroppingTypedFields) {
    writeServers("[大厅]\r\nhost=one\r\npassword=pw\r\n[生存服]\r\nhost=two\r\npassword=pw\r\n");
    HWND dialog = createServersDialog(window_->hwnd());
    ASSERT_TRUE(dialog);
    pumpMessages();
    expectOwnedCentredSkinned(dialog);
    HWND list = GetDlgItem(dialog, kServerListId);
    auto choose = [&](int index) {
        SendMessageW(list, LB_SETCURSEL, index, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kServerListId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    };
    auto host = [&] { return windowText(GetDlgItem(dialog, kServerHostId)); };

    // Choosing without typing asks nothing.
    choose(1);
    EXPECT_EQ(host(), "two");
    EXPECT_TRUE(questions.empty());
    // Typed and not stored: 否 keeps the fields and the choice.
    setWindowText(GetDlgItem(dialog, kServerHostId), "typed.example");
    answerYes = false;
    choose(0);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(host(), "typed.example");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    // 是 gives them up.
    answerYes = true;
    choose(0);
    EXPECT_EQ(host(), "one");

    // 删除 asks, naming the server; 否 keeps it.
    questions.clear();
    answerYes = false;
    SendMessageW(GetDlgItem(dialog, kServerRemoveId), BM_CLICK, 0, 0);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find("大厅"), std::string::npos) << questions[0];
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    answerYes = true;
    SendMessageW(GetDlgItem(dialog, kServerRemoveId), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(host(), "two") << "the next server is shown";

    postKey(GetDlgItem(dialog, kServerListId), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(dialog)) << "Esc is 取消";
}

TEST_F(ToolWindowTest, TheProgressWindowsBarStandsWhereItsTextSays) {
    writeServers("[坏]\r\nhost=fail\r\npassword=pw\r\n[慢]\r\nhost=slow\r\npassword=pw\r\ntimeout_ms=60000\r\n");
    setText("编辑框1", "/rpgitem a remove\r\n/rpgitem a create\r\n/rpgitem a give\r\n");
    sendToServers(*window_);
    HWND progress = serverRunProgressWindow();
    ASSERT_TRUE(progress);
    expectOwnedCentredSkinned(progress);
    HWND text = GetDlgItem(progress, kSendProgressTextId);
    for (int i = 0; i < 300 && windowText(text).find("已完成 1/2") == std::string::npos; ++i) pumpMessages(10);
    EXPECT_EQ(windowText(text), "已完成 1/2 台服务器，已发送 0/6 条指令");
    EXPECT_EQ(SendMessageW(GetDlgItem(progress, kSendProgressBarId), PBM_GETPOS, 0, 0), 0)
        << "the refused server sent nothing: the bar stays at the start";
    postKey(GetDlgItem(progress, IDCANCEL), VK_RETURN);  // Enter presses 取消
    for (int i = 0; i < 300 && serverRunInProgress(); ++i) pumpMessages(10);
    EXPECT_FALSE(serverRunInProgress());
    HWND view = lastRunResultView();
    ASSERT_TRUE(view);
    expectOwnedCentredSkinned(view);
}

// Screenshots of the three windows (only when RPGITEM_SCREENSHOT_DIR is set).
TEST_F(ToolWindowTest, Screenshots) {
    if (screenshotDirectory().empty()) GTEST_SKIP() << "RPGITEM_SCREENSHOT_DIR not set";
    writeServers(
        "[大厅]\r\nhost=one\r\npassword=pw\r\n[生存服]\r\nhost=fail.example\r\nport=25580\r\npassword=pw\r\n"
        "encoding=gbk\r\n");
    HWND dialog = createServersDialog(window_->hwnd());
    pumpMessages(400);
    EXPECT_TRUE(saveWindowScreenshot(dialog, L"tool-servers-dialog"));
    DestroyWindow(dialog);
    setText("编辑框1", "/rpgitem a remove\r\n/rpgitem a create\r\n/rpgitem a give\r\n");
    sendToServers(*window_);
    pumpMessages(400);
    EXPECT_TRUE(saveWindowScreenshot(serverRunProgressWindow(), L"tool-progress"));
    SendMessageW(serverRunProgressWindow(), WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 300 && serverRunInProgress(); ++i) pumpMessages(10);
    pumpMessages(400);
    EXPECT_TRUE(saveWindowScreenshot(window_->hwnd(), L"tool-result-over-main"));
}

}  // namespace
