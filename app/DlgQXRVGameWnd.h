// The game window: a borderless, resizable top-level dialog with a painted caption and frame, four caption
// buttons and the game page filling the rest.
#pragma once

#include "frame/HoverButton.h"
#include "frame/SizeDialog.h"
#include "webview/HtmlCtrl.h"

class CDlgQXRVGameWnd : public CSizeDialog {
    DECLARE_DYNAMIC(CDlgQXRVGameWnd)

public:
    // Ticks of this timer repaint the caption.
    enum { ID_TIMER_CAPTION = 1 };

    CDlgQXRVGameWnd();
    virtual ~CDlgQXRVGameWnd();

    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // The main window navigates the view and swaps the two buttons when it hands a game link over.
    CHtmlCtrl m_web;
    CHoverButton m_btnMinimize;
    CHoverButton m_btnRestore;
    CHoverButton m_btnMaximize;
    CHoverButton m_btnClose;

    // Cuts the window to a caption band with rounded top corners joined to a rectangular body.
    void UpdateWindowRgn();
    // Composes the whole window off-screen (frame pieces, caption text) and copies it to pDC in one go.
    void DrawFrame(CDC* pDC);
    // Writes the caption text into pDC at its fixed place.
    void DrawCaptionText(CDC* pDC);

protected:
    HICON m_hIcon;

    virtual BOOL OnInitDialog();
    virtual void OnCancel();

    afx_msg LRESULT OnPageLoaded(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnBnClickedMinimize();
    afx_msg void OnBnClickedRestore();
    afx_msg void OnBnClickedMaximize();
    afx_msg void OnBnClickedClose();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
};
