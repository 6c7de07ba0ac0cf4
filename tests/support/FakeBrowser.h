// A scripted stand-in for the system web browser control, for tests of the web view.
//
// Wine's own control cannot render, so it never completes a document, never asks for a new window and never
// creates the page's "Internet Explorer_Server" window. This fake does all of that on request. It is
// registered for CLSID_WebBrowser only inside the test process (FakeBrowserRegistration), where it takes
// precedence over Wine's control, so the product code creates it through its ordinary CoCreateInstance.
#pragma once

#include "framework/Prelude.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>

#include <deque>
#include <string>
#include <vector>

namespace qxrv::test {

class FakeBrowser : public IWebBrowser2,
                    public IOleObject,
                    public IOleInPlaceObject,
                    public IOleInPlaceActiveObject,
                    public IConnectionPointContainer {
public:
    // How get_LocationName answers.
    enum class NameAnswer { Name, Fail, NoString, Throw };

    // Every fake alive now, oldest first.
    static const std::vector<FakeBrowser*>& Live();
    // The live fake whose in-place window is a child of hwndHost, or nullptr.
    static FakeBrowser* ForHost(HWND hwndHost);
    // How many fakes were ever made.
    static int CreatedCount();

    // --- scripting ---
    // When set, the next in-place activation fails (and clears the flag), as if the control could not start.
    static bool failNextActivation;
    // Host-info flags the fake has set before it asks the host to fill in DOCHOSTUIINFO.
    DWORD initialHostFlags = 0;
    // When set, every navigation that is not cancelled completes its top-level document from the message
    // loop.
    bool autoComplete = true;
    NameAnswer nameAnswer = NameAnswer::Name;
    std::wstring locationName = L"Fake page";
    bool applicationFails = false;
    // When set, the control asks for a new place from inside every SetObjectRects, as a careless one may.
    bool placeEchoes = false;
    // When set, UI activation gives the page's document window the focus, as Windows' control does; Wine's
    // leaves the focus where it was.
    bool focusOnUIActivate = true;
    // The deepest nesting of UI activations seen: a host that UI-activates again from inside one shows 2.
    int deepestUIActivation = 0;
    // Answer of IOleInPlaceActiveObject::TranslateAccelerator for key messages (S_FALSE: not used).
    HRESULT acceleratorAnswer = S_FALSE;

    // Fires BeforeNavigate2 for a link clicked in the page (top level or frame); returns the cancel answer.
    bool ClickLink(LPCWSTR url, bool inFrame = false);
    // Fires DocumentComplete with this browser (topLevel) or a frame's browser as the completed one.
    void CompleteDocument(LPCWSTR url, bool topLevel = true);
    // Fires NewWindow2 (with Cancel already set when refusedAlready, as by a control that blocks pop-ups);
    // unless cancelled, the browser the host answered with is asked to navigate to url. Returns the IDispatch
    // the host answered with (not kept, compare it only), and the cancel answer.
    IDispatch* RequestNewWindow(LPCWSTR url, bool* cancelled = nullptr, bool refusedAlready = false);

    // Asks the host where the control lies (GetWindowContext), as the control may at any time; false when
    // the host gives no answer.
    bool AskPlace(RECT* pPos, RECT* pClip);
    // Asks the host for a new place (OnPosRectChange); the host is to answer through SetObjectRects.
    void RequestPlace(const RECT& rc);
    // Fires BeforeNavigate2 with Wine's argument shapes, from pDispFrom (nullptr: this browser), and nothing
    // more; returns the cancel answer. The URL's BSTR is exactly url's length, NULs included.
    bool FireBeforeNavigate2(const std::wstring& url, IDispatch* pDispFrom = nullptr);
    // Fires any event with arguments as given (DISPPARAMS order, last argument first).
    void FireRaw(DISPID id, VARIANTARG* rgvarg, UINT count) { Fire(id, rgvarg, count); }

    // --- observations ---
    bool silent() const { return m_silent == VARIANT_TRUE; }
    bool inPlaceActive() const { return m_hwndShell != nullptr; }
    // The control's own window and the page's document window inside it; SetObjectRects sizes both, and
    // nothing else sizes the page.
    HWND window() const { return m_hwndShell; }
    HWND serverWindow() const { return m_hwndServer; }
    // Host-info flags after the host answered GetHostInfo; hostInfoAsked tells whether it was asked at all.
    DWORD hostFlags() const { return m_hostFlags; }
    bool hostInfoAsked() const { return m_hostInfoAsked; }
    // Every URL given to Navigate/Navigate2, and every document completed (top-level or not).
    const std::vector<std::wstring>& navigations() const { return m_navigations; }
    const std::vector<std::wstring>& completions() const { return m_completions; }
    // The last key message offered to TranslateAccelerator (message 0: none).
    const MSG& lastAccelerator() const { return m_lastAccelerator; }
    size_t sinkCount() const { return m_sinks.size(); }
    // The host's calls that begin and end the control's life, in order: SetClientSite (with or without a
    // site), Unadvise, InPlaceDeactivate, Close.
    const std::vector<std::string>& hostCalls() const { return m_hostCalls; }
    // How often the host called SetObjectRects.
    int objectRectsCalls() const { return m_objectRectsCalls; }
    // Forgets the recorded navigations and completions (for long runs).
    void ClearRecords() {
        m_navigations.clear();
        m_completions.clear();
    }

    // --- IUnknown ---
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // --- IDispatch (no type information) ---
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // --- IWebBrowser ---
    STDMETHODIMP GoBack() override { return E_NOTIMPL; }
    STDMETHODIMP GoForward() override { return E_NOTIMPL; }
    STDMETHODIMP GoHome() override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                          VARIANT* Headers) override;
    STDMETHODIMP Refresh() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh2(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override;
    STDMETHODIMP get_Application(IDispatch** ppDisp) override;
    STDMETHODIMP get_Parent(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Document(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationName(BSTR* LocationName) override;
    STDMETHODIMP get_LocationURL(BSTR* LocationURL) override;
    STDMETHODIMP get_Busy(VARIANT_BOOL* pBool) override;

    // --- IWebBrowserApp ---
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int*, int*) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR* pHWND) override;
    STDMETHODIMP get_FullName(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int) override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }

    // --- IWebBrowser2 ---
    STDMETHODIMP Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                           VARIANT* Headers) override;
    STDMETHODIMP QueryStatusWB(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE* plReadyState) override;
    STDMETHODIMP get_Offline(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL* pbSilent) override;
    STDMETHODIMP put_Silent(VARIANT_BOOL bSilent) override;
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }

    // --- IOleObject ---
    STDMETHODIMP SetClientSite(IOleClientSite* pClientSite) override;
    STDMETHODIMP GetClientSite(IOleClientSite** ppClientSite) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD dwSaveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex, HWND hwndParent,
                        LPCRECT lprcPosRect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return E_NOTIMPL; }
    STDMETHODIMP IsUpToDate() override { return E_NOTIMPL; }
    STDMETHODIMP GetUserClassID(CLSID* pClsid) override;
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // --- IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject ---
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG lpmsg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // --- IConnectionPointContainer ---
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

private:
    friend class FakeBrowserFactory;
    friend class FakeConnectionPoint;
    FakeBrowser();
    virtual ~FakeBrowser();

    static LRESULT CALLBACK ShellWndProc(HWND, UINT, WPARAM, LPARAM);
    void Deactivate();
    // The client site's in-place site, with a reference, or nullptr.
    IOleInPlaceSite* InPlaceSite() const;
    // Calls every advised sink; rgvarg is in DISPPARAMS order (last argument first).
    void Fire(DISPID id, VARIANTARG* rgvarg, UINT count);
    void NavigateTo(LPCWSTR url);
    void CompletePending();

    LONG m_refs = 1;
    VARIANT_BOOL m_silent = VARIANT_FALSE;
    IOleClientSite* m_pClientSite = nullptr;
    IConnectionPoint* m_pEventsPoint = nullptr;
    std::vector<std::pair<DWORD, IDispatch*>> m_sinks;
    DWORD m_nextCookie = 1;
    HWND m_hwndShell = nullptr;
    HWND m_hwndServer = nullptr;
    int m_uiActivationDepth = 0;
    DWORD m_hostFlags = 0;
    bool m_hostInfoAsked = false;
    std::wstring m_locationUrl;
    std::vector<std::wstring> m_navigations;
    std::vector<std::wstring> m_completions;
    std::deque<std::wstring> m_pending;
    MSG m_lastAccelerator = {};
    int m_objectRectsCalls = 0;
    std::vector<std::string> m_hostCalls;
};

// Registers the fake for CLSID_WebBrowser in this process for its lifetime (COM must be initialised).
class FakeBrowserRegistration {
public:
    FakeBrowserRegistration();
    ~FakeBrowserRegistration();
    FakeBrowserRegistration(const FakeBrowserRegistration&) = delete;
    FakeBrowserRegistration& operator=(const FakeBrowserRegistration&) = delete;
    bool ok() const { return m_cookie != 0; }

private:
    DWORD m_cookie = 0;
};

// OLE started on this thread for the object's lifetime, and stopped again only if this object started it.
class OleSession {
public:
    OleSession() : m_started(SUCCEEDED(OleInitialize(NULL))) {}
    ~OleSession() {
        if (m_started)
            OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    bool ok() const { return m_started; }

private:
    bool m_started;
};

// What every test of a web view with the fake needs: OLE on, and the fake registered for CLSID_WebBrowser.
class FakeBrowserSession {
public:
    bool ok() const { return m_ole.ok() && m_registration.ok(); }

private:
    OleSession m_ole; // first: the registration needs COM, and goes before it
    FakeBrowserRegistration m_registration;
};

// A get_LocationName that throws raises this.
struct FakeBrowserError {
    HRESULT hr;
};

} // namespace qxrv::test
