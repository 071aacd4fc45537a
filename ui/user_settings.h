// The user's own files of the editor: settings.ini (recent files, the
// folder the file dialogs start in, the item preview's place) and
// recovery.ini (the form at closing).
#pragma once

#include <string>

namespace ui {

struct ItemFileSession;

// %APPDATA%\RPGitemEditor.
std::wstring defaultUserFolder();
std::wstring recoveryFilePath(const ItemFileSession& session);

// Reads the recent files and the last folder; a missing or unreadable
// settings file leaves them empty.
void loadUserSettings(ItemFileSession& session);
// Writes them (the folder is created when needed); false on failure.
bool saveUserSettings(const ItemFileSession& session);

// `path` goes first in the recent files (once; at most eight are kept),
// its folder becomes the last folder, and the settings are saved.
void rememberFile(ItemFileSession& session, const std::wstring& path);
// `path` leaves the recent files; the settings are saved.
void forgetRecentFile(ItemFileSession& session, const std::wstring& path);

// Creates the user folder (and its parents) when missing.
bool ensureUserFolder(const ItemFileSession& session);

}  // namespace ui
