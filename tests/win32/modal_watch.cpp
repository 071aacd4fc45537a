#include "tests/win32/modal_watch.h"

#include "ui/win_text.h"

using namespace ui;

namespace {

struct Search {
    const wchar_t* windowClass;
    HWND found = nullptr;
};

BOOL CALLBACK findVisible(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && std::wstring_view(name) == search->windowClass) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Long enough for any machine; only a window that never opens waits it out.
constexpr DWORD kGiveUpAfterMs = 15000;

}  // namespace

ModalWatch::ModalWatch(const wchar_t* windowClass, std::function<void(HWND)> act)
    : helper_([this, windowClass, act = std::move(act)] {
          const DWORD start = GetTickCount();
          while (GetTickCount() - start < kGiveUpAfterMs) {
              Search search{windowClass};
              EnumWindows(findVisible, reinterpret_cast<LPARAM>(&search));
              if (search.found) {
                  act(search.found);
                  acted_ = true;
                  return;
              }
              Sleep(10);
          }
      }) {}

ModalWatch::~ModalWatch() { finish(); }

bool ModalWatch::finish() {
    if (helper_.joinable()) helper_.join();
    return acted_;
}

MessageBoxSeen readTexts(HWND box) {
    MessageBoxSeen seen;
    seen.caption = windowText(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (_wcsicmp(name, L"Static") != 0) continue;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen.hasIcon = true;
        } else if (GetWindowTextLengthW(child) > 0) {
            seen.texts.push_back(windowText(child));
        }
    }
    return seen;
}

MessageBoxSeen readAndConfirm(HWND box) {
    const MessageBoxSeen seen = readTexts(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return seen;
}
