// The toolkit's image button: a standard button control whose look is drawn into the layered dialog's
// picture from up to five PNG images, with its caption, if any, centred over the image.
#pragma once

#include "skin/TranslucentWnd.h"

// The five "PNG" resource IDs of a button's looks; 0: that state has no image of its own.
struct StateImageIds {
    UINT nNormal;
    UINT nDisabled;
    UINT nHover;
    UINT nPressed;
    UINT nChecked;
};

class CTranslucentButton : public CTranslucentWnd {
    DECLARE_DYNAMIC(CTranslucentButton)
public:
    // GDI+ must be running: the caption's font, brush and format are made here.
    CTranslucentButton();
    ~CTranslucentButton() override;

    // Replaces the state images and sizes the window to the normal image. The window must exist. False when
    // nNormal is 0 or no normal image could be made; the button then draws nothing until a later load works.
    bool LoadStateImages(const StateImageIds& ids);

    void PaintToLayer(Gdiplus::Graphics* pGraphics) override;
    // Picks the image for the current state and tells the dialog only when the image object changed.
    void RefreshLook() override;

protected:
    enum Slot { kNormal = 0, kDisabled = 1, kHover = 2, kPressed = 3, kChecked = 4, kSlotCount = 5 };

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    // NULL or one of m_stateImages (owned there).
    Gdiplus::Image* m_pShownImage;
    bool m_bMouseOver;
    bool m_bMouseDown;
    bool m_bCheckedState;
    // A hover-and-leave tracking request is in force.
    bool m_bTrackingLeave;
    Gdiplus::StringFormat m_textFormat;
    Gdiplus::Font* m_pTextFont;
    Gdiplus::SolidBrush m_textBrush;

private:
    void DeleteStateImages();
};
