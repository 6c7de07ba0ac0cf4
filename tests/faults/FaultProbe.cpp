// Fault build only: makes chosen system calls of the program fail, the way a broken or stripped-down system
// would, without touching the program's code.
//
// At start-up the exe's import address table entries for the calls below are pointed at wrappers. Which
// faults are on comes from QXRV_FAULTS, a comma-separated list:
//   gdiplus       GdiplusStartup fails, and so does every GDI+ object the program makes;
//   gdiplus-memory GDI+ has no memory left for an object of the program;
//   user32-dll    loading "User32.DLL" (from the system folder) fails;
//   user32-entry  GetProcAddress fails for the two layered-window entry points;
//   game-window   the game window's dialog cannot be created;
//   game-window-late  the system gives up on the game window's dialog after the framework has taken its
//   handle; game-webview  the game window's browser control cannot be created; webview       no browser
//   control can be created at all.
// When the process ends, how often each fault struck goes to the file named by QXRV_FAULT_REPORT as one line:
// "struck=<n> gdiplus_shutdowns=<n>".
#include "framework/GdiplusPrelude.h"

#include "res/resource.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/ProbeReport.h"

#include <exdisp.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

using namespace Gdiplus;
namespace flat = Gdiplus::DllExports;

bool g_gdiplus = false;
bool g_gdiplusMemory = false;
bool g_user32Dll = false;
bool g_user32Entry = false;
bool g_gameWindow = false;
bool g_gameWindowLate = false;
bool g_gameWebView = false;
bool g_webView = false;

LONG g_struck = 0;
LONG g_gdiplusShutdowns = 0;
// Set while the game window's dialog is being created (its OnInitDialog makes its web view).
bool g_inGameDialog = false;

void Strike() {
    InterlockedIncrement(&g_struck);
}

// ---- GDI+: not started, so nothing can be made.

decltype(&GdiplusStartup) g_real_GdiplusStartup = NULL;
Status WINAPI Faulty_GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                                    GdiplusStartupOutput* output) {
    if (!g_gdiplus)
        return g_real_GdiplusStartup(token, input, output);
    Strike();
    if (token != NULL)
        *token = 0;
    return GdiplusNotInitialized;
}
QXRV_REDIRECT("gdiplus.dll", GdiplusStartup, Faulty);

decltype(&GdiplusShutdown) g_real_GdiplusShutdown = NULL;
VOID WINAPI Faulty_GdiplusShutdown(ULONG_PTR token) {
    InterlockedIncrement(&g_gdiplusShutdowns);
    g_real_GdiplusShutdown(token);
}
QXRV_REDIRECT("gdiplus.dll", GdiplusShutdown, Faulty);

// One wrapper per object-making entry point: with GDI+ down it makes nothing and says why.
#define QXRV_NO_OBJECT(name, params, args, out)                                                              \
    decltype(&flat::name) g_real_##name = NULL;                                                              \
    GpStatus WINGDIPAPI Faulty_##name params {                                                               \
        if (!g_gdiplus)                                                                                      \
            return g_real_##name args;                                                                       \
        Strike();                                                                                            \
        if (out != NULL)                                                                                     \
            *out = NULL;                                                                                     \
        return GdiplusNotInitialized;                                                                        \
    }                                                                                                        \
    QXRV_REDIRECT("gdiplus.dll", name, Faulty);

QXRV_NO_OBJECT(GdipLoadImageFromStream, (IStream * s, GpImage** p), (s, p), p)
QXRV_NO_OBJECT(GdipLoadImageFromStreamICM, (IStream * s, GpImage** p), (s, p), p)
QXRV_NO_OBJECT(GdipCreateFontFamilyFromName, (GDIPCONST WCHAR * n, GpFontCollection* c, GpFontFamily** p),
               (n, c, p), p)
QXRV_NO_OBJECT(GdipGetGenericFontFamilySansSerif, (GpFontFamily * *p), (p), p)
QXRV_NO_OBJECT(GdipCreateFont, (GDIPCONST GpFontFamily * f, REAL e, INT s, Unit u, GpFont** p),
               (f, e, s, u, p), p)
QXRV_NO_OBJECT(GdipCreateStringFormat, (INT f, LANGID l, GpStringFormat** p), (f, l, p), p)
QXRV_NO_OBJECT(GdipCreateSolidFill, (ARGB c, GpSolidFill** p), (c, p), p)
QXRV_NO_OBJECT(GdipCreateFromHDC, (HDC h, GpGraphics** p), (h, p), p)

decltype(&flat::GdipAlloc) g_real_GdipAlloc = NULL;
void* WINGDIPAPI Faulty_GdipAlloc(size_t size) {
    if (!g_gdiplusMemory)
        return g_real_GdipAlloc(size);
    Strike();
    return NULL;
}
QXRV_REDIRECT("gdiplus.dll", GdipAlloc, Faulty);

// ---- "User32.DLL" looked up by name.

decltype(&LoadLibraryExW) g_real_LoadLibraryExW = NULL;
HMODULE WINAPI Faulty_LoadLibraryExW(LPCWSTR path, HANDLE file, DWORD flags) {
    const wchar_t* name = path != NULL ? std::wcsrchr(path, L'\\') : NULL;
    if (g_user32Dll && name != NULL && _wcsicmp(name + 1, L"User32.DLL") == 0) {
        Strike();
        SetLastError(ERROR_MOD_NOT_FOUND);
        return NULL;
    }
    return g_real_LoadLibraryExW(path, file, flags);
}
QXRV_REDIRECT("kernel32.dll", LoadLibraryExW, Faulty);

decltype(&GetProcAddress) g_real_GetProcAddress = NULL;
FARPROC WINAPI Faulty_GetProcAddress(HMODULE module, LPCSTR name) {
    // Names only: an ordinal is a small integer in the pointer.
    if (g_user32Entry && reinterpret_cast<ULONG_PTR>(name) > 0xFFFF &&
        (std::strcmp(name, "UpdateLayeredWindow") == 0 ||
         std::strcmp(name, "SetLayeredWindowAttributes") == 0)) {
        Strike();
        SetLastError(ERROR_PROC_NOT_FOUND);
        return NULL;
    }
    return g_real_GetProcAddress(module, name);
}
QXRV_REDIRECT("kernel32.dll", GetProcAddress, Faulty);

// ---- The game window and its browser control.

bool IsGameTemplate(LPCDLGTEMPLATEW pTemplate) {
    HMODULE module = GetModuleHandleW(NULL);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDD_GAME), RT_DIALOG);
    HGLOBAL loaded = resource != NULL ? LoadResource(module, resource) : NULL;
    return loaded != NULL && LockResource(loaded) == pTemplate;
}

// Installed at start-up, so it runs after the framework's own creation hook, which attaches the object first.
HHOOK g_cbtHook = NULL;
LRESULT CALLBACK LateFailureHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_gameWindowLate && g_inGameDialog) {
        // The dialog itself is the first window its creation makes.
        g_inGameDialog = false;
        Strike();
        return 1;
    }
    return CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

decltype(&CreateDialogIndirectParamW) g_real_CreateDialogIndirectParamW = NULL;
HWND WINAPI Faulty_CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW pTemplate, HWND parent,
                                              DLGPROC proc, LPARAM param) {
    if (!IsGameTemplate(pTemplate))
        return g_real_CreateDialogIndirectParamW(instance, pTemplate, parent, proc, param);
    if (g_gameWindow) {
        Strike();
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    g_inGameDialog = true;
    HWND hwnd = g_real_CreateDialogIndirectParamW(instance, pTemplate, parent, proc, param);
    g_inGameDialog = false;
    return hwnd;
}
QXRV_REDIRECT("user32.dll", CreateDialogIndirectParamW, Faulty);

decltype(&CoCreateInstance) g_real_CoCreateInstance = NULL;
HRESULT WINAPI Faulty_CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                       LPVOID* out) {
    if ((g_webView || (g_gameWebView && g_inGameDialog)) && IsEqualCLSID(clsid, CLSID_WebBrowser)) {
        Strike();
        if (out != NULL)
            *out = NULL;
        return REGDB_E_CLASSNOTREG;
    }
    return g_real_CoCreateInstance(clsid, outer, context, iid, out);
}
QXRV_REDIRECT("ole32.dll", CoCreateInstance, Faulty);

void ReadFaults() {
    wchar_t list[256] = {};
    const DWORD length = GetEnvironmentVariableW(L"QXRV_FAULTS", list, ARRAYSIZE(list));
    if (length == 0 || length >= ARRAYSIZE(list))
        return;
    const struct {
        const wchar_t* name;
        bool* on;
    } kFaults[] = {{L"gdiplus", &g_gdiplus},
                   {L"gdiplus-memory", &g_gdiplusMemory},
                   {L"user32-dll", &g_user32Dll},
                   {L"user32-entry", &g_user32Entry},
                   {L"game-window", &g_gameWindow},
                   {L"game-webview", &g_gameWebView},
                   {L"game-window-late", &g_gameWindowLate},
                   {L"webview", &g_webView}};
    const std::wstring padded = L"," + std::wstring(list) + L",";
    for (const auto& fault : kFaults) {
        if (padded.find(L"," + std::wstring(fault.name) + L",") != std::wstring::npos)
            *fault.on = true;
    }
}

struct Probe {
    Probe() {
        ReadFaults();
        if (g_gameWindowLate)
            g_cbtHook = SetWindowsHookExW(WH_CBT, LateFailureHook, NULL, GetCurrentThreadId());
    }
    ~Probe() {
        qxrv::test::WriteReport(L"QXRV_FAULT_REPORT", "struck=%ld gdiplus_shutdowns=%ld", g_struck,
                                g_gdiplusShutdowns);
    }
} g_probe;

} // namespace
