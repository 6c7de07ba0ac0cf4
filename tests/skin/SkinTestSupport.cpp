#include "tests/skin/SkinTestSupport.h"

#include "skin/GdiplusServices.h"
#include "tests/app/GdiplusProbe.h"
#include "tests/support/Pump.h"

#include <cstring>

namespace skintest {

RECT WholeScreen() {
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

COLORREF ScreenPixel(int x, int y) {
    HDC hScreen = ::GetDC(NULL);
    const COLORREF colour = ::GetPixel(hScreen, x, y);
    ::ReleaseDC(NULL, hScreen);
    return colour;
}

std::vector<COLORREF> ScreenPixels(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HDC hScreen = ::GetDC(NULL);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hDib = ::CreateDIBSection(hMem, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hDib != NULL) {
        HGDIOBJ hOld = ::SelectObject(hMem, hDib);
        ::BitBlt(hMem, 0, 0, width, height, hScreen, rect.left, rect.top, SRCCOPY);
        ::GdiFlush();
        const DWORD* pRow = static_cast<const DWORD*>(pBits);
        pixels.reserve(static_cast<size_t>(width) * height);
        for (int i = 0; i < width * height; ++i) {
            const DWORD bgr = pRow[i];
            pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
        }
        ::SelectObject(hMem, hOld);
        ::DeleteObject(hDib);
    }
    ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
    return pixels;
}

Gdiplus::ARGB ImagePixel(Gdiplus::Image* pImage, int x, int y) {
    Gdiplus::Bitmap* pBitmap = static_cast<Gdiplus::Bitmap*>(pImage);
    Gdiplus::Color colour;
    pBitmap->GetPixel(x, y, &colour);
    return colour.GetValue();
}

// ---- CBackdrop

namespace {

const wchar_t kBackdropClass[] = L"SkinTestBackdrop";

LRESULT CALLBACK BackdropProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CBackdrop* self = reinterpret_cast<CBackdrop*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        ::SetWindowLongPtrW(
            hWnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_ERASEBKGND: {
        RECT rect;
        ::GetClientRect(hWnd, &rect);
        HBRUSH hBrush = ::CreateSolidBrush(self->m_colour);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rect, hBrush);
        ::DeleteObject(hBrush);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        ++self->m_nClicks;
        return 0;
    case WM_COMMAND:
        self->m_messages.push_back(message);
        if (HIWORD(wParam) == BN_CLICKED)
            self->m_clickedIds.push_back(LOWORD(wParam));
        if (self->m_onMessage)
            self->m_onMessage(message);
        return 0;
    case WM_CLOSE:
        self->m_messages.push_back(message);
        if (self->m_onMessage)
            self->m_onMessage(message);
        if (self->m_bDestroyOnClose)
            ::DestroyWindow(hWnd);
        return 0;
    case WM_NCDESTROY:
        if (self != nullptr)
            self->m_hWnd = NULL;
        break;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

} // namespace

CBackdrop::CBackdrop(const RECT& screenRect, COLORREF colour) : m_hWnd(NULL), m_colour(colour) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BackdropProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.hCursor = ::LoadCursorW(NULL, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = kBackdropClass;
    ::RegisterClassW(&wc); // fails harmlessly once the class exists
    m_hWnd = ::CreateWindowExW(0, kBackdropClass, L"backdrop", WS_POPUP | WS_VISIBLE, screenRect.left,
                               screenRect.top, screenRect.right - screenRect.left,
                               screenRect.bottom - screenRect.top, NULL, NULL, wc.hInstance, this);
    ::UpdateWindow(m_hWnd);
    qxrv::test::PumpFor(30);
}

CBackdrop::~CBackdrop() {
    if (m_hWnd != NULL)
        ::DestroyWindow(m_hWnd);
}

// ---- CTestLayeredDialog

CTestLayeredDialog::~CTestLayeredDialog() {
    if (m_hWnd != NULL)
        DestroyWindow();
}

void CTestLayeredDialog::ReplaceBackground(Gdiplus::Image* pImage) {
    delete m_pBackground;
    m_pBackground = pImage;
}

bool CTestLayeredDialog::CreateAndShow() {
    if (!Create(129, NULL))
        return false;
    ShowWindow(SW_SHOWNOACTIVATE);
    qxrv::test::PumpFor(50);
    return true;
}

std::vector<DWORD> CTestLayeredDialog::ComposeAfresh() {
    const SIZE size = {static_cast<LONG>(m_pBackground->GetWidth()),
                       static_cast<LONG>(m_pBackground->GetHeight())};
    std::vector<DWORD> pixels(static_cast<size_t>(size.cx) * size.cy);
    CMemoryPicture picture;
    if (!picture.CreateDib(NULL, size))
        return pixels;
    std::memset(picture.Bits(), 0, 4 * pixels.size());
    {
        Gdiplus::Graphics graphics(picture.DC());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
        graphics.DrawImage(m_pBackground, 0, 0, size.cx, size.cy);
        for (CTranslucentWnd* pChild : m_layerChildren) {
            if (static_cast<CTestButton*>(pChild)->m_bShown)
                pChild->PaintToLayer(&graphics);
        }
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }
    ::GdiFlush();
    std::memcpy(pixels.data(), picture.Bits(), 4 * pixels.size());
    return pixels;
}

void CTestLayeredDialog::SetUpChildControls() {
    ::GetWindowRect(m_hWnd, &m_rectAtSetUp);
    if (m_setUp)
        m_setUp(*this);
}

LRESULT CTestLayeredDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND) {
        m_sysCommands.push_back(wParam);
        return 0;
    }
    return CTranslucentDialog::WindowProc(message, wParam, lParam);
}

POINT OnScreen(const CWnd& wnd, int x, int y) {
    POINT point = {x, y};
    ::ClientToScreen(wnd.m_hWnd, &point);
    return point;
}

// ---- SkinTest

SkinTest::~SkinTest() {
    // Runs after the derived fixture's members are gone, so their releases are counted too.
    EXPECT_EQ(0, qxrv::test::GdiplusCallsWhileStopped())
        << "GDI+ objects made or released while it was stopped";
}

void SkinTest::SetUp() {
    ASSERT_EQ(Gdiplus::Ok, skin::StartGdiplus(&m_token));
}

void SkinTest::TearDown() {
    CWnd::DeleteTempMap();
    skin::StopGdiplus(&m_token);
}

} // namespace skintest
