// The client bridge's Win32 side inside one process: the code page 936
// bytes, the pumping wait, the lookup over windows of our own, a run typed
// into a window of our own, and the deliver button of the real main window.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "bridge/delivery.h"
#include "bridge/game_window.h"
#include "bridge/win32_game_platform.h"
#include "tests/win32/modal_watch.h"
#include "tests/win32/window_fixture.h"
#include "ui/delivery_handler.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

constexpr UINT kProbeMessage = WM_APP + 77;

// What one of our own test windows received.
struct Received {
    std::vector<std::pair<WPARAM, LPARAM>> chars;
    std::vector<std::string> titles;  // WM_SETTEXT as the window got it (ANSI: bytes)
    int probes = 0;
    int timers = 0;
};

template <typename Char>
std::string asBytes(LPARAM text) {
    if constexpr (sizeof(Char) == 1) {
        return reinterpret_cast<const char*>(text);
    } else {
        return utf8(reinterpret_cast<const wchar_t*>(text));
    }
}

LRESULT record(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool ansi) {
    auto* seen = reinterpret_cast<Received*>(ansi ? GetWindowLongPtrA(hwnd, GWLP_USERDATA)
                                                  : GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (seen) {
        switch (msg) {
        case WM_CHAR:
            seen->chars.emplace_back(wParam, lParam);
            return 0;
        case WM_SETTEXT:
            seen->titles.push_back(ansi ? asBytes<char>(lParam) : asBytes<wchar_t>(lParam));
            break;
        case kProbeMessage:
            ++seen->probes;
            return 0;
        case WM_TIMER:
            ++seen->timers;
            return 0;
        }
    }
    return ansi ? DefWindowProcA(hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ansiProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return record(hwnd, msg, wParam, lParam, true);
}

LRESULT CALLBACK unicodeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return record(hwnd, msg, wParam, lParam, false);
}

// A top-level window of this process that records what it receives.
class TestWindow {
public:
    enum Kind { Ansi, Unicode };
    TestWindow(Kind kind, std::string_view title, bool visible) {
        static const bool registered = [] {
            WNDCLASSA a{};
            a.lpfnWndProc = ansiProc;
            a.hInstance = GetModuleHandleW(nullptr);
            a.lpszClassName = "BridgeTestAnsi";
            WNDCLASSW w{};
            w.lpfnWndProc = unicodeProc;
            w.hInstance = GetModuleHandleW(nullptr);
            w.lpszClassName = L"BridgeTestUnicode";
            return RegisterClassA(&a) && RegisterClassW(&w);
        }();
        EXPECT_TRUE(registered);
        const DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
        if (kind == Ansi) {
            hwnd_ = CreateWindowExA(0, "BridgeTestAnsi", std::string(title).c_str(), style, 10, 10, 200, 100, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
            SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen_));
        } else {
            hwnd_ = CreateWindowExW(0, L"BridgeTestUnicode", wide(title).c_str(), style, 10, 10, 200, 100, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen_));
        }
        EXPECT_TRUE(hwnd_);
    }
    ~TestWindow() {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    bridge::WindowId id() const { return reinterpret_cast<bridge::WindowId>(hwnd_); }
    const Received& seen() const { return seen_; }
    void raise() const { SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

private:
    Received seen_;
    HWND hwnd_ = nullptr;
};

std::string ownExecutableName() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    return utf8(name.substr(name.find_last_of(L"\\/") + 1));
}

TEST(CodePage936, EachCharacterBecomesItsGbkBytesOrOneQuestionMark) {
    struct Case {
        const char* utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"", ""},
        {"/rpgitem sword give", "/rpgitem sword give"},
        {"中", "\xD6\xD0"},
        {"『Qelvo』",
         "\xA1\xBA"
         "Qelvo"
         "\xA1\xBB"},
        {"你好 é", "\xC4\xE3\xBA\xC3 \xA8\xA6"},
        {"a😀b", "a?b"},     // beyond the Basic Multilingual Plane: one "?"
        {"x\xFFy", "x?y"},  // malformed UTF-8 is one unrepresentable character
        {"ก", "?"},         // Thai has no GBK form
        {"a\tb\r\nc", "a\tb\r\nc"},
    };
    for (const Case& c : cases) EXPECT_EQ(bridge::toCodePage936(c.utf8), c.bytes) << c.utf8;

    std::string longLine;
    for (int i = 0; i < 100000; ++i) longLine += "中";
    const std::string bytes = bridge::toCodePage936(longLine);
    ASSERT_EQ(bytes.size(), 200000u);
    EXPECT_EQ(bytes.find_first_not_of("\xD6\xD0"), std::string::npos);
}

TEST(PumpingDelay, ZeroOrLessReturnsAtOnceWithoutProcessing) {
    TestWindow window(TestWindow::Unicode, "probe", false);
    PostMessageW(window.hwnd(), kProbeMessage, 0, 0);
    EXPECT_TRUE(bridge::pumpingDelay(0));
    EXPECT_TRUE(bridge::pumpingDelay(-5));
    EXPECT_EQ(window.seen().probes, 0);
    EXPECT_TRUE(bridge::pumpingDelay(1));
    EXPECT_EQ(window.seen().probes, 1);
}

TEST(PumpingDelay, KeepsProcessingMessagesWhileItWaits) {
    TestWindow window(TestWindow::Unicode, "probe", false);
    SetTimer(window.hwnd(), 1, 10, nullptr);
    PostMessageW(window.hwnd(), kProbeMessage, 0, 0);
    EXPECT_TRUE(bridge::pumpingDelay(150));
    KillTimer(window.hwnd(), 1);
    EXPECT_EQ(window.seen().probes, 1);
    EXPECT_GE(window.seen().timers, 2) << "a timer of 10 ms fired fewer than twice in 150 ms";
}

TEST(PumpingDelay, StopsAtTheQuitMessageAndLeavesItForTheMainLoop) {
    PostQuitMessage(7);
    EXPECT_FALSE(bridge::pumpingDelay(5000));
    EXPECT_FALSE(bridge::pumpingDelay(300)) << "every later wait of the run stops as well";
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(GameWindowLookup, FindsAProcessByItsExecutableNameIgnoringAsciiCase) {
    const std::string own = ownExecutableName();
    std::string upper = own;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    EXPECT_EQ(bridge::findProcessId(own, false), GetCurrentProcessId());
    EXPECT_EQ(bridge::findProcessId(upper, false), GetCurrentProcessId());
    EXPECT_EQ(bridge::findProcessId(own, true), GetCurrentProcessId());
    EXPECT_EQ(bridge::findProcessId(upper, true), 0u);
    EXPECT_EQ(bridge::findProcessId(own + "2", false), 0u);
    EXPECT_EQ(bridge::findProcessId(own.substr(0, own.size() - 4), false), 0u);
}

TEST(GameWindowLookup, ChoosesTheVisibleWindowHighestInTheZOrder) {
    const DWORD self = GetCurrentProcessId();
    TestWindow hidden(TestWindow::Unicode, "hidden one", false);
    EXPECT_EQ(bridge::findProcessWindow(self, "", false, "", false), nullptr) << "only a hidden window: none";

    TestWindow first(TestWindow::Ansi, "窗口甲 First", true);
    TestWindow second(TestWindow::Unicode, "Second", true);
    second.raise();
    EXPECT_EQ(bridge::findProcessWindow(self, "", false, "", false), second.hwnd());
    EXPECT_EQ(bridge::findProcessWindow(self, "", false, "", false), second.hwnd()) << "a second lookup agrees";
    first.raise();
    EXPECT_EQ(bridge::findProcessWindow(self, "", false, "", false), first.hwnd());
    EXPECT_EQ(bridge::findProcessWindow(self, "SECOND", true, "", false), second.hwnd());
    EXPECT_EQ(bridge::findProcessWindow(self, "", false, "testunicode", true), second.hwnd());
    EXPECT_EQ(bridge::findProcessWindow(self, "hidden", true, "", false), nullptr);
    ShowWindow(first.hwnd(), SW_MINIMIZE);
    EXPECT_EQ(bridge::findProcessWindow(self, "", false, "", false), first.hwnd()) << "minimised is still visible";

    // The enumeration reads each window's owner, title and class.
    const std::vector<bridge::WindowInfo> all = bridge::enumerateTopLevelWindows();
    auto found =
        std::find_if(all.begin(), all.end(), [&](const bridge::WindowInfo& w) { return w.handle == first.id(); });
    ASSERT_NE(found, all.end());
    EXPECT_EQ(found->processId, self);
    EXPECT_EQ(found->threadId, GetCurrentThreadId());
    EXPECT_EQ(found->className, "BridgeTestAnsi");
    EXPECT_EQ(found->title.substr(found->title.size() - 5), "First");
}

// The real platform, aimed at a window of our own and without synthesised
// keys or real pauses: what the game window receives from a whole run.
class OwnWindowPlatform : public bridge::Win32GamePlatform {
public:
    explicit OwnWindowPlatform(bridge::WindowId window) : window_(window) {}
    bridge::GameLookup findGame() override { return {bridge::GameStatus::Found, window_}; }
    void forceForeground(bridge::WindowId) override {}
    bool isForeground(bridge::WindowId) override { return true; }
    void synthesiseKey(unsigned virtualKey) override { keys.push_back(virtualKey); }
    bool wait(int) override { return bridge::pumpingDelay(1); }
    std::vector<unsigned> keys;

private:
    bridge::WindowId window_;
};

TEST(Win32Delivery, AWholeRunReachesTheWindowAsGbkBytesOneMessageEach) {
    TestWindow game(TestWindow::Ansi, "Minecraft", true);
    std::string longLine;
    for (int i = 0; i < 50000; ++i) longLine += "中";
    OwnWindowPlatform platform(game.id());
    const std::string output = "/rpgitem 剑 give\r\n\r\na😀b\r\n" + longLine + "\r\n";
    EXPECT_EQ(bridge::deliverCommands(platform, output), bridge::RunResult::Completed);
    bridge::pumpingDelay(1);

    std::vector<std::pair<WPARAM, LPARAM>> expected;
    for (const char* line : {"/rpgitem 剑 give", "", "a😀b"}) {
        for (char byte : bridge::toCodePage936(line)) expected.emplace_back(static_cast<unsigned char>(byte), 0);
    }
    for (int i = 0; i < 50000; ++i) {
        expected.emplace_back(0xD6, 0);
        expected.emplace_back(0xD0, 0);
    }
    EXPECT_EQ(game.seen().chars.size(), expected.size());
    EXPECT_TRUE(game.seen().chars == expected) << "the characters differ from the lines' bytes";
    EXPECT_EQ(platform.keys, (std::vector<unsigned>{27, 13, 13, 13, 13, 13, 13, 13, 13}));
    // The titles, as an ANSI window gets them on this system's code page.
    const std::vector<std::string> titles = game.seen().titles;
    ASSERT_EQ(titles.size(), 7u);
    if (GetACP() == 936) {
        EXPECT_EQ(titles[0], bridge::toCodePage936(bridge::kAcquiredTitle));
        EXPECT_EQ(titles[4], bridge::toCodePage936(bridge::progressTitle(4)));
        EXPECT_EQ(titles[5], bridge::toCodePage936(bridge::kFinishedTitle));
    }
    EXPECT_EQ(titles[6], "Minecraft");
}

TEST(Win32Delivery, TitlesArriveWholeAtAUnicodeWindowOnAnySystem) {
    TestWindow game(TestWindow::Unicode, "Minecraft", true);
    bridge::Win32GamePlatform platform;
    platform.setTitle(game.id(), bridge::kFinishedTitle);
    EXPECT_EQ(windowText(game.hwnd()), bridge::kFinishedTitle);
    EXPECT_EQ(game.seen().titles, (std::vector<std::string>{std::string(bridge::kFinishedTitle)}));
}

TEST(Win32Delivery, AClosedWindowIsNoLongerAWindowAndTakesNoCharacters) {
    bridge::Win32GamePlatform platform;
    bridge::WindowId gone;
    {
        TestWindow game(TestWindow::Ansi, "Minecraft", true);
        gone = game.id();
        EXPECT_TRUE(platform.isWindow(gone));
        EXPECT_FALSE(platform.isMinimised(gone));
    }
    EXPECT_FALSE(platform.isWindow(gone));
    EXPECT_FALSE(platform.postChar(gone, 'a', 0));
    EXPECT_FALSE(platform.isForeground(gone));
}

// Answers as a game window that takes everything; counts lookups and
// records the characters; runs `during` inside the first wait.
class ScriptedPlatform : public bridge::GamePlatform {
public:
    bridge::GameLookup findGame() override {
        ++lookups;
        return {bridge::GameStatus::Found, 0x1234};
    }
    bool isWindow(bridge::WindowId) override { return true; }
    bool isMinimised(bridge::WindowId) override { return false; }
    void setTitle(bridge::WindowId, std::string_view) override {}
    void activate(bridge::WindowId) override {}
    void forceForeground(bridge::WindowId) override {}
    bool isForeground(bridge::WindowId) override { return true; }
    void synthesiseKey(unsigned) override {}
    std::string encodeLine(std::string_view utf8Text) override { return std::string(utf8Text); }
    bool postChar(bridge::WindowId, std::uintptr_t wParam, std::intptr_t) override {
        chars += static_cast<char>(wParam);
        return true;
    }
    bool wait(int) override {
        if (waits++ == 0 && during) during();
        return true;
    }
    void showMessage(std::string_view) override {}

    int lookups = 0;
    int waits = 0;
    std::string chars;
    std::function<void()> during;
};

class DeliverButtonTest : public EditorWindowTest {
protected:
    void TearDown() override {
        useGamePlatformForTesting(nullptr);
        EditorWindowTest::TearDown();
    }
};

TEST_F(DeliverButtonTest, ARunRefusesASecondOneAndTheWindowStaysResponsive) {
    type("编辑框2", "ab");
    const std::string lines = "/rpgitem ab remove/rpgitem ab create/rpgitem ab give";
    ScriptedPlatform platform;
    useGamePlatformForTesting(&platform);
    bool buttonEnabledDuringRun = true;
    bool inProgressDuringRun = false;
    std::string outputAfterEdit;
    platform.during = [&] {
        buttonEnabledDuringRun = IsWindowEnabled(control("按钮1")) != FALSE;
        inProgressDuringRun = deliveryInProgress();
        click("按钮1");        // refused: one run at a time
        type("编辑框2", "c");  // the form still recomposes meanwhile
        outputAfterEdit = output();
    };
    click("按钮1");
    EXPECT_EQ(platform.lookups, 1) << "a second run started inside the first";
    EXPECT_FALSE(buttonEnabledDuringRun);
    EXPECT_TRUE(inProgressDuringRun);
    EXPECT_EQ(outputAfterEdit.substr(0, 21), "/rpgitem abc remove\r\n");
    EXPECT_EQ(platform.chars, lines) << "the run types the text it read at the click";
    EXPECT_TRUE(IsWindowEnabled(control("按钮1")));
    EXPECT_FALSE(deliveryInProgress());

    click("按钮1");  // the next run is a run of its own, of the text as it is now
    EXPECT_EQ(platform.lookups, 2);
    EXPECT_EQ(platform.chars, lines + "/rpgitem abc remove/rpgitem abc create/rpgitem abc give");
}

// The real button and the real platform, aimed at a window of our own: a
// line the chat would cut stops the run before the game is touched.
TEST_F(DeliverButtonTest, ALineOverTheChatLimitGetsItsMessageAndNothingIsTyped) {
    TestWindow game(TestWindow::Ansi, "Minecraft", true);
    OwnWindowPlatform platform(game.id());
    useGamePlatformForTesting(&platform);
    std::string hundred = "/rpgitem a lore ";  // 16 units, then 84 Chinese characters
    for (int i = 0; i < 84; ++i) hundred += "中";
    const std::string first = "/rpgitem a remove";
    setText("编辑框1", first + "\r\n" + hundred + "\r\n" + hundred + "中\r\n" + hundred + "中中\r\n");

    MessageBoxSeen seen;
    ModalWatch watch(L"#32770", [&seen](HWND box) { seen = readAndConfirm(box); });
    click("按钮1");
    ASSERT_TRUE(watch.finish()) << "no message box appeared";
    EXPECT_EQ(seen.caption, "信息：");
    EXPECT_TRUE(seen.hasIcon);
    ASSERT_EQ(seen.texts.size(), 1u);
    EXPECT_EQ(seen.texts[0], bridge::overlongLineMessage({3, 101}));
    EXPECT_NE(seen.texts[0].find("第3条指令长101个字符"), std::string::npos);
    pumpMessages(50);
    EXPECT_TRUE(game.seen().chars.empty()) << "characters reached the game";
    EXPECT_TRUE(game.seen().titles.empty()) << "the game's title was changed";
    EXPECT_TRUE(platform.keys.empty()) << "a key was pressed";
    EXPECT_TRUE(IsWindowEnabled(control("按钮1")));

    // Exactly 100 units go through, as their GBK bytes.
    setText("编辑框1", first + "\r\n" + hundred + "\r\n");
    click("按钮1");
    pumpMessages(50);
    std::vector<std::pair<WPARAM, LPARAM>> expected;
    for (const std::string& line : {first, hundred}) {
        for (char byte : bridge::toCodePage936(line)) expected.emplace_back(static_cast<unsigned char>(byte), 0);
    }
    EXPECT_TRUE(game.seen().chars == expected) << game.seen().chars.size() << " characters arrived";
    EXPECT_EQ(platform.keys, (std::vector<unsigned>{27, 13, 13, 13, 13}));
}

}  // namespace
