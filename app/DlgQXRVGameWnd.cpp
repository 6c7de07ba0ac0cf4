#include "app/DlgQXRVGameWnd.h"

#include "app/LauncherText.h"
#include "app/QuitQuestion.h"
#include "webview/PostedString.h"
#include "framework/WinApp.h"
#include "res/resource.h"

IMPLEMENT_DYNAMIC(CDlgQXRVGameWnd, CSizeDialog)

BEGIN_MESSAGE_MAP(CDlgQXRVGameWnd, CSizeDialog)
ON_MESSAGE(WM_PAGE_LOADED, &CDlgQXRVGameWnd::OnPageLoaded)
ON_WM_SIZE()
ON_WM_CTLCOLOR()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_BN_CLICKED(IDC_MINIMIZE, &CDlgQXRVGameWnd::OnBnClickedMinimize)
ON_BN_CLICKED(IDC_RESTORE, &CDlgQXRVGameWnd::OnBnClickedRestore)
ON_BN_CLICKED(IDC_MAXIMIZE, &CDlgQXRVGameWnd::OnBnClickedMaximize)
ON_BN_CLICKED(IDC_CLOSE, &CDlgQXRVGameWnd::OnBnClickedClose)
ON_WM_TIMER()
ON_MESSAGE(WM_SHOWWINDOW, &CDlgQXRVGameWnd::OnShowWindowMsg)
ON_MESSAGE(WM_SETTINGCHANGE, &CDlgQXRVGameWnd::OnLookSettingsChanged)
ON_MESSAGE(WM_DISPLAYCHANGE, &CDlgQXRVGameWnd::OnLookSettingsChanged)
ON_MESSAGE(WM_SYSCOLORCHANGE, &CDlgQXRVGameWnd::OnLookSettingsChanged)
ON_MESSAGE(WM_THEMECHANGED, &CDlgQXRVGameWnd::OnLookSettingsChanged)
ON_WM_DESTROY()
ON_MESSAGE(WM_ACTIVATE, &CDlgQXRVGameWnd::OnActivateMsg)
ON_MESSAGE(WM_SETFOCUS, &CDlgQXRVGameWnd::OnSetFocusMsg)
END_MESSAGE_MAP()

CDlgQXRVGameWnd::CDlgQXRVGameWnd() {
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CDlgQXRVGameWnd::~CDlgQXRVGameWnd() {}

BOOL CDlgQXRVGameWnd::OnInitDialog() {
    CSizeDialog::OnInitDialog();

    m_web.CreateOnPlaceholder(this, IDC_GAME_PAGE);
    m_web.ShowWindow(SW_SHOW);

    // The game needs room: never smaller than 800 x 640, never larger than the primary screen.
    m_ptMaxTrackSize.x = ::GetSystemMetrics(SM_CXSCREEN);
    m_ptMinTrackSize.x = 800;
    m_ptMaxTrackSize.y = ::GetSystemMetrics(SM_CYSCREEN);
    m_ptMinTrackSize.y = 640;

    m_btnMinimize.SubclassDlgItem(IDC_MINIMIZE, this);
    m_btnMinimize.LoadBitmapStrip(IDB_STRIP_MINIMIZE);
    m_btnMaximize.SubclassDlgItem(IDC_MAXIMIZE, this);
    m_btnMaximize.LoadBitmapStrip(IDB_STRIP_MAXIMIZE);
    m_btnRestore.SubclassDlgItem(IDC_RESTORE, this);
    m_btnRestore.LoadBitmapStrip(IDB_STRIP_RESTORE);
    m_btnClose.SubclassDlgItem(IDC_CLOSE, this);
    m_btnClose.LoadBitmapStrip(IDB_STRIP_CLOSE);

    // Asks for 960 x 600; the minimum tracking size above decides what the window really gets. The children
    // exist by now, so the resulting WM_SIZE lays them out.
    SetWindowPos(NULL, 0, 0, 960, 600, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();

    // Starts in the restored look: the maximise button shows.
    m_btnRestore.ShowWindow(SW_HIDE);

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    SetWindowText(kLauncherTitle);

    // Painting the frame must never cover the page or the buttons.
    ModifyStyle(0, WS_CLIPCHILDREN);
    SetTimer(ID_TIMER_CAPTION, 1000, NULL);

    // No initial focus: none of the caption buttons should take it. The page gets it once the window shows.
    return FALSE;
}

BOOL CDlgQXRVGameWnd::FocusGamePage() {
    if (!m_hWnd || IsIconic())
        return FALSE;
    return m_web.FocusPage();
}

// The dialog manager would hand the focus back to the control that had it last, or to the first tab stop,
// the close button, where Space asks to quit. Whenever the window becomes active (shown for a game link,
// restored from the taskbar, come back to with Alt+Tab) the focus goes into the game page instead. The
// caption buttons keep their tab stops: the mouse and Tab still reach them.
LRESULT CDlgQXRVGameWnd::OnActivateMsg(WPARAM wParam, LPARAM /*lParam*/) {
    // HIWORD: the window is minimised; it gets its focus when it is restored (WM_SETFOCUS below).
    if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0 && FocusGamePage())
        return 0;
    return Default();
}

// The window itself got the focus: after a restore, or when the focused caption button was hidden.
LRESULT CDlgQXRVGameWnd::OnSetFocusMsg(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (FocusGamePage())
        return 0;
    return Default();
}

BOOL CDlgQXRVGameWnd::PreTranslateMessage(MSG* pMsg) {
    // Enter belongs to the game page; the dialog manager would turn it into the OK command.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
        return FALSE;
    return CDialog::PreTranslateMessage(pMsg);
}

// Escape, Alt+F4 and the system menu's Close must not end or hide the game; the close button asks first.
void CDlgQXRVGameWnd::OnCancel() {}

LRESULT CDlgQXRVGameWnd::OnPageLoaded(WPARAM wParam, LPARAM /*lParam*/) {
    // Nothing to show for a loaded game page; the string is ours to free if one of our views posted it.
    ClaimPostedString(WM_PAGE_LOADED, wParam);
    return 1;
}

void CDlgQXRVGameWnd::OnSize(UINT /*nType*/, int cx, int cy) {
    // While minimised there is nothing to lay out; the WM_SIZE of the restore does it.
    if (IsIconic())
        return;
    Default();

    if (m_web.GetSafeHwnd() && m_btnMinimize.GetSafeHwnd() && m_btnRestore.GetSafeHwnd() &&
        m_btnClose.GetSafeHwnd() && m_btnMaximize.GetSafeHwnd()) {
        // The caption buttons sit flush in the top-right corner; restore and maximise share one place.
        m_btnMinimize.SetWindowPos(NULL, cx - 90, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_btnMaximize.SetWindowPos(NULL, cx - 62, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_btnRestore.SetWindowPos(NULL, cx - 62, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_btnClose.SetWindowPos(NULL, cx - 34, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        // The page leaves the 27-pixel caption and a 3-pixel frame on the other sides.
        m_web.SetWindowPos(NULL, 3, 27, cx - 6, cy - 30, SWP_NOZORDER);
    }
    UpdateWindowRgn();

    // The dialog class does not redraw on resizing: after a maximise, a restore or a size set from outside,
    // only what the moved children uncovered would be painted, and the edges would keep their old stretch.
    // The whole frame follows the new size; erasing first would only flicker.
    if (cx != m_sizeLaidOut.cx || cy != m_sizeLaidOut.cy) {
        m_sizeLaidOut = {cx, cy};
        InvalidateRect(NULL, FALSE);
    }
}

HBRUSH CDlgQXRVGameWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
}

// DrawFrame paints every pixel; erasing first would only flicker.
BOOL CDlgQXRVGameWnd::OnEraseBkgnd(CDC* /*pDC*/) {
    return FALSE;
}

void CDlgQXRVGameWnd::OnBnClickedMinimize() {
    ShowWindow(SW_MINIMIZE);
}

void CDlgQXRVGameWnd::OnBnClickedRestore() {
    ShowWindow(SW_RESTORE);
    m_btnRestore.ShowWindow(SW_HIDE);
    m_btnMaximize.ShowWindow(SW_SHOW);
}

void CDlgQXRVGameWnd::OnBnClickedMaximize() {
    ShowWindow(SW_MAXIMIZE);
    m_btnRestore.ShowWindow(SW_SHOW);
    m_btnMaximize.ShowWindow(SW_HIDE);
}

void CDlgQXRVGameWnd::OnBnClickedClose() {
    if (!AskToQuit(this, kAskQuitRunning))
        return;
    // Ending the main window's modal loop ends the program; the main window disposes of this one on its way.
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != NULL && pMain->IsKindOf(RUNTIME_CLASS(CDialog)))
        static_cast<CDialog*>(pMain)->EndDialog(IDCANCEL);
}

void CDlgQXRVGameWnd::OnTimer(UINT_PTR nIDEvent) {
    // Once a second: the caption text area only.
    if (nIDEvent == ID_TIMER_CAPTION) {
        RECT rcCaption = {3, 3, 200, 40};
        InvalidateRect(&rcCaption, TRUE);
    }
    Default();
}
