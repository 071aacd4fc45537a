// Unsaved work in the real window: the question before new, open, a recent
// file, a dropped file and the recovery replace a changed form; the import
// as one step of the output's history; control characters through a save
// and an open.
#include <windows.h>

#include <functional>

#include "tests/win32/item_file_fixture.h"
#include "tests/win32/modal_watch.h"
#include "ui/information_box.h"
#include "ui/item_file_session.h"
#include "ui/item_files.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// What the real question box showed, and the button pressed.
struct QuestionSeen {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;  // 是, 否, 取消 renamed
    HWND owner = nullptr;
    bool hasIcon = false;
};

std::function<void(HWND)> answerWith(QuestionSeen& seen, int button) {
    return [&seen, button](HWND box) {
        seen.caption = windowText(box);
        seen.owner = GetWindow(box, GW_OWNER);
        const MessageBoxSeen statics = readTexts(box);
        seen.hasIcon = statics.hasIcon;
        if (!statics.texts.empty()) seen.text = statics.texts.front();
        for (int id : {IDYES, IDNO, IDCANCEL}) seen.buttons.push_back(windowText(GetDlgItem(box, id)));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    };
}

}  // namespace

class SaveQuestionTest : public ItemFileTest {
protected:
    void SetUp() override {
        ItemFileTest::SetUp();
        other_ = files_.file(L"other.ini");
        type("编辑框2", "other");
        ASSERT_TRUE(saveItemFile(*window_, other_));
        newItem(*window_);
        writeFileBytes(recoveryFile(), "\xEF\xBB\xBF[item]\r\nid=recovered\r\n");
        writeFileBytes(files_.file(L"commands.txt"), "/rpgitem dropped create\r\n");
    }
    std::wstring recoveryFile() const { return userFolder_.file(L"recovery.ini"); }

    struct Way {
        const char* name;
        std::function<void()> run;
        std::string idAfter;  // the id box once the way went through
    };
    std::vector<Way> ways() {
        return {
            {"新建",
             [this] {
                 pressChord({VK_CONTROL, 'N'});
             },
             ""},
            {"打开…",
             [this] {
                 answerDialogWith(other_);
                 pressChord({VK_CONTROL, 'O'});
             },
             "other"},
            {"最近的文件", [this] { openRecentFile(*window_, 0); }, "other"},
            {"拖入的物品文件",
             [this] {
                 PostMessageW(window_->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(other_)), 0);
                 pumpMessages(20);
             },
             "other"},
            {"拖入的指令文件",
             [this] {
                 PostMessageW(window_->hwnd(), WM_DROPFILES,
                              reinterpret_cast<WPARAM>(dropOf(files_.file(L"commands.txt"))), 0);
                 pumpMessages(20);
             },
             "dropped"},
            {"恢复上次关闭时的物品", [this] { recoverLastClosedItem(*window_); }, "recovered"},
        };
    }

    std::wstring other_;
};

TEST_F(SaveQuestionTest, EachWayAsksFirstAndCancelLeavesTheFormAsItWas) {
    for (const Way& way : ways()) {
        SCOPED_TRACE(way.name);
        newItem(*window_);
        forgetMessages();
        const size_t asked = saveQuestions().size();
        type("编辑框3", "unsaved");
        const FormState changed = formState();
        const size_t dialogsBefore = dialogs().size();
        answerSaveQuestionWith(SaveAnswer::Cancel);
        way.run();
        ASSERT_EQ(saveQuestions().size(), asked + 1);
        EXPECT_TRUE(contains(saveQuestions().back(), "有改动，要先保存吗")) << saveQuestions().back();
        EXPECT_EQ(formState(), changed);
        EXPECT_EQ(dialogs().size(), dialogsBefore) << "no file dialog after 取消";
        answerSaveQuestionWith(SaveAnswer::Discard);
        way.run();
        EXPECT_EQ(text("编辑框2"), way.idAfter);
        EXPECT_EQ(saveQuestions().size(), asked + 2);
    }
}

TEST_F(SaveQuestionTest, AnUnchangedFormIsNotAskedAbout) {
    for (const Way& way : ways()) {
        SCOPED_TRACE(way.name);
        answerSaveQuestionWith(SaveAnswer::Discard);
        newItem(*window_);
        const size_t asked = saveQuestions().size();
        way.run();
        EXPECT_EQ(saveQuestions().size(), asked);
    }
}

TEST_F(SaveQuestionTest, SaveWritesTheChangesFirst) {
    ASSERT_TRUE(openItemFile(*window_, other_));
    type("编辑框3", "saved first");
    answerSaveQuestionWith(SaveAnswer::Save);
    pressChord({VK_CONTROL, 'N'});
    EXPECT_EQ(text("编辑框2"), "");
    EXPECT_TRUE(contains(readFileBytes(other_), "display=saved first\r\n"));
    // A new item without a file: 保存 asks for a name; cancelling that keeps the form.
    type("编辑框2", "fresh");
    answerDialogWith(std::nullopt);
    pressChord({VK_CONTROL, 'N'});
    EXPECT_EQ(text("编辑框2"), "fresh") << "nothing was saved, so nothing is thrown away";
    answerDialogWith(files_.file(L"fresh.ini"));
    recoverLastClosedItem(*window_);
    EXPECT_EQ(text("编辑框2"), "recovered");
    EXPECT_TRUE(contains(readFileBytes(files_.file(L"fresh.ini")), "id=fresh\r\n"));
}

TEST_F(SaveQuestionTest, TheRealBoxIsAnInformationBoxOwnedByTheWindowWithItsThreeButtons) {
    replaceSaveQuestion(nullptr);
    ASSERT_TRUE(openItemFile(*window_, other_));
    struct Case {
        int button;
        std::string idAfter;
        bool saved;
    };
    for (const Case& c : {Case{IDCANCEL, "other", false}, Case{IDNO, "", false}}) {
        ASSERT_TRUE(openItemFile(*window_, other_));
        type("编辑框3", "changed");
        QuestionSeen seen;
        ModalWatch watch(L"#32770", answerWith(seen, c.button));
        pressChord({VK_CONTROL, 'N'});
        ASSERT_TRUE(watch.finish());
        EXPECT_EQ(seen.caption, "信息：");
        EXPECT_TRUE(seen.hasIcon);
        EXPECT_EQ(seen.buttons, (std::vector<std::string>{"保存", "不保存", "取消"}));
        EXPECT_EQ(seen.owner, window_->hwnd());
        EXPECT_TRUE(contains(seen.text, "other.ini")) << seen.text;
        EXPECT_EQ(text("编辑框2"), c.idAfter);
        EXPECT_FALSE(contains(readFileBytes(other_), "changed"));
    }
    ASSERT_TRUE(openItemFile(*window_, other_));
    type("编辑框3", "changed");
    QuestionSeen seen;
    ModalWatch watch(L"#32770", answerWith(seen, IDYES));
    pressChord({VK_CONTROL, 'N'});
    ASSERT_TRUE(watch.finish());
    EXPECT_EQ(text("编辑框2"), "");
    EXPECT_TRUE(contains(readFileBytes(other_), "display=changed\r\n"));
}

TEST_F(ItemFileTest, ClosingStillAsksNothingAndKeepsTheRecoveryFile) {
    type("编辑框2", "kept");
    keepRecoveryFile(*window_);
    EXPECT_TRUE(saveQuestions().empty());
    EXPECT_TRUE(contains(readFileBytes(userFolder_.file(L"recovery.ini")), "id=kept\r\n"));
}

TEST_F(ItemFileTest, OneCtrlXUndoesAWholeImport) {
    type("编辑框2", "old");
    type("编辑框9", "3");
    const std::string beforeImport =
        "/rpgitem my gem remove\r\n/rpgitem my gem create\r\n/rpgitem my gem display 宝石\r\n"
        "/rpgitem my gem lore 光\r\n/rpgitem my gem damage 5\r\n/rpgitem my gem give\r\nnot a command\r\n";
    setText("编辑框1", beforeImport);
    SetFocus(control("编辑框3"));
    pressChord({VK_CONTROL, 'I'});
    EXPECT_EQ(text("编辑框2"), "my gem");
    EXPECT_EQ(text("编辑框6"), "光");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(contains(messages()[0], "按一次 Ctrl+X")) << messages()[0];
    const std::string imported = output();
    EXPECT_NE(imported, beforeImport);
    SetFocus(control("编辑框1"));
    pressChord({VK_CONTROL, 'X'});
    EXPECT_EQ(output(), beforeImport) << "one Ctrl+X";
    pressChord({VK_CONTROL, 'Y'});
    EXPECT_EQ(output(), imported) << "one Ctrl+Y";
}

TEST_F(ItemFileTest, ControlCharactersComeBackThroughSaveAndOpenAndTheRecoveryFile) {
    type("编辑框2", "ctl");
    setText("编辑框3", "\x1B[1mbold\x07");
    setText("编辑框6", "lone\rCR and \\x1B");
    setText("编辑框13", "line\r\n\x1B escape\r\n");
    SendMessageW(control("列表框_技能"), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"aoe\ttick\x1B 5\r"));
    showFileState(*window_);
    const FormState filled = formState();
    const std::string composed = output();
    const std::wstring path = files_.file(L"control.ini");
    ASSERT_TRUE(saveItemFile(*window_, path));
    const std::string bytes = readFileBytes(path);
    EXPECT_EQ(bytes.find('\x1B'), std::string::npos) << "written escaped";
    EXPECT_TRUE(contains(bytes, "\\x1B[1mbold\\x07")) << bytes;
    newItem(*window_);
    ASSERT_TRUE(openItemFile(*window_, path));
    EXPECT_TRUE(messages().empty()) << messages().front();
    EXPECT_EQ(formState(), filled);
    EXPECT_EQ(output(), composed);
    keepRecoveryFile(*window_);
    answerSaveQuestionWith(SaveAnswer::Discard);
    newItem(*window_);
    recoverLastClosedItem(*window_);
    EXPECT_TRUE(messages().empty()) << messages().front();
    EXPECT_EQ(formState(), filled);
}

TEST_F(ItemFileTest, SavesWhereverAFileOpensEvenInAFolderNearThePathLimit) {
    for (size_t folderLength : {247u, 250u, 253u}) {
        std::wstring folder = files_.path() + L"\\";
        folder += std::wstring(folderLength - folder.size(), L'd');
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr)) << folderLength;
        const std::wstring path = folder + L"\\a.ini";
        ASSERT_LT(path.size(), static_cast<size_t>(MAX_PATH));
        type("编辑框2", "long" + std::to_string(folderLength));
        forgetMessages();
        ASSERT_TRUE(saveItemFile(*window_, path)) << (messages().empty() ? "" : messages().front());
        // Saving again replaces the file, which keeps its attributes.
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        type("编辑框3", "again");
        ASSERT_TRUE(saveItemFile(*window_, path)) << (messages().empty() ? "" : messages().front());
        EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) << "replaced, not renamed over";
        newItem(*window_);
        ASSERT_TRUE(openItemFile(*window_, path));
        EXPECT_EQ(text("编辑框2"), "long" + std::to_string(folderLength));
        EXPECT_EQ(text("编辑框3"), "again");
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
        RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
        newItem(*window_);
    }
}
