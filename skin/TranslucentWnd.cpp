#include "skin/TranslucentWnd.h"

IMPLEMENT_DYNAMIC(CTranslucentWnd, CWnd)

BEGIN_MESSAGE_MAP(CTranslucentWnd, CWnd)
ON_WM_ENABLE()
END_MESSAGE_MAP()

CTranslucentWnd::CTranslucentWnd() : m_pLayerHost(NULL), m_bDisabledLook(false), m_bShown(true) {}

CTranslucentWnd::~CTranslucentWnd() {
    for (Gdiplus::Image*& image : m_stateImages) {
        delete image; // a NULL slot deletes nothing
        image = NULL;
    }
    std::vector<Gdiplus::Image*>().swap(m_stateImages);
}

void CTranslucentWnd::RefreshLook() {
    if (m_pLayerHost != NULL)
        m_pLayerHost->OnChildLookChanged(this);
}

void CTranslucentWnd::PreSubclassWindow() {
    CWnd::PreSubclassWindow();
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    m_bShown = (style & WS_VISIBLE) != 0;
    m_bDisabledLook = (style & WS_DISABLED) != 0;
}

void CTranslucentWnd::OnEnable(BOOL bEnable) {
    Default();
    // Only exactly TRUE counts as enabled.
    const bool bDisabled = bEnable != TRUE;
    if (bDisabled == m_bDisabledLook)
        return;
    m_bDisabledLook = bDisabled;
    RefreshLook();
}
