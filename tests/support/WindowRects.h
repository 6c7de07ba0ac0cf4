// Where windows lie: rectangles on the screen and in another window's client area.
#pragma once

#include "framework/Prelude.h"

namespace qxrv::test {

// A window's rectangle on the screen.
RECT WindowRectOf(HWND hwnd);
// A window's rectangle in hwndFrame's client coordinates.
RECT WindowRectIn(HWND hwnd, HWND hwndFrame);
// A child window's rectangle in its parent's client coordinates.
RECT ChildRectOf(HWND hwndChild);
// The primary monitor's work area, where windows are placed and centred.
RECT WorkArea();

} // namespace qxrv::test
