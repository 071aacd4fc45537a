// The main menu's item-file commands and the window's file events: new,
// open, save, save as, import from the output box, recent files, the
// recovery file, the command line and dropped files.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace ui {

class EditorWindow;

// At creation: the user's settings read, the empty form as the baseline,
// dropped files accepted. `userFolder` empty: %APPDATA%\RPGitemEditor.
void startItemFiles(EditorWindow& window, const std::wstring& userFolder);

// New, open, a recent file, a dropped file and the recovery first ask
// whether to save a changed form (保存 / 不保存 / 取消).
void newItem(EditorWindow& window);
void openItem(EditorWindow& window);
// True when the form was saved.
bool saveItem(EditorWindow& window);
bool saveItemAs(EditorWindow& window);
void importFromOutput(EditorWindow& window);
void recoverLastClosedItem(EditorWindow& window);
// The recent file at `index` (0: the most recent); a file that is gone is
// dropped from the list with a message.
void openRecentFile(EditorWindow& window, size_t index);

// Opens `path`: the whole file is read first; a bad file leaves the form as
// it is and says why. True when the form now holds the file.
bool openItemFile(EditorWindow& window, const std::wstring& path);
// Saves the form to `path` and makes it the open file. True on success.
bool saveItemFile(EditorWindow& window, const std::wstring& path);
// `rpgitem-editor.exe FILE`: opens FILE (the first argument after the
// program's name), if there is one.
void openCommandLineFile(EditorWindow& window, const wchar_t* commandLine);
// Reads a text file of command lines into the form.
void importCommandFile(EditorWindow& window, const std::wstring& path);

// WM_DROPFILES: the first file; .ini opens, any other file imports.
void onFilesDropped(EditorWindow& window, HDROP drop);
// WM_CLOSE: the form goes into the recovery file.
void keepRecoveryFile(EditorWindow& window);

// The title label names the open file and marks a changed form with "*".
void showFileState(EditorWindow& window);

}  // namespace ui
