#include "skin/skin_engine.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "res/resource_ids.h"
#include "skin/control_borders.h"
#include "skin/control_kinds.h"
#include "skin/painting_kit.h"
#include "skin/picture_pixels.h"
#include "skin/subclass.h"
#include "skin/tooltip.h"

namespace skin {

namespace {

SkinEngine* g_engine = nullptr;

// PNG encoder of GDI+.
const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

struct ButtonSpec {
    int kind;
    int imageId;
    int altImageId;
    const wchar_t* label;
};

constexpr ButtonSpec kButtonSpecs[] = {
    {kHelp, IDR_CAPTION_HELP_PNG, 0, L"帮助"},
    {kMainMenu, IDR_CAPTION_MENU_PNG, 0, L"主菜单"},
    {kMinimize, IDR_CAPTION_MINIMIZE_PNG, 0, L"最小化"},
    {kMaximize, IDR_CAPTION_MAXIMIZE_PNG, IDR_CAPTION_RESTORE_PNG, L"最大化"},
    {kClose, IDR_CAPTION_CLOSE_PNG, 0, L"关闭"},
};

}  // namespace

SkinEngine* SkinEngine::current() { return g_engine; }

LRESULT CALLBACK frameProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Subclass* found = findSubclass(hwnd, frameProcedure);
    const Subclass subclass = found ? *found : Subclass{};
    // Without an engine a skinned window passes everything on.
    const LRESULT result = g_engine ? g_engine->FrameWindowProc(hwnd, msg, wParam, lParam, subclass)
                                    : callPrevious(subclass.previous, hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) forgetSubclass(hwnd, frameProcedure);
    return result;
}

SkinEngine::SkinEngine() : random_(GetTickCount()) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    settings_.appIcon = LoadIconW(module, MAKEINTRESOURCEW(129));
    if (!settings_.appIcon) settings_.appIcon = LoadIconW(module, L"DEFAULT_ICON");
    if (!settings_.appIcon) {
        settings_.appIcon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
    }
    settings_.baseColour = GetSysColor(COLOR_BTNFACE);
    g_engine = this;
    startControlKinds();
}

SkinEngine::~SkinEngine() {
    // Windows still skinned keep working: their procedure finds no engine
    // and passes everything on.
    registry_.clear();
    veils_.clear();
    families_.clear();
    builtInPictures_.clear();
    stopControlKinds();
    settings_.themePicture = {};
    if (settings_.appIcon) DestroyIcon(settings_.appIcon);
    if (g_engine == this) g_engine = nullptr;
}

Gdiplus::GpFontFamily* SkinEngine::fontFamily(const std::wstring& name) {
    auto found = families_.find(name);
    if (found != families_.end()) return found->second.get();
    FontFamily family;
    gp::GdipCreateFontFamilyFromName(name.c_str(), nullptr, family.out());
    family.adopt();
    if (!family) {
        gp::GdipGetGenericFontFamilySansSerif(family.out());
        family.adopt();
    }
    return families_.emplace(name, std::move(family)).first->second.get();
}

// ---------------------------------------------------------------- pictures

namespace {

// The pixels as an owned 32-bit ARGB bitmap.
Bitmap bitmapFromPixels(const PicturePixels& pixels) {
    Bitmap bitmap;
    gp::GdipCreateBitmapFromScan0(pixels.width, pixels.height, 0, PixelFormat32bppARGB, nullptr, bitmap.out());
    bitmap.adopt();
    const Gdiplus::GpRect all(0, 0, pixels.width, pixels.height);
    Gdiplus::BitmapData data{};
    if (!bitmap || gp::GdipBitmapLockBits(bitmap.get(), &all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB,
                                          &data) != Gdiplus::Ok) {
        bitmap.reset();
        return bitmap;
    }
    const size_t rowBytes = static_cast<size_t>(pixels.width) * sizeof(std::uint32_t);
    for (int y = 0; y < pixels.height; ++y) {
        std::memcpy(static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                    pixels.argb.data() + static_cast<size_t>(y) * static_cast<size_t>(pixels.width), rowBytes);
    }
    gp::GdipBitmapUnlockBits(bitmap.get(), &data);
    return bitmap;
}

// Formats of the system's codecs only (TIFF, icons, metafiles…), copied
// into an owned 32-bit bitmap: the stream can go.
Bitmap bitmapFromCodec(std::span<const BYTE> bytes) {
    Bitmap owned;
    const ComPointer<IStream> stream(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
    if (!stream) return owned;
    Bitmap source;
    gp::GdipCreateBitmapFromStream(stream.get(), source.out());
    source.adopt();
    UINT w = 0, h = 0;
    if (source) {
        gp::GdipGetImageWidth(source.image(), &w);
        gp::GdipGetImageHeight(source.image(), &h);
    }
    if (!w || !h) return owned;
    gp::GdipCreateBitmapFromScan0(static_cast<INT>(w), static_cast<INT>(h), 0, PixelFormat32bppARGB, nullptr,
                                  owned.out());
    owned.adopt();
    if (!owned) return owned;
    Graphics g;
    gp::GdipGetImageGraphicsContext(owned.image(), g.out());
    g.adopt();
    gp::GdipDrawImageRectI(g.get(), source.image(), 0, 0, static_cast<INT>(w), static_cast<INT>(h));
    return owned;
}

}  // namespace

Bitmap decodeBitmap(std::span<const BYTE> bytes) {
    if (bytes.empty() || bytes.size() > UINT_MAX) return {};
    if (const auto pixels = decodePicturePixels(bytes)) return bitmapFromPixels(*pixels);
    return bitmapFromCodec(bytes);
}

bool decodePicture(Picture& picture) {
    picture.decoded = decodeBitmap(picture.bytes);
    picture.width = picture.height = 0;
    if (!picture.decoded) return false;
    UINT w = 0, h = 0;
    gp::GdipGetImageWidth(picture.decoded.image(), &w);
    gp::GdipGetImageHeight(picture.decoded.image(), &h);
    picture.width = static_cast<int>(w);
    picture.height = static_cast<int>(h);
    return true;
}

Picture pictureFrom(const std::vector<BYTE>& bytes) {
    Picture picture;
    picture.bytes = bytes;
    decodePicture(picture);
    return picture;
}

std::vector<BYTE> encodePng(Gdiplus::GpImage* image) {
    std::vector<BYTE> bytes;
    if (!image) return bytes;
    ComPointer<IStream> stream;
    if (CreateStreamOnHGlobal(nullptr, TRUE, stream.out()) != S_OK) return bytes;
    if (gp::GdipSaveImageToStream(image, stream.get(), &kPngEncoder, nullptr) == Gdiplus::Ok) {
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
        LARGE_INTEGER zero{};
        stream->Seek(zero, STREAM_SEEK_SET, nullptr);
        ULONG read = 0;
        stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
        bytes.resize(read);
    }
    return bytes;
}

HBITMAP createMemoryBitmap(int width, int height) {
    // A bottom-up 32-bit section, zero-filled by the system: what the
    // graphics library makes from an empty ARGB bitmap, without building and
    // copying one first (a window-sized one cost some 30 ms under Wine).
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width > 0 ? width : 1;
    info.bmiHeader.biHeight = height > 0 ? height : 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

std::vector<BYTE> resourceBytes(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!info) return {};
    HGLOBAL loaded = LoadResource(module, info);
    const auto* bytes = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) return {};
    return std::vector<BYTE>(bytes, bytes + SizeofResource(module, info));
}

COLORREF SkinEngine::AverageColour(Gdiplus::GpBitmap* picture) {
    if (!picture) return 0;
    UINT w = 0, h = 0;
    gp::GdipGetImageWidth(reinterpret_cast<Gdiplus::GpImage*>(picture), &w);
    gp::GdipGetImageHeight(reinterpret_cast<Gdiplus::GpImage*>(picture), &h);
    return averageColour(
        static_cast<int>(w), static_cast<int>(h),
        [picture](int x, int y) {
            Gdiplus::ARGB colour = 0;
            gp::GdipBitmapGetPixel(picture, x, y, &colour);
            return static_cast<std::uint32_t>(colour & 0x00FFFFFF);
        },
        random_);
}

std::vector<BYTE> SkinEngine::PrepareTexture(Gdiplus::GpBitmap* picture, int mode, COLORREF colour) {
    if (!picture) return {};
    UINT w = 0, h = 0;
    gp::GdipGetImageWidth(reinterpret_cast<Gdiplus::GpImage*>(picture), &w);
    gp::GdipGetImageHeight(reinterpret_cast<Gdiplus::GpImage*>(picture), &h);
    const int W = static_cast<int>(w), H = static_cast<int>(h);
    Bitmap texture;
    gp::GdipCreateBitmapFromScan0(W, H, 0, PixelFormat32bppARGB, nullptr, texture.out());
    texture.adopt();
    if (!texture) return {};
    {
        Graphics g;
        gp::GdipGetImageGraphicsContext(texture.image(), g.out());
        g.adopt();
        gp::GdipDrawImageRectI(g.get(), reinterpret_cast<Gdiplus::GpImage*>(picture), 0, 0, W, H);
        const TextureBands bands = textureBands(mode, W, H);
        const auto q = static_cast<float>(bands.q);
        if (bands.q > 0) {
            Brush side = mode == kPictureFadedRight
                             ? horizontalGradient(0, q, 0, argb(colour, 255), argb(colour, 0))
                             : horizontalGradient(static_cast<float>(W) - q, static_cast<float>(W), 0, argb(colour, 0),
                                                  argb(colour, 255));
            gp::GdipFillRectangleI(g.get(), side.get(), bands.sideX, 0, bands.sideWidth, H);
            Brush bottom = verticalGradient(0, static_cast<float>(H) - q, static_cast<float>(H), argb(colour, 0),
                                            argb(colour, 255));
            gp::GdipFillRectangleI(g.get(), bottom.get(), 0, bands.bottomY, W, bands.bottomHeight);
        }
    }
    return encodePng(texture.image());
}

const Picture& SkinEngine::builtInPicture(int resourceId) {
    auto found = builtInPictures_.find(resourceId);
    if (found == builtInPictures_.end()) {
        found = builtInPictures_.emplace(resourceId, pictureFrom(resourceBytes(resourceId))).first;
    }
    return found->second;
}

// ---------------------------------------------------------------- settings

void SkinEngine::SetTheme(const ThemeArgs& args) {
    backdropChanged();
    settings_.themeColour = args.themeColour;
    const bool picture = !args.fileName.empty() || !args.pictureBytes.empty();
    if (!picture && !args.baseColour) {
        if (args.themeColour == 0xFFFFFFFF) settings_.themeColour = settings_.baseColour;
        return;
    }
    if (picture) {
        Picture source;
        if (!args.fileName.empty()) {
            Image loaded;
            gp::GdipLoadImageFromFile(args.fileName.c_str(), loaded.out());
            loaded.adopt();
            source.bytes = encodePng(loaded.get());
        } else {
            source.bytes = args.pictureBytes;
        }
        decodePicture(source);
        settings_.baseColour = args.baseColour ? *args.baseColour : AverageColour(source.decoded.get());
        settings_.pictureMode = args.pictureMode;
        if (isFadedPictureMode(args.pictureMode)) {
            settings_.themePicture =
                pictureFrom(PrepareTexture(source.decoded.get(), args.pictureMode, settings_.baseColour));
        } else {
            settings_.themePicture = std::move(source);
        }
    } else {
        settings_.themePicture = {};
        settings_.baseColour = args.baseColour ? *args.baseColour : GetSysColor(COLOR_BTNFACE);
    }
    if (args.themeColour == 0xFFFFFFFF) settings_.themeColour = settings_.baseColour;
    for (int i = 1; i <= registry_.size(); ++i) {
        record(i)->scaledBackground = {};  // a new picture may reuse the old one's address
        record(i)->frameLayer.reset();
        HWND hwnd = record(i)->hwnd;
        if (!IsWindowVisible(hwnd)) continue;
        ComposeWindow(i, nullptr, false);
        InvalidateRect(hwnd, nullptr, FALSE);
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
        }
        // Headers of list views are not direct children.
        for (const ListViewEntry& header : record(i)->listViewEntries) {
            if (header.hwnd) InvalidateRect(header.hwnd, nullptr, FALSE);
        }
    }
}

void SkinEngine::SetOptions(bool skinChildren, std::optional<int> veilAlpha, int trackBarStyle) {
    backdropChanged();
    settings_.skinChildren = skinChildren;
    settings_.veilEnabled = veilAlpha.has_value();
    settings_.veilAlpha = veilAlpha ? std::clamp(*veilAlpha, 0, 255) : 160;
    settings_.trackBarStyle = trackBarStyle;
}

// ---------------------------------------------------------------- attach

void SkinEngine::addTooltips(WindowRecord& r) {
    Tooltip tips = Tooltip::create(r.hwnd);
    r.tipWindow = tips.window();
    for (size_t n = 0; n < r.buttonArt.size(); ++n) tips.addTool({}, r.buttonArt[n].label, n + 1);
}

bool SkinEngine::AttachWindow(HWND hwnd, int captionHeight, const AttachOptions& options) {
    if (!hwnd || !IsWindow(hwnd) || registry_.indexOf(hwnd) != 0) return false;
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    RECT client;
    GetClientRect(hwnd, &client);
    stripMargin_ = kStripMargin;
    auto r = std::make_unique<WindowRecord>();
    r->hwnd = hwnd;
    r->captionHeight = effectiveCaptionHeight(captionHeight);
    r->helpButton = options.helpButton;
    r->menuButton = options.menuButton;
    r->hasMinimize = (style & WS_MINIMIZEBOX) != 0;
    r->hasMaximize = (style & WS_MAXIMIZEBOX) != 0;
    r->showTitle = options.showTitle;
    r->captionGloss = options.captionGloss;
    r->framed = options.framed;
    r->resizable = options.resizable;
    r->maxTrack = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    r->ownPictureMode = options.ownPictureMode.value_or(settings_.pictureMode);
    if (!options.ownPicture.empty()) {
        Picture source = pictureFrom(options.ownPicture);
        r->ownBackColour = AverageColour(source.decoded.get());
        if (isFadedPictureMode(r->ownPictureMode)) {
            r->ownPicture = pictureFrom(PrepareTexture(source.decoded.get(), r->ownPictureMode, r->ownBackColour));
        } else {
            r->ownPicture = std::move(source);
        }
    }
    for (const ButtonSpec& spec : kButtonSpecs) {
        const bool wanted = (spec.kind == kHelp && r->helpButton) || (spec.kind == kMainMenu && r->menuButton) ||
                            (spec.kind == kMinimize && r->hasMinimize) || (spec.kind == kMaximize && r->hasMaximize) ||
                            spec.kind == kClose;
        if (!wanted) continue;
        r->buttons.push_back(buttonOfKind(spec.kind));
        CaptionButtonArt art;
        art.image = pictureFrom(resourceBytes(spec.imageId));
        if (spec.altImageId) art.altImage = pictureFrom(resourceBytes(spec.altImageId));
        art.label = spec.label;
        r->buttonArt.push_back(std::move(art));
    }
    r->strip = initialStrip(r->buttons, client.right, stripMargin_);
    SetWindowLongW(hwnd, GWL_STYLE, style | WS_SYSMENU);
    WindowRecord& record = *r;
    const int index = registry_.add(std::move(r));
    backdropChanged();
    addTooltips(record);
    LayoutCaptionButtons(index);
    if (options.statusBarHeight > 0) {
        record.statusGlowColour = 0x00FFFFFF;
        record.statusFontName = L"宋体";
        record.statusFontSize = 12;
        SetStatusBar(index, options.statusBarHeight, options.statusPanelWidths, true);
    }
    LayoutStatusBar(index);
    record.attached = true;
    record.recomposeNeeded = true;
    setIndexProperty(hwnd, kPropIndex, index);
    record.previous = installSubclass(hwnd, frameProcedure, {nullptr, 0, index, 0}).previous;
    SetPropW(hwnd, kPropPreviousProc, reinterpret_cast<HANDLE>(record.previous));
    runControlHooks(*this, index, hwnd);
    return true;
}

void SkinEngine::CaptionCommand(int windowIndex, int buttonIndex) {
    WindowRecord* r = record(windowIndex);
    if (!r || buttonIndex < 1 || buttonIndex > static_cast<int>(r->buttons.size())) return;
    const size_t n = static_cast<size_t>(buttonIndex - 1);
    HWND hwnd = r->hwnd;
    switch (r->buttons[n].kind) {
    case kClose:
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case kMaximize:
        r->recomposeNeeded = true;
        if (r->maximized) {
            r->minimized = r->maximized = false;
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            r->maximized = true;
            r->minimized = false;
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        break;
    case kMinimize:
        r->minimized = true;
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case kMainMenu:
        runFromCaption(windowIndex, r->menuHandler);
        break;
    case kHelp:
        runFromCaption(windowIndex, r->helpHandler);
        break;
    case kUserButton:
        runFromCaption(windowIndex, r->buttonArt[n].handler);
        break;
    default:
        break;
    }
}

// A caption button's handler may open a menu or a window with a modal loop
// of its own, which takes the mouse away without a leave notice: the
// button's tooltip goes first (it would stand over the menu), and the button
// fades back to rest afterwards when the mouse is no longer over it.
void SkinEngine::runFromCaption(int windowIndex, const std::function<void()>& handler) {
    WindowRecord* r = record(windowIndex);
    if (!r || !handler) return;
    if (r->tipWindow) {
        SendMessageW(r->tipWindow, TTM_POP, 0, 0);
        SendMessageW(r->tipWindow, TTM_ACTIVATE, FALSE, 0);
    }
    HWND hwnd = r->hwnd;
    const std::function<void()> run = handler;  // the record may change while it runs
    run();
    if (record(windowIndex) != r || !IsWindow(hwnd)) return;
    if (r->tipWindow) SendMessageW(r->tipWindow, TTM_ACTIVATE, TRUE, 0);
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(hwnd, &cursor);
    if (r->framed && HitTestCaptionButtons(windowIndex, cursor.x, cursor.y) == hoverIndex_ && hoverIndex_ >= 1) return;
    hoverIndex_ = 0;
    drawFadeSteps(windowIndex, r->fades.mouseLeave());
    SetTimer(hwnd, reinterpret_cast<UINT_PTR>(hwnd), 20, nullptr);  // the fade out
}

void SkinEngine::SetHelpHandler(HWND hwnd, std::function<void()> handler) {
    if (WindowRecord* r = record(registry_.indexOf(hwnd))) r->helpHandler = std::move(handler);
}

void SkinEngine::SetMenuHandler(HWND hwnd, std::function<void()> handler) {
    if (WindowRecord* r = record(registry_.indexOf(hwnd))) r->menuHandler = std::move(handler);
}

int taskbarHeight() {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT rc;
    if (tray && GetWindowRect(tray, &rc)) return rc.bottom - rc.top;
    // No taskbar window (as under Wine without a desktop): the work area.
    RECT work;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        return std::max(0L, GetSystemMetrics(SM_CYSCREEN) - work.bottom);
    }
    return 0;
}

}  // namespace skin
