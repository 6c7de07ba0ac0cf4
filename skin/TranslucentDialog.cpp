#include "skin/TranslucentDialog.h"

#include "res/resource.h"
#include "skin/LayeredWindowApi.h"
#include "skin/PngResource.h"
#include "skin/StandardDialog.h"
#include "skin/TranslucentWnd.h"

#include <cstring>

BEGIN_MESSAGE_MAP(CTranslucentDialog, CDialog)
ON_WM_ERASEBKGND()
ON_WM_MOVE()
ON_WM_SIZE()
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
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
    if (!m_bHoldRedraw)
        RedrawLayer();
}

void CTranslucentDialog::RedrawLayer() {
    const SIZE size = BackgroundSize();
    const LONG exStyle = ::GetWindowLongW(m_hWnd, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0)
        ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);

    HDC hWindowDC = ::GetDC(m_hWnd);
    HDC hMemDC = ::CreateCompatibleDC(hWindowDC);
    RECT windowRect = {};
    ::GetWindowRect(m_hWnd, &windowRect);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = size.cx;
    header.biHeight = size.cy; // bottom-up rows
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = 4 * size.cx * size.cy;
    void* pBits = NULL;
    // No picture (0 x 0) makes no DIB section, so nothing is drawn or pushed.
    HBITMAP hDib =
        ::CreateDIBSection(NULL, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hDib != NULL && hMemDC != NULL) {
        std::memset(pBits, 0, header.biSizeImage); // fully transparent to start with
        HGDIOBJ hOldBitmap = ::SelectObject(hMemDC, hDib);
        {
            Gdiplus::Graphics graphics(hMemDC);
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
            graphics.DrawImage(m_pBackground, 0, 0, size.cx, size.cy);
            for (CTranslucentWnd* pChild : m_layerChildren) {
                if (pChild->m_bShown)
                    pChild->PaintToLayer(&graphics);
            }
            // GDI+ may hold drawing back until the graphics object is flushed.
            graphics.Flush(Gdiplus::FlushIntentionSync);

            POINT position = {windowRect.left, windowRect.top};
            SIZE pictureSize = size;
            POINT source = {0, 0};
            skin::CallUpdateLayeredWindow(m_hWnd, hWindowDC, &position, &pictureSize, hMemDC, &source, 0,
                                          &m_blendFunction, ULW_ALPHA);
        }
        ::SelectObject(hMemDC, hOldBitmap);
    }
    if (hDib != NULL)
        ::DeleteObject(hDib);
    if (hMemDC != NULL)
        ::DeleteDC(hMemDC);
    if (hWindowDC != NULL)
        ::ReleaseDC(m_hWnd, hWindowDC);
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
