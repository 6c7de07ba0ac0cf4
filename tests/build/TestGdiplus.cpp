// GDI+ starts and stops as the program uses it, and can be started again after a shut-down.
#include "skin/GdiplusServices.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Draws one opaque pixel into a fresh bitmap and reads it back: proof that GDI+ really works.
bool CanDraw() {
    Gdiplus::Bitmap bitmap(4, 4, PixelFormat32bppARGB);
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return false;
    {
        Gdiplus::Graphics graphics(&bitmap);
        Gdiplus::SolidBrush brush(Gdiplus::Color(255, 10, 20, 30));
        graphics.FillRectangle(&brush, 0, 0, 4, 4);
    }
    Gdiplus::Color pixel;
    return bitmap.GetPixel(1, 1, &pixel) == Gdiplus::Ok && pixel.GetValue() == 0xFF0A141Eu;
}

TEST(Gdiplus, StartsStopsAndStartsAgain) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ULONG_PTR token = 0;
        ASSERT_EQ(Gdiplus::Ok, skin::StartGdiplus(&token));
        EXPECT_NE(0u, token);
        EXPECT_TRUE(CanDraw());
        skin::StopGdiplus(&token);
        EXPECT_EQ(0u, token);
        skin::StopGdiplus(&token); // a second stop with the cleared token does nothing
    }
}

TEST(Gdiplus, SessionOwnsOneStartUp) {
    {
        skin::CGdiplusSession session;
        ASSERT_TRUE(session.IsRunning());
        EXPECT_EQ(Gdiplus::Ok, session.Status());
        EXPECT_TRUE(CanDraw());
    }
    skin::CGdiplusSession again;
    EXPECT_TRUE(again.IsRunning());
    EXPECT_TRUE(CanDraw());
}

} // namespace
