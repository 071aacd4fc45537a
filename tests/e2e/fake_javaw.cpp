// A stand-in for the game client in end-to-end tests, built as javaw.exe so
// that the editor's lookup finds it. Its windows are ANSI windows, as a
// character message posted per byte arrives per byte only at those. It logs
// what reaches them, one line per event, written through at once:
//
//   <tick> READY <count> top=<index> <hex handle of window 0> …
//   <tick> KEYDOWN <window> <virtual key>      (also KEYUP, SYSKEYDOWN, SYSKEYUP)
//   <tick> CHAR <window> <wParam> <lParam>
//   <tick> SETTEXT <window> <title bytes in hex>
//   <tick> CLOSED <window>
//
// <tick> is GetTickCount(), comparable across processes; <window> is the
// window's index in creation order. No TranslateMessage: every CHAR line is
// a posted character, never one made from a key press.
//
//   javaw.exe --log <file> [--minimized] [--hidden-only] [--two-windows]
//             [--close-after <characters>] [--lifetime <ms>]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char kClassName[] = "LWJGL";
constexpr UINT_PTR kLifetimeTimer = 1;

struct Options {
    std::wstring logPath;
    bool minimized = false;
    bool hiddenOnly = false;
    bool twoWindows = false;
    long closeAfter = 0;      // 0: never
    UINT lifetimeMs = 60000;  // a forgotten fake ends by itself
};

HANDLE logFile = INVALID_HANDLE_VALUE;
std::vector<HWND> windows;
Options options;
long charsReceived = 0;
int windowsAlive = 0;

void logLine(const std::string& text) {
    const std::string line = std::to_string(GetTickCount()) + " " + text + "\r\n";
    DWORD written = 0;
    WriteFile(logFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

int indexOf(HWND hwnd) {
    for (size_t i = 0; i < windows.size(); ++i) {
        if (windows[i] == hwnd) return static_cast<int>(i);
    }
    return -1;
}

std::string hex(const char* bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char* p = bytes; p && *p; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out.empty() ? "-" : out;
}

void closeAll() {
    for (HWND hwnd : windows) {
        if (IsWindow(hwnd)) {
            logLine("CLOSED " + std::to_string(indexOf(hwnd)));
            DestroyWindow(hwnd);
        }
    }
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const std::string window = std::to_string(indexOf(hwnd));
    switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
        const char* kind = msg == WM_KEYDOWN      ? "KEYDOWN"
                           : msg == WM_KEYUP      ? "KEYUP"
                           : msg == WM_SYSKEYDOWN ? "SYSKEYDOWN"
                                                  : "SYSKEYUP";
        logLine(std::string(kind) + " " + window + " " + std::to_string(wParam));
        return 0;
    }
    case WM_CHAR:
        logLine("CHAR " + window + " " + std::to_string(wParam) + " " + std::to_string(lParam));
        if (options.closeAfter > 0 && ++charsReceived == options.closeAfter) closeAll();
        return 0;
    case WM_SETTEXT:
        logLine("SETTEXT " + window + " " + hex(reinterpret_cast<const char*>(lParam)));
        break;
    case WM_DESTROY:
        if (--windowsAlive == 0) PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool parse(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--log" && i + 1 < argc) {
            options.logPath = argv[++i];
        } else if (arg == L"--minimized") {
            options.minimized = true;
        } else if (arg == L"--hidden-only") {
            options.hiddenOnly = true;
        } else if (arg == L"--two-windows") {
            options.twoWindows = true;
        } else if (arg == L"--close-after" && i + 1 < argc) {
            options.closeAfter = std::wcstol(argv[++i], nullptr, 10);
        } else if (arg == L"--lifetime" && i + 1 < argc) {
            options.lifetimeMs = static_cast<UINT>(std::wcstoul(argv[++i], nullptr, 10));
        } else {
            return false;
        }
    }
    return !options.logPath.empty();
}

// Which of our windows is highest in the Z order.
int topWindow() {
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (const int index = indexOf(hwnd); index >= 0) return index;
    }
    return -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!parse(argc, argv)) {
        std::fprintf(stderr,
                     "usage: javaw.exe --log <file> [--minimized] [--hidden-only] [--two-windows] "
                     "[--close-after <characters>] [--lifetime <ms>]\n");
        return 2;
    }
    logFile =
        CreateFileW(options.logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (logFile == INVALID_HANDLE_VALUE) return 3;

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return 4;

    const int count = options.twoWindows ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        HWND hwnd = CreateWindowExA(0, kClassName, "Minecraft 1.12.2", WS_OVERLAPPEDWINDOW, 60 + 40 * i, 60 + 40 * i,
                                    480, 320, nullptr, nullptr, instance, nullptr);
        if (!hwnd) return 5;
        windows.push_back(hwnd);
        ++windowsAlive;
    }
    if (!options.hiddenOnly) {
        for (HWND hwnd : windows) {
            ShowWindow(hwnd, options.minimized ? SW_MINIMIZE : SW_SHOW);
            UpdateWindow(hwnd);
        }
    }
    SetTimer(nullptr, kLifetimeTimer, options.lifetimeMs, nullptr);

    std::string ready = "READY " + std::to_string(count) + " top=" + std::to_string(topWindow());
    for (HWND hwnd : windows) {
        char handle[32];
        std::snprintf(handle, sizeof handle, " %lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)));
        ready += handle;
    }
    logLine(ready);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
            closeAll();
            break;
        }
        DispatchMessageA(&msg);
    }
    CloseHandle(logFile);
    return 0;
}
