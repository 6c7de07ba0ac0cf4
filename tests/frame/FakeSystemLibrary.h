// Stand-in for "UxTheme.dll" and "dwmapi.dll": records what the frame kit asks of them and answers the
// composition query as a test tells it to. Shared between the stand-in DLL and the tests that load it.
#pragma once

#include "framework/Prelude.h"

struct FakeSystemCalls {
    LONG nSetWindowTheme;
    HWND hThemeWnd;
    bool bThemeAppEmpty;    // pszSubAppName was "" (not NULL)
    bool bThemeIdListEmpty; // pszSubIdList was "" (not NULL)

    LONG nSetWindowAttribute;
    HWND hAttributeWnd;
    DWORD dwAttribute;
    DWORD dwValue; // first 32 bits the attribute pointed to
    DWORD cbAttribute;

    LONG nIsCompositionEnabled;
    BOOL bCompositionAnswer; // what DwmIsCompositionEnabled reports
};

// Exported by the stand-in, found with GetProcAddress by these names.
typedef FakeSystemCalls*(WINAPI* FakeSystemCallsFn)();
#define FAKE_SYSTEM_CALLS_EXPORT "GetFakeSystemCalls"
