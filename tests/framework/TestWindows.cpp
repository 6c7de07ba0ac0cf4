// Window objects: message-map dispatch, argument cracking, command routing, pre-translation, reflection and
// the binding of objects to windows. Each test logs what the objects see and compares it with the expected
// sequence.
#include "framework/Controls.h"
#include "framework/Exceptions.h"
#include "framework/Wnd.h"

#include "tests/support/MessageLog.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

#include <new>

using qxrv::test::ExpectedEvent;
using qxrv::test::TheLog;

namespace {

const UINT WM_APP_ONE = WM_APP + 1;
const UINT WM_APP_TWO = WM_APP + 2;
const UINT WM_APP_THROW = WM_APP + 3;

class CBaseWnd : public CWnd {
public:
    BOOL CreateTop(LPCWSTR title) {
        return CreateEx(0, NULL, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL);
    }
    bool m_bThrowOnCreate = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
        if (m_bThrowOnCreate)
            AfxThrowMemoryException();
        return CWnd::OnCreate(lpcs);
    }
    afx_msg void OnMove(int x, int y) {
        TheLog().Add("base", WM_MOVE, x, y);
        Default();
    }
    afx_msg void OnSize(UINT, int cx, int cy) { TheLog().Add("base", WM_SIZE, cx, cy); }
    afx_msg LRESULT OnAppOne(WPARAM, LPARAM) {
        TheLog().Add("base", WM_APP_ONE);
        return 11;
    }
    afx_msg LRESULT OnAppTwo(WPARAM, LPARAM) {
        TheLog().Add("base", WM_APP_TWO);
        return 12;
    }
    afx_msg LRESULT OnAppThrow(WPARAM wParam, LPARAM) {
        if (wParam)
            throw std::bad_alloc();
        AfxThrowResourceException();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_CREATE()
ON_WM_MOVE()
ON_WM_SIZE()
ON_MESSAGE(WM_APP_ONE, &CBaseWnd::OnAppOne)
ON_MESSAGE(WM_APP_TWO, &CBaseWnd::OnAppTwo)
ON_MESSAGE(WM_APP_THROW, &CBaseWnd::OnAppThrow)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
protected:
    afx_msg void OnSize(UINT, int cx, int cy) { TheLog().Add("derived", WM_SIZE, cx, cy); }
    afx_msg LRESULT OnAppOne(WPARAM, LPARAM) {
        TheLog().Add("derived", WM_APP_ONE);
        return 21;
    }
    // Changes nothing and passes the message on: the default procedure must still see it unchanged.
    afx_msg LRESULT OnSetText(WPARAM, LPARAM) {
        TheLog().Add("derived", WM_SETTEXT);
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_WM_SIZE()
ON_MESSAGE(WM_APP_ONE, &CDerivedWnd::OnAppOne)
ON_MESSAGE(WM_SETTEXT, &CDerivedWnd::OnSetText)
END_MESSAGE_MAP()

class WindowsTest : public testing::Test {
protected:
    void SetUp() override { TheLog().Clear(); }
    void TearDown() override { CWnd::DeleteTempMap(); }
};

TEST_F(WindowsTest, MapsDispatchToTheMostDerivedEntryThenTheBasesThenTheDefault) {
    CBaseWnd base;
    CDerivedWnd derived;
    ASSERT_TRUE(base.CreateTop(L"base"));
    ASSERT_TRUE(derived.CreateTop(L"derived"));
    const LPARAM text = reinterpret_cast<LPARAM>(L"renamed");
    struct Case {
        CWnd* target;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        std::vector<ExpectedEvent> log;
    } cases[] = {
        {&base, WM_APP_ONE, 0, 0, 11, {{"base", WM_APP_ONE}}},
        {&derived, WM_APP_ONE, 0, 0, 21, {{"derived", WM_APP_ONE}}},
        {&derived, WM_APP_TWO, 0, 0, 12, {{"base", WM_APP_TWO}}}, // only the base maps it
        {&derived, WM_SIZE, 0, MAKELPARAM(30, 40), 0, {{"derived", WM_SIZE}}},
        {&derived, WM_MOVE, 0, MAKELPARAM(-5, 7), 0, {{"base", WM_MOVE}}},
        {&derived, WM_GETTEXTLENGTH, 0, 0, 7, {}},                        // unmapped: the default procedure
        {&derived, WM_SETTEXT, 0, text, TRUE, {{"derived", WM_SETTEXT}}}, // mapped, then Default()
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message);
        TheLog().Clear();
        EXPECT_EQ(c.result, c.target->SendMessage(c.message, c.wParam, c.lParam));
        EXPECT_TRUE(TheLog().Matches(c.log));
    }
    CString title;
    derived.GetWindowText(title);
    EXPECT_STREQ(L"renamed", title);
    // The cracked arguments: WM_MOVE's coordinates are signed.
    derived.SendMessage(WM_MOVE, 0, MAKELPARAM(-5, 7));
    EXPECT_EQ(-5, static_cast<int>(TheLog().Events().back().wParam));
    EXPECT_EQ(7, TheLog().Events().back().lParam);
}

// Records the arguments of each typed handler.
class CCrackWnd : public CWnd {
public:
    int m_nIntArg = 0;
    CPoint m_point;
    UINT m_uArg = 0;
    CWnd* m_pWndArg = nullptr;
    UINT_PTR m_timer = 0;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
        m_uArg = nFlags;
        m_point = point;
    }
    afx_msg LRESULT OnNcHitTest(CPoint point) {
        m_point = point;
        return HTCAPTION;
    }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
        m_pWndArg = pWnd;
        m_uArg = nHitTest;
        m_nIntArg = static_cast<int>(message);
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_timer = nIDEvent; }
    afx_msg void OnEnable(BOOL bEnable) { m_nIntArg = bEnable; }
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pInfo) {
        pInfo->ptMaxTrackSize.x = 321; // handed on unchanged by the cracker's pointer
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCrackWnd, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_NCHITTEST()
ON_WM_SETCURSOR()
ON_WM_TIMER()
ON_WM_ENABLE()
ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

TEST_F(WindowsTest, HandlersGetTheirMessagesArgumentsTyped) {
    CCrackWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"crack", WS_POPUP, 0, 0, 50, 50, NULL, NULL));

    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 4));
    EXPECT_EQ(static_cast<UINT>(MK_LBUTTON | MK_SHIFT), wnd.m_uArg);
    EXPECT_EQ(CPoint(-3, 4), wnd.m_point);

    EXPECT_EQ(HTCAPTION, wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(-100, -200)));
    EXPECT_EQ(CPoint(-100, -200), wnd.m_point);

    EXPECT_EQ(TRUE, wnd.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.m_hWnd),
                                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(&wnd, wnd.m_pWndArg);
    EXPECT_EQ(static_cast<UINT>(HTCLIENT), wnd.m_uArg);
    EXPECT_EQ(WM_MOUSEMOVE, wnd.m_nIntArg);

    wnd.SendMessage(WM_TIMER, 77);
    EXPECT_EQ(77u, wnd.m_timer);
    wnd.SendMessage(WM_ENABLE, 5);
    EXPECT_EQ(5, wnd.m_nIntArg);

    MINMAXINFO info = {};
    wnd.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(321, info.ptMaxTrackSize.x);
}

class CClickParent : public CWnd {
public:
    int m_nFirst = 0;

protected:
    afx_msg void OnFirst() { ++m_nFirst; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClickParent, CWnd)
ON_BN_CLICKED(1001, &CClickParent::OnFirst)
END_MESSAGE_MAP()

TEST_F(WindowsTest, ButtonClicksReachTheParentsHandlerForItsIdOnly) {
    CClickParent parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, L"parent", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
    HWND first = ::CreateWindowExW(0, L"Button", L"1", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent,
                                   (HMENU)1001, NULL, NULL);
    HWND second = ::CreateWindowExW(0, L"Button", L"2", WS_CHILD | WS_VISIBLE, 60, 0, 50, 20, parent,
                                    (HMENU)1002, NULL, NULL);
    struct Case {
        const char* name;
        WPARAM wParam;
        HWND from;
        int calls;
    } cases[] = {
        {"clicked 1001", MAKEWPARAM(1001, BN_CLICKED), first, 1},
        {"clicked 1002", MAKEWPARAM(1002, BN_CLICKED), second, 0},
        {"double-clicked 1001", MAKEWPARAM(1001, BN_DOUBLECLICKED), first, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        parent.m_nFirst = 0;
        parent.SendMessage(WM_COMMAND, c.wParam, reinterpret_cast<LPARAM>(c.from));
        EXPECT_EQ(c.calls, parent.m_nFirst);
    }
    // A real click on each button, through the control's own notification.
    parent.m_nFirst = 0;
    ::SendMessageW(second, BM_CLICK, 0, 0);
    ::SendMessageW(first, BM_CLICK, 0, 0);
    EXPECT_EQ(1, parent.m_nFirst);
}

// Logs its pre-translation and the key messages dispatched to it; eats messages when told to.
class CWalkWnd : public CWnd {
public:
    explicit CWalkWnd(const char* name) : m_name(name) {}
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message != WM_KEYDOWN)
            return FALSE;
        TheLog().Add(m_name + " pre", pMsg->message);
        return m_bEat;
    }
    std::string m_name;
    bool m_bEat = false;

protected:
    afx_msg LRESULT OnKeyDown(WPARAM, LPARAM) {
        TheLog().Add(m_name, WM_KEYDOWN);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWalkWnd, CWnd)
ON_MESSAGE(WM_KEYDOWN, &CWalkWnd::OnKeyDown)
END_MESSAGE_MAP()

TEST_F(WindowsTest, PreTranslationWalksFromTheTargetUpToItsTopLevelWindow) {
    // owner <- top (owned pop-up) <- mid <- plain child without object <- leaf
    CWalkWnd owner("owner"), top("top"), mid("mid"), leaf("leaf");
    ASSERT_TRUE(owner.CreateEx(0, NULL, L"owner", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    ASSERT_TRUE(top.CreateEx(0, NULL, L"top", WS_POPUP, 0, 0, 100, 100, owner, NULL));
    ASSERT_TRUE(mid.CreateEx(0, NULL, L"mid", WS_CHILD, 0, 0, 100, 100, top, NULL));
    HWND plain = ::CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 100, 100, mid, NULL, NULL, NULL);
    ASSERT_TRUE(leaf.CreateEx(0, NULL, L"leaf", WS_CHILD, 0, 0, 10, 10, plain, NULL));

    struct Case {
        CWalkWnd* eater;
        std::vector<ExpectedEvent> log;
    } cases[] = {
        {nullptr,
         {{"leaf pre", WM_KEYDOWN}, {"mid pre", WM_KEYDOWN}, {"top pre", WM_KEYDOWN}, {"leaf", WM_KEYDOWN}}},
        {&mid, {{"leaf pre", WM_KEYDOWN}, {"mid pre", WM_KEYDOWN}}},
        {&leaf, {{"leaf pre", WM_KEYDOWN}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.eater ? c.eater->m_name : "nobody eats");
        for (CWalkWnd* w : {&owner, &top, &mid, &leaf})
            w->m_bEat = w == c.eater;
        qxrv::test::PumpPending();
        TheLog().Clear();
        leaf.PostMessage(WM_KEYDOWN, VK_F5, 0); // no character, so no WM_CHAR follows
        qxrv::test::PumpPending(true);
        EXPECT_TRUE(TheLog().Matches(c.log));
    }
}

// A label that answers its own colour message; a button that declines it.
class CColourStatic : public CStatic {
public:
    CColourStatic() { m_brush.CreateSolidBrush(RGB(1, 2, 3)); }
    BOOL OnChildNotify(UINT message, WPARAM, LPARAM, LRESULT* pResult) override {
        TheLog().Add("label", message);
        if (message != WM_CTLCOLORSTATIC)
            return FALSE;
        *pResult = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
        return TRUE;
    }
    CBrush m_brush;
};

class CDecliningButton : public CButton {
public:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        TheLog().Add("button", message);
        return CButton::OnChildNotify(message, wParam, lParam, pResult);
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
        TheLog().Add("button DrawItem", WM_DRAWITEM, lpDrawItemStruct->CtlID);
    }
};

class CColourParent : public CWnd {
protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        TheLog().Add("parent", WM_CTLCOLORMSGBOX + nCtlColor);
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourParent, CWnd)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST_F(WindowsTest, ColourAndDrawingMessagesAreOfferedToTheControlFirst) {
    CColourParent parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, L"parent", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
    auto child = [&](LPCWSTR cls, DWORD style, int id) {
        return ::CreateWindowExW(0, cls, L"x", WS_CHILD | style, 0, 0, 50, 20, parent, (HMENU)(INT_PTR)id,
                                 NULL, NULL);
    };
    CColourStatic label;
    CDecliningButton button;
    ASSERT_TRUE(label.SubclassWindow(child(L"Static", 0, 1)));
    ASSERT_TRUE(button.SubclassWindow(child(L"Button", BS_OWNERDRAW, 2)));
    HWND plain = child(L"Button", 0, 3);

    HDC hdc = ::CreateCompatibleDC(NULL);
    const HBRUSH defaultBrush = reinterpret_cast<HBRUSH>(::DefWindowProcW(
        parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(plain)));
    struct Case {
        UINT message;
        HWND control;
        HBRUSH brush;
        std::vector<ExpectedEvent> log;
    } cases[] = {
        {WM_CTLCOLORSTATIC,
         label,
         label.m_brush,
         {{"parent", WM_CTLCOLORSTATIC}, {"label", WM_CTLCOLORSTATIC}}},
        {WM_CTLCOLORBTN, button, defaultBrush, {{"parent", WM_CTLCOLORBTN}, {"button", WM_CTLCOLORBTN}}},
        {WM_CTLCOLORBTN, plain, defaultBrush, {{"parent", WM_CTLCOLORBTN}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message);
        TheLog().Clear();
        LRESULT r =
            parent.SendMessage(c.message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(c.control));
        EXPECT_EQ(c.brush, reinterpret_cast<HBRUSH>(r));
        EXPECT_TRUE(TheLog().Matches(c.log));
    }

    // An owner-drawn button draws itself through the parent's WM_DRAWITEM.
    TheLog().Clear();
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 2;
    dis.hwndItem = button;
    dis.hDC = hdc;
    EXPECT_EQ(TRUE, parent.SendMessage(WM_DRAWITEM, 2, reinterpret_cast<LPARAM>(&dis)));
    EXPECT_TRUE(TheLog().Matches({{"button", WM_DRAWITEM}, {"button DrawItem", WM_DRAWITEM}}));
    ::DeleteDC(hdc);
}

TEST_F(WindowsTest, ExceptionsInHandlersFailTheMessageNotTheProgram) {
    CBaseWnd failing;
    failing.m_bThrowOnCreate = true;
    EXPECT_FALSE(failing.CreateTop(L"failing"));
    EXPECT_EQ(nullptr, failing.m_hWnd);

    CBaseWnd wnd;
    ASSERT_TRUE(wnd.CreateTop(L"wnd"));
    EXPECT_EQ(0, wnd.SendMessage(WM_APP_THROW, 0)); // CResourceException
    EXPECT_EQ(0, wnd.SendMessage(WM_APP_THROW, 1)); // std::bad_alloc
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    EXPECT_EQ(11, wnd.SendMessage(WM_APP_ONE)); // still in service
}

TEST_F(WindowsTest, ObjectsAreFoundFromTheirWindowsAndLetGoWhenTheWindowGoes) {
    HWND plain = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    CWnd* pTemp = CWnd::FromHandle(plain);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(plain, pTemp->m_hWnd);
    EXPECT_EQ(pTemp, CWnd::FromHandle(plain));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(plain));
    EXPECT_EQ(nullptr, CWnd::FromHandle(NULL));
    CWnd::DeleteTempMap();
    EXPECT_TRUE(::IsWindow(plain)); // a temporary object never destroys its window

    // Subclassing binds the object; unsubclassing gives the window its own procedure back.
    CDerivedWnd obj;
    ASSERT_TRUE(obj.SubclassWindow(plain));
    EXPECT_FALSE(CDerivedWnd().SubclassWindow(plain)); // one object per window
    EXPECT_EQ(&obj, CWnd::FromHandle(plain));
    EXPECT_EQ(21, ::SendMessageW(plain, WM_APP_ONE, 0, 0));
    EXPECT_EQ(plain, obj.UnsubclassWindow());
    EXPECT_EQ(0, ::SendMessageW(plain, WM_APP_ONE, 0, 0));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(plain));

    // Destroying the window detaches the object; destroying the object destroys its window.
    ASSERT_TRUE(obj.SubclassWindow(plain));
    ::DestroyWindow(plain);
    EXPECT_EQ(nullptr, obj.m_hWnd);
    HWND owned;
    {
        CBaseWnd scoped;
        ASSERT_TRUE(scoped.CreateTop(L"scoped"));
        owned = scoped.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(owned));
}

} // namespace
