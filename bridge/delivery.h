// The delivery run: types the output box's command lines into the running
// game client, as logic over a small platform interface (the Win32 one is
// bridge/win32_game_platform.h; tests use a recording fake).
//
// The run: find the game; refuse a missing, window-less or minimised client
// with a message; title "已获取游戏客户端"; Esc; per line: progress title,
// Enter, the line's bytes as character messages, 300 ms, Enter; title
// "输入完毕"; 5000 ms; title "Minecraft". Every key press waits 300 ms after.
//
// Guards: before every key press the game window must still exist and be the
// foreground window (activation is retried briefly); otherwise the run stops
// at once, types nothing more, puts the title back to "Minecraft" and tells
// the user which line it reached. When the program is quitting during a
// wait, the run stops silently.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/lookup.h"

namespace bridge {

enum class GameStatus {
    Found,            // the window of the first javaw.exe process
    NoProcess,        // no javaw.exe process (or no process snapshot)
    NoVisibleWindow,  // the process runs but shows no top-level window
};

struct GameLookup {
    GameStatus status = GameStatus::NoProcess;
    WindowId window = 0;
};

// What the run needs from the system. Every wait processes the program's
// pending messages, so the program stays responsive meanwhile.
class GamePlatform {
public:
    virtual ~GamePlatform() = default;

    virtual GameLookup findGame() = 0;
    virtual bool isWindow(WindowId window) = 0;
    virtual bool isMinimised(WindowId window) = 0;
    virtual void setTitle(WindowId window, std::string_view utf8) = 0;
    // Makes the window the active one of its input queue (SetActiveWindow).
    virtual void activate(WindowId window) = 0;
    // Shares the window thread's input state, activates the window, and asks
    // for it to become the foreground window.
    virtual void forceForeground(WindowId window) = 0;
    virtual bool isForeground(WindowId window) = 0;
    // A key press and release, synthesised for whichever window has the
    // keyboard focus.
    virtual void synthesiseKey(unsigned virtualKey) = 0;
    // The line as the game receives it: code page 936 bytes; a character
    // that code page cannot represent becomes one "?".
    virtual std::string encodeLine(std::string_view utf8) = 0;
    // Posts one character message; false when it could not be posted.
    virtual bool postChar(WindowId window, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Waits, processing pending messages; false once the program is quitting.
    virtual bool wait(int milliseconds) = 0;
    virtual void showMessage(std::string_view utf8) = 0;
};

inline constexpr unsigned kEscapeKey = 27;
inline constexpr unsigned kEnterKey = 13;
inline constexpr int kKeyPauseMs = 300;     // after every key press
inline constexpr int kLinePauseMs = 300;    // between a line's characters and its Enter
inline constexpr int kFinalPauseMs = 5000;  // before the title becomes "Minecraft"
inline constexpr int kForegroundAttempts = 3;
inline constexpr int kForegroundRetryMs = 20;
// A post refused while the window lives (its queue is full) is retried.
inline constexpr int kPostAttempts = 100;
inline constexpr int kPostRetryMs = 10;

inline constexpr std::string_view kNoClientMessage = "『Qelvo』获取游戏客户端失败！检查客户端是否打开";
inline constexpr std::string_view kNoWindowMessage = "『Qelvo』获取游戏窗口失败！检查客户端窗口是否显示";
inline constexpr std::string_view kMinimisedMessage = "『Qelvo』游戏最小化无法输入指令！";
inline constexpr std::string_view kAcquiredTitle = "『Qelvo』已获取游戏客户端";
inline constexpr std::string_view kFinishedTitle = "『Qelvo』输入完毕，请查看武器！~";
inline constexpr std::string_view kFinalTitle = "Minecraft";

// "『Qelvo』正在输入第" + n + "条指令..."
std::string progressTitle(std::size_t line);

enum class StopReason {
    NotForeground,  // the game window could not be made the foreground window
    WindowClosed,   // the game window no longer exists
    NotAccepting,   // the game window refuses character messages
};

// The message of a stopped run: the reason and the line reached (0: before
// the first line).
std::string stoppedMessage(StopReason reason, std::size_t lineReached);

enum class RunResult {
    NoClient,
    NoWindow,
    Minimised,
    Completed,
    TooLong,  // a line would be cut by the game's chat field; nothing was typed
    Stopped,  // a guard stopped the run; the user was told
    Quit,     // the program is quitting; the run stopped silently
};

// One delivery run of `outputText` (the output box's text, split at CR LF).
RunResult deliverCommands(GamePlatform& platform, std::string_view outputText);

// The game's chat field takes at most this many characters, counted as the
// client counts them: UTF-16 code units. It cuts a longer line silently.
inline constexpr std::size_t kChatLimit = 100;

// A line's length as the game's chat field counts it.
std::size_t chatLength(std::string_view utf8);

struct OverlongLine {
    std::size_t number = 0;  // from 1
    std::size_t length = 0;  // in UTF-16 code units
};

// The first line longer than the chat limit, if any.
std::optional<OverlongLine> firstOverlongLine(const std::vector<std::string>& lines);

// Names the line and its length and points to delivery to the server.
std::string overlongLineMessage(const OverlongLine& line);

// One run at a time. A run waits with the program's messages flowing, so a
// second click can arrive inside one of its waits; two runs would interleave
// their keys and characters in the game's chat, so the gate refuses it.
class DeliveryGate {
public:
    // Runs deliverCommands unless a run is in progress (then nothing happens
    // and the result is empty). A text with a line over the chat limit is
    // refused with a message before anything reaches the game. `busyChanged` hears true before the run and
    // false after it, however it ends.
    std::optional<RunResult> deliver(GamePlatform& platform, std::string_view outputText,
                                     const std::function<void(bool busy)>& busyChanged = {});
    bool busy() const { return busy_; }

private:
    bool busy_ = false;
};

}  // namespace bridge
