#include "tests/support/GdiCount.h"

#include "tests/support/ImportPatch.h"

#include <ostream>

namespace qxrv::test {
namespace {

GdiCounts g_live; // changed only through interlocked calls

template <class H> H Made(H handle, LONG& counter) {
    if (handle != NULL)
        InterlockedIncrement(&counter);
    return handle;
}

void Freed(DWORD objectType) {
    switch (objectType) {
    case OBJ_BITMAP:
        InterlockedDecrement(&g_live.bitmaps);
        break;
    case OBJ_REGION:
        InterlockedDecrement(&g_live.regions);
        break;
    case OBJ_BRUSH:
        InterlockedDecrement(&g_live.brushes);
        break;
    case OBJ_PEN:
    case OBJ_EXTPEN:
    case OBJ_FONT:
    case OBJ_PAL:
        InterlockedDecrement(&g_live.others);
        break;
    default:
        break;
    }
}

// One wrapper per call that makes an object, put in the executable's import table before main runs so that
// nothing the tests make goes uncounted: the original is kept and called, a handle it gives counted.
#define QXRV_COUNT_MADE(dll, type, name, kind, params, args)                                                 \
    decltype(&::name) g_real_##name = NULL;                                                                  \
    type WINAPI Counted_##name params {                                                                      \
        return Made(g_real_##name args, g_live.kind);                                                        \
    }                                                                                                        \
    QXRV_REDIRECT(dll, name, Counted);

QXRV_COUNT_MADE("gdi32.dll", HBITMAP, CreateCompatibleBitmap, bitmaps, (HDC dc, int cx, int cy), (dc, cx, cy))
QXRV_COUNT_MADE("gdi32.dll", HBITMAP, CreateDIBSection, bitmaps,
                (HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset),
                (dc, info, usage, bits, section, offset))
QXRV_COUNT_MADE("gdi32.dll", HBITMAP, CreateBitmap, bitmaps,
                (int cx, int cy, UINT planes, UINT bpp, const void* bits), (cx, cy, planes, bpp, bits))
QXRV_COUNT_MADE("gdi32.dll", HBITMAP, CreateDIBitmap, bitmaps,
                (HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                 UINT usage),
                (dc, header, init, bits, info, usage))
QXRV_COUNT_MADE("user32.dll", HBITMAP, LoadBitmapW, bitmaps, (HINSTANCE module, LPCWSTR name), (module, name))
QXRV_COUNT_MADE("gdi32.dll", HDC, CreateCompatibleDC, memoryDCs, (HDC dc), (dc))
QXRV_COUNT_MADE("user32.dll", HDC, GetDC, windowDCs, (HWND hwnd), (hwnd))
QXRV_COUNT_MADE("user32.dll", HDC, GetWindowDC, windowDCs, (HWND hwnd), (hwnd))
QXRV_COUNT_MADE("gdi32.dll", HRGN, CreateRectRgn, regions, (int x1, int y1, int x2, int y2), (x1, y1, x2, y2))
QXRV_COUNT_MADE("gdi32.dll", HRGN, CreateRectRgnIndirect, regions, (const RECT* rect), (rect))
QXRV_COUNT_MADE("gdi32.dll", HRGN, CreateRoundRectRgn, regions,
                (int x1, int y1, int x2, int y2, int cx, int cy), (x1, y1, x2, y2, cx, cy))
QXRV_COUNT_MADE("gdi32.dll", HRGN, CreateEllipticRgn, regions, (int x1, int y1, int x2, int y2),
                (x1, y1, x2, y2))
QXRV_COUNT_MADE("gdi32.dll", HBRUSH, CreateSolidBrush, brushes, (COLORREF colour), (colour))
QXRV_COUNT_MADE("gdi32.dll", HBRUSH, CreatePatternBrush, brushes, (HBITMAP bitmap), (bitmap))
QXRV_COUNT_MADE("gdi32.dll", HFONT, CreateFontIndirectW, others, (const LOGFONTW* font), (font))
QXRV_COUNT_MADE("gdi32.dll", HPEN, CreatePen, others, (int style, int width, COLORREF colour),
                (style, width, colour))

decltype(&::LoadImageW) g_real_LoadImageW = NULL;
HANDLE WINAPI Counted_LoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    const HANDLE image = g_real_LoadImageW(module, name, type, cx, cy, flags);
    // A shared image belongs to the system; icons and cursors are no GDI objects.
    if (type == IMAGE_BITMAP && (flags & LR_SHARED) == 0)
        Made(image, g_live.bitmaps);
    return image;
}
QXRV_REDIRECT("user32.dll", LoadImageW, Counted);

decltype(&::DeleteObject) g_real_DeleteObject = NULL;
BOOL WINAPI Counted_DeleteObject(HGDIOBJ object) {
    const DWORD type = object != NULL ? ::GetObjectType(object) : 0;
    const BOOL ok = g_real_DeleteObject(object);
    if (ok)
        Freed(type);
    return ok;
}
QXRV_REDIRECT("gdi32.dll", DeleteObject, Counted);

decltype(&::DeleteDC) g_real_DeleteDC = NULL;
BOOL WINAPI Counted_DeleteDC(HDC dc) {
    const DWORD type = dc != NULL ? ::GetObjectType(dc) : 0;
    const BOOL ok = g_real_DeleteDC(dc);
    if (ok && type == OBJ_MEMDC)
        InterlockedDecrement(&g_live.memoryDCs);
    return ok;
}
QXRV_REDIRECT("gdi32.dll", DeleteDC, Counted);

decltype(&::ReleaseDC) g_real_ReleaseDC = NULL;
int WINAPI Counted_ReleaseDC(HWND hwnd, HDC dc) {
    const int released = g_real_ReleaseDC(hwnd, dc);
    if (released)
        InterlockedDecrement(&g_live.windowDCs);
    return released;
}
QXRV_REDIRECT("user32.dll", ReleaseDC, Counted);

decltype(&::SetWindowRgn) g_real_SetWindowRgn = NULL;
int WINAPI Counted_SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
    const int accepted = g_real_SetWindowRgn(hwnd, region, redraw);
    if (accepted && region != NULL)
        InterlockedDecrement(&g_live.regions); // the window's now, and the system frees it
    return accepted;
}
QXRV_REDIRECT("user32.dll", SetWindowRgn, Counted);

} // namespace

bool operator==(const GdiCounts& a, const GdiCounts& b) {
    return a.bitmaps == b.bitmaps && a.memoryDCs == b.memoryDCs && a.windowDCs == b.windowDCs &&
           a.regions == b.regions && a.brushes == b.brushes && a.others == b.others;
}

void PrintTo(const GdiCounts& c, std::ostream* os) {
    *os << "bitmaps " << c.bitmaps << ", memory DCs " << c.memoryDCs << ", window DCs " << c.windowDCs
        << ", regions " << c.regions << ", brushes " << c.brushes << ", fonts and pens " << c.others;
}

GdiCounts LiveGdiObjects() {
    GdiCounts counts;
    counts.bitmaps = InterlockedCompareExchange(&g_live.bitmaps, 0, 0);
    counts.memoryDCs = InterlockedCompareExchange(&g_live.memoryDCs, 0, 0);
    counts.windowDCs = InterlockedCompareExchange(&g_live.windowDCs, 0, 0);
    counts.regions = InterlockedCompareExchange(&g_live.regions, 0, 0);
    counts.brushes = InterlockedCompareExchange(&g_live.brushes, 0, 0);
    counts.others = InterlockedCompareExchange(&g_live.others, 0, 0);
    return counts;
}

} // namespace qxrv::test
