// Long runs of what a user does over and over, with memory and object counts compared before and after
// (ExpectFlatOver).
#include "app/StartUrl.h"
#include "skin/TranslucentButton.h"
#include "skin/TranslucentDialog.h"
#include "res/resource.h"
#include "tests/soak/SoakKit.h"
#include "tests/support/Pump.h"
#include "tests/support/Watchdog.h"
#include "tests/support/WindowRects.h"
#include "webview/PostedString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qxrv::test;

namespace {

// Under Wine one redraw of the launcher's 1208 x 621 layered picture takes about 25 ms and one paint of the
// game window about 8 ms, so the runs on those two are shorter than the rest to keep each test within a
// minute. The hover buttons get their full ten thousand transitions here, the translucent buttons theirs over
// a small layered picture (TenThousandTransitionsOnTranslucentButtons).
constexpr int kTranslucentVisits = 125; // 500 transitions
constexpr int kHoverVisits = 2500;      // 10,000 transitions
constexpr int kPaints = 10000;
constexpr int kResizes = 1000;

// One visit of the pointer: hover, press, release outside (no click), leave. Four changes of look.
void Visit(HWND button, bool paintEach) {
    RECT rc = {};
    ::GetClientRect(button, &rc);
    const LPARAM centre = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    const LPARAM outside = MAKELPARAM(rc.right + 5, rc.bottom + 5);
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } steps[] = {
        {WM_MOUSEMOVE, 0, centre},  {WM_MOUSEHOVER, 0, centre}, {WM_LBUTTONDOWN, MK_LBUTTON, centre},
        {WM_LBUTTONUP, 0, outside}, {WM_MOUSELEAVE, 0, 0},
    };
    for (const auto& step : steps) {
        ::SendMessageW(button, step.message, step.wParam, step.lParam);
        if (paintEach)
            ::UpdateWindow(button);
    }
}

// Visits the translucent buttons in turn translucentVisits times and the hover buttons (painted after each
// message) hoverVisits times, side by side, pumping the queue every fifty rounds.
void VisitInTurn(const std::vector<HWND>& translucent, int translucentVisits, const std::vector<HWND>& hover,
                 int hoverVisits) {
    for (int i = 0; i < translucentVisits || i < hoverVisits; ++i) {
        if (i < translucentVisits)
            Visit(translucent[i % translucent.size()], false);
        if (i < hoverVisits)
            Visit(hover[i % hover.size()], true);
        if (i % 50 == 0)
            PumpPending();
    }
    PumpPending();
}

TEST(Soak, HoverAndPressTransitionsOnBothKindsOfButton) {
    ExtendWatchdog(75);
    Launcher l;
    ASSERT_TRUE(l.ok());
    l.Game().ShowWindow(SW_SHOWNOACTIVATE);
    PumpFor(50);
    const std::vector<HWND> translucent = {::GetDlgItem(l.main(), IDC_MINIMIZE),
                                           ::GetDlgItem(l.main(), IDC_CLOSE)};
    const std::vector<HWND> hover = {::GetDlgItem(l.Game().GetSafeHwnd(), IDC_MINIMIZE),
                                     ::GetDlgItem(l.Game().GetSafeHwnd(), IDC_MAXIMIZE),
                                     ::GetDlgItem(l.Game().GetSafeHwnd(), IDC_CLOSE)};
    for (HWND b : translucent)
        ASSERT_NE(nullptr, b);
    for (HWND b : hover)
        ASSERT_NE(nullptr, b);
    ExpectFlatOver(
        "buttons (500 translucent at full size, 10000 hover transitions)",
        [&] { VisitInTurn(translucent, 10, hover, 10); },
        [&] { VisitInTurn(translucent, kTranslucentVisits, hover, kHoverVisits); });
    // Nothing was clicked: the launcher is where it was.
    EXPECT_TRUE(::IsWindowVisible(l.main()));
    EXPECT_FALSE(::IsIconic(l.main()));
    EXPECT_FALSE(::IsIconic(l.Game().GetSafeHwnd()));
}

// The launcher's two translucent buttons with their own images, on a layered dialog with a small background,
// so that ten thousand transitions each redraw a small picture instead of the launcher's large one.
class CSmallLayeredDialog : public CTranslucentDialog {
public:
    CSmallLayeredDialog() {
        delete m_pBackground;
        m_pBackground = new Gdiplus::Bitmap(140, 60, PixelFormat32bppARGB);
    }
    ~CSmallLayeredDialog() override {
        if (GetSafeHwnd())
            DestroyWindow();
    }
    CTranslucentButton m_btnMinimize;
    CTranslucentButton m_btnClose;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_MINIMIZE, m_btnMinimize);
        DDX_Control(pDX, IDC_CLOSE, m_btnClose);
    }
    CStandardDialog* CreateOverlayDialog() override { return NULL; }
    void SetUpChildControls() override {
        m_btnMinimize.LoadStateImages(
            {IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_PRESSED, 0});
        AddLayerChild(&m_btnMinimize);
        m_btnClose.LoadStateImages(
            {IDB_CLOSE_NORMAL, IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED, 0});
        AddLayerChild(&m_btnClose);
        m_btnMinimize.SetWindowPos(NULL, 20, 16, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_btnClose.SetWindowPos(NULL, 70, 16, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    void OnOK() override {}
    void OnCancel() override {}
};

TEST(Soak, TenThousandTransitionsOnTranslucentButtons) {
    ExtendWatchdog(75);
    Launcher l; // GDI+, COM and the application object, as the launcher has them
    ASSERT_TRUE(l.ok());
    CSmallLayeredDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    PumpPending();
    const std::vector<HWND> buttons = {dlg.m_btnMinimize.GetSafeHwnd(), dlg.m_btnClose.GetSafeHwnd()};
    ExpectFlatOver(
        "translucent buttons, small layered dialog (10000 transitions)",
        [&] { VisitInTurn(buttons, 20, {}, 0); }, [&] { VisitInTurn(buttons, 2500, {}, 0); });
    EXPECT_TRUE(::IsWindowVisible(dlg.GetSafeHwnd()));
}

TEST(Soak, AThousandGameLinkHandOvers) {
    ExtendWatchdog(75);
    Launcher l;
    ASSERT_TRUE(l.ok());
    FakeBrowser* start = l.StartBrowser();
    FakeBrowser* game = l.GameBrowser();
    ASSERT_NE(nullptr, start);
    ASSERT_NE(nullptr, game);
    int wrong = 0;
    auto run = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            const std::wstring n = std::to_wstring(i);
            game->ClearRecords();
            if (!start->ClickLink((L"http://play.test/enter?server=" + n + L"&client=1&t=" + n).c_str()))
                ++wrong;
            PumpPending();
            const std::vector<std::wstring>& went = game->navigations();
            if (went.size() != 1 || went[0] != L"http://play.test/enter?server=" + n + L"&t=" + n)
                ++wrong;
        }
        start->ClearRecords();
        game->ClearRecords();
    };
    ExpectFlatOver(
        "game links (1000 hand-overs)", [&] { run(0, 20); }, [&] { run(20, 1020); });
    EXPECT_EQ(0, wrong);
    EXPECT_EQ(0u, OutstandingPostedStrings());
    EXPECT_FALSE(::IsWindowVisible(l.main()));
    EXPECT_TRUE(::IsWindowVisible(l.Game().GetSafeHwnd()));
    EXPECT_TRUE(::IsZoomed(l.Game().GetSafeHwnd()));
}

TEST(Soak, GameWindowPaintsAndResizes) {
    ExtendWatchdog(280); // about two minutes under Wine
    Launcher l;
    ASSERT_TRUE(l.ok());
    const HWND game = l.Game().GetSafeHwnd();
    l.Game().ShowWindow(SW_SHOWNOACTIVATE);
    PumpFor(50);
    const SIZE sizes[] = {{960, 640}, {1100, 760}, {800, 640}, {1280, 1000}, {1023, 701}};
    auto run = [&](int paints, int resizes) {
        const int paintsPerResize = paints / resizes;
        for (int r = 0; r < resizes; ++r) {
            const SIZE size = sizes[r % 5];
            ::SetWindowPos(game, NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            for (int p = 0; p < paintsPerResize; ++p)
                ::RedrawWindow(game, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
            PumpPending();
        }
    };
    ExpectFlatOver(
        "game window (10000 paints, 1000 resizes)", [&] { run(100, 10); }, [&] { run(kPaints, kResizes); });
    // The last size asked for holds, and the frame still has its shape.
    const RECT rc = WindowRectOf(game);
    EXPECT_EQ(1023, rc.right - rc.left);
    EXPECT_EQ(701, rc.bottom - rc.top);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, ::GetWindowRgn(game, rgn));
    EXPECT_FALSE(::PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(::PtInRegion(rgn, 500, 300));
    ::DeleteObject(rgn);
}

TEST(Soak, AThousandStartPageCompletions) {
    ExtendWatchdog(75);
    Launcher l;
    ASSERT_TRUE(l.ok());
    FakeBrowser* start = l.StartBrowser();
    ASSERT_NE(nullptr, start);
    const HWND view = ::GetDlgItem(l.startPage(), IDC_START_PAGE);
    int wrong = 0;
    // Every other completion is of the start page itself and shows the view; the others leave it hidden.
    auto run = [&](int count) {
        for (int i = 0; i < count; ++i) {
            ::ShowWindow(view, SW_HIDE);
            const bool isStart = i % 2 == 0;
            const std::wstring url =
                isStart ? std::wstring(StartUrl()) : StartUrl() + std::wstring(L"?n=") + std::to_wstring(i);
            start->CompleteDocument(url.c_str());
            PumpPending();
            if ((::IsWindowVisible(view) != FALSE) != isStart)
                ++wrong;
            start->ClearRecords();
        }
    };
    ExpectFlatOver(
        "start page (1000 completions)", [&] { run(20); }, [&] { run(1000); });
    EXPECT_EQ(0, wrong);
    EXPECT_EQ(0u, OutstandingPostedStrings());
}

} // namespace
