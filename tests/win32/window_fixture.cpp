#include "tests/win32/window_fixture.h"

#include "ui/application.h"
#include "ui/win_text.h"

using namespace ui;

void pumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) processMessage(msg);
        if (milliseconds) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

void EditorWindowTest::SetUp() {
    window_ = EditorWindow::create(GetModuleHandleW(nullptr), options_);
    ASSERT_TRUE(window_);
    SetForegroundWindow(window_->hwnd());
    pumpMessages();
}

void EditorWindowTest::TearDown() {
    window_.reset();
    pumpMessages();
}

HWND EditorWindowTest::control(std::string_view name) const {
    HWND hwnd = window_->control(name);
    EXPECT_TRUE(hwnd) << name;
    return hwnd;
}

std::string EditorWindowTest::text(std::string_view name) const { return windowText(control(name)); }

std::string EditorWindowTest::output() const { return text("编辑框1"); }

std::vector<std::string> EditorWindowTest::outputLines() const {
    std::vector<std::string> lines;
    const std::string all = output();
    size_t from = 0;
    for (size_t at; (at = all.find("\r\n", from)) != std::string::npos; from = at + 2) {
        lines.push_back(all.substr(from, at - from));
    }
    EXPECT_EQ(from, all.size()) << "the last line must end in CR LF";
    return lines;
}

void EditorWindowTest::typeChar(HWND target, wchar_t ch) { SendMessageW(target, WM_CHAR, ch, 1); }

void EditorWindowTest::type(std::string_view name, std::string_view utf8) {
    HWND target = control(name);
    SetFocus(target);
    SendMessageW(target, EM_SETSEL, GetWindowTextLengthW(target), GetWindowTextLengthW(target));
    for (wchar_t ch : wide(utf8)) typeChar(target, ch);
    pumpMessages();
}

void EditorWindowTest::setText(std::string_view name, std::string_view utf8) {
    // What a paste over the whole text does.
    HWND target = control(name);
    SendMessageW(target, EM_SETSEL, 0, -1);
    SendMessageW(target, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide(utf8).c_str()));
    pumpMessages();
}

void EditorWindowTest::click(std::string_view name) {
    HWND target = control(name);
    RECT rc;
    GetClientRect(target, &rc);
    const LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(target, WM_LBUTTONUP, 0, at);
    pumpMessages();
}

void EditorWindowTest::pressKey(HWND target, UINT virtualKey) {
    SendMessageW(target, WM_KEYDOWN, virtualKey, 1);
    SendMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
    pumpMessages();
}

void EditorWindowTest::postKey(HWND target, UINT virtualKey) {
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
    pumpMessages();
}

void EditorWindowTest::leave(std::string_view name) {
    SetFocus(control(name));
    SetFocus(control("编辑框1"));
    pumpMessages();
}

bool EditorWindowTest::isChecked(std::string_view name) const {
    return SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
