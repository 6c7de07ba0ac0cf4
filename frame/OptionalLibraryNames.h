// Names under which the frame kit loads its optional libraries from the system folder. Only tests point them
// elsewhere, to stand in a library that is missing or lacks an entry point.
#pragma once

#include "framework/Prelude.h"

namespace frame_detail {

extern LPCWSTR g_pszUxThemeLibrary; // "UxTheme.dll"
extern LPCWSTR g_pszDwmApiLibrary;  // "dwmapi.dll"

} // namespace frame_detail
