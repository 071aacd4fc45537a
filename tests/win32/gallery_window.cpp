#include "tests/win32/gallery_window.h"

#include <commctrl.h>
#include <richedit.h>

#include "skin/buttons.h"
#include "skin/combo_boxes.h"
#include "skin/containers.h"
#include "skin/control_kinds.h"
#include "skin/edit_boxes.h"
#include "skin/framed_controls.h"
#include "skin/gdiplus_owners.h"
#include "skin/headers.h"
#include "skin/other_controls.h"
#include "skin/skin_engine.h"
#include "skin/track_bars.h"
#include "skin/up_downs.h"

namespace {

constexpr wchar_t kGalleryClass[] = L"RPGitemSkinGallery";
constexpr wchar_t kPageClass[] = L"RPGitemSkinGalleryPage";

void onNotify(LPARAM lParam, const GalleryWindow* gallery) {
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    if (!gallery || header.hwndFrom != gallery->tab || header.code != TCN_SELCHANGE) return;
    const auto selected = static_cast<size_t>(SendMessageW(gallery->tab, TCM_GETCURSEL, 0, 0));
    for (size_t n = 0; n < gallery->tabPages.size(); ++n) {
        ShowWindow(gallery->tabPages[n], n == selected ? SW_SHOW : SW_HIDE);
    }
}

LRESULT CALLBACK galleryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* gallery = reinterpret_cast<GalleryWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NOTIFY:
        onNotify(lParam, gallery);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void registerClasses() {
    WNDCLASSEXW wc{sizeof(wc)};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kGalleryClass, &wc)) return;
    wc = {sizeof(wc)};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = galleryProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kGalleryClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.style = 0;
    wc.lpszClassName = kPageClass;
    RegisterClassExW(&wc);
}

HWND child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           DWORD exStyle = 0) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return hwnd;
}

HWND trackBar(HWND parent, DWORD style, RECT at, int position) {
    HWND t = child(parent, TRACKBAR_CLASSW, L"", style, at.left, at.top, at.right, at.bottom);
    SendMessageW(t, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageW(t, TBM_SETTICFREQ, 10, 0);
    SendMessageW(t, TBM_SETPOS, TRUE, position);
    return t;
}

HWND progressBar(HWND parent, DWORD style, RECT at, int position) {
    HWND p = child(parent, PROGRESS_CLASSW, L"", style, at.left, at.top, at.right, at.bottom);
    SendMessageW(p, PBM_SETRANGE32, 0, 100);
    SendMessageW(p, PBM_SETPOS, position, 0);
    return p;
}

HWND upDown(HWND parent, HWND buddy, DWORD style, RECT at) {
    HWND u = child(parent, UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ARROWKEYS | style, at.left, at.top, at.right,
                   at.bottom);
    SendMessageW(u, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageW(u, UDM_SETRANGE32, 0, 99);
    SendMessageW(u, UDM_SETPOS32, 0, 5);
    return u;
}

void addColumn(HWND list, int n, const wchar_t* text, int width, int format) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(text);
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&column));
}

void addRow(HWND list, int n, const wchar_t* name, const wchar_t* count, int image) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = n;
    item.pszText = const_cast<wchar_t*>(name);
    item.iImage = image;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.mask = LVIF_TEXT;
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t*>(count);
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&item));
}

void headerItem(HWND header, int n, const wchar_t* text, int width, int format, int image) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | (image >= 0 ? HDI_IMAGE : 0);
    item.pszText = const_cast<wchar_t*>(text);
    item.cxy = width;
    item.fmt = format | HDF_STRING | (image >= 0 ? HDF_IMAGE : 0);
    item.iImage = image;
    SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&item));
}

void setHeaderImage(HWND header, int n, int image) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&item));
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt |= HDF_IMAGE;
    item.iImage = image;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&item));
}

// A dark, plain backdrop picture: probes on it tell the skin's drawing apart.
std::vector<BYTE> backdropPicture() {
    skin::Bitmap bitmap;
    skin::gp::GdipCreateBitmapFromScan0(16, 16, 0, PixelFormat32bppARGB, nullptr, bitmap.out());
    bitmap.adopt();
    skin::Graphics g;
    skin::gp::GdipGetImageGraphicsContext(bitmap.image(), g.out());
    g.adopt();
    skin::gp::GdipGraphicsClear(g.get(), 0xFF000000u | (GetRValue(GalleryWindow::kBackdrop) << 16) |
                                             (GetGValue(GalleryWindow::kBackdrop) << 8) |
                                             GetBValue(GalleryWindow::kBackdrop));
    return skin::encodePng(bitmap.image());
}

}  // namespace

std::vector<BYTE> galleryPicture(int size, COLORREF colour, bool ring) {
    skin::Bitmap bitmap;
    skin::gp::GdipCreateBitmapFromScan0(size, size, 0, PixelFormat32bppARGB, nullptr, bitmap.out());
    bitmap.adopt();
    skin::Graphics g;
    skin::gp::GdipGetImageGraphicsContext(bitmap.image(), g.out());
    g.adopt();
    skin::gp::GdipSetSmoothingMode(g.get(), Gdiplus::SmoothingModeAntiAlias);
    const auto argb = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    skin::Brush brush;
    skin::gp::GdipCreateSolidFill(argb, reinterpret_cast<Gdiplus::GpSolidFill**>(brush.out()));
    brush.adopt();
    const float s = static_cast<float>(size);
    skin::gp::GdipFillEllipse(g.get(), brush.get(), s * 0.1f, s * 0.1f, s * 0.8f, s * 0.8f);
    if (ring) {
        skin::Pen pen;
        skin::gp::GdipCreatePen1(0xFFFFFFFFu, 2.0f, Gdiplus::UnitWorld, pen.out());
        pen.adopt();
        skin::gp::GdipDrawEllipse(g.get(), pen.get(), s * 0.3f, s * 0.3f, s * 0.4f, s * 0.4f);
    }
    return skin::encodePng(bitmap.image());
}

std::unique_ptr<GalleryWindow> GalleryWindow::create() {
    registerClasses();
    std::unique_ptr<GalleryWindow> gallery(new GalleryWindow);
    gallery->hwnd = CreateWindowExW(0, kGalleryClass, L"Skin gallery", WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 30,
                                    30, 900, 440, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!gallery->hwnd) return nullptr;
    SetWindowLongPtrW(gallery->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(gallery.get()));
    gallery->createControls();
    gallery->skinControls();
    ShowWindow(gallery->hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(gallery->hwnd);
    return gallery;
}

void GalleryWindow::createControls() {
    HWND w = hwnd;
    trackPlain = trackBar(w, TBS_NOTICKS, {10, 35, 200, 30}, 30);
    trackSelection = trackBar(w, TBS_AUTOTICKS | TBS_ENABLESELRANGE, {10, 70, 200, 40}, 50);
    SendMessageW(trackSelection, TBM_SETSEL, TRUE, MAKELPARAM(20, 70));
    trackVertical = trackBar(w, TBS_VERT | TBS_BOTH | TBS_AUTOTICKS, {220, 35, 44, 120}, 40);
    progressHorizontal = progressBar(w, 0, {10, 120, 200, 18}, 60);
    progressVertical = progressBar(w, PBS_VERTICAL, {272, 35, 18, 120}, 40);
    editVertical = child(w, WC_EDITW, L"5", ES_NUMBER | WS_BORDER, 10, 150, 50, 22);
    upDownVertical = upDown(w, editVertical, 0, {60, 150, 18, 22});
    editHorizontal = child(w, WC_EDITW, L"5", ES_NUMBER | WS_BORDER, 100, 150, 50, 22);
    upDownHorizontal = upDown(w, editHorizontal, UDS_HORZ, {150, 150, 36, 22});

    images_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    ImageList_AddIcon(images_, LoadIconW(nullptr, IDI_APPLICATION));
    ImageList_AddIcon(images_, LoadIconW(nullptr, IDI_INFORMATION));
    headerImages_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    ImageList_AddIcon(headerImages_, LoadIconW(nullptr, IDI_INFORMATION));
    listView = child(w, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | WS_BORDER, 300, 35,
                     300, 140);
    SendMessageW(listView, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));
    addColumn(listView, 0, L"Name", 110, LVCFMT_LEFT);
    addColumn(listView, 1, L"Count", 70, LVCFMT_RIGHT);
    addColumn(listView, 2, L"Note", 80, LVCFMT_CENTER);
    addRow(listView, 0, L"Diamond sword", L"1", 0);
    addRow(listView, 1, L"Golden apple", L"16", 1);
    addRow(listView, 2, L"Arrow", L"64", 0);
    listHeader = FindWindowExW(listView, nullptr, WC_HEADERW, nullptr);
    SendMessageW(listHeader, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(headerImages_));
    setHeaderImage(listHeader, 0, 0);
    plainHeader = child(w, WC_HEADERW, L"", HDS_HORZ, 300, 182, 300, 24);
    headerItem(plainHeader, 0, L"Plain header", 150, HDF_LEFT, -1);
    headerItem(plainHeader, 1, L"Centred", 150, HDF_CENTER, -1);

    tab = child(w, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, 10, 185, 280, 200);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Page one");
    SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.pszText = const_cast<wchar_t*>(L"Page two");
    SendMessageW(tab, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
    RECT page{0, 0, 280, 200};
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    for (int n = 0; n < 2; ++n) {
        HWND p = CreateWindowExW(0, kPageClass, L"", WS_CHILD | (n == 0 ? WS_VISIBLE : 0), page.left, page.top,
                                 page.right - page.left, page.bottom - page.top, tab, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        tabPages.push_back(p);
    }
    pageTrackBar = trackBar(tabPages[0], TBS_AUTOTICKS, {10, 10, 220, 40}, 70);
    pageProgress = progressBar(tabPages[0], 0, {10, 70, 220, 16}, 35);
    HWND pageEdit = child(tabPages[1], WC_EDITW, L"7", ES_NUMBER | WS_BORDER, 10, 10, 60, 22);
    upDown(tabPages[1], pageEdit, 0, {70, 10, 18, 22});

    monthCalendar = child(w, MONTHCAL_CLASSW, L"", 0, 620, 35, 220, 160);
    RECT need{};
    SendMessageW(monthCalendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    if (need.right > 0) SetWindowPos(monthCalendar, nullptr, 0, 0, need.right, need.bottom, SWP_NOMOVE | SWP_NOZORDER);

    toolbar = child(w, TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 300,
                    214, 300, 30);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    TBBUTTON buttons[4] = {};
    const int bitmaps[4] = {STD_FILENEW, STD_FILEOPEN, STD_FILESAVE, STD_PRINT};
    for (int n = 0; n < 4; ++n) {
        buttons[n].iBitmap = bitmaps[n];
        buttons[n].idCommand = 100 + n;
        buttons[n].fsState = TBSTATE_ENABLED;
        buttons[n].fsStyle = BTNS_BUTTON;
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));

    statusBar = child(w, STATUSCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 300, 250, 300, 22);
    const int parts[2] = {150, -1};
    SendMessageW(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageW(statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Ready"));
    SendMessageW(statusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"3 items"));

    richEditLibrary_ = LoadLibraryW(L"Riched20.dll");
    richEdit = child(w, RICHEDIT_CLASSW, L"Rich edit box: the text lies over the skin.",
                     ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL, 300, 280, 300, 100, WS_EX_CLIENTEDGE);

    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = RGB(255, 230, 150);
    SendMessageW(richEdit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));

    combo = child(w, WC_COMBOBOXW, L"", CBS_DROPDOWN | WS_VSCROLL, 620, 230, 150, 120);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Sword"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Bow"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);

    onePictureButton = child(w, WC_BUTTONW, L"Open", BS_PUSHBUTTON, 620, 270, 120, 36);
    fourPictureButton = child(w, WC_BUTTONW, L"", BS_PUSHBUTTON, 750, 270, 40, 40);
}

void GalleryWindow::skinControls() {
    skin::SkinEngine& engine = *skin::SkinEngine::current();
    engine.SetOptions(true, 100);
    skin::AttachOptions options;
    options.ownPicture = backdropPicture();
    options.ownPictureMode = 3;
    engine.AttachWindow(hwnd, 25, options);
    index = engine.registry().indexOf(hwnd);
    engine.SkinOtherControl(tab);
    engine.SkinOtherControl(monthCalendar);
    engine.SkinOtherControl(toolbar);
    engine.SkinOtherControl(statusBar);
    // The rich edit's white ground is left out: its light text lies on the backdrop.
    engine.SkinOtherControl(richEdit, GetSysColor(COLOR_WINDOW));
    engine.SetButtonPicture(onePictureButton, galleryPicture(24, RGB(230, 160, 40), false), true, L"Open a file");
    engine.SetButtonPictures(fourPictureButton, galleryPicture(32, RGB(60, 170, 90), true), {}, {}, {},
                             L"Four pictures");
}

GalleryWindow::~GalleryWindow() {
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
    if (images_) ImageList_Destroy(images_);
    if (headerImages_) ImageList_Destroy(headerImages_);
    if (richEditLibrary_) FreeLibrary(richEditLibrary_);
    if (skin::SkinEngine* engine = skin::SkinEngine::current()) engine->SetOptions(true);
}
