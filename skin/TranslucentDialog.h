// A dialog whose whole look is one per-pixel-alpha picture handed to the window manager: its PNG background
// with its registered translucent children drawn on top. Ordinary controls ride along in a colour-keyed
// companion dialog that it keeps at a fixed offset.
#pragma once

#include "framework/Dialog.h"
#include "framework/GdiplusPrelude.h"
#include "skin/LayerPicture.h"
#include "skin/RenderListener.h"

#include <list>

class CStandardDialog;
class CTranslucentWnd;

class CTranslucentDialog : public CDialog, public IRenderListener {
public:
    // Loads the background picture at once: GDI+ must be running.
    CTranslucentDialog();
    // Deletes the companion dialog object and the background; the children belong to the derived class.
    ~CTranslucentDialog() override;

    // Composes the background and every shown child, in registration order, and pushes the whole picture.
    void RedrawLayer();
    // Redraws the picture unless redraws are held. Only what changed is drawn again and handed over, when the
    // window shows the last picture at its size; what reaches the screen is the same as after RedrawLayer.
    void OnChildLookChanged(CTranslucentWnd* pChild) override;

protected:
    // A new companion dialog, constructed but not yet created, or NULL for none. The dialog owns it.
    virtual CStandardDialog* CreateOverlayDialog() = 0;
    // Loads the children's images, registers them with AddLayerChild and places them.
    virtual void SetUpChildControls() = 0;

    // Appends a child to the drawing list and makes this dialog its listener. Takes no ownership.
    void AddLayerChild(CTranslucentWnd* pChild);

    BOOL OnInitDialog() override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    BLENDFUNCTION m_blendFunction;
    // Owned; its size is the window's size. NULL or a failed load both read as a 0 x 0 picture.
    Gdiplus::Image* m_pBackground;
    bool m_bDragToMove;
    bool m_bStartCentred;
    bool m_bHoldRedraw;
    // Owned.
    CStandardDialog* m_pOverlayDlg;
    // Registration order is drawing order. Not owned.
    std::list<CTranslucentWnd*> m_layerChildren;

    // The picture as last composed and pushed, kept from the first redraw until the window is destroyed. A
    // derived class that replaces m_pBackground does so before the first redraw.
    CLayerPicture m_layer;

private:
    // The background's size; 0 x 0 without a usable picture.
    SIZE BackgroundSize() const;
    // Puts the companion at this dialog's top-left corner plus its offset.
    void MoveOverlayTo(int x, int y);

    // RedrawLayer, or with bChanges only the children drawn again and only the changed part handed over.
    void Redraw(bool bChanges);
};
