#include "framework/Controls.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CBitmapButton, CButton)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

// A plain owner-drawn button has no look of its own: derived classes draw it.
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM || !lParam)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

BOOL CBitmapButton::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel,
                                UINT nIDBitmapResourceFocus, UINT nIDBitmapResourceDisabled) {
    struct {
        CBitmap& bitmap;
        UINT nID;
    } loads[] = {{m_bitmap, nIDBitmapResource},
                 {m_bitmapSel, nIDBitmapResourceSel},
                 {m_bitmapFocus, nIDBitmapResourceFocus},
                 {m_bitmapDisabled, nIDBitmapResourceDisabled}};
    for (auto& load : loads) {
        load.bitmap.DeleteObject();
        if (load.nID)
            load.bitmap.LoadBitmap(load.nID);
    }
    return m_bitmap.m_hObject != NULL;
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (!lpDrawItemStruct)
        return;
    const UINT state = lpDrawItemStruct->itemState;
    CBitmap* pBitmap = &m_bitmap;
    if ((state & ODS_DISABLED) && m_bitmapDisabled.m_hObject)
        pBitmap = &m_bitmapDisabled;
    else if ((state & ODS_SELECTED) && m_bitmapSel.m_hObject)
        pBitmap = &m_bitmapSel;
    else if ((state & ODS_FOCUS) && m_bitmapFocus.m_hObject)
        pBitmap = &m_bitmapFocus;
    if (!pBitmap->m_hObject)
        return;
    CDC memDC;
    if (!memDC.CreateCompatibleDC(CDC::FromHandle(lpDrawItemStruct->hDC)))
        return;
    CSelectScope select(memDC, pBitmap->m_hObject);
    const RECT& rc = lpDrawItemStruct->rcItem;
    ::BitBlt(lpDrawItemStruct->hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, memDC, 0, 0,
             SRCCOPY);
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES}; // the tooltip class must be registered
    ::InitCommonControlsEx(&icc);
    return CreateEx(0, TOOLTIPS_CLASSW, NULL, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : NULL, NULL);
}

void CToolTipCtrl::Activate(BOOL bActivate) {
    SendMessage(TTM_ACTIVATE, bActivate, 0);
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg) {
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}
