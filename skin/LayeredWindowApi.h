// The layered-window functions, taken from "User32.DLL" by name at each call instead of from the import
// table. Every look-up of them goes through this one place.
#pragma once

#include "framework/Prelude.h"

namespace skin {

// Pushes a per-pixel-alpha picture with UpdateLayeredWindow. Returns false when the library or the entry
// point is missing (nothing is done then) or when the call itself failed: whether the window now shows the
// picture.
bool CallUpdateLayeredWindow(HWND hWnd, HDC hdcDst, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc,
                             COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags);

// Sets a colour key or constant alpha with SetLayeredWindowAttributes. Returns false, having done nothing,
// when the library or the entry point is missing; otherwise true, whatever the call itself answered.
bool CallSetLayeredWindowAttributes(HWND hWnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags);

// The newer form of UpdateLayeredWindow (Windows Vista and later), looked up the same way, which can hand
// over only the picture's dirty rectangle. Returns false when the library or the entry point is missing (as
// on Windows XP) or when the call itself failed; the caller then pushes with CallUpdateLayeredWindow instead.
bool CallUpdateLayeredWindowIndirect(HWND hWnd, const UPDATELAYEREDWINDOWINFO* pInfo);

} // namespace skin
