#include "ui/server_delivery.h"

#include <commctrl.h>

#include <atomic>

#include "bridge/rcon_report.h"
#include "bridge/rcon_runner.h"
#include "bridge/win32_rcon_platform.h"
#include "bridge/win32_rcon_transport.h"
#include "editor/control_names.h"
#include "ui/editor_window.h"
#include "ui/form_controls.h"
#include "ui/information_box.h"
#include "ui/run_result_view.h"
#include "ui/tool_window.h"
#include "ui/win_text.h"

namespace ui {

namespace {

// Posted by the run's threads to the progress window: something changed.
constexpr UINT kRunChangedMessage = WM_APP + 0x31;
constexpr int kProgressSteps = 1000;

struct ActiveRun {
    HWND owner = nullptr;
    HWND progress = nullptr;
    std::vector<std::string> problems;  // text of the servers file that belongs to no server
    // Set when a change is posted, cleared when it is read: at most one
    // message waits in the queue however fast the servers answer.
    std::atomic<bool> changePosted{false};
    std::unique_ptr<bridge::ConcurrentRconRun> run;
};

std::unique_ptr<ActiveRun> active;
HWND lastResult = nullptr;
std::function<std::unique_ptr<bridge::RconTransport>()> transportsForTesting;

void cancelRun() {
    if (!active || !active->run || active->run->cancelled()) return;
    active->run->cancel();
    HWND button = GetDlgItem(active->progress, IDCANCEL);
    setWindowText(button, "正在取消…");
    EnableWindow(button, FALSE);
}

void showProgress() {
    const auto states = active->run->states();
    const std::size_t lineCount = active->run->lines().size();
    setWindowText(GetDlgItem(active->progress, kSendProgressTextId), bridge::runProgressText(states, lineCount));
    const bridge::RunProgress progress = bridge::runProgress(states, lineCount);
    const auto position =
        progress.lines ? static_cast<int>(progress.linesSent * kProgressSteps / progress.lines) : kProgressSteps;
    SendMessageW(GetDlgItem(active->progress, kSendProgressBarId), PBM_SETPOS, position, 0);
}

std::string reportOf(const ActiveRun& run) {
    std::string report;
    if (!run.problems.empty()) {
        report += "服务器列表文件中有无法读取的内容：\r\n";
        for (const std::string& problem : run.problems) report += "    " + problem + "\r\n";
        report += "\r\n";
    }
    return report + bridge::runReport(run.run->servers(), run.run->lines(), run.run->states());
}

// Every server has finished: the progress window goes, the result view comes.
void finishRun() {
    std::unique_ptr<ActiveRun> finished = std::move(active);
    const std::string report = reportOf(*finished);
    finished->run.reset();  // joins the threads, all of which have ended
    HWND progress = finished->progress;
    finished->progress = nullptr;
    DestroyWindow(progress);
    lastResult = showRunResult(finished->owner, report);
}

LRESULT CALLBACK progressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kRunChangedMessage:
        if (!active || active->progress != hwnd) return 0;
        active->changePosted = false;
        showProgress();
        if (active->run->finished()) finishRun();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) cancelRun();
        return 0;
    case WM_CLOSE:  // closing asks for a cancel; the window goes when the run has ended
        cancelRun();
        return 0;
    case WM_DESTROY:
        // Destroyed with its owner during a run: the run ends here.
        if (active && active->progress == hwnd) {
            active->run.reset();
            active.reset();
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND createProgressWindow(HWND owner) {
    if (!registerWindowClass(kSendProgressClass, progressProc)) return nullptr;
    constexpr int kWidth = 400;
    constexpr int kHeight = 96;
    // Enter and Esc both press 取消, the only button.
    HWND hwnd = createToolWindow(owner, {.className = kSendProgressClass,
                                         .title = "发送到服务器",
                                         .contentWidth = kWidth,
                                         .contentHeight = kHeight,
                                         .defaultButton = IDCANCEL});
    if (!hwnd) return nullptr;
    const POINT at = contentOrigin();
    addControl(hwnd, L"STATIC", "正在连接服务器…", SS_LEFT, {at.x, at.y, at.x + kWidth, at.y + 20},
               kSendProgressTextId);
    HWND bar =
        addControl(hwnd, PROGRESS_CLASSW, "", 0, {at.x, at.y + 28, at.x + kWidth, at.y + 48}, kSendProgressBarId);
    SendMessageW(bar, PBM_SETRANGE32, 0, kProgressSteps);
    HWND cancel = addControl(hwnd, L"BUTTON", "取消", WS_TABSTOP | BS_DEFPUSHBUTTON,
                             {at.x + kWidth - 90, at.y + kHeight - 26, at.x + kWidth, at.y + kHeight}, IDCANCEL);
    showToolWindow(hwnd, cancel);
    return hwnd;
}

}  // namespace

void sendToServers(EditorWindow& window) {
    if (active) {
        SetForegroundWindow(active->progress);
        return;
    }
    std::vector<std::string> lines = bridge::rconLines(window.text(editor::kOutputBox));
    if (lines.empty()) {
        showInformation(kNothingToSendMessage);
        return;
    }
    bridge::ServersFile file = bridge::loadServersFile();
    if (!file.error.empty()) {
        showError("『Qelvo』" + file.error);
        return;
    }
    if (file.list.servers.empty()) {
        showInformation(kNoServersMessage);
        return;
    }
    std::vector<bridge::ServerEntry> servers = bridge::enabledServers(file.list.servers);
    if (servers.empty()) {
        showInformation(kNoEnabledServerMessage);
        return;
    }

    auto run = std::make_unique<ActiveRun>();
    run->owner = window.hwnd();
    run->problems = std::move(file.list.problems);
    run->progress = createProgressWindow(window.hwnd());
    if (!run->progress) return;
    active = std::move(run);
    ActiveRun* current = active.get();
    HWND progress = current->progress;
    current->run = std::make_unique<bridge::ConcurrentRconRun>(std::move(servers), std::move(lines), makeRconTransport,
                                                               bridge::win32GbkConverter(), [current, progress] {
                                                                   if (!current->changePosted.exchange(true))
                                                                       PostMessageW(progress, kRunChangedMessage, 0, 0);
                                                               });
}

bool serverRunInProgress() { return active != nullptr; }

HWND serverRunProgressWindow() { return active ? active->progress : nullptr; }

HWND lastRunResultView() { return lastResult && IsWindow(lastResult) ? lastResult : nullptr; }

std::unique_ptr<bridge::RconTransport> makeRconTransport() {
    if (transportsForTesting) return transportsForTesting();
    return std::make_unique<bridge::WinsockTransport>();
}

void useRconTransportsForTesting(std::function<std::unique_ptr<bridge::RconTransport>()> factory) {
    transportsForTesting = std::move(factory);
}

}  // namespace ui
