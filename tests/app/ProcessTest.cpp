// The real program in its own process: its start page request, how it ends, and that GDI+ outlives every
// picture, font and brush of the program. The test build of the program counts its GDI+ objects and lets a
// test follow a link in its views (GdiplusProbe.cpp, UiAgent.h).
#include "res/resource.h"
#include "tests/app/AppTestKit.h"
#include "tests/app/StartPageServer.h"
#include "tests/app/UiAgent.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace qxrv::test;

namespace {

const wchar_t kTitle[] = L"蓝柚川登陆器";

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring dir = path;
    dir.erase(dir.find_last_of(L"\\/") + 1);
    return dir + name;
}

// One run of the program, with the GDI+ report going to a file of its own.
class Client {
public:
    explicit Client(int n) {
        m_report = Beside((L"gdiplus-report-" + std::to_wstring(n) + L".txt").c_str());
        ::DeleteFileW(m_report.c_str());
        ::SetEnvironmentVariableW(L"QXRV_GDIPLUS_REPORT", m_report.c_str());
        std::wstring command = L"\"" + Beside(QXRV_CLIENT_PROBE) + L"\"";
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        m_started =
            ::CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &m_pi) != FALSE;
        ::SetEnvironmentVariableW(L"QXRV_GDIPLUS_REPORT", NULL);
    }
    ~Client() {
        if (!m_started)
            return;
        if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_pi.hProcess, 99);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
        ::DeleteFileW(m_report.c_str());
    }

    bool Started() const { return m_started; }
    DWORD Pid() const { return m_pi.dwProcessId; }

    // Finds the program's windows once its main window shows.
    bool WaitForWindows() {
        return WaitUntil(
            [&] {
                m_main = m_startPage = m_game = NULL;
                for (HWND hwnd : TopLevelWindows(Pid())) {
                    wchar_t title[64] = {};
                    ::GetWindowTextW(hwnd, title, 64);
                    if (::GetDlgItem(hwnd, IDC_GAME_PAGE) != NULL)
                        m_game = hwnd;
                    else if (::GetDlgItem(hwnd, IDC_START_PAGE) != NULL)
                        m_startPage = hwnd;
                    else if (std::wstring(title) == kTitle && ::IsWindowVisible(hwnd))
                        m_main = hwnd;
                }
                return m_main && m_startPage && m_game;
            },
            20000);
    }
    HWND Main() const { return m_main; }
    HWND StartPage() const { return m_startPage; }
    HWND Game() const { return m_game; }

    // The exit code, once the process has ended within nTimeoutMs; -1 while it still runs.
    long ExitCode(DWORD nTimeoutMs) {
        if (::WaitForSingleObject(m_pi.hProcess, nTimeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(m_pi.hProcess, &code);
        return static_cast<long>(code);
    }

    // The GDI+ figures the program wrote when it ended.
    std::string Report() const {
        std::string text;
        if (FILE* f = _wfopen(m_report.c_str(), L"r")) {
            char line[256] = {};
            if (std::fgets(line, sizeof(line), f))
                text = line;
            std::fclose(f);
        }
        return text;
    }

private:
    std::wstring m_report;
    PROCESS_INFORMATION m_pi = {};
    bool m_started = false;
    HWND m_main = NULL;
    HWND m_startPage = NULL;
    HWND m_game = NULL;
};

// "startups=1 shutdowns=1 made=<n> live_at_shutdown=0 after_shutdown=0" with n > 0.
void ExpectGdiplusShutDownLast(const std::string& report) {
    long startups = -1, shutdowns = -1, made = -1, live = -1, after = -1;
    ASSERT_EQ(5, std::sscanf(report.c_str(),
                             "startups=%ld shutdowns=%ld made=%ld live_at_shutdown=%ld after_shutdown=%ld",
                             &startups, &shutdowns, &made, &live, &after))
        << "report: " << report;
    std::printf("GDI+ report: %s", report.c_str());
    EXPECT_EQ(1, startups);
    EXPECT_EQ(1, shutdowns);
    EXPECT_GT(made, 10) << "background, six button images, fonts, brushes, formats, graphics";
    EXPECT_EQ(0, live) << "objects still alive when GDI+ was shut down";
    EXPECT_EQ(0, after) << "GDI+ calls after the shut-down";
}

class Program : public testing::Test {
protected:
    void SetUp() override { ExtendWatchdog(90); }
};

TEST_F(Program, LoadsTheStartPageAndClosingTheMainWindowEndsWithExitCodeZero) {
    StartPageServer server(QXRV_TEST_START_PORT);
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
        PostClick(::GetDlgItem(pClient->Main(), IDC_CLOSE));
        SeenMessageBox seen;
        ASSERT_TRUE(AnswerMessageBox(kTitle, IDYES, &seen, 10000, pClient->Pid()));
        EXPECT_EQ(L"游戏启动中，是否退出？", seen.text);
        EXPECT_TRUE(seen.yesNo);
        EXPECT_EQ(0, pClient->ExitCode(10000));
        ExpectGdiplusShutDownLast(pClient->Report());
    }
}

TEST_F(Program, ClosingTheGameWindowEndsWithExitCodeZero) {
    StartPageServer server(QXRV_TEST_START_PORT);
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
    PostClick(::GetDlgItem(client.Game(), IDC_CLOSE));
    ASSERT_TRUE(AnswerMessageBox(kTitle, IDNO, &seen, 10000, client.Pid()));
    EXPECT_EQ(L"游戏正在运行中，是否退出？", seen.text);
    EXPECT_EQ(client.Game(), seen.owner);
    EXPECT_EQ(-1, client.ExitCode(300)) << "No keeps the program running";
    EXPECT_TRUE(::IsWindowVisible(client.Game()));

    PostClick(::GetDlgItem(client.Game(), IDC_CLOSE));
    ASSERT_TRUE(AnswerMessageBox(kTitle, IDYES, nullptr, 10000, client.Pid()));
    EXPECT_EQ(0, client.ExitCode(10000));
    ExpectGdiplusShutDownLast(client.Report());
}

} // namespace
