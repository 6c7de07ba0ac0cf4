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
    // Fires NewWindow2; unless cancelled, the browser the host answered with is asked to navigate to url.
    // Returns the IDispatch the host answered with (not kept, compare it only), and the cancel answer.
    IDispatch* RequestNewWindow(LPCWSTR url, bool* cancelled = nullptr);

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
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // --- IWebBrowser ---
    STDMETHODIMP GoBack() override;
    STDMETHODIMP GoForward() override;
    STDMETHODIMP GoHome() override;
    STDMETHODIMP GoSearch() override;
    STDMETHODIMP Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                          VARIANT* Headers) override;
    STDMETHODIMP Refresh() override;
    STDMETHODIMP Refresh2(VARIANT* Level) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP get_Application(IDispatch** ppDisp) override;
    STDMETHODIMP get_Parent(IDispatch** ppDisp) override;
    STDMETHODIMP get_Container(IDispatch** ppDisp) override;
    STDMETHODIMP get_Document(IDispatch** ppDisp) override;
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL* pBool) override;
    STDMETHODIMP get_Type(BSTR* Type) override;
    STDMETHODIMP get_Left(LONG* pl) override;
    STDMETHODIMP put_Left(LONG Left) override;
    STDMETHODIMP get_Top(LONG* pl) override;
    STDMETHODIMP put_Top(LONG Top) override;
    STDMETHODIMP get_Width(LONG* pl) override;
    STDMETHODIMP put_Width(LONG Width) override;
    STDMETHODIMP get_Height(LONG* pl) override;
    STDMETHODIMP put_Height(LONG Height) override;
    STDMETHODIMP get_LocationName(BSTR* LocationName) override;
    STDMETHODIMP get_LocationURL(BSTR* LocationURL) override;
    STDMETHODIMP get_Busy(VARIANT_BOOL* pBool) override;

    // --- IWebBrowserApp ---
    STDMETHODIMP Quit() override;
    STDMETHODIMP ClientToWindow(int* pcx, int* pcy) override;
    STDMETHODIMP PutProperty(BSTR Property, VARIANT vtValue) override;
    STDMETHODIMP GetProperty(BSTR Property, VARIANT* pvtValue) override;
    STDMETHODIMP get_Name(BSTR* Name) override;
    STDMETHODIMP get_HWND(SHANDLE_PTR* pHWND) override;
    STDMETHODIMP get_FullName(BSTR* FullName) override;
    STDMETHODIMP get_Path(BSTR* Path) override;
    STDMETHODIMP get_Visible(VARIANT_BOOL* pBool) override;
    STDMETHODIMP put_Visible(VARIANT_BOOL Value) override;
    STDMETHODIMP get_StatusBar(VARIANT_BOOL* pBool) override;
    STDMETHODIMP put_StatusBar(VARIANT_BOOL Value) override;
    STDMETHODIMP get_StatusText(BSTR* StatusText) override;
    STDMETHODIMP put_StatusText(BSTR StatusText) override;
    STDMETHODIMP get_ToolBar(int* Value) override;
    STDMETHODIMP put_ToolBar(int Value) override;
    STDMETHODIMP get_MenuBar(VARIANT_BOOL* Value) override;
    STDMETHODIMP put_MenuBar(VARIANT_BOOL Value) override;
    STDMETHODIMP get_FullScreen(VARIANT_BOOL* pbFullScreen) override;
    STDMETHODIMP put_FullScreen(VARIANT_BOOL bFullScreen) override;

    // --- IWebBrowser2 ---
    STDMETHODIMP Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                           VARIANT* Headers) override;
    STDMETHODIMP QueryStatusWB(OLECMDID cmdID, OLECMDF* pcmdf) override;
    STDMETHODIMP ExecWB(OLECMDID cmdID, OLECMDEXECOPT cmdexecopt, VARIANT* pvaIn, VARIANT* pvaOut) override;
    STDMETHODIMP ShowBrowserBar(VARIANT* pvaClsid, VARIANT* pvarShow, VARIANT* pvarSize) override;
    STDMETHODIMP get_ReadyState(READYSTATE* plReadyState) override;
    STDMETHODIMP get_Offline(VARIANT_BOOL* pbOffline) override;
    STDMETHODIMP put_Offline(VARIANT_BOOL bOffline) override;
    STDMETHODIMP get_Silent(VARIANT_BOOL* pbSilent) override;
    STDMETHODIMP put_Silent(VARIANT_BOOL bSilent) override;
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL* pbRegister) override;
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL bRegister) override;
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL* pbRegister) override;
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override;
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL* pbRegister) override;
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL bRegister) override;
    STDMETHODIMP get_AddressBar(VARIANT_BOOL* Value) override;
    STDMETHODIMP put_AddressBar(VARIANT_BOOL Value) override;
    STDMETHODIMP get_Resizable(VARIANT_BOOL* Value) override;
    STDMETHODIMP put_Resizable(VARIANT_BOOL Value) override;

    // --- IOleObject ---
    STDMETHODIMP SetClientSite(IOleClientSite* pClientSite) override;
    STDMETHODIMP GetClientSite(IOleClientSite** ppClientSite) override;
    STDMETHODIMP SetHostNames(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj) override;
    STDMETHODIMP Close(DWORD dwSaveOption) override;
    STDMETHODIMP SetMoniker(DWORD dwWhichMoniker, IMoniker* pmk) override;
    STDMETHODIMP GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) override;
    STDMETHODIMP InitFromData(IDataObject* pDataObject, BOOL fCreation, DWORD dwReserved) override;
    STDMETHODIMP GetClipboardData(DWORD dwReserved, IDataObject** ppDataObject) override;
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex, HWND hwndParent,
                        LPCRECT lprcPosRect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** ppEnumOleVerb) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* pClsid) override;
    STDMETHODIMP GetUserType(DWORD dwFormOfType, LPOLESTR* pszUserType) override;
    STDMETHODIMP SetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    STDMETHODIMP GetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    STDMETHODIMP Advise(IAdviseSink* pAdvSink, DWORD* pdwConnection) override;
    STDMETHODIMP Unadvise(DWORD dwConnection) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** ppenumAdvise) override;
    STDMETHODIMP GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE* pLogpal) override;

    // --- IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject ---
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL fEnterMode) override;
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
    STDMETHODIMP ReactivateAndUndo() override;
    STDMETHODIMP TranslateAccelerator(LPMSG lpmsg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL fActivate) override;
    STDMETHODIMP OnDocWindowActivate(BOOL fActivate) override;
    STDMETHODIMP ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow) override;
    STDMETHODIMP EnableModeless(BOOL fEnable) override;

    // --- IConnectionPointContainer ---
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
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
