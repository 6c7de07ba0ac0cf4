// Pictures from "PNG" resources: independent copies, failures that still give an image, and no leak.
#include "tests/skin/SkinTestSupport.h"

#include "res/resource.h"
#include "skin/PngResource.h"
#include "tests/skin/SkinTestRes.h"
#include "tests/support/BitmapPixels.h"
#include "tests/support/HeapUse.h"
#include "tests/support/Watchdog.h"

#include <cstdio>
#include <memory>

namespace skintest {
namespace {

using PngTest = SkinTest;

// Draws an image into a fresh 32-bit bitmap and returns the pixel drawn at (x, y).
Gdiplus::ARGB DrawnPixel(Gdiplus::Image* pImage, int x, int y) {
    Gdiplus::Bitmap canvas(64, 64, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&canvas);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        graphics.DrawImage(pImage, 0, 0, pImage->GetWidth(), pImage->GetHeight());
    }
    return qxrv::test::BitmapPixel(canvas, x, y);
}

TEST_F(PngTest, TwoLoadsOfOneIdAreIndependent) {
    std::unique_ptr<Gdiplus::Image> first(ImageFromPngResource(IDB_TEST_RED));
    std::unique_ptr<Gdiplus::Image> second(ImageFromPngResource(IDB_TEST_RED));
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(Gdiplus::Ok, first->GetLastStatus());
    first.reset();
    // The survivor still has its own stream and bytes.
    EXPECT_EQ(40u, second->GetWidth());
    EXPECT_EQ(30u, second->GetHeight());
    EXPECT_EQ(0xFFFF0000u, DrawnPixel(second.get(), 5, 5));
    EXPECT_EQ(0xFFFF0000u, DrawnPixel(second.get(), 39, 29));
}

TEST_F(PngTest, ProgramPicturesDecodeWithAlpha) {
    const struct {
        UINT id;
        UINT width, height;
    } cases[] = {{IDB_BACKGROUND, 1208, 621},    {IDB_MINIMIZE_NORMAL, 55, 57}, {IDB_MINIMIZE_HOVER, 55, 57},
                 {IDB_MINIMIZE_PRESSED, 55, 57}, {IDB_CLOSE_NORMAL, 55, 57},    {IDB_CLOSE_HOVER, 55, 57},
                 {IDB_CLOSE_PRESSED, 55, 57}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        std::unique_ptr<Gdiplus::Image> image(ImageFromPngResource(c.id));
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(Gdiplus::Ok, image->GetLastStatus());
        EXPECT_EQ(c.width, image->GetWidth());
        EXPECT_EQ(c.height, image->GetHeight());
        EXPECT_TRUE(Gdiplus::IsAlphaPixelFormat(image->GetPixelFormat()));
    }
}

TEST_F(PngTest, NoPngResourceGivesAFailedEmptyImage) {
    const struct {
        UINT id;
        const char* what;
    } cases[] = {
        {IDB_TEST_MISSING, "no resource at all"},
        {IDB_STRIP_CLOSE, "a bitmap with this ID"},
        {IDR_MAINFRAME, "an icon with this ID"},
        {IDD_MAIN, "a dialog template with this ID"},
        {IDB_TEST_CORRUPT, "a PNG resource that is not a picture"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<Gdiplus::Image> image(ImageFromPngResource(c.id));
        ASSERT_NE(nullptr, image);
        EXPECT_NE(Gdiplus::Ok, image->GetLastStatus());
        EXPECT_EQ(0u, image->GetWidth());
        EXPECT_EQ(0u, image->GetHeight());
        // Drawing it draws nothing and does not crash.
        EXPECT_EQ(0u, DrawnPixel(image.get(), 0, 0));
    }
}

TEST_F(PngTest, IdIsTakenFromItsLowWord) {
    // A high word must not turn the ID into a pointer to a resource name.
    std::unique_ptr<Gdiplus::Image> image(ImageFromPngResource(0x10000u + IDB_TEST_BLUE));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(Gdiplus::Ok, image->GetLastStatus());
    EXPECT_EQ(0xFF0000FFu, DrawnPixel(image.get(), 1, 1));
}

TEST_F(PngTest, LoadAndDeleteKeepsMemoryFlat) {
    qxrv::test::ExtendWatchdog(120);
    // Warm up: the decoder and the allocators settle on their first uses.
    for (int i = 0; i < 50; ++i)
        delete ImageFromPngResource(IDB_CLOSE_NORMAL);
    delete ImageFromPngResource(IDB_BACKGROUND);

    const SIZE_T before = qxrv::test::CommittedBytes();
    for (int i = 0; i < 1000; ++i) {
        Gdiplus::Image* image = ImageFromPngResource(i % 10 == 0 ? IDB_BACKGROUND : IDB_CLOSE_NORMAL);
        ASSERT_NE(nullptr, image);
        ASSERT_EQ(Gdiplus::Ok, image->GetLastStatus());
        delete image;
    }
    const SIZE_T after = qxrv::test::CommittedBytes();
    const long long growth = static_cast<long long>(after) - static_cast<long long>(before);
    std::printf(
        "private memory over 1000 loads (100 of the 1208 x 621 background): before %lu KB, after %lu KB, "
        "growth %lld KB\n",
        static_cast<unsigned long>(before / 1024), static_cast<unsigned long>(after / 1024), growth / 1024);
    ASSERT_GT(before, 0u);
    // One leaked 55 x 57 picture per load would be about 12 MB, one leaked copy of its bytes several MB.
    EXPECT_LT(growth, 512 * 1024);
}

} // namespace
} // namespace skintest
