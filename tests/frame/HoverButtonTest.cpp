// The hover button on a real owner-drawn button in a dialog: its size and place after loading a strip, the
// frame it shows for each state (read back from the screen), transparency, hover tracking and its tooltip.
#include "framework/Prelude.h"

#include "frame/HoverButton.h"
#include "framework/Dialog.h"
#include "res/resource.h"
#include "tests/frame/FrameTestIds.h"
#include "tests/frame/PointerInput.h"
#include "tests/support/LauncherWindows.h"
#include "tests/support/Pump.h"
#include "tests/support/ScreenPixels.h"
#include "tests/support/WindowRects.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>

namespace {

using qxrv::test::ChildRectOf;
using qxrv::test::ScreenPixel;

// The colours of the test strips (drawn in CMakeLists.txt): one per frame, and the odd strip's extra columns.
const COLORREF kFrameColours[4] = {RGB(0x20, 0x80, 0x20), RGB(0x20, 0x20, 0xC0), RGB(0xC0, 0xC0, 0x20),
                                   RGB(0x80, 0x80, 0x80)};
const COLORREF kExtraColumns = RGB(0x00, 0xFF, 0xFF);
// What the button's area showed before the button drew over it.
const COLORREF kUnderneath = RGB(0x11, 0x22, 0x33);
// A pixel of the solid part and one of the magenta hole of each 24 x 16 frame.
const POINT kSolid = {2, 2};
const POINT kHole = {10, 6};

class CProbeButton : public CHoverButton {
public:
    using CHoverButton::m_bMouseOver;
    using CHoverButton::m_bTrackingLeave;
    using CHoverButton::m_cxFrame;
    using CHoverButton::m_cyFrame;
    using CHoverButton::m_frameStrip;
    using CHoverButton::m_tipCtrl;

    int nHover = 0;
    int nLeave = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MOUSEHOVER)
            ++nHover;
        else if (message == WM_MOUSELEAVE)
            ++nLeave;
        return CHoverButton::WindowProc(message, wParam, lParam);
    }
};

// Paints the button's area plainly, as if something else had drawn there before.
void PaintUnderneath(HWND hWnd) {
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HDC hdc = ::GetDC(hWnd);
    HBRUSH hBrush = ::CreateSolidBrush(kUnderneath);
    ::FillRect(hdc, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::ReleaseDC(hWnd, hdc);
    ::GdiFlush();
}

void Redraw(CWnd& wnd) {
    wnd.InvalidateRect(NULL, TRUE);
    wnd.UpdateWindow();
    ::GdiFlush();
    qxrv::test::PumpFor(30);
}

std::string ColourText(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

struct TooltipCount {
    int nWindows;
    int nVisible;
};

BOOL CALLBACK CountTooltip(HWND hWnd, LPARAM lParam) {
    if (lstrcmpiW(qxrv::test::WindowClassOf(hWnd).c_str(), TOOLTIPS_CLASSW) == 0) {
        TooltipCount* pCount = reinterpret_cast<TooltipCount*>(lParam);
        ++pCount->nWindows;
        if (::IsWindowVisible(hWnd))
            ++pCount->nVisible;
    }
    return TRUE;
}

TooltipCount CountTooltips() {
    TooltipCount count = {0, 0};
    ::EnumThreadWindows(::GetCurrentThreadId(), CountTooltip, reinterpret_cast<LPARAM>(&count));
    return count;
}

class HoverButtonTest : public testing::Test {
protected:
    void SetUp() override {
        frame_test::SendPointer(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        ASSERT_TRUE(dlg.Create(IDD_TEST_BUTTONS, NULL));
        ::SetWindowPos(dlg.m_hWnd, HWND_TOP, 200, 200, 400, 200, SWP_SHOWWINDOW);
        ASSERT_TRUE(btn.SubclassDlgItem(IDC_TEST_BUTTON, &dlg));
        qxrv::test::PumpFor(50);
    }
    void TearDown() override {
        dlg.DestroyWindow();
        qxrv::test::PumpPending();
    }

    // Loads the test strip and lets whatever lay under the button show through its holes from now on.
    void LoadTestStrip() {
        ASSERT_TRUE(btn.LoadBitmapStrip(IDB_TEST_STRIP));
        qxrv::test::PumpFor(30);
        PaintUnderneath(btn.m_hWnd);
        Redraw(btn);
    }

    CDialog dlg{IDD_TEST_BUTTONS};
    CProbeButton btn;
};

TEST_F(HoverButtonTest, LoadingAStripSizesTheButtonToOneFrameAndRaisesIt) {
    struct Case {
        UINT nID;
        SIZE frame;
    };
    // The test strips, and the game window's own strips (close 136 x 27, the others 112 x 27).
    const Case cases[] = {{IDB_TEST_STRIP, {24, 16}},     {IDB_TEST_STRIP_ODD, {10, 10}},
                          {IDB_STRIP_CLOSE, {34, 27}},    {IDB_STRIP_MAXIMIZE, {28, 27}},
                          {IDB_STRIP_MINIMIZE, {28, 27}}, {IDB_STRIP_RESTORE, {28, 27}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "strip " << c.nID);
        // Somewhere else, and below its siblings.
        ::SetWindowPos(btn.m_hWnd, HWND_BOTTOM, 31, 17, 40, 20, SWP_NOACTIVATE);
        ASSERT_NE(btn.m_hWnd, ::GetWindow(dlg.m_hWnd, GW_CHILD));

        EXPECT_TRUE(btn.LoadBitmapStrip(c.nID));
        EXPECT_EQ(c.frame.cx, btn.m_cxFrame);
        EXPECT_EQ(c.frame.cy, btn.m_cyFrame);
        EXPECT_EQ(CRect(CPoint(31, 17), c.frame), CRect(ChildRectOf(btn.m_hWnd)));
        EXPECT_EQ(btn.m_hWnd, ::GetWindow(dlg.m_hWnd, GW_CHILD)) << "not on top of its siblings";
    }
}

TEST_F(HoverButtonTest, ShowsTheFrameOfItsStateDisabledFirstThenPressedThenHover) {
    LoadTestStrip();
    struct Case {
        bool bDisabled, bPressed, bHover;
        int nFrame;
    };
    const Case cases[] = {
        {false, false, false, 0}, {false, false, true, 1}, {false, true, false, 2},
        {false, true, true, 2},   {true, false, false, 3}, {true, false, true, 3},
        {true, true, false, 3},   {true, true, true, 3},   {false, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "disabled " << c.bDisabled << ", pressed " << c.bPressed << ", hover " << c.bHover);
        btn.EnableWindow(!c.bDisabled);
        btn.SendMessage(BM_SETSTATE, c.bPressed);
        btn.SendMessage(c.bHover ? WM_MOUSEHOVER : WM_MOUSELEAVE, 0, 0);
        Redraw(btn);
        const COLORREF solid = ScreenPixel(btn.m_hWnd, kSolid);
        EXPECT_EQ(kFrameColours[c.nFrame], solid) << "showed " << ColourText(solid);
        // Magenta is never drawn: what was there before shows through.
        const COLORREF hole = ScreenPixel(btn.m_hWnd, kHole);
        EXPECT_EQ(kUnderneath, hole) << "hole showed " << ColourText(hole);
    }
}

TEST_F(HoverButtonTest, DropsTheColumnsBeyondFourWholeFrames) {
    ASSERT_TRUE(btn.LoadBitmapStrip(IDB_TEST_STRIP_ODD));
    EXPECT_EQ(10, btn.m_cxFrame);
    // Every pixel of the disabled frame (the last one) is that frame's colour: none of the extra columns.
    btn.EnableWindow(FALSE);
    Redraw(btn);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const COLORREF c = ScreenPixel(btn.m_hWnd, POINT{x, y});
            ASSERT_EQ(kFrameColours[3], c) << "pixel " << x << ", " << y << " is " << ColourText(c)
                                           << (c == kExtraColumns ? " (an extra column)" : "");
        }
    }
}

TEST_F(HoverButtonTest, AStripThatCannotBeLoadedLeavesNoFrameAndDrawsNothing) {
    const CRect rcBefore = ChildRectOf(btn.m_hWnd);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "nothing loaded before" : "a strip loaded before");
        EXPECT_FALSE(btn.LoadBitmapStrip(9999));
        EXPECT_EQ(0, btn.m_cxFrame);
        EXPECT_EQ(0, btn.m_cyFrame);
        EXPECT_EQ(nullptr, btn.m_frameStrip.GetSafeHandle());
        // The button keeps its size and place, and drawing leaves its area alone.
        EXPECT_EQ(rcBefore, CRect(ChildRectOf(btn.m_hWnd)));
        PaintUnderneath(btn.m_hWnd);
        Redraw(btn);
        EXPECT_EQ(kUnderneath, ScreenPixel(btn.m_hWnd, kSolid));

        ASSERT_TRUE(btn.LoadBitmapStrip(IDB_TEST_STRIP));
        ::SetWindowPos(btn.m_hWnd, NULL, 0, 0, rcBefore.Width(), rcBefore.Height(),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

TEST_F(HoverButtonTest, OneTrackingRequestPerVisit) {
    LoadTestStrip();
    CRect rc;
    btn.GetWindowRect(&rc);
    const POINT outside = {rc.left - 30, rc.top - 30};
    const POINT inside[] = {
        {rc.left + 3, rc.top + 3}, {rc.left + 12, rc.top + 9}, {rc.left + 20, rc.top + 13}};
    const int kVisits = 4;

    for (int visit = 1; visit <= kVisits; ++visit) {
        SCOPED_TRACE(testing::Message() << "visit " << visit);
        // Several moves with rests in between: a request per move would bring a hover after each rest.
        for (const POINT& pt : inside) {
            frame_test::SendPointer(pt.x, pt.y);
            ASSERT_TRUE(qxrv::test::PumpUntil([&] { return btn.nHover == visit; }, 2000));
            qxrv::test::PumpFor(60);
        }
        EXPECT_TRUE(btn.m_bMouseOver);
        EXPECT_TRUE(btn.m_bTrackingLeave);
        Redraw(btn);
        EXPECT_EQ(kFrameColours[1], ScreenPixel(btn.m_hWnd, kSolid));

        frame_test::SendPointer(outside.x, outside.y);
        ASSERT_TRUE(qxrv::test::PumpUntil([&] { return btn.nLeave == visit; }, 2000));
        EXPECT_FALSE(btn.m_bMouseOver);
        EXPECT_FALSE(btn.m_bTrackingLeave);
        Redraw(btn);
        EXPECT_EQ(kFrameColours[0], ScreenPixel(btn.m_hWnd, kSolid));
    }
    qxrv::test::PumpFor(100);
    EXPECT_EQ(kVisits, btn.nHover);
    EXPECT_EQ(kVisits, btn.nLeave);
}

TEST_F(HoverButtonTest, TheTooltipIsMadeOnceAndNeverShows) {
    LoadTestStrip();
    const TooltipCount before = CountTooltips();
    EXPECT_EQ(nullptr, btn.m_tipCtrl.GetSafeHwnd()) << "made before any message was pre-translated";

    // The pointer comes onto the button, with every message pre-translated.
    CRect rc;
    btn.GetWindowRect(&rc);
    frame_test::SendPointer(rc.left + 5, rc.top + 5);
    qxrv::test::PumpFor(200, true);
    ASSERT_NE(nullptr, btn.m_tipCtrl.GetSafeHwnd());
    EXPECT_EQ(before.nWindows + 1, CountTooltips().nWindows);
    EXPECT_EQ(0, ::SendMessageW(btn.m_tipCtrl.m_hWnd, TTM_GETTOOLCOUNT, 0, 0));

    // Given a tool over the whole button (not subclassed: only relayed messages reach the tooltip), it still
    // never shows while the pointer rests well past a tooltip's delay: it is deactivated.
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = dlg.m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(btn.m_hWnd);
    tool.lpszText = const_cast<LPWSTR>(L"tip");
    ASSERT_TRUE(::SendMessageW(btn.m_tipCtrl.m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    frame_test::SendPointer(rc.left + 8, rc.top + 6);
    qxrv::test::PumpFor(1200, true);
    EXPECT_EQ(0, CountTooltips().nVisible);

    // Switched on, the same rest shows it: the button relays its mouse messages.
    ::SendMessageW(btn.m_tipCtrl.m_hWnd, TTM_ACTIVATE, TRUE, 0);
    frame_test::SendPointer(rc.left + 6, rc.top + 8);
    EXPECT_TRUE(
        qxrv::test::PumpUntil([&] { return ::IsWindowVisible(btn.m_tipCtrl.m_hWnd) != FALSE; }, 3000, true));
    ::SendMessageW(btn.m_tipCtrl.m_hWnd, TTM_ACTIVATE, FALSE, 0);

    // The result is the framework's: the messages went on to the button.
    MSG msg = {btn.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, {rc.left + 5, rc.top + 5}};
    EXPECT_FALSE(btn.PreTranslateMessage(&msg));
    EXPECT_GT(btn.nHover, 0);
}

} // namespace
