#include "app/QXRVClientDlg.h"

#include "app/StartUrl.h"
#include "webview/PostedString.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CQXRVClientDlg, CStandardDialog)
ON_WM_SIZE()
ON_MESSAGE(WM_PAGE_LOADED, &CQXRVClientDlg::OnPageLoaded)
END_MESSAGE_MAP()

CQXRVClientDlg::CQXRVClientDlg(CWnd* pOwner) : CStandardDialog(IDD_START_PAGE, pOwner) {}

CQXRVClientDlg::~CQXRVClientDlg() {}

BOOL CQXRVClientDlg::OnInitDialog() {
    CStandardDialog::OnInitDialog();
    m_web.CreateOnPlaceholder(this, IDC_START_PAGE);
    // The view stays hidden until the start page itself has loaded, so no error or half-drawn page shows.
    m_web.ShowWindow(SW_HIDE);
    m_web.Navigate2(StartUrl(), 0, NULL);
    return TRUE;
}

// Enter and Escape must neither end nor hide the start page.
void CQXRVClientDlg::OnOK() {}
void CQXRVClientDlg::OnCancel() {}

void CQXRVClientDlg::OnSize(UINT /*nType*/, int cx, int cy) {
    Default();
    if (m_web.GetSafeHwnd() != NULL)
        m_web.SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOZORDER);
}

LRESULT CQXRVClientDlg::OnPageLoaded(WPARAM wParam, LPARAM /*lParam*/) {
    // Only a string one of our views posted is taken; any other wParam is left untouched.
    std::unique_ptr<CString> pUrl = ClaimPostedString(WM_PAGE_LOADED, wParam);
    if (!pUrl)
        return 0;
    // Exact, case-sensitive: a redirect, a trailing slash, a query or a fragment is not the start page.
    if (pUrl->Compare(StartUrl()) == 0)
        m_web.ShowWindow(SW_SHOW);
    return 0;
}
