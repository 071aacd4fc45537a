#include "bridge/delivery.h"

#include <vector>

#include "editor/text.h"
#include "editor/unicode.h"

namespace bridge {
namespace {

enum class Step { Done, NotForeground, WindowClosed, NotAccepting, Quit };

StopReason reasonOf(Step step) {
    switch (step) {
    case Step::NotForeground:
        return StopReason::NotForeground;
    case Step::NotAccepting:
        return StopReason::NotAccepting;
    default:
        return StopReason::WindowClosed;
    }
}

class Run {
public:
    Run(GamePlatform& platform, WindowId window) : p_(platform), window_(window) {}

    // Activation, the foreground guard, the key, the pause.
    Step pressKey(unsigned virtualKey) {
        if (!p_.isWindow(window_)) return Step::WindowClosed;
        p_.activate(window_);
        for (int attempt = 1;; ++attempt) {
            p_.forceForeground(window_);
            if (p_.isForeground(window_)) break;
            if (!p_.isWindow(window_)) return Step::WindowClosed;
            if (attempt == kForegroundAttempts) return Step::NotForeground;
            if (const Step step = pause(kForegroundRetryMs); step != Step::Done) return step;
        }
        p_.synthesiseKey(virtualKey);
        return pause(kKeyPauseMs);
    }

    // One character message per byte, lead byte first, lParam 0.
    Step postLine(std::string_view line) {
        const std::string bytes = p_.encodeLine(line);
        for (const char byte : bytes) {
            const auto wParam = static_cast<std::uintptr_t>(static_cast<unsigned char>(byte));
            if (const Step step = postChar(wParam); step != Step::Done) return step;
        }
        return Step::Done;
    }

    // A wait, after which the window must still be there.
    Step pause(int milliseconds) {
        if (!p_.wait(milliseconds)) return Step::Quit;
        return p_.isWindow(window_) ? Step::Done : Step::WindowClosed;
    }

    // Ends a run that did not complete.
    RunResult stop(Step step, std::size_t lineReached) {
        if (p_.isWindow(window_)) p_.setTitle(window_, kFinalTitle);
        if (step == Step::Quit) return RunResult::Quit;
        p_.showMessage(stoppedMessage(reasonOf(step), lineReached));
        return RunResult::Stopped;
    }

private:
    Step postChar(std::uintptr_t wParam) {
        for (int attempt = 1;; ++attempt) {
            if (p_.postChar(window_, wParam, 0)) return Step::Done;
            if (!p_.isWindow(window_)) return Step::WindowClosed;
            if (attempt == kPostAttempts) return Step::NotAccepting;
            if (const Step step = pause(kPostRetryMs); step != Step::Done) return step;
        }
    }

    GamePlatform& p_;
    WindowId window_;
};

}  // namespace

std::string progressTitle(std::size_t line) { return "『Qelvo』正在输入第" + std::to_string(line) + "条指令..."; }

std::string stoppedMessage(StopReason reason, std::size_t lineReached) {
    std::string message = "『Qelvo』";
    switch (reason) {
    case StopReason::NotForeground:
        message += "无法把游戏窗口切换到前台";
        break;
    case StopReason::WindowClosed:
        message += "游戏窗口已关闭";
        break;
    case StopReason::NotAccepting:
        message += "游戏窗口不接收字符";
        break;
    }
    if (lineReached == 0) return message + "，未输入任何指令！";
    return message + "，输入停在第" + std::to_string(lineReached) + "条指令！";
}

RunResult deliverCommands(GamePlatform& platform, std::string_view outputText) {
    const std::vector<std::string> lines = editor::splitLines(outputText);
    const GameLookup game = platform.findGame();
    if (game.status == GameStatus::NoProcess) {
        platform.showMessage(kNoClientMessage);
        return RunResult::NoClient;
    }
    if (game.status == GameStatus::NoVisibleWindow || game.window == 0) {
        platform.showMessage(kNoWindowMessage);
        return RunResult::NoWindow;
    }
    const WindowId window = game.window;
    if (platform.isMinimised(window)) {
        platform.showMessage(kMinimisedMessage);
        return RunResult::Minimised;
    }

    Run run(platform, window);
    platform.setTitle(window, kAcquiredTitle);
    if (const Step step = run.pressKey(kEscapeKey); step != Step::Done) return run.stop(step, 0);
    const std::size_t count = lines.size();
    for (std::size_t n = 1; n <= count; ++n) {
        platform.setTitle(window, progressTitle(n));
        Step step = run.pressKey(kEnterKey);
        if (step == Step::Done) {
            platform.activate(window);
            platform.forceForeground(window);
            step = run.postLine(lines[n - 1]);
        }
        if (step == Step::Done) step = run.pause(kLinePauseMs);
        if (step == Step::Done) step = run.pressKey(kEnterKey);
        if (step != Step::Done) return run.stop(step, n);
    }
    platform.setTitle(window, kFinishedTitle);
    const bool quitting = !platform.wait(kFinalPauseMs);
    platform.setTitle(window, kFinalTitle);
    return quitting ? RunResult::Quit : RunResult::Completed;
}

std::size_t chatLength(std::string_view utf8) { return editor::toUtf16(utf8).size(); }

std::optional<OverlongLine> firstOverlongLine(const std::vector<std::string>& lines) {
    for (std::size_t n = 1; n <= lines.size(); ++n) {
        if (const std::size_t length = chatLength(lines[n - 1]); length > kChatLimit) return OverlongLine{n, length};
    }
    return std::nullopt;
}

std::string overlongLineMessage(const OverlongLine& line) {
    return "『Qelvo』第" + std::to_string(line.number) + "条指令长" + std::to_string(line.length) +
           "个字符，超过游戏聊天栏的上限" + std::to_string(kChatLimit) +
           "个字符，游戏会把它截断！未输入任何指令，请用主菜单的「发送到服务器」(F5)把指令直接发送到服务器。";
}

std::optional<RunResult> DeliveryGate::deliver(GamePlatform& platform, std::string_view outputText,
                                               const std::function<void(bool busy)>& busyChanged) {
    if (busy_) return std::nullopt;
    struct Busy {
        bool& flag;
        const std::function<void(bool)>& changed;
        Busy(bool& f, const std::function<void(bool)>& c) : flag(f), changed(c) {
            flag = true;
            if (changed) changed(true);
        }
        ~Busy() {
            flag = false;
            if (changed) changed(false);
        }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    } busy(busy_, busyChanged);
    if (const auto overlong = firstOverlongLine(editor::splitLines(outputText))) {
        platform.showMessage(overlongLineMessage(*overlong));
        return RunResult::TooLong;
    }
    return deliverCommands(platform, outputText);
}

}  // namespace bridge
