// A small program for the exit-code test: its InitInstance runs a main dialog that ends itself, then returns
// FALSE. ExitInstance answers 40 plus the number on the command line when everything went as it should, or
// a code below 40 that says what went wrong.
#include "framework/Dialog.h"
#include "framework/WinApp.h"

#include "FrameworkIds.h"

#include <cwchar>

namespace {

class CEndingDlg : public CDialog {
public:
    CEndingDlg() : CDialog(IDD_FW_PLAIN) {}

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(1, 10);
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR) {
        KillTimer(1);
        EndDialog(IDCANCEL);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEndingDlg, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

class CExitCodeApp : public CWinApp {
public:
    BOOL InitInstance() override {
        CWinApp::InitInstance();
        m_bInitRan = true;
        CEndingDlg dlg;
        m_pMainWnd = &dlg;
        m_nResult = dlg.DoModal();
        m_bMainCleared = m_pMainWnd == NULL;
        return FALSE;
    }
    int ExitInstance() override {
        const int nBase = CWinApp::ExitInstance();
        if (!m_bInitRan)
            return 10;
        if (m_nResult != IDCANCEL)
            return 11;
        if (!m_bMainCleared || AfxGetMainWnd())
            return 12;
        if (nBase != 0)
            return 13;
        return 40 + (m_lpCmdLine ? std::wcstol(m_lpCmdLine, nullptr, 10) : 0);
    }

private:
    bool m_bInitRan = false;
    bool m_bMainCleared = false;
    INT_PTR m_nResult = 0;
};

CExitCodeApp theApp;

} // namespace
