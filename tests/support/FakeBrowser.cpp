#include "tests/support/FakeBrowser.h"

#include <exdispid.h>
#include <olectl.h>

#include <algorithm>

namespace qxrv::test {

namespace {

constexpr wchar_t kShellClass[] = L"QxrvFakeShellEmbedding";
constexpr wchar_t kServerClass[] = L"Internet Explorer_Server";
// Posted to the fake's own window: complete the oldest pending navigation.
constexpr UINT kCompleteMessage = WM_APP + 0x2B;

std::vector<FakeBrowser*>& LiveList() {
    static std::vector<FakeBrowser*> live;
    return live;
}
int g_created = 0;

// QueryInterface of an object that offers IUnknown and the one interface iid, through self.
template <class I> HRESULT QueryOne(I* self, REFIID riid, REFIID iid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == iid) {
        *ppv = self;
        self->AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// A VARIANT that holds a BSTR (which it owns only if the caller clears it).
void SetBstr(VARIANT& v, BSTR bstr) {
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = bstr;
}

// An event argument that refers to another VARIANT, as the control passes most of them.
void SetVariantRef(VARIANTARG& arg, VARIANT* pTarget) {
    VariantInit(&arg);
    V_VT(&arg) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&arg) = pTarget;
}

// Asks an in-place site where the control lies, letting go of the frame and document it also answers with.
bool WindowContext(IOleInPlaceSite* pInPlace, RECT* pPos, RECT* pClip) {
    IOleInPlaceFrame* pFrame = nullptr;
    IOleInPlaceUIWindow* pDoc = nullptr;
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof(frameInfo);
    const bool ok = SUCCEEDED(pInPlace->GetWindowContext(&pFrame, &pDoc, pPos, pClip, &frameInfo));
    if (pFrame)
        pFrame->Release();
    if (pDoc)
        pDoc->Release();
    return ok;
}

// A frame's browser: only its identity matters, so it answers nothing but IUnknown and IDispatch.
class FakeFrame final : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        return QueryOne<IDispatch>(this, riid, IID_IDispatch, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

private:
    ULONG m_refs = 1;
};

} // namespace

// The DWebBrowserEvents2 connection point; it lives inside its browser and shares its reference count.
class FakeConnectionPoint final : public IConnectionPoint {
public:
    explicit FakeConnectionPoint(FakeBrowser* owner) : m_owner(owner) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        return QueryOne<IConnectionPoint>(this, riid, IID_IConnectionPoint, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_owner->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_owner->Release(); }
    STDMETHODIMP GetConnectionInterface(IID* pIID) override {
        if (!pIID)
            return E_POINTER;
        *pIID = DIID_DWebBrowserEvents2;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override {
        if (!ppCPC)
            return E_POINTER;
        *ppCPC = m_owner;
        m_owner->AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override {
        if (!pUnkSink || !pdwCookie)
            return E_POINTER;
        IDispatch* pSink = nullptr;
        if (FAILED(pUnkSink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&pSink))) &&
            FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pSink))))
            return CONNECT_E_CANNOTCONNECT;
        *pdwCookie = m_owner->m_nextCookie++;
        m_owner->m_sinks.emplace_back(*pdwCookie, pSink);
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD dwCookie) override {
        auto& sinks = m_owner->m_sinks;
        for (auto it = sinks.begin(); it != sinks.end(); ++it) {
            if (it->first == dwCookie) {
                m_owner->m_hostCalls.push_back("Unadvise");
                IDispatch* pSink = it->second;
                sinks.erase(it);
                pSink->Release();
                return S_OK;
            }
        }
        return CONNECT_E_NOCONNECTION;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    FakeBrowser* m_owner;
};

class FakeBrowserFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        return QueryOne<IClassFactory>(this, riid, IID_IClassFactory, ppv);
    }
    // The factory is a static object; COM's references do not own it.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (pOuter)
            return CLASS_E_NOAGGREGATION;
        auto* pBrowser = new FakeBrowser;
        const HRESULT hr = pBrowser->QueryInterface(riid, ppv);
        pBrowser->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

FakeBrowserFactory g_factory;

// ---------------------------------------------------------------------------------------------------------

bool FakeBrowser::failNextActivation = false;

const std::vector<FakeBrowser*>& FakeBrowser::Live() {
    return LiveList();
}

FakeBrowser* FakeBrowser::ForHost(HWND hwndHost) {
    for (FakeBrowser* p : LiveList()) {
        if (p->m_hwndShell && GetParent(p->m_hwndShell) == hwndHost)
            return p;
    }
    return nullptr;
}

int FakeBrowser::CreatedCount() {
    return g_created;
}

FakeBrowser::FakeBrowser() {
    m_pEventsPoint = new FakeConnectionPoint(this);
    LiveList().push_back(this);
    ++g_created;
}

FakeBrowser::~FakeBrowser() {
    Deactivate();
    for (auto& sink : m_sinks)
        sink.second->Release();
    m_sinks.clear();
    if (m_pClientSite)
        m_pClientSite->Release();
    delete static_cast<FakeConnectionPoint*>(m_pEventsPoint);
    auto& live = LiveList();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

STDMETHODIMP FakeBrowser::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser ||
        riid == IID_IWebBrowserApp || riid == IID_IWebBrowser2)
        *ppv = static_cast<IWebBrowser2*>(this);
    else if (riid == IID_IOleObject)
        *ppv = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
        *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IOleInPlaceActiveObject)
        *ppv = static_cast<IOleInPlaceActiveObject*>(this);
    else if (riid == IID_IConnectionPointContainer)
        *ppv = static_cast<IConnectionPointContainer*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) FakeBrowser::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) FakeBrowser::Release() {
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

// --- scripted events
// ----------------------------------------------------------------------------------------

void FakeBrowser::Fire(DISPID id, VARIANTARG* rgvarg, UINT count) {
    // A handler may drop the host's last reference; keep this object and the sinks alive through the call.
    AddRef();
    std::vector<IDispatch*> sinks;
    for (auto& sink : m_sinks) {
        sink.second->AddRef();
        sinks.push_back(sink.second);
    }
    DISPPARAMS params = {rgvarg, nullptr, count, 0};
    for (IDispatch* pSink : sinks) {
        pSink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        pSink->Release();
    }
    Release();
}

bool FakeBrowser::FireBeforeNavigate2(const std::wstring& url, IDispatch* pDispFrom) {
    if (!pDispFrom)
        pDispFrom = static_cast<IWebBrowser2*>(this);
    // Shapes as Wine's control sends them: by-reference VARIANTs around the values, Cancel as VT_BOOL.
    VARIANT vUrl, vFlags, vFrame, vPost, vHeaders;
    SetBstr(vUrl, SysAllocStringLen(url.data(), static_cast<UINT>(url.size())));
    VariantInit(&vFlags);
    V_VT(&vFlags) = VT_I4;
    V_I4(&vFlags) = 0;
    SetBstr(vFrame, nullptr);
    VariantInit(&vPost);
    SetBstr(vHeaders, nullptr);
    VARIANT_BOOL cancel = VARIANT_FALSE;

    VARIANTARG args[7];
    VariantInit(&args[6]);
    V_VT(&args[6]) = VT_DISPATCH;
    V_DISPATCH(&args[6]) = pDispFrom;
    VARIANT* refs[] = {&vHeaders, &vPost, &vFrame, &vFlags, &vUrl}; // args[1] to args[5]
    for (int i = 0; i < 5; ++i)
        SetVariantRef(args[i + 1], refs[i]);
    VariantInit(&args[0]);
    V_VT(&args[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&args[0]) = &cancel;
    Fire(DISPID_BEFORENAVIGATE2, args, 7);
    VariantClear(&vUrl);
    return cancel != VARIANT_FALSE;
}

bool FakeBrowser::ClickLink(LPCWSTR url, bool inFrame) {
    if (!inFrame) {
        const bool cancelled = FireBeforeNavigate2(url);
        if (!cancelled)
            NavigateTo(url);
        return cancelled;
    }
    auto* pFrame = new FakeFrame;
    const bool cancelled = FireBeforeNavigate2(url, pFrame);
    pFrame->Release();
    return cancelled;
}

void FakeBrowser::CompleteDocument(LPCWSTR url, bool topLevel) {
    VARIANT vUrl;
    SetBstr(vUrl, SysAllocString(url));
    IDispatch* pFrom = topLevel ? static_cast<IDispatch*>(static_cast<IWebBrowser2*>(this)) : new FakeFrame;
    VARIANTARG args[2];
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = pFrom;
    SetVariantRef(args[0], &vUrl);
    m_completions.push_back(url ? url : L"");
    Fire(DISPID_DOCUMENTCOMPLETE, args, 2);
    if (!topLevel)
        pFrom->Release();
    VariantClear(&vUrl);
}

IDispatch* FakeBrowser::RequestNewWindow(LPCWSTR url, bool* cancelled, bool refusedAlready) {
    IDispatch* pDisp = nullptr;
    VARIANT_BOOL cancel = refusedAlready ? VARIANT_TRUE : VARIANT_FALSE;
    VARIANTARG args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_BYREF | VT_DISPATCH;
    V_DISPATCHREF(&args[1]) = &pDisp;
    V_VT(&args[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&args[0]) = &cancel;
    Fire(DISPID_NEWWINDOW2, args, 2);
    if (cancelled)
        *cancelled = cancel != VARIANT_FALSE;
    IDispatch* pAnswer = pDisp;
    if (pDisp) {
        // Like the real control: the new window's browser loads the requested page.
        if (cancel == VARIANT_FALSE) {
            IWebBrowser2* pTarget = nullptr;
            if (SUCCEEDED(pDisp->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&pTarget)))) {
                VARIANT vUrl;
                SetBstr(vUrl, SysAllocString(url));
                pTarget->Navigate2(&vUrl, nullptr, nullptr, nullptr, nullptr);
                VariantClear(&vUrl);
                pTarget->Release();
            }
        }
        // The answer's reference belongs to the control.
        pDisp->Release();
    }
    return pAnswer;
}

void FakeBrowser::NavigateTo(LPCWSTR url) {
    m_locationUrl = url ? url : L"";
    if (autoComplete && m_hwndShell) {
        m_pending.push_back(m_locationUrl);
        PostMessageW(m_hwndShell, kCompleteMessage, 0, 0);
    }
}

void FakeBrowser::CompletePending() {
    if (m_pending.empty())
        return;
    const std::wstring url = m_pending.front();
    m_pending.pop_front();
    CompleteDocument(url.c_str(), true);
}

LRESULT CALLBACK FakeBrowser::ShellWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FakeBrowser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == kCompleteMessage && self) {
        self->CompletePending();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// --- IDispatch
// ------------------------------------------------------------------------------------------------

STDMETHODIMP FakeBrowser::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo)
        *pctinfo = 0;
    return S_OK;
}
// --- IWebBrowser2: what the web view uses is real, the rest answers E_NOTIMPL
// ---------------------------------

STDMETHODIMP FakeBrowser::Navigate(BSTR URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    VARIANT v;
    SetBstr(v, URL);
    return Navigate2(&v, nullptr, nullptr, nullptr, nullptr);
}

STDMETHODIMP FakeBrowser::Navigate2(VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    if (!URL)
        return E_INVALIDARG;
    const VARIANT* v = URL;
    if (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v))
        v = V_VARIANTREF(v);
    if (V_VT(v) != VT_BSTR)
        return E_INVALIDARG;
    const std::wstring url = V_BSTR(v) ? V_BSTR(v) : L"";
    m_navigations.push_back(url);
    if (!FireBeforeNavigate2(url))
        NavigateTo(url.c_str());
    return S_OK;
}

STDMETHODIMP FakeBrowser::get_Application(IDispatch** ppDisp) {
    if (!ppDisp)
        return E_POINTER;
    *ppDisp = nullptr;
    if (applicationFails)
        return E_FAIL;
    *ppDisp = static_cast<IWebBrowser2*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP FakeBrowser::get_LocationName(BSTR* LocationName) {
    if (!LocationName)
        return E_POINTER;
    *LocationName = nullptr;
    switch (nameAnswer) {
    case NameAnswer::Name:
        *LocationName = SysAllocString(locationName.c_str());
        return S_OK;
    case NameAnswer::Fail:
        return E_FAIL;
    case NameAnswer::NoString:
        return S_OK;
    case NameAnswer::Throw:
        throw FakeBrowserError{E_UNEXPECTED};
    }
    return E_FAIL;
}

STDMETHODIMP FakeBrowser::get_LocationURL(BSTR* LocationURL) {
    if (!LocationURL)
        return E_POINTER;
    *LocationURL = SysAllocString(m_locationUrl.c_str());
    return S_OK;
}

STDMETHODIMP FakeBrowser::get_Silent(VARIANT_BOOL* pbSilent) {
    if (!pbSilent)
        return E_POINTER;
    *pbSilent = m_silent;
    return S_OK;
}

STDMETHODIMP FakeBrowser::put_Silent(VARIANT_BOOL bSilent) {
    m_silent = bSilent;
    return S_OK;
}

STDMETHODIMP FakeBrowser::get_HWND(SHANDLE_PTR* pHWND) {
    if (!pHWND)
        return E_POINTER;
    *pHWND = 0;
    return E_FAIL; // like the real control when embedded
}

STDMETHODIMP FakeBrowser::get_ReadyState(READYSTATE* plReadyState) {
    if (!plReadyState)
        return E_POINTER;
    *plReadyState = m_pending.empty() ? READYSTATE_COMPLETE : READYSTATE_LOADING;
    return S_OK;
}

STDMETHODIMP FakeBrowser::get_Busy(VARIANT_BOOL* pBool) {
    if (!pBool)
        return E_POINTER;
    *pBool = m_pending.empty() ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP FakeBrowser::Stop() {
    m_pending.clear();
    return S_OK;
}

// --- IOleObject
// -----------------------------------------------------------------------------------------------

STDMETHODIMP FakeBrowser::SetClientSite(IOleClientSite* pClientSite) {
    m_hostCalls.push_back(pClientSite ? "SetClientSite" : "SetClientSite(NULL)");
    if (pClientSite)
        pClientSite->AddRef();
    if (m_pClientSite)
        m_pClientSite->Release();
    m_pClientSite = pClientSite;
    return S_OK;
}

STDMETHODIMP FakeBrowser::GetClientSite(IOleClientSite** ppClientSite) {
    if (!ppClientSite)
        return E_POINTER;
    *ppClientSite = m_pClientSite;
    if (m_pClientSite)
        m_pClientSite->AddRef();
    return S_OK;
}

STDMETHODIMP FakeBrowser::Close(DWORD dwSaveOption) {
    m_hostCalls.push_back(dwSaveOption == OLECLOSE_NOSAVE ? "Close(NOSAVE)" : "Close");
    Deactivate();
    return S_OK;
}

STDMETHODIMP FakeBrowser::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                                 LPCRECT lprcPosRect) {
    if (iVerb != OLEIVERB_INPLACEACTIVATE && iVerb != OLEIVERB_SHOW && iVerb != OLEIVERB_UIACTIVATE)
        return OLEOBJ_E_INVALIDVERB;
    if (m_hwndShell) {
        if (iVerb == OLEIVERB_UIACTIVATE) {
            deepestUIActivation = std::max(deepestUIActivation, ++m_uiActivationDepth);
            if (focusOnUIActivate)
                SetFocus(m_hwndServer);
            --m_uiActivationDepth;
        }
        return S_OK;
    }
    if (failNextActivation) {
        failNextActivation = false;
        return E_FAIL;
    }
    IOleClientSite* pSite = pActiveSite ? pActiveSite : m_pClientSite;
    if (!pSite)
        return E_UNEXPECTED;

    // The host's answer to the document host UI question, as the real control asks it while activating.
    IDocHostUIHandler* pHandler = nullptr;
    if (SUCCEEDED(pSite->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&pHandler)))) {
        DOCHOSTUIINFO info = {};
        info.cbSize = sizeof(info);
        info.dwFlags = initialHostFlags;
        if (SUCCEEDED(pHandler->GetHostInfo(&info))) {
            m_hostFlags = info.dwFlags;
            m_hostInfoAsked = true;
        }
        pHandler->Release();
    }

    IOleInPlaceSite* pInPlace = nullptr;
    if (FAILED(pSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&pInPlace))))
        return E_NOINTERFACE;
    HWND hwndHost = nullptr;
    RECT pos = lprcPosRect ? *lprcPosRect : RECT{0, 0, 0, 0};
    if (pInPlace->CanInPlaceActivate() == S_OK && SUCCEEDED(pInPlace->GetWindow(&hwndHost))) {
        RECT clip = {};
        if (WindowContext(pInPlace, &pos, &clip) && !IntersectRect(&pos, &pos, &clip))
            SetRectEmpty(&pos);
        pInPlace->OnInPlaceActivate();
    }
    pInPlace->Release();
    if (!hwndHost)
        hwndHost = hwndParent;
    if (!hwndHost)
        return E_FAIL;

    static bool classesRegistered = false;
    if (!classesRegistered) {
        WNDCLASSW wc = {};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpfnWndProc = ShellWndProc;
        wc.lpszClassName = kShellClass;
        RegisterClassW(&wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = kServerClass;
        RegisterClassW(&wc);
        classesRegistered = true;
    }
    m_hwndShell = CreateWindowExW(0, kShellClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, pos.left,
                                  pos.top, pos.right - pos.left, pos.bottom - pos.top, hwndHost, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!m_hwndShell)
        return E_FAIL;
    SetWindowLongPtrW(m_hwndShell, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_hwndServer =
        CreateWindowExW(0, kServerClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, pos.right - pos.left,
                        pos.bottom - pos.top, m_hwndShell, nullptr, GetModuleHandleW(nullptr), nullptr);
    return S_OK;
}

void FakeBrowser::Deactivate() {
    m_pending.clear();
    if (!m_hwndShell)
        return;
    const HWND hwnd = m_hwndShell;
    m_hwndShell = nullptr;
    m_hwndServer = nullptr;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    if (IOleInPlaceSite* pInPlace = InPlaceSite()) {
        pInPlace->OnInPlaceDeactivate();
        pInPlace->Release();
    }
}

IOleInPlaceSite* FakeBrowser::InPlaceSite() const {
    IOleInPlaceSite* pInPlace = nullptr;
    if (m_pClientSite &&
        FAILED(m_pClientSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&pInPlace))))
        pInPlace = nullptr;
    return pInPlace;
}

bool FakeBrowser::AskPlace(RECT* pPos, RECT* pClip) {
    IOleInPlaceSite* pInPlace = InPlaceSite();
    if (!pInPlace)
        return false;
    const bool ok = WindowContext(pInPlace, pPos, pClip);
    pInPlace->Release();
    return ok;
}

void FakeBrowser::RequestPlace(const RECT& rc) {
    if (IOleInPlaceSite* pInPlace = InPlaceSite()) {
        pInPlace->OnPosRectChange(&rc);
        pInPlace->Release();
    }
}

STDMETHODIMP FakeBrowser::GetUserClassID(CLSID* pClsid) {
    if (!pClsid)
        return E_POINTER;
    *pClsid = CLSID_WebBrowser;
    return S_OK;
}

STDMETHODIMP FakeBrowser::GetMiscStatus(DWORD, DWORD* pdwStatus) {
    if (!pdwStatus)
        return E_POINTER;
    *pdwStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                 OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

// --- IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
// ---------------------------------------------------

STDMETHODIMP FakeBrowser::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_hwndShell;
    return m_hwndShell ? S_OK : E_FAIL;
}

STDMETHODIMP FakeBrowser::InPlaceDeactivate() {
    m_hostCalls.push_back("InPlaceDeactivate");
    Deactivate();
    return S_OK;
}

STDMETHODIMP FakeBrowser::SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) {
    if (!lprcPosRect || !lprcClipRect)
        return E_POINTER;
    ++m_objectRectsCalls;
    // As the contract asks: the window takes the part of the position inside the clip rectangle. The page
    // is sized here and nowhere else, so a host that moves the control's window itself leaves it behind, as
    // Windows' control does.
    RECT rc;
    if (!IntersectRect(&rc, lprcPosRect, lprcClipRect))
        SetRectEmpty(&rc);
    if (m_hwndShell) {
        SetWindowPos(m_hwndShell, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(m_hwndServer, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (placeEchoes)
        RequestPlace(rc);
    return S_OK;
}

STDMETHODIMP FakeBrowser::TranslateAccelerator(LPMSG lpmsg) {
    if (!lpmsg)
        return E_POINTER;
    m_lastAccelerator = *lpmsg;
    return acceleratorAnswer;
}

// --- IConnectionPointContainer
// --------------------------------------------------------------------------------

STDMETHODIMP FakeBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (!ppCP)
        return E_POINTER;
    *ppCP = nullptr;
    if (riid != DIID_DWebBrowserEvents2)
        return CONNECT_E_NOCONNECTION;
    *ppCP = m_pEventsPoint;
    m_pEventsPoint->AddRef();
    return S_OK;
}

// --- registration
// ---------------------------------------------------------------------------------------------

FakeBrowserRegistration::FakeBrowserRegistration() {
    if (FAILED(CoRegisterClassObject(CLSID_WebBrowser, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                     &m_cookie)))
        m_cookie = 0;
}

FakeBrowserRegistration::~FakeBrowserRegistration() {
    if (m_cookie)
        CoRevokeClassObject(m_cookie);
}

} // namespace qxrv::test
