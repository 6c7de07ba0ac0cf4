#include "app/QXRVTranslucentDlg.h"

#include "app/LauncherText.h"
#include "app/QuitQuestion.h"
#include "webview/PostedString.h"
#include "app/QXRVClientDlg.h"
#include "framework/WinApp.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CQXRVTranslucentDlg, CTranslucentDialog)
ON_BN_CLICKED(IDC_CLOSE, &CQXRVTranslucentDlg::OnBnClickedClose)
ON_BN_CLICKED(IDC_MINIMIZE, &CQXRVTranslucentDlg::OnBnClickedMinimize)
ON_MESSAGE(WM_OPEN_GAME_URL, &CQXRVTranslucentDlg::OnOpenGameUrl)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CQXRVTranslucentDlg::CQXRVTranslucentDlg() {
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    m_pGameWnd = NULL;
}

CQXRVTranslucentDlg::~CQXRVTranslucentDlg() {}

void CQXRVTranslucentDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_MINIMIZE, m_btnMinimize);
    DDX_Control(pDX, IDC_CLOSE, m_btnClose);
}

// Enter, Escape and WM_CLOSE must not end the launcher; only the close button does, after asking.
void CQXRVTranslucentDlg::OnOK() {}
void CQXRVTranslucentDlg::OnCancel() {}

CStandardDialog* CQXRVTranslucentDlg::CreateOverlayDialog() {
    return new CQXRVClientDlg(this);
}

void CQXRVTranslucentDlg::SetUpChildControls() {
    // Registration order is drawing order: the close button lies over the minimise button.
    const StateImageIds minimize = {IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER,
                                    IDB_MINIMIZE_PRESSED, 0};
    m_btnMinimize.LoadStateImages(minimize);
    AddLayerChild(&m_btnMinimize);
    const StateImageIds close = {IDB_CLOSE_NORMAL, IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED, 0};
    m_btnClose.LoadStateImages(close);
    AddLayerChild(&m_btnClose);

    m_btnMinimize.SetWindowPos(NULL, 1100, 64, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_btnClose.SetWindowPos(NULL, 1130, 64, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // The start page takes its place at the offset with this window's next move.
    if (m_pOverlayDlg != NULL) {
        m_pOverlayDlg->SetOverlayOffset(CPoint(344, 88));
        m_pOverlayDlg->SetWindowPos(NULL, 0, 0, 708, 508, SWP_NOZORDER);
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    SetWindowText(kLauncherTitle);

    // A top-level window of its own with no owner, so it keeps its taskbar entry while this one hides.
    m_pGameWnd = new CDlgQXRVGameWnd;
    m_pGameWnd->Create(IDD_GAME, CWnd::FromHandle(::GetDesktopWindow()));
}

void CQXRVTranslucentDlg::OnBnClickedMinimize() {
    ShowWindow(SW_MINIMIZE);
}

void CQXRVTranslucentDlg::OnBnClickedClose() {
    if (AskToQuit(this, kAskQuitStarting))
        EndDialog(IDCANCEL);
}

LRESULT CQXRVTranslucentDlg::OnOpenGameUrl(WPARAM wParam, LPARAM /*lParam*/) {
    // Only a string one of our views posted is taken; any other wParam is left untouched.
    std::unique_ptr<CString> pUrl = ClaimPostedString(WM_OPEN_GAME_URL, wParam);
    if (!pUrl)
        return 0;
    // While a closing question is open the launcher waits for its answer, and a game link is dropped. The
    // start page is not disabled with this window; a link followed there would hide the question along with
    // this window, and the game window could not ask its own until the hidden one was answered.
    if (QuitQuestionOpen())
        return 0;
    // Without a game window there is nowhere to play; the link is dropped.
    if (m_pGameWnd == NULL || m_pGameWnd->GetSafeHwnd() == NULL)
        return 0;

    m_pGameWnd->m_web.Navigate2(*pUrl, 0, NULL);
    m_pGameWnd->ShowWindow(SW_MAXIMIZE);
    m_pGameWnd->m_btnRestore.ShowWindow(SW_SHOW);
    m_pGameWnd->m_btnMaximize.ShowWindow(SW_HIDE);
    // Keys belong to the game from the first one on. Showing the window activates it, which does this too;
    // a link followed in a game window that is showing already needs it said.
    m_pGameWnd->FocusGamePage();
    if (m_pOverlayDlg != NULL)
        m_pOverlayDlg->ShowWindow(SW_HIDE);
    ShowWindow(SW_HIDE);
    return 0;
}

void CQXRVTranslucentDlg::OnDestroy() {
    CTranslucentDialog::OnDestroy();
    // The game window never outlives the launcher, whether or not a game was started.
    if (m_pGameWnd != NULL) {
        if (m_pGameWnd->IsWindowVisible())
            m_pGameWnd->ShowWindow(SW_HIDE);
        m_pGameWnd->DestroyWindow();
        delete m_pGameWnd;
        m_pGameWnd = NULL;
    }
}
