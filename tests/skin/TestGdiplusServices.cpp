// The caption font is found even where the named family is missing, and is always released cleanly.
#include "tests/skin/SkinTestSupport.h"

#include "skin/GdiplusServices.h"
#include "tests/support/BitmapPixels.h"

#include <memory>

namespace skintest {
namespace {

using GdiplusServicesTest = SkinTest;

TEST_F(GdiplusServicesTest, FontFallsBackToAnInstalledSansSerifFace) {
    const wchar_t* families[] = {L"Arial", L"No Such Family Anywhere", L""};
    for (const wchar_t* family : families) {
        SCOPED_TRACE(testing::Message() << "family \"" << family << "\"");
        std::unique_ptr<Gdiplus::Font> font(
            skin::NewFontOrSansSerif(family, 12.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint));
        ASSERT_NE(nullptr, font);
        EXPECT_TRUE(font->IsAvailable());
        EXPECT_EQ(12.0f, font->GetSize());
        EXPECT_EQ(Gdiplus::UnitPoint, font->GetUnit());
        // It really renders: a caption drawn with it leaves dark pixels.
        Gdiplus::Bitmap canvas(60, 30, PixelFormat32bppARGB);
        {
            Gdiplus::Graphics graphics(&canvas);
            graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
            Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
            graphics.DrawString(L"WWW", 3, font.get(), Gdiplus::RectF(0, 0, 60, 30), nullptr, &black);
        }
        int dark = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x)
                dark += GetRValue(ColourOfPixel(qxrv::test::BitmapPixel(canvas, x, y))) < 100;
        EXPECT_GT(dark, 10);
    }
}

} // namespace
} // namespace skintest
