// What the user sees, read back from the screen.
#pragma once

#include "framework/Prelude.h"

#include <vector>

namespace qxrv::test {

// The colour on the screen at (x, y).
COLORREF ScreenPixel(int x, int y);
// The colour on the screen at a point of hwnd's client area.
COLORREF ScreenPixel(HWND hwnd, POINT client);
// The screen's pixels inside rect, row by row (one read instead of one per pixel).
std::vector<COLORREF> ScreenPixels(const RECT& rect);

} // namespace qxrv::test
