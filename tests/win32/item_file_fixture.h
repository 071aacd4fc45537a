// The main window with item files: a private user folder and a folder for
// the test's files, messages and file dialogs recorded instead of shown,
// and the state of every control of the item form.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/win32/window_fixture.h"
#include "ui/file_dialogs.h"
#include "ui/information_box.h"

// A new empty folder under the system's temporary folder, removed with
// everything in it at the end.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::vector<std::wstring> names() const;  // the files in it

private:
    std::wstring path_;
};

// An HDROP as the shell builds it: DROPFILES, then NUL-separated wide paths.
HDROP dropOf(const std::wstring& path);

void writeFileBytes(const std::wstring& path, std::string_view bytes);
std::string readFileBytes(const std::wstring& path);

// What one control of the form shows.
struct ControlState {
    std::string text;
    int check = 0;
    int selection = -1;
    std::vector<std::string> items;
    bool visible = false;
    bool enabled = false;
    bool operator==(const ControlState&) const = default;
};
using FormState = std::map<std::string, ControlState>;
void PrintTo(const ControlState& state, std::ostream* out);

class ItemFileTest : public EditorWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every edit box, check box, radio button, combo box and list box that
    // holds part of an item (the output box apart).
    FormState formState() const;
    // Sends the chord through the system's input queue to the focus.
    void pressChord(std::initializer_list<BYTE> keys);
    // The next file dialog answers `path` (nullopt: cancelled).
    void answerDialogWith(std::optional<std::wstring> path);
    void runMenuCommand(UINT id);
    std::string title() const { return text("透明标签32"); }
    // Fills every kind of field, an editor's choices included.
    void fillForm();

    // The information boxes shown and the file dialogs opened, in order.
    const std::vector<std::string>& messages() const;
    const std::vector<ui::FileChoice>& dialogs() const;
    // The questions before unsaved work is replaced, and how the recorder
    // answers them (不保存 unless told).
    const std::vector<std::string>& saveQuestions() const;
    void answerSaveQuestionWith(ui::SaveAnswer answer);
    void forgetMessages();

    TemporaryFolder files_;
    TemporaryFolder userFolder_;
};
