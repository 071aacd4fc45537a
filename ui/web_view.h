// The hidden web view that plays the music page: the system's embeddable
// browser control, hosted in a window of the layout. When no browser engine
// can be created, navigation does nothing and nothing is shown.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct IWebBrowser2;

namespace ui {

// Loads the page at `url` anew: a navigation that neither reads the cache nor
// adds to the history or, when `url` is the address already shown, a complete
// refresh (a navigation to the same address with a fragment would only jump
// within the page and not load it again).
void loadAnew(IWebBrowser2& browser, const std::wstring& url);

class WebView {
public:
    explicit WebView(HWND host);
    ~WebView();
    WebView(const WebView&) = delete;
    WebView& operator=(const WebView&) = delete;

    // Loads the page anew, even when it is the page already shown.
    void navigate(std::string_view url);

    // Whether a browser control could be created (tried on first navigation).
    bool available() const { return browser_ != nullptr; }

    // Seams for tests: see every requested address; behave as a system
    // without a browser engine.
    void setNavigationObserver(std::function<void(std::string_view url)> observer) { observer_ = std::move(observer); }
    void refuseBrowser() { creationFailed_ = true; }
    // Seam for tests: a browser of the test's own (referenced) in place of
    // the system's.
    void useBrowser(IWebBrowser2* browser);

private:
    struct Browser;
    bool ensureBrowser();

    HWND host_;
    std::unique_ptr<Browser> browser_;
    bool creationFailed_ = false;
    std::function<void(std::string_view)> observer_;
};

}  // namespace ui
