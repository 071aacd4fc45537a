// End to end under Wine: the real editor (rpgitem-editor.exe) and the
// stand-in game client (javaw.exe, tests/e2e/fake_javaw.cpp) run as separate
// processes. The test drives the editor's window from outside as a user
// would (an id typed into 编辑框2, 按钮1 clicked), reads and confirms its
// message boxes, and checks what the client's log says arrived.
//
// Nothing here can hang: every wait has a time limit, every message sent to
// another process has one, and every process started is killed at the end of
// its test (and with the test process, through a kill-on-close job).
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/delivery.h"
#include "bridge/game_window.h"
#include "bridge/lookup.h"
#include "bridge/win32_game_platform.h"
#include "editor/layout.h"
#include "tests/e2e/e2e_support.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

using namespace e2e;

// One line of the stand-in client's log.
struct LogEvent {
    DWORD tick = 0;
    std::string kind;
    std::string rest;  // the fields after the kind
    std::string text() const { return kind + " " + rest; }
};

std::vector<LogEvent> readLog(const std::wstring& path) {
    std::vector<LogEvent> events;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return events;
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    CloseHandle(file);
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::istringstream fields(line);
        LogEvent event;
        fields >> event.tick >> event.kind;
        std::getline(fields >> std::ws, event.rest);
        events.push_back(event);
    }
    return events;
}

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out.empty() ? "-" : out;
}

// What the game window receives, as its log writes it, for a complete run.
std::vector<std::string> expectedRun(const std::vector<std::string>& lines) {
    auto title = [](std::string_view text) { return "SETTEXT 0 " + hex(bridge::toCodePage936(text)); };
    std::vector<std::string> run{title(bridge::kAcquiredTitle), "KEYDOWN 0 27", "KEYUP 0 27"};
    for (size_t n = 1; n <= lines.size(); ++n) {
        run.push_back(title(bridge::progressTitle(n)));
        run.insert(run.end(), {"KEYDOWN 0 13", "KEYUP 0 13"});
        for (unsigned char byte : bridge::toCodePage936(lines[n - 1]))
            run.push_back("CHAR 0 " + std::to_string(byte) + " 0");
        run.insert(run.end(), {"KEYDOWN 0 13", "KEYUP 0 13"});
    }
    run.push_back(title(bridge::kFinishedTitle));
    run.push_back(title(bridge::kFinalTitle));
    return run;
}

// What reached the game window: keys, characters and titles.
std::vector<std::string> received(const std::vector<LogEvent>& events) {
    std::vector<std::string> kept;
    for (const LogEvent& e : events) {
        if (e.kind != "READY" && e.kind != "CLOSED") kept.push_back(e.text());
    }
    return kept;
}

const LogEvent* findEvent(const std::vector<LogEvent>& events, std::string_view text) {
    for (const LogEvent& e : events) {
        if (e.text() == text) return &e;
    }
    return nullptr;
}

// Every key press and release on this display, seen through a low-level
// keyboard hook of the test process (it runs while the test pumps).
class KeyWitness {
public:
    struct Key {
        DWORD tick;
        DWORD virtualKey;
        bool up;
    };
    KeyWitness() {
        keys().clear();
        hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, onKey, GetModuleHandleW(nullptr), 0);
    }
    ~KeyWitness() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    KeyWitness(const KeyWitness&) = delete;
    KeyWitness& operator=(const KeyWitness&) = delete;
    bool installed() const { return hook_ != nullptr; }
    static std::vector<Key>& keys() {
        static std::vector<Key> seen;
        return seen;
    }

private:
    static LRESULT CALLBACK onKey(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION) {
            const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
            keys().push_back({GetTickCount(), info->vkCode, wParam == WM_KEYUP || wParam == WM_SYSKEYUP});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_ = nullptr;
};

class DeliveryEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        killLeftovers();
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int serial = 0;
        logPath_ = std::wstring(temp) + L"fake_javaw_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                   std::to_wstring(++serial) + L".log";
        DeleteFileW(logPath_.c_str());
    }
    void TearDown() override {
        game_.stop();
        editor_.stop();
        if (HasFailure()) {
            for (const LogEvent& e : log()) std::printf("  log: %lu %s\n", e.tick, e.text().c_str());
        }
        DeleteFileW(logPath_.c_str());
    }

    void startEditor() {
        ASSERT_TRUE((editorWindow_ = e2e::startEditor(editor_, L"")) != nullptr)
            << "the editor's window did not appear or answer";
        idBox_ = controlNamed(editorWindow_, "编辑框2");
        outputBox_ = controlNamed(editorWindow_, "编辑框1");
        deliverButton_ = controlNamed(editorWindow_, "按钮1");
        ASSERT_TRUE(idBox_ && outputBox_ && deliverButton_);
        ASSERT_EQ(className(deliverButton_), L"Button");
    }

    void startGame(const std::wstring& options) {
        ASSERT_TRUE(game_.start(directoryOfThisProgram() + L"\\javaw.exe", L"--log \"" + logPath_ + L"\" " + options));
        ASSERT_TRUE(waitUntil([&] { return !log().empty() && log().front().kind == "READY"; }, kStartTimeoutMs))
            << "the stand-in client did not start";
    }

    // Types the id into 编辑框2 character by character and waits for the
    // composed output.
    void typeId(std::string_view id, std::string_view expectedOutput) {
        for (wchar_t ch : wide(id)) {
            DWORD_PTR result = 0;
            ASSERT_TRUE(sendTo(idBox_, WM_CHAR, ch, 1, &result));
        }
        ASSERT_TRUE(waitUntil([&] { return textOf(outputBox_) == expectedOutput; }, kStepTimeoutMs))
            << "output: " << textOf(outputBox_);
    }

    void clickDeliver() { PostMessageW(deliverButton_, BM_CLICK, 0, 0); }

    HWND waitForMessageBox() {
        HWND box = nullptr;
        waitUntil([&] { return (box = topLevelWindowOf(editor_.pid(), L"#32770")); }, kStepTimeoutMs);
        return box;
    }

    bool waitForRunEnd() {
        return waitUntil([&] { return IsWindowEnabled(deliverButton_) != FALSE; }, kStepTimeoutMs);
    }

    std::vector<LogEvent> log() const { return readLog(logPath_); }

    Child editor_;
    Child game_;
    std::wstring logPath_;
    HWND editorWindow_ = nullptr;
    HWND idBox_ = nullptr;
    HWND outputBox_ = nullptr;
    HWND deliverButton_ = nullptr;
};

TEST_F(DeliveryEndToEnd, TypesEveryLineIntoTheGameAndRefusesASecondRunMeanwhile) {
    ASSERT_NO_FATAL_FAILURE(startEditor());
    ASSERT_NO_FATAL_FAILURE(startGame(L""));
    const std::vector<std::string> lines{"/rpgitem sword中 remove", "/rpgitem sword中 create", "/rpgitem sword中 give"};
    ASSERT_NO_FATAL_FAILURE(typeId("sword中", lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n"));

    clickDeliver();
    const std::string firstProgress = "SETTEXT 0 " + hex(bridge::toCodePage936(bridge::progressTitle(1)));
    ASSERT_TRUE(waitUntil([&] { return findEvent(log(), firstProgress) != nullptr; }, kStepTimeoutMs));
    EXPECT_FALSE(IsWindowEnabled(deliverButton_)) << "按钮1 stays enabled during a run";
    clickDeliver();  // must not start a second, interleaved run
    EXPECT_EQ(textOf(outputBox_), lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n")
        << "the editor does not answer during the run";

    const std::string final = "SETTEXT 0 " + hex(bridge::toCodePage936(bridge::kFinalTitle));
    ASSERT_TRUE(waitUntil([&] { return findEvent(log(), final) != nullptr; }, 20000));
    ASSERT_TRUE(waitForRunEnd());
    pumpFor(500);  // a second run, had it been let through, would show now

    const std::vector<LogEvent> events = log();
    EXPECT_EQ(received(events), expectedRun(lines));
    EXPECT_FALSE(topLevelWindowOf(editor_.pid(), L"#32770")) << "a complete run shows no message";

    // 中 arrives as its two GBK bytes, lead byte first.
    const std::string chars = [&] {
        std::string all;
        for (const std::string& e : received(events)) all += e + ";";
        return all;
    }();
    EXPECT_NE(chars.find("CHAR 0 214 0;CHAR 0 208 0;"), std::string::npos);

    const LogEvent* finished = findEvent(events, "SETTEXT 0 " + hex(bridge::toCodePage936(bridge::kFinishedTitle)));
    const LogEvent* minecraft = findEvent(events, final);
    ASSERT_TRUE(finished && minecraft);
    std::printf("  [measured] whole run %lu ms; \"Minecraft\" %lu ms after the finished title\n",
                minecraft->tick - events.front().tick, minecraft->tick - finished->tick);
}

TEST_F(DeliveryEndToEnd, AClientThatCannotBeTypedIntoGetsAMessageAndNothingElse) {
    struct Case {
        const wchar_t* game;  // nullptr: no client running
        std::string_view message;
    };
    const Case cases[] = {
        {nullptr, "『Qelvo』获取游戏客户端失败！检查客户端是否打开"},
        {L"--minimized", "『Qelvo』游戏最小化无法输入指令！"},
        {L"--hidden-only", bridge::kNoWindowMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game ? utf8(c.game) : "no client");
        TearDown();
        SetUp();
        ASSERT_NO_FATAL_FAILURE(startEditor());
        if (c.game) {
            ASSERT_NO_FATAL_FAILURE(startGame(c.game));
        }
        ASSERT_NO_FATAL_FAILURE(typeId("a", "/rpgitem a remove\r\n/rpgitem a create\r\n/rpgitem a give\r\n"));
        KeyWitness witness;
        ASSERT_TRUE(witness.installed());
        clickDeliver();
        HWND box = waitForMessageBox();
        ASSERT_TRUE(box) << "no message box";
        const MessageBoxSeen seen = readAndConfirm(box);
        EXPECT_EQ(seen.caption, "信息：");
        EXPECT_EQ(seen.text, c.message);
        ASSERT_TRUE(waitForRunEnd());
        pumpFor(300);
        EXPECT_EQ(KeyWitness::keys().size(), 0u) << "a key was synthesised";
        if (c.game) {
            EXPECT_EQ(received(log()), std::vector<std::string>{}) << "something reached the client";
        }
    }
}

TEST_F(DeliveryEndToEnd, AClientClosingMidRunGetsNoFurtherKey) {
    ASSERT_NO_FATAL_FAILURE(startEditor());
    const std::string line1 = "/rpgitem z remove";
    // The client closes after line 1 and four characters of line 2.
    const size_t closeAfter = line1.size() + 4;
    ASSERT_NO_FATAL_FAILURE(startGame(L"--close-after " + std::to_wstring(closeAfter)));
    ASSERT_NO_FATAL_FAILURE(typeId("z", line1 + "\r\n/rpgitem z create\r\n/rpgitem z give\r\n"));

    KeyWitness witness;
    ASSERT_TRUE(witness.installed());
    clickDeliver();
    HWND box = waitForMessageBox();
    ASSERT_TRUE(box) << "no message after the client closed";
    EXPECT_EQ(readAndConfirm(box).text, bridge::stoppedMessage(bridge::StopReason::WindowClosed, 2));
    ASSERT_TRUE(waitForRunEnd());
    pumpFor(700);  // longer than one of the run's pauses

    const std::vector<LogEvent> events = log();
    const auto closed =
        std::find_if(events.begin(), events.end(), [](const LogEvent& e) { return e.kind == "CLOSED"; });
    ASSERT_NE(closed, events.end());
    EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const LogEvent& e) { return e.kind == "CHAR"; }),
              static_cast<long>(closeAfter));
    const auto& keys = KeyWitness::keys();
    const auto presses =
        std::count_if(keys.begin(), keys.end(), [&](const KeyWitness::Key& k) { return k.tick <= closed->tick; });
    // Down and up of Esc, of line 1's two Enters and of line 2's first: the
    // witness sees the run's keys.
    EXPECT_EQ(presses, 8);
    for (const KeyWitness::Key& key : keys) {
        EXPECT_LE(key.tick, closed->tick) << "key " << key.virtualKey << (key.up ? " up" : " down") << " "
                                          << key.tick - closed->tick << " ms after the client closed";
    }
}

// The lookup across processes: the first visible window of javaw.exe.
TEST_F(DeliveryEndToEnd, TheLookupFindsTheClientsVisibleWindowHighestInZOrder) {
    EXPECT_EQ(bridge::findGameWindow(), bridge::noGameProcess()) << "no client running";
    struct Case {
        const wchar_t* options;
        bool found;
    };
    const Case cases[] = {{L"", true}, {L"--two-windows", true}, {L"--minimized", true}, {L"--hidden-only", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8(c.options));
        TearDown();
        SetUp();
        ASSERT_NO_FATAL_FAILURE(startGame(c.options));
        // READY <count> top=<index> <handles…>
        std::istringstream ready(log().front().rest);
        int count = 0;
        std::string top;
        ready >> count >> top;
        std::vector<HWND> windows;
        for (std::string handle; ready >> handle;) {
            windows.push_back(reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoul(handle, nullptr, 16))));
        }
        ASSERT_EQ(windows.size(), static_cast<size_t>(count));
        const HWND expected = c.found ? windows[std::stoi(top.substr(4))] : nullptr;
        EXPECT_EQ(bridge::findGameWindow(), expected);
        EXPECT_EQ(bridge::findGameWindow(), expected) << "a second lookup differs";
    }
}

// The chat field takes 100 characters (UTF-16 code units): a longer line is
// refused before anything reaches the game.
TEST_F(DeliveryEndToEnd, ALineOverTheChatLimitIsRefusedAndNothingIsTyped) {
    ASSERT_NO_FATAL_FAILURE(startEditor());
    ASSERT_NO_FATAL_FAILURE(startGame(L""));
    std::string hundred = "/rpgitem a lore ";  // 16 units, then 84 Chinese characters
    for (int i = 0; i < 84; ++i) hundred += "中";
    const std::string text = "/rpgitem a remove\r\n" + hundred + "中\r\n";
    DWORD_PTR result = 0;
    ASSERT_TRUE(sendTo(outputBox_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text).c_str()), &result));
    KeyWitness witness;
    ASSERT_TRUE(witness.installed());
    clickDeliver();
    HWND box = waitForMessageBox();
    ASSERT_TRUE(box) << "no message box";
    const MessageBoxSeen seen = readAndConfirm(box);
    EXPECT_EQ(seen.caption, "信息：");
    EXPECT_EQ(seen.text, bridge::overlongLineMessage({2, 101}));
    ASSERT_TRUE(waitForRunEnd());
    pumpFor(300);
    EXPECT_EQ(KeyWitness::keys().size(), 0u) << "a key was synthesised";
    EXPECT_EQ(received(log()), std::vector<std::string>{}) << "something reached the client";
}

// A fresh editor and game: the activation that follows the closed message box
// above would otherwise race the next run's first keys.
TEST_F(DeliveryEndToEnd, ALineOfExactlyAHundredIsTyped) {
    ASSERT_NO_FATAL_FAILURE(startEditor());
    ASSERT_NO_FATAL_FAILURE(startGame(L""));
    std::string hundred = "/rpgitem a lore ";  // 16 units, then 84 Chinese characters
    for (int i = 0; i < 84; ++i) hundred += "中";
    DWORD_PTR result = 0;
    const std::vector<std::string> lines{"/rpgitem a remove", hundred};
    ASSERT_TRUE(sendTo(outputBox_, WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(wide(lines[0] + "\r\n" + lines[1] + "\r\n").c_str()), &result));
    clickDeliver();
    const std::string final = "SETTEXT 0 " + hex(bridge::toCodePage936(bridge::kFinalTitle));
    ASSERT_TRUE(waitUntil([&] { return findEvent(log(), final) != nullptr; }, 20000));
    EXPECT_EQ(received(log()), expectedRun(lines));
    EXPECT_FALSE(topLevelWindowOf(editor_.pid(), L"#32770")) << "a line of 100 was refused";
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    killOnCloseJob();
    return RUN_ALL_TESTS();
}
