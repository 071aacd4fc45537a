#include "ui/user_settings.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>

#include "editor/text.h"
#include "ui/file_access.h"
#include "ui/item_file_session.h"
#include "ui/main_menu.h"
#include "ui/win_text.h"

namespace ui {

namespace {

constexpr std::string_view kRecentSection = "recent";
constexpr std::string_view kFoldersSection = "folders";
constexpr std::string_view kLastFolderKey = "last";
constexpr std::string_view kPreviewSection = "preview";
constexpr std::size_t kMaxSettingsBytes = 1024 * 1024;

std::wstring settingsFilePath(const ItemFileSession& session) { return session.userFolder + L"\\settings.ini"; }

// Windows file names ignore case.
bool samePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

void removePath(std::vector<std::wstring>& files, const std::wstring& path) {
    std::erase_if(files, [&](const std::wstring& file) { return samePath(file, path); });
}

}  // namespace

std::wstring defaultUserFolder() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return L".";
    return std::wstring(appData) + L"\\RPGitemEditor";
}

std::wstring recoveryFilePath(const ItemFileSession& session) { return session.userFolder + L"\\recovery.ini"; }

void loadUserSettings(ItemFileSession& session) {
    session.recentFiles.clear();
    session.lastFolder.clear();
    const FileBytes file = readWholeFile(settingsFilePath(session), kMaxSettingsBytes);
    if (!file.bytes) return;
    const editor::IniDocument::Parsed parsed = editor::IniDocument::parse(*file.bytes);
    if (!parsed.document) return;
    if (const editor::IniDocument::Section* recent = parsed.document->section(kRecentSection)) {
        for (const editor::IniDocument::Entry& entry : recent->entries) {
            if (session.recentFiles.size() < kMaxRecentFiles && !entry.value.empty()) {
                session.recentFiles.push_back(wide(entry.value));
            }
        }
    }
    if (auto folder = parsed.document->value(kFoldersSection, kLastFolderKey)) session.lastFolder = wide(*folder);
    const editor::IniDocument& settings = *parsed.document;
    session.preview.visible = settings.value(kPreviewSection, "visible").value_or("") == "true";
    session.preview.left = settings.value(kPreviewSection, "side").value_or("") == "left";
    session.preview.top = editor::toInteger(settings.value(kPreviewSection, "top").value_or("0"));
}

bool saveUserSettings(const ItemFileSession& session) {
    editor::IniDocument document;
    for (std::size_t i = 0; i < session.recentFiles.size(); ++i) {
        document.setValue(kRecentSection, std::to_string(i + 1), utf8(session.recentFiles[i]));
    }
    document.setValue(kFoldersSection, kLastFolderKey, utf8(session.lastFolder));
    document.setValue(kPreviewSection, "visible", session.preview.visible ? "true" : "false");
    document.setValue(kPreviewSection, "side", session.preview.left ? "left" : "right");
    document.setValue(kPreviewSection, "top", editor::formatNumber(session.preview.top));
    return ensureUserFolder(session) && writeFileInOneStep(settingsFilePath(session), document.serialize()).empty();
}

void rememberFile(ItemFileSession& session, const std::wstring& path) {
    removePath(session.recentFiles, path);
    session.recentFiles.insert(session.recentFiles.begin(), path);
    if (session.recentFiles.size() > kMaxRecentFiles) session.recentFiles.resize(kMaxRecentFiles);
    session.lastFolder = folderOf(path);
    saveUserSettings(session);
}

void forgetRecentFile(ItemFileSession& session, const std::wstring& path) {
    removePath(session.recentFiles, path);
    saveUserSettings(session);
}

bool ensureUserFolder(const ItemFileSession& session) {
    const int result = SHCreateDirectoryExW(nullptr, session.userFolder.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

}  // namespace ui
