// The launcher's main window: the skinned layered picture with its minimise and close buttons, carrying the
// start page and owning the game window.
#pragma once

#include "app/DlgQXRVGameWnd.h"
#include "skin/TranslucentButton.h"
#include "skin/TranslucentDialog.h"

class CQXRVTranslucentDlg : public CTranslucentDialog {
public:
    // GDI+ must be running: the background and the buttons' fonts are made here.
    CQXRVTranslucentDlg();
    ~CQXRVTranslucentDlg() override;

    // The game window, made hidden while the children are set up and disposed of when this window goes.
    CDlgQXRVGameWnd* GetGameWnd() const { return m_pGameWnd; }

protected:
    CTranslucentButton m_btnMinimize;
    CTranslucentButton m_btnClose;
    CDlgQXRVGameWnd* m_pGameWnd;
    HICON m_hIcon;

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    CStandardDialog* CreateOverlayDialog() override;
    void SetUpChildControls() override;

    afx_msg void OnBnClickedClose();
    afx_msg void OnBnClickedMinimize();
    afx_msg LRESULT OnOpenGameUrl(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
