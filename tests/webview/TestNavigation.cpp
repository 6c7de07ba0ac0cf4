// What the web view does with each navigation, "app:" command and new-window request (fake browser control).
#include "tests/webview/WebViewFixture.h"

#include "tests/support/WindowRects.h"

#include <exdispid.h>

namespace qxrv::test {
namespace {

using Navigation = WebViewFixture;

struct UrlCase {
    const wchar_t* url;
    bool taken;          // InterceptUrl's answer
    const wchar_t* app;  // text handed to OnAppUrl, or nullptr for no call
    const wchar_t* game; // text posted with WM_OPEN_GAME_URL, or nullptr for no post
};

const UrlCase kUrlCases[] = {
    {L"javascript:alert(1)", true, nullptr, nullptr},
    {L"javascript", true, nullptr, nullptr},
    {L"javascrip", false, nullptr, nullptr},
    {L"Javascript:alert(1)", false, nullptr, nullptr},
    {L"JAVASCRIPT:void(0)", false, nullptr, nullptr},
    {L"app:close", true, L"close", nullptr},
    {L"APP:Close", true, L"Close", nullptr},
    {L"aPp:", true, L"", nullptr},
    {L"http://h/?go=app:close", false, nullptr, nullptr},
    {L"http://h/p?a=1&client=1&b=2", true, nullptr, L"http://h/p?a=1&b=2"},
    {L"http://h/p?a=1&client=1&b=2&client=1", true, nullptr, L"http://h/p?a=1&b=2"},
    {L"http://h/?x&client&client=1=1", true, nullptr, L"http://h/?x&client=1"},
    {L"&client=1", true, nullptr, L""},
    {L"http://h/p?a=1&Client=1", false, nullptr, nullptr},
    {L"javascript:go('&client=1')", true, nullptr, nullptr},
    {L"app:play&client=1", true, L"play&client=1", nullptr},
    {L"about:blank", false, nullptr, nullptr},
};

TEST_F(Navigation, InterceptUrlTakesOverByTheFirstMatchingRule) {
    ASSERT_TRUE(CreateView());
    for (const UrlCase& c : kUrlCases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - kUrlCases));
        ReceivedLog().clear();
        m_view.appUrls.clear();

        EXPECT_EQ(c.taken, m_view.InterceptUrl(c.url) != FALSE);
        PumpPending();

        if (c.app) {
            ASSERT_EQ(1u, m_view.appUrls.size());
            EXPECT_EQ(std::wstring(c.app), m_view.appUrls[0]);
        } else {
            EXPECT_TRUE(m_view.appUrls.empty());
        }
        const std::vector<Received> games = ReceivedOf(WM_OPEN_GAME_URL);
        if (c.game) {
            ASSERT_EQ(1u, games.size());
            EXPECT_EQ(m_main.m_hWnd, games[0].to);
            EXPECT_TRUE(games[0].claimed);
            EXPECT_EQ(std::wstring(c.game), games[0].text);
            EXPECT_EQ(static_cast<LPARAM>(IDC_START_PAGE), games[0].lParam);
        } else {
            EXPECT_TRUE(games.empty());
        }
        EXPECT_TRUE(ReceivedOf(WM_PAGE_LOADED).empty());
        EXPECT_TRUE(ReceivedOf(WM_COMMAND).empty());
    }
}

TEST_F(Navigation, GameLinkWithoutMainWindowIsCancelledAndPostsNothing) {
    ASSERT_TRUE(CreateView());
    AfxGetApp()->m_pMainWnd = NULL;
    EXPECT_TRUE(m_view.InterceptUrl(L"http://h/?a&client=1"));
    AfxGetApp()->m_pMainWnd = &m_main;
    PumpPending();
    EXPECT_TRUE(ReceivedOf(WM_OPEN_GAME_URL).empty());
    EXPECT_EQ(0u, OutstandingPostedStrings());
}

TEST_F(Navigation, ClickedLinksAreCancelledExactlyWhenTakenOver) {
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    for (const UrlCase& c : kUrlCases) {
        for (bool inFrame : {false, true}) {
            ReceivedLog().clear();
            EXPECT_EQ(c.taken, fake->ClickLink(c.url, inFrame)) << "case " << (&c - kUrlCases);
            PumpPending();
            EXPECT_EQ(c.game ? 1u : 0u, ReceivedOf(WM_OPEN_GAME_URL).size());
        }
    }
}

TEST_F(Navigation, AppUrlPostsOneCommandPerMatchingRowInTableOrder) {
    static const APP_URL_ENTRY kTable[] = {
        {L"close", 3001}, {L"other", 3002}, {L"Close", 3003}, {L"closex", 3004}, {NULL, 3999},
    };
    struct {
        const wchar_t* url;
        std::vector<WPARAM> commands;
    } const cases[] = {
        {L"app:CLOSE", {3001, 3003}},
        {L"app:other", {3002}},
        {L"app:close now", {}},
        {L"app:", {}},
    };
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);

    // No table: the navigation is only cancelled.
    EXPECT_TRUE(fake->ClickLink(L"app:close"));
    PumpPending();
    EXPECT_TRUE(ReceivedOf(WM_COMMAND).empty());

    m_view.m_pAppUrlTable = kTable;
    for (const auto& c : cases) {
        ReceivedLog().clear();
        EXPECT_TRUE(fake->ClickLink(c.url));
        PumpPending();
        std::vector<WPARAM> got;
        for (const Received& r : ReceivedOf(WM_COMMAND)) {
            EXPECT_EQ(m_dialog.m_hWnd, r.to);
            EXPECT_EQ(0, r.lParam);
            got.push_back(r.wParam);
        }
        EXPECT_EQ(c.commands, got);
    }
}

TEST_F(Navigation, PopupBrowserIsMadeOnceAndSendsOnlyWebUrlsToTheShell) {
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    const int created = FakeBrowser::CreatedCount();

    bool cancelled = true;
    IDispatch* first = fake->RequestNewWindow(L"http://example.test/a", &cancelled);
    EXPECT_FALSE(cancelled);
    CHtmlCtrl* popup = m_view.GetPopupBrowser();
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(created + 1, FakeBrowser::CreatedCount());
    EXPECT_TRUE(popup->IsOpenInShell());
    EXPECT_EQ(static_cast<int>(ID_POPUP_BROWSER), ::GetDlgCtrlID(popup->m_hWnd));
    EXPECT_EQ(m_view.m_hWnd, ::GetParent(popup->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(popup->m_hWnd));
    const RECT rc = WindowRectOf(popup->m_hWnd);
    EXPECT_EQ(100, rc.right - rc.left);
    EXPECT_EQ(200, rc.bottom - rc.top);
    FakeBrowser* popupFake = FakeBrowser::ForHost(popup->m_hWnd);
    ASSERT_NE(nullptr, popupFake);
    EXPECT_EQ(static_cast<IDispatch*>(static_cast<IWebBrowser2*>(popupFake)), first);

    const wchar_t* const urls[] = {
        L"http://example.test/b",
        L"HTTPS://example.test/c",
        L"file:///c:/windows/notepad.exe",
        L"c:\\windows\\system32\\calc.exe",
        L"\\\\server\\share\\x.exe",
        L"javascript:alert(1)",
        L"app:close",
        L"about:blank",
        L"mailto:someone@example.test",
        L"ms-settings:",
        L"httpx://h/",
        L"http",
        L"http://h/?a&client=1",
    };
    for (const wchar_t* url : urls) {
        IDispatch* again = fake->RequestNewWindow(url, &cancelled);
        EXPECT_EQ(first, again);
        EXPECT_FALSE(cancelled);
        EXPECT_TRUE(popupFake->ClickLink(url)) << "every pop-up navigation is cancelled";
    }
    EXPECT_EQ(created + 1, FakeBrowser::CreatedCount());
    EXPECT_EQ(popup, m_view.GetPopupBrowser());

    // Each web URL twice: once from the new-window request, once from the click.
    const std::vector<std::wstring> expected = {
        L"http://example.test/a",  L"http://example.test/b",  L"http://example.test/b",
        L"HTTPS://example.test/c", L"HTTPS://example.test/c", L"http://h/?a&client=1",
        L"http://h/?a&client=1",
    };
    EXPECT_EQ(expected, Opened());
    PumpPending();
    EXPECT_TRUE(ReceivedOf(WM_OPEN_GAME_URL).empty());
    EXPECT_TRUE(popupFake->completions().empty());

    // Its parent is the view, which reads no page notices: a completed document posts none.
    popupFake->CompleteDocument(L"about:blank");
    PumpPending();
    EXPECT_EQ(0u, OutstandingPostedStrings());
}

TEST_F(Navigation, NewWindowIsRefusedWhileNoPopupBrowserCanBeMade) {
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    // Without a browser to take the page, the control would open a window of its own.
    FakeBrowser::failNextActivation = true;
    bool cancelled = false;
    EXPECT_EQ(nullptr, fake->RequestNewWindow(L"http://example.test/a", &cancelled));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(nullptr, m_view.GetPopupBrowser());
    EXPECT_EQ(1u, FakeBrowser::Live().size());
    EXPECT_TRUE(Opened().empty());

    // The next request tries again.
    EXPECT_NE(nullptr, fake->RequestNewWindow(L"http://example.test/b", &cancelled));
    EXPECT_FALSE(cancelled);
    EXPECT_NE(nullptr, m_view.GetPopupBrowser());
    EXPECT_EQ(std::vector<std::wstring>{L"http://example.test/b"}, Opened());

    // A request the control has refused already stays refused, though a pop-up browser is at hand.
    fake->RequestNewWindow(L"http://example.test/c", &cancelled, true);
    EXPECT_TRUE(cancelled);
}

TEST_F(Navigation, DocumentCompletePostsOnlyForTheTopLevelBrowser) {
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    fake->CompleteDocument(L"http://h/frame", false);
    fake->CompleteDocument(L"http://h/top", true);
    fake->CompleteDocument(L"http://h/top2", true);
    // The URL may also come as a string by reference.
    BSTR byRef = ::SysAllocString(L"http://h/byref");
    VARIANTARG args[2];
    V_VT(&args[0]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&args[0]) = &byRef;
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = static_cast<IWebBrowser2*>(fake);
    fake->FireRaw(DISPID_DOCUMENTCOMPLETE, args, 2);
    ::SysFreeString(byRef);
    PumpPending();
    const std::vector<Received> loaded = ReceivedOf(WM_PAGE_LOADED);
    ASSERT_EQ(3u, loaded.size());
    for (const Received& r : loaded) {
        EXPECT_EQ(m_dialog.m_hWnd, r.to);
        EXPECT_TRUE(r.claimed);
        EXPECT_EQ(0, r.lParam);
    }
    EXPECT_EQ(L"http://h/top", loaded[0].text);
    EXPECT_EQ(L"http://h/top2", loaded[1].text);
    EXPECT_EQ(L"http://h/byref", loaded[2].text);

    // Navigate2 goes through the same rules; an allowed page completes and is reported.
    ReceivedLog().clear();
    m_view.Navigate2(L"http://h/next");
    m_view.Navigate2(L"http://h/game?x&client=1");
    ASSERT_TRUE(PumpUntil([] { return !ReceivedOf(WM_PAGE_LOADED).empty(); }, 2000));
    PumpFor(50);
    ASSERT_EQ(1u, ReceivedOf(WM_PAGE_LOADED).size());
    EXPECT_EQ(L"http://h/next", ReceivedOf(WM_PAGE_LOADED)[0].text);
    ASSERT_EQ(1u, ReceivedOf(WM_OPEN_GAME_URL).size());
    EXPECT_EQ(L"http://h/game?x", ReceivedOf(WM_OPEN_GAME_URL)[0].text);
}

TEST_F(Navigation, OnGetHostInfoAddsExactlyBorderScrollAndThemeFlags) {
    const DWORD kInitial[] = {0, DOCHOSTUIFLAG_NO3DBORDER, DOCHOSTUIFLAG_DIALOG | 0x100000, 0xFFFFFFFF};
    for (DWORD initial : kInitial) {
        DOCHOSTUIINFO info = {};
        info.cbSize = sizeof(info);
        info.dwFlags = initial;
        info.dwDoubleClick = 7;
        EXPECT_EQ(S_OK, m_view.OnGetHostInfo(&info));
        EXPECT_EQ(initial | 0x4000Cu, info.dwFlags);
        EXPECT_EQ(7u, info.dwDoubleClick);
    }
    // The browser asks through COM while it activates.
    ASSERT_NE(nullptr, CreateViewAndFake());
    EXPECT_TRUE(Fake()->hostInfoAsked());
    EXPECT_EQ(0x4000Cu, Fake()->hostFlags());
}

TEST_F(Navigation, LocationNameIsEmptyWheneverTheBrowserCannotGiveIt) {
    EXPECT_EQ(L"", m_view.GetLocationNameSafe()) << "no browser yet";
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    struct {
        FakeBrowser::NameAnswer answer;
        const wchar_t* expected;
    } const cases[] = {
        {FakeBrowser::NameAnswer::Name, L"Fake page"},
        {FakeBrowser::NameAnswer::Fail, L""},
        {FakeBrowser::NameAnswer::NoString, L""},
        {FakeBrowser::NameAnswer::Throw, L""},
    };
    for (const auto& c : cases) {
        fake->nameAnswer = c.answer;
        EXPECT_EQ(CString(c.expected), m_view.GetLocationNameSafe());
    }
}

TEST_F(Navigation, ContextMenuFilterSwallowsOnlyPageRightClicksWhenSet) {
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    const HWND page = fake->serverWindow();
    const HWND other = fake->window(); // the control's own window: another class
    ASSERT_TRUE(page && other);
    const UINT messages[] = {WM_CONTEXTMENU, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK};
    for (BOOL option : {FALSE, TRUE}) {
        m_view.m_bNoContextMenu = option;
        for (HWND target : {page, other}) {
            for (UINT message : messages) {
                m_view.contextMenus = 0;
                ReceivedLog().clear();
                MSG msg = {target, message, MK_RBUTTON, MAKELPARAM(5, 6), 0, {5, 6}};
                const bool swallowed = option && target == page;
                EXPECT_EQ(swallowed, m_view.PreTranslateMessage(&msg) != FALSE)
                    << "option " << option << " message " << message << " page " << (target == page);
                EXPECT_EQ(swallowed && message == WM_RBUTTONUP ? 1 : 0, m_view.contextMenus);
                EXPECT_TRUE(ReceivedOf(WM_CONTEXTMENU).empty()) << "the view keeps WM_CONTEXTMENU to itself";
            }
        }
    }
}

TEST_F(Navigation, KeysForThePageAreOfferedToTheBrowserFirst) {
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    MSG enter = {fake->serverWindow(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    fake->acceleratorAnswer = S_FALSE;
    EXPECT_FALSE(m_view.PreTranslateMessage(&enter));
    EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), fake->lastAccelerator().message);
    fake->acceleratorAnswer = S_OK;
    EXPECT_TRUE(m_view.PreTranslateMessage(&enter));

    MSG elsewhere = {m_dialog.m_hWnd, WM_KEYUP, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(m_view.PreTranslateMessage(&elsewhere));
    EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), fake->lastAccelerator().message) << "not offered";
}

} // namespace
} // namespace qxrv::test
