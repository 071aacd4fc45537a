#include "tests/win32/screenshot.h"

#include <fstream>
#include <vector>

#include "skin/gdiplus_owners.h"
#include "skin/skin_engine.h"

std::wstring screenshotDirectory() {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"RPGITEM_SCREENSHOT_DIR", value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::wstring directory(value, length);
    // A Unix path from the shell lies on Wine's drive Z:.
    if (directory.front() == L'/') directory = L"Z:" + directory;
    return directory;
}

bool saveWindowScreenshot(HWND hwnd, const std::wstring& name) {
    const std::wstring directory = screenshotDirectory();
    if (directory.empty()) return false;
    RECT rc;
    GetWindowRect(hwnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    Gdiplus::GpBitmap* image = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image);
    const std::vector<BYTE> png = skin::encodePng(image);
    if (image) Gdiplus::DllExports::GdipDisposeImage(image);
    DeleteObject(bitmap);
    if (png.empty()) return false;
    HANDLE file = CreateFileW((directory + L"\\" + name + L".png").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == png.size();
}
