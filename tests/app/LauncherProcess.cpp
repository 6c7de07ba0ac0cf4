#include "tests/app/LauncherProcess.h"

#include "res/resource.h"
#include "tests/app/AppTestKit.h"
#include "tests/support/ProbeReport.h"

namespace qxrv::test {

namespace {

const wchar_t kTitle[] = L"蓝柚川登陆器";

} // namespace

LauncherProcess::LauncherProcess(const std::wstring& exePath, const std::wstring& reportPath)
    : m_report(reportPath) {
    if (!m_report.empty()) {
        ::DeleteFileW(m_report.c_str());
        ::SetEnvironmentVariableW(L"QXRV_GDIPLUS_REPORT", m_report.c_str());
    }
    std::wstring command = L"\"" + exePath + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    m_started = ::CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &m_pi) != FALSE;
    ::SetEnvironmentVariableW(L"QXRV_GDIPLUS_REPORT", NULL);
}

LauncherProcess::~LauncherProcess() {
    if (!m_started)
        return;
    if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
        ::TerminateProcess(m_pi.hProcess, 99);
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
    if (!m_report.empty())
        ::DeleteFileW(m_report.c_str());
}

bool LauncherProcess::WaitForWindows(DWORD nTimeoutMs, bool bGameWindow) {
    return WaitUntil(
        [&] {
            m_main = m_startPage = m_game = NULL;
            for (HWND hwnd : TopLevelWindows(Pid())) {
                wchar_t title[64] = {};
                ::GetWindowTextW(hwnd, title, 64);
                if (std::wstring(title) == kTitle && ::IsWindowVisible(hwnd) &&
                    !::GetDlgItem(hwnd, IDC_MAXIMIZE))
                    m_main = hwnd;
            }
            if (m_main == NULL)
                return false;
            // The main window shows only once it has made the game window, so a list taken from now on holds
            // the game window if there is one; the list above may be older than the game window.
            for (HWND hwnd : TopLevelWindows(Pid())) {
                if (::GetDlgItem(hwnd, IDC_MAXIMIZE) != NULL)
                    m_game = hwnd;
                else if (::GetWindow(hwnd, GW_OWNER) == m_main) // the start page rides on the main window
                    m_startPage = hwnd;
            }
            return m_main && m_startPage && (m_game || !bGameWindow);
        },
        nTimeoutMs);
}

bool LauncherProcess::CloseFromMainWindow(DWORD nTimeoutMs) {
    if (m_main == NULL)
        return false;
    PostButtonClicked(::GetDlgItem(m_main, IDC_CLOSE));
    return AnswerMessageBox(kTitle, IDYES, nullptr, nTimeoutMs, Pid()) && ExitCode(nTimeoutMs) != -1;
}

long LauncherProcess::ExitCode(DWORD nTimeoutMs) {
    if (!m_started || ::WaitForSingleObject(m_pi.hProcess, nTimeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(m_pi.hProcess, &code);
    return static_cast<long>(code);
}

std::string LauncherProcess::Report() const {
    return ReadReport(m_report);
}

} // namespace qxrv::test
