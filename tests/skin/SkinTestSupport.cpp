#include "tests/skin/SkinTestSupport.h"

#include "skin/GdiplusServices.h"
#include "tests/app/GdiplusProbe.h"
#include "tests/support/BitmapPixels.h"
#include "tests/support/Pump.h"

#include <cstring>

namespace skintest {

Gdiplus::ARGB ImagePixel(Gdiplus::Image* pImage, int x, int y) {
    return qxrv::test::BitmapPixel(*static_cast<Gdiplus::Bitmap*>(pImage), x, y);
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
