// A top-level dialog without system caption or sizing frame that still moves, sizes and maximises like a
// normal window: the client area drags it, bands along the edges size it.
#pragma once

#include "framework/Dialog.h"

class CSizeDialog : public CDialog {
    DECLARE_DYNAMIC(CSizeDialog)

public:
    // Every window of this class is built from the game window's template, without a parent.
    CSizeDialog();
    ~CSizeDialog() override;

    // Turns visual styles and the desktop window manager's non-client rendering off for pWnd, where the
    // system has them.
    static void DisableNcRendering(CWnd* pWnd);

protected:
    // Tracking sizes: x is the width, y the height. Derived classes write them directly; they are read at
    // every WM_GETMINMAXINFO.
    POINT m_ptMinTrackSize;
    POINT m_ptMaxTrackSize;
    // No dragging and no sizing bands.
    BOOL m_bFrameLocked;
    // Desktop composition as last queried; widens the client area of the system-frame variant.
    BOOL m_bCompositionEnabled;
    // Keep the system sizing frame (and its cursors) instead of drawing none; set before the window exists.
    BOOL m_bUseDwmFrame;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnMoving(UINT fwSide, LPRECT pRect);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()
};
