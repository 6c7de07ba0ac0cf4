// CHtmlCtrl: the web view used as an ordinary child control of a dialog.
//
// The owner replaces a static placeholder of its dialog by the view (CreateOnPlaceholder) and then sizes,
// shows and navigates it like any other control. The view runs the browser silently, without 3-D border or
// scroll bars, with the browser's client edge pushed out of sight. It decides what becomes of every
// navigation (InterceptUrl), sends pages that ask for a new window to the default web browser through a
// hidden pop-up browser, and tells its parent when a top-level document has loaded (WM_PAGE_LOADED).
#pragma once

#include "framework/Prelude.h"

#include "framework/HtmlView.h"
#include "framework/String.h"
#include "webview/WebViewMessages.h"

// One row of a command table for "app:" URLs; a table ends with a row whose name is NULL.
struct APP_URL_ENTRY {
    LPCWSTR lpszName; // the command word after "app:"
    UINT nCommandID;  // sent to the parent as WM_COMMAND
};

class CHtmlCtrl : public CHtmlView {
    DECLARE_DYNAMIC(CHtmlCtrl)
public:
    CHtmlCtrl();
    // Runs CHtmlView's destructor; the pop-up browser went with the window (PostNcDestroy).
    ~CHtmlCtrl() override;

    // Replaces the static control nID of pParentWnd by this view, at its place and with its ID, and turns
    // silent mode on. FALSE when the dialog has no such item (nothing is created) or the view or its browser
    // cannot be made (the placeholder is gone by then).
    BOOL CreateOnPlaceholder(CWnd* pParentWnd, UINT nID);

    // With m_bNoContextMenu set, right clicks and context-menu requests aimed at the page are swallowed.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // TRUE when the view has taken the navigation to lpszURL over and the browser must not go on.
    BOOL InterceptUrl(LPCWSTR lpszURL);
    // The current page's location name; "" when there is no browser, it fails, or anything throws.
    CString GetLocationNameSafe();

    // The hidden pop-up browser, once a page has asked for a new window (NULL before).
    CHtmlCtrl* GetPopupBrowser() const { return m_pPopupBrowser; }
    BOOL IsOpenInShell() const { return m_bOpenInShell; }

    // --- browser events ---
    void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName,
                           const VARIANT* pvPostedData, LPCTSTR lpszHeaders, BOOL* pbCancel) override;
    void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* pbCancel) override;
    void DocumentComplete(LPDISPATCH pDisp, VARIANT* URL) override;
    HRESULT OnGetHostInfo(DOCHOSTUIINFO* pInfo) override;

    // Command table for "app:" URLs (not owned; NULL: such URLs only cancel the navigation).
    const APP_URL_ENTRY* m_pAppUrlTable;
    // Swallow the browser's context menu.
    BOOL m_bNoContextMenu;

protected:
    // An "app:" URL: lpszWhere is the text after "app:". Posts WM_COMMAND to the parent for every table row
    // whose name matches, in table order.
    virtual void OnAppUrl(LPCWSTR lpszWhere);

    // Deletes the pop-up browser; the view itself belongs to its owner.
    void PostNcDestroy() override;

    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    DECLARE_MESSAGE_MAP()

    // Every navigation is cancelled and web URLs go to the default web browser (pop-up browsers only).
    BOOL m_bOpenInShell;
    // The hidden pop-up browser; owned.
    CHtmlCtrl* m_pPopupBrowser;
};
