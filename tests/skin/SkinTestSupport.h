// Helpers of the skin tests: screen read-back, plain Win32 windows to put under and around the toolkit's
// windows, a counting render listener, and test-only derived classes that open the toolkit's state to checks.
#pragma once

#include "framework/GdiplusPrelude.h"

#include "framework/Dialog.h"
#include "skin/StandardDialog.h"
#include "skin/TranslucentButton.h"
#include "skin/TranslucentDialog.h"
#include "skin/TranslucentWnd.h"
#include "tests/support/Backdrop.h"
#include "tests/support/ScreenPixels.h"
#include "tests/support/WindowRects.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace skintest {

using qxrv::test::CBackdrop;
using qxrv::test::ChildRectOf;
using qxrv::test::ColourOfPixel;
using qxrv::test::ScreenPixel;
using qxrv::test::ScreenPixels;
using qxrv::test::WholeScreen;
using qxrv::test::WindowRectOf;
// Pixel of a decoded picture (straight, not premultiplied), as ARGB.
Gdiplus::ARGB ImagePixel(Gdiplus::Image* pImage, int x, int y);

// Counts the reports of the children it listens to.
class CCountingListener : public IRenderListener {
public:
    void OnChildLookChanged(CTranslucentWnd* pChild) override {
        ++m_nCalls;
        m_pLastChild = pChild;
    }
    int m_nCalls = 0;
    CTranslucentWnd* m_pLastChild = nullptr;
};

// A translucent button with its state open to the tests.
class CTestButton : public CTranslucentButton {
public:
    using CTranslucentButton::m_bCheckedState;
    using CTranslucentButton::m_bMouseDown;
    using CTranslucentButton::m_bMouseOver;
    using CTranslucentButton::m_bTrackingLeave;
    using CTranslucentButton::m_pShownImage;
    using CTranslucentWnd::m_bDisabledLook;
    using CTranslucentWnd::m_bShown;
    using CTranslucentWnd::m_pLayerHost;
    using CTranslucentWnd::m_stateImages;
};

// A colour-keyed companion with its state open to the tests.
class CTestOverlay : public CStandardDialog {
public:
    explicit CTestOverlay(CWnd* pOwner, UINT nIDTemplate = 9000) : CStandardDialog(nIDTemplate, pOwner) {}
    using CStandardDialog::m_keyBrush;
    using CStandardDialog::m_keyColour;
    using CStandardDialog::m_overlayOffset;
    using CStandardDialog::OnCancel;
    using CStandardDialog::OnOK;
};

// The layered dialog from the program's main template (129, background PNG 130, buttons 1001 and 1002),
// with the derived class's two duties given by the test.
class CTestLayeredDialog : public CTranslucentDialog {
public:
    CTestLayeredDialog() = default;
    // The window goes while this object's handlers are still the ones that run.
    ~CTestLayeredDialog() override;

    using CTranslucentDialog::AddLayerChild;
    using CTranslucentDialog::m_bDragToMove;
    using CTranslucentDialog::m_bHoldRedraw;
    using CTranslucentDialog::m_blendFunction;
    using CTranslucentDialog::m_bStartCentred;
    using CTranslucentDialog::m_layer;
    using CTranslucentDialog::m_layerChildren;
    using CTranslucentDialog::m_pBackground;
    using CTranslucentDialog::m_pOverlayDlg;

    // Replaces the background before the window is created (the old one is deleted).
    void ReplaceBackground(Gdiplus::Image* pImage);
    // Creates the window modeless from template 129 and shows it without activating it. The set-up hook
    // runs inside, as SetUpChildControls.
    bool CreateAndShow();
    // The picture a redraw composed from nothing gives, row by row from the bottom as in the DIB section: a
    // new zeroed DIB, the background and then every shown child drawn with one GDI+ graphics. The children
    // must be CTestButtons.
    std::vector<DWORD> ComposeAfresh();

    void OnChildLookChanged(CTranslucentWnd* pChild) override {
        ++m_nReports;
        CTranslucentDialog::OnChildLookChanged(pChild);
    }

    std::function<CStandardDialog*(CTestLayeredDialog&)> m_makeOverlay;
    std::function<void(CTestLayeredDialog&)> m_setUp;
    int m_nReports = 0;
    // The window rectangle when SetUpChildControls ran, before the framework centres a hidden dialog.
    RECT m_rectAtSetUp = {};
    // WM_SYSCOMMAND codes the window received; they are not passed on (no move loop in tests).
    std::vector<WPARAM> m_sysCommands;

protected:
    CStandardDialog* CreateOverlayDialog() override { return m_makeOverlay ? m_makeOverlay(*this) : nullptr; }
    void SetUpChildControls() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Screen position of a point of the dialog's client area (the dialog has no frame).
POINT OnScreen(const CWnd& wnd, int x, int y);

// A fixture that runs GDI+ for each test, and checks that no GDI+ object of the test is made before GDI+
// starts or released after it stops.
class SkinTest : public testing::Test {
protected:
    ~SkinTest() override;
    void SetUp() override;
    void TearDown() override;

private:
    ULONG_PTR m_token = 0;
};

} // namespace skintest
