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
ON_WM_WINDOWPOSCHANGED()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// Caption drag: the system's move loop, as if the caption had been grabbed.
const WPARAM kDragMove = SC_MOVE + HTCAPTION;

// A child draws inside its window rectangle. The margin is a precaution (GDI+ here draws nothing outside it):
// a stray pixel of a stretched image or of a caption at the edge would still lie in the area drawn again.
const int kChildMargin = 2;

// Row y of a bottom-up 32-bit picture w pixels wide, counted from the top.
DWORD* PictureRow(BYTE* pBits, SIZE size, int y) {
    return reinterpret_cast<DWORD*>(pBits) + static_cast<size_t>(size.cy - 1 - y) * size.cx;
}

// The window's DC for the length of one redraw, given back however the redraw ends. Unlike CClientDC it
// does not throw when there is none: the push takes a NULL destination DC as well.
class CWindowDCHold {
public:
    explicit CWindowDCHold(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CWindowDCHold() {
        if (m_hDC != NULL)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CWindowDCHold(const CWindowDCHold&) = delete;
    CWindowDCHold& operator=(const CWindowDCHold&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

RECT Union(const RECT& a, const RECT& b) {
    RECT both;
    if (::IsRectEmpty(&a))
        return b;
    if (::IsRectEmpty(&b))
        return a;
    ::UnionRect(&both, &a, &b);
    return both;
}

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
    const SIZE size = BackgroundSize();
    const LONG exStyle = ::GetWindowLongW(m_hWnd, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) {
        ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        m_bOnScreen = false; // a window made layered anew holds no picture yet
    }

    CWindowDCHold windowDC(m_hWnd);
    const HDC hWindowDC = windowDC.Get();
    RECT windowRect = {};
    ::GetWindowRect(m_hWnd, &windowRect);

    // The DIB section and its DC live as long as the picture keeps its size. No picture (0 x 0) makes no DIB
    // section, so nothing is drawn or pushed.
    if (!m_picture.IsMade() || m_picture.Size().cx != size.cx || m_picture.Size().cy != size.cy) {
        m_bComposed = m_bOnScreen = false;
        m_picture.CreateDib(hWindowDC, size);
    }
    // Whether the window shows the picture is known again only once this push has gone through, so a redraw
    // that is cut short leaves the next one to push the whole picture.
    const bool bPartial = bChanges && ShowsPicture(size);
    m_bOnScreen = false;
    if (m_picture.IsMade()) {
        const RECT whole = {0, 0, size.cx, size.cy};
        RECT changed = whole;
        if (bChanges && m_bComposed && m_pBytesOf == m_pBackground)
            changed = ComposeChildren(size);
        else
            ComposeWhole(size);

        POINT position = {windowRect.left, windowRect.top};
        SIZE pictureSize = size;
        POINT source = {0, 0};
        bool pushed = false;
        if (bPartial) {
            if (::IsRectEmpty(&changed)) {
                pushed = true; // the window already shows every pixel of it
            } else if (!::EqualRect(&changed, &whole)) {
                UPDATELAYEREDWINDOWINFO info = {};
                info.cbSize = sizeof info;
                info.hdcDst = hWindowDC;
                info.pptDst = &position;
                info.psize = &pictureSize;
                info.hdcSrc = m_picture.DC();
                info.pptSrc = &source;
                info.pblend = &m_blendFunction;
                info.dwFlags = ULW_ALPHA | ULW_EX_NORESIZE; // fails, rather than resizes, at another size
                info.prcDirty = &changed; // the whole picture is still passed; only this part is taken
                pushed = skin::CallUpdateLayeredWindowIndirect(m_hWnd, &info);
            }
        }
        // The whole picture, where a part would not do or could not be handed over.
        if (!pushed)
            pushed = skin::CallUpdateLayeredWindow(m_hWnd, hWindowDC, &position, &pictureSize, m_picture.DC(),
                                                   &source, 0, &m_blendFunction, ULW_ALPHA);
        m_bOnScreen = pushed;
    }
}

void CTranslucentDialog::ComposeWhole(SIZE size) {
    m_bComposed = false;
    BYTE* pBits = m_picture.Bits();
    const size_t nBytes = 4u * size.cx * size.cy;
    ::GdiFlush(); // nothing GDI still owes may land on the bytes written here
    bool haveBytes = m_pBytesOf == m_pBackground && m_backgroundBytes.size() == nBytes;
    if (haveBytes)
        std::memcpy(pBits, m_backgroundBytes.data(), nBytes);
    else
        std::memset(pBits, 0, nBytes); // fully transparent to start with

    Gdiplus::Graphics graphics(m_picture.DC());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    if (!haveBytes) {
        const Gdiplus::Status drawn = graphics.DrawImage(m_pBackground, 0, 0, size.cx, size.cy);
        // GDI+ may hold drawing back until the graphics object is flushed.
        graphics.Flush(Gdiplus::FlushIntentionSync);
        ::GdiFlush();
        haveBytes = drawn == Gdiplus::Ok;
        // Only a background that was really drawn is kept; otherwise the next redraw tries again.
        if (haveBytes)
            m_backgroundBytes.assign(pBits, pBits + nBytes);
        else
            std::vector<BYTE>().swap(m_backgroundBytes);
        m_pBytesOf = haveBytes ? m_pBackground : nullptr;
    }
    PaintChildren(graphics, ChildAreas(size));
    m_bComposed = haveBytes;
}

RECT CTranslucentDialog::ComposeChildren(SIZE size) {
    BYTE* pBits = m_picture.Bits();
    const std::vector<RECT> areas = ChildAreas(size);
    RECT redrawn = {0, 0, 0, 0};
    for (const RECT& area : m_childAreas)
        redrawn = Union(redrawn, area);
    for (const RECT& area : areas)
        redrawn = Union(redrawn, area);
    if (::IsRectEmpty(&redrawn))
        return redrawn; // no child drew before or draws now: nothing changes

    // Outside the children's areas, old and new, the picture is the background either way. Inside, the
    // background goes back and every shown child is drawn again, so the bytes are those of a whole redraw.
    const int width = redrawn.right - redrawn.left;
    std::vector<DWORD> before(static_cast<size_t>(width) * (redrawn.bottom - redrawn.top));
    ::GdiFlush();
    for (int y = redrawn.top; y < redrawn.bottom; ++y) {
        DWORD* pRow = PictureRow(pBits, size, y) + redrawn.left;
        const DWORD* pBackground = PictureRow(m_backgroundBytes.data(), size, y) + redrawn.left;
        std::memcpy(&before[static_cast<size_t>(y - redrawn.top) * width], pRow, 4u * width);
        std::memcpy(pRow, pBackground, 4u * width);
    }
    {
        Gdiplus::Graphics graphics(m_picture.DC());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
        PaintChildren(graphics, areas);
    }

    // Only the pixels that differ from the last picture are handed over.
    RECT changed = {0, 0, 0, 0};
    for (int y = redrawn.top; y < redrawn.bottom; ++y) {
        const DWORD* pRow = PictureRow(pBits, size, y) + redrawn.left;
        const DWORD* pOld = &before[static_cast<size_t>(y - redrawn.top) * width];
        int x = 0;
        while (x < width && pRow[x] == pOld[x])
            ++x;
        if (x == width)
            continue;
        int right = width;
        while (pRow[right - 1] == pOld[right - 1])
            --right;
        changed = Union(changed, {redrawn.left + x, y, redrawn.left + right, y + 1});
    }
    return changed;
}

std::vector<RECT> CTranslucentDialog::ChildAreas(SIZE size) const {
    const RECT picture = {0, 0, size.cx, size.cy};
    std::vector<RECT> areas;
    for (CTranslucentWnd* pChild : m_layerChildren) {
        if (!pChild->m_bShown)
            continue;
        // A child draws at its window rectangle in this dialog's client coordinates.
        RECT rect = {0, 0, 0, 0};
        if (::GetWindowRect(pChild->GetSafeHwnd(), &rect))
            ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        ::InflateRect(&rect, kChildMargin, kChildMargin);
        RECT area = {0, 0, 0, 0};
        ::IntersectRect(&area, &rect, &picture);
        areas.push_back(area);
    }
    return areas;
}

void CTranslucentDialog::PaintChildren(Gdiplus::Graphics& graphics, const std::vector<RECT>& areas) {
    m_childAreas = areas;
    for (CTranslucentWnd* pChild : m_layerChildren) {
        if (pChild->m_bShown)
            pChild->PaintToLayer(&graphics);
    }
    graphics.Flush(Gdiplus::FlushIntentionSync);
    ::GdiFlush();
}

bool CTranslucentDialog::ShowsPicture(SIZE size) const {
    RECT rect = {};
    return m_bOnScreen && ::IsWindowVisible(m_hWnd) && !::IsIconic(m_hWnd) &&
           ::GetWindowRect(m_hWnd, &rect) && rect.right - rect.left == size.cx &&
           rect.bottom - rect.top == size.cy;
}

void CTranslucentDialog::ReleasePicture() {
    m_picture.Release();
    std::vector<BYTE>().swap(m_backgroundBytes);
    m_pBytesOf = nullptr;
    m_childAreas.clear();
    m_bComposed = m_bOnScreen = false;
}

void CTranslucentDialog::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    Default();
    // A window that hid or changed size may no longer show the last picture: the next push is whole.
    if (lpwndpos == NULL || (lpwndpos->flags & SWP_NOSIZE) == 0 || (lpwndpos->flags & SWP_HIDEWINDOW) != 0)
        m_bOnScreen = false;
}

void CTranslucentDialog::OnDestroy() {
    ReleasePicture();
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
