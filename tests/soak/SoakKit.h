// Shared pieces of the soak tests: the launcher's windows made in this process (the fake browser control in
// place of the system's), and the memory and handle figures taken before and after a long run.
#pragma once

#include "app/QXRVTranslucentDlg.h"
#include "framework/WinApp.h"
#include "skin/GdiplusServices.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/GdiCount.h"
#include "tests/support/HeapUse.h"

#include <memory>

namespace qxrv::test {

// Memory and object counts of this process at one moment.
struct Figures {
    HeapUse heap;     // live heap bytes
    SIZE_T committed; // committed private bytes (Wine reports them as PagefileUsage, PrivateUsage reads 0)
    GdiCounts gdi;    // live GDI objects, by kind
    DWORD user;       // USER objects (0: the platform does not report them)
};
Figures TakeFigures();
// Prints one line "soak <name>: ..." with both sets of figures.
void PrintFigures(const char* name, const Figures& before, const Figures& after);
// Fails the test when live heap bytes grew by nHeapMargin or more, committed memory by a megabyte or more,
// GDI objects of any kind at all, or USER objects at all where the platform reports them.
void ExpectFlat(const Figures& before, const Figures& after, size_t nHeapMargin);

// The launcher's main window, start page and game window, made modeless and shown as at start-up, with the
// fake browser control standing in for the system's. GDI+ and COM run for its lifetime.
class Launcher {
public:
    Launcher();
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Whether all three windows came up and the start page has shown its view.
    bool ok() const { return m_ok; }
    CQXRVTranslucentDlg& Main() { return *m_pMain; }
    HWND main() const { return m_pMain->GetSafeHwnd(); }
    HWND startPage() const { return m_hwndStart; }
    CDlgQXRVGameWnd& Game() { return *m_pMain->GetGameWnd(); }
    // The browsers behind the start page's view and the game page's view.
    FakeBrowser* StartBrowser() const;
    FakeBrowser* GameBrowser() const;

private:
    FakeBrowserSession m_browser; // first: the windows below go before it
    skin::CGdiplusSession m_gdiplus;
    CWinApp m_app;
    std::unique_ptr<CQXRVTranslucentDlg> m_pMain;
    HWND m_hwndStart = NULL;
    bool m_ok = false;
};

} // namespace qxrv::test
