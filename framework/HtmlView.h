// CHtmlView: a window that hosts the system web browser control (CLSID_WebBrowser) through COM.
//
// The view is the control's client site, in-place site and frame, and its document host UI handler, and it
// listens to the control's DWebBrowserEvents2. Events arrive on the thread that created the view and call the
// virtual handlers below. The control's window is a child of the view; OnSize has it fill the view.
//
// The COM side is torn down in one place, DestroyBrowser: when the view's window is destroyed (after the
// WM_DESTROY handlers ran, whatever a derived class does there), and by the destructor for a view whose
// window never got that far. COM must be initialised on the thread (AfxEnableControlContainer) before Create.
#pragma once

#include "framework/Prelude.h"

#include "framework/ComPtr.h"
#include "framework/String.h"
#include "framework/Wnd.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>

class CHtmlView : public CWnd {
    DECLARE_DYNAMIC(CHtmlView)
public:
    CHtmlView();
    // Releases the browser if the window did not already take it along.
    ~CHtmlView() override;

    // Creates the view's window (a NULL class name gives the framework's class) and the browser control in
    // it. FALSE when either cannot be made; the view's window is then destroyed again. pContext is not used.
    // The view clips its children: its own background never paints over the browser.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL) override;

    // Starts a navigation (a plain GET); does nothing without a browser.
    void Navigate2(LPCTSTR lpszURL, DWORD dwFlags = 0, LPCTSTR lpszTargetFrameName = NULL);
    // The browser's application object, with a reference for the caller; NULL without a browser or when the
    // browser fails to give it.
    LPDISPATCH GetApplication() const;
    // The current page's title; empty without a browser or when the browser fails.
    CString GetLocationName() const;
    // The browser interface (not AddRef'ed; NULL before Create and after the window is destroyed).
    IWebBrowser2* GetBrowser() const { return m_pBrowserApp.get(); }
    // The browser control's own window, a child of the view.
    HWND GetBrowserWindow() const { return m_hWndBrowser; }
    // Puts the keyboard focus into the page: the control is UI-activated, which gives its document the focus;
    // a control that leaves the focus elsewhere gets it on its document window ("Internet Explorer_Server"),
    // else on its own window. FALSE when the view has no browser or is hidden, or the focus did not arrive.
    // Called again while it is at work (from the activation its focus change causes), it leaves the focus to
    // the call under way and returns TRUE.
    BOOL FocusPage();
    // Whether hwnd is a browser's document window ("Internet Explorer_Server"), which gets the page's keys
    // and mouse messages.
    static bool IsDocumentWindow(HWND hwnd);

    // Offers key messages aimed at the page to the browser first (Tab, accelerators of the page).
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // --- browser events (DWebBrowserEvents2) ---
    // Before a navigation; *pbCancel is FALSE on entry, TRUE stops the navigation. Strings are never NULL.
    virtual void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName,
                                   const VARIANT* pvPostedData, LPCTSTR lpszHeaders, BOOL* pbCancel);
    // A page asks for a new window. Set *ppDisp (with a reference) to the browser that shall take the page,
    // or leave it NULL; *pbCancel as the browser gave it.
    virtual void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* pbCancel);
    // A document finished loading: pDisp is the browser it loaded in (this view's or a frame's), *URL its
    // address. The default does nothing.
    virtual void DocumentComplete(LPDISPATCH pDisp, VARIANT* URL);

    // --- document host UI ---
    // The browser asks how to show documents. The default leaves the record as the browser filled it.
    virtual HRESULT OnGetHostInfo(DOCHOSTUIINFO* pInfo);

protected:
    // The text of an event argument, held directly or by reference; "" when it holds no string.
    static CString ArgText(VARIANT* pv);
    // Tears the browser down once the WM_DESTROY handlers have run, whatever a derived class does there.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A plain view belongs to its window: it deletes itself.
    void PostNcDestroy() override;

    // The browser's window fills the view.
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // Tells the browser its place in the view's client area (IOleInPlaceObject::SetObjectRects).
    void PlaceBrowser(const RECT& rcPos);
    DECLARE_MESSAGE_MAP()

    CComPtr<IWebBrowser2> m_pBrowserApp;
    HWND m_hWndBrowser;
    RECT m_rcBrowser; // the browser's place in the view, as last told

private:
    class CSite;
    friend class CSite;

    BOOL CreateBrowser();
    // Ends the browser as its contract asks: events unadvised, the control deactivated and closed, its site
    // taken back, then every reference released. Does nothing when there is no browser.
    void DestroyBrowser();
    // FocusPage's work: UI activation, then the focus set by hand where it did not arrive.
    BOOL GiveFocusToPage();
    // Whether the thread's focus window is the view or inside it.
    bool HasFocusInside() const;

    CComPtr<CSite> m_pSite;
    CComPtr<IOleObject> m_pOleObject;
    CComPtr<IConnectionPoint> m_pEventsPoint;
    DWORD m_dwEventsCookie;
    bool m_bPlacingBrowser = false; // inside SetObjectRects
    bool m_bFocusingPage = false;   // inside FocusPage
};
