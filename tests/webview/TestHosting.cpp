// Creating, sizing and destroying the web view, and the strings it posts (fake browser control).
#include "tests/webview/WebViewFixture.h"

#include "tests/support/ExeFolder.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/Watchdog.h"
#include "tests/support/WindowRects.h"

#include <exdispid.h>

#include <cstdio>

namespace qxrv::test {
namespace {

using Hosting = WebViewFixture;

// PostMessageW as it fails when the receiver's queue is full.
BOOL WINAPI RefusePost(HWND, UINT, WPARAM, LPARAM) {
    ::SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return FALSE;
}

int ChildCount(HWND parent) {
    int count = 0;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

TEST_F(Hosting, ViewTakesThePlaceholdersPlaceAndId) {
    const HWND placeholder = ::GetDlgItem(m_dialog.m_hWnd, IDC_START_PAGE);
    ASSERT_NE(nullptr, placeholder);
    const RECT before = ChildRectOf(placeholder);

    ASSERT_TRUE(CreateView());
    EXPECT_FALSE(::IsWindow(placeholder));
    EXPECT_EQ(m_view.m_hWnd, ::GetDlgItem(m_dialog.m_hWnd, IDC_START_PAGE));
    const RECT after = ChildRectOf(m_view.m_hWnd);
    EXPECT_TRUE(::EqualRect(&before, &after));
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE),
              m_view.GetStyle() & (WS_CHILD | WS_VISIBLE | WS_BORDER));

    FakeBrowser* fake = Fake();
    ASSERT_NE(nullptr, fake);
    EXPECT_TRUE(fake->silent());
    EXPECT_EQ(fake->window(), m_view.GetBrowserWindow());
    EXPECT_EQ(1u, fake->sinkCount());
}

TEST_F(Hosting, MissingPlaceholderCreatesNothing) {
    const int children = ChildCount(m_dialog.m_hWnd);
    const int created = FakeBrowser::CreatedCount();
    EXPECT_FALSE(m_view.CreateOnPlaceholder(&m_dialog, 4242));
    EXPECT_EQ(nullptr, m_view.m_hWnd);
    EXPECT_EQ(children, ChildCount(m_dialog.m_hWnd));
    EXPECT_EQ(created, FakeBrowser::CreatedCount());
    EXPECT_NE(nullptr, ::GetDlgItem(m_dialog.m_hWnd, IDC_START_PAGE));
}

TEST_F(Hosting, ViewWhoseBrowserCannotStartIsNotCreated) {
    FakeBrowser::failNextActivation = true;
    EXPECT_FALSE(CreateView());
    EXPECT_EQ(nullptr, m_view.m_hWnd);
    EXPECT_EQ(nullptr, m_view.GetBrowser());
    EXPECT_EQ(nullptr, ::GetDlgItem(m_dialog.m_hWnd, IDC_START_PAGE)) << "the placeholder is gone";
    EXPECT_TRUE(FakeBrowser::Live().empty()) << "the control was released";
}

TEST_F(Hosting, BrowserWindowLiesOneClientEdgeOutsideTheView) {
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    // Shown, so that growing the view makes it paint.
    m_dialog.ShowWindow(SW_SHOWNOACTIVATE);
    PumpPending();
    const int edgeX = ::GetSystemMetrics(SM_CXEDGE);
    const int edgeY = ::GetSystemMetrics(SM_CYEDGE);
    const SIZE sizes[] = {{0, 0}, {300, 200}, {1, 1}, {640, 480}};
    for (const SIZE& size : sizes) {
        m_view.MoveWindow(0, 0, size.cx, size.cy);
        // The view's background, erased over the page, would flash before the browser paints again.
        ::UpdateWindow(m_view.m_hWnd);
        PumpPending();
        EXPECT_EQ(0, m_view.erasesOverBrowser) << "grown to " << size.cx << "x" << size.cy;
        const RECT rc = WindowRectIn(fake->window(), m_view.m_hWnd);
        EXPECT_EQ(-edgeX, rc.left);
        EXPECT_EQ(-edgeY, rc.top);
        EXPECT_EQ(size.cx + 2 * edgeX, rc.right - rc.left);
        EXPECT_EQ(size.cy + 2 * edgeY, rc.bottom - rc.top);
        // The browser is told so, and asked later it hears the same place.
        const RECT expected = {-edgeX, -edgeY, size.cx + edgeX, size.cy + edgeY};
        RECT pos = {}, clip = {};
        ASSERT_TRUE(fake->AskPlace(&pos, &clip));
        EXPECT_TRUE(::EqualRect(&expected, &pos));
        EXPECT_TRUE(::EqualRect(&expected, &clip));
    }

    // The browser asks for another place: the view tells it its own again.
    const int told = fake->objectRectsCalls();
    fake->RequestPlace({10, 10, 50, 50});
    EXPECT_EQ(told + 1, fake->objectRectsCalls());
    const RECT rc = WindowRectIn(fake->serverWindow(), m_view.m_hWnd);
    const RECT expected = {-edgeX, -edgeY, 640 + edgeX, 480 + edgeY};
    EXPECT_TRUE(::EqualRect(&expected, &rc));

    // A control that asks again from inside SetObjectRects is not answered from inside, and not without end.
    fake->placeEchoes = true;
    m_view.MoveWindow(0, 0, 320, 240);
    EXPECT_EQ(told + 2, fake->objectRectsCalls());
}

TEST_F(Hosting, DestroyingTheDialogDeletesThePopupButNotTheView) {
    ASSERT_NE(nullptr, CreateViewAndFake());
    Fake()->RequestNewWindow(L"http://example.test/");
    ASSERT_NE(nullptr, m_view.GetPopupBrowser());
    ASSERT_EQ(2u, FakeBrowser::Live().size());

    m_dialog.DestroyWindow();
    EXPECT_EQ(nullptr, m_view.m_hWnd);
    EXPECT_EQ(nullptr, m_view.GetPopupBrowser());
    EXPECT_EQ(nullptr, m_view.GetBrowser());
    EXPECT_TRUE(FakeBrowser::Live().empty()) << "both browsers released";
    // The view object lives on and can be used again.
    EXPECT_EQ(L"", m_view.GetLocationNameSafe());
    m_view.Navigate2(L"http://example.test/");
}

TEST_F(Hosting, CreateAndDestroyCyclesLeaveNothingBehind) {
    auto cycle = [] {
        CHostDialog dialog;
        ASSERT_TRUE(dialog.Open());
        CTestHtmlCtrl view;
        ASSERT_TRUE(view.CreateOnPlaceholder(&dialog, IDC_START_PAGE));
        FakeBrowser* fake = FakeBrowser::ForHost(view.m_hWnd);
        ASSERT_NE(nullptr, fake);
        fake->RequestNewWindow(L"http://example.test/");
        fake->CompleteDocument(L"http://example.test/");
        ASSERT_NE(nullptr, view.GetPopupBrowser());
        dialog.DestroyWindow();
        PumpPending();
        Opened().clear();
    };
    cycle();
    const HeapUse before = HeapInUse();
    for (int i = 0; i < 20; ++i)
        cycle();
    const HeapUse after = HeapInUse();
    EXPECT_LE(after.all, before.all + 256) << "C runtime heap: " << before.crt << " before, " << after.crt;
    EXPECT_EQ(0u, OutstandingPostedStrings()) << "page notifications the destroyed dialogs never read";
}

TEST_F(Hosting, EndingTheViewObjectFirstStillFreesItsPopup) {
    auto* view = new CTestHtmlCtrl;
    ASSERT_TRUE(view->CreateOnPlaceholder(&m_dialog, IDC_START_PAGE));
    FakeBrowser* fake = FakeBrowser::ForHost(view->m_hWnd);
    ASSERT_NE(nullptr, fake);
    fake->RequestNewWindow(L"http://example.test/");
    ASSERT_NE(nullptr, view->GetPopupBrowser());
    delete view;
    EXPECT_EQ(nullptr, ::GetDlgItem(m_dialog.m_hWnd, IDC_START_PAGE));
    EXPECT_TRUE(FakeBrowser::Live().empty());
}

TEST_F(Hosting, EventsAfterDestructionReachNobody) {
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    fake->AddRef(); // outlive the view
    m_dialog.DestroyWindow();
    EXPECT_EQ(0u, fake->sinkCount());
    EXPECT_FALSE(fake->inPlaceActive());
    // Torn down in the order the control's contract asks.
    const std::vector<std::string> order = {"SetClientSite", "Unadvise", "InPlaceDeactivate", "Close(NOSAVE)",
                                            "SetClientSite(NULL)"};
    EXPECT_EQ(order, fake->hostCalls());
    EXPECT_FALSE(fake->ClickLink(L"http://h/?client=1&client=1"));
    fake->CompleteDocument(L"http://h/");
    PumpPending();
    EXPECT_TRUE(ReceivedLog().empty());
    EXPECT_EQ(0u, fake->Release()) << "the view kept a reference to the control";
}

TEST_F(Hosting, MalformedEventsAreIgnored) {
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);

    VARIANTARG args[7];
    for (auto& a : args)
        VariantInit(&a);
    fake->FireRaw(DISPID_BEFORENAVIGATE2, nullptr, 0);
    fake->FireRaw(DISPID_BEFORENAVIGATE2, args, 7); // Cancel is not a by-reference BOOL
    fake->FireRaw(DISPID_NEWWINDOW2, args, 2);
    fake->FireRaw(DISPID_NEWWINDOW2, args, 1);
    fake->FireRaw(DISPID_DOCUMENTCOMPLETE, args, 1);
    fake->FireRaw(DISPID_DOCUMENTCOMPLETE, args, 2); // no browser, no URL
    fake->FireRaw(DISPID_NAVIGATEERROR, args, 5);

    // A URL that is not a string counts as "": not taken over.
    VARIANT_BOOL cancel = VARIANT_TRUE;
    V_VT(&args[5]) = VT_I4;
    V_I4(&args[5]) = 42;
    V_VT(&args[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&args[0]) = &cancel;
    fake->FireRaw(DISPID_BEFORENAVIGATE2, args, 7);
    EXPECT_EQ(VARIANT_FALSE, cancel);

    PumpPending();
    EXPECT_TRUE(ReceivedLog().empty());
    EXPECT_TRUE(m_view.appUrls.empty());
    EXPECT_EQ(nullptr, m_view.GetPopupBrowser());
}

TEST_F(Hosting, ForeignPostsAreNeitherReadNorFreed) {
    ASSERT_TRUE(CreateView());
    // A string this process owns but never posted through a web view.
    auto* mine = new CString(L"not posted");
    int onStack = 0;
    const WPARAM bogus[] = {1, reinterpret_cast<WPARAM>(&onStack), reinterpret_cast<WPARAM>(mine),
                            static_cast<WPARAM>(-1)};
    for (UINT message : {WM_OPEN_GAME_URL, WM_PAGE_LOADED}) {
        for (WPARAM w : bogus) {
            ::PostMessageW(m_main.m_hWnd, message, w, 0);
            ::PostMessageW(m_dialog.m_hWnd, message, w, 0);
        }
    }
    // A real page notification, then the same wParam again once it has been claimed.
    Fake()->CompleteDocument(L"http://h/once");
    PumpPending();
    WPARAM claimed = 0;
    for (const Received& r : ReceivedOf(WM_PAGE_LOADED)) {
        if (r.claimed)
            claimed = r.wParam;
    }
    ASSERT_NE(0u, claimed);
    ::PostMessageW(m_dialog.m_hWnd, WM_PAGE_LOADED, claimed, 0);
    PumpPending();

    EXPECT_EQ(8u, ReceivedOf(WM_OPEN_GAME_URL).size());
    EXPECT_EQ(10u, ReceivedOf(WM_PAGE_LOADED).size());
    int claims = 0;
    for (const Received& r : ReceivedLog())
        claims += r.claimed ? 1 : 0;
    EXPECT_EQ(1, claims);
    EXPECT_EQ(L"not posted", *mine) << "never freed";
    delete mine;
}

TEST_F(Hosting, AStringIsClaimedOnlyWithTheMessageItWasPostedWith) {
    auto text = std::make_unique<CString>(L"http://h/");
    CString* raw = text.get();
    ASSERT_TRUE(PostOwnedString(m_main.m_hWnd, WM_PAGE_LOADED, std::move(text), 0));
    EXPECT_EQ(nullptr, ClaimPostedString(WM_OPEN_GAME_URL, reinterpret_cast<WPARAM>(raw)));
    PumpPending();
    ASSERT_EQ(1u, ReceivedOf(WM_PAGE_LOADED).size());
    EXPECT_TRUE(ReceivedOf(WM_PAGE_LOADED)[0].claimed);

    // Posting to a window that is gone frees the string at once.
    const HWND gone = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    ::DestroyWindow(gone);
    EXPECT_FALSE(PostOwnedString(gone, WM_PAGE_LOADED, std::make_unique<CString>(L"x"), 0));
    EXPECT_FALSE(PostOwnedString(m_main.m_hWnd, WM_PAGE_LOADED, nullptr, 0));
    EXPECT_EQ(0u, OutstandingPostedStrings());

    // So does a post that the system refuses (a full queue) to a window that lives on.
    void* realPost = PatchImport("user32.dll", "PostMessageW", reinterpret_cast<void*>(&RefusePost));
    ASSERT_NE(nullptr, realPost);
    const BOOL posted = PostOwnedString(m_main.m_hWnd, WM_PAGE_LOADED, std::make_unique<CString>(L"y"), 0);
    PatchImport("user32.dll", "PostMessageW", realPost);
    EXPECT_FALSE(posted);
    EXPECT_EQ(0u, OutstandingPostedStrings());
}

TEST_F(Hosting, PostsFromASecondProcessAreIgnored) {
    const int kCount = 50;
    const std::wstring arguments = std::to_wstring(reinterpret_cast<UINT_PTR>(m_main.m_hWnd)) + L" " +
                                   std::to_wstring(reinterpret_cast<UINT_PTR>(m_dialog.m_hWnd)) + L" " +
                                   std::to_wstring(kCount);
    const qxrv::test::ChildRun run = qxrv::test::RunBesideThisExe(QXRV_FOREIGN_POSTER, arguments, 10000);
    ASSERT_TRUE(run.ended);
    ASSERT_EQ(0u, run.exitCode);

    PumpPending();
    EXPECT_EQ(static_cast<size_t>(2 * kCount), ReceivedOf(WM_OPEN_GAME_URL).size());
    EXPECT_EQ(static_cast<size_t>(2 * kCount), ReceivedOf(WM_PAGE_LOADED).size());
    for (const Received& r : ReceivedLog())
        EXPECT_FALSE(r.claimed);
}

TEST_F(Hosting, MemoryStaysFlatOverAThousandNavigations) {
    ExtendWatchdog(120);
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    auto navigate = [&](int i) {
        const std::wstring n = std::to_wstring(i);
        m_view.Navigate2((L"http://h/page?n=" + n).c_str());
        m_view.Navigate2((L"http://h/game?n=" + n + L"&client=1").c_str());
        fake->RequestNewWindow((L"http://h/popup?n=" + n).c_str());
        fake->ClickLink(L"javascript:void(0)");
        PumpPending();
        for (FakeBrowser* each : FakeBrowser::Live())
            each->ClearRecords();
        ReceivedLog().clear();
        Opened().clear();
    };
    for (int i = 0; i < 200; ++i)
        navigate(i);
    const HeapUse before = HeapInUse();
    for (int i = 0; i < 1000; ++i)
        navigate(i);
    const HeapUse after = HeapInUse();
    std::printf("heap in use: %zu before, %zu after 1000 rounds (C runtime: %zu, %zu)\n", before.all,
                after.all, before.crt, after.crt);
    // A few bytes of slack for the allocators' own bookkeeping; a leak per round would be 1000 times that.
    EXPECT_LE(after.all, before.all + 1024);
    EXPECT_EQ(0u, OutstandingPostedStrings());
}

} // namespace
} // namespace qxrv::test
