// The skin's common controls on the gallery window: registration by the
// hooks, hover and press states read back from the controls' pixels, the
// paints the mouse causes, the other common controls, text colours, picture
// buttons, and object counts over many repaints.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "skin/buttons.h"
#include "skin/combo_boxes.h"
#include "skin/containers.h"
#include "skin/control_fonts.h"
#include "skin/control_geometry.h"
#include "skin/control_kinds.h"
#include "skin/control_procedure.h"
#include "skin/edit_boxes.h"
#include "skin/framed_controls.h"
#include "skin/headers.h"
#include "skin/other_controls.h"
#include "skin/painting_kit.h"
#include "skin/skin_engine.h"
#include "skin/track_bars.h"
#include "skin/up_downs.h"
#include "tests/win32/gallery_window.h"
#include "tests/win32/window_fixture.h"

namespace {

using skin::SkinEngine;
using skin::WindowRecord;

int redOf(COLORREF c) { return GetRValue(c); }
int blueOf(COLORREF c) { return GetBValue(c); }
// The default theme colour is a cyan: blue far above red.
bool themeTinted(COLORREF c) { return blueOf(c) - redOf(c) > 40; }
bool neutral(COLORREF c) { return std::abs(blueOf(c) - redOf(c)) < 20; }
int darkest(COLORREF c) { return std::min({GetRValue(c), GetGValue(c), GetBValue(c)}); }

// A 32-bit memory canvas for painters that draw into a given DC.
class Canvas {
public:
    Canvas(int w, int h) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

class GalleryTest : public testing::Test {
protected:
    void SetUp() override {
        engine_ = SkinEngine::current();
        ASSERT_TRUE(engine_);
        gallery_ = GalleryWindow::create();
        ASSERT_TRUE(gallery_);
        pumpMessages();
        ASSERT_GT(gallery_->index, 0);
    }
    void TearDown() override {
        gallery_.reset();
        pumpMessages();
    }
    WindowRecord& rec() { return *engine_->record(gallery_->index); }
    static int k(HWND control) { return skin::indexProperty(control, skin::kPropIndex); }
    static COLORREF pixel(HWND control, int x, int y) {
        HDC dc = GetDC(control);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(control, dc);
        return c;
    }
    static void move(HWND control, int x, int y, WPARAM keys = 0) {
        SendMessageW(control, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
    }
    static void repaint(HWND control) {
        InvalidateRect(control, nullptr, FALSE);
        UpdateWindow(control);
    }
    skin::ButtonEntry& buttonEntry(HWND button) { return rec().buttonEntries[static_cast<size_t>(k(button) - 1)]; }

    SkinEngine* engine_ = nullptr;
    std::unique_ptr<GalleryWindow> gallery_;
};

// ------------------------------------------------------------ registration

TEST_F(GalleryTest, HooksRegisterEachControlOnceWithItsStyle) {
    WindowRecord& r = rec();
    struct Case {
        const char* name;
        HWND control;
        std::function<bool(HWND)> listed;
    };
    auto in = [&](auto member) { return [&r, member](HWND c) { return skin::isListed(r.*member, c); }; };
    const Case cases[] = {
        {"plain track bar", gallery_->trackPlain, in(&WindowRecord::trackBarEntries)},
        {"selection track bar", gallery_->trackSelection, in(&WindowRecord::trackBarEntries)},
        {"vertical track bar", gallery_->trackVertical, in(&WindowRecord::trackBarEntries)},
        {"progress bar", gallery_->progressHorizontal, in(&WindowRecord::progressEntries)},
        {"vertical progress bar", gallery_->progressVertical, in(&WindowRecord::progressEntries)},
        {"vertical up-down", gallery_->upDownVertical, in(&WindowRecord::upDownEntries)},
        {"horizontal up-down", gallery_->upDownHorizontal, in(&WindowRecord::upDownEntries)},
        {"list-view header", gallery_->listHeader, in(&WindowRecord::listViewEntries)},
        {"plain header", gallery_->plainHeader, in(&WindowRecord::listViewEntries)},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.control) << c.name;
        EXPECT_TRUE(c.listed(c.control)) << c.name;
        EXPECT_EQ(skin::indexProperty(c.control, skin::kPropOwnerIndex), gallery_->index) << c.name;
        EXPECT_TRUE(GetPropW(c.control, skin::kPropPreviousProc)) << c.name;
    }
    const auto& track = [&](HWND c) { return r.trackBarEntries[static_cast<size_t>(k(c) - 1)]; };
    EXPECT_EQ(track(gallery_->trackPlain).tickPlacement, 3);
    EXPECT_FALSE(track(gallery_->trackPlain).vertical);
    EXPECT_TRUE(track(gallery_->trackSelection).selectionRange);
    EXPECT_EQ(track(gallery_->trackSelection).tickPlacement, 1);
    EXPECT_TRUE(track(gallery_->trackVertical).vertical);
    EXPECT_EQ(track(gallery_->trackVertical).tickPlacement, 2);
    EXPECT_TRUE(r.progressEntries[static_cast<size_t>(k(gallery_->progressVertical) - 1)].vertical);
    EXPECT_TRUE(r.upDownEntries[static_cast<size_t>(k(gallery_->upDownHorizontal) - 1)].horizontal);
    EXPECT_FALSE(r.upDownEntries[static_cast<size_t>(k(gallery_->upDownVertical) - 1)].horizontal);
    const auto& listHeader = r.listViewEntries[static_cast<size_t>(k(gallery_->listHeader) - 1)];
    const auto& plainHeader = r.listViewEntries[static_cast<size_t>(k(gallery_->plainHeader) - 1)];
    EXPECT_TRUE(listHeader.buttons);
    EXPECT_TRUE(listHeader.imageList);
    EXPECT_FALSE(listHeader.fontName.empty());
    EXPECT_GT(listHeader.fontSize, 0);
    EXPECT_FALSE(plainHeader.buttons);
    EXPECT_FALSE(plainHeader.fontName.empty()) << "a header on the window uses its own font";
}

TEST_F(GalleryTest, RunningTheHooksAgainRegistersNothingTwice) {
    WindowRecord& r = rec();
    const size_t sizes[] = {r.trackBarEntries.size(), r.progressEntries.size(), r.upDownEntries.size(),
                            r.listViewEntries.size(), r.commonEntries.size()};
    const HWND controls[] = {gallery_->trackPlain, gallery_->progressHorizontal, gallery_->upDownVertical,
                             gallery_->listHeader, gallery_->plainHeader,        gallery_->tab};
    std::vector<LONG_PTR> procedures;
    std::vector<HANDLE> previous;
    for (HWND c : controls) {
        procedures.push_back(GetWindowLongPtrW(c, GWLP_WNDPROC));
        previous.push_back(GetPropW(c, skin::kPropPreviousProc));
    }
    skin::runControlHooks(*engine_, gallery_->index, gallery_->hwnd);
    skin::runControlHooks(*engine_, gallery_->index, gallery_->hwnd);
    EXPECT_EQ(engine_->SkinOtherControl(gallery_->tab), 0);
    const size_t after[] = {r.trackBarEntries.size(), r.progressEntries.size(), r.upDownEntries.size(),
                            r.listViewEntries.size(), r.commonEntries.size()};
    for (size_t n = 0; n < std::size(sizes); ++n) EXPECT_EQ(after[n], sizes[n]) << "list " << n;
    for (size_t n = 0; n < std::size(controls); ++n) {
        EXPECT_EQ(GetWindowLongPtrW(controls[n], GWLP_WNDPROC), procedures[n]) << "control " << n;
        EXPECT_EQ(GetPropW(controls[n], skin::kPropPreviousProc), previous[n]) << "control " << n;
    }
    // Repainting after the second run must not recurse into itself.
    repaint(gallery_->trackPlain);
    repaint(gallery_->tab);
}

// ------------------------------------------------------------ track bars

// A point inside the hot 11 x 11 thumb but outside the small dot and the
// channel: two pixels inside the big thumb's outer edge, at its middle.
POINT hotThumbProbe(const skin::TrackBarEntry& e) {
    skin::TrackBarState s = skin::readTrackBar(e);
    s.hot = true;
    const skin::RectF box = skin::trackBarFigure(s).thumb;
    return e.vertical ? POINT{static_cast<LONG>(box.x) + 2, static_cast<LONG>(box.y) + 5}
                      : POINT{static_cast<LONG>(box.x) + 5, static_cast<LONG>(box.y) + 2};
}

TEST_F(GalleryTest, HoverTurnsTheThumbDotIntoTheBigThumbAndLeavingTurnsItBack) {
    // Without the panel the probes see the dark backdrop or the thumb.
    engine_->settings().trackBarStyle = 0;
    const HWND bars[] = {gallery_->trackPlain, gallery_->trackSelection, gallery_->trackVertical};
    for (HWND bar : bars) {
        skin::TrackBarEntry& e = rec().trackBarEntries[static_cast<size_t>(k(bar) - 1)];
        repaint(bar);
        const POINT p = hotThumbProbe(e);
        const COLORREF before = pixel(bar, p.x, p.y);
        EXPECT_LT(darkest(before), 110) << "no thumb there yet, bar " << k(bar);
        const long paints = skin::paintCounts().trackBar;
        move(bar, 3, 3);
        EXPECT_TRUE(e.hot);
        EXPECT_EQ(rec().hotKind, 2);
        EXPECT_EQ(rec().hotControl, k(bar));
        const COLORREF hot = pixel(bar, p.x, p.y);
        EXPECT_GE(darkest(hot), 190) << "the big white thumb, bar " << k(bar);
        move(bar, 4, 3);
        EXPECT_EQ(skin::paintCounts().trackBar, paints + 1) << "a second move does not repaint";
        SendMessageW(bar, WM_MOUSELEAVE, 0, 0);
        EXPECT_FALSE(e.hot);
        EXPECT_EQ(rec().hotControl, 0);
        EXPECT_EQ(pixel(bar, p.x, p.y), before) << "back to the small dot, bar " << k(bar);
    }
    engine_->settings().trackBarStyle = 1;
}

TEST_F(GalleryTest, TrackBarStyleZeroLeavesOutThePanel) {
    HWND bar = gallery_->trackPlain;
    RECT client;
    GetClientRect(bar, &client);
    const int x = client.right / 2, y = client.bottom - 3;  // on the panel, away from channel and thumb
    repaint(bar);
    const COLORREF panel = pixel(bar, x, y);
    engine_->settings().trackBarStyle = 0;
    repaint(bar);
    const COLORREF bare = pixel(bar, x, y);
    engine_->settings().trackBarStyle = 1;
    EXPECT_NE(panel, bare);
    EXPECT_EQ(bare, GalleryWindow::kBackdrop) << "only the backdrop where the panel was";
}

// ------------------------------------------------------------ progress bars

TEST_F(GalleryTest, ProgressAtZeroShowsOnlyThePanelAndAtItsMaximumTheWholeBar) {
    struct Case {
        HWND bar;
        bool vertical;
    };
    const Case cases[] = {{gallery_->progressHorizontal, false}, {gallery_->progressVertical, true}};
    for (const Case& c : cases) {
        RECT client;
        GetClientRect(c.bar, &client);
        const int w = client.right, h = client.bottom;
        // The middle, and a point near the far end of the bar's growth.
        const POINT probes[] = {{w / 2, h / 2}, c.vertical ? POINT{w / 2, 4} : POINT{w - 5, h / 2}};
        SendMessageW(c.bar, PBM_SETPOS, 0, 0);
        repaint(c.bar);
        for (const POINT& p : probes) EXPECT_TRUE(neutral(pixel(c.bar, p.x, p.y))) << "empty, vertical " << c.vertical;
        SendMessageW(c.bar, PBM_SETPOS, 100, 0);
        repaint(c.bar);
        for (const POINT& p : probes)
            EXPECT_TRUE(themeTinted(pixel(c.bar, p.x, p.y))) << "full, vertical " << c.vertical;
    }
}

// ------------------------------------------------------------ up-down controls

TEST_F(GalleryTest, UpDownRepaintsOnlyWhenItBecomesHotOrTheMouseCrossesHalves) {
    struct Step {
        int along;  // position along the control's axis
        long paints;
    };
    // 22 pixels high (or 36 wide): the first half ends at 11 (18).
    struct Case {
        HWND control;
        bool horizontal;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {gallery_->upDownVertical, false, {{3, 1}, {8, 0}, {11, 0}, {12, 1}, {20, 0}, {5, 1}}},
        {gallery_->upDownHorizontal, true, {{3, 1}, {18, 0}, {19, 1}, {30, 0}, {2, 1}}},
    };
    for (const Case& c : cases) {
        skin::UpDownEntry& e = rec().upDownEntries[static_cast<size_t>(k(c.control) - 1)];
        for (const Step& s : c.steps) {
            const long before = skin::paintCounts().upDown;
            if (c.horizontal)
                move(c.control, s.along, 5);
            else
                move(c.control, 5, s.along);
            EXPECT_EQ(skin::paintCounts().upDown - before, s.paints) << "at " << s.along;
            EXPECT_EQ(e.hotHalf, s.along > (c.horizontal ? 18 : 11) ? 1 : 0) << "at " << s.along;
        }
        EXPECT_TRUE(e.hot);
        EXPECT_EQ(rec().hotKind, 8);
        SendMessageW(c.control, WM_MOUSELEAVE, 0, 0);
        EXPECT_FALSE(e.hot);
        EXPECT_EQ(rec().hotControl, 0);
    }
}

TEST_F(GalleryTest, UpDownHalvesFollowWholePixelsAndThePressIsKept) {
    const int i = gallery_->index, n = k(gallery_->upDownVertical);
    const struct { int y, half; } cases[] = {{0, 0}, {10, 0}, {11, 0}, {12, 1}, {21, 1}};
    for (const auto& c : cases) EXPECT_EQ(skin::HalfUnderMouse(i, n, MAKELPARAM(5, c.y)), c.half) << c.y;
    skin::UpDownEntry& e = rec().upDownEntries[static_cast<size_t>(n - 1)];
    move(gallery_->upDownVertical, 5, 16);
    SendMessageW(gallery_->upDownVertical, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 16));
    EXPECT_TRUE(e.pressed);
    EXPECT_EQ(e.lastMouse, MAKELPARAM(5, 16));
    // The pressed look of the second half differs from its hot look.
    const COLORREF pressed = (skin::DrawUpDown(i, n), pixel(gallery_->upDownVertical, 9, 13));
    SendMessageW(gallery_->upDownVertical, WM_LBUTTONUP, 0, MAKELPARAM(5, 16));
    EXPECT_FALSE(e.pressed);
    const COLORREF hot = (skin::DrawUpDown(i, n), pixel(gallery_->upDownVertical, 9, 13));
    EXPECT_NE(pressed, hot);
    SendMessageW(gallery_->upDownVertical, WM_MOUSELEAVE, 0, 0);
}

// ------------------------------------------------------------ headers

struct Columns {
    std::vector<RECT> rects;
    int height = 0;
};

Columns columnsOf(HWND header) {
    Columns c;
    const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int n = 0; n < count; ++n) {
        RECT r{};
        SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&r));
        c.rects.push_back(r);
        c.height = r.bottom - r.top;
    }
    return c;
}

TEST_F(GalleryTest, HeaderOverlaysOnlyForButtonColumnsAndFrozenWhileTheButtonIsDown) {
    HWND header = gallery_->listHeader;
    skin::ListViewEntry& e = rec().listViewEntries[static_cast<size_t>(k(header) - 1)];
    const Columns columns = columnsOf(header);
    ASSERT_GE(columns.rects.size(), 2u);
    auto probe = [&](int n) { return pixel(header, columns.rects[n].left + 2, columns.height - 2); };
    auto centre = [&](int n) { return (columns.rects[n].left + columns.rects[n].right) / 2; };
    repaint(header);
    const COLORREF plain0 = probe(0), plain1 = probe(1);

    move(header, centre(0), 5);
    EXPECT_EQ(e.hotColumn, 1);
    EXPECT_EQ(e.shownColumn, 1);
    EXPECT_NE(probe(0), plain0);
    EXPECT_EQ(probe(1), plain1);
    move(header, centre(1), 5);
    EXPECT_EQ(e.shownColumn, 2);
    EXPECT_EQ(probe(0), plain0);
    const COLORREF hot1 = probe(1);
    EXPECT_NE(hot1, plain1);

    // Pressed on column 2: moving to column 1 leaves the overlay where it was.
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre(1), 5));
    EXPECT_EQ(e.pressedColumn, 2);
    const long paints = skin::paintCounts().header;
    move(header, centre(0), 5, MK_LBUTTON);
    EXPECT_EQ(e.hotColumn, 1);
    EXPECT_EQ(e.shownColumn, 2);
    EXPECT_EQ(skin::paintCounts().header, paints);
    skin::DrawHeader(gallery_->index, k(header), nullptr);
    EXPECT_EQ(probe(0), plain0) << "no hot overlay on the column crossed while pressed";
    SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(centre(0), 5));
    EXPECT_EQ(e.pressedColumn, 0);
    EXPECT_FALSE(e.pressed);

    // Within 5 pixels of a divider no column is hot.
    move(header, columns.rects[0].right - 3, 5);
    EXPECT_EQ(e.hotColumn, 0);
    EXPECT_EQ(e.shownColumn, 0);
    const long quiet = skin::paintCounts().header;
    move(header, columns.rects[0].right - 2, 5);
    EXPECT_EQ(skin::paintCounts().header, quiet) << "staying between columns repaints nothing";
    SendMessageW(header, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(rec().hotControl, 0);
}

TEST_F(GalleryTest, HeaderWithoutButtonsGetsNoOverlay) {
    HWND header = gallery_->plainHeader;
    skin::ListViewEntry& e = rec().listViewEntries[static_cast<size_t>(k(header) - 1)];
    const Columns columns = columnsOf(header);
    auto probe = [&](int n) { return pixel(header, columns.rects[n].left + 2, columns.height - 2); };
    repaint(header);
    const COLORREF plain = probe(0);
    move(header, (columns.rects[0].left + columns.rects[0].right) / 2, 5);
    EXPECT_EQ(e.hotColumn, 1);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    skin::DrawHeader(gallery_->index, k(header), nullptr);
    EXPECT_EQ(probe(0), plain);
    SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
    SendMessageW(header, WM_MOUSELEAVE, 0, 0);
}

TEST_F(GalleryTest, ListViewHeaderReachesTheListViewsRightEdge) {
    HWND header = gallery_->listHeader;
    const Columns columns = columnsOf(header);
    RECT list;
    GetClientRect(gallery_->listView, &list);
    ASSERT_LT(columns.rects.back().right, list.right - 10) << "the columns end short of the edge";
    repaint(header);
    const int y = columns.height - 2;
    EXPECT_EQ(pixel(header, list.right - 4, y), pixel(header, columns.rects.back().left + 2, y));
}

TEST_F(GalleryTest, NewThemeRepaintsTheHeadersInTheirNewColour) {
    HWND header = gallery_->listHeader;
    const Columns columns = columnsOf(header);
    repaint(header);
    const COLORREF before = pixel(header, columns.rects[0].left + 2, columns.height - 2);
    const std::vector<BYTE> picture = engine_->settings().themePicture.bytes;
    const COLORREF theme = engine_->settings().themeColour;
    skin::ThemeArgs args;
    args.baseColour = engine_->settings().baseColour;
    args.themeColour = RGB(220, 30, 30);
    engine_->SetTheme(args);
    pumpMessages();
    const COLORREF after = pixel(header, columns.rects[0].left + 2, columns.height - 2);
    args.themeColour = theme;
    engine_->SetTheme(args);
    engine_->settings().themePicture = skin::pictureFrom(picture);
    EXPECT_GT(redOf(after), blueOf(after) + 20) << "repainted in the red theme";
    EXPECT_NE(after, before);
}

// ------------------------------------------------------------ other common controls

TEST_F(GalleryTest, OtherControlsAreLaidOverTheBackdropByTheirOwnPainting) {
    WindowRecord& r = rec();
    const struct {
        HWND control;
        COLORREF key;
    } cases[] = {{gallery_->tab, GetSysColor(COLOR_BTNFACE)},
                 {gallery_->monthCalendar, GetSysColor(COLOR_BTNFACE)},
                 {gallery_->toolbar, GetSysColor(COLOR_BTNFACE)},
                 {gallery_->statusBar, GetSysColor(COLOR_BTNFACE)},
                 {gallery_->richEdit, GetSysColor(COLOR_WINDOW)}};
    for (const auto& c : cases) {
        ASSERT_TRUE(c.control);
        const int n = skin::indexProperty(c.control, skin::kPropCommonIndex);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, static_cast<int>(r.commonEntries.size()));
        const skin::CommonEntry& e = r.commonEntries[static_cast<size_t>(n - 1)];
        EXPECT_EQ(e.hwnd, c.control);
        EXPECT_EQ(e.keyColour, c.key);
        EXPECT_EQ(skin::indexProperty(c.control, skin::kPropCommonOwner), gallery_->index);
        EXPECT_EQ(GetPropW(c.control, skin::kPropCommonProc), reinterpret_cast<HANDLE>(e.previous));
        const long before = skin::paintCounts().other;
        repaint(c.control);
        EXPECT_GE(skin::paintCounts().other, before + 1) << "painted through the skin";
    }
    // The tab keeps its own drawing: its own tab captions show on the veil.
    RECT tabs{};
    SendMessageW(gallery_->tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tabs));
    bool dark = false;
    for (int x = tabs.left + 4; x < tabs.right - 4 && !dark; ++x) {
        for (int y = tabs.top + 3; y < tabs.bottom - 2 && !dark; ++y) dark = darkest(pixel(gallery_->tab, x, y)) < 60;
    }
    EXPECT_TRUE(dark) << "the caption text of the first tab";
    EXPECT_EQ(engine_->SkinOtherControl(nullptr), 0);
}

TEST_F(GalleryTest, TabPagesHaveTheirControlsSkinned) {
    HWND page = gallery_->tabPages[0];
    if (engine_->SkinContainer(page) == 0) GTEST_SKIP() << "containers are not skinned in this build";
    WindowRecord& r = rec();
    EXPECT_TRUE(skin::isListed(r.trackBarEntries, gallery_->pageTrackBar));
    EXPECT_TRUE(skin::isListed(r.progressEntries, gallery_->pageProgress));
    bool tabIsContainer = false;
    for (const skin::ContainerEntry& c : r.containerEntries) {
        if (c.hwnd == gallery_->tab) tabIsContainer = !c.enabled;
    }
    EXPECT_TRUE(tabIsContainer) << "registered as a container that the skin does not paint";
    const long before = skin::paintCounts().other;
    repaint(gallery_->tab);
    EXPECT_GE(skin::paintCounts().other, before + 1) << "the tab is still drawn by its own procedure";
}

TEST_F(GalleryTest, TextColourOfAComboBoxGoesToItsEditPart) {
    HWND combo = gallery_->combo;
    HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(edit);
    const COLORREF red = RGB(200, 0, 0), green = RGB(0, 150, 0);
    engine_->SetControlTextColour(combo, red);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetPropW(edit, skin::kPropTextColour)), red);
    EXPECT_FALSE(GetPropW(combo, skin::kPropTextColour));
    engine_->SetControlTextColour(gallery_->editVertical, green);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetPropW(gallery_->editVertical, skin::kPropTextColour)), green);
    engine_->SetControlTextColour(nullptr, red);  // nothing happens
    // A control of a window the skin does not know keeps its colour.
    HWND loose = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND inner = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 10, 10, loose, nullptr, nullptr, nullptr);
    engine_->SetControlTextColour(inner, red);
    EXPECT_FALSE(GetPropW(inner, skin::kPropTextColour));
    EXPECT_EQ(engine_->SkinOtherControl(inner), 0);
    EXPECT_FALSE(engine_->SetButtonPicture(inner, {1, 2}, true, L"x"));
    DestroyWindow(loose);
    EXPECT_EQ(engine_->GetBaseColour(), engine_->settings().baseColour);
}

// ------------------------------------------------------------ picture buttons

TEST_F(GalleryTest, FourPictureButtonFallsBackToFramesInItsStates) {
    HWND button = gallery_->fourPictureButton;
    ASSERT_GE(k(button), 1);
    const skin::ButtonEntry& e = buttonEntry(button);
    EXPECT_EQ(e.kind, 3);
    EXPECT_TRUE(e.hotPicture.empty());
    EXPECT_TRUE(GetWindowLongW(button, GWL_STYLE) & BS_OWNERDRAW);
    RECT client;
    GetClientRect(button, &client);
    // The frame's top edge over the middle of the 32 x 32 picture.
    auto paintAt = [&](UINT state) {
        Canvas canvas(client.right, client.bottom);
        skin::PaintPictureButton(e, button, canvas.dc(), state, client);
        return canvas.at(17, 0);
    };
    const COLORREF normal = paintAt(0), hot = paintAt(64), hotPressed = paintAt(65), pressed = paintAt(1),
                   disabled = paintAt(4);
    EXPECT_TRUE(neutral(normal));
    EXPECT_TRUE(themeTinted(hot)) << "the theme-coloured frame while hot";
    EXPECT_EQ(hotPressed, hot) << "hot and pressed shows the hot look";
    EXPECT_TRUE(themeTinted(pressed));
    EXPECT_TRUE(neutral(disabled)) << "a dark frame while disabled";
    EXPECT_NE(disabled, normal);
}

TEST_F(GalleryTest, OnePictureButtonKeepsCaptionTooltipAndCentresAPictureWithoutCaption) {
    HWND button = gallery_->onePictureButton;
    const skin::ButtonEntry& e = buttonEntry(button);
    EXPECT_EQ(e.kind, 1);
    EXPECT_TRUE(e.pictureBeside);
    EXPECT_EQ(e.caption, L"Open");
    EXPECT_FALSE(e.fontFamily.empty()) << "the button's own font";
    ASSERT_TRUE(e.tooltip);
    EXPECT_EQ(SendMessageW(e.tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    auto tipText = [&] {
        wchar_t text[80] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.hwnd = button;
        tool.uId = 1;
        tool.lpszText = text;
        SendMessageW(e.tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(text);
    };
    EXPECT_EQ(tipText(), L"Open a file");
    const HWND tip = e.tooltip;
    const auto picture = galleryPicture(24, RGB(230, 160, 40), false);
    RECT client;
    GetClientRect(button, &client);
    const struct {
        const wchar_t* caption;
        bool centred;
    } cases[] = {{L"Open", false}, {L"", true}};
    for (const auto& c : cases) {
        SetWindowTextW(button, c.caption);
        ASSERT_TRUE(engine_->SetButtonPicture(button, picture, true, L"Again"));
        const skin::ButtonEntry& again = buttonEntry(button);
        EXPECT_EQ(again.tooltip, tip) << "one tooltip window";
        Canvas canvas(client.right, client.bottom);
        skin::PaintPictureButton(again, button, canvas.dc(), 0, client);
        const COLORREF middle = canvas.at(client.right / 2, client.bottom / 2);
        const bool orange = GetRValue(middle) > 180 && GetBValue(middle) < 100;
        EXPECT_EQ(orange, c.centred) << "caption \"" << (c.caption[0] ? "Open" : "") << "\"";
    }
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(tipText(), L"Again");
}

// ------------------------------------------------------------ object counts

// Rounds of repainting every control of every kind: 10,000 by default (some
// five minutes under Wine); RPGITEM_LEAK_ROUNDS asks for fewer in a quick run.
int leakRounds() {
    const char* asked = std::getenv("RPGITEM_LEAK_ROUNDS");
    const int rounds = asked ? std::atoi(asked) : 0;
    return rounds > 0 ? rounds : 10000;
}

TEST_F(GalleryTest, NoObjectLeaksOverTenThousandRepaintsOfEveryKind) {
    const int i = gallery_->index;
    WindowRecord& r = rec();
    const HWND others[] = {gallery_->tab, gallery_->monthCalendar, gallery_->toolbar, gallery_->statusBar,
                           gallery_->richEdit};
    const skin::ButtonEntry& one = buttonEntry(gallery_->onePictureButton);
    const skin::ButtonEntry& four = buttonEntry(gallery_->fourPictureButton);
    RECT oneRect, fourRect;
    GetClientRect(gallery_->onePictureButton, &oneRect);
    GetClientRect(gallery_->fourPictureButton, &fourRect);
    HDC oneDC = GetDC(gallery_->onePictureButton), fourDC = GetDC(gallery_->fourPictureButton);
    const UINT states[] = {0, 64, 65, 1, 4, 16};
    auto round = [&](int n) {
        for (int t = 1; t <= static_cast<int>(r.trackBarEntries.size()); ++t) {
            r.trackBarEntries[static_cast<size_t>(t - 1)].hot = n & 1;
            skin::DrawTrackBar(i, t);
        }
        for (int p = 1; p <= static_cast<int>(r.progressEntries.size()); ++p) skin::DrawProgressBar(i, p);
        for (int u = 1; u <= static_cast<int>(r.upDownEntries.size()); ++u) {
            skin::DrawUpDown(i, u, n & 1, n & 2, MAKELPARAM(4, n % 22));
        }
        for (int h = 1; h <= static_cast<int>(r.listViewEntries.size()); ++h) skin::DrawHeader(i, h, nullptr);
        repaint(others[n % std::size(others)]);
        skin::PaintPictureButton(one, gallery_->onePictureButton, oneDC, states[n % 6], oneRect);
        skin::PaintPictureButton(four, gallery_->fourPictureButton, fourDC, states[n % 6], fourRect);
    };
    round(0);
    const skin::LiveObjects before = skin::liveObjects();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const skin::PaintCounts counts = skin::paintCounts();
    const int rounds = leakRounds();
    for (int n = 1; n <= rounds; ++n) round(n);
    ReleaseDC(gallery_->onePictureButton, oneDC);
    ReleaseDC(gallery_->fourPictureButton, fourDC);
    const skin::LiveObjects after = skin::liveObjects();
    EXPECT_EQ(after.gdiplus, before.gdiplus);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(skin::capturedBackgrounds(), 0);
    const skin::PaintCounts done = skin::paintCounts();
    EXPECT_GE(done.trackBar - counts.trackBar, 3L * rounds);
    EXPECT_GE(done.header - counts.header, 2L * rounds);
    EXPECT_GE(done.other - counts.other, rounds);
    EXPECT_EQ(done.pictureButton - counts.pictureButton, 2L * rounds);
    const DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userAfter = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (gdiBefore != 0) {
        EXPECT_LE(gdiAfter, gdiBefore + 4) << "the system's own count";
    }
    if (userBefore != 0) {
        EXPECT_LE(userAfter, userBefore + 4) << "icons are destroyed";
    }
}

// ------------------------------------------------------------ screenshot

// With RPGITEM_SCREENSHOT_DIR set, the gallery (a track bar and a header
// column hot) is written to gallery.png in that directory.
TEST_F(GalleryTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("RPGITEM_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "RPGITEM_SCREENSHOT_DIR not set";
    SendMessageW(gallery_->listView, LVM_SETITEMSTATE, 1, [] {
        static LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        return reinterpret_cast<LPARAM>(&item);
    }());
    pumpMessages(300);
    move(gallery_->trackSelection, 3, 3);
    const Columns columns = columnsOf(gallery_->listHeader);
    move(gallery_->listHeader, (columns.rects[1].left + columns.rects[1].right) / 2, 5);
    move(gallery_->upDownVertical, 5, 3);
    RECT window;
    GetWindowRect(gallery_->hwnd, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    Canvas canvas(w, h);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, w, h, screen, window.left, window.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    skin::Bitmap bitmap;
    skin::gp::GdipCreateBitmapFromHBITMAP(static_cast<HBITMAP>(GetCurrentObject(canvas.dc(), OBJ_BITMAP)), nullptr,
                                          bitmap.out());
    bitmap.adopt();
    ASSERT_TRUE(bitmap);
    const std::vector<BYTE> png = skin::encodePng(bitmap.image());
    ASSERT_FALSE(png.empty());
    const std::string path = std::string(dir) + "\\gallery.png";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ(written, png.size());
}

}  // namespace
