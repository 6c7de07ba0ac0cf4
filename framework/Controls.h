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

// An owner-drawn button whose looks are bitmaps; a derived class loads them and draws them in DrawItem.
class CBitmapButton : public CButton {
    DECLARE_DYNAMIC(CBitmapButton)
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
