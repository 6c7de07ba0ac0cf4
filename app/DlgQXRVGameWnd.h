// The game window: a borderless, resizable top-level dialog with a painted caption and frame, four caption
// buttons and the game page filling the rest.
#pragma once

#include "frame/HoverButton.h"
#include "frame/SizeDialog.h"
#include "skin/MemoryPicture.h"
#include "webview/HtmlCtrl.h"

class CDlgQXRVGameWnd : public CSizeDialog {
    DECLARE_DYNAMIC(CDlgQXRVGameWnd)

public:
    // Ticks of this timer repaint the caption.
    enum { ID_TIMER_CAPTION = 1 };

    CDlgQXRVGameWnd();
    ~CDlgQXRVGameWnd() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Gives the keyboard focus to the game page, so that the game gets the player's keys and no caption
    // button does. FALSE while minimised or without a page.
    BOOL FocusGamePage();

    // The main window navigates the view and swaps the two buttons when it hands a game link over.
    CHtmlCtrl m_web;
    CHoverButton m_btnMinimize;
    CHoverButton m_btnRestore;
    CHoverButton m_btnMaximize;
    CHoverButton m_btnClose;

    // Cuts the window to its shape at its present size.
    void UpdateWindowRgn();
    // The window's shape at w x h, into shape (which holds no region yet): a caption band with rounded top
    // corners joined to a rectangular body. False when the region cannot be made.
    static bool MakeWindowShape(CRgn& shape, int w, int h);
    // Composes the whole window off-screen (frame pieces, caption text) and copies it to pDC in one go. The
    // composed picture is kept: at an unchanged size and DC format, the copy is all that is done.
    void DrawFrame(CDC* pDC);
    // Writes the caption text into pDC at its fixed place.
    void DrawCaptionText(CDC* pDC);

protected:
    HICON m_hIcon;

    BOOL OnInitDialog() override;
    void OnCancel() override;

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
    afx_msg LRESULT OnShowWindowMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnActivateMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFocusMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLookSettingsChanged(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // The client size of the last WM_SIZE outside the minimised state: the size the frame on screen is for.
    SIZE m_sizeLaidOut = {0, 0};

    // Kept between paints:
    // - the eight frame pieces side by side in one bitmap (m_pieceAt: where each is, empty for one that could
    //   not be loaded), loaded at the first paint and freed with the window;
    CMemoryPicture m_framePieces;
    RECT m_pieceAt[8] = {};
    bool m_bPiecesLoaded = false;
    // - the picture composed last, valid for m_frameSize and m_nFrameFormat (the paint DC's bits per pixel)
    //   until a resize or a change of settings, display, colours or theme; its bitmap is kept as long as it
    //   is large enough and of the paint DC's format, and freed when the window hides.
    CMemoryPicture m_framePicture;
    // - the part of it that holds nothing but the white fill, which a compose need not fill again;
    RECT m_frameWhite = {0, 0, 0, 0};
    SIZE m_frameSize = {0, 0};
    int m_nFrameFormat = 0;
    bool m_bFrameComposed = false;
    // The display's format as a paint DC reported it; 0 until a paint asks, and again after a display change.
    int m_nDisplayFormat = 0;

    // The format (bits per pixel) of a bitmap compatible with pDC.
    int FormatOf(CDC* pDC);

    // Composes the w x h frame into m_framePicture; false when it cannot be made.
    bool ComposeFrame(CDC* pDC, int w, int h);
    // Makes m_framePieces from the eight bitmap resources; false when one of them is missing.
    bool LoadFramePieces();
    // Frees the composed frame's bitmap and DC, and with bPiecesToo the pieces.
    void ReleaseFramePictures(bool bPiecesToo);
};
