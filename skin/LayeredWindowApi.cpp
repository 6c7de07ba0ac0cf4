#include "skin/LayeredWindowApi.h"

#include "framework/WinApp.h"

namespace skin {
namespace {

// "User32.DLL" from the system folder, held for the length of one call.
CLibraryHandle User32() {
    return AfxLoadSystemLibrary(L"User32.DLL");
}

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                            DWORD);
using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using UpdateLayeredWindowIndirectFn = BOOL(WINAPI*)(HWND, const UPDATELAYEREDWINDOWINFO*);

} // namespace

bool CallUpdateLayeredWindow(HWND hWnd, HDC hdcDst, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc,
                             COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags) {
    const CLibraryHandle user32 = User32();
    const auto update = user32.GetProc<UpdateLayeredWindowFn>("UpdateLayeredWindow");
    if (update == nullptr)
        return false;
    return update(hWnd, hdcDst, pptDst, psize, hdcSrc, pptSrc, crKey, pblend, dwFlags) != FALSE;
}

bool CallSetLayeredWindowAttributes(HWND hWnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags) {
    const CLibraryHandle user32 = User32();
    const auto set = user32.GetProc<SetLayeredWindowAttributesFn>("SetLayeredWindowAttributes");
    if (set == nullptr)
        return false;
    set(hWnd, crKey, bAlpha, dwFlags);
    return true;
}

bool CallUpdateLayeredWindowIndirect(HWND hWnd, const UPDATELAYEREDWINDOWINFO* pInfo) {
    const CLibraryHandle user32 = User32();
    const auto update = user32.GetProc<UpdateLayeredWindowIndirectFn>("UpdateLayeredWindowIndirect");
    return update != nullptr && update(hWnd, pInfo) != FALSE;
}

} // namespace skin
