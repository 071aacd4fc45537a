// What the walk through the main window showed: the skill combo box draws
// its choice alike in every state and leaves no trace after 新建, the text
// of every label fits its place, the 主菜单 button is not left lit after its
// menu, and drop-down lists are as wide as their longest item.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/layout.h"
#include "skin/skin_engine.h"
#include "tests/win32/modal_watch.h"
#include "tests/win32/window_fixture.h"
#include "ui/information_box.h"
#include "ui/item_files.h"
#include "ui/static_controls.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

// Dark pixels (text) of a combo box's own text area.
struct Ink {
    int count = 0, top = 1000, bottom = -1, left = 1000, right = -1;
    bool operator==(const Ink&) const = default;
};

Ink inkOf(HWND combo) {
    Ink ink;
    RECT window;
    GetWindowRect(combo, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    HDC dc = GetWindowDC(combo);
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 20; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if ((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3 < 110) {
                ++ink.count;
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
        }
    }
    ReleaseDC(combo, dc);
    return ink;
}

ui::SaveAnswer discardChanges(HWND, std::string_view) { return ui::SaveAnswer::Discard; }

class MainWindowLookTest : public EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        previousQuestion_ = replaceSaveQuestion(discardChanges);  // 新建 over a changed form: 不保存
    }
    void TearDown() override {
        replaceSaveQuestion(previousQuestion_);
        EditorWindowTest::TearDown();
    }
    SaveQuestion previousQuestion_ = nullptr;
    void choose(std::string_view name, int index) {
        HWND box = control(name);
        SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box));
        settle();
    }
    void settle() {
        RedrawWindow(window_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pumpMessages(100);
    }
};

TEST_F(MainWindowLookTest, TheSkillComboBoxDrawsItsChoiceAlikeInEveryState) {
    HWND combo = control("组合框_技能");
    choose("组合框_技能", 4);  // "4.弹射[随意]"
    const Ink chosen = inkOf(combo);
    EXPECT_GT(chosen.count, 20);
    EXPECT_LE(chosen.bottom - chosen.top + 1, 13) << "one row of 12-pixel text, not a wrapped larger font";
    RECT window;
    GetWindowRect(combo, &window);
    EXPECT_LT(chosen.right, window.right - window.left - 17) << "the text stays left of the drop button";

    SetFocus(combo);
    settle();
    EXPECT_EQ(inkOf(combo), chosen) << "focused";

    newItem(*window_);
    settle();
    EXPECT_EQ(inkOf(combo).count, 0) << "no trace of the skill after 新建";

    // Opening a file sets the choice without a notification.
    SendMessageW(combo, CB_SETCURSEL, 4, 0);
    pumpMessages(100);
    EXPECT_EQ(inkOf(combo), chosen) << "as an opened file sets it";
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    pumpMessages(100);
    EXPECT_EQ(inkOf(combo).count, 0) << "as 新建 clears it";
}

TEST_F(MainWindowLookTest, EveryLabelsTextFitsItsPlace) {
    for (const editor::Control& spec : editor::controls()) {
        if (spec.kind != editor::ControlKind::Label || spec.text.empty()) continue;
        HWND label = control(spec.name);
        const std::wstring text = windowTextW(label);
        if (text.find(L'\n') != std::wstring::npos) continue;  // several lines wrap in their box
        RECT client;
        GetClientRect(label, &client);
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, labelDrawingFont(label));
        RECT need{0, 0, 0, 0};
        // "&" marks a mnemonic, as the label draws it.
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need, DT_CALCRECT | DT_SINGLELINE | DT_HIDEPREFIX);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        EXPECT_LE(need.right, client.right) << spec.name << " \"" << spec.text << "\"";
        // Narrowed only as far as needed: as high as the label's own font.
        LOGFONTW own{}, drawn{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof own, &own);
        GetObjectW(labelDrawingFont(label), sizeof drawn, &drawn);
        if (own.lfHeight != 0) {
            EXPECT_EQ(drawn.lfHeight, own.lfHeight) << spec.name;
        }
    }
}

// The font a label draws in is chosen again whenever its font or its text
// changes: a wider font or a longer text is narrowed to fit, the label's
// own font comes back where the text fits in it.
TEST_F(MainWindowLookTest, TheDrawingFontFollowsTheLabelsFontAndText) {
    HWND label = nullptr;
    for (const editor::Control& spec : editor::controls()) {
        if (spec.kind == editor::ControlKind::Label && spec.text.size() >= 4 && spec.text.find('\n') == std::string::npos &&
            spec.visible) {
            label = control(spec.name);
            break;
        }
    }
    ASSERT_TRUE(label);
    RECT client;
    GetClientRect(label, &client);
    auto widthIn = [label](HFONT font) {
        const std::wstring text = windowTextW(label);
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, font);
        RECT need{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need, DT_CALCRECT | DT_SINGLELINE | DT_HIDEPREFIX);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        return need.right;
    };
    const HFONT own = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    const std::wstring text = windowTextW(label);
    HFONT wide = CreateFontW(-16, 30, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"宋体");
    const struct {
        HFONT font;
        std::wstring text;
        bool narrowed;
    } steps[] = {{own, text, false}, {wide, text, true}, {own, text, false}, {own, text + text + text, true},
                 {own, text, false}};
    for (const auto& step : steps) {
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(step.font), FALSE);
        SetWindowTextW(label, step.text.c_str());
        const HFONT drawn = labelDrawingFont(label);
        EXPECT_LE(widthIn(drawn), client.right) << step.text.size() << (step.font == wide ? " wide" : " own");
        EXPECT_EQ(drawn != step.font, step.narrowed) << step.text.size() << (step.font == wide ? " wide" : " own");
        LOGFONTW asked{}, used{};
        GetObjectW(step.font, sizeof asked, &asked);
        GetObjectW(drawn, sizeof used, &used);
        EXPECT_EQ(used.lfHeight, asked.lfHeight) << "as high as the font it was given";
    }
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);
    DeleteObject(wide);
}

TEST_F(MainWindowLookTest, TheMainMenuButtonRestsAgainOnceItsMenuHasClosed) {
    skin::SkinEngine* engine = skin::SkinEngine::current();
    const int index = engine->registry().indexOf(window_->hwnd());
    skin::WindowRecord* r = engine->record(index);
    ASSERT_TRUE(r);
    int button = 0;
    for (size_t n = 0; n < r->buttons.size(); ++n) {
        if (r->buttons[n].kind == skin::kMainMenu) button = static_cast<int>(n + 1);
    }
    ASSERT_GT(button, 0);
    const skin::HitRect hit = r->buttons[static_cast<size_t>(button - 1)].hit;
    POINT over{static_cast<LONG>(hit.x + hit.w / 2), static_cast<LONG>(hit.y + hit.h / 2)};
    const LPARAM at = MAKELPARAM(over.x, over.y);
    ClientToScreen(window_->hwnd(), &over);
    // The mouse stands elsewhere (in the menu, once it is open); the
    // button hears it come over.
    SetCursorPos(over.x - 300, over.y + 300);
    pumpMessages(300);
    SendMessageW(window_->hwnd(), WM_MOUSEMOVE, 0, at);
    ASSERT_EQ(r->fades.lastHovered(), button) << "lit under the mouse";

    bool tipShown = true;
    ModalWatch watch(L"#32768", [&](HWND menu) {
        Sleep(200);
        tipShown = r->tipWindow && IsWindowVisible(r->tipWindow);
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    engine->CaptionCommand(index, button);  // the click's command: the menu opens
    ASSERT_TRUE(watch.finish());
    EXPECT_FALSE(tipShown) << "the button's tip stood over the open menu";
    pumpMessages(400);
    EXPECT_EQ(r->fades.lastHovered(), 0) << "the button stayed lit after its menu closed";
    EXPECT_EQ(engine->hoverIndex(), 0);
    EXPECT_FALSE(r->fades.timerActive() && r->fades.fadeOut().button == 0) << "a fade that never ends";
}

// The widest of a combo box's items in its own font.
int widestItem(HWND combo, const editor::Control& spec) {
    HDC dc = GetDC(combo);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (std::string_view item : spec.items) {
        const std::wstring text = wide(item);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(combo, dc);
    return widest;
}

// The list's width is measured when first needed: a list that drops before
// anything asked for its width opens as wide as its longest item.
TEST_F(MainWindowLookTest, AListDroppedFirstIsAsWideAsItsLongestItem) {
    const editor::Control* widestSpec = nullptr;
    int overhang = 0;
    for (const editor::Control& spec : editor::controls()) {
        if (spec.kind != editor::ControlKind::ComboList || !spec.visible) continue;
        HWND combo = control(spec.name);
        RECT box;
        GetWindowRect(combo, &box);
        const int over = widestItem(combo, spec) - (box.right - box.left);
        if (over > overhang) {
            overhang = over;
            widestSpec = &spec;
        }
    }
    ASSERT_TRUE(widestSpec) << "a list whose longest item is wider than its box";
    HWND combo = control(widestSpec->name);
    COMBOBOXINFO info{sizeof(info)};
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    pumpMessages(50);
    RECT list;
    GetWindowRect(info.hwndList, &list);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    pumpMessages(50);
    EXPECT_GE(list.right - list.left, widestItem(combo, *widestSpec) + GetSystemMetrics(SM_CXVSCROLL))
        << widestSpec->name;
}

TEST_F(MainWindowLookTest, DropDownListsAreAsWideAsTheirLongestItem) {
    for (const editor::Control& spec : editor::controls()) {
        if (spec.kind != editor::ControlKind::ComboList && spec.kind != editor::ControlKind::ComboEditable) continue;
        HWND combo = control(spec.name);
        const int widest = widestItem(combo, spec);
        const auto dropped = static_cast<int>(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0));
        // Room for the item, the list's border and its scroll bar.
        EXPECT_GE(dropped, widest + GetSystemMetrics(SM_CXVSCROLL)) << spec.name;
        RECT box;
        GetWindowRect(combo, &box);
        EXPECT_GE(dropped, box.right - box.left) << spec.name;
    }
}

}  // namespace
