// Test build only: counts the program's GDI+ objects and checks that GDI+ is shut down after the last is
// gone.
//
// At start-up the exe's import table entries for GDI+ are pointed at counting wrappers. Every object made is
// counted up, every object released counted down; GdiplusShutdown records how many were still alive. Any
// counted call while GDI+ is not running is a fault: after the shut-down, or before the start-up (Wine's GDI+
// works without one, Windows' does not promise to). When the process ends, the figures go to the file named
// by QXRV_GDIPLUS_REPORT as one line: "startups=<n> shutdowns=<n> made=<n> live_at_shutdown=<n>
// after_shutdown=<n> while_stopped=<n>".
#include "framework/GdiplusPrelude.h"

#include "tests/app/GdiplusProbe.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/ProbeReport.h"

namespace {

using namespace Gdiplus;
namespace flat = Gdiplus::DllExports;

LONG g_startups = 0;
LONG g_shutdowns = 0;
LONG g_made = 0;
LONG g_live = 0;
LONG g_liveAtShutdown = -1;
LONG g_afterShutdown = 0;
LONG g_whileStopped = 0;

void Count(GpStatus status, LONG delta) {
    if (g_shutdowns > 0)
        InterlockedIncrement(&g_afterShutdown);
    if (g_startups <= g_shutdowns)
        InterlockedIncrement(&g_whileStopped);
    if (status != Ok)
        return;
    InterlockedExchangeAdd(&g_live, delta);
    if (delta > 0)
        InterlockedIncrement(&g_made);
}

// One wrapper per counted entry point, put in the exe's import table at start-up: the original is kept and
// called, its result counted.
#define QXRV_COUNTED(name, delta, params, args)                                                              \
    decltype(&flat::name) g_real_##name = NULL;                                                              \
    GpStatus WINGDIPAPI Counted_##name params {                                                              \
        const GpStatus status = g_real_##name args;                                                          \
        Count(status, delta);                                                                                \
        return status;                                                                                       \
    }                                                                                                        \
    QXRV_REDIRECT("gdiplus.dll", name, Counted);

QXRV_COUNTED(GdipLoadImageFromStream, +1, (IStream * s, GpImage** p), (s, p))
QXRV_COUNTED(GdipLoadImageFromStreamICM, +1, (IStream * s, GpImage** p), (s, p))
QXRV_COUNTED(GdipCloneImage, +1, (GpImage * i, GpImage** p), (i, p))
QXRV_COUNTED(GdipDisposeImage, -1, (GpImage * i), (i))
QXRV_COUNTED(GdipCreateFontFamilyFromName, +1, (GDIPCONST WCHAR * n, GpFontCollection* c, GpFontFamily** p),
             (n, c, p))
QXRV_COUNTED(GdipDeleteFontFamily, -1, (GpFontFamily * f), (f))
QXRV_COUNTED(GdipCreateFont, +1, (GDIPCONST GpFontFamily * f, REAL e, INT s, Unit u, GpFont** p),
             (f, e, s, u, p))
QXRV_COUNTED(GdipDeleteFont, -1, (GpFont * f), (f))
QXRV_COUNTED(GdipCreateStringFormat, +1, (INT f, LANGID l, GpStringFormat** p), (f, l, p))
QXRV_COUNTED(GdipDeleteStringFormat, -1, (GpStringFormat * f), (f))
QXRV_COUNTED(GdipCreateSolidFill, +1, (ARGB c, GpSolidFill** p), (c, p))
QXRV_COUNTED(GdipCloneBrush, +1, (GpBrush * b, GpBrush** p), (b, p))
QXRV_COUNTED(GdipDeleteBrush, -1, (GpBrush * b), (b))
QXRV_COUNTED(GdipCreateFromHDC, +1, (HDC h, GpGraphics** p), (h, p))
QXRV_COUNTED(GdipDeleteGraphics, -1, (GpGraphics * g), (g))

decltype(&GdiplusStartup) g_real_GdiplusStartup = NULL;
Status WINAPI Counted_GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                                     GdiplusStartupOutput* output) {
    const Status status = g_real_GdiplusStartup(token, input, output);
    if (status == Ok)
        InterlockedIncrement(&g_startups);
    return status;
}
QXRV_REDIRECT("gdiplus.dll", GdiplusStartup, Counted);

decltype(&GdiplusShutdown) g_real_GdiplusShutdown = NULL;
VOID WINAPI Counted_GdiplusShutdown(ULONG_PTR token) {
    InterlockedExchange(&g_liveAtShutdown, g_live);
    InterlockedIncrement(&g_shutdowns);
    g_real_GdiplusShutdown(token);
}
QXRV_REDIRECT("gdiplus.dll", GdiplusShutdown, Counted);

struct Probe {
    ~Probe() {
        qxrv::test::WriteReport(L"QXRV_GDIPLUS_REPORT",
                                "startups=%ld shutdowns=%ld made=%ld live_at_shutdown=%ld after_shutdown=%ld "
                                "while_stopped=%ld",
                                g_startups, g_shutdowns, g_made, g_liveAtShutdown, g_afterShutdown,
                                g_whileStopped);
    }
} g_probe;

} // namespace

long qxrv::test::GdiplusCallsWhileStopped() {
    return g_whileStopped;
}
