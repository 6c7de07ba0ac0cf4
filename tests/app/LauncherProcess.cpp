#include "tests/app/LauncherProcess.h"

#include "app/LauncherText.h"
#include "tests/app/AppTestKit.h"
#include "tests/support/ProbeReport.h"

namespace qxrv::test {

LauncherProcess::LauncherProcess(const std::wstring& exePath, const std::wstring& reportPath,
                                 LPCWSTR reportVariable)
    : m_report(reportPath) {
    if (!m_report.empty()) {
        ::DeleteFileW(m_report.c_str());
        ::SetEnvironmentVariableW(reportVariable, m_report.c_str());
    }
    std::wstring command = L"\"" + exePath + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    m_started = ::CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &m_pi) != FALSE;
    if (!m_report.empty())
        ::SetEnvironmentVariableW(reportVariable, NULL);
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
            m_found = FindLauncherWindows(Pid());
            return m_found.main && m_found.startPage && (m_found.game || !bGameWindow);
        },
        nTimeoutMs);
}

bool LauncherProcess::CloseFromMainWindow(DWORD nTimeoutMs) {
    if (m_found.main == NULL)
        return false;
    PostButtonClicked(m_found.btnClose);
    return AnswerMessageBox(kLauncherTitle, IDYES, nullptr, nTimeoutMs, Pid()) && ExitCode(nTimeoutMs) != -1;
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
