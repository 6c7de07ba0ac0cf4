// The start-page dialog with a scripted browser: the page shows only once the start URL itself has loaded.
#include "app/QXRVClientDlg.h"
#include "app/StartUrl.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "tests/app/AppTestKit.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/Pump.h"
#include "webview/PostedString.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace qxrv::test;

namespace {

// The tests' own start page server, as this build was configured.
std::wstring Host() {
    return QXRV_TEST_START_HOST;
}

// Counts WM_CLOSE reaching the owner, which the overlay's own OK and Cancel would send.
int g_ownerCloses = 0;
WNDPROC g_ownerProc = NULL;

LRESULT CALLBACK CountOwnerCloses(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++g_ownerCloses;
        return 0;
    }
    return ::CallWindowProcW(g_ownerProc, hwnd, message, wParam, lParam);
}

class StartPage : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_session.ok());
        ASSERT_TRUE(m_owner.CreateEx(0, NULL, L"owner", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
        g_ownerCloses = 0;
        g_ownerProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            m_owner.GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountOwnerCloses)));
        m_pDlg = std::make_unique<CQXRVClientDlg>(&m_owner);
        ASSERT_TRUE(m_pDlg->Create(IDD_START_PAGE, &m_owner));
        // Nothing has loaded yet: the start page's own completion waits in the queue. Drop it, so each case
        // below completes exactly the document it names.
        m_pFake = FakeBrowser::ForHost(View());
        ASSERT_NE(nullptr, m_pFake);
        m_pFake->autoComplete = false;
        m_pFake->Stop();
        PumpPending();
    }

    void TearDown() override {
        if (m_pDlg && m_pDlg->GetSafeHwnd())
            m_pDlg->DestroyWindow();
        m_pDlg.reset();
        if (m_owner.GetSafeHwnd()) {
            ::SetWindowLongPtrW(m_owner.GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_ownerProc));
            m_owner.DestroyWindow();
        }
        PumpPending();
    }

    HWND View() const { return m_pDlg->m_web.GetSafeHwnd(); }
    bool ViewShown() const { return Shown(View()); }

    FakeBrowserSession m_session; // first: the windows below go before it
    CWnd m_owner;
    std::unique_ptr<CQXRVClientDlg> m_pDlg;
    FakeBrowser* m_pFake = nullptr;
};

TEST_F(StartPage, IsAColourKeyedOverlayThatStartsLoadingTheStartPageHidden) {
    EXPECT_EQ(m_owner.GetSafeHwnd(), ::GetWindow(m_pDlg->GetSafeHwnd(), GW_OWNER));
    EXPECT_TRUE(::IsWindowVisible(m_pDlg->GetSafeHwnd()));
    EXPECT_TRUE(::GetWindowLongW(m_pDlg->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(m_pDlg->GetSafeHwnd(), &key, NULL, &flags));
    EXPECT_EQ(RGB(0, 255, 0), key);
    EXPECT_TRUE(flags & LWA_COLORKEY);

    EXPECT_EQ(IDC_START_PAGE, ::GetDlgCtrlID(View()));
    EXPECT_FALSE(ViewShown());
    ASSERT_EQ(1u, m_pFake->navigations().size());
    EXPECT_EQ(std::wstring(StartUrl()), m_pFake->navigations().front());
    EXPECT_EQ(L"http://" + Host() + L"/weiduan/lyc", std::wstring(StartUrl()));

    // The view fills the dialog whatever size the main window gives it.
    m_pDlg->SetWindowPos(NULL, 0, 0, 708, 508, SWP_NOZORDER);
    const RECT rc = ChildRectOf(View());
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(708, rc.right);
    EXPECT_EQ(508, rc.bottom);
}

TEST_F(StartPage, ShowsThePageOnlyOnceTheStartUrlItselfHasLoaded) {
    const std::wstring start = StartUrl();
    struct Completion {
        std::wstring url;
        bool topLevel;
        bool shownAfter;
    } completions[] = {
        {start + L"/", true, false},
        {L"HTTP://" + Host() + L"/WEIDUAN/LYC", true, false},
        {L"http://" + Host() + L"/weiduan/Lyc", true, false},
        {start + L"?from=launcher", true, false},
        {start + L"#top", true, false},
        {start + L"/index.html", true, false}, // where a redirect might end
        {start, false, false},                 // a frame at that address
        {start, true, true},
        {L"http://" + Host() + L"/news", true, true}, // once shown, it stays shown
        {L"about:blank", true, true},
    };
    for (const Completion& c : completions) {
        m_pFake->CompleteDocument(c.url.c_str(), c.topLevel);
        PumpPending();
        EXPECT_EQ(c.shownAfter, ViewShown()) << std::string(c.url.begin(), c.url.end());
        EXPECT_EQ(0u, OutstandingPostedStrings()) << "every string is claimed and deleted";
    }
}

TEST_F(StartPage, IgnoresStringsNoViewPosted) {
    CString lookalike(StartUrl());
    const WPARAM foreign[] = {0, 1, reinterpret_cast<WPARAM>(&lookalike), reinterpret_cast<WPARAM>(&foreign)};
    for (const WPARAM wParam : foreign)
        ::PostMessageW(m_pDlg->GetSafeHwnd(), WM_PAGE_LOADED, wParam, 0);
    PumpPending();
    EXPECT_FALSE(ViewShown());
    EXPECT_STREQ(StartUrl(), lookalike);
}

TEST_F(StartPage, EnterEscapeOkAndCancelLeaveTheOverlayAlone) {
    const HWND dlg = m_pDlg->GetSafeHwnd();
    ::SetFocus(dlg);
    for (const UINT key : {UINT(VK_RETURN), UINT(VK_ESCAPE)}) {
        ::PostMessageW(::GetFocus() ? ::GetFocus() : dlg, WM_KEYDOWN, key, 0x00010001);
        PumpPending(true);
    }
    for (const WPARAM id : {WPARAM(IDOK), WPARAM(IDCANCEL)}) {
        ::SendMessageW(dlg, WM_COMMAND, id, 0);
        PumpPending(true);
    }
    EXPECT_TRUE(::IsWindowVisible(dlg));
    EXPECT_TRUE(::IsWindow(dlg));
    EXPECT_EQ(0, g_ownerCloses) << "the owner is never asked to close";
}

} // namespace
