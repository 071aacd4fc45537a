// The delivery run's order of actions, over a platform that records them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bridge/delivery.h"

namespace {

using bridge::GameStatus;
using bridge::RunResult;
using bridge::StopReason;
using Actions = std::vector<std::string>;

constexpr bridge::WindowId kGame = 0x1234;

// Records every action as a line of text. Queries (isWindow, isForeground,
// isMinimised) are answered from its state and not recorded.
class RecordingPlatform : public bridge::GamePlatform {
public:
    GameStatus status = GameStatus::Found;
    bool minimised = false;
    bool alive = true;
    int foregroundRefusals = 0;  // isForeground answers false this many times
    bool foregroundRefusedForever = false;
    int postRefusals = 0;                // postChar fails this many times (queue full)
    int closeAfterChars = -1;            // the window goes once this many characters arrived
    std::function<bool(int ms)> onWait;  // runs inside each wait; false: quitting
    Actions actions;
    int charsPosted = 0;

    bridge::GameLookup findGame() override {
        actions.push_back("find");
        return {status, status == GameStatus::Found ? kGame : 0};
    }
    bool isWindow(bridge::WindowId window) override { return window == kGame && alive; }
    bool isMinimised(bridge::WindowId) override { return minimised; }
    void setTitle(bridge::WindowId window, std::string_view utf8) override {
        actions.push_back(at(window) + "title " + std::string(utf8));
    }
    void activate(bridge::WindowId window) override { actions.push_back(at(window) + "activate"); }
    void forceForeground(bridge::WindowId window) override { actions.push_back(at(window) + "foreground"); }
    bool isForeground(bridge::WindowId window) override {
        if (!isWindow(window) || foregroundRefusedForever) return false;
        if (foregroundRefusals > 0) return --foregroundRefusals, false;
        return true;
    }
    void synthesiseKey(unsigned virtualKey) override { actions.push_back("key " + std::to_string(virtualKey)); }
    // ASCII as it is, 中 as D6 D0, "\xFF" kept (to see bytes above 127),
    // anything else as "?".
    std::string encodeLine(std::string_view utf8) override {
        std::string bytes;
        for (std::size_t i = 0; i < utf8.size();) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (utf8.substr(i, 3) == "中") {
                bytes += "\xD6\xD0";
                i += 3;
            } else if (c < 0x80 || c == 0xFF) {
                bytes += static_cast<char>(c);
                ++i;
            } else {
                bytes += '?';
                for (++i; i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;) ++i;
            }
        }
        return bytes;
    }
    bool postChar(bridge::WindowId window, std::uintptr_t wParam, std::intptr_t lParam) override {
        if (!isWindow(window)) return false;
        if (postRefusals > 0) {
            --postRefusals;
            actions.push_back("refused");
            return false;
        }
        actions.push_back("char " + std::to_string(wParam) + " " + std::to_string(lParam));
        if (++charsPosted == closeAfterChars) alive = false;
        return true;
    }
    bool wait(int milliseconds) override {
        actions.push_back("wait " + std::to_string(milliseconds));
        return onWait ? onWait(milliseconds) : true;
    }
    void showMessage(std::string_view utf8) override { actions.push_back("message " + std::string(utf8)); }

private:
    // Actions aimed at another window than the game's are marked.
    static std::string at(bridge::WindowId window) { return window == kGame ? "" : "OTHER "; }
};

std::string title(std::string_view text) { return "title " + std::string(text); }

std::string message(std::string_view text) { return "message " + std::string(text); }

void append(Actions& to, const Actions& more) { to.insert(to.end(), more.begin(), more.end()); }

Actions keyPress(unsigned key) { return {"activate", "foreground", "key " + std::to_string(key), "wait 300"}; }

Actions charsOf(std::string_view bytes) {
    Actions chars;
    for (char byte : bytes) chars.push_back("char " + std::to_string(static_cast<unsigned char>(byte)) + " 0");
    return chars;
}

// The complete run of lines already given as the bytes the game receives.
Actions completeRun(const std::vector<std::string>& lines) {
    Actions run{"find", title(bridge::kAcquiredTitle)};
    append(run, keyPress(27));
    for (std::size_t n = 1; n <= lines.size(); ++n) {
        run.push_back(title(bridge::progressTitle(n)));
        append(run, keyPress(13));
        append(run, {"activate", "foreground"});
        append(run, charsOf(lines[n - 1]));
        run.push_back("wait 300");
        append(run, keyPress(13));
    }
    append(run, {title(bridge::kFinishedTitle), "wait 5000", title(bridge::kFinalTitle)});
    return run;
}

// Only the actions that start with one of `kinds`.
Actions only(const Actions& actions, std::vector<std::string> kinds) {
    Actions kept;
    for (const std::string& action : actions) {
        for (const std::string& kind : kinds) {
            if (action.rfind(kind + " ", 0) == 0) {
                kept.push_back(action);
                break;
            }
        }
    }
    return kept;
}

// Index of the first action equal to `wanted`, or the size.
std::size_t indexOf(const Actions& actions, const std::string& wanted) {
    std::size_t i = 0;
    while (i < actions.size() && actions[i] != wanted) ++i;
    return i;
}

TEST(DeliveryRun, EmptyOutputSetsThreeTitlesPressesEscOnceAndWaitsFiveSeconds) {
    RecordingPlatform platform;
    EXPECT_EQ(bridge::deliverCommands(platform, ""), RunResult::Completed);
    EXPECT_EQ(platform.actions,
              (Actions{"find", title("『Qelvo』已获取游戏客户端"), "activate", "foreground", "key 27", "wait 300",
                       title("『Qelvo』输入完毕，请查看武器！~"), "wait 5000", title("Minecraft")}));
}

TEST(DeliveryRun, SplitsTheOutputAtCrLfAndTypesEveryLineInOrder) {
    struct Case {
        const char* output;
        std::vector<std::string> typed;
    };
    const Case cases[] = {
        {"first\r\n\r\nsecond\r\n", {"first", "", "second"}},  // an empty line: Enter, Enter
        {"a\r\nb", {"a", "b"}},                                // no final break
        {"\r\n", {""}},
        {"x\r\n\r\n", {"x", ""}},
        {"lone\nfeed\rcarriage", {"lone\nfeed\rcarriage"}},  // only CR LF breaks a line
        {"/rpgitem 中 give\r\n", {"/rpgitem \xD6\xD0 give"}},
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        EXPECT_EQ(bridge::deliverCommands(platform, c.output), RunResult::Completed) << c.output;
        EXPECT_EQ(platform.actions, completeRun(c.typed)) << c.output;
    }
}

TEST(DeliveryRun, AnEmptyLineIsTwoEntersWithNothingBetween) {
    RecordingPlatform platform;
    bridge::deliverCommands(platform, "a\r\n\r\nb\r\n");
    EXPECT_EQ(only(platform.actions, {"title", "key", "char"}),
              (Actions{title(bridge::kAcquiredTitle), "key 27", title("『Qelvo』正在输入第1条指令..."), "key 13",
                       "char 97 0", "key 13", title("『Qelvo』正在输入第2条指令..."), "key 13", "key 13",
                       title("『Qelvo』正在输入第3条指令..."), "key 13", "char 98 0", "key 13",
                       title(bridge::kFinishedTitle), title(bridge::kFinalTitle)}));
}

TEST(DeliveryRun, PostsOneCharacterMessagePerByteWithLParamZero) {
    struct Case {
        const char* line;
        Actions chars;
    };
    const Case cases[] = {
        {"中", {"char 214 0", "char 208 0"}},  // lead byte first
        {"abcdefghijklmno", charsOf("abcdefghijklmno")},
        {"\xFF", {"char 255 0"}},                          // bytes above 127 are not sign-extended
        {"a😀b", {"char 97 0", "char 63 0", "char 98 0"}},  // unrepresentable: one "?"
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        bridge::deliverCommands(platform, c.line);
        EXPECT_EQ(only(platform.actions, {"char"}), c.chars) << c.line;
    }
    RecordingPlatform fifteen;
    bridge::deliverCommands(fifteen, "/rpgitem a give");
    EXPECT_EQ(only(fifteen.actions, {"char"}).size(), 15u);
}

TEST(DeliveryRun, AHundredThousandCharacterLineArrivesWhole) {
    std::string line;
    for (int i = 0; i < 100000; ++i) line += static_cast<char>('a' + i % 26);
    RecordingPlatform platform;
    EXPECT_EQ(bridge::deliverCommands(platform, line + "\r\n"), RunResult::Completed);
    EXPECT_EQ(only(platform.actions, {"char"}), charsOf(line));
}

TEST(DeliveryRun, TheWaitsAddUpToTheRunsPlannedLength) {
    RecordingPlatform platform;
    bridge::deliverCommands(platform, "a\r\nb\r\nc\r\n");
    int total = 0;
    for (const std::string& wait : only(platform.actions, {"wait"})) total += std::stoi(wait.substr(5));
    EXPECT_EQ(total, 300 + 3 * 900 + 5000);
}

TEST(DeliveryRun, ProgressTitlesCountFromOneWithoutLeadingZeros) {
    EXPECT_EQ(bridge::progressTitle(1), "『Qelvo』正在输入第1条指令...");
    EXPECT_EQ(bridge::progressTitle(10), "『Qelvo』正在输入第10条指令...");
    EXPECT_EQ(bridge::progressTitle(123), "『Qelvo』正在输入第123条指令...");
}

TEST(DeliveryRun, AClientThatCannotBeTypedIntoGetsOnlyItsMessage) {
    struct Case {
        GameStatus status;
        bool minimised;
        RunResult result;
        std::string_view text;
    };
    const Case cases[] = {
        {GameStatus::NoProcess, false, RunResult::NoClient, "『Qelvo』获取游戏客户端失败！检查客户端是否打开"},
        {GameStatus::NoVisibleWindow, false, RunResult::NoWindow, bridge::kNoWindowMessage},
        {GameStatus::Found, true, RunResult::Minimised, "『Qelvo』游戏最小化无法输入指令！"},
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        platform.status = c.status;
        platform.minimised = c.minimised;
        EXPECT_EQ(bridge::deliverCommands(platform, "/rpgitem a remove\r\n/rpgitem a give\r\n"), c.result);
        EXPECT_EQ(platform.actions, (Actions{"find", message(c.text)})) << c.text;
    }
    EXPECT_EQ(bridge::kNoWindowMessage.substr(0, bridge::kNoClientMessage.find("获")),
              bridge::kNoClientMessage.substr(0, bridge::kNoClientMessage.find("获")))
        << "the window-less client is reported in the same style";
}

// The game window goes away at the given wait (counted from 1): nothing
// after that but the message, and never a key.
TEST(DeliveryRun, StopsAtOnceWhenTheGameWindowCloses) {
    struct Case {
        int closingWait;  // 1: Esc's pause; 2, 3, 4: line 1's Enter, line pause, Enter; …
        std::size_t lineReached;
    };
    const Case cases[] = {
        {1, 0},   // Esc's pause, before the first line
        {3, 1},   // line 1's pause, while its characters are being read
        {4, 1},   // the pause after line 1's second Enter
        {5, 2},   // the pause after line 2's first Enter
        {10, 3},  // the pause after the last Enter
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        int waits = 0;
        platform.onWait = [&](int) {
            if (++waits == c.closingWait) platform.alive = false;
            return true;
        };
        EXPECT_EQ(bridge::deliverCommands(platform, "a\r\nb\r\nc\r\n"), RunResult::Stopped) << c.closingWait;
        const Actions& actions = platform.actions;
        ASSERT_FALSE(actions.empty());
        EXPECT_EQ(actions.back(), message(bridge::stoppedMessage(StopReason::WindowClosed, c.lineReached)))
            << c.closingWait;
        // The closing wait is the last action before the message.
        std::size_t closingAt = 0;
        for (int seen = 0; closingAt < actions.size(); ++closingAt) {
            if (actions[closingAt].rfind("wait ", 0) == 0 && ++seen == c.closingWait) break;
        }
        EXPECT_EQ(closingAt + 2, actions.size()) << c.closingWait << ": something happened after the close";
    }
}

TEST(DeliveryRun, AWindowClosingWhileItsLineIsPostedStopsThePosting) {
    RecordingPlatform platform;
    platform.closeAfterChars = 3;
    EXPECT_EQ(bridge::deliverCommands(platform, "abcdef\r\nnext\r\n"), RunResult::Stopped);
    EXPECT_EQ(only(platform.actions, {"char"}), charsOf("abc"));
    EXPECT_EQ(only(platform.actions, {"key"}), (Actions{"key 27", "key 13"}));
    EXPECT_EQ(platform.actions.back(), message(bridge::stoppedMessage(StopReason::WindowClosed, 1)));
}

TEST(DeliveryRun, StopsWhenTheGameCannotBeBroughtToTheForeground) {
    // The foreground is lost for good after the given number of key presses.
    struct Case {
        int keysAllowed;
        std::size_t lineReached;
        Actions keys;
    };
    const Case cases[] = {
        {0, 0, {}},
        {2, 1, {"key 27", "key 13"}},            // before line 1's second Enter
        {3, 2, {"key 27", "key 13", "key 13"}},  // before line 2's first Enter
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        int keys = 0;
        platform.foregroundRefusedForever = c.keysAllowed == 0;
        platform.onWait = [&](int ms) {
            if (ms == 300 && platform.actions[platform.actions.size() - 2].rfind("key ", 0) == 0 &&
                ++keys == c.keysAllowed) {
                platform.foregroundRefusedForever = true;
            }
            return true;
        };
        EXPECT_EQ(bridge::deliverCommands(platform, "a\r\nb\r\n"), RunResult::Stopped) << c.keysAllowed;
        EXPECT_EQ(only(platform.actions, {"key"}), c.keys) << c.keysAllowed;
        const Actions& actions = platform.actions;
        EXPECT_EQ(actions.back(), message(bridge::stoppedMessage(StopReason::NotForeground, c.lineReached)));
        EXPECT_EQ(actions[actions.size() - 2], title(bridge::kFinalTitle)) << "the title is put back";
        EXPECT_EQ(indexOf(actions, title(bridge::kFinishedTitle)), actions.size()) << "never reports success";
        // Each key press gave the foreground three tries, 20 ms apart.
        const Actions tail(actions.end() - 8, actions.end() - 2);
        EXPECT_EQ(tail, (Actions{"activate", "foreground", "wait 20", "foreground", "wait 20", "foreground"}));
    }
    EXPECT_EQ(bridge::stoppedMessage(StopReason::NotForeground, 2),
              "『Qelvo』无法把游戏窗口切换到前台，输入停在第2条指令！");
    EXPECT_EQ(bridge::stoppedMessage(StopReason::NotForeground, 0),
              "『Qelvo』无法把游戏窗口切换到前台，未输入任何指令！");
}

TEST(DeliveryRun, AForegroundWonOnASecondTryCarriesOn) {
    RecordingPlatform platform;
    platform.foregroundRefusals = 1;
    EXPECT_EQ(bridge::deliverCommands(platform, "a\r\n"), RunResult::Completed);
    Actions expected = completeRun({"a"});
    expected.insert(expected.begin() + 4, {"wait 20", "foreground"});
    EXPECT_EQ(platform.actions, expected);
}

TEST(DeliveryRun, ARefusedPostIsRetriedAndAWindowThatNeverAcceptsStopsTheRun) {
    RecordingPlatform retried;
    retried.postRefusals = 2;
    EXPECT_EQ(bridge::deliverCommands(retried, "xy\r\n"), RunResult::Completed);
    EXPECT_EQ(only(retried.actions, {"char"}), charsOf("xy"));

    RecordingPlatform refusing;
    refusing.postRefusals = 1000000;
    EXPECT_EQ(bridge::deliverCommands(refusing, "xy\r\nz\r\n"), RunResult::Stopped);
    EXPECT_EQ(only(refusing.actions, {"char"}), Actions{});
    EXPECT_EQ(only(refusing.actions, {"key"}), (Actions{"key 27", "key 13"}));
    EXPECT_EQ(std::count(refusing.actions.begin(), refusing.actions.end(), "refused"), bridge::kPostAttempts);
    EXPECT_EQ(refusing.actions.back(), message(bridge::stoppedMessage(StopReason::NotAccepting, 1)));
}

TEST(DeliveryRun, QuittingDuringAWaitEndsTheRunSilently) {
    for (int quittingWait : {1, 3, 5}) {
        RecordingPlatform platform;
        int waits = 0;
        platform.onWait = [&](int) { return ++waits != quittingWait; };
        EXPECT_EQ(bridge::deliverCommands(platform, "a\r\nb\r\n"), RunResult::Quit);
        const Actions& actions = platform.actions;
        EXPECT_EQ(actions.back(), title(bridge::kFinalTitle)) << quittingWait;
        EXPECT_EQ(actions[actions.size() - 2].rfind("wait ", 0), 0u) << quittingWait;
        EXPECT_EQ(only(actions, {"message"}), Actions{}) << quittingWait;
    }
    RecordingPlatform finalWait;
    finalWait.onWait = [](int ms) { return ms != bridge::kFinalPauseMs; };
    EXPECT_EQ(bridge::deliverCommands(finalWait, "a\r\n"), RunResult::Quit);
    EXPECT_EQ(finalWait.actions, completeRun({"a"}));
}

TEST(DeliveryRun, TheLinesAreSplitOnceBeforeTheRun) {
    std::string output = "a\r\nb\r\n";
    RecordingPlatform platform;
    platform.onWait = [&](int) {
        output.replace(0, output.size(), "xy\r\nzz");  // the text changes under the run
        return true;
    };
    bridge::deliverCommands(platform, std::string_view(output));
    EXPECT_EQ(only(platform.actions, {"char"}), charsOf("ab"));
}

TEST(DeliveryGate, RefusesARunAskedForInsideAnotherOnesWait) {
    bridge::DeliveryGate gate;
    RecordingPlatform platform;
    std::vector<bool> busyChanges;
    std::optional<RunResult> nested = RunResult::Completed;
    bool busyInside = false;
    int waits = 0;
    platform.onWait = [&](int) {
        if (++waits == 1) {  // a second click, dispatched inside the first wait
            busyInside = gate.busy();
            nested = gate.deliver(platform, "other\r\n");
        }
        return true;
    };
    const auto first = gate.deliver(platform, "a\r\n", [&](bool busy) { busyChanges.push_back(busy); });
    EXPECT_EQ(first, RunResult::Completed);
    EXPECT_EQ(nested, std::nullopt);
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(gate.busy());
    EXPECT_EQ(busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(platform.actions, completeRun({"a"})) << "the refused run left a trace";

    // Once the run is over, the next one goes ahead, even after a run that
    // ended in a message.
    RecordingPlatform missing;
    missing.status = GameStatus::NoProcess;
    EXPECT_EQ(gate.deliver(missing, "a\r\n"), RunResult::NoClient);
    EXPECT_EQ(gate.deliver(platform, ""), RunResult::Completed);
}

TEST(ChatLimit, CountsALineAsTheGameDoesInUtf16CodeUnits) {
    struct Case {
        std::string line;
        std::size_t length;
    };
    const Case cases[] = {
        {"", 0},     {"/rpgitem a give", 15}, {"中文", 2},  // three UTF-8 bytes each, one unit each
        {"a😀b", 4},                                         // beyond the Basic Multilingual Plane: a surrogate pair
        {"§a色", 3}, {"x\xFFy", 3},                         // a malformed byte counts as one character
    };
    for (const Case& c : cases) EXPECT_EQ(bridge::chatLength(c.line), c.length) << c.line;
}

TEST(ChatLimit, NamesTheFirstLineOverAHundredUnits) {
    const std::string hundred(100, 'a');
    std::string hundredChinese;
    for (int i = 0; i < 100; ++i) hundredChinese += "中";
    std::string fiftyEmoji;
    for (int i = 0; i < 50; ++i) fiftyEmoji += "😀";
    struct Case {
        std::vector<std::string> lines;
        std::optional<std::size_t> number;
        std::size_t length;
    };
    const Case cases[] = {
        {{}, std::nullopt, 0},
        {{hundred, hundredChinese, fiftyEmoji, ""}, std::nullopt, 0},  // exactly 100 passes
        {{hundred + "b"}, 1, 101},
        {{"a", "", hundredChinese + "中", hundred + "bb"}, 3, 101},  // the first of two
        {{"x", fiftyEmoji + "a"}, 2, 101},
    };
    for (const Case& c : cases) {
        const auto found = bridge::firstOverlongLine(c.lines);
        ASSERT_EQ(found.has_value(), c.number.has_value()) << c.lines.size();
        if (!found) continue;
        EXPECT_EQ(found->number, *c.number);
        EXPECT_EQ(found->length, c.length);
    }
    EXPECT_EQ(bridge::overlongLineMessage({3, 101}),
              "『Qelvo』第3条指令长101个字符，超过游戏聊天栏的上限100个字符，游戏会把它截断！未输入任何指令，"
              "请用主菜单的「发送到服务器」(F5)把指令直接发送到服务器。");
}

TEST(ChatLimit, TheGateRefusesALongLineBeforeAnythingReachesTheGame) {
    const std::string hundred(100, 'a');
    bridge::DeliveryGate gate;
    RecordingPlatform refused;
    std::vector<bool> busyChanges;
    const std::string output = "/rpgitem a remove\r\n" + hundred + "c\r\n" + hundred + "cc\r\n";
    EXPECT_EQ(gate.deliver(refused, output, [&](bool busy) { busyChanges.push_back(busy); }), RunResult::TooLong);
    EXPECT_EQ(refused.actions, (Actions{message(bridge::overlongLineMessage({2, 101}))}))
        << "the game was looked up or typed into";
    EXPECT_EQ(busyChanges, (std::vector<bool>{true, false}));
    EXPECT_FALSE(gate.busy());

    RecordingPlatform typed;
    EXPECT_EQ(gate.deliver(typed, "/rpgitem a remove\r\n" + hundred + "\r\n"), RunResult::Completed);
    EXPECT_EQ(typed.actions, completeRun({"/rpgitem a remove", hundred}));
}

}  // namespace
