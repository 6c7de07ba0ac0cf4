// The floor under the launcher's "process start to first picture": an exe built like the launcher (same
// toolchain, the same DLL imports, the same manifest) that shows nothing but one 1208 x 621 layered window,
// centred in the work area where the launcher's main window ends up, with a ready picture of one opaque
// colour (kColour). It decodes nothing and creates no dialog, browser or GDI+ object. It runs until it is
// closed or ended.
#include "framework/GdiplusPrelude.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace {

const int kWidth = 1208, kHeight = 621;
// Premultiplied and opaque: what the screen shows is exactly this colour, RGB(0x20, 0x60, 0xA0).
const DWORD kColour = 0xFF2060A0;

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

// One function of every DLL the launcher imports, so that the loader maps the same set before wWinMain.
void* volatile g_imports[] = {
    reinterpret_cast<void*>(&::InitCommonControlsEx), reinterpret_cast<void*>(&Gdiplus::GdiplusStartup),
    reinterpret_cast<void*>(&::CoInitializeEx),       reinterpret_cast<void*>(&::SysFreeString),
    reinterpret_cast<void*>(&::ShellExecuteW),        reinterpret_cast<void*>(&::UrlGetPartW),
};

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    (void)g_imports[0];
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(NULL, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = L"BareLayeredStart";
    ::RegisterClassW(&wc);

    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = (work.left + work.right) / 2 - kWidth / 2, y = (work.top + work.bottom) / 2 - kHeight / 2;
    HWND hWnd = ::CreateWindowExW(WS_EX_LAYERED, wc.lpszClassName, L"bare layered start", WS_POPUP, x, y,
                                  kWidth, kHeight, NULL, NULL, hInstance, NULL);
    if (hWnd == NULL)
        return 1;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HDC hScreen = ::GetDC(hWnd);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hDib = ::CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hMem == NULL || hDib == NULL)
        return 1;
    DWORD* pPixel = static_cast<DWORD*>(pBits);
    for (int i = 0; i < kWidth * kHeight; ++i)
        pPixel[i] = kColour;
    HGDIOBJ hOld = ::SelectObject(hMem, hDib);
    POINT position = {x, y}, source = {0, 0};
    SIZE size = {kWidth, kHeight};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(hWnd, hScreen, &position, &size, hMem, &source, 0, &blend, ULW_ALPHA);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hDib);
    ::DeleteDC(hMem);
    ::ReleaseDC(hWnd, hScreen);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);

    MSG msg;
    while (::GetMessageW(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
