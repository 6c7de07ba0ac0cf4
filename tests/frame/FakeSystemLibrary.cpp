// The stand-in system library (see FakeSystemLibrary.h). Exports are named by FakeSystemLibrary.def so that
// the stdcall functions keep their plain names, as in the real libraries.
#include "tests/frame/FakeSystemLibrary.h"

namespace {
FakeSystemCalls g_calls;
}

extern "C" {

BOOL WINAPI DllMain(HINSTANCE hModule, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH)
        NoteFakeLibraryLoad(hModule);
    return TRUE;
}

FakeSystemCalls* WINAPI GetFakeSystemCalls() {
    return &g_calls;
}

HRESULT WINAPI SetWindowTheme(HWND hWnd, LPCWSTR pszSubAppName, LPCWSTR pszSubIdList) {
    ++g_calls.nSetWindowTheme;
    g_calls.hThemeWnd = hWnd;
    g_calls.bThemeAppEmpty = pszSubAppName && !*pszSubAppName;
    g_calls.bThemeIdListEmpty = pszSubIdList && !*pszSubIdList;
    return S_OK;
}

HRESULT WINAPI DwmSetWindowAttribute(HWND hWnd, DWORD dwAttribute, LPCVOID pvAttribute, DWORD cbAttribute) {
    ++g_calls.nSetWindowAttribute;
    g_calls.hAttributeWnd = hWnd;
    g_calls.dwAttribute = dwAttribute;
    g_calls.dwValue =
        (pvAttribute && cbAttribute >= sizeof(DWORD)) ? *static_cast<const DWORD*>(pvAttribute) : 0;
    g_calls.cbAttribute = cbAttribute;
    return S_OK;
}

HRESULT WINAPI DwmIsCompositionEnabled(BOOL* pfEnabled) {
    ++g_calls.nIsCompositionEnabled;
    if (!pfEnabled)
        return E_POINTER;
    *pfEnabled = g_calls.bCompositionAnswer;
    return S_OK;
}

} // extern "C"
