#include "framework/WinApp.h"

#include "framework/Exceptions.h"

#include <ole2.h>

#include <new>

namespace {

CWinApp* g_pApp = nullptr;
bool g_bOleInitialized = false;

// The executable's file name without folder and extension.
std::wstring ModuleBaseName() {
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring name = path;
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}

} // namespace

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pMainWnd(NULL), m_dwRestartManagerSupportFlags(0), m_hInstance(::GetModuleHandleW(NULL)),
      m_lpCmdLine(NULL), m_pszAppName(NULL), m_pszRegistryKey(NULL),
      m_appName(lpszAppName ? lpszAppName : ModuleBaseName()), m_nQuitCode(0) {
    m_pszAppName = m_appName.c_str();
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    if (m_dwRestartManagerSupportFlags & AFX_RESTART_MANAGER_SUPPORT_RESTART) {
        // Windows Vista and later only, so looked up at run time.
        typedef HRESULT(WINAPI * RegisterRestartFn)(PCWSTR, DWORD);
        HMODULE hKernel = ::GetModuleHandleW(L"kernel32.dll");
        FARPROC pProc = hKernel ? ::GetProcAddress(hKernel, "RegisterApplicationRestart") : NULL;
        if (pProc)
            reinterpret_cast<RegisterRestartFn>(reinterpret_cast<void*>(pProc))(L"", 0);
    }
    return TRUE;
}

int CWinApp::ExitInstance() {
    return m_nQuitCode;
}

int CWinApp::Run() {
    MSG msg;
    for (;;) {
        if (!::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            CWnd::DeleteTempMap();
            CDC::DeleteTempMap();
        }
        const BOOL bGot = ::GetMessageW(&msg, NULL, 0, 0);
        if (bGot == 0)
            m_nQuitCode = static_cast<int>(msg.wParam);
        if (bGot <= 0)
            break;
        if (!CWnd::WalkPreTranslateTree(NULL, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    m_registryKey = lpszRegistryKey ? lpszRegistryKey : L"";
    m_pszRegistryKey = m_registryKey.c_str();
}

void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : NULL;
}

HINSTANCE AfxGetResourceHandle() {
    return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleW(NULL);
}

HINSTANCE AfxGetInstanceHandle() {
    return AfxGetResourceHandle();
}

CLibraryHandle AfxLoadSystemLibrary(LPCWSTR lpszFileName) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(::GetSystemDirectoryW(&path[0], MAX_PATH));
    if (!lpszFileName || path.empty() || path.size() >= MAX_PATH)
        return CLibraryHandle();
    return CLibraryHandle(
        ::LoadLibraryExW((path + L"\\" + lpszFileName).c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH));
}

void AfxEnableControlContainer() {
    if (!g_bOleInitialized)
        g_bOleInitialized = SUCCEEDED(::OleInitialize(NULL));
}

void AfxOleTerm() {
    if (g_bOleInitialized)
        ::OleUninitialize();
    g_bOleInitialized = false;
}

int AfxWinMain(HINSTANCE hInstance, LPWSTR lpCmdLine, int /*nCmdShow*/) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    int nExitCode = -1;
    try {
        if (pApp->InitInstance()) {
            nExitCode = pApp->Run();
        } else {
            if (pApp->m_pMainWnd)
                pApp->m_pMainWnd->DestroyWindow();
            nExitCode = pApp->ExitInstance();
        }
    } catch (const CException&) {
        nExitCode = -1;
    } catch (const std::bad_alloc&) {
        nExitCode = -1;
    }
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    AfxOleTerm();
    return nExitCode;
}
