// CCmdTarget (an object with a message map) and CWnd (a window object).
//
// A CWnd is bound to its window in one of two ways, and the framework keeps a per-thread HWND -> object map:
// - created through the framework (CreateEx, CDialog::Create/DoModal): the object is claimed by the window's
//   first creation hook call and subclassed before the window sees WM_NCCREATE;
// - attached to an existing window (SubclassWindow, SubclassDlgItem, DDX_Control): the window procedure is
//   replaced, and the old one is kept as the default procedure.
// Either way messages reach WindowProc, then the message map; what no entry handles goes to DefWindowProc,
// which calls the window's previous procedure (for a dialog, the system dialog procedure).
//
// FromHandle gives a temporary CWnd for a window that has no object of its own. Temporary objects live until
// the message loop next goes idle (DeleteTempMap); do not keep the pointer.
//
// When the window is destroyed (WM_NCDESTROY) the object is detached, the application's main-window pointer
// is cleared if it pointed here, and PostNcDestroy runs last (it may delete the object).
#pragma once

#include "framework/Prelude.h"

#include "framework/MessageMap.h"
#include "framework/RuntimeClass.h"
#include "framework/String.h"
#include "framework/Types.h"

class CWnd;
struct CCreateContext; // for CHtmlView::Create; the framework itself never reads one

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Runs the map entry for a WM_COMMAND with this notification code and ID; FALSE when none matches.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    // Finds the first entry, most derived table first, for the message (and for WM_COMMAND, code and ID).
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT nCode, UINT nID) const;

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    // Destroys the window if the object still has one.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd;

    // Callers with a possibly NULL CWnd* test the pointer themselves.
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // The window's object: its own, else a temporary one (NULL for a NULL handle).
    static CWnd* FromHandle(HWND hWnd);
    // The window's own object only; NULL when it has none.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Deletes this thread's temporary objects (the loops call it when the queue goes idle).
    static void DeleteTempMap();

    // Binds the object to a window without taking over its messages. FALSE if either is already bound.
    BOOL Attach(HWND hWndNew);
    // Unbinds the object; the window lives on. Returns the window.
    HWND Detach();
    // Binds the object and routes the window's messages through it. PreSubclassWindow runs once m_hWnd is
    // set.
    BOOL SubclassWindow(HWND hWnd);
    // SubclassWindow on the item nID of pParent.
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Gives the window its old procedure back and unbinds the object.
    HWND UnsubclassWindow();
    // Called when a window is bound to the object (created or subclassed), before it is routed here.
    virtual void PreSubclassWindow();

    // Creates a child window; a NULL class name gives the framework's own window class.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
    // Creates any window (hWndParent is the parent or owner, nIDorHMenu the control ID or menu).
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL);
    virtual BOOL DestroyWindow();

    // Every message of the window comes here: the message map first, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's previous procedure (or the system's default one).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being handled, with its own wParam and lParam.
    LRESULT Default();

    // Called for a message before it is dispatched; TRUE when it is used up. The loops call it for the target
    // window's object and then for each ancestor's, child before parent (WalkPreTranslateTree).
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Runs PreTranslateMessage from pMsg->hwnd up through its parents, up to and including hWndStop (or the
    // top-level window when hWndStop is NULL). TRUE as soon as one object uses the message up.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // WM_COMMAND: a control's notification is first offered to the control (OnChildNotify), then the map.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: offered to the sending control (OnChildNotify); FALSE when nobody handled it.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A message the parent reflects back to this control (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*).
    // Return TRUE with *pResult set to answer it in the parent's place.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called after the window is gone and the object detached; the object may delete itself here.
    virtual void PostNcDestroy();

    // Window operations (thin wrappers of the system calls of the same names).
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
        return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : NULL, x, y, cx, cy, nFlags);
    }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                   bRepaint);
    }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const {
        ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const {
        ::MapWindowPoints(m_hWnd, NULL, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    // Rewrites the style; with nFlags != 0 also SetWindowPos(nFlags | no move/size/z-order/activate).
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void SetWindowText(LPCTSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    void GetWindowText(CString& rString) const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = NULL) {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, NULL, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    // A message box owned by this window; a NULL caption gives the application's name.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK);
    // Centres over pAlternateOwner, else over the visible owner, else in the monitor's work area; the
    // window is kept inside the work area (right and bottom first, then left and top win).
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

protected:
    // The default handlers of the messages the maps bind: each runs Default() and returns its result.
    afx_msg int OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
    afx_msg void OnDestroy() { Default(); }
    afx_msg void OnMove(int, int) { Default(); }
    afx_msg void OnSize(UINT, int, int) { Default(); }
    afx_msg void OnPaint() { Default(); }
    afx_msg BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
    afx_msg void OnEnable(BOOL) { Default(); }
    afx_msg void OnTimer(UINT_PTR) { Default(); }
    afx_msg void OnMouseMove(UINT, CPoint) { Default(); }
    afx_msg void OnLButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnLButtonUp(UINT, CPoint) { Default(); }
    afx_msg int OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
    afx_msg BOOL OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
    afx_msg void OnContextMenu(CWnd*, CPoint) { Default(); }
    afx_msg LRESULT OnNcHitTest(CPoint) { return Default(); }
    afx_msg void OnNcLButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
    afx_msg BOOL OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
    afx_msg void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    afx_msg void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    afx_msg void OnMoving(UINT, LPRECT) { Default(); }
    afx_msg void OnSizing(UINT, LPRECT) { Default(); }
    // WM_CTLCOLOR* and WM_DRAWITEM first offer the message to the control it is about (OnChildNotify).
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    // Looks the message up in the map chain (after the WM_COMMAND / WM_NOTIFY routing); FALSE if unmapped.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtHookProc(int, WPARAM, LPARAM);
    // After WM_NCDESTROY: detach, clear the main-window pointer, PostNcDestroy.
    void OnFinalDestroy();

    WNDPROC m_pfnSuper; // the procedure the window had before us; NULL when not subclassed
};

// The window procedure of every window with an object.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// For the lifetime of the scope, the next window created on this thread is bound to pWnd and subclassed as
// it is created (a creation hook), so the object sees WM_NCCREATE, WM_CREATE and a dialog's WM_INITDIALOG.
class CCreationScope {
public:
    explicit CCreationScope(CWnd* pWnd);
    ~CCreationScope();
    CCreationScope(const CCreationScope&) = delete;
    CCreationScope& operator=(const CCreationScope&) = delete;

private:
    HHOOK m_hHook;
};

// After a creation call: TRUE when hWnd was made and bound to pWnd. A window made but not bound is destroyed.
BOOL AfxCheckCreated(CWnd* pWnd, HWND hWnd);
