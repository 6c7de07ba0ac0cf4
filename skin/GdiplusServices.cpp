#include "skin/GdiplusServices.h"

namespace skin {

Gdiplus::Status StartGdiplus(ULONG_PTR* token) {
    Gdiplus::GdiplusStartupInput input; // version 1, no callback, nothing suppressed
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    *token = 0;
    const Gdiplus::Status status = Gdiplus::GdiplusStartup(token, &input, nullptr);
    if (status != Gdiplus::Ok)
        *token = 0;
    return status;
}

void StopGdiplus(ULONG_PTR* token) {
    if (*token == 0)
        return;
    Gdiplus::GdiplusShutdown(*token);
    *token = 0;
}

} // namespace skin
