// Base of the child windows that are drawn into a layered dialog's picture instead of by the window manager.
// Each stays a real window for input, owns its state images, and tells its dialog when its look changes.
#pragma once

#include "framework/GdiplusPrelude.h"
#include "framework/Wnd.h"
#include "skin/RenderListener.h"

#include <vector>

class CTranslucentWnd : public CWnd {
    DECLARE_DYNAMIC(CTranslucentWnd)
public:
    CTranslucentWnd();
    // Deletes the state images that exist.
    ~CTranslucentWnd() override;

    // Draws the child into the dialog's picture at its own place in the dialog's client coordinates.
    virtual void PaintToLayer(Gdiplus::Graphics* pGraphics) = 0;
    // Picks the look for the current state. This base form tells the dialog on every call.
    virtual void RefreshLook();

protected:
    // Takes the shown and disabled flags from the style the window has when it is attached.
    void PreSubclassWindow() override;

    afx_msg void OnEnable(BOOL bEnable);
    DECLARE_MESSAGE_MAP()

    // Owned; a slot without an image is NULL. Derived classes give the slots their meaning.
    std::vector<Gdiplus::Image*> m_stateImages;
    // The dialog that draws this child; set when the dialog registers it. Not owned.
    IRenderListener* m_pLayerHost;
    bool m_bDisabledLook;
    // Read once at attach time: showing or hiding the window later does not change whether it is drawn.
    bool m_bShown;

    // The dialog sets m_pLayerHost when it registers a child, and reads m_bShown when it draws.
    friend class CTranslucentDialog;
};
