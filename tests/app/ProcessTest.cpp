// The real program in its own process: its start page request, how it ends, and that GDI+ outlives every
// picture, font and brush of the program. The test build of the program counts its GDI+ objects and lets a
// test follow a link in its views (GdiplusProbe.cpp, UiAgent.h).
#include "app/LauncherText.h"
#include "res/resource.h"
#include "tests/app/AppTestKit.h"
#include "tests/app/LauncherProcess.h"
#include "tests/support/LoopbackServer.h"
#include "tests/app/UiAgent.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace qxrv::test;

namespace {

// One run of the test build of the program, with its GDI+ report in a file of its own.
class Client : public LauncherProcess {
public:
    explicit Client(int n)
        : LauncherProcess(BesideThisExe(QXRV_CLIENT_PROBE),
                          BesideThisExe((L"gdiplus-report-" + std::to_wstring(n) + L".txt").c_str())) {}
};

// "startups=1 shutdowns=1 made=<n> live_at_shutdown=0 after_shutdown=0 while_stopped=0" with n > 0.
void ExpectGdiplusShutDownLast(const std::string& report) {
    long startups = -1, shutdowns = -1, made = -1, live = -1, after = -1, whileStopped = -1;
    ASSERT_EQ(6, std::sscanf(report.c_str(),
                             "startups=%ld shutdowns=%ld made=%ld live_at_shutdown=%ld after_shutdown=%ld "
                             "while_stopped=%ld",
                             &startups, &shutdowns, &made, &live, &after, &whileStopped))
        << "report: " << report;
    std::printf("GDI+ report: %s", report.c_str());
    EXPECT_EQ(1, startups);
    EXPECT_EQ(1, shutdowns);
    EXPECT_GT(made, 10) << "background, six button images, fonts, brushes, formats, graphics";
    EXPECT_EQ(0, live) << "objects still alive when GDI+ was shut down";
    EXPECT_EQ(0, after) << "GDI+ calls after the shut-down";
    EXPECT_EQ(0, whileStopped) << "GDI+ calls while it was not started (before the start-up, say)";
}

class Program : public testing::Test {
protected:
    void SetUp() override { ExtendWatchdog(90); }
};

TEST_F(Program, LoadsTheStartPageAndClosingTheMainWindowEndsWithExitCodeZero) {
    LoopbackServer server(QXRV_TEST_START_PORT);
    ASSERT_TRUE(server.ok());
    // Two starts are two independent launchers.
    Client first(1);
    Client second(2);
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(first.WaitForWindows());
    ASSERT_TRUE(second.WaitForWindows());
    EXPECT_TRUE(WaitUntil([&] { return server.Saw("GET /weiduan/lyc "); }, 10000));

    for (Client* pClient : {&first, &second}) {
        PostButtonClicked(::GetDlgItem(pClient->Main(), IDC_CLOSE));
        SeenMessageBox seen;
        const bool ok = AnswerMessageBox(kLauncherTitle, IDYES, &seen, 10000, pClient->Pid());
        ASSERT_TRUE(ok);
        EXPECT_EQ(kAskQuitStarting, seen.text);
        EXPECT_EQ(pClient->Main(), seen.owner);
        EXPECT_TRUE(seen.yesNo);
        EXPECT_EQ(0, pClient->ExitCode(10000));
        ExpectGdiplusShutDownLast(pClient->Report());
    }
}

TEST_F(Program, ClosingTheGameWindowEndsWithExitCodeZero) {
    LoopbackServer server(QXRV_TEST_START_PORT);
    ASSERT_TRUE(server.ok());
    ::SetEnvironmentVariableW(L"QXRV_LINK_1", server.Url(L"/play?id=5&client=1").c_str());
    Client client(3);
    ::SetEnvironmentVariableW(L"QXRV_LINK_1", NULL);
    ASSERT_TRUE(client.Started());
    ASSERT_TRUE(client.WaitForWindows());

    ::PostMessageW(client.StartPage(), FollowLinkMessage(), IDC_START_PAGE, 1);
    ASSERT_TRUE(WaitUntil(
        [&] { return ::IsWindowVisible(client.Game()) && !::IsWindowVisible(client.Main()); }, 10000));
    EXPECT_TRUE(::IsZoomed(client.Game()));
    EXPECT_TRUE(WaitUntil([&] { return server.Saw("GET /play?id=5 "); }));

    SeenMessageBox seen;
    PostButtonClicked(::GetDlgItem(client.Game(), IDC_CLOSE));
    ASSERT_TRUE(AnswerMessageBox(kLauncherTitle, IDNO, &seen, 10000, client.Pid()));
    EXPECT_EQ(kAskQuitRunning, seen.text);
    EXPECT_EQ(client.Game(), seen.owner);
    EXPECT_EQ(-1, client.ExitCode(300)) << "No keeps the program running";
    EXPECT_TRUE(::IsWindowVisible(client.Game()));

    PostButtonClicked(::GetDlgItem(client.Game(), IDC_CLOSE));
    ASSERT_TRUE(AnswerMessageBox(kLauncherTitle, IDYES, nullptr, 10000, client.Pid()));
    EXPECT_EQ(0, client.ExitCode(10000));
    ExpectGdiplusShutDownLast(client.Report());
}

} // namespace
