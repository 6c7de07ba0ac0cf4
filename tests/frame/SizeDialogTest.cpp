// The borderless dialog on a real window: hit codes, cursors, the move clamp, tracking sizes, the requests
// it sends itself, and the system-frame variant with stand-in system libraries.
//
// While the probe records, it logs and swallows WM_SYSCOMMAND and logs the default handling instead of
// running it, so the system's move and size loops are not entered; one test drives those loops with real
// pointer input.
#include "framework/Prelude.h"

#include "frame/OptionalLibraryNames.h"
#include "frame/SizeDialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "tests/frame/FakeSystemLibrary.h"
#include "tests/frame/PointerInput.h"
#include "tests/support/ExeFolder.h"
#include "tests/support/MessageLog.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <string>
#include <thread>
#include <vector>

namespace {

const LPCWSTR kFakeLibrary = L"qxrv_fake_syslib.dll";
const LPCWSTR kBareLibrary = L"qxrv_fake_bare.dll";
const LPCWSTR kMissingLibrary = L"qxrv_no_such_library.dll";

// The system folder, the only one the frame kit loads its libraries from, with a backslash at the end.
std::wstring SystemFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetSystemDirectoryW(path, MAX_PATH);
    return std::wstring(path) + L"\\";
}

// Copies of the stand-ins in the system folder for the length of the run (the test bench's Wine prefix
// belongs to this build alone).
class CStandInsInTheSystemFolder : public testing::Environment {
public:
    void SetUp() override {
        for (LPCWSTR name : {kFakeLibrary, kBareLibrary})
            ASSERT_TRUE(
                ::CopyFileW(qxrv::test::BesideThisExe(name).c_str(), (SystemFolder() + name).c_str(), FALSE))
                << "cannot write to " << testing::PrintToString(SystemFolder());
    }
    void TearDown() override {
        for (LPCWSTR name : {kFakeLibrary, kBareLibrary})
            ::DeleteFileW((SystemFolder() + name).c_str());
    }
};
testing::Environment* const g_pStandIns = testing::AddGlobalTestEnvironment(new CStandInsInTheSystemFolder);

using qxrv::test::kParams;

class CProbeDialog : public CSizeDialog {
public:
    using CSizeDialog::m_bCompositionEnabled;
    using CSizeDialog::m_bFrameLocked;
    using CSizeDialog::m_bUseDwmFrame;
    using CSizeDialog::m_ptMaxTrackSize;
    using CSizeDialog::m_ptMinTrackSize;

    // "sent": a message the window itself sent while recording; "default": the default handling it got.
    qxrv::test::MessageLog calls;
    RECT rcSeen = {}; // WM_NCCALCSIZE: rgrc[0]; WM_MOVING: the rectangle, as the default handling saw them
    MINMAXINFO mmiSeen{}; // WM_GETMINMAXINFO, as the default handling saw it
    bool bRecording = false;
    LRESULT defaultResult = 0; // what the logged default handling answers

    DWORD dwStyleBeforeInit = 0;
    DWORD dwStyleAfterInit = 0;
    CRect rcClientBeforeInit;
    CRect rcClientAfterInit;
    BOOL bInitResult = FALSE;

    // Creates the window from the template the constructor chose, with the options set first.
    BOOL CreateHidden(bool bUseDwmFrame = false, bool bFrameLocked = false) {
        m_bUseDwmFrame = bUseDwmFrame;
        m_bFrameLocked = bFrameLocked;
        return Create(m_lpszTemplateName, NULL);
    }

    // Sends a message with the log on; returns the result.
    LRESULT Record(UINT message, WPARAM wParam, LPARAM lParam) {
        calls.Clear();
        bRecording = true;
        const LRESULT result = ::SendMessageW(m_hWnd, message, wParam, lParam);
        bRecording = false;
        return result;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (bRecording && (message == WM_SYSCOMMAND || message == WM_NCLBUTTONDOWN)) {
            calls.Add("sent", message, wParam, lParam);
            if (message == WM_SYSCOMMAND)
                return 0;
        }
        return CSizeDialog::WindowProc(message, wParam, lParam);
    }

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (!bRecording)
            return CSizeDialog::DefWindowProc(message, wParam, lParam);
        if (message == WM_NCCALCSIZE)
            rcSeen = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
        else if (message == WM_MOVING)
            rcSeen = *reinterpret_cast<RECT*>(lParam);
        else if (message == WM_GETMINMAXINFO)
            mmiSeen = *reinterpret_cast<MINMAXINFO*>(lParam);
        calls.Add("default", message, wParam, lParam);
        return defaultResult;
    }

    BOOL OnInitDialog() override {
        dwStyleBeforeInit = GetStyle();
        GetClientRect(&rcClientBeforeInit);
        bInitResult = CSizeDialog::OnInitDialog();
        dwStyleAfterInit = GetStyle();
        GetClientRect(&rcClientAfterInit);
        return bInitResult;
    }
};

// Points the dialog's optional libraries elsewhere for one test.
class CLibraryNames {
public:
    CLibraryNames(LPCWSTR pszUxTheme, LPCWSTR pszDwmApi)
        : m_pszUxTheme(frame_detail::g_pszUxThemeLibrary), m_pszDwmApi(frame_detail::g_pszDwmApiLibrary) {
        frame_detail::g_pszUxThemeLibrary = pszUxTheme;
        frame_detail::g_pszDwmApiLibrary = pszDwmApi;
    }
    ~CLibraryNames() {
        frame_detail::g_pszUxThemeLibrary = m_pszUxTheme;
        frame_detail::g_pszDwmApiLibrary = m_pszDwmApi;
    }

private:
    LPCWSTR m_pszUxTheme;
    LPCWSTR m_pszDwmApi;
};

// Holds the stand-in library loaded so that its record survives the dialog's own load and release.
class CFakeSystem {
public:
    CFakeSystem() : m_library(AfxLoadSystemLibrary(kFakeLibrary)) {
        if (auto pfn = m_library.GetProc<FakeSystemCallsFn>(FAKE_SYSTEM_CALLS_EXPORT)) {
            m_pCalls = pfn();
            *m_pCalls = FakeSystemCalls{};
        }
    }
    // Gives the test's reference back; TRUE when that was the last one, so nobody else kept the library.
    bool ReleaseWasLast() {
        m_library.Reset();
        return ::GetModuleHandleW(kFakeLibrary) == NULL;
    }
    bool IsLoaded() const { return m_pCalls != nullptr; }
    FakeSystemCalls& Calls() { return *m_pCalls; }

private:
    CLibraryHandle m_library;
    FakeSystemCalls* m_pCalls = nullptr;
};

LPARAM PointParam(int x, int y) {
    return MAKELPARAM(x, y);
}

// Places the window; no WM_WINDOWPOSCHANGING, so the system does not apply the tracking sizes.
void Place(CWnd& wnd, int x, int y, int cx, int cy) {
    ::SetWindowPos(wnd.m_hWnd, NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
}

std::string RectText(const RECT& rc) {
    char text[96];
    std::snprintf(text, sizeof(text), "(%ld, %ld)-(%ld, %ld)", rc.left, rc.top, rc.right, rc.bottom);
    return text;
}

class SizeDialogTest : public testing::Test {
protected:
    void SetUp() override {
        // Keep the real pointer away from the windows under test.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    void TearDown() override {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
        qxrv::test::PumpPending();
    }
    void Create(bool bUseDwmFrame = false, bool bFrameLocked = false) {
        ASSERT_TRUE(dlg.CreateHidden(bUseDwmFrame, bFrameLocked));
    }

    CProbeDialog dlg;
};

TEST_F(SizeDialogTest, StartsWithItsDefaultsAndTheGameTemplate) {
    EXPECT_STREQ("CSizeDialog", RUNTIME_CLASS(CSizeDialog)->m_lpszClassName);
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_EQ(100, dlg.m_ptMinTrackSize.x);
    EXPECT_EQ(100, dlg.m_ptMinTrackSize.y);
    EXPECT_EQ(::GetSystemMetrics(SM_CXVIRTUALSCREEN), dlg.m_ptMaxTrackSize.x);
    EXPECT_EQ(::GetSystemMetrics(SM_CYVIRTUALSCREEN), dlg.m_ptMaxTrackSize.y);
    EXPECT_FALSE(dlg.m_bFrameLocked);
    EXPECT_FALSE(dlg.m_bCompositionEnabled);
    EXPECT_FALSE(dlg.m_bUseDwmFrame);

    Create();
    EXPECT_EQ(NULL, ::GetParent(dlg.m_hWnd));
    // The controls of the game window's template.
    for (int nID : {IDC_MINIMIZE, IDC_CLOSE, IDC_RESTORE, IDC_MAXIMIZE, IDC_GAME_PAGE})
        EXPECT_NE(nullptr, ::GetDlgItem(dlg.m_hWnd, nID)) << nID;
}

TEST_F(SizeDialogTest, FrameSetUpRewritesOnlyTheStyleBits) {
    for (bool bUseDwmFrame : {false, true}) {
        SCOPED_TRACE(bUseDwmFrame ? "system-frame variant" : "frameless variant");
        CFakeSystem fake;
        ASSERT_TRUE(fake.IsLoaded());
        CLibraryNames names(kFakeLibrary, kFakeLibrary);
        CProbeDialog probe;
        ASSERT_TRUE(probe.CreateHidden(bUseDwmFrame));

        const DWORD dwExpected =
            (probe.dwStyleBeforeInit & ~0x00CF0000UL) | (bUseDwmFrame ? 0x000F0000UL : 0x000B0000UL);
        EXPECT_EQ(dwExpected, probe.dwStyleAfterInit)
            << std::hex << "before 0x" << probe.dwStyleBeforeInit << ", after 0x" << probe.dwStyleAfterInit;
        EXPECT_TRUE(probe.bInitResult);
        // No frame change was asked for: the client area stays as the old frame left it.
        EXPECT_EQ(probe.rcClientBeforeInit, probe.rcClientAfterInit);
        // Only the system-frame variant touches the theme and composition calls.
        EXPECT_EQ(bUseDwmFrame ? 1 : 0, fake.Calls().nSetWindowTheme);
        EXPECT_EQ(bUseDwmFrame ? 1 : 0, fake.Calls().nSetWindowAttribute);
        EXPECT_EQ(bUseDwmFrame ? 1 : 0, fake.Calls().nIsCompositionEnabled);
        probe.DestroyWindow();
    }
}

struct HitCase {
    int x, y;
    LRESULT expected;
};

// Sends WM_NCHITTEST for each point to a window placed at rc; no point may get the default handling.
void ExpectHits(CProbeDialog& dlg, const RECT& rc, const std::vector<HitCase>& cases) {
    Place(dlg, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    CRect rcActual;
    dlg.GetWindowRect(&rcActual);
    ASSERT_EQ(CRect(rc), rcActual);
    for (const HitCase& c : cases) {
        const LRESULT code = dlg.Record(WM_NCHITTEST, 0, PointParam(c.x, c.y));
        EXPECT_EQ(c.expected, code) << "window " << RectText(rc) << ", point (" << c.x << ", " << c.y << ")";
        EXPECT_TRUE(dlg.calls.Matches({})) << "default handling ran for (" << c.x << ", " << c.y << ")";
    }
}

const std::vector<HitCase> kHitCases800x600 = {
    {105, 300, HTLEFT},
    {106, 300, HTCLIENT},
    {895, 300, HTRIGHT},
    {894, 300, HTCLIENT},
    {300, 105, HTTOP},
    {300, 106, HTCLIENT},
    {300, 695, HTBOTTOM},
    {300, 694, HTCLIENT},
    {105, 105, HTTOPLEFT},
    {895, 105, HTTOPRIGHT},
    {105, 695, HTBOTTOMLEFT},
    {895, 695, HTBOTTOMRIGHT},
    {100, 100, HTTOPLEFT},
    {899, 699, HTBOTTOMRIGHT},
    // Outside the rectangle: the band on that side.
    {50, 300, HTLEFT},
    {950, 300, HTRIGHT},
    {300, 50, HTTOP},
    {300, 750, HTBOTTOM},
    {500, 400, HTCLIENT},
};

TEST_F(SizeDialogTest, HitTestingFindsTheBands) {
    Create();
    ExpectHits(dlg, CRect(100, 100, 900, 700), kHitCases800x600);
    // Where the bands overlap, corners come first, then the top, then the right side.
    ExpectHits(dlg, CRect(0, 0, 10, 300), {{5, 3, HTTOPLEFT}, {5, 297, HTBOTTOMLEFT}, {5, 150, HTRIGHT}});
    // Left of and above the primary monitor: coordinates are compared signed.
    ExpectHits(dlg, CRect(-400, -300, 400, 300),
               {{-395, 0, HTLEFT},
                {-394, 0, HTCLIENT},
                {0, -295, HTTOP},
                {-500, -400, HTTOPLEFT},
                {0, 0, HTCLIENT}});
}

TEST_F(SizeDialogTest, LockedFrameIsClientEverywhereAndNeitherDragsNorSizes) {
    Create(false, true);
    std::vector<HitCase> locked = kHitCases800x600;
    for (HitCase& c : locked)
        c.expected = HTCLIENT;
    ExpectHits(dlg, CRect(100, 100, 900, 700), locked);

    // A press on the client area only gets the default handling: no caption-drag request.
    dlg.Record(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(30, 40));
    EXPECT_TRUE(dlg.calls.Matches({{"default", WM_LBUTTONDOWN, kParams, MK_LBUTTON, PointParam(30, 40)}}));
}

TEST_F(SizeDialogTest, MaximisedWindowFillsTheWorkAreaAndIsClientEverywhere) {
    Create();
    ASSERT_EQ(1, ::GetSystemMetrics(SM_CMONITORS));
    RECT rcWork;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0));
    std::printf("work area %s\n", RectText(rcWork).c_str());

    dlg.ShowWindow(SW_MAXIMIZE);
    qxrv::test::PumpPending();
    ASSERT_TRUE(dlg.IsZoomed());
    CRect rc;
    dlg.GetWindowRect(&rc);
    EXPECT_EQ(CRect(rcWork), rc) << "maximised to " << RectText(rc);

    for (POINT pt :
         {POINT{rc.left, rc.top}, POINT{rc.left + 2, rc.top + 300}, POINT{rc.right - 1, rc.bottom - 1},
          POINT{rc.left + 300, rc.bottom - 3}, POINT{rc.right + 40, rc.top + 10}})
        EXPECT_EQ(HTCLIENT, dlg.Record(WM_NCHITTEST, 0, PointParam(pt.x, pt.y))) << pt.x << ", " << pt.y;

    // A press on the client area still asks for the caption drag.
    POINT ptScreen = {30, 40};
    ::ClientToScreen(dlg.m_hWnd, &ptScreen);
    dlg.Record(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(30, 40));
    const LPARAM lScreen = PointParam(ptScreen.x, ptScreen.y);
    EXPECT_TRUE(dlg.calls.Matches({{"sent", WM_NCLBUTTONDOWN, kParams, HTCAPTION, lScreen},
                                   {"default", WM_NCLBUTTONDOWN, kParams, HTCAPTION, lScreen},
                                   {"default", WM_LBUTTONDOWN, kParams, MK_LBUTTON, PointParam(30, 40)}}));
}

TEST_F(SizeDialogTest, ClientPressAsksForTheCaptionDragAtTheScreenPoint) {
    Create();
    // Once left of and above the primary monitor, so the packed screen point has negative halves.
    for (POINT origin : {POINT{200, 150}, POINT{-300, -120}}) {
        Place(dlg, origin.x, origin.y, 640, 480);
        POINT ptScreen = {30, 40};
        ::ClientToScreen(dlg.m_hWnd, &ptScreen);
        dlg.Record(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(30, 40));

        SCOPED_TRACE(testing::Message() << "window at " << origin.x << ", " << origin.y);
        const LPARAM lScreen = PointParam(ptScreen.x, ptScreen.y);
        // HTCAPTION is no band: the request only gets the default handling (the system's move loop), then the
        // press gets its own.
        EXPECT_TRUE(
            dlg.calls.Matches({{"sent", WM_NCLBUTTONDOWN, kParams, HTCAPTION, lScreen},
                               {"default", WM_NCLBUTTONDOWN, kParams, HTCAPTION, lScreen},
                               {"default", WM_LBUTTONDOWN, kParams, MK_LBUTTON, PointParam(30, 40)}}));
    }
}

TEST_F(SizeDialogTest, BandPressesAskForSizingFromThatEdge) {
    struct Case {
        UINT nHitTest;
        WPARAM nCommand; // 0: no request, only the default handling
    };
    const Case cases[] = {
        {HTLEFT, 0xF001},     {HTRIGHT, 0xF002},  {HTTOP, 0xF003},        {HTTOPLEFT, 0xF004},
        {HTTOPRIGHT, 0xF005}, {HTBOTTOM, 0xF006}, {HTBOTTOMLEFT, 0xF007}, {HTBOTTOMRIGHT, 0xF008},
        {HTCAPTION, 0},       {HTCLIENT, 0},      {HTSYSMENU, 0},         {HTNOWHERE, 0},
        {HTBORDER, 0},        {HTMINBUTTON, 0},   {HTCLOSE, 0},
    };
    for (bool bUseDwmFrame : {false, true}) {
        CProbeDialog probe;
        ASSERT_TRUE(probe.CreateHidden(bUseDwmFrame));
        const LPARAM lParam = PointParam(-20, 1000);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << (bUseDwmFrame ? "system-frame" : "frameless") << ", hit code " << c.nHitTest);
            probe.Record(WM_NCLBUTTONDOWN, c.nHitTest, lParam);
            // The test's own message comes first; a sizing request uses the press up.
            if (c.nCommand && !bUseDwmFrame)
                EXPECT_TRUE(probe.calls.Matches({{"sent", WM_NCLBUTTONDOWN, kParams, c.nHitTest, lParam},
                                                 {"sent", WM_SYSCOMMAND, kParams, c.nCommand, lParam}}));
            else
                EXPECT_TRUE(
                    probe.calls.Matches({{"sent", WM_NCLBUTTONDOWN, kParams, c.nHitTest, lParam},
                                         {"default", WM_NCLBUTTONDOWN, kParams, c.nHitTest, lParam}}));
        }
        probe.DestroyWindow();
    }
}

TEST_F(SizeDialogTest, SetCursorShowsTheSizingCursors) {
    struct Case {
        UINT nHitTest;
        LPCWSTR pszCursor; // NULL: the arrow, then the default handling
    };
    const Case cases[] = {
        {HTLEFT, IDC_SIZEWE},       {HTRIGHT, IDC_SIZEWE},
        {HTTOP, IDC_SIZENS},        {HTBOTTOM, IDC_SIZENS},
        {HTTOPLEFT, IDC_SIZENWSE},  {HTBOTTOMRIGHT, IDC_SIZENWSE},
        {HTTOPRIGHT, IDC_SIZENESW}, {HTBOTTOMLEFT, IDC_SIZENESW},
        {HTCLIENT, NULL},           {HTCAPTION, NULL},
        {HTSYSMENU, NULL},          {HTMENU, NULL},
        {HTNOWHERE, NULL},          {HTBORDER, NULL},
    };
    const HCURSOR hWait = ::LoadCursorW(NULL, IDC_WAIT);
    const HCURSOR hArrow = ::LoadCursorW(NULL, IDC_ARROW);
    const LRESULT kDefaultAnswer = 77;

    for (bool bUseDwmFrame : {false, true}) {
        CProbeDialog probe;
        ASSERT_TRUE(probe.CreateHidden(bUseDwmFrame));
        probe.defaultResult = kDefaultAnswer;
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << (bUseDwmFrame ? "system-frame" : "frameless") << ", hit code " << c.nHitTest);
            ::SetCursor(hWait);
            const WPARAM wParam = reinterpret_cast<WPARAM>(probe.m_hWnd);
            const LPARAM lParam = MAKELPARAM(c.nHitTest, WM_MOUSEMOVE);
            const LRESULT result = probe.Record(WM_SETCURSOR, wParam, lParam);
            const bool bOwnCursor = c.pszCursor && !bUseDwmFrame;
            // The system frame sets its own cursors: only the default handling runs there.
            const HCURSOR hExpected = bUseDwmFrame ? hWait
                                      : bOwnCursor ? ::LoadCursorW(NULL, c.pszCursor)
                                                   : hArrow;
            EXPECT_EQ(hExpected, ::GetCursor());
            EXPECT_EQ(bOwnCursor ? TRUE : kDefaultAnswer, result);
            if (bOwnCursor)
                EXPECT_TRUE(probe.calls.Matches({}));
            else
                EXPECT_TRUE(probe.calls.Matches({{"default", WM_SETCURSOR, kParams, wParam, lParam}}));
        }
        probe.DestroyWindow();
    }
}

TEST_F(SizeDialogTest, PointerOverEdgesShowsSizingCursorsUnlessLocked) {
    // The whole chain as the system runs it: pointer input, hit test, cursor.
    for (bool bLocked : {false, true}) {
        SCOPED_TRACE(bLocked ? "locked" : "unlocked");
        CProbeDialog probe;
        ASSERT_TRUE(probe.CreateHidden(false, bLocked));
        Place(probe, 100, 100, 600, 400);
        probe.ShowWindow(SW_SHOWNORMAL);
        qxrv::test::PumpFor(50);

        struct Case {
            int x, y;
            LPCWSTR pszCursor;
        };
        const Case cases[] = {{102, 300, IDC_SIZEWE}, {698, 300, IDC_SIZEWE},   {400, 102, IDC_SIZENS},
                              {400, 498, IDC_SIZENS}, {101, 101, IDC_SIZENWSE}, {698, 101, IDC_SIZENESW},
                              {400, 300, IDC_ARROW}};
        for (const Case& c : cases) {
            const HCURSOR hExpected = ::LoadCursorW(NULL, bLocked ? IDC_ARROW : c.pszCursor);
            // Step in from a neighbouring pixel so that every case is a real move.
            ::SetCursorPos(c.x + 1, c.y + 1);
            qxrv::test::PumpFor(10);
            ::SetCursorPos(c.x, c.y);
            EXPECT_TRUE(qxrv::test::PumpUntil([&] { return ::GetCursor() == hExpected; }, 1000))
                << "pointer at " << c.x << ", " << c.y;
        }
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        probe.DestroyWindow();
    }
}

TEST_F(SizeDialogTest, RealPointerDragsAndSizesTheWindowThroughTheSystemLoops) {
    Create();
    Place(dlg, 200, 200, 600, 400);
    dlg.ShowWindow(SW_SHOWNORMAL);
    qxrv::test::PumpFor(50);

    struct Case {
        POINT press; // relative to the window's top-left corner (negative: from the right or bottom)
        SIZE drag;   // how far the pointer goes with the button down
        RECT change; // what that does to each edge
    };
    const Case cases[] = {
        {{300, 200}, {50, 40}, {50, 40, 50, 40}}, // client area: the whole window moves
        {{2, 200}, {-60, 0}, {-60, 0, 0, 0}},     // left band
        {{300, 1}, {0, -30}, {0, -30, 0, 0}},     // top band
        {{-2, -2}, {50, 40}, {0, 0, 50, 40}},     // bottom-right corner
    };
    for (const Case& c : cases) {
        CRect before;
        dlg.GetWindowRect(&before);
        const POINT from = {c.press.x >= 0 ? before.left + c.press.x : before.right + c.press.x,
                            c.press.y >= 0 ? before.top + c.press.y : before.bottom + c.press.y};
        const POINT to = {from.x + c.drag.cx, from.y + c.drag.cy};
        // The system's loop runs inside the press's handling, so the gesture comes from another thread. The
        // pointer goes on moving after the release: the window must no longer follow it.
        std::atomic<bool> bDone(false);
        std::thread user([&] {
            frame_test::SendPointer(from.x, from.y);
            ::Sleep(60);
            frame_test::SendPointer(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
            for (int step = 1; step <= 4; ++step) {
                ::Sleep(60);
                frame_test::SendPointer(from.x + c.drag.cx * step / 4, from.y + c.drag.cy * step / 4);
            }
            ::Sleep(60);
            frame_test::SendPointer(to.x, to.y, MOUSEEVENTF_LEFTUP);
            for (int step = 1; step <= 3; ++step) {
                ::Sleep(60);
                frame_test::SendPointer(to.x + 20 * step, to.y + 15 * step);
            }
            ::Sleep(100);
            bDone = true;
            ::PostMessageW(dlg.m_hWnd, WM_NULL, 0, 0); // wakes the pump
        });
        qxrv::test::PumpUntil([&] { return bDone.load(); }, 5000);
        user.join();
        qxrv::test::PumpFor(50);

        CRect after;
        dlg.GetWindowRect(&after);
        const CRect expected(before.left + c.change.left, before.top + c.change.top,
                             before.right + c.change.right, before.bottom + c.change.bottom);
        EXPECT_EQ(expected, after) << "press at (" << from.x << ", " << from.y << ") gave "
                                   << RectText(after);
    }
}

TEST_F(SizeDialogTest, MovingKeepsTheWindowPartlyOnTheVirtualScreen) {
    Create();
    const int W = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int H = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    std::printf("virtual screen W = %d, H = %d\n", W, H);

    struct Case {
        RECT proposed;
        RECT expected;
    };
    const Case cases[] = {
        // Above the top: pulled down, the left edge stays where it is in that message.
        {{-400, -20, 400, 580}, {-400, 0, 400, 600}},
        // Too far left.
        {{-300, 50, 500, 650}, {-150, 50, 650, 650}},
        // Too far down, and too far right, on whatever screen the test runs.
        {{100, H - 80, 900, H - 80 + 600}, {100, H - 150, 900, H - 150 + 600}},
        {{W - 120, 500, W - 120 + 800, 1100}, {W - 150, 500, W - 150 + 800, 1100}},
        // Just inside the bottom and right limits.
        {{W - 151, H - 151, W - 151 + 800, H - 151 + 600}, {W - 151, H - 151, W - 151 + 800, H - 151 + 600}},
        // On both limits already.
        {{-150, 0, 650, 600}, {-150, 0, 650, 600}},
    };
    for (const Case& c : cases) {
        RECT rc = c.proposed;
        dlg.Record(WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&rc));
        std::printf("proposed %s -> %s (expected %s)\n", RectText(c.proposed).c_str(), RectText(rc).c_str(),
                    RectText(c.expected).c_str());
        EXPECT_EQ(CRect(c.expected), CRect(rc)) << "proposed " << RectText(c.proposed);
        // Then the default handling, with the moved rectangle.
        ASSERT_TRUE(dlg.calls.Matches({{"default", WM_MOVING}}));
        EXPECT_EQ(CRect(c.expected), CRect(dlg.rcSeen));
    }
}

TEST_F(SizeDialogTest, MinMaxInfoAppliesTrackingSizesAndTheWorkArea) {
    Create();
    ASSERT_EQ(1, ::GetSystemMetrics(SM_CMONITORS));
    RECT rcWork;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0));
    std::printf("work area %s: ptMaxSize (%ld, %ld), ptMaxPosition (%ld, %ld)\n", RectText(rcWork).c_str(),
                rcWork.right - rcWork.left, rcWork.bottom - rcWork.top, rcWork.left, rcWork.top);

    struct Case {
        POINT minTrack, maxTrack;       // the derived class's limits
        POINT proposedMin, proposedMax; // the system's proposal
        POINT expectedMin, expectedMax;
    };
    const Case cases[] = {
        // Too small a minimum is raised.
        {{800, 640}, {1920, 1080}, {136, 39}, {1000, 900}, {800, 640}, {1000, 900}},
        // Too large a maximum is lowered.
        {{800, 640}, {1920, 1080}, {900, 700}, {3860, 1100}, {900, 700}, {1920, 1080}},
        // Inside the limits: left alone.
        {{100, 30}, {1920, 1080}, {136, 39}, {1000, 900}, {136, 39}, {1000, 900}},
        // Each axis on its own.
        {{800, 30}, {2000, 500}, {136, 39}, {3860, 400}, {800, 39}, {2000, 400}},
    };
    for (const Case& c : cases) {
        dlg.m_ptMinTrackSize = c.minTrack;
        dlg.m_ptMaxTrackSize = c.maxTrack;
        MINMAXINFO mmi = {};
        mmi.ptReserved = {7, 9};
        mmi.ptMaxSize = {3000, 2000};
        mmi.ptMaxPosition = {-8, -8};
        mmi.ptMinTrackSize = c.proposedMin;
        mmi.ptMaxTrackSize = c.proposedMax;
        dlg.Record(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));

        SCOPED_TRACE(testing::Message() << "proposed min (" << c.proposedMin.x << ", " << c.proposedMin.y
                                        << "), max (" << c.proposedMax.x << ", " << c.proposedMax.y << ")");
        EXPECT_EQ(CPoint(c.expectedMin), CPoint(mmi.ptMinTrackSize));
        EXPECT_EQ(CPoint(c.expectedMax), CPoint(mmi.ptMaxTrackSize));
        EXPECT_EQ(CPoint(rcWork.right - rcWork.left, rcWork.bottom - rcWork.top), CPoint(mmi.ptMaxSize));
        EXPECT_EQ(CPoint(rcWork.left, rcWork.top), CPoint(mmi.ptMaxPosition));
        EXPECT_EQ(CPoint(7, 9), CPoint(mmi.ptReserved));
        // The default handling came last and saw the changed structure.
        ASSERT_TRUE(dlg.calls.Matches({{"default", WM_GETMINMAXINFO}}));
        EXPECT_EQ(0, std::memcmp(&mmi, &dlg.mmiSeen, sizeof(mmi)));
    }
}

TEST_F(SizeDialogTest, SystemSizingIsHeldWithinTheTrackingSizes) {
    Create();
    dlg.m_ptMinTrackSize = {400, 300};
    dlg.m_ptMaxTrackSize = {700, 500};
    // The system asks WM_GETMINMAXINFO when a window without WS_POPUP or WS_CHILD is sized.
    ::SetWindowPos(dlg.m_hWnd, NULL, 50, 50, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rc;
    dlg.GetWindowRect(&rc);
    EXPECT_EQ(CSize(400, 300), rc.Size());
    ::SetWindowPos(dlg.m_hWnd, NULL, 50, 50, 1000, 900, SWP_NOZORDER | SWP_NOACTIVATE);
    dlg.GetWindowRect(&rc);
    EXPECT_EQ(CSize(700, 500), rc.Size());
}

TEST_F(SizeDialogTest, NcActivateAlwaysGoesAheadWithoutDefaultHandling) {
    Create();
    for (BOOL bActive : {TRUE, FALSE}) {
        EXPECT_EQ(TRUE, dlg.Record(WM_NCACTIVATE, bActive, 0)) << "active " << bActive;
        EXPECT_TRUE(dlg.calls.Matches({}));
    }
}

TEST_F(SizeDialogTest, SizingRepaintsTheWholeClientArea) {
    Create();
    Place(dlg, 100, 100, 500, 400);
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    qxrv::test::PumpPending();
    ::ValidateRect(dlg.m_hWnd, NULL);
    RECT rc = {100, 100, 600, 500};
    dlg.Record(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&rc));
    CRect rcUpdate, rcClient;
    ASSERT_TRUE(::GetUpdateRect(dlg.m_hWnd, &rcUpdate, FALSE));
    dlg.GetClientRect(&rcClient);
    EXPECT_EQ(rcClient, rcUpdate);
    ASSERT_TRUE(dlg.calls.Matches({{"default", WM_SIZING}}));
}

TEST_F(SizeDialogTest, SystemFrameVariantWidensTheProposedRectangle) {
    const int cxFrame = ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXDLGFRAME);
    const int cyFrame = ::GetSystemMetrics(SM_CYBORDER) + ::GetSystemMetrics(SM_CYDLGFRAME);
    std::printf("border + dialog frame: %d x %d\n", cxFrame, cyFrame);

    struct Case {
        BOOL bUseDwmFrame;
        BOOL bComposition;
        int d; // growth beyond border and dialog frame; no growth at all in the frameless variant
    };
    const Case cases[] = {{TRUE, TRUE, 3}, {TRUE, FALSE, -1}, {FALSE, TRUE, 0}, {FALSE, FALSE, 0}};
    Create();
    for (const Case& c : cases) {
        for (BOOL bCalcValidRects : {FALSE, TRUE}) {
            SCOPED_TRACE(testing::Message() << "system frame " << c.bUseDwmFrame << ", composition "
                                            << c.bComposition << ", valid rects " << bCalcValidRects);
            dlg.m_bUseDwmFrame = c.bUseDwmFrame;
            dlg.m_bCompositionEnabled = c.bComposition;
            WINDOWPOS wp = {dlg.m_hWnd, NULL, 100, 100, 600, 400, SWP_NOZORDER};
            NCCALCSIZE_PARAMS params = {};
            params.rgrc[0] = {100, 100, 700, 500};
            params.rgrc[1] = params.rgrc[0];
            params.rgrc[2] = params.rgrc[0];
            params.lppos = &wp;
            // Without valid rectangles lParam points to a lone RECT: the same place as rgrc[0].
            dlg.Record(WM_NCCALCSIZE, bCalcValidRects, reinterpret_cast<LPARAM>(&params));

            CRect expected(100, 100, 700, 500);
            if (c.bUseDwmFrame)
                expected.InflateRect(cxFrame + c.d, cyFrame + c.d);
            ASSERT_TRUE(dlg.calls.Matches({{"default", WM_NCCALCSIZE}}));
            EXPECT_EQ(expected, CRect(dlg.rcSeen)) << "default handling saw " << RectText(dlg.rcSeen);
        }
    }
}

TEST_F(SizeDialogTest, ThemeChangeRefreshesTheCompositionFlagOnly) {
    for (bool bUseDwmFrame : {false, true}) {
        CFakeSystem fake;
        ASSERT_TRUE(fake.IsLoaded());
        CLibraryNames names(kFakeLibrary, kFakeLibrary);
        CProbeDialog probe;
        ASSERT_TRUE(probe.CreateHidden(bUseDwmFrame));
        CRect rcBefore;
        probe.GetWindowRect(&rcBefore);
        const DWORD dwStyleBefore = probe.GetStyle();

        struct Step {
            LPCWSTR pszDwmApi;
            BOOL bAnswer;
            BOOL bExpected;
        };
        const Step steps[] = {{kFakeLibrary, TRUE, TRUE}, {kFakeLibrary, FALSE, FALSE},
                              {kFakeLibrary, TRUE, TRUE}, {kMissingLibrary, TRUE, FALSE},
                              {kFakeLibrary, TRUE, TRUE}, {kBareLibrary, TRUE, FALSE}};
        for (const Step& s : steps) {
            SCOPED_TRACE(testing::Message()
                         << (bUseDwmFrame ? "system-frame" : "frameless") << ", answer " << s.bAnswer);
            CLibraryNames stepNames(kFakeLibrary, s.pszDwmApi);
            fake.Calls().bCompositionAnswer = s.bAnswer;
            probe.Record(WM_THEMECHANGED, 0, 0);
            EXPECT_EQ(s.bExpected, probe.m_bCompositionEnabled);
            // The message goes on to the default handling; nothing else changes.
            ASSERT_TRUE(probe.calls.Matches({{"default", WM_THEMECHANGED}}));
            CRect rc;
            probe.GetWindowRect(&rc);
            EXPECT_EQ(rcBefore, rc);
            EXPECT_EQ(dwStyleBefore, probe.GetStyle());
            EXPECT_EQ(bUseDwmFrame ? TRUE : FALSE, probe.m_bUseDwmFrame);
            EXPECT_FALSE(probe.m_bFrameLocked);
        }
        probe.DestroyWindow();
        EXPECT_TRUE(fake.ReleaseWasLast()) << "the dialog kept a reference to its library";
    }
}

TEST_F(SizeDialogTest, DisableNcRenderingSkipsMissingLibrariesAndEntryPoints) {
    Create();
    struct Case {
        LPCWSTR pszUxTheme;
        LPCWSTR pszDwmApi;
    };
    const Case cases[] = {
        {kMissingLibrary, kMissingLibrary}, {kBareLibrary, kBareLibrary}, {kMissingLibrary, kFakeLibrary},
        {kFakeLibrary, kMissingLibrary},    {kBareLibrary, kFakeLibrary}, {kFakeLibrary, kBareLibrary},
        {kFakeLibrary, kFakeLibrary},
    };
    for (const Case& c : cases) {
        for (CWnd* pWnd : {static_cast<CWnd*>(&dlg), static_cast<CWnd*>(nullptr)}) {
            SCOPED_TRACE(testing::Message()
                         << "uxtheme " << (c.pszUxTheme == kFakeLibrary ? "fake" : "absent") << ", dwmapi "
                         << (c.pszDwmApi == kFakeLibrary ? "fake" : "absent") << ", window "
                         << (pWnd ? "yes" : "null"));
            CFakeSystem fake;
            ASSERT_TRUE(fake.IsLoaded());
            CLibraryNames names(c.pszUxTheme, c.pszDwmApi);
            CSizeDialog::DisableNcRendering(pWnd);

            const HWND hExpected = pWnd ? dlg.m_hWnd : NULL;
            const FakeSystemCalls& calls = fake.Calls();
            if (c.pszUxTheme == kFakeLibrary) {
                EXPECT_EQ(1, calls.nSetWindowTheme);
                EXPECT_EQ(hExpected, calls.hThemeWnd);
                EXPECT_TRUE(calls.bThemeAppEmpty);
                EXPECT_TRUE(calls.bThemeIdListEmpty);
            } else {
                EXPECT_EQ(0, calls.nSetWindowTheme);
            }
            if (c.pszDwmApi == kFakeLibrary) {
                EXPECT_EQ(1, calls.nSetWindowAttribute);
                EXPECT_EQ(hExpected, calls.hAttributeWnd);
                EXPECT_EQ(2u, calls.dwAttribute);
                EXPECT_EQ(1u, calls.dwValue);
                EXPECT_EQ(4u, calls.cbAttribute);
            } else {
                EXPECT_EQ(0, calls.nSetWindowAttribute);
            }
            EXPECT_TRUE(fake.ReleaseWasLast()) << "a library was not released";
            EXPECT_EQ(NULL, ::GetModuleHandleW(kBareLibrary)) << "a library was not released";
        }
    }
}

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

TEST_F(SizeDialogTest, OptionalLibrariesComeFromTheSystemFolderAlone) {
    // Planted under the kit's library name, beside this test and in the current folder: a library without
    // the entry points. Under the same name in the system folder: the recording stand-in, or nothing.
    const LPCWSTR kName = L"qxrv_planted.dll";
    wchar_t temp[MAX_PATH] = {}, previous[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    const std::wstring current =
        std::wstring(temp) + L"qxrv_planted_" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring beside = qxrv::test::BesideThisExe(kName), inCurrent = current + L"\\" + kName,
                       inSystem = SystemFolder() + kName;
    // However the test ends, the planted files go and the current folder is put back.
    struct CCleanUp {
        const std::wstring files[3], folder, previous;
        void RemoveFiles() const {
            for (const std::wstring& file : files)
                ::DeleteFileW(file.c_str());
        }
        ~CCleanUp() {
            RemoveFiles();
            ::SetCurrentDirectoryW(previous.c_str());
            ::RemoveDirectoryW(folder.c_str());
        }
    } const cleanUp = {{beside, inCurrent, inSystem}, current, previous};
    // A run ended from outside (the watchdog, a timeout, an interrupted bench) leaves its copies behind, and
    // a stale one in the system folder would be loaded where none is planted. Process ids are reused, so
    // the folder may be there too.
    cleanUp.RemoveFiles();
    for (const std::wstring& file : cleanUp.files)
        ASSERT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(file.c_str()))
            << testing::PrintToString(file);
    ASSERT_TRUE(::CreateDirectoryW(current.c_str(), NULL) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(::SetCurrentDirectoryW(current.c_str()));
    struct Case {
        bool bBeside, bSystem;
    } const cases[] = {{true, false}, {false, false}, {true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "beside the test " << c.bBeside << ", in the system folder " << c.bSystem);
        if (c.bBeside) {
            ASSERT_TRUE(::CopyFileW(qxrv::test::BesideThisExe(kBareLibrary).c_str(), beside.c_str(), FALSE));
        }
        ASSERT_TRUE(::CopyFileW(qxrv::test::BesideThisExe(kBareLibrary).c_str(), inCurrent.c_str(), FALSE));
        if (c.bSystem) {
            ASSERT_TRUE(
                ::CopyFileW(qxrv::test::BesideThisExe(kFakeLibrary).c_str(), inSystem.c_str(), FALSE));
        }
        ::SetEnvironmentVariableW(FAKE_LIBRARY_LOADS, NULL);
        {
            // The system-frame variant takes the theme, attribute and composition calls; a theme change
            // asks for composition again.
            CLibraryNames names(kName, kName);
            CProbeDialog probe;
            ASSERT_TRUE(probe.CreateHidden(true));
            probe.Record(WM_THEMECHANGED, 0, 0);
            probe.DestroyWindow();
        }
        wchar_t loads[4096] = {};
        ::GetEnvironmentVariableW(FAKE_LIBRARY_LOADS, loads, ARRAYSIZE(loads));
        const std::wstring loaded = Lower(loads);
        EXPECT_EQ(std::wstring::npos, loaded.find(Lower(beside))) << testing::PrintToString(loaded);
        EXPECT_EQ(std::wstring::npos, loaded.find(Lower(inCurrent))) << testing::PrintToString(loaded);
        EXPECT_EQ(c.bSystem, loaded.find(Lower(inSystem)) != std::wstring::npos)
            << testing::PrintToString(loaded);
        cleanUp.RemoveFiles();
    }
}

TEST_F(SizeDialogTest, RealSystemLibrariesDoNoHarm) {
    // Wine's own UxTheme.dll and dwmapi.dll, by their real names.
    BOOL bSystem = FALSE;
    const CLibraryHandle dwmapi = AfxLoadSystemLibrary(L"dwmapi.dll");
    if (auto pfn = dwmapi.GetProc<HRESULT(WINAPI*)(BOOL*)>("DwmIsCompositionEnabled"))
        pfn(&bSystem);
    std::printf("desktop composition: system %d\n", bSystem);

    // The flag starts at the other answer each time, so it matches the system only where the dialog asked.
    dlg.m_bCompositionEnabled = !bSystem;
    Create(true);
    EXPECT_EQ(bSystem, dlg.m_bCompositionEnabled) << "the system-frame set-up did not ask for composition";
    CSizeDialog::DisableNcRendering(&dlg);
    CSizeDialog::DisableNcRendering(nullptr);
    dlg.m_bCompositionEnabled = !bSystem;
    dlg.Record(WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(bSystem, dlg.m_bCompositionEnabled) << "a theme change did not ask for composition";
}

} // namespace
