// What the user sees, read back from the screen.
#pragma once

#include "framework/Prelude.h"

#include <vector>

namespace qxrv::test {

// The colour of a 32-bit pixel as DIB sections and GDI+ store it (blue in the low byte); alpha is dropped.
inline COLORREF ColourOfPixel(DWORD pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
// The colour on the screen at (x, y).
COLORREF ScreenPixel(int x, int y);
// The colour on the screen at a point of hwnd's client area.
COLORREF ScreenPixel(HWND hwnd, POINT client);
// The screen's pixels inside rect, row by row (one read instead of one per pixel).
std::vector<COLORREF> ScreenPixels(const RECT& rect);

} // namespace qxrv::test
