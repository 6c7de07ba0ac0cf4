// CDialog: a dialog from a template, modal (DoModal, with the framework's own loop) or modeless (Create).
//
// Creation: the window is created from the template with the object bound from its first message, so
// WM_CREATE and the moves made during creation reach the map. WM_INITDIALOG runs OnInitDialog; after it, a
// dialog that is still hidden, has no owner and whose template has none of DS_CENTER, DS_CENTERMOUSE and
// DS_ABSALIGN is centred in its monitor's work area (CenterWindow).
//
// DoModal disables the parent, runs its own message loop (pre-translation walk, temporary objects freed when
// the queue goes idle) and shows the dialog (SW_SHOWNORMAL) the first time the queue goes idle, if it is
// still hidden. EndDialog ends the loop; the dialog is then hidden, the parent enabled again and the window
// destroyed, and DoModal returns EndDialog's value (-1 when the window could not be created).
#pragma once

#include "framework/Prelude.h"

#include "framework/Wnd.h"

// Dialog data exchange: which way the data goes, and the dialog it is done for.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate; // TRUE: controls -> members; FALSE: members -> controls
    CWnd* m_pDlgWnd;
};

// Binds rControl to the dialog's item nIDC (once; later calls leave it bound). A missing item binds nothing.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);

    LPCTSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

    // Runs the dialog modally; returns EndDialog's value, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; OnInitDialog has run when this returns. FALSE when it could not be
    // created.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    // Ends the modal loop with nResult (a modeless dialog is only hidden).
    void EndDialog(int nResult);

    // Runs DoDataExchange (members -> controls); TRUE lets the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // Data exchange (controls -> members), then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // The dialog manager's keyboard processing (IsDialogMessage) for key messages.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // IDOK and IDCANCEL run OnOK and OnCancel when the map has no entry for them; other unmapped command
    // IDs get a last chance in the application's map.
    BOOL OnCmdMsg(UINT nID, int nCode) override;

protected:
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // Creates the window from the template; hWndParent is the parent or owner.
    BOOL CreateFromTemplate(LPCTSTR lpszTemplateName, HWND hWndParent);
    // Runs until EndDialog (or WM_QUIT, which is posted again for the loop outside).
    void RunModalLoop();

    DWORD m_dwTemplateStyle;
    bool m_bInModalLoop;
    bool m_bEndModal;
    int m_nModalResult;
};
