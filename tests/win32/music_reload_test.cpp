// The music button loads its page anew on every click, also when the page
// is already shown: seen through a browser that counts its page loads as a
// real one makes them (a navigation to the shown document with a fragment
// is a jump within the page, not a load).
#include <windows.h>

#include <exdisp.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/win32/window_fixture.h"
#include "ui/web_addresses.h"
#include "ui/web_view.h"
#include "ui/win_text.h"

using namespace ui;

namespace {

// Every method a page-loading test does not need fails with E_NOTIMPL.
#define NOT_NEEDED(name, ...) \
    STDMETHODIMP name(__VA_ARGS__) override { return E_NOTIMPL; }

class PageCountingBrowser final : public IWebBrowser2 {
public:
    struct Call {
        std::wstring kind;  // "Navigate2" or "Refresh2"
        long argument = 0;  // the navigation flags or the refresh level
    };
    int loads = 0;
    std::wstring shown;
    std::vector<Call> calls;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser || riid == IID_IWebBrowserApp ||
            riid == IID_IWebBrowser2) {
            *out = static_cast<IWebBrowser2*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references_); }
    STDMETHODIMP_(ULONG) Release() override {
        const long left = --references_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // What the web view uses.
    STDMETHODIMP Navigate2(VARIANT* url, VARIANT* flags, VARIANT*, VARIANT*, VARIANT*) override {
        if (!url || url->vt != VT_BSTR) return E_INVALIDARG;
        calls.push_back({L"Navigate2", flags && flags->vt == VT_I4 ? flags->lVal : 0});
        const std::wstring address = url->bstrVal;
        const bool jumpWithinThePage =
            address.find(L'#') != std::wstring::npos && documentOf(address) == documentOf(shown);
        if (!jumpWithinThePage) ++loads;
        shown = address;
        return S_OK;
    }
    STDMETHODIMP Refresh2(VARIANT* level) override {
        calls.push_back({L"Refresh2", level && level->vt == VT_I4 ? level->lVal : 0});
        if (!shown.empty()) ++loads;
        return S_OK;
    }
    STDMETHODIMP get_LocationURL(BSTR* location) override {
        *location = SysAllocString(shown.c_str());
        return S_OK;
    }
    STDMETHODIMP Stop() override { return S_OK; }
    STDMETHODIMP put_Silent(VARIANT_BOOL) override { return S_OK; }

    // IDispatch
    NOT_NEEDED(GetTypeInfoCount, UINT*)
    NOT_NEEDED(GetTypeInfo, UINT, LCID, ITypeInfo**)
    NOT_NEEDED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    NOT_NEEDED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    // IWebBrowser
    NOT_NEEDED(GoBack)
    NOT_NEEDED(GoForward)
    NOT_NEEDED(GoHome)
    NOT_NEEDED(GoSearch)
    NOT_NEEDED(Navigate, BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    NOT_NEEDED(Refresh)
    NOT_NEEDED(get_Application, IDispatch**)
    NOT_NEEDED(get_Parent, IDispatch**)
    NOT_NEEDED(get_Container, IDispatch**)
    NOT_NEEDED(get_Document, IDispatch**)
    NOT_NEEDED(get_TopLevelContainer, VARIANT_BOOL*)
    NOT_NEEDED(get_Type, BSTR*)
    NOT_NEEDED(get_Left, LONG*)
    NOT_NEEDED(put_Left, LONG)
    NOT_NEEDED(get_Top, LONG*)
    NOT_NEEDED(put_Top, LONG)
    NOT_NEEDED(get_Width, LONG*)
    NOT_NEEDED(put_Width, LONG)
    NOT_NEEDED(get_Height, LONG*)
    NOT_NEEDED(put_Height, LONG)
    NOT_NEEDED(get_LocationName, BSTR*)
    NOT_NEEDED(get_Busy, VARIANT_BOOL*)
    // IWebBrowserApp
    NOT_NEEDED(Quit)
    NOT_NEEDED(ClientToWindow, int*, int*)
    NOT_NEEDED(PutProperty, BSTR, VARIANT)
    NOT_NEEDED(GetProperty, BSTR, VARIANT*)
    NOT_NEEDED(get_Name, BSTR*)
    NOT_NEEDED(get_HWND, SHANDLE_PTR*)
    NOT_NEEDED(get_FullName, BSTR*)
    NOT_NEEDED(get_Path, BSTR*)
    NOT_NEEDED(get_Visible, VARIANT_BOOL*)
    NOT_NEEDED(put_Visible, VARIANT_BOOL)
    NOT_NEEDED(get_StatusBar, VARIANT_BOOL*)
    NOT_NEEDED(put_StatusBar, VARIANT_BOOL)
    NOT_NEEDED(get_StatusText, BSTR*)
    NOT_NEEDED(put_StatusText, BSTR)
    NOT_NEEDED(get_ToolBar, int*)
    NOT_NEEDED(put_ToolBar, int)
    NOT_NEEDED(get_MenuBar, VARIANT_BOOL*)
    NOT_NEEDED(put_MenuBar, VARIANT_BOOL)
    NOT_NEEDED(get_FullScreen, VARIANT_BOOL*)
    NOT_NEEDED(put_FullScreen, VARIANT_BOOL)
    // IWebBrowser2
    NOT_NEEDED(QueryStatusWB, OLECMDID, OLECMDF*)
    NOT_NEEDED(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
    NOT_NEEDED(ShowBrowserBar, VARIANT*, VARIANT*, VARIANT*)
    NOT_NEEDED(get_ReadyState, READYSTATE*)
    NOT_NEEDED(get_Offline, VARIANT_BOOL*)
    NOT_NEEDED(put_Offline, VARIANT_BOOL)
    NOT_NEEDED(get_Silent, VARIANT_BOOL*)
    NOT_NEEDED(get_RegisterAsBrowser, VARIANT_BOOL*)
    NOT_NEEDED(put_RegisterAsBrowser, VARIANT_BOOL)
    NOT_NEEDED(get_RegisterAsDropTarget, VARIANT_BOOL*)
    NOT_NEEDED(put_RegisterAsDropTarget, VARIANT_BOOL)
    NOT_NEEDED(get_TheaterMode, VARIANT_BOOL*)
    NOT_NEEDED(put_TheaterMode, VARIANT_BOOL)
    NOT_NEEDED(get_AddressBar, VARIANT_BOOL*)
    NOT_NEEDED(put_AddressBar, VARIANT_BOOL)
    NOT_NEEDED(get_Resizable, VARIANT_BOOL*)
    NOT_NEEDED(put_Resizable, VARIANT_BOOL)

private:
    static std::wstring_view documentOf(const std::wstring& address) {
        return std::wstring_view(address).substr(0, address.find(L'#'));
    }
    long references_ = 1;
};

#undef NOT_NEEDED

// The browser as the web view holds it, released when the test ends.
struct CountingBrowser {
    PageCountingBrowser* page = new PageCountingBrowser;
    ~CountingBrowser() { page->Release(); }
};

}  // namespace

TEST_F(EditorWindowTest, EverySecondClickOnTheMusicButtonLoadsThePageAgain) {
    CountingBrowser browser;
    window_->webView().useBrowser(browser.page);
    click("按钮8");
    EXPECT_EQ(browser.page->loads, 1);
    click("按钮8");
    EXPECT_EQ(browser.page->loads, 2) << "the song starts again";
    click("按钮9");
    click("按钮8");
    click("按钮8");
    EXPECT_EQ(browser.page->loads, 5);
    EXPECT_EQ(browser.page->shown, wide(RPGITEM_MUSIC_URL));
}

TEST(WebPageLoading, NewAddressesBypassTheCacheAndTheShownAddressIsRefreshedCompletely) {
    CountingBrowser browser;
    PageCountingBrowser& page = *browser.page;
    const std::wstring music = L"https://music.example/#/outchain/3/1/";
    loadAnew(page, music);
    loadAnew(page, music);
    loadAnew(page, L"https://chat.example/?k=1");
    ASSERT_EQ(page.calls.size(), 3u);
    EXPECT_EQ(page.calls[0].kind, L"Navigate2");
    EXPECT_EQ(page.calls[0].argument, navNoHistory | navNoReadFromCache);
    EXPECT_EQ(page.calls[1].kind, L"Refresh2");
    EXPECT_EQ(page.calls[1].argument, REFRESH_COMPLETELY);
    EXPECT_EQ(page.calls[2].kind, L"Navigate2");
    EXPECT_EQ(page.loads, 3);
}
