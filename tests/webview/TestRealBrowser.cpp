// The web view hosting Wine's own browser control. It cannot render here, but it is created, activated in
// place, runs silently and announces every navigation, and its HTTP requests really go out: to a loopback
// server of this test, so a cancelled navigation shows as a request that never came.
#include "res/resource.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/Watchdog.h"
#include "tests/support/WindowRects.h"
#include "tests/support/LoopbackServer.h"
#include "tests/webview/WebViewTestKit.h"
#include "webview/PostedString.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace qxrv::test {
namespace {

class RealBrowser : public testing::Test {
protected:
    void SetUp() override {
        ReceivedLog().clear();
        ASSERT_TRUE(m_ole.ok());
        ASSERT_TRUE(m_server.ok());
        ASSERT_TRUE(m_dialog.Open());
        ASSERT_TRUE(m_view.CreateOnPlaceholder(&m_dialog, IDC_START_PAGE));
    }
    void TearDown() override {
        if (m_dialog.m_hWnd)
            m_dialog.DestroyWindow();
        PumpPending();
        EXPECT_EQ(0u, OutstandingPostedStrings());
    }
    void Navigate(const wchar_t* path) { m_view.Navigate2(m_server.Url(path).c_str()); }

    OleSession m_ole; // first: the browser below goes before it
    LoopbackServer m_server;
    CLogMainWnd m_main;
    CHostDialog m_dialog;
    CTestHtmlCtrl m_view;
};

TEST_F(RealBrowser, IsHostedSilentlyWithItsEdgeOutsideTheView) {
    IWebBrowser2* browser = m_view.GetBrowser();
    ASSERT_NE(nullptr, browser);
    VARIANT_BOOL silent = VARIANT_FALSE;
    EXPECT_EQ(S_OK, browser->get_Silent(&silent));
    EXPECT_EQ(VARIANT_TRUE, silent);

    const HWND hwndBrowser = m_view.GetBrowserWindow();
    ASSERT_TRUE(::IsWindow(hwndBrowser));
    EXPECT_EQ(m_view.m_hWnd, ::GetParent(hwndBrowser));
    const int edgeX = ::GetSystemMetrics(SM_CXEDGE);
    const int edgeY = ::GetSystemMetrics(SM_CYEDGE);
    // The view only tells the control its place (SetObjectRects); the control moves its window itself.
    const SIZE sizes[] = {{320, 240}, {700, 500}};
    for (const SIZE& size : sizes) {
        m_view.MoveWindow(3, 27, size.cx, size.cy);
        const RECT rc = WindowRectIn(hwndBrowser, m_view.m_hWnd);
        EXPECT_EQ(-edgeX, rc.left);
        EXPECT_EQ(-edgeY, rc.top);
        EXPECT_EQ(size.cx + edgeX, rc.right);
        EXPECT_EQ(size.cy + edgeY, rc.bottom);
    }
}

TEST_F(RealBrowser, GameLinkIsCancelledBeforeAnyRequestAndPlainPagesLoad) {
    Navigate(L"/game?a=1&client=1&b=2");
    Navigate(L"/plain?x=1");
    ASSERT_TRUE(PumpUntil([&] { return m_server.Saw("/plain?x=1"); }, 10000))
        << "the plain page is requested";
    PumpFor(300);
    EXPECT_FALSE(m_server.Saw("/game")) << "the game link never left the process";

    const std::vector<Received> games = ReceivedOf(WM_OPEN_GAME_URL);
    ASSERT_EQ(1u, games.size());
    EXPECT_EQ(m_main.m_hWnd, games[0].to);
    EXPECT_TRUE(games[0].claimed);
    EXPECT_EQ(m_server.Url(L"/game?a=1&b=2"), games[0].text);
    EXPECT_EQ(static_cast<LPARAM>(IDC_START_PAGE), games[0].lParam);

    // Scripts and commands go nowhere either.
    Navigate(L"/after");
    m_view.Navigate2(L"javascript:location='/script'");
    m_view.Navigate2(L"app:close");
    ASSERT_TRUE(PumpUntil([&] { return m_server.Saw("/after"); }, 10000));
    PumpFor(300);
    EXPECT_FALSE(m_server.Saw("/script"));
    EXPECT_EQ(std::vector<std::wstring>{L"close"}, m_view.appUrls);
}

TEST_F(RealBrowser, MemoryStaysFlatOverAThousandNavigations) {
    ExtendWatchdog(300);
    // Game links: the control announces each one and we cancel it and post the cleaned URL.
    auto cancelled = [&](int count) {
        for (int i = 0; i < count; ++i) {
            Navigate((L"/game?n=" + std::to_wstring(i) + L"&client=1").c_str());
            PumpPending();
            ReceivedLog().clear();
        }
    };
    cancelled(200);
    HeapUse before = HeapInUse();
    cancelled(1000);
    HeapUse after = HeapInUse();
    std::printf("cancelled navigations: heap in use %zu before, %zu after 1000\n", before.all, after.all);
    EXPECT_LE(after.all, before.all + 1024);
    EXPECT_FALSE(m_server.Saw("/game"));

    // Plain pages really load (and, without an engine, end in a navigation error). Wine's control keeps a
    // history entry for each, so only this program's own heap must stay flat.
    auto loaded = [&](int from, int count) {
        for (int i = from; i < from + count; ++i) {
            const std::string path = "/page?n=" + std::to_string(i) + " ";
            Navigate((L"/page?n=" + std::to_wstring(i)).c_str());
            ASSERT_TRUE(PumpUntil([&] { return m_server.Saw(path); }, 5000));
            m_server.Forget();
        }
    };
    loaded(0, 200);
    before = HeapInUse();
    loaded(200, 1000);
    after = HeapInUse();
    std::printf("loaded navigations: heap in use %zu before, %zu after 1000 (C runtime: %zu, %zu)\n",
                before.all, after.all, before.crt, after.crt);
    EXPECT_LE(after.crt, before.crt + 1024);
}

} // namespace
} // namespace qxrv::test
