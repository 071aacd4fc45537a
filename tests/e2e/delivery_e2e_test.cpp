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
#include "ui/layout.h"
#include "ui/win_text.h"

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kStepTimeoutMs = 10000;
constexpr UINT kSendTimeoutMs = 5000;
constexpr int kFirstControlId = 1000;  // a control's id: 1000 + its index in the layout

std::wstring directoryOfThisProgram() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

// Every process the tests start belongs to this job, which kills them when
// the test process ends, however it ends.
HANDLE killOnCloseJob() {
    static const HANDLE job = [] {
        HANDLE created = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created) SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return created;
    }();
    return job;
}

// Pumps this thread's messages (the key witness's hook runs through them)
// until `done` holds or the time is up; whether `done` held.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pumpFor(DWORD milliseconds) {
    waitUntil([] { return false; }, milliseconds);
}

class Child {
public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { stop(); }

    bool start(const std::wstring& exe, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW startup{sizeof(startup)};
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                            nullptr, &startup, &info_)) {
            return false;
        }
        AssignProcessToJobObject(killOnCloseJob(), info_.hProcess);
        ResumeThread(info_.hThread);
        return true;
    }
    void stop() {
        if (!info_.hProcess) return;
        if (running()) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
        info_ = {};
    }
    bool running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD pid() const { return info_.dwProcessId; }
    HANDLE process() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_{};
};

// Ends editors and game stand-ins that an earlier, interrupted run left.
void killLeftovers() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        const std::string name = utf8(entry.szExeFile);
        if (!bridge::equalsIgnoringAsciiCase(name, "javaw.exe") &&
            !bridge::equalsIgnoringAsciiCase(name, "rpgitem-editor.exe")) {
            continue;
        }
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(process, 98);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

std::wstring className(HWND hwnd) {
    wchar_t name[64];
    name[GetClassNameW(hwnd, name, 64)] = L'\0';
    return name;
}

// A visible top-level window of the process with that class, or nullptr.
HWND topLevelWindowOf(DWORD pid, const wchar_t* windowClass) {
    struct Search {
        DWORD pid;
        const wchar_t* windowClass;
        HWND found;
    } search{pid, windowClass, nullptr};
    struct Callback {
        static BOOL CALLBACK visit(HWND hwnd, LPARAM param) {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s->pid || !IsWindowVisible(hwnd) || className(hwnd) != s->windowClass) return TRUE;
            s->found = hwnd;
            return FALSE;
        }
    };
    EnumWindows(Callback::visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> all;
    struct Callback {
        static BOOL CALLBACK visit(HWND hwnd, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        }
    };
    EnumChildWindows(parent, Callback::visit, reinterpret_cast<LPARAM>(&all));
    return all;
}

// The editor's control of that name: its id is 1000 + its place in the
// layout (the edit part inside a combo box has an id of its own, not ours).
HWND controlNamed(HWND editor, std::string_view name) {
    const auto controls = layout::controls();
    int id = -1;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name) id = kFirstControlId + static_cast<int>(i);
    }
    for (HWND child : descendants(editor)) {
        if (GetDlgCtrlID(child) == id && className(GetParent(child)) != L"ComboBox") return child;
    }
    return nullptr;
}

std::string textOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return "<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kSendTimeoutMs, &copied);
    text.resize(copied);
    return utf8(text);
}

struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

// Reads a message box and presses its OK button.
MessageBoxSeen readAndConfirm(HWND box) {
    MessageBoxSeen seen{textOf(box), ""};
    HWND ok = nullptr;
    for (HWND child : descendants(box)) {
        if (className(child) == L"Static") {
            const std::string text = textOf(child);
            if (!text.empty()) seen.text += text;
        }
        if (GetDlgCtrlID(child) == IDOK) ok = child;
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    return seen;
}

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
        for (unsigned char byte : bridge::toCodePage936(lines[n - 1])) run.push_back("CHAR 0 " + std::to_string(byte) + " 0");
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
        ASSERT_TRUE(editor_.start(directoryOfThisProgram() + L"\\rpgitem-editor.exe", L""));
        WaitForInputIdle(editor_.process(), kStartTimeoutMs);
        ASSERT_TRUE(waitUntil([&] { return (editorWindow_ = topLevelWindowOf(editor_.pid(), L"RPGitemEditorWindow")); },
                              kStartTimeoutMs))
            << "the editor's window did not appear";
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
            ASSERT_TRUE(SendMessageTimeoutW(idBox_, WM_CHAR, ch, 1, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result));
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
    const auto closed = std::find_if(events.begin(), events.end(), [](const LogEvent& e) { return e.kind == "CLOSED"; });
    ASSERT_NE(closed, events.end());
    EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const LogEvent& e) { return e.kind == "CHAR"; }),
              static_cast<long>(closeAfter));
    const auto& keys = KeyWitness::keys();
    const auto presses = std::count_if(keys.begin(), keys.end(), [&](const KeyWitness::Key& k) { return k.tick <= closed->tick; });
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

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    killOnCloseJob();
    return RUN_ALL_TESTS();
}
