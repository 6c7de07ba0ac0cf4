// The colour-keyed companion dialog: what is see-through on screen, which colour requests get the key brush,
// and how OK and Cancel close its owner first.
#include "tests/skin/SkinTestSupport.h"

#include "tests/skin/SkinTestRes.h"
#include "tests/support/Pump.h"

#include <memory>

namespace skintest {
namespace {

const COLORREF kBeneath = RGB(200, 30, 30);

// A child that paints its left half in the key colour and its right half one step off it.
LRESULT CALLBACK KeyPainterProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(hWnd, &ps);
        RECT rect;
        ::GetClientRect(hWnd, &rect);
        RECT left = rect, right = rect;
        left.right = right.left = rect.right / 2;
        HBRUSH hKey = ::CreateSolidBrush(RGB(0, 255, 0));
        HBRUSH hNear = ::CreateSolidBrush(RGB(0, 254, 0));
        ::FillRect(hDC, &left, hKey);
        ::FillRect(hDC, &right, hNear);
        ::DeleteObject(hKey);
        ::DeleteObject(hNear);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

using StandardDialogTest = SkinTest;

TEST_F(StandardDialogTest, KeyColourIsSeeThroughAndNothingElse) {
    CBackdrop backdrop(WholeScreen(), kBeneath);
    CTestOverlay dlg(nullptr, IDD_TEST_OVERLAY);
    ASSERT_TRUE(dlg.Create(IDD_TEST_OVERLAY, nullptr));
    dlg.SetWindowPos(NULL, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_NE(0u, dlg.GetExStyle() & WS_EX_LAYERED);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = KeyPainterProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = L"SkinTestKeyPainter";
    ::RegisterClassW(&wc);
    ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 10, 60, 100, 40, dlg.m_hWnd, NULL,
                      wc.hInstance, NULL);
    dlg.Invalidate();
    dlg.UpdateWindow();
    qxrv::test::PumpFor(100);

    const CRect staticRect = WindowRectOf(dlg.GetDlgItem(IDC_TEST_STATIC)->m_hWnd);
    const struct {
        const char* what;
        POINT client; // in the dialog
        bool seeThrough;
    } cases[] = {
        {"dialog background", {200, 20}, true},
        {"child pixel of exactly the key colour", {30, 80}, true},
        {"child pixel one step off the key colour", {90, 80}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const POINT p = OnScreen(dlg, c.client.x, c.client.y);
        EXPECT_EQ(c.seeThrough ? kBeneath : RGB(0, 254, 0), ScreenPixel(p.x, p.y));
    }
    // The static control keeps the default background: opaque, not the key.
    const COLORREF staticPixel = ScreenPixel(staticRect.right - 2, staticRect.bottom - 2);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), staticPixel);
}

// Asks for the dialog's background brush while its window exists but before it is initialised.
class CEarlyAskedOverlay : public CTestOverlay {
public:
    CEarlyAskedOverlay() : CTestOverlay(nullptr, IDD_TEST_OVERLAY) {}
    bool m_bAsked = false;
    LRESULT m_earlyBrush = -1;

protected:
    BOOL OnInitDialog() override {
        m_bAsked = ::IsWindow(m_hWnd) != FALSE;
        HDC hDC = ::GetDC(m_hWnd);
        m_earlyBrush =
            SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(m_hWnd));
        ::ReleaseDC(m_hWnd, hDC);
        return CTestOverlay::OnInitDialog();
    }
};

TEST_F(StandardDialogTest, OnlyTheDialogBackgroundGetsTheKeyBrush) {
    CEarlyAskedOverlay dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_OVERLAY, nullptr));
    ASSERT_TRUE(dlg.m_bAsked);
    EXPECT_EQ(0, dlg.m_earlyBrush) << "no brush before the dialog is initialised";
    const HBRUSH hKey = static_cast<HBRUSH>(dlg.m_keyBrush.GetSafeHandle());
    ASSERT_NE(nullptr, hKey);
    LOGBRUSH lb = {};
    ::GetObjectW(hKey, sizeof lb, &lb);
    EXPECT_EQ(RGB(0, 255, 0), lb.lbColor);

    HDC hDC = ::GetDC(dlg.m_hWnd);
    HWND hStatic = dlg.GetDlgItem(IDC_TEST_STATIC)->m_hWnd;
    const struct {
        UINT message;
        bool key;
    } cases[] = {{WM_CTLCOLORDLG, true},    {WM_CTLCOLORSTATIC, false},  {WM_CTLCOLOREDIT, false},
                 {WM_CTLCOLORBTN, false},   {WM_CTLCOLORLISTBOX, false}, {WM_CTLCOLORSCROLLBAR, false},
                 {WM_CTLCOLORMSGBOX, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message);
        const COLORREF textBefore = ::GetTextColor(hDC);
        const LRESULT result =
            ::SendMessageW(dlg.m_hWnd, c.message, reinterpret_cast<WPARAM>(hDC),
                           reinterpret_cast<LPARAM>(c.message == WM_CTLCOLORDLG ? dlg.m_hWnd : hStatic));
        EXPECT_EQ(c.key, reinterpret_cast<HBRUSH>(result) == hKey);
        if (c.key) {
            EXPECT_EQ(textBefore, ::GetTextColor(hDC)) << "the device context is not touched";
        }
    }
    ::ReleaseDC(dlg.m_hWnd, hDC);
}

TEST_F(StandardDialogTest, OffsetStartsAtZeroAndMovesNothing) {
    CTestOverlay dlg(nullptr, IDD_TEST_OVERLAY);
    EXPECT_EQ(CPoint(0, 0), dlg.m_overlayOffset);
    ASSERT_TRUE(dlg.Create(IDD_TEST_OVERLAY, nullptr));
    CRect before, after;
    dlg.GetWindowRect(&before);
    dlg.SetOverlayOffset(CPoint(344, 88));
    dlg.GetWindowRect(&after);
    EXPECT_EQ(CPoint(344, 88), dlg.m_overlayOffset);
    EXPECT_EQ(before, after);
}

TEST_F(StandardDialogTest, OkAndCancelCloseTheOwnerFirst) {
    const struct {
        const char* what;
        bool owner;
        bool ownerDestroysItself;
        WPARAM command;
    } cases[] = {
        {"OK with an owner", true, false, IDOK},
        {"Cancel with an owner", true, false, IDCANCEL},
        {"OK without an owner", false, false, IDOK},
        {"Cancel without an owner", false, false, IDCANCEL},
        {"owner that destroys itself on WM_CLOSE", true, true, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CBackdrop> owner;
        if (c.owner)
            owner.reset(new CBackdrop({0, 0, 50, 50}, kBeneath));
        CWnd* pOwner = owner ? CWnd::FromHandle(owner->m_hWnd) : nullptr;
        CTestOverlay dlg(pOwner, IDD_TEST_OVERLAY);
        ASSERT_TRUE(dlg.Create(IDD_TEST_OVERLAY, pOwner));
        ASSERT_TRUE(dlg.IsWindowVisible());
        bool stillShowingAtClose = false;
        if (owner) {
            owner->m_bDestroyOnClose = c.ownerDestroysItself;
            owner->m_onMessage = [&](UINT) { stillShowingAtClose = ::IsWindowVisible(dlg.m_hWnd) != FALSE; };
        }

        dlg.SendMessage(WM_COMMAND, c.command, 0);

        if (owner) {
            ASSERT_EQ(1u, owner->m_messages.size());
            EXPECT_EQ(static_cast<UINT>(WM_CLOSE), owner->m_messages[0]);
            EXPECT_TRUE(stillShowingAtClose) << "the owner hears of it before the dialog ends";
        }
        if (c.ownerDestroysItself) {
            EXPECT_EQ(NULL, dlg.m_hWnd) << "gone with its owner";
        } else {
            EXPECT_FALSE(dlg.IsWindowVisible()) << "ended";
        }
    }
}

} // namespace
} // namespace skintest
