// The start-page dialog: the colour-keyed overlay that rides over the main window and holds the start page.
#pragma once

#include "skin/StandardDialog.h"
#include "webview/HtmlCtrl.h"

class CQXRVClientDlg : public CStandardDialog {
public:
    // pOwner: the main window, which creates, places and finally deletes this dialog.
    explicit CQXRVClientDlg(CWnd* pOwner);
    ~CQXRVClientDlg() override;

    // The start-page view; hidden until a document at exactly the start URL has finished loading.
    CHtmlCtrl m_web;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnPageLoaded(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
