// An owner-drawn push button whose looks come from one bitmap strip of four equal frames side by side:
// normal, hover, pressed and disabled. It sizes itself to one frame.
#pragma once

#include "framework/Controls.h"
#include "framework/Gdi.h"

class CHoverButton : public CBitmapButton {
    DECLARE_DYNAMIC(CHoverButton)

public:
    CHoverButton();
    ~CHoverButton() override;

    // Loads the strip from the program's resources and sizes the button to one frame, keeping its position
    // and raising it above its siblings. FALSE when the bitmap cannot be loaded: the button then has no
    // frame and draws nothing.
    BOOL LoadBitmapStrip(UINT nID);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Frame order in the strip.
    enum { kFrameNormal, kFrameHover, kFramePressed, kFrameDisabled, kFrameCount };

    BOOL m_bMouseOver;      // the pointer rests on the button
    int m_cxFrame;          // width of one frame: the strip's width / 4
    int m_cyFrame;          // height of the strip
    CBitmap m_frameStrip;   // the four frames
    BOOL m_bTrackingLeave;  // hover and leave notifications are asked for
    CToolTipCtrl m_tipCtrl; // created on the first pre-translated message, never shows

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
