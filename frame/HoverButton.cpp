#include "framework/Prelude.h"

#include "frame/HoverButton.h"

#include "framework/MouseTracking.h"
#include "framework/WinApp.h"

namespace {

// Strip pixels of exactly this colour are not drawn.
const COLORREF kTransparent = RGB(255, 0, 255);

} // namespace

IMPLEMENT_DYNAMIC(CHoverButton, CBitmapButton)

BEGIN_MESSAGE_MAP(CHoverButton, CBitmapButton)
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_MOUSELEAVE, &CHoverButton::OnMouseLeave)
ON_MESSAGE(WM_MOUSEHOVER, &CHoverButton::OnMouseHover)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CHoverButton::CHoverButton() : m_bMouseOver(FALSE), m_cxFrame(0), m_cyFrame(0), m_bTrackingLeave(FALSE) {}

CHoverButton::~CHoverButton() {}

BOOL CHoverButton::LoadBitmapStrip(UINT nID) {
    // A strip that cannot be loaded leaves no frame at all rather than the one before.
    m_frameStrip.DeleteObject();
    m_cxFrame = 0;
    m_cyFrame = 0;

    HANDLE hStrip =
        ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(nID), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
    if (!hStrip)
        return FALSE;
    m_frameStrip.Attach(hStrip);
    BITMAP bm = {};
    if (!m_frameStrip.GetBitmap(&bm)) {
        m_frameStrip.DeleteObject();
        return FALSE;
    }
    // Columns beyond four whole frames are never shown.
    m_cxFrame = bm.bmWidth / kFrameCount;
    m_cyFrame = bm.bmHeight;

    // No SWP_NOZORDER: the button also comes above its siblings.
    if (GetSafeHwnd())
        SetWindowPos(NULL, 0, 0, m_cxFrame, m_cyFrame, SWP_NOMOVE | SWP_NOOWNERZORDER);
    return TRUE;
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (!lpDrawItemStruct || !m_frameStrip.GetSafeHandle() || m_cxFrame <= 0 || m_cyFrame <= 0)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    CDC memDC;
    if (!memDC.CreateCompatibleDC(pDC))
        return;
    CSelectScope strip(memDC, m_frameStrip.GetSafeHandle());
    if (!strip.GetPrevious())
        return;

    // The control's own pressed and disabled states outrank the hover look.
    const UINT nState = lpDrawItemStruct->itemState;
    int nFrame = kFrameNormal;
    if (nState & ODS_DISABLED)
        nFrame = kFrameDisabled;
    else if (nState & ODS_SELECTED)
        nFrame = kFramePressed;
    else if (m_bMouseOver)
        nFrame = kFrameHover;

    // The background is never erased, so what lay under transparent pixels keeps showing.
    pDC->TransparentBlt(0, 0, m_cxFrame, m_cyFrame, &memDC, nFrame * m_cxFrame, 0, m_cxFrame, m_cyFrame,
                        kTransparent);
}

BOOL CHoverButton::PreTranslateMessage(MSG* pMsg) {
    // The tooltip has no tool and stays deactivated: it only takes the relayed messages.
    if (!m_tipCtrl.GetSafeHwnd() && GetSafeHwnd()) {
        if (m_tipCtrl.Create(this, 0))
            m_tipCtrl.Activate(FALSE);
    }
    if (pMsg && m_tipCtrl.GetSafeHwnd())
        m_tipCtrl.RelayEvent(pMsg);
    return CBitmapButton::PreTranslateMessage(pMsg);
}

void CHoverButton::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {
    // One request per visit: it stays active until the pointer leaves. A failed request is made again on the
    // next move.
    if (!m_bTrackingLeave)
        m_bTrackingLeave = TrackHoverAndLeave(m_hWnd);
    Default();
}

LRESULT CHoverButton::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    m_bTrackingLeave = FALSE;
    m_bMouseOver = FALSE;
    InvalidateRect(NULL, TRUE);
    return 0;
}

LRESULT CHoverButton::OnMouseHover(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // Tracking of the leave stays on, so no new request is made until the pointer leaves.
    m_bMouseOver = TRUE;
    InvalidateRect(NULL, TRUE);
    return 0;
}

BOOL CHoverButton::OnEraseBkgnd(CDC* /*pDC*/) {
    return TRUE;
}
