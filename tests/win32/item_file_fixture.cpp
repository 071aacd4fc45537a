#include "tests/win32/item_file_fixture.h"

#include <shlobj.h>

#include <ostream>

#include "editor/layout.h"
#include "ui/information_box.h"
#include "ui/item_editor.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

struct Recorded {
    std::vector<std::string> messages;
    std::vector<FileChoice> dialogs;
    std::optional<std::wstring> answer;
    std::vector<std::string> questions;
    SaveAnswer saveAnswer = SaveAnswer::Discard;
} recorded;

SaveAnswer recordQuestion(HWND, std::string_view text) {
    recorded.questions.emplace_back(text);
    return recorded.saveAnswer;
}

void recordMessage(std::string_view text) { recorded.messages.emplace_back(text); }

std::optional<std::wstring> recordDialog(HWND, const FileChoice& choice) {
    recorded.dialogs.push_back(choice);
    return recorded.answer;
}

void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

// Controls of the window that hold no part of an item.
bool isItemControl(const editor::Control& spec) {
    using editor::ControlKind;
    static const std::string_view kNotItem[] = {"编辑框1", "编辑框24", "选择框6", "列表框1", "列表框_命令"};
    for (std::string_view name : kNotItem) {
        if (spec.name == name) return false;
    }
    switch (spec.kind) {
    case ControlKind::Edit:
    case ControlKind::CheckBox:
    case ControlKind::Radio:
    case ControlKind::ComboEditable:
    case ControlKind::ComboList:
    case ControlKind::ListBox:
        return true;
    default:
        return false;
    }
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    do {
        path_ = std::wstring(base) + L"rpgitem-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L" 物品";
    } while (!CreateDirectoryW(path_.c_str(), nullptr));
}

TemporaryFolder::~TemporaryFolder() { removeTree(path_); }

std::vector<std::wstring> TemporaryFolder::names() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void writeFileBytes(const std::wstring& path, std::string_view bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::string readFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

void PrintTo(const ControlState& s, std::ostream* out) {
    *out << "{text \"" << s.text << "\", check " << s.check << ", selection " << s.selection << ", " << s.items.size()
         << " items, " << (s.visible ? "shown" : "hidden") << ", " << (s.enabled ? "enabled" : "disabled") << "}";
}

void ItemFileTest::SetUp() {
    recorded = {};
    replaceInformationBox(recordMessage);
    replaceFileChooser(recordDialog);
    replaceSaveQuestion(recordQuestion);
    options_.userFolder = userFolder_.path();
    EditorWindowTest::SetUp();
}

void ItemFileTest::TearDown() {
    EditorWindowTest::TearDown();
    replaceInformationBox(nullptr);
    replaceFileChooser(nullptr);
    replaceSaveQuestion(nullptr);
}

FormState ItemFileTest::formState() const {
    FormState state;
    for (const editor::Control& spec : editor::controls()) {
        if (!isItemControl(spec)) continue;
        HWND hwnd = window_->control(spec.name);
        ControlState& s = state[std::string(spec.name)];
        s.text = windowText(hwnd);
        s.visible = (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
        s.enabled = IsWindowEnabled(hwnd) != FALSE;
        if (spec.kind == editor::ControlKind::CheckBox || spec.kind == editor::ControlKind::Radio) {
            s.check = static_cast<int>(SendMessageW(hwnd, BM_GETCHECK, 0, 0));
        } else if (spec.kind == editor::ControlKind::ListBox) {
            s.items = window_->listItems(spec.name);
        } else if (spec.kind != editor::ControlKind::Edit) {
            s.selection = window_->selection(spec.name);
        }
    }
    return state;
}

void ItemFileTest::pressChord(std::initializer_list<BYTE> keys) {
    for (BYTE key : keys) keybd_event(key, 0, 0, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
    pumpMessages(80);
}

void ItemFileTest::answerDialogWith(std::optional<std::wstring> path) { recorded.answer = std::move(path); }

void ItemFileTest::runMenuCommand(UINT id) {
    SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pumpMessages();
}

const std::vector<std::string>& ItemFileTest::messages() const { return recorded.messages; }

const std::vector<FileChoice>& ItemFileTest::dialogs() const { return recorded.dialogs; }

void ItemFileTest::forgetMessages() { recorded.messages.clear(); }

void ItemFileTest::fillForm() {
    int n = 0;
    for (const editor::Control& spec : editor::controls()) {
        if (!isItemControl(spec)) continue;
        HWND hwnd = window_->control(spec.name);
        const std::string mark = std::to_string(++n);
        switch (spec.kind) {
        case editor::ControlKind::Edit:
            // Blanks at both ends, INI's own characters, a line break where the box takes one.
            setWindowText(hwnd, (spec.editStyle & editor::kMultiLine) ? " 第" + mark + "行 \r\n=;[#x\r\n"
                                                                      : " " + mark + "=;[ 𝄞 ");
            break;
        case editor::ControlKind::CheckBox:
            SendMessageW(hwnd, BM_SETCHECK, spec.checked ? BST_UNCHECKED : BST_CHECKED, 0);
            break;
        case editor::ControlKind::ComboEditable:
        case editor::ControlKind::ComboList: {
            const auto count = SendMessageW(hwnd, CB_GETCOUNT, 0, 0);
            SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(n % count), 0);
            SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(hwnd));
            break;
        }
        case editor::ControlKind::ListBox:
            for (const char* entry : {"power a", "  power=b;[c]  ", "能力 𝄞"}) {
                SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(mark + entry).c_str()));
            }
            break;
        default:
            break;
        }
    }
    // Potion mode and consume kind: the second radio button of each group.
    click("单选框2");
    SendMessageW(control("单选框5"), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(control("单选框6"), BM_SETCHECK, BST_CHECKED, 0);
    // The skill's parameters as the chosen skill shows them, filled.
    for (const char* box : {"编辑框数量", "编辑框距离", "剑雨数量"}) setWindowText(control(box), box);
    refreshOutput(*window_);
    pumpMessages();
}

const std::vector<std::string>& ItemFileTest::saveQuestions() const { return recorded.questions; }

void ItemFileTest::answerSaveQuestionWith(ui::SaveAnswer answer) { recorded.saveAnswer = answer; }

// An HDROP as the shell builds it: DROPFILES, then NUL-separated wide paths.
HDROP dropOf(const std::wstring& path) {
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    path.copy(reinterpret_cast<wchar_t*>(drop + 1), path.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
