#include "ui/server_delivery.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <optional>

#include "bridge/rcon_report.h"
#include "bridge/rcon_runner.h"
#include "bridge/win32_rcon_platform.h"
#include "bridge/win32_rcon_transport.h"
#include "editor/control_names.h"
#include "editor/item_file.h"
#include "ui/editor_window.h"
#include "ui/file_access.h"
#include "ui/file_dialogs.h"
#include "ui/form_controls.h"
#include "ui/information_box.h"
#include "ui/item_file_session.h"
#include "ui/run_result_view.h"
#include "ui/tool_window.h"
#include "ui/win_text.h"

namespace ui {

namespace {

// Posted by the run's threads to the progress window: something changed.
constexpr UINT kRunChangedMessage = WM_APP + 0x31;
constexpr int kProgressSteps = 1000;

// One item of a run: the output box's lines (no name), or an item file's.
struct ItemToSend {
    std::string name;
    std::vector<std::string> lines;
};

// A run sends its items one after the other, each to every server at once.
struct ActiveRun {
    HWND owner = nullptr;
    HWND progress = nullptr;
    std::vector<std::string> problems;  // text of the servers file that belongs to no server
    std::vector<bridge::ServerEntry> servers;
    std::vector<ItemToSend> items;
    std::size_t current = 0;                                    // the item being sent
    std::vector<std::vector<bridge::ServerRunState>> finished;  // per item sent
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
    const std::size_t itemCount = active->items.size();
    std::string text = bridge::runProgressText(states, lineCount);
    if (itemCount > 1) {
        text = "物品 " + std::to_string(active->current + 1) + "/" + std::to_string(itemCount) + "「" +
               active->items[active->current].name + "」：" + text;
    }
    setWindowText(GetDlgItem(active->progress, kSendProgressTextId), text);
    // The bar counts what the text counts: the lines sent, item after item.
    const bridge::RunProgress progress = bridge::runProgress(states, lineCount);
    const std::size_t itemSteps = kProgressSteps / std::max<std::size_t>(itemCount, 1);
    const std::size_t position =
        active->current * itemSteps + (progress.lines ? progress.linesSent * itemSteps / progress.lines : itemSteps);
    SendMessageW(GetDlgItem(active->progress, kSendProgressBarId), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

std::string reportOf(const ActiveRun& run) {
    std::string report;
    if (!run.problems.empty()) {
        report += "服务器列表文件中有无法读取的内容：\r\n";
        for (const std::string& problem : run.problems) report += "    " + problem + "\r\n";
        report += "\r\n";
    }
    if (run.items.size() == 1 && run.items[0].name.empty()) {
        return report + bridge::runReport(run.servers, run.items[0].lines, run.finished[0]);
    }
    for (std::size_t i = 0; i < run.items.size(); ++i) {
        report += "物品「" + run.items[i].name + "」：";
        if (i >= run.finished.size()) {
            report += "已取消，没有发送\r\n\r\n";
            continue;
        }
        report += "\r\n" + bridge::runReport(run.servers, run.items[i].lines, run.finished[i]) + "\r\n";
    }
    return report;
}

// The run's current item to every server at once.
void startItem(ActiveRun& run) {
    ActiveRun* current = &run;
    HWND progress = run.progress;
    run.run = std::make_unique<bridge::ConcurrentRconRun>(run.servers, run.items[run.current].lines, makeRconTransport,
                                                          bridge::win32GbkConverter(), [current, progress] {
                                                              if (!current->changePosted.exchange(true))
                                                                  PostMessageW(progress, kRunChangedMessage, 0, 0);
                                                          });
}

// Every server has finished the item: the next item, or the end of the run.
void finishItem() {
    active->finished.push_back(active->run->states());
    const bool cancelled = active->run->cancelled();
    active->run.reset();  // joins the threads, all of which have ended
    if (!cancelled && ++active->current < active->items.size()) {
        startItem(*active);
        return;
    }
    // The progress window goes, the result view comes.
    std::unique_ptr<ActiveRun> finished = std::move(active);
    const std::string report = reportOf(*finished);
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
        if (active->run->finished()) finishItem();
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

// Starts a run of `items` to every enabled server, or says why it cannot.
void startRun(EditorWindow& window, std::vector<ItemToSend> items) {
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
    run->servers = std::move(servers);
    run->items = std::move(items);
    run->progress = createProgressWindow(window.hwnd());
    if (!run->progress) return;
    active = std::move(run);
    startItem(*active);
}

// The item file's lines as the output box shows them once it is open, or
// the problem.
std::optional<ItemToSend> itemOfFile(const std::wstring& path, std::string& problem) {
    const FileBytes file = readWholeFile(path, editor::kMaxItemFileBytes);
    if (!file.bytes) {
        problem = file.problem;
        return std::nullopt;
    }
    const editor::ParsedItemFile parsed = editor::parseItemFile(*file.bytes, cp936ToUtf8);
    if (!parsed.data) {
        problem = parsed.error;
        return std::nullopt;
    }
    ItemToSend item{utf8(PathFindFileNameW(path.c_str())), bridge::rconLines(editor::outputTextOf(*parsed.data))};
    if (item.lines.empty()) problem = "没有可发送的指令。";
    if (item.lines.empty()) return std::nullopt;
    return item;
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
    startRun(window, {{"", std::move(lines)}});
}

void sendItemFilesToServers(EditorWindow& window) {
    if (active) {
        SetForegroundWindow(active->progress);
        return;
    }
    const std::vector<std::wstring> paths = chooseFilesToOpen(window.hwnd(), window.itemFiles().lastFolder);
    if (paths.empty()) return;
    std::vector<ItemToSend> items;
    std::string skipped;
    for (const std::wstring& path : paths) {
        std::string problem;
        if (std::optional<ItemToSend> item = itemOfFile(path, problem)) {
            items.push_back(std::move(*item));
        } else {
            skipped += "\r\n“" + utf8(path) + "”：" + problem;
        }
    }
    if (!skipped.empty()) {
        showInformation((items.empty() ? "没有可发送的物品文件：" : "以下文件无法读取，已跳过：") + skipped);
    }
    if (!items.empty()) startRun(window, std::move(items));
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
