#include "framework/HtmlView.h"

#include <exdispid.h>

namespace {

// The control wraps most event arguments in by-reference VARIANTs; this finds the value inside.
VARIANT* Unwrap(VARIANT* pv) {
    for (int depth = 0; pv && depth < 4 && V_VT(pv) == (VT_BYREF | VT_VARIANT); ++depth)
        pv = V_VARIANTREF(pv);
    return pv;
}

DWORD ArgNumber(VARIANT* pv) {
    pv = Unwrap(pv);
    VARIANT v;
    VariantInit(&v);
    if (!pv || FAILED(VariantChangeType(&v, pv, 0, VT_I4)))
        return 0;
    return static_cast<DWORD>(V_I4(&v));
}

// Frees a BSTR on every way out of a scope.
struct CBstrHolder {
    BSTR bstr = nullptr;
    ~CBstrHolder() { SysFreeString(bstr); }
};

} // namespace

CString CHtmlView::ArgText(VARIANT* pv) {
    pv = Unwrap(pv);
    if (!pv)
        return CString();
    if (V_VT(pv) == VT_BSTR)
        return CString(V_BSTR(pv));
    if (V_VT(pv) == (VT_BYREF | VT_BSTR) && V_BSTRREF(pv))
        return CString(*V_BSTRREF(pv));
    return CString();
}

// The one COM object the browser control talks to: client site, in-place site and frame, document host UI
// handler and event sink. The control holds references to it, so it outlives the view if it must; Detach cuts
// it off from the view, and from then on every call answers without reaching it.
class CHtmlView::CSite final : public IOleClientSite,
                               public IOleInPlaceSite,
                               public IOleInPlaceFrame,
                               public IDocHostUIHandler,
                               public DWebBrowserEvents2 {
public:
    explicit CSite(CHtmlView* pView) : m_pView(pView) {}

    void Detach() { m_pView = nullptr; }
    IOleClientSite* ClientSite() { return this; }
    IUnknown* Unknown() { return static_cast<IOleClientSite*>(this); }

    // --- IUnknown ---
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite)
            *ppv = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
            *ppv = static_cast<IOleInPlaceSite*>(this);
        else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
            *ppv = static_cast<IOleInPlaceFrame*>(this);
        else if (riid == IID_IDocHostUIHandler)
            *ppv = static_cast<IDocHostUIHandler*>(this);
        else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2)
            *ppv = static_cast<DWebBrowserEvents2*>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

    // --- IOleClientSite ---
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override {
        if (ppmk)
            *ppmk = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override {
        if (ppContainer)
            *ppContainer = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // --- IOleWindow (site and frame) ---
    STDMETHODIMP GetWindow(HWND* phwnd) override {
        if (!phwnd)
            return E_POINTER;
        *phwnd = m_pView ? m_pView->m_hWnd : nullptr;
        return *phwnd ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // --- IOleInPlaceSite ---
    STDMETHODIMP CanInPlaceActivate() override { return m_pView ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                  LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override {
        if (!ppFrame || !ppDoc || !lprcPosRect || !lprcClipRect)
            return E_POINTER;
        *ppFrame = nullptr;
        *ppDoc = nullptr;
        if (!m_pView || !m_pView->m_hWnd)
            return E_FAIL;
        *ppFrame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *lprcPosRect = *lprcClipRect = m_pView->m_rcBrowser;
        if (lpFrameInfo) {
            lpFrameInfo->fMDIApp = FALSE;
            lpFrameInfo->hwndFrame = ::GetAncestor(m_pView->m_hWnd, GA_ROOT);
            lpFrameInfo->haccel = nullptr;
            lpFrameInfo->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    // The view decides where the browser lies: it is told its place again.
    STDMETHODIMP OnPosRectChange(LPCRECT) override {
        if (m_pView)
            m_pView->PlaceBrowser(m_pView->m_rcBrowser);
        return S_OK;
    }

    // --- IOleInPlaceUIWindow, IOleInPlaceFrame: no menus, tool space or status bar ---
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // --- IDocHostUIHandler ---
    // S_FALSE: the browser shows its own context menu.
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* pInfo) override {
        if (!pInfo)
            return E_POINTER;
        if (!m_pView)
            return S_OK;
        try {
            return m_pView->OnGetHostInfo(pInfo);
        } catch (...) {
            return E_FAIL;
        }
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_OK;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* pchKey, DWORD) override {
        if (pchKey)
            *pchKey = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) override {
        if (ppDropTarget)
            *ppDropTarget = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetExternal(IDispatch** ppDispatch) override {
        if (ppDispatch)
            *ppDispatch = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut) override {
        if (ppchURLOut)
            *ppchURLOut = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** ppDORet) override {
        if (ppDORet)
            *ppDORet = nullptr;
        return S_FALSE;
    }

    // --- IDispatch: the DWebBrowserEvents2 sink (and the control's ambient-property questions) ---
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
        if (!pctinfo)
            return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
        if (ppTInfo)
            *ppTInfo = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*,
                        EXCEPINFO*, UINT*) override {
        if (dispIdMember != DISPID_BEFORENAVIGATE2 && dispIdMember != DISPID_NEWWINDOW2 &&
            dispIdMember != DISPID_DOCUMENTCOMPLETE)
            return DISP_E_MEMBERNOTFOUND;
        if (!pDispParams || (pDispParams->cArgs && !pDispParams->rgvarg))
            return E_INVALIDARG;
        // A handler may destroy the view (and with it the control's last reference to this site).
        AddRef();
        HRESULT hr = S_OK;
        switch (dispIdMember) {
        case DISPID_BEFORENAVIGATE2:
            hr = BeforeNavigate2(*pDispParams);
            break;
        case DISPID_NEWWINDOW2:
            hr = NewWindow2(*pDispParams);
            break;
        case DISPID_DOCUMENTCOMPLETE:
            hr = DocumentComplete(*pDispParams);
            break;
        }
        Release();
        return hr;
    }

private:
    // Arguments come last first: rgvarg[0] is the event's last parameter.
    // BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
    HRESULT BeforeNavigate2(DISPPARAMS& params) {
        if (params.cArgs != 7 || V_VT(&params.rgvarg[0]) != (VT_BYREF | VT_BOOL) ||
            !V_BOOLREF(&params.rgvarg[0]))
            return E_INVALIDARG;
        VARIANT_BOOL* pCancel = V_BOOLREF(&params.rgvarg[0]);
        if (!m_pView)
            return S_OK;
        BOOL bCancel = FALSE;
        try {
            const CString url = ArgText(&params.rgvarg[5]);
            const CString frame = ArgText(&params.rgvarg[3]);
            const CString headers = ArgText(&params.rgvarg[1]);
            m_pView->OnBeforeNavigate2(url, ArgNumber(&params.rgvarg[4]), frame, Unwrap(&params.rgvarg[2]),
                                       headers, &bCancel);
        } catch (...) {
            // The handler could not decide; the page must not go where it was not allowed to.
            bCancel = TRUE;
        }
        *pCancel = bCancel ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }

    // NewWindow2(ppDisp, Cancel)
    HRESULT NewWindow2(DISPPARAMS& params) {
        if (params.cArgs != 2 || V_VT(&params.rgvarg[1]) != (VT_BYREF | VT_DISPATCH) ||
            !V_DISPATCHREF(&params.rgvarg[1]) || V_VT(&params.rgvarg[0]) != (VT_BYREF | VT_BOOL) ||
            !V_BOOLREF(&params.rgvarg[0]))
            return E_INVALIDARG;
        if (!m_pView)
            return S_OK;
        IDispatch** ppDisp = V_DISPATCHREF(&params.rgvarg[1]);
        VARIANT_BOOL* pCancel = V_BOOLREF(&params.rgvarg[0]);
        LPDISPATCH pDisp = *ppDisp;
        BOOL bCancel = *pCancel != VARIANT_FALSE;
        try {
            m_pView->OnNewWindow2(&pDisp, &bCancel);
        } catch (...) {
            if (pDisp != *ppDisp && pDisp)
                pDisp->Release();
            pDisp = *ppDisp;
            bCancel = TRUE;
        }
        *ppDisp = pDisp;
        *pCancel = bCancel ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }

    // DocumentComplete(pDisp, URL)
    HRESULT DocumentComplete(DISPPARAMS& params) {
        if (params.cArgs != 2)
            return E_INVALIDARG;
        VARIANT* pFrom = &params.rgvarg[1];
        LPDISPATCH pDisp = nullptr;
        if (V_VT(pFrom) == VT_DISPATCH)
            pDisp = V_DISPATCH(pFrom);
        else if (V_VT(pFrom) == (VT_BYREF | VT_DISPATCH) && V_DISPATCHREF(pFrom))
            pDisp = *V_DISPATCHREF(pFrom);
        if (!m_pView)
            return S_OK;
        try {
            m_pView->DocumentComplete(pDisp, Unwrap(&params.rgvarg[0]));
        } catch (...) {
            // Nothing to undo: a completed document needs no answer.
        }
        return S_OK;
    }

    LONG m_refs = 1;
    CHtmlView* m_pView;
};

// ---------------------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CHtmlView, CWnd)

BEGIN_MESSAGE_MAP(CHtmlView, CWnd)
ON_WM_SIZE()
END_MESSAGE_MAP()

CHtmlView::CHtmlView() : m_hWndBrowser(NULL), m_rcBrowser(), m_dwEventsCookie(0) {}

CHtmlView::~CHtmlView() {
    DestroyBrowser();
}

BOOL CHtmlView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    if (m_hWnd)
        return FALSE;
    // The browser covers the whole view; erasing under it would flash the class colour over the page at
    // every resize, before the browser paints again.
    if (!CWnd::Create(lpszClassName, lpszWindowName, dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID,
                      pContext))
        return FALSE;
    if (!CreateBrowser()) {
        // A view without its browser is of no use to anyone; a plain view deletes itself here.
        DestroyWindow();
        return FALSE;
    }
    // The window's first WM_SIZE came before the browser existed; size it now by the same rule.
    RECT rc;
    GetClientRect(&rc);
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right - rc.left, rc.bottom - rc.top));
    return TRUE;
}

BOOL CHtmlView::CreateBrowser() {
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, NULL, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                m_pOleObject.outVoid())) ||
        !m_pOleObject) {
        m_pOleObject.Detach(); // a failed call's out value is no reference
        return FALSE;
    }
    m_pSite.Attach(new CSite(this));
    m_pBrowserApp = m_pOleObject.As<IWebBrowser2>(IID_IWebBrowser2);
    BOOL bOk = SUCCEEDED(m_pOleObject->SetClientSite(m_pSite->ClientSite())) && m_pBrowserApp;

    // Events first, so that nothing the control does while it activates goes unheard.
    if (bOk) {
        const CComPtr<IConnectionPointContainer> pContainer =
            m_pOleObject.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
        bOk = pContainer &&
              SUCCEEDED(pContainer->FindConnectionPoint(DIID_DWebBrowserEvents2, m_pEventsPoint.out())) &&
              m_pEventsPoint && SUCCEEDED(m_pEventsPoint->Advise(m_pSite->Unknown(), &m_dwEventsCookie));
    }

    if (bOk) {
        GetClientRect(&m_rcBrowser);
        bOk = SUCCEEDED(m_pOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, m_pSite->ClientSite(), 0, m_hWnd,
                                             &m_rcBrowser));
    }
    if (bOk) {
        const CComPtr<IOleInPlaceObject> pInPlace = m_pOleObject.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
        if (!pInPlace || FAILED(pInPlace->GetWindow(&m_hWndBrowser)))
            m_hWndBrowser = NULL;
        bOk = m_hWndBrowser != NULL;
    }
    if (!bOk)
        DestroyBrowser();
    return bOk;
}

void CHtmlView::DestroyBrowser() {
    // From here on events reach no handler.
    if (m_pSite)
        m_pSite->Detach();
    if (m_pEventsPoint && m_dwEventsCookie)
        m_pEventsPoint->Unadvise(m_dwEventsCookie);
    m_dwEventsCookie = 0;
    m_pEventsPoint.Release();
    // Taken out of the member first: the control may call back into the view while it closes.
    CComPtr<IOleObject> pObject = std::move(m_pOleObject);
    if (pObject) {
        if (const CComPtr<IOleInPlaceObject> pInPlace = pObject.As<IOleInPlaceObject>(IID_IOleInPlaceObject))
            pInPlace->InPlaceDeactivate();
        pObject->Close(OLECLOSE_NOSAVE);
        pObject->SetClientSite(NULL);
    }
    pObject.Release();
    m_pBrowserApp.Release();
    m_hWndBrowser = NULL;
    m_pSite.Release();
}

void CHtmlView::Navigate2(LPCTSTR lpszURL, DWORD dwFlags, LPCTSTR lpszTargetFrameName) {
    if (!m_pBrowserApp)
        return;
    VARIANT vUrl, vFlags, vTarget, vEmpty;
    VariantInit(&vUrl);
    VariantInit(&vFlags);
    VariantInit(&vTarget);
    VariantInit(&vEmpty);
    V_VT(&vUrl) = VT_BSTR;
    V_BSTR(&vUrl) = SysAllocString(lpszURL ? lpszURL : L"");
    V_VT(&vFlags) = VT_I4;
    V_I4(&vFlags) = static_cast<LONG>(dwFlags);
    if (lpszTargetFrameName) {
        V_VT(&vTarget) = VT_BSTR;
        V_BSTR(&vTarget) = SysAllocString(lpszTargetFrameName);
    }
    // The control fires its events inside the call; a handler may even destroy this view.
    const CComPtr<IWebBrowser2> pBrowser = m_pBrowserApp;
    if (V_BSTR(&vUrl))
        pBrowser->Navigate2(&vUrl, &vFlags, &vTarget, &vEmpty, &vEmpty);
    VariantClear(&vUrl);
    VariantClear(&vTarget);
}

LPDISPATCH CHtmlView::GetApplication() const {
    LPDISPATCH pDisp = NULL;
    if (!m_pBrowserApp || FAILED(m_pBrowserApp->get_Application(&pDisp)))
        return NULL;
    return pDisp;
}

CString CHtmlView::GetLocationName() const {
    CBstrHolder name;
    if (!m_pBrowserApp || FAILED(m_pBrowserApp->get_LocationName(&name.bstr))) {
        name.bstr = nullptr; // a failed call's out value is not ours to free
        return CString();
    }
    return CString(name.bstr);
}

namespace {

BOOL CALLBACK FindDocumentWindow(HWND hwnd, LPARAM lParam) {
    if (!CHtmlView::IsDocumentWindow(hwnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hwnd;
    return FALSE;
}

} // namespace

bool CHtmlView::IsDocumentWindow(HWND hwnd) {
    wchar_t szClass[32] = {};
    return ::GetClassNameW(hwnd, szClass, ARRAYSIZE(szClass)) != 0 &&
           wcscmp(szClass, L"Internet Explorer_Server") == 0;
}

bool CHtmlView::HasFocusInside() const {
    const HWND hwndFocus = ::GetFocus();
    return hwndFocus && (hwndFocus == m_hWnd || ::IsChild(m_hWnd, hwndFocus));
}

BOOL CHtmlView::FocusPage() {
    if (!m_pOleObject || !m_hWnd || !::IsWindowVisible(m_hWnd))
        return FALSE;
    // The focus given below activates the top-level window if it was not active, and its activation asks for
    // the page's focus again while the control is still inside DoVerb. That call would UI-activate the
    // control from within its own UI activation; the call under way puts the focus in place anyway.
    if (m_bFocusingPage)
        return TRUE;
    m_bFocusingPage = true;
    const BOOL bFocused = GiveFocusToPage();
    m_bFocusingPage = false;
    return bFocused;
}

BOOL CHtmlView::GiveFocusToPage() {
    // The control's contract: UI activation, with the site's window and the control's place, gives the
    // document the focus.
    const CComPtr<IOleObject> pObject = m_pOleObject;
    RECT rcPos = m_rcBrowser;
    pObject->DoVerb(OLEIVERB_UIACTIVATE, NULL, m_pSite->ClientSite(), 0, m_hWnd, &rcPos);
    if (HasFocusInside())
        return TRUE;
    // A control that is UI-active already may leave the focus where it was, and one without a document
    // (Wine's without its engine) has no document window: the focus goes to the closest window of the page.
    // Only the control's own windows are searched; a pop-up browser inside the view has a document too.
    HWND hwndTarget = NULL;
    if (::IsWindow(m_hWndBrowser))
        ::EnumChildWindows(m_hWndBrowser, FindDocumentWindow, reinterpret_cast<LPARAM>(&hwndTarget));
    if (!hwndTarget)
        hwndTarget = ::IsWindow(m_hWndBrowser) ? m_hWndBrowser : m_hWnd;
    ::SetFocus(hwndTarget);
    return HasFocusInside();
}

BOOL CHtmlView::PreTranslateMessage(MSG* pMsg) {
    if (pMsg && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_pOleObject &&
        m_hWndBrowser && (pMsg->hwnd == m_hWndBrowser || ::IsChild(m_hWndBrowser, pMsg->hwnd))) {
        const CComPtr<IOleInPlaceActiveObject> pActive =
            m_pOleObject.As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
        if (pActive && pActive->TranslateAccelerator(pMsg) == S_OK)
            return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CHtmlView::OnBeforeNavigate2(LPCTSTR, DWORD, LPCTSTR, const VARIANT*, LPCTSTR, BOOL*) {}

void CHtmlView::OnNewWindow2(LPDISPATCH*, BOOL*) {}

void CHtmlView::DocumentComplete(LPDISPATCH, VARIANT*) {}

HRESULT CHtmlView::OnGetHostInfo(DOCHOSTUIINFO*) {
    return S_OK;
}

LRESULT CHtmlView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    // The browser goes once every WM_DESTROY handler has run, while its window still exists.
    if (message == WM_DESTROY)
        DestroyBrowser();
    return result;
}

void CHtmlView::PostNcDestroy() {
    delete this;
}

void CHtmlView::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (::IsWindow(m_hWndBrowser))
        PlaceBrowser(CRect(0, 0, cx, cy));
}

void CHtmlView::PlaceBrowser(const RECT& rcPos) {
    // Windows' control sizes its window when its container calls SetObjectRects, and only then (Wine's also
    // follows a direct move). The view clips its child window itself, so the clip rectangle is the position.
    m_rcBrowser = rcPos;
    // A control that asks for a new place from inside SetObjectRects is being told it already.
    if (m_bPlacingBrowser || !m_pOleObject)
        return;
    const CComPtr<IOleInPlaceObject> pInPlace = m_pOleObject.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
    if (!pInPlace)
        return;
    m_bPlacingBrowser = true;
    pInPlace->SetObjectRects(&m_rcBrowser, &m_rcBrowser);
    m_bPlacingBrowser = false;
}
