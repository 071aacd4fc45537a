#include "tests/e2e/e2e_support.h"

#include <tlhelp32.h>

#include <cstdio>

#include "bridge/lookup.h"
#include "editor/layout.h"
#include "ui/win_text.h"

using namespace ui;

namespace e2e {

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
    const auto controls = editor::controls();
    int id = -1;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name) id = kFirstControlId + static_cast<int>(i);
    }
    for (HWND child : descendants(editor)) {
        if (GetDlgCtrlID(child) == id && className(GetParent(child)) != L"ComboBox") return child;
    }
    return nullptr;
}

bool sendTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs,
                               result ? result : &ignored) != 0;
}

bool waitUntilAnswering(HWND hwnd) {
    const DWORD start = GetTickCount();
    DWORD_PTR ignored = 0;
    const bool answered = SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kStartTimeoutMs, &ignored) != 0;
    const DWORD waited = GetTickCount() - start;
    if (waited > 2000) std::printf("the editor answered only after %lu ms\n", static_cast<unsigned long>(waited));
    return answered;
}

std::string textOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!sendTo(hwnd, WM_GETTEXTLENGTH, 0, 0, &length)) return "<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    sendTo(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied);
    text.resize(copied);
    return utf8(text);
}

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

HWND startEditor(Child& editor, const std::wstring& arguments) {
    if (!editor.start(directoryOfThisProgram() + L"\\rpgitem-editor.exe", arguments)) return nullptr;
    WaitForInputIdle(editor.process(), kStartTimeoutMs);
    HWND window = nullptr;
    waitUntil([&] { return (window = topLevelWindowOf(editor.pid(), L"RPGitemEditorWindow")) != nullptr; },
              kStartTimeoutMs);
    return window && waitUntilAnswering(window) ? window : nullptr;
}

}  // namespace e2e
