// Item files in the real window: the main menu and its keys, save, new and
// open, bad files, recent files, the recovery file, the command line,
// dropped files and the import from the output box.
#include <windows.h>

#include <dlgs.h>
#include <shlobj.h>

#include "skin/skin_engine.h"
#include "tests/win32/item_file_fixture.h"
#include "tests/win32/modal_watch.h"
#include "tests/win32/screenshot.h"
#include "ui/item_file_session.h"
#include "ui/item_files.h"
#include "ui/main_menu.h"
#include "ui/user_settings.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

std::vector<std::wstring> menuTexts(HMENU menu) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[512] = {};
        GetMenuStringW(menu, i, text, 512, MF_BYPOSITION);
        texts.emplace_back(text);
    }
    return texts;
}

UINT commandOf(std::string_view text) {
    for (const ui::MenuRow& row : ui::mainMenuRows()) {
        if (row.text == text) return row.id;
    }
    ADD_FAILURE() << "no menu row " << text;
    return 0;
}

int captionButton(HWND hwnd, int kind, skin::IntRect* paint = nullptr) {
    skin::SkinEngine* engine = skin::SkinEngine::current();
    skin::WindowRecord* r = engine->record(engine->registry().indexOf(hwnd));
    for (size_t n = 0; n < r->buttons.size(); ++n) {
        if (r->buttons[n].kind != kind) continue;
        if (paint) *paint = skin::buttonPaintRect(r->strip, r->buttons[n]);
        return static_cast<int>(n + 1);
    }
    return 0;
}

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST_F(ItemFileTest, MenuHoldsItsItemsWithTheirKeysAndTheRecentFiles) {
    HMENU empty = ui::buildMainMenu({});
    EXPECT_EQ(menuTexts(empty), (std::vector<std::wstring>{
                                    L"新建\tCtrl+N", L"打开…\tCtrl+O", L"保存\tCtrl+S", L"另存为…\tCtrl+Shift+S", L"",
                                    L"从输出框导入\tCtrl+I", L"", L"（没有最近的文件）", L"", L"恢复上次关闭时的物品",
                                    L"物品预览\tF2", L"", L"发送到服务器\tF5", L"发送多个物品到服务器…", L"服务器设置…"}));
    EXPECT_EQ(GetMenuState(empty, 7, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    DestroyMenu(empty);
    std::vector<std::wstring> recent;
    for (int i = 1; i <= 10; ++i) recent.push_back(L"C:\\物品\\a&b" + std::to_wstring(i) + L".ini");
    HMENU full = ui::buildMainMenu(recent);
    const auto texts = menuTexts(full);
    ASSERT_EQ(texts.size(), 22u) << "eight recent files at most";
    EXPECT_EQ(texts[7], L"&1 C:\\物品\\a&&b1.ini") << "a file's own & is no mnemonic";
    EXPECT_EQ(texts[14], L"&8 C:\\物品\\a&&b8.ini");
    EXPECT_EQ(GetMenuItemID(full, 7), ui::kFirstRecentFile);
    DestroyMenu(full);
}

TEST_F(ItemFileTest, MainMenuButtonOpensTheMenuUnderItAndItsItemRuns) {
    skin::IntRect button;
    const int index = captionButton(window_->hwnd(), skin::kMainMenu, &button);
    ASSERT_GT(index, 0);
    type("编辑框2", "sword");
    RECT menuRect{};
    std::vector<std::wstring> texts;
    ModalWatch watch(L"#32768", [&](HWND menuWindow) {
        GetWindowRect(menuWindow, &menuRect);
        texts = menuTexts(reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0)));
        PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);  // onto 新建
        PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    });
    skin::SkinEngine* engine = skin::SkinEngine::current();
    engine->CaptionCommand(engine->registry().indexOf(window_->hwnd()), index);
    ASSERT_TRUE(watch.finish());
    pumpMessages(50);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), L"新建\tCtrl+N");
    POINT under{button.x + button.w, button.y + button.h};
    ClientToScreen(window_->hwnd(), &under);
    EXPECT_NEAR(menuRect.right, under.x, 4) << "opens to the left, over the window";
    EXPECT_NEAR(menuRect.top, under.y, 6);
    EXPECT_EQ(text("编辑框2"), "") << "新建 emptied the form";
}

TEST_F(ItemFileTest, MenuScreenshot) {
    if (screenshotDirectory().empty()) GTEST_SKIP() << "RPGITEM_SCREENSHOT_DIR not set";
    for (const wchar_t* name : {L"长剑.ini", L"法杖.ini", L"弓.ini"}) {
        type("编辑框2", "x");
        ASSERT_TRUE(saveItemFile(*window_, files_.file(name)));
    }
    type("编辑框3", "§c烈焰之剑");
    RedrawWindow(window_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(400);
    bool saved = false;
    ModalWatch watch(L"#32768", [&](HWND menuWindow) {
        Sleep(500);  // painted by the menu's own loop meanwhile
        saved = saveWindowScreenshot(window_->hwnd(), L"main-menu");
        PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    skin::SkinEngine* engine = skin::SkinEngine::current();
    engine->CaptionCommand(engine->registry().indexOf(window_->hwnd()),
                           captionButton(window_->hwnd(), skin::kMainMenu));
    ASSERT_TRUE(watch.finish());
    EXPECT_TRUE(saved);
}

TEST_F(ItemFileTest, HelpButtonShowsTheTutorialAsItsButtonDoes) {
    const int index = captionButton(window_->hwnd(), skin::kHelp);
    ASSERT_GT(index, 0);
    skin::SkinEngine* engine = skin::SkinEngine::current();
    const int window = engine->registry().indexOf(window_->hwnd());
    engine->CaptionCommand(window, index);
    EXPECT_TRUE(IsWindowVisible(control("图片框1")));
    engine->CaptionCommand(window, index);
    EXPECT_FALSE(IsWindowVisible(control("图片框1")));
}

TEST_F(ItemFileTest, KeysWorkWhereverTheFocusIsAndTheBoxesKeepTheirOwn) {
    const std::wstring path = files_.file(L"keys.ini");
    for (const char* focus : {"编辑框3", "编辑框13", "编辑框1", "组合框_技能", "按钮4"}) {
        SCOPED_TRACE(focus);
        DeleteFileW(path.c_str());
        const size_t before = dialogs().size();
        answerDialogWith(std::nullopt);
        SetForegroundWindow(window_->hwnd());
        SetFocus(control(focus));
        pressChord({VK_CONTROL, 'O'});
        ASSERT_EQ(dialogs().size(), before + 1);
        EXPECT_FALSE(dialogs().back().save);
        answerDialogWith(path);
        pressChord({VK_CONTROL, VK_SHIFT, 'S'});
        ASSERT_EQ(dialogs().size(), before + 2);
        EXPECT_TRUE(dialogs().back().save);
        EXPECT_NE(readFileBytes(path), "<missing>") << "saved through the dialog's answer";
        pressChord({VK_CONTROL, 'S'});
        EXPECT_EQ(dialogs().size(), before + 2) << "a named item saves without a dialog";
    }
    // Ctrl+X and Ctrl+Y stay the output box's history keys.
    type("编辑框2", "k");
    SetFocus(control("编辑框1"));
    pressChord({VK_CONTROL, 'X'});
    EXPECT_EQ(output(), "/rpgitem k remove\r\n/rpgitem k create\r\n");
    pressChord({VK_CONTROL, 'Y'});
    EXPECT_EQ(output(), "/rpgitem k remove\r\n/rpgitem k create\r\n/rpgitem k give\r\n");
    // Plain letters still reach the box with the focus.
    SetFocus(control("编辑框3"));
    pressChord({'S'});
    EXPECT_EQ(text("编辑框3"), "s");
    pressChord({VK_CONTROL, 'N'});
    EXPECT_EQ(text("编辑框2"), "");
    EXPECT_EQ(text("编辑框3"), "");
}

TEST_F(ItemFileTest, SaveNewOpenGivesBackEveryControlAndTheSameOutput) {
    const FormState empty = formState();
    fillForm();
    const FormState filled = formState();
    const std::string composed = output();
    ASSERT_NE(filled, empty);
    ASSERT_FALSE(composed.empty());
    const std::wstring path = files_.file(L"全部.ini");
    answerDialogWith(path);
    pressChord({VK_CONTROL, 'S'});
    ASSERT_TRUE(messages().empty()) << messages().front();
    const std::string bytes = readFileBytes(path);
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF")) << "UTF-8 with a byte-order mark";
    EXPECT_EQ(bytes.find("\n"), bytes.find("\r\n") + 1) << "CR LF";
    pressChord({VK_CONTROL, 'N'});
    EXPECT_EQ(formState(), empty);
    EXPECT_EQ(output(), "");
    answerDialogWith(path);
    pressChord({VK_CONTROL, 'O'});
    EXPECT_TRUE(messages().empty());
    const FormState opened = formState();
    for (const auto& [name, state] : filled) EXPECT_EQ(opened.at(name), state) << name;
    EXPECT_EQ(output(), composed) << "byte for byte";
    EXPECT_EQ(dialogs().back().folder, files_.path()) << "the dialog starts in the folder last used";
}

TEST_F(ItemFileTest, HandEditedOutputComesBackAfterTheForm) {
    type("编辑框2", "axe");
    const std::string composed = output();
    setText("编辑框1", composed + "/rpgitem axe lore 手写\r\n");
    const std::string edited = output();
    const std::wstring path = files_.file(L"axe.ini");
    ASSERT_TRUE(saveItemFile(*window_, path));
    newItem(*window_);
    ASSERT_TRUE(openItemFile(*window_, path));
    EXPECT_EQ(output(), edited);
    SetFocus(control("编辑框1"));
    pressChord({VK_CONTROL, 'X'});
    EXPECT_EQ(output(), composed) << "the composition lies one step back";
}

TEST_F(ItemFileTest, TitleNamesTheFileAndMarksChanges) {
    const std::string base = title();
    type("编辑框2", "bow");
    EXPECT_EQ(title(), base + " — 未保存 *");
    const std::wstring path = files_.file(L"bow.ini");
    ASSERT_TRUE(saveItemFile(*window_, path));
    EXPECT_EQ(title(), base + " — bow.ini");
    type("编辑框3", "x");
    EXPECT_EQ(title(), base + " — bow.ini *");
    setText("编辑框3", "");
    EXPECT_EQ(title(), base + " — bow.ini") << "back as saved";
    click("选择框1");
    EXPECT_EQ(title(), base + " — bow.ini *");
    newItem(*window_);
    EXPECT_EQ(title(), base);
    ASSERT_TRUE(openItemFile(*window_, path));
    EXPECT_EQ(title(), base + " — bow.ini");
    RECT label;
    GetClientRect(control("透明标签32"), &label);
    HDC dc = GetDC(control("透明标签32"));
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control("透明标签32"), WM_GETFONT, 0, 0)));
    SIZE size;
    const std::wstring shown = wide(title());
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    ReleaseDC(control("透明标签32"), dc);
    EXPECT_GE(label.right, size.cx) << "the whole title fits its label";
}

TEST_F(ItemFileTest, BadFilesSayWhatIsWrongAndLeaveTheFormAlone) {
    const std::wstring good = files_.file(L"good.ini");
    type("编辑框2", "good");
    ASSERT_TRUE(saveItemFile(*window_, good));
    const std::string goodBytes = readFileBytes(good);
    type("编辑框3", "unsaved");
    struct Case {
        const wchar_t* name;
        std::string bytes;  // written unless empty name below
        const char* problem;
    };
    const std::string truncated = goodBytes.substr(0, goodBytes.size() / 2) + "x=<<<END_OF_TEXT\r\nhalf";
    const Case cases[] = {
        {L"missing.ini", "", "不存在"},
        {L"empty.ini", "", "空"},
        {L"binary.ini", std::string("\x00\x01\x02\xFF\xFE\x00PK\x03\x04", 11), "二进制"},
        {L"truncated.ini", truncated, "不完整"},
        {L"wrong-kind.ini", "", "maybe"},
    };
    const FormState before = formState();
    const std::string output0 = output(), title0 = title();
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8(c.name));
        const std::wstring path = files_.file(c.name);
        if (std::wstring_view(c.name) == L"wrong-kind.ini") {
            const editor::ItemFileField* check = editor::itemFileFieldOf("选择框1");
            ASSERT_TRUE(check);
            writeFileBytes(
                path, "\xEF\xBB\xBF[" + std::string(check->section) + "]\r\n" + std::string(check->key) + "=maybe\r\n");
        } else if (std::wstring_view(c.name) != L"missing.ini") {
            writeFileBytes(path, c.bytes);
        }
        forgetMessages();
        EXPECT_FALSE(openItemFile(*window_, path));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(contains(messages()[0], utf8(path))) << messages()[0];
        EXPECT_TRUE(contains(messages()[0], c.problem)) << messages()[0];
        EXPECT_EQ(lastMessageIcon(), MessageIcon::Warning) << "a file that cannot be opened is a warning";
        EXPECT_EQ(formState(), before);
        EXPECT_EQ(output(), output0);
        EXPECT_EQ(title(), title0);
    }
}

TEST_F(ItemFileTest, LockedAndHugeFilesAreRefusedBeforeReading) {
    const std::wstring locked = files_.file(L"locked.ini"), huge = files_.file(L"huge.ini");
    ASSERT_TRUE(saveItemFile(*window_, locked));
    HANDLE big = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size{};
    size.QuadPart = 50LL * 1024 * 1024;
    SetFilePointerEx(big, size, nullptr, FILE_BEGIN);
    SetEndOfFile(big);
    CloseHandle(big);
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    type("编辑框2", "keep");
    const FormState before = formState();
    forgetMessages();
    EXPECT_FALSE(openItemFile(*window_, locked));
    EXPECT_FALSE(openItemFile(*window_, huge));
    CloseHandle(holder);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(contains(messages()[0], "占用")) << messages()[0];
    EXPECT_TRUE(contains(messages()[1], "太大")) << messages()[1];
    EXPECT_TRUE(contains(messages()[1], utf8(huge)));
    EXPECT_EQ(formState(), before);
}

TEST_F(ItemFileTest, FailedSavesLeaveTheOldFileAndNoTemporaryFile) {
    const std::wstring readOnly = files_.file(L"readonly.ini"), locked = files_.file(L"locked.ini");
    type("编辑框2", "old");
    ASSERT_TRUE(saveItemFile(*window_, readOnly));
    ASSERT_TRUE(saveItemFile(*window_, locked));
    const std::string oldBytes = readFileBytes(readOnly);
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    type("编辑框2", "new");
    forgetMessages();
    EXPECT_FALSE(saveItemFile(*window_, readOnly));
    EXPECT_FALSE(saveItemFile(*window_, locked));
    EXPECT_FALSE(saveItemFile(*window_, files_.file(L"no such folder\\x.ini")));
    CloseHandle(holder);
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_TRUE(contains(messages()[0], "只读")) << messages()[0];
    EXPECT_TRUE(contains(messages()[0], utf8(readOnly)));
    EXPECT_TRUE(contains(messages()[2], "文件夹不存在")) << messages()[2];
    for (const std::string& message : messages()) EXPECT_TRUE(contains(message, "原来的文件没有改动")) << message;
    EXPECT_EQ(lastMessageIcon(), MessageIcon::Error) << "a failed save is an error";
    EXPECT_EQ(readFileBytes(readOnly), oldBytes);
    EXPECT_EQ(readFileBytes(locked), oldBytes);
    auto names = files_.names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"locked.ini", L"readonly.ini"})) << "no temporary file left";
    EXPECT_EQ(window_->itemFiles().path, locked) << "the open file stays the last one saved";
}

TEST_F(ItemFileTest, UnknownSectionsAndKeysSurviveASave) {
    const std::wstring path = files_.file(L"extra.ini");
    type("编辑框2", "extra");
    ASSERT_TRUE(saveItemFile(*window_, path));
    const editor::ItemFileField* id = editor::itemFileFieldOf("编辑框2");
    ASSERT_TRUE(id);
    std::string bytes = readFileBytes(path);
    const std::string header = "[" + std::string(id->section) + "]\r\n";
    ASSERT_NE(bytes.find(header), std::string::npos);
    bytes.insert(bytes.find(header) + header.size(), "future_key=一 二\r\n");
    bytes += "\r\n[plugin-notes]\r\nowner=admin\r\n";
    writeFileBytes(path, bytes);
    ASSERT_TRUE(openItemFile(*window_, path));
    type("编辑框3", "changed");
    pressChord({VK_CONTROL, 'S'});
    const std::string saved = readFileBytes(path);
    EXPECT_TRUE(contains(saved, "future_key=一 二\r\n")) << saved;
    EXPECT_TRUE(contains(saved, "[plugin-notes]\r\nowner=admin\r\n")) << saved;
    EXPECT_TRUE(contains(saved, "changed"));
}

TEST_F(ItemFileTest, RecentFilesMostRecentFirstKeptAcrossWindowsAndGoneOnesDropped) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < 10; ++i) {
        paths.push_back(files_.file(L"r" + std::to_wstring(i) + L".ini"));
        type("编辑框2", std::to_string(i));
        ASSERT_TRUE(saveItemFile(*window_, paths.back()));
    }
    ASSERT_TRUE(openItemFile(*window_, paths[5]));
    const std::vector<std::wstring> expected{paths[5], paths[9], paths[8], paths[7],
                                             paths[6], paths[4], paths[3], paths[2]};
    EXPECT_EQ(window_->itemFiles().recentFiles, expected);
    // Another window of the same user reads them back.
    window_.reset();
    EditorWindowTest::SetUp();
    EXPECT_EQ(window_->itemFiles().recentFiles, expected);
    runMenuCommand(ui::kFirstRecentFile + 1);
    EXPECT_EQ(window_->itemFiles().path, paths[9]);
    EXPECT_EQ(text("编辑框2"), "0123456789") << "the file as saved: the id typed so far";
    DeleteFileW(paths[8].c_str());
    forgetMessages();
    runMenuCommand(ui::kFirstRecentFile + 2);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(contains(messages()[0], utf8(paths[8]))) << messages()[0];
    EXPECT_EQ(window_->itemFiles().recentFiles.size(), 7u);
    EXPECT_EQ(window_->itemFiles().path, paths[9]) << "nothing else happened";
    ItemFileSession reread;
    reread.userFolder = userFolder_.path();
    loadUserSettings(reread);
    EXPECT_EQ(reread.recentFiles, window_->itemFiles().recentFiles);
}

TEST_F(ItemFileTest, ClosingKeepsTheFormForRecovery) {
    const std::wstring path = files_.file(L"closing.ini");
    type("编辑框2", "spear");
    ASSERT_TRUE(saveItemFile(*window_, path));
    type("编辑框3", "unsaved name");
    click("选择框2");
    const FormState atClosing = formState();
    const std::string outputAtClosing = output();
    SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_->hwnd())) << "closing asks nothing";
    EXPECT_TRUE(messages().empty());
    window_.reset();
    EditorWindowTest::SetUp();
    const FormState fresh = formState();
    runMenuCommand(commandOf("恢复上次关闭时的物品"));
    EXPECT_EQ(formState(), atClosing);
    EXPECT_EQ(output(), outputAtClosing);
    EXPECT_EQ(window_->itemFiles().path, path) << "the file that was open";
    EXPECT_TRUE(title().ends_with(" — closing.ini *")) << title();
    // An empty form at closing keeps the recovery file as it was.
    newItem(*window_);
    EXPECT_EQ(formState(), fresh);
    SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);
    window_.reset();
    EditorWindowTest::SetUp();
    runMenuCommand(commandOf("恢复上次关闭时的物品"));
    EXPECT_EQ(formState(), atClosing);
}

TEST_F(ItemFileTest, RecoveryWithoutAFileSaysSo) {
    runMenuCommand(commandOf("恢复上次关闭时的物品"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "没有上次关闭时的物品。");
}

TEST_F(ItemFileTest, CommandLineOpensItsFile) {
    const std::wstring path = files_.file(L"命令 行.ini");
    type("编辑框2", "staff");
    ASSERT_TRUE(saveItemFile(*window_, path));
    newItem(*window_);
    openCommandLineFile(*window_, (L"rpgitem-editor.exe \"" + path + L"\"").c_str());
    EXPECT_EQ(text("编辑框2"), "staff");
    EXPECT_EQ(window_->itemFiles().path, path);
    newItem(*window_);
    openCommandLineFile(*window_, L"rpgitem-editor.exe");
    EXPECT_EQ(text("编辑框2"), "") << "no argument, no file";
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(files_.path().c_str());
    openCommandLineFile(*window_, L"rpgitem-editor.exe \"命令 行.ini\"");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(window_->itemFiles().path, path) << "a relative name is made whole";
}

TEST_F(ItemFileTest, DroppedIniFileOpensAndOtherTextFilesImport) {
    const std::wstring item = files_.file(L"dropped.ini"), commands = files_.file(L"commands.txt");
    type("编辑框2", "club");
    ASSERT_TRUE(saveItemFile(*window_, item));
    newItem(*window_);
    PostMessageW(window_->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(item)), 0);
    pumpMessages(20);
    EXPECT_EQ(text("编辑框2"), "club");
    EXPECT_EQ(window_->itemFiles().path, item);
    // Code page 936 without a byte-order mark, as Notepad on a Chinese system writes it.
    writeFileBytes(commands,
                   "/rpgitem mace create\r\n/rpgitem mace display \xD6\xD0\xCE\xC4\r\n/rpgitem other give\r\n");
    PostMessageW(window_->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(commands)), 0);
    pumpMessages(20);
    EXPECT_EQ(text("编辑框2"), "mace");
    EXPECT_EQ(text("编辑框3"), "中文");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(contains(messages()[0], "/rpgitem other give")) << messages()[0];
    EXPECT_EQ(window_->itemFiles().path, item) << "an import opens no file";
    writeFileBytes(commands, std::string("\x00\x01\x02", 3));
    forgetMessages();
    PostMessageW(window_->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(commands)), 0);
    pumpMessages(20);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(contains(messages()[0], "不是文本文件")) << messages()[0];
    EXPECT_EQ(text("编辑框2"), "mace");
}

TEST_F(ItemFileTest, ImportFromTheOutputBoxListsWhatItCouldNotRead) {
    type("编辑框2", "old");
    const std::string beforeImport =
        "/rpgitem gem create\r\n/rpgitem gem display 宝石\r\nhello\r\n"
        "/rpgitem gem damage 5\r\n/rpgitem gem flyto moon\r\n/rpgitem other lore x\r\n";
    setText("编辑框1", beforeImport);
    SetFocus(control("编辑框3"));
    pressChord({VK_CONTROL, 'I'});
    EXPECT_EQ(text("编辑框2"), "gem");
    EXPECT_EQ(text("编辑框3"), "宝石");
    EXPECT_EQ(text("编辑框9"), "5");
    ASSERT_EQ(messages().size(), 1u);
    const std::string& message = messages()[0];
    EXPECT_TRUE(contains(message, "3")) << message;
    for (const char* line : {"hello", "/rpgitem gem flyto moon", "/rpgitem other lore x"}) {
        EXPECT_TRUE(contains(message, line)) << message;
    }
    // The output before the import is still in the history.
    SetFocus(control("编辑框1"));
    bool reached = false;
    for (size_t i = 0; i < window_->history().size() && !reached; ++i) {
        pressChord({VK_CONTROL, 'X'});
        reached = output() == beforeImport;
    }
    EXPECT_TRUE(reached);
    forgetMessages();
    setText("编辑框1", "no commands here\r\n");
    importFromOutput(*window_);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(text("编辑框2"), "gem") << "nothing to import changes nothing";
}

TEST(ItemFileDialogs, FilterAndExtensionComeFromTheLayout) {
    EXPECT_EQ(dialogFilter("配置文件（*.ini）|*.ini"), std::wstring(L"配置文件（*.ini）\0*.ini\0\0", 19));
    EXPECT_EQ(defaultExtension("配置文件（*.ini）|*.ini"), L"ini");
    EXPECT_EQ(defaultExtension("文本|*.txt;*.log"), L"txt");
    EXPECT_EQ(defaultExtension("无"), L"");
}

TEST_F(ItemFileTest, SaveAsOffersTheItemsNameInTheLastFolder) {
    type("编辑框2", "hammer");
    answerDialogWith(std::nullopt);
    saveItemAs(*window_);
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_TRUE(dialogs()[0].save);
    EXPECT_EQ(dialogs()[0].name, L"hammer.ini");
    EXPECT_EQ(dialogs()[0].folder, L"") << "no folder used yet";
    EXPECT_EQ(window_->itemFiles().path, L"") << "cancelled: nothing saved";
    answerDialogWith(files_.file(L"h.ini"));
    saveItemAs(*window_);
    answerDialogWith(std::nullopt);
    saveItemAs(*window_);
    EXPECT_EQ(dialogs()[2].folder, files_.path());
    EXPECT_EQ(dialogs()[2].name, L"h.ini");
}

TEST_F(ItemFileTest, RealSaveDialogOffersTheIniFilterAndAddsTheExtension) {
    replaceFileChooser(nullptr);  // the system's own dialog this time
    type("编辑框2", "real");
    const std::wstring typed = files_.file(L"from-dialog");
    std::string filterShown;
    ModalWatch watch(L"#32770", [&](HWND dialog) {
        Sleep(300);
        filterShown = windowText(GetDlgItem(dialog, cmb1));
        HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    });
    saveItemAs(*window_);
    ASSERT_TRUE(watch.finish());
    EXPECT_EQ(filterShown, "配置文件（*.ini）");
    EXPECT_EQ(window_->itemFiles().path, typed + L".ini") << "the default extension";
    EXPECT_NE(readFileBytes(typed + L".ini"), "<missing>");
}
