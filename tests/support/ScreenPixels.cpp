#include "tests/support/ScreenPixels.h"

namespace qxrv::test {

COLORREF ScreenPixel(int x, int y) {
    HDC hScreen = ::GetDC(NULL);
    const COLORREF colour = ::GetPixel(hScreen, x, y);
    ::ReleaseDC(NULL, hScreen);
    return colour;
}

COLORREF ScreenPixel(HWND hwnd, POINT client) {
    ::ClientToScreen(hwnd, &client);
    return ScreenPixel(client.x, client.y);
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
        for (int i = 0; i < width * height; ++i)
            pixels.push_back(ColourOfPixel(pRow[i]));
        ::SelectObject(hMem, hOld);
        ::DeleteObject(hDib);
    }
    ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
    return pixels;
}

} // namespace qxrv::test
