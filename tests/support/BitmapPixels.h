// Pixels of GDI+ bitmaps, read back as straight 0xAARRGGBB.
#pragma once

#include "framework/GdiplusPrelude.h"

namespace qxrv::test {

// The pixel of bitmap at (x, y).
inline Gdiplus::ARGB BitmapPixel(Gdiplus::Bitmap& bitmap, int x, int y) {
    Gdiplus::Color colour;
    bitmap.GetPixel(x, y, &colour);
    return colour.GetValue();
}

} // namespace qxrv::test
