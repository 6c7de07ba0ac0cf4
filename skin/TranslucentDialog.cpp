#include "skin/TranslucentDialog.h"

#include "res/resource.h"
#include "skin/PngResource.h"
#include "skin/StandardDialog.h"
#include "skin/TranslucentWnd.h"

#include <vector>

BEGIN_MESSAGE_MAP(CTranslucentDialog, CDialog)
ON_WM_ERASEBKGND()
ON_WM_MOVE()
ON_WM_SIZE()
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_WINDOWPOSCHANGED()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// Caption drag: the system's move loop, as if the caption had been grabbed.
const WPARAM kDragMove = SC_MOVE + HTCAPTION;

} // namespace

CTranslucentDialog::CTranslucentDialog()
    : CDialog(IDD_MAIN, NULL), m_blendFunction(), m_pBackground(ImageFromPngResource(IDB_BACKGROUND)),
      m_bDragToMove(true), m_bStartCentred(true), m_bHoldRedraw(false), m_pOverlayDlg(NULL) {}

CTranslucentDialog::~CTranslucentDialog() {
    delete m_pOverlayDlg;
    m_pOverlayDlg = NULL;
    delete m_pBackground;
    m_pBackground = NULL;
    m_layerChildren.clear();
}

SIZE CTranslucentDialog::BackgroundSize() const {
    SIZE size = {0, 0};
    if (m_pBackground != NULL) {
        size.cx = static_cast<LONG>(m_pBackground->GetWidth());
        size.cy = static_cast<LONG>(m_pBackground->GetHeight());
    }
    return size;
}

void CTranslucentDialog::AddLayerChild(CTranslucentWnd* pChild) {
    if (pChild == NULL)
        return;
    pChild->m_pLayerHost = this;
    m_layerChildren.push_back(pChild);
}

void CTranslucentDialog::OnChildLookChanged(CTranslucentWnd* /*pChild*/) {
    // Which child it was does not matter: every child is compared with how it was drawn last.
    if (!m_bHoldRedraw)
        Redraw(true);
}

void CTranslucentDialog::RedrawLayer() {
    Redraw(false);
}

void CTranslucentDialog::Redraw(bool bChanges) {
    const LONG exStyle = ::GetWindowLongW(m_hWnd, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) {
        ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        m_layer.WindowChanged(); // a window made layered anew holds no picture yet
    }
    std::vector<CTranslucentWnd*> shown;
    for (CTranslucentWnd* pChild : m_layerChildren) {
        if (pChild->m_bShown)
            shown.push_back(pChild);
    }
    m_layer.Redraw(m_hWnd, m_pBackground, BackgroundSize(), shown, &m_blendFunction, bChanges);
}

void CTranslucentDialog::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    Default();
    // A window that hid or changed size may no longer show the last picture: the next push is whole.
    if (lpwndpos == NULL || (lpwndpos->flags & SWP_NOSIZE) == 0 || (lpwndpos->flags & SWP_HIDEWINDOW) != 0)
        m_layer.WindowChanged();
}

void CTranslucentDialog::OnDestroy() {
    m_layer.Release();
    CDialog::OnDestroy();
}

BOOL CTranslucentDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_blendFunction.BlendOp = AC_SRC_OVER;
    m_blendFunction.BlendFlags = 0;
    m_blendFunction.SourceConstantAlpha = 255;
    m_blendFunction.AlphaFormat = AC_SRC_ALPHA;
    SetUpChildControls();
    RedrawLayer();
    return TRUE;
}

BOOL CTranslucentDialog::OnEraseBkgnd(CDC* /*pDC*/) {
    return TRUE; // nothing is ever painted behind the layered picture
}

void CTranslucentDialog::MoveOverlayTo(int x, int y) {
    if (m_pOverlayDlg == NULL || m_pOverlayDlg->GetSafeHwnd() == NULL)
        return;
    m_pOverlayDlg->SetWindowPos(NULL, x + m_pOverlayDlg->m_overlayOffset.x,
                                y + m_pOverlayDlg->m_overlayOffset.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CTranslucentDialog::OnMove(int x, int y) {
    Default();
    // Without a frame the client area's corner is the window's corner.
    MoveOverlayTo(x, y);
}

void CTranslucentDialog::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/) {
    Default();
    CRect rect;
    GetWindowRect(&rect);
    MoveOverlayTo(rect.left, rect.top);
}

int CTranslucentDialog::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    const SIZE size = BackgroundSize();
    int x = lpCreateStruct != NULL ? lpCreateStruct->x : 0;
    int y = lpCreateStruct != NULL ? lpCreateStruct->y : 0;
    if (m_bStartCentred) {
        // Centred by the size the window would have with the template's caption and frame.
        RECT frame = {0, 0, size.cx, size.cy};
        ::AdjustWindowRect(&frame, static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)), FALSE);
        RECT work = {};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + ((work.right - work.left) - (frame.right - frame.left)) / 2;
        y = work.top + ((work.bottom - work.top) - (frame.bottom - frame.top)) / 2;
    }
    if (Default() == -1)
        return -1;

    // A dialog object shown a second time makes a new companion; the first one's window went with ours.
    delete m_pOverlayDlg;
    m_pOverlayDlg = CreateOverlayDialog();
    if (m_pOverlayDlg != NULL) {
        m_pOverlayDlg->Create(m_pOverlayDlg->m_lpszTemplateName, m_pOverlayDlg->m_pParentWnd);
        if (m_pOverlayDlg->GetSafeHwnd() != NULL)
            m_pOverlayDlg->ShowWindow(SW_SHOW);
    }
    ModifyStyle(WS_CAPTION, WS_POPUP, 0);
    MoveWindow(x, y, size.cx, size.cy, TRUE);
    return 0;
}

void CTranslucentDialog::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    if (m_bDragToMove)
        SendMessage(WM_SYSCOMMAND, kDragMove, 0);
    Default();
}
