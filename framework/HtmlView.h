// CHtmlView: a window that hosts the system web browser control (CLSID_WebBrowser) through COM.
//
// The view is the control's client site, in-place site and frame, and its document host UI handler, and it
// listens to the control's DWebBrowserEvents2. Events arrive on the thread that created the view and call the
// virtual handlers below. The control's window is a child of the view; OnSize has it fill the view.
//
// The COM side is torn down when the view's window is destroyed (after the WM_DESTROY handlers ran, whatever
// a derived class does there) and at the latest by the destructor. COM must be initialised on the thread
// (AfxEnableControlContainer) before Create.
#pragma once

#include "framework/Prelude.h"

#include "framework/String.h"
#include "framework/Wnd.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>

// One interface reference owned by a scope: released when the holder goes.
template <class T> class CInterfaceRef {
public:
    CInterfaceRef() = default;
    ~CInterfaceRef() {
        if (m_p)
            m_p->Release();
    }
    CInterfaceRef(const CInterfaceRef&) = delete;
    CInterfaceRef& operator=(const CInterfaceRef&) = delete;

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != NULL; }
    // Where a call returns a new reference; the holder must be empty.
    void** out() { return reinterpret_cast<void**>(&m_p); }

private:
    T* m_p = NULL;
};

class CHtmlView : public CWnd {
    DECLARE_DYNAMIC(CHtmlView)
public:
    CHtmlView();
    // Releases the browser if the window did not already take it along.
    ~CHtmlView() override;

    // Creates the view's window (a NULL class name gives the framework's class) and the browser control in
    // it. FALSE when either cannot be made; the view's window is then destroyed again. pContext is not used.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL) override;

    // Starts a navigation; does nothing without a browser.
    void Navigate2(LPCTSTR lpszURL, DWORD dwFlags = 0, LPCTSTR lpszTargetFrameName = NULL,
                   LPCTSTR lpszHeaders = NULL, LPVOID lpvPostData = NULL, DWORD dwPostDataLen = 0);
    // The browser's application object, with a reference for the caller; NULL without a browser or when the
    // browser fails to give it.
    LPDISPATCH GetApplication() const;
    // The current page's title; empty without a browser or when the browser fails.
    CString GetLocationName() const;
    // The browser interface (not AddRef'ed; NULL before Create and after the window is destroyed).
    IWebBrowser2* GetBrowser() const { return m_pBrowserApp; }
    // The browser control's own window, a child of the view.
    HWND GetBrowserWindow() const { return m_hWndBrowser; }

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

    // Releases the browser, then the plain window's handling.
    afx_msg void OnDestroy();
    // The browser's window fills the view.
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // Tells the browser its place in the view's client area (IOleInPlaceObject::SetObjectRects).
    void PlaceBrowser(const RECT& rcPos);
    DECLARE_MESSAGE_MAP()

    IWebBrowser2* m_pBrowserApp;
    HWND m_hWndBrowser;
    RECT m_rcBrowser; // the browser's place in the view, as last told

private:
    class CSite;
    friend class CSite;

    BOOL CreateBrowser();
    void DestroyBrowser();

    CSite* m_pSite;
    IOleObject* m_pOleObject;
    IConnectionPoint* m_pEventsPoint;
    DWORD m_dwEventsCookie;
    bool m_bPlacingBrowser = false; // inside SetObjectRects
};
