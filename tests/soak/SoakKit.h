// Shared pieces of the soak tests: the launcher's windows made in this process (the fake browser control in
// place of the system's), and the memory and handle figures taken before and after a long run.
#pragma once

#include "app/QXRVTranslucentDlg.h"
#include "framework/WinApp.h"
#include "skin/GdiplusServices.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/GdiCount.h"
#include "tests/support/HeapUse.h"

#include <functional>
#include <memory>

namespace qxrv::test {

// One soak run: warmUp first, so that what the first rounds allocate once is not counted, then measured with
// the memory and object counts of this process taken before and after it. Prints one line "soak <name>: ..."
// with both, and fails the test when live heap bytes grew by nHeapMargin or more (free-list and log capacity,
// not one object per round), committed memory by a megabyte or more, GDI objects of any kind at all, or USER
// objects at all where the platform reports them.
void ExpectFlatOver(const char* name, const std::function<void()>& warmUp,
                    const std::function<void()>& measured, size_t nHeapMargin = 64 * 1024);

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
