#include "bridge/win32_game_platform.h"

#include "bridge/game_window.h"
#include "editor/unicode.h"

namespace bridge {
namespace {

// A title write waits at most this long for a game that is busy; a game
// that has stopped answering is not waited for at all.
constexpr UINT kTitleTimeoutMs = 2000;

HWND toHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }

bool isSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Dispatches every pending message; false when the quit message came, which
// is posted again for the main loop.
bool dispatchPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace

bool pumpingDelay(int milliseconds) {
    if (milliseconds <= 0) return true;
    const auto delay = static_cast<DWORD>(milliseconds);
    const DWORD start = GetTickCount();
    for (;;) {
        if (!dispatchPending()) return false;
        const DWORD elapsed = GetTickCount() - start;  // correct across the counter's wrap
        if (elapsed > delay) break;
        MsgWaitForMultipleObjectsEx(0, nullptr, delay - elapsed + 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return dispatchPending();
}

bool forceForeground(HWND target) {
    const DWORD targetThread = GetWindowThreadProcessId(target, nullptr);
    const DWORD ourThread = GetCurrentThreadId();
    const bool attached =
        targetThread != 0 && targetThread != ourThread && AttachThreadInput(ourThread, targetThread, TRUE) != FALSE;
    SetActiveWindow(target);
    if (attached) AttachThreadInput(ourThread, targetThread, FALSE);
    return SetForegroundWindow(target) != FALSE;
}

std::string toCodePage936(std::string_view utf8Text) {
    const std::wstring utf16 = editor::toWide(utf8Text);
    // Code page 936 has no character beyond the Basic Multilingual Plane:
    // a surrogate pair (or a stray surrogate) is one unrepresentable character.
    std::wstring units;
    units.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        if (!isSurrogate(utf16[i])) {
            units += utf16[i];
            continue;
        }
        units += L'?';
        if (utf16[i] <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) ++i;
    }
    if (units.empty()) return {};
    constexpr UINT kCodePage = 936;
    const int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, units.data(),
                                           static_cast<int>(units.size()), nullptr, 0, "?", nullptr);
    if (length <= 0) return std::string(units.size(), '?');
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, units.data(), static_cast<int>(units.size()), bytes.data(),
                        length, "?", nullptr);
    return bytes;
}

void showInformation(std::string_view utf8Text) {
    MessageBoxW(nullptr, editor::toWide(utf8Text).c_str(), L"信息：", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

GameLookup Win32GamePlatform::findGame() {
    const HWND found = findGameWindow();
    if (found == noGameProcess()) return {GameStatus::NoProcess, 0};
    if (!found) return {GameStatus::NoVisibleWindow, 0};
    return {GameStatus::Found, reinterpret_cast<WindowId>(found)};
}

bool Win32GamePlatform::isWindow(WindowId window) { return IsWindow(toHwnd(window)) != FALSE; }

bool Win32GamePlatform::isMinimised(WindowId window) { return IsIconic(toHwnd(window)) != FALSE; }

// The title as UTF-16 (SetWindowTextW's message): right on every system
// whatever its code page, and the same GBK bytes as an ANSI write for an
// ANSI window on a Chinese system. Sent with a time limit so that a hung
// game cannot hang the editor.
void Win32GamePlatform::setTitle(WindowId window, std::string_view utf8Text) {
    const std::wstring title = editor::toWide(utf8Text);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(toHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()),
                        SMTO_NORMAL | SMTO_ABORTIFHUNG, kTitleTimeoutMs, &result);
}

void Win32GamePlatform::activate(WindowId window) { SetActiveWindow(toHwnd(window)); }

void Win32GamePlatform::forceForeground(WindowId window) { bridge::forceForeground(toHwnd(window)); }

bool Win32GamePlatform::isForeground(WindowId window) { return window != 0 && GetForegroundWindow() == toHwnd(window); }

void Win32GamePlatform::synthesiseKey(unsigned virtualKey) {
    const auto key = static_cast<BYTE>(virtualKey);
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

std::string Win32GamePlatform::encodeLine(std::string_view utf8Text) { return toCodePage936(utf8Text); }

bool Win32GamePlatform::postChar(WindowId window, std::uintptr_t wParam, std::intptr_t lParam) {
    return PostMessageA(toHwnd(window), WM_CHAR, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) != FALSE;
}

bool Win32GamePlatform::wait(int milliseconds) { return pumpingDelay(milliseconds); }

void Win32GamePlatform::showMessage(std::string_view utf8Text) { showInformation(utf8Text); }

}  // namespace bridge
