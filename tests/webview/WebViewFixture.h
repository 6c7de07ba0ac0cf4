// A dialog with a web view on its placeholder, the fake browser control standing in for the system's, a
// logging main window, and a shell opener that records instead of starting a browser.
#pragma once

#include "res/resource.h"
#include "tests/support/FakeBrowser.h"
#include "tests/webview/WebViewTestKit.h"
#include "webview/PostedString.h"
#include "webview/ShellOpen.h"

#include <gtest/gtest.h>

namespace qxrv::test {

class WebViewFixture : public testing::Test {
protected:
    static std::vector<std::wstring>& Opened() {
        static std::vector<std::wstring> opened;
        return opened;
    }
    static void RecordOpen(LPCWSTR url) { Opened().push_back(url); }

    void SetUp() override {
        ReceivedLog().clear();
        Opened().clear();
        m_previousOpener = SetShellOpener(&RecordOpen);
        ASSERT_TRUE(m_session.ok());
        ASSERT_TRUE(m_dialog.Open());
    }
    void TearDown() override {
        if (m_dialog.m_hWnd)
            m_dialog.DestroyWindow();
        PumpPending();
        SetShellOpener(m_previousOpener);
        EXPECT_EQ(0u, OutstandingPostedStrings());
    }

    bool CreateView() { return m_view.CreateOnPlaceholder(&m_dialog, IDC_START_PAGE); }
    FakeBrowser* Fake() const { return FakeBrowser::ForHost(m_view.m_hWnd); }
    // CreateView, then the fake behind the view; nullptr when either is missing.
    FakeBrowser* CreateViewAndFake() { return CreateView() ? Fake() : nullptr; }

    ShellOpener m_previousOpener = nullptr;
    FakeBrowserSession m_session; // first: the windows and views below go before it
    CLogMainWnd m_main;
    CHostDialog m_dialog;
    CTestHtmlCtrl m_view;
};

} // namespace qxrv::test
