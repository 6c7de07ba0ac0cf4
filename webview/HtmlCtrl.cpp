#include "webview/HtmlCtrl.h"

#include "framework/Controls.h"
#include "framework/WinApp.h"
#include "webview/PostedString.h"
#include "webview/ShellOpen.h"

#include <cwchar>
#include <memory>

namespace {

constexpr wchar_t kGameLinkMark[] = L"&client=1";

} // namespace

IMPLEMENT_DYNAMIC(CHtmlCtrl, CHtmlView)

BEGIN_MESSAGE_MAP(CHtmlCtrl, CHtmlView)
ON_WM_MOUSEACTIVATE()
ON_WM_SIZE()
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CHtmlCtrl::CHtmlCtrl()
    : m_pAppUrlTable(NULL), m_bNoContextMenu(FALSE), m_bOpenInShell(FALSE), m_pPopupBrowser(NULL) {}

CHtmlCtrl::~CHtmlCtrl() {
    // Normally the window is long gone. If the owner ends the object first, end the window while this is
    // still a CHtmlCtrl, so that PostNcDestroy frees the pop-up browser and nothing deletes the view.
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CHtmlCtrl::CreateOnPlaceholder(CWnd* pParentWnd, UINT nID) {
    if (!pParentWnd || !pParentWnd->GetSafeHwnd())
        return FALSE;
    CStatic wndPlaceholder;
    if (!wndPlaceholder.SubclassDlgItem(nID, pParentWnd))
        return FALSE;
    RECT rc;
    wndPlaceholder.GetWindowRect(&rc);
    pParentWnd->ScreenToClient(&rc);
    wndPlaceholder.DestroyWindow();

    const BOOL bCreated = Create(NULL, NULL, WS_CHILD | WS_VISIBLE, rc, pParentWnd, nID, NULL);
    if (bCreated && m_pBrowserApp)
        m_pBrowserApp->put_Silent(VARIANT_TRUE);
    return bCreated;
}

BOOL CHtmlCtrl::PreTranslateMessage(MSG* pMsg) {
    if (m_bNoContextMenu && pMsg &&
        (pMsg->message == WM_CONTEXTMENU || pMsg->message == WM_RBUTTONDOWN ||
         pMsg->message == WM_RBUTTONUP || pMsg->message == WM_RBUTTONDBLCLK)) {
        if (IsDocumentWindow(pMsg->hwnd)) {
            if (pMsg->message == WM_RBUTTONUP)
                SendMessage(WM_CONTEXTMENU, pMsg->wParam, pMsg->lParam);
            return TRUE;
        }
    }
    return CHtmlView::PreTranslateMessage(pMsg);
}

void CHtmlCtrl::PostNcDestroy() {
    if (m_pPopupBrowser) {
        delete m_pPopupBrowser;
        m_pPopupBrowser = NULL;
    }
}

HRESULT CHtmlCtrl::OnGetHostInfo(DOCHOSTUIINFO* pInfo) {
    if (!pInfo)
        return E_POINTER;
    pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_THEME;
    return S_OK;
}

int CHtmlCtrl::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void CHtmlCtrl::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (!::IsWindow(m_hWndBrowser))
        return;
    // Grow the browser by one client edge on every side, so its own edge lies outside the view.
    RECT rc;
    GetClientRect(&rc);
    ::AdjustWindowRectEx(&rc, GetStyle(), FALSE, WS_EX_CLIENTEDGE);
    PlaceBrowser(rc);
}

void CHtmlCtrl::OnContextMenu(CWnd*, CPoint) {}

// --- navigation routing
// -------------------------------------------------------------------------------------

void CHtmlCtrl::OnBeforeNavigate2(LPCTSTR lpszURL, DWORD, LPCTSTR, const VARIANT*, LPCTSTR, BOOL* pbCancel) {
    if (!pbCancel)
        return;
    if (m_bOpenInShell) {
        // A pop-up browser shows nothing itself; web pages go to the default browser, anything else nowhere.
        *pbCancel = TRUE;
        OpenWebUrlInShell(lpszURL);
        return;
    }
    if (InterceptUrl(lpszURL))
        *pbCancel = TRUE;
}

BOOL CHtmlCtrl::InterceptUrl(LPCWSTR lpszURL) {
    if (!lpszURL)
        return FALSE;
    // Scripts in links are never run, unless written with a capital letter (the pages rely on that).
    if (wcsncmp(lpszURL, L"javascript", 10) == 0)
        return TRUE;
    if (_wcsnicmp(lpszURL, L"app:", 4) == 0) {
        OnAppUrl(lpszURL + 4);
        return TRUE;
    }
    if (wcsstr(lpszURL, kGameLinkMark)) {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd && pMainWnd->GetSafeHwnd()) {
            std::unique_ptr<CString> pUrl(new CString(lpszURL));
            pUrl->Replace(kGameLinkMark, L"");
            PostOwnedString(pMainWnd->GetSafeHwnd(), WM_OPEN_GAME_URL, std::move(pUrl), GetDlgCtrlID());
        }
        return TRUE;
    }
    return FALSE;
}

void CHtmlCtrl::OnAppUrl(LPCWSTR lpszWhere) {
    if (!m_pAppUrlTable || !lpszWhere)
        return;
    const HWND hWndParent = m_hWnd ? ::GetParent(m_hWnd) : NULL;
    if (!hWndParent)
        return;
    for (const APP_URL_ENTRY* pEntry = m_pAppUrlTable; pEntry->lpszName; ++pEntry) {
        if (_wcsicmp(pEntry->lpszName, lpszWhere) == 0)
            ::PostMessageW(hWndParent, WM_COMMAND, pEntry->nCommandID, 0);
    }
}

void CHtmlCtrl::OnNewWindow2(LPDISPATCH* ppDisp, BOOL* pbCancel) {
    if (!m_pPopupBrowser) {
        std::unique_ptr<CHtmlCtrl> pPopup(new CHtmlCtrl);
        pPopup->m_bOpenInShell = TRUE;
        const RECT rc = {0, 0, 100, 200};
        if (pPopup->Create(NULL, NULL, WS_CHILD, rc, this, ID_POPUP_BROWSER, NULL))
            m_pPopupBrowser = pPopup.release();
    }
    LPDISPATCH pDisp = m_pPopupBrowser ? m_pPopupBrowser->GetApplication() : NULL;
    if (ppDisp)
        *ppDisp = pDisp;
    else if (pDisp)
        pDisp->Release();
    // Without a pop-up browser to take the page, the control would open a window of its own: refuse.
    if (!pDisp && pbCancel)
        *pbCancel = TRUE;
}

void CHtmlCtrl::DocumentComplete(LPDISPATCH pDisp, VARIANT* URL) {
    // A pop-up browser's parent is its view, which has no use for page notices.
    if (!m_pBrowserApp || m_bOpenInShell)
        return;
    const CComPtr<IUnknown> pUnknown = m_pBrowserApp.As<IUnknown>(IID_IUnknown);
    const CComPtr<IDispatch> pThisDisp = pUnknown.As<IDispatch>(IID_IDispatch);
    if (!pThisDisp)
        return;
    // Only the top-level document counts: frames complete with their own browser.
    const HWND hWndParent = ::GetParent(m_hWnd);
    if (pDisp != pThisDisp.get() || !hWndParent)
        return;
    std::unique_ptr<CString> pUrl(new CString(ArgText(URL)));
    PostOwnedString(hWndParent, WM_PAGE_LOADED, std::move(pUrl), 0);
}

CString CHtmlCtrl::GetLocationNameSafe() {
    try {
        return GetLocationName();
    } catch (...) {
        return CString();
    }
}
