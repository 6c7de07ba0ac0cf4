#include "framework/Prelude.h"

#include "frame/SizeDialog.h"

#include "frame/OptionalLibraryNames.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace frame_detail {
LPCWSTR g_pszUxThemeLibrary = L"UxTheme.dll";
LPCWSTR g_pszDwmApiLibrary = L"dwmapi.dll";
} // namespace frame_detail

namespace {

// Width of the sizing bands inside each edge (the edge pixel comes on top for the left and top bands).
const int kBand = 5;
// How far a dragged window may go off the left, the bottom and the right of the virtual screen.
const int kKeepVisible = 150;

// Desktop window manager attribute and value (dwmapi.h is newer than the headers the program targets).
const DWORD kDwmwaNcRenderingPolicy = 2;
const DWORD kDwmncrpDisabled = 1;

typedef HRESULT(WINAPI* SetWindowThemeFn)(HWND, LPCWSTR, LPCWSTR);
typedef HRESULT(WINAPI* DwmSetWindowAttributeFn)(HWND, DWORD, LPCVOID, DWORD);
typedef HRESULT(WINAPI* DwmIsCompositionEnabledFn)(BOOL*);

// Whether desktop composition is on; off where the system has no desktop window manager.
BOOL QueryCompositionEnabled() {
    BOOL bEnabled = FALSE;
    const CLibraryHandle dwmapi = AfxLoadSystemLibrary(frame_detail::g_pszDwmApiLibrary);
    if (auto pfn = dwmapi.GetProc<DwmIsCompositionEnabledFn>("DwmIsCompositionEnabled"))
        pfn(&bEnabled);
    return bEnabled;
}

} // namespace

IMPLEMENT_DYNAMIC(CSizeDialog, CDialog)

BEGIN_MESSAGE_MAP(CSizeDialog, CDialog)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_NCHITTEST()
ON_WM_GETMINMAXINFO()
ON_WM_MOVING()
ON_WM_SIZE()
ON_WM_NCCALCSIZE()
ON_WM_SIZING()
ON_WM_NCACTIVATE()
ON_WM_NCLBUTTONDOWN()
ON_WM_SETCURSOR()
ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

CSizeDialog::CSizeDialog()
    : CDialog(IDD_GAME, NULL), m_bFrameLocked(FALSE), m_bCompositionEnabled(FALSE), m_bUseDwmFrame(FALSE) {
    m_ptMinTrackSize.x = 100;
    m_ptMinTrackSize.y = 100;
    m_ptMaxTrackSize.x = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    m_ptMaxTrackSize.y = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
}

CSizeDialog::~CSizeDialog() {}

void CSizeDialog::DisableNcRendering(CWnd* pWnd) {
    HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : NULL;

    {
        const CLibraryHandle uxtheme = AfxLoadSystemLibrary(frame_detail::g_pszUxThemeLibrary);
        if (auto pfn = uxtheme.GetProc<SetWindowThemeFn>("SetWindowTheme"))
            pfn(hWnd, L"", L"");
    }

    const CLibraryHandle dwmapi = AfxLoadSystemLibrary(frame_detail::g_pszDwmApiLibrary);
    if (auto pfn = dwmapi.GetProc<DwmSetWindowAttributeFn>("DwmSetWindowAttribute")) {
        DWORD dwPolicy = kDwmncrpDisabled;
        pfn(hWnd, kDwmwaNcRenderingPolicy, &dwPolicy, sizeof(dwPolicy));
    }
}

LRESULT CSizeDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The new value counts from the next WM_NCCALCSIZE; nothing is recalculated here.
    if (message == WM_THEMECHANGED)
        m_bCompositionEnabled = QueryCompositionEnabled();
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CSizeDialog::OnInitDialog() {
    if (m_bUseDwmFrame) {
        DisableNcRendering(this);
        m_bCompositionEnabled = QueryCompositionEnabled();
    }
    CDialog::OnInitDialog();

    // Only the style is rewritten: the new frame counts from the next size or position change.
    ModifyStyle(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0);
    // System menu and boxes stay so that the taskbar can minimise, maximise and restore the window.
    DWORD dwAdd = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    if (m_bUseDwmFrame)
        dwAdd |= WS_THICKFRAME;
    ModifyStyle(0, dwAdd);
    return TRUE;
}

void CSizeDialog::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    if (!m_bFrameLocked) {
        // Pressing the client area works like pressing a caption: the system's move loop takes over until the
        // button is released.
        ClientToScreen(&point);
        SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    }
    Default();
}

void CSizeDialog::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {
    Default();
}

LRESULT CSizeDialog::OnNcHitTest(CPoint point) {
    if (IsZoomed())
        return HTCLIENT;
    CRect rc;
    GetWindowRect(&rc);
    if (m_bFrameLocked)
        return HTCLIENT;

    // Left and top bands take the edge pixel and the five inside it, right and bottom bands the last five
    // pixels; where bands overlap the corners win, then top, then the sides.
    const int l = rc.left + kBand, t = rc.top + kBand, r = rc.right - kBand, b = rc.bottom - kBand;
    const int x = point.x, y = point.y;
    if (x <= l && y <= t)
        return HTTOPLEFT;
    if (x >= r && y <= t)
        return HTTOPRIGHT;
    if (y <= t)
        return HTTOP;
    if (x <= l && y >= b)
        return HTBOTTOMLEFT;
    if (x >= r && y >= b)
        return HTBOTTOMRIGHT;
    if (x >= r)
        return HTRIGHT;
    if (x <= l)
        return HTLEFT;
    if (y >= b)
        return HTBOTTOM;
    return HTCLIENT;
}

void CSizeDialog::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
    if (lpMMI) {
        if (lpMMI->ptMinTrackSize.x < m_ptMinTrackSize.x)
            lpMMI->ptMinTrackSize.x = m_ptMinTrackSize.x;
        if (lpMMI->ptMinTrackSize.y < m_ptMinTrackSize.y)
            lpMMI->ptMinTrackSize.y = m_ptMinTrackSize.y;
        if (lpMMI->ptMaxTrackSize.x > m_ptMaxTrackSize.x)
            lpMMI->ptMaxTrackSize.x = m_ptMaxTrackSize.x;
        if (lpMMI->ptMaxTrackSize.y > m_ptMaxTrackSize.y)
            lpMMI->ptMaxTrackSize.y = m_ptMaxTrackSize.y;

        // Without a caption the system would maximise over the taskbar; on several monitors its own
        // proposal is kept.
        RECT rcWork;
        if (::GetSystemMetrics(SM_CMONITORS) == 1 &&
            ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0)) {
            lpMMI->ptMaxSize.x = rcWork.right - rcWork.left;
            lpMMI->ptMaxSize.y = rcWork.bottom - rcWork.top;
            lpMMI->ptMaxPosition.x = rcWork.left;
            lpMMI->ptMaxPosition.y = rcWork.top;
        }
    }
    Default();
}

void CSizeDialog::OnMoving(UINT /*fwSide*/, LPRECT pRect) {
    if (pRect) {
        // Limits count from the primary monitor's top-left corner; the first one that applies wins.
        const int cxScreen = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
        const int cyScreen = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
        CRect rc(pRect);
        if (rc.top <= 0)
            rc.OffsetRect(0, -rc.top);
        else if (rc.left <= -kKeepVisible)
            rc.OffsetRect(-kKeepVisible - rc.left, 0);
        else if (rc.top >= cyScreen - kKeepVisible)
            rc.OffsetRect(0, cyScreen - kKeepVisible - rc.top);
        else if (rc.left >= cxScreen - kKeepVisible)
            rc.OffsetRect(cxScreen - kKeepVisible - rc.left, 0);
        *pRect = rc;
    }
    Default();
}

void CSizeDialog::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/) {
    Default();
}

void CSizeDialog::OnNcCalcSize(BOOL /*bCalcValidRects*/, NCCALCSIZE_PARAMS* lpncsp) {
    if (m_bUseDwmFrame && lpncsp) {
        // rgrc[0] holds the proposed window rectangle whether or not valid rectangles are asked for.
        const int d = m_bCompositionEnabled ? 3 : -1;
        const int cx = ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXDLGFRAME) + d;
        const int cy = ::GetSystemMetrics(SM_CYBORDER) + ::GetSystemMetrics(SM_CYDLGFRAME) + d;
        ::InflateRect(&lpncsp->rgrc[0], cx, cy);
    }
    Default();
}

void CSizeDialog::OnSizing(UINT /*fwSide*/, LPRECT /*pRect*/) {
    InvalidateRect(NULL, TRUE);
    Default();
}

BOOL CSizeDialog::OnNcActivate(BOOL /*bActive*/) {
    // There is no system caption to repaint, and every activation change goes ahead.
    return TRUE;
}

void CSizeDialog::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    if (!m_bUseDwmFrame && nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
        // Without a sizing frame the system would not size from these codes on its own. The press is used up
        // when the sizing ends: passed on, it would start a second sizing loop under Wine, one that follows
        // the pointer with the button already released.
        const WPARAM nCommand = SC_SIZE + (nHitTest - HTLEFT + WMSZ_LEFT);
        SendMessage(WM_SYSCOMMAND, nCommand, MAKELPARAM(point.x, point.y));
        return;
    }
    Default();
}

BOOL CSizeDialog::OnSetCursor(CWnd* /*pWnd*/, UINT nHitTest, UINT /*message*/) {
    if (m_bUseDwmFrame)
        return static_cast<BOOL>(Default());

    LPCWSTR pszCursor = NULL;
    switch (nHitTest) {
    case HTLEFT:
    case HTRIGHT:
        pszCursor = IDC_SIZEWE;
        break;
    case HTTOP:
    case HTBOTTOM:
        pszCursor = IDC_SIZENS;
        break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        pszCursor = IDC_SIZENWSE;
        break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        pszCursor = IDC_SIZENESW;
        break;
    }
    if (pszCursor) {
        ::SetCursor(::LoadCursorW(NULL, pszCursor));
        return TRUE;
    }
    ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    return static_cast<BOOL>(Default());
}

void CSizeDialog::OnWindowPosChanged(WINDOWPOS* /*lpwndpos*/) {
    Default();
}
