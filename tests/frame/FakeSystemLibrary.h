// Stand-in for "UxTheme.dll" and "dwmapi.dll": records what the frame kit asks of them and answers the
// composition query as a test tells it to. Shared between the stand-in DLLs and the tests that load them.
#pragma once

#include "framework/Prelude.h"

#include <string>

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

// Both stand-ins add the full path of every copy of theirs that is loaded to this environment variable of the
// process, one path a line, so a test sees which copies were loaded even once they are released again.
#define FAKE_LIBRARY_LOADS L"QXRV_FAKE_LIBRARY_LOADS"

inline void NoteFakeLibraryLoad(HINSTANCE hModule) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(hModule, path, MAX_PATH);
    wchar_t loads[4096] = {};
    ::GetEnvironmentVariableW(FAKE_LIBRARY_LOADS, loads, ARRAYSIZE(loads));
    ::SetEnvironmentVariableW(FAKE_LIBRARY_LOADS, (std::wstring(loads) + path + L"\n").c_str());
}
