#include "ui/item_files.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "editor/command_import.h"
#include "editor/control_names.h"
#include "editor/layout.h"
#include "editor/text.h"
#include "editor/text_encoding.h"
#include "skin/handle_owners.h"
#include "ui/editor_window.h"
#include "ui/file_access.h"
#include "ui/file_dialogs.h"
#include "ui/form_file_data.h"
#include "ui/information_box.h"
#include "ui/user_settings.h"
#include "ui/win_text.h"

namespace ui {

namespace {

// The recovery file names the file that was open at closing.
constexpr std::string_view kRecoverySection = "recovery";
constexpr std::string_view kRecoveryFileKey = "file";
constexpr std::size_t kUnmatchedLinesShown = 5;
// A long file name stops short of the caption buttons.
constexpr int kTitleMaxWidth = 760;

std::string quoted(const std::wstring& path) { return "“" + utf8(path) + "”"; }

void tellCannotOpen(const std::wstring& path, std::string_view problem) {
    showInformation("无法打开文件" + quoted(path) + "：" + std::string(problem));
}

// The form now shows `path` (empty: no file) as it is on disk.
void settle(EditorWindow& w, const std::wstring& path, editor::IniDocument document) {
    ItemFileSession& session = w.itemFiles();
    session.path = path;
    session.document = std::move(document);
    session.baseline = readFormData(w);
    if (!path.empty()) rememberFile(session, path);
    showFileState(w);
}

// The whole file read and parsed, or a message and nothing.
std::optional<editor::ItemFileData> readItemFile(const std::wstring& path) {
    const FileBytes file = readWholeFile(path, editor::kMaxItemFileBytes);
    if (!file.bytes) {
        tellCannotOpen(path, file.problem);
        return std::nullopt;
    }
    editor::ParsedItemFile parsed = editor::parseItemFile(*file.bytes, cp936ToUtf8);
    if (!parsed.data) tellCannotOpen(path, parsed.error);
    return std::move(parsed.data);
}

std::string unmatchedMessage(const std::vector<std::string>& lines) {
    std::string message = "有 " + std::to_string(lines.size()) + " 行没有导入：";
    const std::size_t shown = std::min(lines.size(), kUnmatchedLinesShown);
    for (std::size_t i = 0; i < shown; ++i) message += "\r\n" + lines[i];
    if (lines.size() > shown) message += "\r\n……";
    return message + "\r\n在输出框里按一次 Ctrl+X 即可找回导入前的输出。";
}

// Command lines into the form; the open file stays the open file.
void importText(EditorWindow& w, std::string_view commands) {
    const editor::ImportedItem imported = editor::importCommands(commands);
    if (imported.id.empty()) {
        showInformation("没有可导入的指令：需要“/rpgitem 物品ID 指令”这样的行。");
        return;
    }
    // The fields' recompositions make one step of the output's history.
    const int before = w.history().markStep(w.output().text());
    showFormData(w, editor::itemFileDataOf(imported.form));
    w.history().closeStep(before, w.output().text());
    if (!imported.unmatched.empty()) showInformation(unmatchedMessage(imported.unmatched));
}

bool hasExtension(const std::wstring& path, const wchar_t* extension) {
    return lstrcmpiW(PathFindExtensionW(path.c_str()), extension) == 0;
}

std::wstring suggestedName(EditorWindow& w) {
    const ItemFileSession& session = w.itemFiles();
    if (!session.path.empty()) return PathFindFileNameW(session.path.c_str());
    const std::string id = w.text(editor::kIdBox);
    return id.empty() ? std::wstring() : wide(id) + L".ini";
}

std::wstring fullPath(const std::wstring& path) {
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (!length) return path;
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    return full;
}

std::string titleText(const ItemFileSession& session, bool changed) {
    std::string title(editor::controlNamed(editor::kTitleLabel).text);
    if (!session.path.empty()) {
        title += " — " + utf8(PathFindFileNameW(session.path.c_str()));
    } else if (changed) {
        title += " — 未保存";
    }
    return changed ? title + " *" : title;
}

// The label grows to its text (never below the layout's width).
void fitLabel(HWND label, const std::wstring& text) {
    SIZE size{};
    {
        const skin::WindowDC dc(label);
        const skin::Selection font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    }
    const int layoutWidth = editor::controlNamed(editor::kTitleLabel).width;
    const int width = std::clamp(static_cast<int>(size.cx) + 8, layoutWidth, kTitleMaxWidth);
    RECT rc;
    GetClientRect(label, &rc);
    if (rc.right != width) {
        SetWindowPos(label, nullptr, 0, 0, width, rc.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Before the form is replaced: a changed form is offered for saving. False
// when the user cancels, or the save did not happen.
bool unsavedWorkSettled(EditorWindow& w) {
    const ItemFileSession& session = w.itemFiles();
    if (sameFormData(readFormData(w), session.baseline)) return true;
    const std::string name =
        session.path.empty() ? std::string("未保存的物品") : "文件" + quoted(PathFindFileNameW(session.path.c_str()));
    switch (askToSaveChanges(w.hwnd(), name + "有改动，要先保存吗？")) {
    case SaveAnswer::Save:
        return saveItem(w);
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

}  // namespace

void startItemFiles(EditorWindow& w, const std::wstring& userFolder) {
    ItemFileSession& session = w.itemFiles();
    session.userFolder = userFolder.empty() ? defaultUserFolder() : userFolder;
    loadUserSettings(session);
    session.emptyForm = readFormData(w);
    session.baseline = session.emptyForm;
    DragAcceptFiles(w.hwnd(), TRUE);
}

void newItem(EditorWindow& w) {
    if (!unsavedWorkSettled(w)) return;
    showFormData(w, w.itemFiles().emptyForm);
    settle(w, {}, {});
}

void openItem(EditorWindow& w) {
    if (!unsavedWorkSettled(w)) return;
    const auto path = chooseFile(w.hwnd(), {.save = false, .folder = w.itemFiles().lastFolder});
    if (path) openItemFile(w, *path);
}

bool saveItem(EditorWindow& w) {
    const std::wstring path = w.itemFiles().path;
    return path.empty() ? saveItemAs(w) : saveItemFile(w, path);
}

bool saveItemAs(EditorWindow& w) {
    const FileChoice choice{.save = true, .folder = w.itemFiles().lastFolder, .name = suggestedName(w)};
    const auto path = chooseFile(w.hwnd(), choice);
    return path && saveItemFile(w, *path);
}

void importFromOutput(EditorWindow& w) { importText(w, w.output().text()); }

void recoverLastClosedItem(EditorWindow& w) {
    const std::wstring recovery = recoveryFilePath(w.itemFiles());
    if (GetFileAttributesW(recovery.c_str()) == INVALID_FILE_ATTRIBUTES) {
        showInformation("没有上次关闭时的物品。");
        return;
    }
    if (!unsavedWorkSettled(w)) return;
    std::optional<editor::ItemFileData> data = readItemFile(recovery);
    if (!data) return;
    showFormData(w, *data);
    const std::wstring file = wide(data->document.value(kRecoverySection, kRecoveryFileKey).value_or(""));
    data->document.removeSection(kRecoverySection);
    ItemFileSession& session = w.itemFiles();
    session.path = file;
    session.document = std::move(data->document);
    // Not saved since: the recovered form counts as changed.
    session.baseline = session.emptyForm;
    showFileState(w);
}

void openRecentFile(EditorWindow& w, size_t index) {
    ItemFileSession& session = w.itemFiles();
    if (index >= session.recentFiles.size()) return;
    const std::wstring path = session.recentFiles[index];
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        forgetRecentFile(session, path);
        showInformation("文件" + quoted(path) + "已不存在，已从最近的文件中去掉。");
        return;
    }
    if (unsavedWorkSettled(w)) openItemFile(w, path);
}

bool openItemFile(EditorWindow& w, const std::wstring& path) {
    std::optional<editor::ItemFileData> data = readItemFile(path);
    if (!data) return false;
    showFormData(w, *data);
    settle(w, path, std::move(data->document));
    return true;
}

bool saveItemFile(EditorWindow& w, const std::wstring& path) {
    editor::ItemFileData data = readFormData(w);
    data.document = w.itemFiles().document;
    const std::string problem = writeFileInOneStep(path, editor::serializeItemFile(data));
    if (!problem.empty()) {
        showInformation("无法保存文件" + quoted(path) + "：" + problem + "原来的文件没有改动。");
        return false;
    }
    settle(w, path, std::move(data.document));
    return true;
}

void importCommandFile(EditorWindow& w, const std::wstring& path) {
    const FileBytes file = readWholeFile(path, editor::kMaxItemFileBytes);
    if (!file.bytes) {
        tellCannotOpen(path, file.problem);
        return;
    }
    if (file.bytes->find('\0') != std::string::npos) {
        tellCannotOpen(path, "这不是文本文件。");
        return;
    }
    // Read as the item files are: UTF-8 or code page 936, by the same rule.
    const editor::DecodedText commands = editor::decodeText(*file.bytes, cp936ToUtf8);
    if (!commands.text) {
        tellCannotOpen(path, commands.error);
        return;
    }
    importText(w, *commands.text);
}

void openCommandLineFile(EditorWindow& w, const wchar_t* commandLine) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(commandLine, &count);
    if (!arguments) return;
    const std::wstring file = count >= 2 ? fullPath(arguments[1]) : std::wstring();
    LocalFree(arguments);
    if (!file.empty()) openItemFile(w, file);
}

void onFilesDropped(EditorWindow& w, HDROP drop) {
    std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    DragFinish(drop);
    if (path.empty() || !unsavedWorkSettled(w)) return;
    if (hasExtension(path, L".ini")) {
        openItemFile(w, path);
    } else {
        importCommandFile(w, path);
    }
}

void keepRecoveryFile(EditorWindow& w) {
    ItemFileSession& session = w.itemFiles();
    editor::ItemFileData data = readFormData(w);
    // An empty form would only push out the last one kept.
    if (sameFormData(data, session.emptyForm)) return;
    data.document = session.document;
    data.document.setValue(kRecoverySection, kRecoveryFileKey, utf8(session.path));
    const std::wstring recovery = recoveryFilePath(session);
    std::string problem = ensureUserFolder(session) ? writeFileInOneStep(recovery, editor::serializeItemFile(data))
                                                    : std::string("无法建立文件夹。");
    if (!problem.empty()) showInformation("无法保存恢复文件" + quoted(recovery) + "：" + problem);
}

void showFileState(EditorWindow& w) {
    ItemFileSession& session = w.itemFiles();
    session.changedShown = !sameFormData(readFormData(w), session.baseline);
    HWND label = w.control(editor::kTitleLabel);
    if (!label) return;
    const std::wstring title = wide(titleText(session, session.changedShown));
    if (windowTextW(label) == title) return;
    fitLabel(label, title);
    SetWindowTextW(label, title.c_str());
}

}  // namespace ui
