// Dialogs and the application object: the modal loop (result, first show at idle, centring, keyboard),
// modeless creation, data exchange, the main-window pointer and the process's exit code.
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/WinApp.h"

#include "FrameworkIds.h"
#include "tests/support/ExeFolder.h"
#include "tests/support/MessageLog.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

#include <string>

using qxrv::test::ExpectedEvent;
using qxrv::test::TheLog;

namespace {

const UINT WM_APP_PROBE = WM_APP + 10;

// Records the style it was attached with, and the check messages that reach it.
class CProbeButton : public CButton {
public:
    DWORD m_dwStyleSeen = 0;
    HWND m_hWndSeen = NULL;

protected:
    void PreSubclassWindow() override {
        m_hWndSeen = m_hWnd;
        m_dwStyleSeen = GetStyle();
    }
    afx_msg LRESULT OnSetCheck(WPARAM, LPARAM) {
        TheLog().Add("button", BM_SETCHECK);
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeButton, CButton)
ON_MESSAGE(BM_SETCHECK, &CProbeButton::OnSetCheck)
END_MESSAGE_MAP()

class CTestDlg : public CDialog {
public:
    explicit CTestDlg(UINT nID = IDD_FW_PLAIN, CWnd* pParent = NULL) : CDialog(nID, pParent) {}

    int m_nEndInInit = 0;      // EndDialog with this in OnInitDialog
    int m_nEndWhenShown = 0;   // EndDialog with this once shown
    WPARAM m_keyWhenShown = 0; // or press this key on the OK button once shown
    RECT m_rcAtInit = {};
    RECT m_rcWhenShown = {};
    BOOL m_bParentEnabledAtInit = TRUE;
    CProbeButton m_check;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        TheLog().Add("OnInitDialog");
        GetWindowRect(&m_rcAtInit);
        m_bParentEnabledAtInit = m_pParentWnd ? m_pParentWnd->IsWindowEnabled() : TRUE;
        PostMessage(WM_APP_PROBE);
        if (m_nEndInInit)
            EndDialog(m_nEndInInit);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        TheLog().Add(pDX->m_bSaveAndValidate ? "save" : "load");
        DDX_Control(pDX, IDC_FW_DISABLED, m_check);
    }
    afx_msg LRESULT OnProbe(WPARAM, LPARAM) {
        TheLog().Add(IsWindowVisible() ? "probe visible" : "probe hidden");
        return 0;
    }
    afx_msg LRESULT OnShowWindow(WPARAM wParam, LPARAM) {
        if (wParam) {
            TheLog().Add("shown", WM_SHOWWINDOW);
            GetWindowRect(&m_rcWhenShown);
            if (m_keyWhenShown)
                ::PostMessageW(::GetDlgItem(m_hWnd, IDOK), WM_KEYDOWN, m_keyWhenShown, 0);
            if (m_nEndWhenShown)
                EndDialog(m_nEndWhenShown);
        }
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
ON_MESSAGE(WM_APP_PROBE, &CTestDlg::OnProbe)
ON_MESSAGE(WM_SHOWWINDOW, &CTestDlg::OnShowWindow)
END_MESSAGE_MAP()

// Where CenterWindow puts a window of this size in the primary work area.
RECT CentredInWorkArea(const RECT& rc) {
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    const int x = (work.left + work.right) / 2 - cx / 2, y = (work.top + work.bottom) / 2 - cy / 2;
    return {x, y, x + cx, y + cy};
}

bool operator==(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

class DialogsTest : public testing::Test {
protected:
    void SetUp() override { TheLog().Clear(); }
    void TearDown() override {
        qxrv::test::PumpPending();
        CWnd::DeleteTempMap();
    }
};

TEST_F(DialogsTest, DoModalShowsAtFirstIdleCentresAndReturnsEndDialogsValue) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, L"owner", WS_POPUP, 300, 300, 50, 50, NULL, NULL));
    const std::vector<ExpectedEvent> wholeRun = {
        {"load"}, {"OnInitDialog"}, {"probe hidden"}, {"shown", WM_SHOWWINDOW}};
    struct Case {
        const char* name;
        UINT nTemplate;
        CWnd* pParent;
        int nEndInInit, nEndWhenShown;
        WPARAM key;
        INT_PTR result;
        bool centred;
        std::vector<ExpectedEvent> log;
    } cases[] = {
        {"unowned", IDD_FW_PLAIN, nullptr, 0, 42, 0, 42, true, wholeRun},
        {"owned", IDD_FW_PLAIN, &owner, 0, 43, 0, 43, false, wholeRun},
        {"DS_ABSALIGN", IDD_FW_ABSALIGN, nullptr, 0, 44, 0, 44, false, wholeRun},
        {"ended before shown", IDD_FW_PLAIN, nullptr, 7, 0, 0, 7, false, {{"load"}, {"OnInitDialog"}}},
        {"Enter",
         IDD_FW_PLAIN,
         nullptr,
         0,
         0,
         VK_RETURN,
         IDOK,
         true,
         {{"load"}, {"OnInitDialog"}, {"probe hidden"}, {"shown", WM_SHOWWINDOW}, {"save"}}},
        {"Escape", IDD_FW_PLAIN, nullptr, 0, 0, VK_ESCAPE, IDCANCEL, true, wholeRun},
        {"no template", IDD_FW_MISSING, nullptr, 0, 0, 0, -1, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TheLog().Clear();
        CTestDlg dlg(c.nTemplate, c.pParent);
        dlg.m_nEndInInit = c.nEndInInit;
        dlg.m_nEndWhenShown = c.nEndWhenShown;
        dlg.m_keyWhenShown = c.key;
        EXPECT_EQ(c.result, dlg.DoModal());
        EXPECT_TRUE(TheLog().Matches(c.log));
        EXPECT_EQ(nullptr, dlg.m_hWnd);
        EXPECT_TRUE(owner.IsWindowEnabled());
        if (c.pParent) {
            EXPECT_FALSE(dlg.m_bParentEnabledAtInit);
        }
        if (c.centred) {
            EXPECT_TRUE(CentredInWorkArea(dlg.m_rcAtInit) == dlg.m_rcWhenShown);
            EXPECT_FALSE(dlg.m_rcAtInit == dlg.m_rcWhenShown); // it did move
        } else if (c.nEndWhenShown) {
            EXPECT_TRUE(dlg.m_rcAtInit == dlg.m_rcWhenShown);
        }
    }
}

TEST_F(DialogsTest, ModelessCreateInitialisesDuringTheCallAndBindsControls) {
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_FW_PLAIN));
    EXPECT_TRUE(TheLog().Matches({{"load"}, {"OnInitDialog"}})); // nothing pumped yet
    EXPECT_FALSE(dlg.IsWindowVisible());
    RECT rc;
    dlg.GetWindowRect(&rc);
    EXPECT_TRUE(CentredInWorkArea(rc) == rc); // hidden and unowned: centred

    // DDX_Control bound the object; PreSubclassWindow saw the window and its style.
    HWND hCheck = ::GetDlgItem(dlg.m_hWnd, IDC_FW_DISABLED);
    EXPECT_EQ(&dlg.m_check, CWnd::FromHandlePermanent(hCheck));
    EXPECT_EQ(hCheck, dlg.m_check.m_hWndSeen);
    EXPECT_TRUE(dlg.m_check.m_dwStyleSeen & WS_DISABLED);
    EXPECT_EQ(static_cast<DWORD>(BS_AUTOCHECKBOX), dlg.m_check.m_dwStyleSeen & 0xF);
    // Its messages reach its map, and go on to the control's own procedure.
    TheLog().Clear();
    ::SendMessageW(hCheck, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(1, TheLog().Count("button", BM_SETCHECK));
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(hCheck, BM_GETCHECK, 0, 0));
    // A second exchange keeps the binding.
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(&dlg.m_check, CWnd::FromHandlePermanent(hCheck));

    // A modeless dialog's Cancel hides it.
    dlg.ShowWindow(SW_SHOW);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(dlg.IsWindowVisible());

    // The controls' objects let go with the window.
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_check.m_hWnd);
}

TEST_F(DialogsTest, OwnedModelessDialogIsNotCentred) {
    CTestDlg owner;
    ASSERT_TRUE(owner.Create(IDD_FW_ABSALIGN));
    CTestDlg dlg(IDD_FW_PLAIN, &owner);
    ASSERT_TRUE(dlg.Create(IDD_FW_PLAIN, &owner));
    RECT rc;
    dlg.GetWindowRect(&rc);
    EXPECT_TRUE(dlg.m_rcAtInit == rc);
}

// Makes a companion dialog in its WM_CREATE, as a layered main window does.
class CCompanionMaker : public CDialog {
public:
    CCompanionMaker() : CDialog(IDD_FW_ABSALIGN) {}
    CTestDlg m_companion{IDD_FW_PLAIN, this};
    BOOL m_bCompanionCreated = FALSE;
    HWND m_hOkAtCreate = NULL;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        TheLog().Add("maker OnCreate", WM_CREATE);
        if (CDialog::OnCreate(lpCreateStruct) == -1)
            return -1;
        m_hOkAtCreate = ::GetDlgItem(m_hWnd, IDOK);
        m_bCompanionCreated = m_companion.Create(m_companion.m_lpszTemplateName, m_companion.m_pParentWnd);
        return 0;
    }
    BOOL OnInitDialog() override {
        TheLog().Add("maker OnInitDialog");
        return CDialog::OnInitDialog();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCompanionMaker, CDialog)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(DialogsTest, DialogsSeeWmCreateAndCanCreateAnotherDialogInIt) {
    CCompanionMaker maker;
    ASSERT_TRUE(maker.Create(IDD_FW_ABSALIGN));
    EXPECT_TRUE(TheLog().Matches({{"maker OnCreate", WM_CREATE},
                                  {"load"},
                                  {"OnInitDialog"}, // the companion's, inside the maker's WM_CREATE
                                  {"maker OnInitDialog"}}));
    EXPECT_EQ(NULL, maker.m_hOkAtCreate); // WM_CREATE comes before the template's controls
    EXPECT_TRUE(maker.m_bCompanionCreated);
    EXPECT_EQ(&maker.m_companion, CWnd::FromHandlePermanent(maker.m_companion.m_hWnd));
    EXPECT_EQ(maker.m_hWnd, ::GetWindow(maker.m_companion.m_hWnd, GW_OWNER));
    // The owned companion goes with its owner's window.
    maker.DestroyWindow();
    EXPECT_EQ(nullptr, maker.m_companion.m_hWnd);
}

TEST_F(DialogsTest, TheMainWindowPointerIsClearedWhenTheMainWindowGoes) {
    CWinApp app(L"test");
    EXPECT_EQ(&app, AfxGetApp());

    CTestDlg modal;
    modal.m_nEndWhenShown = IDCANCEL;
    app.m_pMainWnd = &modal;
    EXPECT_EQ(&modal, AfxGetMainWnd());
    EXPECT_EQ(IDCANCEL, modal.DoModal());
    EXPECT_EQ(nullptr, AfxGetMainWnd());

    CTestDlg main, other;
    ASSERT_TRUE(main.Create(IDD_FW_PLAIN));
    ASSERT_TRUE(other.Create(IDD_FW_PLAIN));
    app.m_pMainWnd = &main;
    other.DestroyWindow();
    EXPECT_EQ(&main, AfxGetMainWnd()); // another window's end changes nothing
    main.DestroyWindow();
    EXPECT_EQ(nullptr, AfxGetMainWnd());

    { // a main window object that never got its window must not be left behind
        CTestDlg never(IDD_FW_MISSING);
        app.m_pMainWnd = &never;
        EXPECT_EQ(-1, never.DoModal());
    }
    EXPECT_EQ(nullptr, AfxGetMainWnd());
}

// The exit code of a small program whose InitInstance runs a main dialog and returns FALSE.
DWORD RunExitCodeApp(const std::wstring& arguments) {
    const qxrv::test::ChildRun run = qxrv::test::RunBesideThisExe(QXRV_EXIT_CODE_APP, arguments, 15000);
    return run.ended ? run.exitCode : 0xBEEF;
}

TEST(ApplicationTest, InitInstanceFalseEndsWithExitInstancesResultAsExitCode) {
    // 40 + the argument: every check inside the program passed and ExitInstance chose the code.
    EXPECT_EQ(40u, RunExitCodeApp(L""));
    EXPECT_EQ(42u, RunExitCodeApp(L"2"));
}

} // namespace
