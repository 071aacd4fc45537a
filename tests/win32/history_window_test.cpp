// The output box's history in the real window, driven by real key presses.
#include "tests/win32/window_fixture.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

// Presses the keys down in order and releases them in reverse, as a user
// holding a chord would, through the system's input queue.
void pressChord(std::initializer_list<BYTE> keys) {
    for (BYTE key : keys) keybd_event(key, 0, 0, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
    pumpMessages(60);
}

}  // namespace

class OutputHistoryTest : public EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        SetForegroundWindow(window_->hwnd());
        SetFocus(control("编辑框1"));
        pumpMessages(50);
    }
    const output::OutputHistory& history() const { return window_->history(); }
    std::vector<std::string> entries() const {
        std::vector<std::string> all;
        for (int i = 0; i < static_cast<int>(history().size()); ++i) all.push_back(history().entry(i));
        return all;
    }
};

TEST_F(OutputHistoryTest, CompositionRecordsEveryPrefix) {
    type("编辑框2", "x");
    const std::string l1 = "/rpgitem x remove\r\n", l2 = "/rpgitem x create\r\n", l3 = "/rpgitem x give\r\n";
    // The first keystroke's composition: the empty text and each longer prefix.
    EXPECT_EQ(entries(), (std::vector<std::string>{"", l1, l1 + l2, l1 + l2 + l3}));
    EXPECT_EQ(history().cursor(), 3);
}

TEST_F(OutputHistoryTest, CtrlXStepsBackAndCtrlYForward) {
    type("编辑框2", "x");
    const std::string full = output();
    SetFocus(control("编辑框1"));
    pressChord({VK_CONTROL, 'X'});
    EXPECT_EQ(output(), "/rpgitem x remove\r\n/rpgitem x create\r\n");
    EXPECT_EQ(history().cursor(), 2);
    EXPECT_EQ(history().size(), 5u);
    pressChord({VK_CONTROL, 'X'});
    EXPECT_EQ(output(), "/rpgitem x remove\r\n");
    pressChord({VK_CONTROL, 'Y'});
    EXPECT_EQ(output(), "/rpgitem x remove\r\n/rpgitem x create\r\n");
    pressChord({VK_CONTROL, 'Y'});
    EXPECT_EQ(output(), "/rpgitem x remove\r\n/rpgitem x create\r\n") << "the full text is no longer reachable";
    EXPECT_NE(output(), full);
}

TEST_F(OutputHistoryTest, OtherModifiersChangeNothing) {
    type("编辑框2", "x");
    SetFocus(control("编辑框1"));
    const std::string before = output();
    const auto entriesBefore = entries();
    pressChord({VK_CONTROL, VK_SHIFT, 'X'});
    pressChord({VK_CONTROL, VK_MENU, 'Y'});
    pressChord({'X'});  // a plain X is typed at the caret like any letter
    EXPECT_EQ(output(), before + "x");
    EXPECT_EQ(history().size(), entriesBefore.size() + 1);
    EXPECT_EQ(history().entry(static_cast<int>(entriesBefore.size()) - 1), before);
}

TEST_F(OutputHistoryTest, HandEditAfterUndoDropsLaterEntries) {
    type("编辑框2", "x");
    SetFocus(control("编辑框1"));
    pressChord({VK_CONTROL, 'X'});
    const std::string restored = output();
    type("编辑框1", "!");
    EXPECT_EQ(output(), restored + "!");
    EXPECT_EQ(history().size(), 4u);
    EXPECT_EQ(history().entry(3), restored + "!");
    EXPECT_EQ(history().cursor(), 3);
    pressChord({VK_CONTROL, 'Y'});
    EXPECT_EQ(output(), restored + "!") << "nothing after the edit to redo";
}

TEST_F(OutputHistoryTest, CtrlXCutsTheSelectionWhenThereIsNothingToRestore) {
    type("编辑框1", "ab");
    pressChord({VK_CONTROL, 'X'});
    EXPECT_EQ(output(), "a");
    ASSERT_EQ(history().cursor(), 0);
    SendMessageW(control("编辑框1"), EM_SETSEL, 0, -1);
    pressChord({VK_CONTROL, 'X'});
    EXPECT_EQ(output(), "") << "the box's own Ctrl+X cut the selection";
    EXPECT_EQ(entries(), (std::vector<std::string>{"a", ""}));
}

TEST_F(OutputHistoryTest, RestoreClearsTheSelectionSoCtrlXCutsNothing) {
    type("编辑框2", "x");
    SetFocus(control("编辑框1"));
    SendMessageW(control("编辑框1"), EM_SETSEL, 0, -1);
    pressChord({VK_CONTROL, 'X'});
    EXPECT_EQ(output(), "/rpgitem x remove\r\n/rpgitem x create\r\n");
}

TEST_F(OutputHistoryTest, HiddenButtonsUndoAndRedo) {
    type("编辑框2", "x");
    SendMessageW(control("按钮6"), BM_CLICK, 0, 0);
    pumpMessages();
    EXPECT_EQ(output(), "/rpgitem x remove\r\n/rpgitem x create\r\n");
    SendMessageW(control("按钮5"), BM_CLICK, 0, 0);
    pumpMessages();
    EXPECT_EQ(output(), "/rpgitem x remove\r\n/rpgitem x create\r\n/rpgitem x give\r\n");
}

TEST_F(OutputHistoryTest, EmptyHistoryIgnoresTheKeys) {
    pressChord({VK_CONTROL, 'X'});
    pressChord({VK_CONTROL, 'Y'});
    EXPECT_EQ(output(), "");
    EXPECT_EQ(history().size(), 0u);
}

TEST_F(OutputHistoryTest, TheControlShowsWhatTheHistoryRecorded) {
    type("编辑框2", "sword");
    type("编辑框3", "神剑");
    EXPECT_EQ(windowText(control("编辑框1")), history().entry(history().cursor()));
    DWORD start = 0, end = 0;
    SendMessageW(control("编辑框1"), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(static_cast<int>(end), GetWindowTextLengthW(control("编辑框1"))) << "caret at the end";
}
