#include "app/QXRVClientApp.h"

#include "app/QXRVTranslucentDlg.h"
#include "skin/GdiplusServices.h"

#include <commctrl.h>

#ifndef ID_HELP
// The framework's standard Help command.
#define ID_HELP 0xE146
#endif

BEGIN_MESSAGE_MAP(CQXRVClientApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CQXRVClientApp theApp;

// Kept from start-up to shut-down; GDI+ objects exist only in between.
ULONG_PTR g_gdiplusToken = 0;

CQXRVClientApp::CQXRVClientApp() : CWinApp(NULL) {
    // Restart support only: no document recovery, no autosave.
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

BOOL CQXRVClientApp::InitInstance() {
    INITCOMMONCONTROLSEX initCtrls;
    initCtrls.dwSize = sizeof(initCtrls);
    initCtrls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&initCtrls);

    CWinApp::InitInstance();
    // The web views host the browser's ActiveX control.
    AfxEnableControlContainer();
    SetRegistryKey(L"QXRVClient");

    // Version 1, no debug callback, background thread and external codecs allowed.
    skin::StartGdiplus(&g_gdiplusToken);

    {
        // Made after GDI+ is up, destroyed before ExitInstance shuts it down.
        CQXRVTranslucentDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
    }
    return FALSE;
}

int CQXRVClientApp::ExitInstance() {
    skin::StopGdiplus(&g_gdiplusToken);
    return CWinApp::ExitInstance();
}
