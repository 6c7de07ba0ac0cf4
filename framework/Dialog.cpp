#include "framework/Dialog.h"

#include "framework/WinApp.h"

namespace {

// Every message reaches the object through its window procedure (AfxWndProc) first; the system dialog
// procedure, which the object's Default() calls, asks here only to do its own default handling.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The style of a dialog template, plain (DLGTEMPLATE) or extended (DLGTEMPLATEEX).
DWORD TemplateStyle(const void* pTemplate) {
    const WORD* pWords = static_cast<const WORD*>(pTemplate);
    const DWORD* pDwords = static_cast<const DWORD*>(pTemplate);
    const bool bExtended = pWords[0] == 1 && pWords[1] == 0xFFFF; // dlgVer 1, signature 0xFFFF
    return bExtended ? pDwords[3] : pDwords[0];
}

} // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX && !rControl.m_hWnd)
        rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(MAKEINTRESOURCEW(nIDTemplate), pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd), m_dwTemplateStyle(0),
      m_bInModalLoop(false), m_bEndModal(false), m_nModalResult(-1) {}

BOOL CDialog::CreateFromTemplate(LPCTSTR lpszTemplateName, HWND hWndParent) {
    if (m_hWnd)
        return FALSE;
    HINSTANCE hInstance = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInstance, lpszTemplateName, RT_DIALOG);
    HGLOBAL hGlobal = hResource ? ::LoadResource(hInstance, hResource) : NULL;
    const void* pTemplate = hGlobal ? ::LockResource(hGlobal) : NULL;
    if (!pTemplate || ::SizeofResource(hInstance, hResource) < sizeof(DLGTEMPLATE))
        return FALSE;
    m_dwTemplateStyle = TemplateStyle(pTemplate);
    HWND hWnd;
    {
        CCreationScope scope(this);
        hWnd = ::CreateDialogIndirectParamW(hInstance, static_cast<LPCDLGTEMPLATEW>(pTemplate), hWndParent,
                                            AfxDlgProc, 0);
    }
    return AfxCheckCreated(this, hWnd);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    return CreateFromTemplate(lpszTemplateName, pParentWnd ? pParentWnd->m_hWnd : NULL);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    const BOOL bResult = OnInitDialog();
    // A dialog that nothing else places (hidden, unowned, no centring style) goes to the work area's centre.
    if (m_hWnd && !::IsWindowVisible(m_hWnd) && !::GetWindow(m_hWnd, GW_OWNER) && !(GetStyle() & WS_CHILD) &&
        !(m_dwTemplateStyle & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)))
        CenterWindow();
    return bResult;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd || m_bInModalLoop)
        return -1;
    HWND hWndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : NULL;
    const bool bEnableParent = hWndParent && ::IsWindowEnabled(hWndParent);
    if (bEnableParent)
        ::EnableWindow(hWndParent, FALSE);

    m_bInModalLoop = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    if (CreateFromTemplate(m_lpszTemplateName, hWndParent))
        RunModalLoop();
    m_bInModalLoop = false;

    if (m_hWnd)
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    const int nResult = m_nModalResult;
    DestroyWindow();
    return nResult;
}

void CDialog::RunModalLoop() {
    bool bIdle = true;
    bool bShown = false;
    MSG msg;
    while (!m_bEndModal && m_hWnd) {
        if (bIdle && !::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            // The queue went idle: the first time, a still hidden dialog is shown.
            if (!bShown) {
                bShown = true;
                if (!::IsWindowVisible(m_hWnd)) {
                    ShowWindow(SW_SHOWNORMAL);
                    UpdateWindow();
                }
            }
            CWnd::DeleteTempMap();
            CDC::DeleteTempMap();
            bIdle = false;
            continue; // showing ran code that may have ended the dialog
        }
        const BOOL bGot = ::GetMessageW(&msg, NULL, 0, 0);
        if (bGot <= 0) { // WM_QUIT (or a broken queue): end, and leave WM_QUIT for the loop outside
            if (bGot == 0) {
                if (CWinApp* pApp = AfxGetApp())
                    pApp->SetQuitCode(static_cast<int>(msg.wParam));
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            }
            break;
        }
        if (!CWnd::WalkPreTranslateTree(NULL, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (msg.message != WM_PAINT && msg.message != 0x0118) // 0x0118: the caret's blink timer
            bIdle = true;
    }
}

void CDialog::EndDialog(int nResult) {
    if (m_bInModalLoop) {
        m_nModalResult = nResult;
        m_bEndModal = true;
        if (m_hWnd)
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wakes the loop if it is waiting
        return;
    }
    if (m_hWnd)
        ::EndDialog(m_hWnd, nResult); // a modeless dialog is hidden
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (m_hWnd && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
        return ::IsDialogMessageW(m_hWnd, pMsg);
    return FALSE;
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode) {
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    if (nCode != BN_CLICKED) // also the code of menu and accelerator commands
        return FALSE;
    if (nID == IDOK) {
        OnOK();
        return TRUE;
    }
    if (nID == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    CWinApp* pApp = AfxGetApp();
    return nID < 0xF000 && pApp && pApp->OnCmdMsg(nID, nCode);
}
