// The standard controls the program binds objects to.
#pragma once

#include "framework/Prelude.h"

#include "framework/Gdi.h"
#include "framework/Wnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    // Draws an owner-drawn (BS_OWNERDRAW) button; the parent's WM_DRAWITEM is reflected here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// An owner-drawn button that shows one of four bitmaps: normal, selected (pressed), focused, disabled.
class CBitmapButton : public CButton {
    DECLARE_DYNAMIC(CBitmapButton)
public:
    // Loads the bitmaps from the resource module; 0 for an optional one. FALSE when the normal one fails.
    BOOL LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel = 0, UINT nIDBitmapResourceFocus = 0,
                     UINT nIDBitmapResourceDisabled = 0);
    // Draws the bitmap for the item's state (the normal one where the state's own is missing).
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // Creates the tooltip window, owned by pParentWnd.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // TTM_ACTIVATE.
    void Activate(BOOL bActivate);
    // TTM_RELAYEVENT with the message.
    void RelayEvent(LPMSG lpMsg);
};
