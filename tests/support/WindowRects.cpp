#include "tests/support/WindowRects.h"

namespace qxrv::test {

RECT WindowRectOf(HWND hwnd) {
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return rc;
}

RECT WindowRectIn(HWND hwnd, HWND hwndFrame) {
    RECT rc = WindowRectOf(hwnd);
    MapWindowPoints(HWND_DESKTOP, hwndFrame, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT ChildRectOf(HWND hwndChild) {
    return WindowRectIn(hwndChild, GetParent(hwndChild));
}

RECT WorkArea() {
    RECT rc = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

} // namespace qxrv::test
