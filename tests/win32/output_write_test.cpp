// A recomposition writes into the output box only the lines that changed,
// and leaves the same text, caret, scroll position and history as a whole
// rewrite of the box would.
#include <cwchar>
#include <functional>

#include "tests/win32/window_fixture.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

// What the output box's window procedure received.
struct Writes {
    int replacements = 0;
    std::size_t replaced = 0;  // characters selected when a replacement came
    std::size_t inserted = 0;
    int wholeTexts = 0;
};

Writes seen;
WNDPROC boxProcedure = nullptr;

LRESULT CALLBACK watchWrites(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == EM_REPLACESEL) {
        DWORD start = 0, end = 0;
        CallWindowProcW(boxProcedure, box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        ++seen.replacements;
        seen.replaced += end - start;
        seen.inserted += std::wcslen(reinterpret_cast<const wchar_t*>(lParam));
    }
    if (msg == WM_SETTEXT) ++seen.wholeTexts;
    return CallWindowProcW(boxProcedure, box, msg, wParam, lParam);
}

using Lines = std::vector<std::string>;

std::size_t utf16Length(const Lines& lines, std::size_t from, std::size_t to) {
    std::size_t length = 0;
    for (std::size_t i = from; i < to; ++i) length += wide(lines[i]).size() + 2;  // CR LF
    return length;
}

}  // namespace

class OutputWriteTest : public EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        boxProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control("编辑框1"), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchWrites)));
    }
    void TearDown() override {
        SetWindowLongPtrW(control("编辑框1"), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(boxProcedure));
        EditorWindowTest::TearDown();
    }

    void choose(std::string_view combo, int index) {
        HWND box = control(combo);
        SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box));
        pumpMessages();
    }

    // An area-of-effect skill of `power`, added with its button.
    void addSkill(std::string_view power) {
        choose("组合框_技能", 16);
        choose("组合框_触发1", 0);
        setWindowText(control("编辑框威力"), power);
        click("按钮4");
    }

    // The first skill, chosen with the left button and deleted from its menu.
    void deleteFirstSkill() {
        SendMessageW(control("列表框_技能"), LB_SETCURSEL, 0, 0);
        const UINT item = GetMenuItemID(window_->popupMenu("技能"), 0);
        SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(item, 0), 0);
        pumpMessages();
    }

    int firstVisibleLine() const {
        return static_cast<int>(SendMessageW(control("编辑框1"), EM_GETFIRSTVISIBLELINE, 0, 0));
    }
};

TEST_F(OutputWriteTest, RecompositionReplacesOnlyTheChangedLines) {
    type("编辑框2", "x");
    type("编辑框3", "神剑");
    std::string description;
    for (int i = 0; i < 30; ++i) description += "第" + std::to_string(i) + "行\r\n";
    setText("编辑框13", description);
    addSkill("1");
    addSkill("2");
    choose("组合框_掉落", 0);
    type("编辑框_掉落", "2");

    struct Edit {
        const char* what;
        std::function<void()> make;
    };
    const Edit edits[] = {
        {"the first line a field writes", [this] { type("编辑框3", "!"); }},
        {"a line in the middle", [this] { type("编辑框9", "7"); }},
        {"the last line a field writes, before give", [this] { type("编辑框_掉落", "5"); }},
        {"a power added", [this] { addSkill("3"); }},
        {"a power deleted", [this] { deleteFirstSkill(); }},
        {"the id: every line", [this] { type("编辑框2", "y"); }},
    };
    for (const Edit& edit : edits) {
        const Lines before = outputLines();
        const std::size_t entriesBefore = window_->history().size();
        seen = {};
        edit.make();
        const Lines after = outputLines();
        ASSERT_NE(after, before) << edit.what;

        // The lines that differ: those between the common first and last ones.
        std::size_t first = 0, last = 0;
        while (first < before.size() && first < after.size() && before[first] == after[first]) ++first;
        while (last < before.size() - first && last < after.size() - first &&
               before[before.size() - 1 - last] == after[after.size() - 1 - last]) {
            ++last;
        }
        EXPECT_EQ(seen.wholeTexts, 0) << edit.what;
        EXPECT_EQ(seen.replacements, 1) << edit.what;
        EXPECT_EQ(seen.replaced, utf16Length(before, first, before.size() - last)) << edit.what;
        EXPECT_EQ(seen.inserted, utf16Length(after, first, after.size() - last)) << edit.what;

        // The same history as a whole rewrite: the emptied box, then each line appended.
        std::string text;
        Lines expected{""};
        for (const std::string& line : after) expected.push_back(text += line + "\r\n");
        const output::OutputHistory& history = window_->history();
        Lines recorded;
        for (auto i = static_cast<int>(entriesBefore); i < static_cast<int>(history.size()); ++i) {
            recorded.push_back(history.entry(i));
        }
        EXPECT_EQ(recorded, expected) << edit.what;
        EXPECT_EQ(window_->output().text(), text) << edit.what;
        EXPECT_EQ(output(), text) << edit.what;

        // The caret and the view as a whole rewrite leaves them.
        HWND box = control("编辑框1");
        DWORD start = 0, end = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, wide(text).size()) << edit.what;
        EXPECT_EQ(end, wide(text).size()) << edit.what;
        const int shownLine = firstVisibleLine();
        SetWindowTextW(box, wide(text).c_str());
        SendMessageW(box, EM_SETSEL, end, end);
        SendMessageW(box, EM_SCROLLCARET, 0, 0);
        EXPECT_EQ(shownLine, firstVisibleLine()) << edit.what;
    }
}
