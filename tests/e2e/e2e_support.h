// Helpers of the end-to-end tests: processes started under a kill-on-close
// job, waits that pump messages with a time limit, and reads of another
// process's windows (the editor's controls by name, message boxes).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kStepTimeoutMs = 10000;
constexpr UINT kSendTimeoutMs = 15000;
constexpr int kFirstControlId = 1000;  // a control's id: 1000 + its index in the layout

std::wstring directoryOfThisProgram();
// Every process the tests start belongs to this job, which kills them when
// the test process ends, however it ends.
HANDLE killOnCloseJob();
// Pumps this thread's messages until `done` holds or the time is up; whether `done` held.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs);
void pumpFor(DWORD milliseconds);
// Ends editors and game stand-ins that an earlier, interrupted run left.
void killLeftovers();
std::wstring className(HWND hwnd);
// A visible top-level window of the process with that class, or nullptr.
HWND topLevelWindowOf(DWORD pid, const wchar_t* windowClass);
std::vector<HWND> descendants(HWND parent);
// The editor's control of that name (its id is 1000 + its place in the layout).
HWND controlNamed(HWND editor, std::string_view name);
std::string textOf(HWND hwnd);
// Sends a message to another process's window and waits for its answer (a
// busy editor is waited for, up to kSendTimeoutMs); whether it answered.
bool sendTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr);
// Waits until the window's thread has left its start-up work and answers.
// Start-ups slower than two seconds are printed, to tell a slow machine
// from a hang.
bool waitUntilAnswering(HWND hwnd);

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

struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

// Reads a message box and presses its OK button.
MessageBoxSeen readAndConfirm(HWND box);

// Starts the editor beside this program with those arguments; its main window
// once it is shown and answers messages, or nullptr.
HWND startEditor(Child& editor, const std::wstring& arguments);

}  // namespace e2e
