#include "tests/soak/SoakKit.h"

#include "res/resource.h"
#include "tests/support/LauncherWindows.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace qxrv::test {

namespace {

// Memory and object counts of this process at one moment.
struct Figures {
    HeapUse heap;     // live heap bytes
    SIZE_T committed; // committed private bytes (Wine reports them as PagefileUsage, PrivateUsage reads 0)
    GdiCounts gdi;    // live GDI objects, by kind
    DWORD user;       // USER objects (0: the platform does not report them)
};

Figures TakeFigures() {
    Figures f = {};
    f.heap = HeapInUse();
    f.committed = CommittedBytes();
    f.gdi = LiveGdiObjects();
    f.user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    return f;
}

void PrintFigures(const char* name, const Figures& before, const Figures& after) {
    std::printf("soak %s: crt heap %zu -> %zu bytes, all heaps %zu -> %zu bytes, committed %lu -> %lu KB, ",
                name, before.heap.crt, after.heap.crt, before.heap.all, after.heap.all,
                static_cast<unsigned long>(before.committed / 1024),
                static_cast<unsigned long>(after.committed / 1024));
    std::printf("GDI objects %ld -> %ld (bitmaps %ld -> %ld, memory DCs %ld -> %ld, regions %ld -> %ld), ",
                before.gdi.Total(), after.gdi.Total(), before.gdi.bitmaps, after.gdi.bitmaps,
                before.gdi.memoryDCs, after.gdi.memoryDCs, before.gdi.regions, after.gdi.regions);
    if (before.user == 0 && after.user == 0)
        std::printf("USER objects not reported by the platform\n");
    else
        std::printf("USER objects %lu -> %lu\n", before.user, after.user);
    std::fflush(stdout);
}

void ExpectFlat(const Figures& before, const Figures& after, size_t nHeapMargin) {
    const long long crt = static_cast<long long>(after.heap.crt) - static_cast<long long>(before.heap.crt);
    const long long all = static_cast<long long>(after.heap.all) - static_cast<long long>(before.heap.all);
    EXPECT_LT(crt, static_cast<long long>(nHeapMargin)) << "C runtime heap grew";
    EXPECT_LT(all, static_cast<long long>(nHeapMargin)) << "heaps grew";
    // Committed memory moves in whole pages and with the heaps' own bookkeeping; a megabyte is still far
    // below one lost bitmap or string per round.
    const long long committed =
        static_cast<long long>(after.committed) - static_cast<long long>(before.committed);
    EXPECT_LT(committed, 1024LL * 1024) << "committed memory grew";
    EXPECT_EQ(before.gdi, after.gdi) << "GDI objects changed";
    if (before.user != 0) {
        EXPECT_LE(after.user, before.user) << "USER objects grew";
    }
}

} // namespace

void ExpectFlatOver(const char* name, const std::function<void()>& warmUp,
                    const std::function<void()>& measured, size_t nHeapMargin) {
    warmUp();
    const Figures before = TakeFigures();
    measured();
    const Figures after = TakeFigures();
    PrintFigures(name, before, after);
    ExpectFlat(before, after, nHeapMargin);
}

Launcher::Launcher() : m_app(L"QXRVSoakTests") {
    if (!m_gdiplus.IsRunning() || !m_browser.ok())
        return;
    m_pMain = std::make_unique<CQXRVTranslucentDlg>();
    m_app.m_pMainWnd = m_pMain.get();
    if (!m_pMain->Create(IDD_MAIN))
        return;
    m_pMain->ShowWindow(SW_SHOWNOACTIVATE);
    const LauncherWindows found = FindLauncherWindows();
    m_hwndStart = found.main == main() ? found.startPage : NULL;
    m_ok = m_hwndStart != NULL && m_pMain->GetGameWnd() && Game().GetSafeHwnd() &&
           PumpUntil([&] { return ::IsWindowVisible(::GetDlgItem(m_hwndStart, IDC_START_PAGE)) != FALSE; });
}

Launcher::~Launcher() {
    if (m_pMain && m_pMain->GetSafeHwnd())
        m_pMain->DestroyWindow();
    PumpPending();
    m_app.m_pMainWnd = NULL;
    m_pMain.reset();
}

FakeBrowser* Launcher::StartBrowser() const {
    return FakeBrowser::ForHost(::GetDlgItem(m_hwndStart, IDC_START_PAGE));
}

FakeBrowser* Launcher::GameBrowser() const {
    return FakeBrowser::ForHost(m_pMain->GetGameWnd()->m_web.GetSafeHwnd());
}

} // namespace qxrv::test
