// The application object and the program's entry point.
//
// The one CWinApp-derived global object registers itself as the current application when it is constructed.
// The framework's wWinMain (WinMain.cpp) then calls InitInstance. When InitInstance returns TRUE it runs the
// message loop (Run) until WM_QUIT; when it returns FALSE there is no loop: a main window still registered
// in m_pMainWnd is destroyed, ExitInstance runs, and its result is the process's exit code.
#pragma once

#include "framework/Prelude.h"

#include "framework/Library.h"
#include "framework/Wnd.h"

#include <string>

// Restart manager support: restart the program after a crash, hang or update; no recovery, no autosave.
#define AFX_RESTART_MANAGER_SUPPORT_RESTART 0x01

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    // A NULL name: the name of the executable file, without its extension.
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;

    // Registers with the restart manager as m_dwRestartManagerSupportFlags asks. Returns TRUE.
    virtual BOOL InitInstance();
    // Returns the exit code: the WM_QUIT code if a loop saw one, else 0.
    virtual int ExitInstance();
    // The message loop; returns ExitInstance's result after WM_QUIT.
    virtual int Run();

    // Sets the registry key under HKCU\Software where the program's settings would go. Writes nothing.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);

    CWnd* m_pMainWnd;
    DWORD m_dwRestartManagerSupportFlags;
    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;
    LPCTSTR m_pszAppName;     // never NULL after construction
    LPCTSTR m_pszRegistryKey; // NULL until SetRegistryKey

    // Records the exit code a loop found in WM_QUIT (ExitInstance returns it).
    void SetQuitCode(int nCode) { m_nQuitCode = nCode; }

    // ID_HELP. The program has no help file; the command is accepted and nothing opens.
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    std::wstring m_appName;
    std::wstring m_registryKey;
    int m_nQuitCode;
};

// The current application (NULL before it is constructed and after it is destroyed).
CWinApp* AfxGetApp();
// The application's main window, or NULL.
CWnd* AfxGetMainWnd();
// The module the framework loads resources from: the program's own.
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();
// Loads a library of the system folder by its full path, its dependencies looked for beside it; holds nothing
// when it is not there. (A bare name is looked for in the program's and the current folder first.)
CLibraryHandle AfxLoadSystemLibrary(LPCWSTR lpszFileName);
// Makes ActiveX controls hostable: OLE is initialised for the thread (undone at exit if it succeeded).
void AfxEnableControlContainer();
// Undoes AfxEnableControlContainer's OLE initialisation if it succeeded (WinMain calls it at the end).
void AfxOleTerm();
// The framework's WinMain body.
int AfxWinMain(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow);
