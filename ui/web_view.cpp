#include "ui/web_view.h"

#include <exdisp.h>
#include <ole2.h>
#include <oleauto.h>

#include "skin/handle_owners.h"
#include "ui/win_text.h"

namespace ui {

namespace {

// The container side of in-place activation: the browser needs a client
// site, an in-place site and a frame; all of them answer for the host window.
class BrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    explicit BrowserSite(HWND host) : host_(host) {}
    virtual ~BrowserSite() = default;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
            *out = static_cast<IOleClientSite*>(this);
        } else if (riid == IID_IOleInPlaceSite || riid == IID_IOleWindow) {
            *out = static_cast<IOleInPlaceSite*>(this);
        } else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow) {
            *out = static_cast<IOleInPlaceFrame*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* window) override {
        *window = host_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        *frame = this;
        AddRef();
        *document = nullptr;
        GetClientRect(host_, position);
        *clip = *position;
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(host_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no menus, borders or status.
    STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    HWND host_;
    LONG references_ = 1;
};

}  // namespace

// Released in reverse order of declaration: the browser, its object, then
// the site that the object no longer holds.
struct WebView::Browser {
    skin::ComPointer<BrowserSite> site;
    skin::ComPointer<IOleObject> object;
    skin::ComPointer<IWebBrowser2> browser;

    ~Browser() {
        if (browser) browser->Stop();
        if (object) {
            object->Close(OLECLOSE_NOSAVE);
            object->SetClientSite(nullptr);
        }
    }
};

WebView::WebView(HWND host) : host_(host) {}

WebView::~WebView() = default;

bool WebView::ensureBrowser() {
    if (browser_) return true;
    if (creationFailed_ || !host_) return false;
    creationFailed_ = true;  // one attempt: a missing engine stays missing
    auto created = std::make_unique<Browser>();
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(created->object.out())))) {
        return false;
    }
    *created->site.out() = new BrowserSite(host_);
    if (FAILED(created->object->SetClientSite(created->site.get()))) return false;
    RECT area;
    GetClientRect(host_, &area);
    if (FAILED(created->object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, created->site.get(), 0, host_, &area))) {
        return false;
    }
    if (FAILED(created->object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(created->browser.out())))) {
        return false;
    }
    // Never a script-error or any other dialog from a page nobody sees.
    created->browser->put_Silent(VARIANT_TRUE);
    browser_ = std::move(created);
    creationFailed_ = false;
    return true;
}

void WebView::useBrowser(IWebBrowser2* browser) {
    browser_ = std::make_unique<Browser>();
    if (browser) browser->AddRef();
    *browser_->browser.out() = browser;
}

void loadAnew(IWebBrowser2& browser, const std::wstring& url) {
    BSTR shown = nullptr;
    const bool unchanged = SUCCEEDED(browser.get_LocationURL(&shown)) && shown && url == shown;
    SysFreeString(shown);
    if (unchanged) {
        VARIANT level;
        VariantInit(&level);
        level.vt = VT_I4;
        level.lVal = REFRESH_COMPLETELY;
        browser.Refresh2(&level);
        return;
    }
    VARIANT address;
    VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = SysAllocString(url.c_str());
    VARIANT flags;
    VariantInit(&flags);
    flags.vt = VT_I4;
    flags.lVal = navNoHistory | navNoReadFromCache;
    VARIANT none;
    VariantInit(&none);
    browser.Navigate2(&address, &flags, &none, &none, &none);
    VariantClear(&address);
}

void WebView::navigate(std::string_view url) {
    if (observer_) observer_(url);
    if (!ensureBrowser() || !browser_->browser) return;
    loadAnew(*browser_->browser.get(), wide(url));
}

}  // namespace ui
